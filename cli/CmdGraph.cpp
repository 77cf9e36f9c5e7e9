// kinovia-cli graph [--page time|trajectory|vectors|formula] [--quantity SYMBOL]
//                   [--abscissa SYMBOL] [--objects 1,2] [--model KIND] [--width W --height H]
//                   WORK.knv OUT.png
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <map>
#include <ostream>

#include "cli/CliWork.h"
#include "cli/CmdNumerics.h"
#include "core/Numbers.h"
#include "gui/graphs/GraphWidget.h"
#include "gui/results/FormulaPage.h"
#include "gui/results/ResultsWindow.h"
#include "logic/graphs/TimeQuantities.h"
#include "resources/TxtApp.h"
#include "resources/TxtCli.h"
#include "resources/TxtTable.h"

namespace kinovia::cli {
namespace {

struct GraphArgs {
  ResultsWindow::Page page = ResultsWindow::Page::Time;
  bool pageGiven = false;
  int quantity = 0;
  // The formula page's ordinate and abscissa, looked up once the work file gives its variables.
  std::string ordinate, abscissa;
  std::vector<int> objects;  // from 0; empty: all
  ModelKind model = ModelKind::None;
  int width = 900, height = 600;
  std::string workFile, picture;
};

std::optional<std::vector<int>> ObjectNumbers(const std::string& text) {
  std::vector<int> objects;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const auto number = TextToInteger(text.substr(start, comma - start));
    if (!number || *number < 1) return std::nullopt;
    objects.push_back(*number - 1);
    start = comma + 1;
  }
  return objects;
}

bool TakeOption(GraphArgs& parsed, const std::string& name, const std::string& value) {
  if (name == "--page") {
    const std::map<std::string, ResultsWindow::Page> pages = {
        {"time", ResultsWindow::Page::Time},
        {"trajectory", ResultsWindow::Page::Trajectory},
        {"vectors", ResultsWindow::Page::Vectors},
        {"formula", ResultsWindow::Page::Formula}};
    const auto found = pages.find(value);
    if (found == pages.end()) return false;
    parsed.page = found->second;
    parsed.pageGiven = true;
  } else if (name == "--quantity") {
    parsed.ordinate = value;
  } else if (name == "--abscissa") {
    parsed.abscissa = value;
  } else if (name == "--objects") {
    const auto objects = ObjectNumbers(value);
    if (!objects) return false;
    parsed.objects = *objects;
  } else if (name == "--model") {
    parsed.model = ModelKindOf(value);
    return parsed.model != ModelKind::None;
  } else if (name == "--width" || name == "--height") {
    const auto size = TextToInteger(value);
    if (!size || *size < 240 || *size > 8000) return false;
    (name == "--width" ? parsed.width : parsed.height) = *size;
  } else {
    return false;
  }
  return true;
}

std::optional<GraphArgs> ParseArgs(const std::vector<std::string>& args) {
  GraphArgs parsed;
  std::size_t i = 0;
  for (; i + 1 < args.size() && args[i].rfind("--", 0) == 0; i += 2)
    if (!TakeOption(parsed, args[i], args[i + 1])) return std::nullopt;
  if (i + 2 != args.size()) return std::nullopt;
  // A symbol the time page does not know names a user variable: the formula page plots it.
  const bool formula = parsed.page == ResultsWindow::Page::Formula;
  const int quantity = parsed.ordinate.empty() ? 0 : TimeQuantityIndex(parsed.ordinate);
  if (!formula && quantity < 0) {
    if (parsed.pageGiven) return std::nullopt;
    parsed.page = ResultsWindow::Page::Formula;
  }
  parsed.quantity = std::max(quantity, 0);
  if (!parsed.abscissa.empty() && parsed.page != ResultsWindow::Page::Formula) return std::nullopt;
  parsed.workFile = args[i];
  parsed.picture = args[i + 1];
  return parsed;
}

QString Joined(const QStringList& lines) { return lines.join(' ').trimmed(); }

// The page drawn as the window draws it, at the size asked, and framed for that size.
ExitStatus RenderGraph(const GraphArgs& parsed, LoadedWork& work, Options& options,
                       CliStreams streams) {
  bool refused = false;
  ResultsWindow window(
      work.session, options, [&work] { return work.transparentMode; },
      [&](const Message& message) {
        refused = true;
        Fail(message, streams);
        return 0;
      });
  window.Refresh();
  if (window.Results().IsStale()) {
    Message message;
    return Fail(message.Line(txt::ResultsNeedScale), streams);
  }
  window.SelectQuantity(parsed.quantity);
  // On the vectors page an acceleration quantity asks for the acceleration vectors.
  const QuantityKind kind = TimeQuantities()[std::size_t(parsed.quantity)].kind;
  window.VectorList()->setCurrentIndex(kFamilyAccelerations.Contains(kind) ? 1 : 0);
  window.CheckObjects(parsed.objects);
  window.ShowPage(parsed.page);
  if (parsed.page == ResultsWindow::Page::Formula) {
    const std::string abscissa = parsed.abscissa.empty() ? Txt(txt::SymbolTime) : parsed.abscissa;
    QStringList ordinates;
    if (!parsed.ordinate.empty()) ordinates << QString::fromStdString(parsed.ordinate);
    if (!window.Formulas().Choose(QString::fromStdString(abscissa), ordinates))
      return UsageError(streams.err);
  }
  GraphWidget* graph = window.CurrentGraph();
  graph->resize(parsed.width, parsed.height);
  window.RestoreGraph();
  if (parsed.model != ModelKind::None && (!window.ChooseModel(parsed.model) || refused))
    return ExitStatus::Failed;
  const QImage picture = graph->Picture(QSize(parsed.width, parsed.height));
  if (!picture.save(QString::fromStdString(parsed.picture))) {
    Message message;
    message.Line(Txt(txt::CliCannotWrite) + " " + parsed.picture);
    return Fail(message, streams);
  }
  const PlotWindow w = graph->Window();
  streams.out << "window\t" << FullPrecisionText(w.xMin) << '\t' << FullPrecisionText(w.xMax)
              << '\t' << FullPrecisionText(w.yMin) << '\t' << FullPrecisionText(w.yMax) << '\n';
  streams.out << "xtitle\t" << Joined(graph->TitleX()).toStdString() << '\n';
  streams.out << "ytitle\t" << Joined(graph->TitleY()).toStdString() << '\n';
  if (Curve& curve = graph->CurveAt(0); curve.model)
    PrintModel(*curve.model, graph->TitleY().front().toStdString(),
               graph->TitleX().front().toStdString(), streams.out);
  return ExitStatus::Ok;
}

ExitStatus RunGraph(const std::vector<std::string>& args, CliStreams streams) {
  const auto parsed = ParseArgs(args);
  if (!parsed) return UsageError(streams.err);
  // The same widgets as the window, painted without a screen.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "kinovia-cli";
  static char* argv[] = {name, nullptr};
  QApplication application(argc, argv);
  Options options;
  const auto work = LoadWork(parsed->workFile, options, streams);
  if (!work) return ExitStatus::Failed;
  return RenderGraph(*parsed, *work, options, streams);
}

const bool registered = RegisterCommand({"graph", txt::CliSynopsisGraph, RunGraph});

}  // namespace
}  // namespace kinovia::cli
