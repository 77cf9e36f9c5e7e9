#pragma once
// The one modal message box of the program: it shows a Message built by the logic.
#include <QDialog>
#include <QString>

#include "core/Message.h"

class QCheckBox;
class QDialogButtonBox;
class QLabel;

namespace kinovia {

// The lines of a message as rich text: bold, italic and colour per line, an empty line between
// paragraphs; plain text is escaped so a file name can never be read as markup.
QString MessageHtml(const Message& message);

// The button that answers when the box is closed without a choice: "Cancelar" when offered (the
// harmless answer of every confirmation), else the last button.
int EscapeButtonIndex(const Message& message);

class MessageBox : public QDialog {
  Q_OBJECT

 public:
  explicit MessageBox(QWidget* parent = nullptr);

  // Shows the message modally and answers the index of the pressed button in message.buttons
  // (0 for a message without buttons, which gets "Ok").
  int Show(const Message& message);
  // The same with a check box under the text, which starts as `checked` says and whose state is
  // returned there.
  int Show(const Message& message, const QString& checkBoxText, bool* checked);

 private:
  void Build(const Message& message, const QString& checkBoxText);
  int Execute(const Message& message, const QString& checkBoxText, bool* checked);
  int ShowAfterCurrent(const Message& message, const QString& checkBoxText, bool* checked);

  QLabel* icon_ = nullptr;
  QLabel* text_ = nullptr;
  QCheckBox* checkBox_ = nullptr;
  QDialogButtonBox* buttons_ = nullptr;
  int answer_ = 0;
  bool executing_ = false;
};

}  // namespace kinovia
