#pragma once
// The password dialog of the options lock: a masked field that takes letters and digits only.
#include <QDialog>

#include "logic/settings/PasswordPrompt.h"

class QLineEdit;
class QPushButton;

namespace kinovia {

class PasswordDialog : public QDialog, public PasswordPrompt {
  Q_OBJECT

 public:
  explicit PasswordDialog(QWidget* parent = nullptr);

  // The text confirmed with Ok, or empty when cancelled.
  std::string Execute(PasswordPurpose purpose) override;
  QLineEdit* Field() const { return field_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* field_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace kinovia
