#include "gui/PasswordDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "gui/QtText.h"
#include "resources/TxtApp.h"

namespace kinovia {

namespace {
constexpr int kWidth = 275;
constexpr int kHeight = 135;

// The key as the field's rule knows it; 0 for every key the rule never takes.
char RuleKey(const QKeyEvent& key) {
  if (key.key() == Qt::Key_Backspace) return kKeyBackspace;
  if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) return kKeyEnter;
  const QString text = key.text();
  return text.size() == 1 && text[0].unicode() < 128 ? char(text[0].unicode()) : '\0';
}

// Keys that move inside the field or leave the dialog are not typing.
bool IsEditingKey(int key) {
  return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Home || key == Qt::Key_End ||
         key == Qt::Key_Delete || key == Qt::Key_Escape || key == Qt::Key_Tab;
}
}  // namespace

PasswordDialog::PasswordDialog(QWidget* parent) : QDialog(parent) {
  setFixedSize(kWidth, kHeight);
  auto* key = new QLabel(this);
  key->setPixmap(style()->standardIcon(QStyle::SP_DialogApplyButton).pixmap(32, 32));
  field_ = new QLineEdit(this);
  field_->setEchoMode(QLineEdit::Password);
  field_->installEventFilter(this);
  auto* buttons = new QDialogButtonBox(this);
  ok_ = buttons->addButton(QTxt(txt::PasswordOk), QDialogButtonBox::AcceptRole);
  buttons->addButton(QTxt(txt::PasswordCancel), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(field_, &QLineEdit::textChanged, this,
          [this](const QString& text) { ok_->setEnabled(!text.isEmpty()); });
  auto* fieldColumn = new QVBoxLayout;
  fieldColumn->addWidget(new QLabel(QTxt(txt::PasswordLabel), this));
  fieldColumn->addWidget(field_);
  auto* row = new QHBoxLayout;
  row->addWidget(key, 0, Qt::AlignTop);
  row->addLayout(fieldColumn, 1);
  auto* column = new QVBoxLayout(this);
  column->addLayout(row);
  column->addWidget(buttons);
}

std::string PasswordDialog::Execute(PasswordPurpose purpose) {
  setWindowTitle(QTxt(purpose == PasswordPurpose::Access ? txt::PasswordAccessCaption
                                                         : txt::PasswordNewCaption));
  field_->clear();
  ok_->setEnabled(false);
  field_->setFocus();
  if (exec() != QDialog::Accepted) return {};
  return field_->text().toStdString();
}

bool PasswordDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched != field_ || event->type() != QEvent::KeyPress) return false;
  const auto& key = *static_cast<QKeyEvent*>(event);
  if (IsEditingKey(key.key())) return false;
  // Pasting or any other key outside the rule is ignored, so the stored password stays
  // letters and digits.
  return !PasswordKeyAccepted(field_->text().toStdString(), RuleKey(key));
}

}  // namespace kinovia
