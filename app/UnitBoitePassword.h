#pragma once
// The password dialog of the options lock: a masked field that takes letters and digits only.
#include <QDialog>

#include "settings/UnitPasswordDlg.h"

class QLineEdit;
class QPushButton;

namespace kinovia {

class TBoitePassword : public QDialog, public TPasswordDialog {
  Q_OBJECT

 public:
  explicit TBoitePassword(QWidget* parent = nullptr);

  // The text confirmed with Ok, or empty when cancelled.
  std::string Execute(TPasswordPurpose purpose) override;
  QLineEdit* Field() const { return field_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* field_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace kinovia
