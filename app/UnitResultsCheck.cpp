#include "app/UnitResultsCheck.h"

#include <algorithm>
#include <string>

#include "app/UnitTextFill.h"
#include "resources/TxtApp.h"
#include "resources/TxtCommon.h"

namespace kinovia {
namespace {

TResultsCheck Refusal(TMessageIcon icon, TMessage message) {
  message.icon = icon;
  message.buttons = {txt::ButtonOk};
  return {TResultsStep::Refuse, std::move(message)};
}

TResultsCheck FewMarksQuestion() {
  TMessage m;
  m.icon = TMessageIcon::Confirmation;
  m.buttons = {txt::ButtonCancelar, txt::ButtonContinuar};
  m.Line(txt::ResultsFewMarks);
  return {TResultsStep::AskContinue, m};
}

// Answers the fixed-frame checks; false when the results must not open.
bool CheckFixedFrame(const TResultsFacts& f, std::vector<TResultsCheck>& out) {
  const auto& counts = f.marksPerObject;
  const int k = counts.empty() ? 0 : *std::min_element(counts.begin(), counts.end());
  if (k <= 2) {
    TMessage m;
    if (counts.size() > 1)
      m.Line(FillNumbers(txt::ResultsSeveralObjects, {int(counts.size())})).Blank();
    m.Line(txt::ResultsNeedThreeMarks).Blank().Line(txt::ResultsUseMarkButton);
    out.push_back(Refusal(TMessageIcon::Information, m));
    return false;
  }
  if (!f.originPlaced) {
    out.push_back(Refusal(TMessageIcon::Warning,
                          TMessage().Line(txt::ResultsNeedOrigin).Line(txt::ResultsUseAxesButton)));
    return false;
  }
  if (k <= 4) out.push_back(FewMarksQuestion());
  return true;
}

bool CheckTransparent(const TResultsFacts& f, std::vector<TResultsCheck>& out) {
  if (f.transparentMarks <= 2) {
    out.push_back(Refusal(
        TMessageIcon::Warning,
        TMessage().Line(txt::ResultsNeedThreeTransparentMarks).Line(txt::ResultsMoveTransparent)));
    return false;
  }
  if (f.transparentMarks <= 4) out.push_back(FewMarksQuestion());
  return true;
}

}  // namespace

std::vector<TResultsCheck> ResultsChecks(const TResultsFacts& f) {
  std::vector<TResultsCheck> out;
  if (!f.scaleValid) {
    out.push_back(Refusal(TMessageIcon::Warning,
                          TMessage().Line(txt::ResultsNeedScale).Line(txt::ResultsUseScaleButton)));
    return out;
  }
  const bool goOn =
      f.mode == TWorkMode::Transparent ? CheckTransparent(f, out) : CheckFixedFrame(f, out);
  if (goOn && f.adviseNaming) {
    TMessage m;
    m.icon = TMessageIcon::Information;
    m.buttons = {txt::ButtonDarNombre, txt::ButtonCancelar, txt::ButtonIgnorar};
    m.Line(txt::ResultsDefaultName).Line(txt::ResultsNameAdvice);
    out.push_back({TResultsStep::AdviseNaming, m});
  }
  return out;
}

TMessage ResultsComputedMessage(int rows, int columns) {
  TMessage m;
  m.icon = TMessageIcon::Information;
  m.buttons = {txt::ButtonOk};
  m.Line(txt::ResultsComputed).Line(FillNumbers(txt::ResultsTableSize, {rows, columns}));
  return m;
}

}  // namespace kinovia
