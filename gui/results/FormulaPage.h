#pragma once
// The formula page of the results window: the checked ordinates (table columns or user
// variables) against the chosen abscissa, on a graph of its own. The window and kinovia-cli drive
// it alike.
#include <QObject>
#include <QString>
#include <vector>

#include "logic/graphs/FormulaAxes.h"
#include "logic/models/Models.h"

class QComboBox;
class QMenu;
class QToolButton;
class QWidget;

namespace kinovia {

class GraphWidget;

class FormulaPage : public QObject {
  Q_OBJECT

 public:
  // What the display menu keeps for the page.
  struct Display {
    bool zoomX = false, zoomY = true;
    bool zeroOnAbscissa = false, zeroOnOrdinate = true;
    bool polyline = true;
    bool equation = true, statistics = false;  // the model block's contents
  };

  // The graph goes into `graphParent`, the two choice controls into `choiceParent`.
  FormulaPage(QWidget* graphParent, QWidget* choiceParent);

  GraphWidget* Graph() const { return graph_; }
  QToolButton* OrdinateButton() const { return ordinateButton_; }
  QMenu* OrdinateMenu() const { return ordinates_; }
  QComboBox* AbscissaList() const { return abscissa_; }
  Display& Settings() { return display_; }

  // New results: the lists follow the columns, keeping the choices whose symbols remain. A first
  // filling checks the user variables against time.
  void SetAxes(std::vector<FormulaAxis> axes);
  const std::vector<FormulaAxis>& Axes() const { return axes_; }
  std::vector<int> CheckedOrdinates() const;
  // Chooses by symbols, an empty list keeping the checked ordinates; false when one is not in the
  // lists (nothing changes then). The page is rebuilt as after a click.
  bool Choose(const QString& abscissa, const QStringList& ordinates);
  // Rebuilds the curves, titles and model; frames them again when `reframe`.
  void Refresh(bool reframe, ModelKind model, bool numberFromZero);

 signals:
  // The user changed a choice: the page is rebuilt and framed.
  void choiceChanged();

 private:
  void FillLists(const QStringList& checked, const QString& abscissa);
  void UpdateOrdinateButton();

  std::vector<FormulaAxis> axes_;
  Display display_;
  GraphWidget* graph_ = nullptr;
  QToolButton* ordinateButton_ = nullptr;
  QMenu* ordinates_ = nullptr;
  QComboBox* abscissa_ = nullptr;
};

}  // namespace kinovia
