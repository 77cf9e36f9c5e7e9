#pragma once
// The dialog that chooses how the montage is recorded: its pages "Resumen", "Compresión",
// "Dimensiones" and "Parámetros", with the summary kept in step with every control.
#include <QDialog>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Message.h"
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

// The dialog serves the montage and the studio's two conversions, each with its own caption and
// pages.
enum class RecordDialogUse { Montage, ClipToPictures, PicturesToClip };

// What the dialog is given about the clip (or the pictures).
struct RecordDialogFacts {
  RecordDialogUse use = RecordDialogUse::Montage;
  int width = 0;
  int height = 0;
  double framesPerSecond = 25;
  std::int64_t visibleCount = 0;  // frames, or pictures
  std::int64_t withBlanks = 0;    // visible frames plus missing frames
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
  void ShowPagesOf(RecordDialogUse use);
  QSpinBox* AddSpin(const char* name, int minimum, int maximum);

  RecordDialogFacts facts_;
  QTabWidget* pages_ = nullptr;
  QWidget* compressionPage_ = nullptr;
  QWidget* dimensionsPage_ = nullptr;
  QWidget* parametersPage_ = nullptr;
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

// Asks `ask` for a new clip's name, opened in `folder`, until the answer (".avi" added when
// missing) names no existing file, warning through `show` on each taken one; `folder` follows
// the answers. nullopt when cancelled.
std::optional<std::string> AskNewClipName(
    std::string& folder,
    const std::function<std::optional<std::string>(const std::string& folder)>& ask,
    const std::function<int(const Message&)>& show);

// The framework's name in the combo box and the summary.
QString FrameworkCaption(RecordFramework framework);

}  // namespace kinovia
