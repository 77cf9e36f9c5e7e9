#pragma once
// The options dialog ("Opciones"): every preference on a control, grouped in coloured sections
// and their pages, with the lock box, the file-association box and the default folder. It edits
// a copy of the options; Ok applies the copy in the closing order, Cancel drops it.
#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

#include "logic/settings/FileAssociation.h"
#include "logic/settings/Options.h"
#include "logic/settings/OptionsClosing.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QStackedWidget;
class QToolButton;
class QTreeWidget;
class QVBoxLayout;

namespace kinovia {

class OptionsDialog : public QDialog {
  Q_OBJECT

 public:
  // `association` is empty when the user has no data folder: the box is then disabled.
  OptionsDialog(Options& options, std::optional<FileAssociation> association,
                QWidget* parent = nullptr);

  // Shows the dialog; on Ok applies the edits and answers what closing did.
  std::optional<OptionsClosing> Execute(const std::function<void()>& markResultsStale = {});

  QTreeWidget* Sections() const { return sections_; }
  QCheckBox* LockBox() const { return lock_; }
  QCheckBox* AssociationBox() const { return association_; }
  QLineEdit* FolderField() const { return folder_; }

 private:
  struct BoolControl {
    BoolOption option;
    QCheckBox* box;
  };
  // A list or a number field, whichever the option has.
  struct IntControl {
    IntOption option;
    QComboBox* list;
    QSpinBox* spin;
    int shown;
  };
  struct ToolControl {
    ResultsPage page;
    ResultsTool tool;
    QToolButton* button;
  };

  void BuildPages();
  QWidget* AddPage(int page);
  void AddBool(QVBoxLayout* page, BoolOption option, TxtId caption);
  void AddList(QVBoxLayout* page, IntOption option, TxtId caption, std::vector<TxtId> items);
  void AddSpin(QVBoxLayout* page, IntOption option, TxtId caption, int low, int high);
  void AddTools(QVBoxLayout* page, ResultsPage results);
  void AddSystemsPage(QVBoxLayout* page);
  void AddFolder(QVBoxLayout* page);
  void onLockToggled(bool checked);
  // Every control's state into the edited copy.
  void CopyControls();

  Options& options_;
  Options edited_;
  std::optional<FileAssociation> fileAssociation_;
  QTreeWidget* sections_ = nullptr;
  QStackedWidget* pages_ = nullptr;
  QCheckBox* lock_ = nullptr;
  QCheckBox* association_ = nullptr;
  QLineEdit* folder_ = nullptr;
  std::vector<BoolControl> bools_;
  std::vector<IntControl> ints_;
  std::vector<ToolControl> tools_;
};

}  // namespace kinovia
