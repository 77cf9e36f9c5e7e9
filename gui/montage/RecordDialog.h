#pragma once
// The dialog that chooses how the montage is recorded: its pages "Resumen", "Compresión",
// "Dimensiones" and "Parámetros", with the summary kept in step with every control.
#include <QDialog>
#include <cstdint>
#include <vector>

#include "logic/montage/RecordPlan.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace kinovia {

// What the dialog is given about the clip.
struct RecordDialogFacts {
  int width = 0;
  int height = 0;
  double framesPerSecond = 25;
  std::int64_t visibleCount = 0;
  std::int64_t withBlanks = 0;  // visible frames plus missing frames
  std::vector<RecordFramework> frameworks;
};

class RecordDialog : public QDialog {
  Q_OBJECT

 public:
  explicit RecordDialog(QWidget* parent = nullptr);

  // Fills the controls from the facts and the remembered settings (framework and codec by name).
  void Prepare(const RecordDialogFacts& facts, const RecordSettings& remembered);
  RecordSettings Settings() const;
  // The summary page's lines, as shown.
  QStringList SummaryLines() const;

 private:
  QWidget* BuildSummary();
  QWidget* BuildCompression();
  QWidget* BuildDimensions();
  QWidget* BuildParameters();
  void FillCodecs(const std::string& preferred);
  void LimitCrop();
  void Refresh();
  QSpinBox* AddSpin(const char* name, int minimum, int maximum);

  RecordDialogFacts facts_;
  QTabWidget* pages_ = nullptr;
  QLabel* summary_ = nullptr;
  QLabel* codecLine_ = nullptr;
  QComboBox* framework_ = nullptr;
  QComboBox* codec_ = nullptr;
  QPushButton* configure_ = nullptr;
  QSpinBox* quality_ = nullptr;
  QSpinBox* keyFrames_ = nullptr;
  QDoubleSpinBox* rate_ = nullptr;
  QCheckBox* change_ = nullptr;
  QRadioButton* deform_ = nullptr;
  QRadioButton* cut_ = nullptr;
  QSpinBox* width_ = nullptr;
  QSpinBox* height_ = nullptr;
  QSpinBox* cutTop_ = nullptr;
  QSpinBox* cutBottom_ = nullptr;
  QSpinBox* cutLeft_ = nullptr;
  QSpinBox* cutRight_ = nullptr;
  QCheckBox* blanks_ = nullptr;
};

// The framework's name in the combo box and the summary.
QString FrameworkCaption(RecordFramework framework);

}  // namespace kinovia
