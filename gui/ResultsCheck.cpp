#include "gui/ResultsCheck.h"

#include <algorithm>
#include <string>

#include "core/TextFill.h"
#include "resources/TxtApp.h"
#include "resources/TxtCommon.h"

namespace kinovia {
namespace {

ResultsCheck Refusal(MessageIcon icon, Message message) {
  message.icon = icon;
  message.buttons = {txt::ButtonOk};
  return {ResultsStep::Refuse, std::move(message)};
}

ResultsCheck FewMarksQuestion() {
  Message m;
  m.icon = MessageIcon::Confirmation;
  m.buttons = {txt::ButtonCancelar, txt::ButtonContinuar};
  m.Line(txt::ResultsFewMarks);
  return {ResultsStep::AskContinue, m};
}

// Answers the fixed-frame checks; false when the results must not open.
bool CheckFixedFrame(const ResultsFacts& f, std::vector<ResultsCheck>& out) {
  const auto& counts = f.marksPerObject;
  const int k = counts.empty() ? 0 : *std::min_element(counts.begin(), counts.end());
  if (k <= 2) {
    Message m;
    if (counts.size() > 1)
      m.Line(FillNumbers(txt::ResultsSeveralObjects, {int(counts.size())})).Blank();
    m.Line(txt::ResultsNeedThreeMarks).Blank().Line(txt::ResultsUseMarkButton);
    out.push_back(Refusal(MessageIcon::Information, m));
    return false;
  }
  if (!f.originPlaced) {
    out.push_back(Refusal(MessageIcon::Warning,
                          Message().Line(txt::ResultsNeedOrigin).Line(txt::ResultsUseAxesButton)));
    return false;
  }
  if (k <= 4) out.push_back(FewMarksQuestion());
  return true;
}

bool CheckTransparent(const ResultsFacts& f, std::vector<ResultsCheck>& out) {
  if (f.transparentMarks <= 2) {
    out.push_back(Refusal(
        MessageIcon::Warning,
        Message().Line(txt::ResultsNeedThreeTransparentMarks).Line(txt::ResultsMoveTransparent)));
    return false;
  }
  if (f.transparentMarks <= 4) out.push_back(FewMarksQuestion());
  return true;
}

}  // namespace

std::vector<ResultsCheck> ResultsChecks(const ResultsFacts& f) {
  std::vector<ResultsCheck> out;
  if (!f.scaleValid) {
    out.push_back(Refusal(MessageIcon::Warning,
                          Message().Line(txt::ResultsNeedScale).Line(txt::ResultsUseScaleButton)));
    return out;
  }
  const bool goOn =
      f.mode == WorkingMode::Transparent ? CheckTransparent(f, out) : CheckFixedFrame(f, out);
  if (goOn && f.adviseNaming) {
    Message m;
    m.icon = MessageIcon::Information;
    m.buttons = {txt::ButtonDarNombre, txt::ButtonCancelar, txt::ButtonIgnorar};
    m.Line(txt::ResultsDefaultName).Line(txt::ResultsNameAdvice);
    out.push_back({ResultsStep::AdviseNaming, m});
  }
  return out;
}

Message ResultsComputedMessage(int rows, int columns) {
  Message m;
  m.icon = MessageIcon::Information;
  m.buttons = {txt::ButtonOk};
  m.Line(txt::ResultsComputed).Line(FillNumbers(txt::ResultsTableSize, {rows, columns}));
  return m;
}

}  // namespace kinovia
