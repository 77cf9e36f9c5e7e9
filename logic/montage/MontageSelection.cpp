#include "logic/montage/MontageSelection.h"

#include <algorithm>
#include <string>

#include "resources/TxtCommon.h"
#include "resources/TxtWorkshop.h"

namespace kinovia {
namespace {

bool AllowedCharacter(char c) { return (c >= '0' && c <= '9') || c == ' ' || c == '-' || c == ';'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// A user number, or nullopt when the text is not one. Values past the int32 range only need to
// compare as too large, so they saturate.
std::optional<std::int64_t> UserNumber(std::string_view s) {
  s = Trim(s);
  if (s.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    value = std::min<std::int64_t>(value * 10 + (c - '0'), std::int64_t{1} << 40);
  }
  return value;
}

void CollapseRepeats(std::string& text, char c) {
  const std::string twice(2, c);
  for (auto at = text.find(twice); at != std::string::npos; at = text.find(twice)) {
    text.erase(at, 1);
  }
}

// Selects the frames of one group; false when the group is bad.
bool SelectGroup(std::string_view group, std::int32_t frameCount, FrameSelection& selection) {
  const auto dash = group.find('-');
  const auto a = UserNumber(group.substr(0, dash));
  const auto b = dash == std::string_view::npos ? a : UserNumber(group.substr(dash + 1));
  if (!a || !b) return false;
  const auto [low, high] = std::minmax(*a, *b);
  if (low < 1 || high > frameCount) return false;
  std::fill(selection.begin() + (low - 1), selection.begin() + high, true);
  return true;
}

Message BadGroupMessage(MontageAction action) {
  std::string text = Txt(txt::MontageBadGroup);
  const std::string& verb =
      Txt(action == MontageAction::Hide ? txt::MontageGroupHide : txt::MontageGroupShow);
  if (const auto at = text.find("%s"); at != std::string::npos) text.replace(at, 2, verb);
  Message message{MessageIcon::Warning, {txt::ButtonOk}, {}};
  message.Line(std::move(text));
  return message;
}

}  // namespace

Result<FrameSelection> ParseFrameSelection(SelectionSource source, std::string_view typed,
                                           std::int32_t frameCount, MontageAction action) {
  FrameSelection selection(static_cast<std::size_t>(std::max(frameCount, 0)), false);
  if (source != SelectionSource::Typed) {
    // User numbers start at 1, so the even user numbers are the odd source frames.
    const std::size_t first = source == SelectionSource::EvenFrames ? 1 : 0;
    for (std::size_t m = first; m < selection.size(); m += 2) selection[m] = true;
    return selection;
  }
  std::string text(typed);
  while (!text.empty() && (text.back() == '-' || text.back() == ';' || text.back() == ' ')) {
    text.pop_back();
  }
  if (!std::all_of(text.begin(), text.end(), AllowedCharacter)) return BadGroupMessage(action);
  CollapseRepeats(text, ';');
  CollapseRepeats(text, '-');
  text += ';';
  std::string_view rest(text);
  for (auto cut = rest.find(';'); cut != std::string_view::npos; cut = rest.find(';')) {
    if (!SelectGroup(rest.substr(0, cut), frameCount, selection)) return BadGroupMessage(action);
    rest.remove_prefix(cut + 1);
  }
  return selection;
}

Result<void> ApplyFrameSelection(Montage& montage, const FrameSelection& selection,
                                 MontageAction action) {
  const bool visible = action == MontageAction::Show;
  for (std::size_t m = 0; m < selection.size(); ++m) {
    const auto frame = static_cast<std::int32_t>(m);
    if (!selection[m] || montage.Visible(frame) == visible) continue;
    Message refusal;
    if (!montage.SetFrameVisible(frame, visible, &refusal)) return refusal;
  }
  return {};
}

Message ToggleFrameMessage(bool frameVisible, bool frameHasMarks) {
  Message message{MessageIcon::Information, {txt::ButtonOk}, {}};
  if (!frameVisible) return message.Line(txt::MontageWillShow);
  message.Line(txt::MontageWillHide).Blank().Line(txt::MontageHiddenNegative);
  if (frameHasMarks) {
    message.buttons.push_back(txt::ButtonCancelar);
    message.Blank().Line(txt::MontageMarksErased);
  }
  return message;
}

bool ToggleFrameCommand(Montage& montage, std::int32_t current, bool optionShowBox,
                        bool frameHasMarks, const std::function<ToggleAnswer(const Message&)>& ask,
                        Message* refusal) {
  if (current < 0 || current >= montage.FrameCount()) return false;
  const bool visible = montage.Visible(current);
  if (optionShowBox && montage.ShowInformation()) {
    const ToggleAnswer answer = ask(ToggleFrameMessage(visible, visible && frameHasMarks));
    montage.SetShowInformation(!answer.dontShowAgain);
    if (answer.button == 1) return false;
  }
  return montage.SetFrameVisible(current, !visible, refusal);
}

}  // namespace kinovia
