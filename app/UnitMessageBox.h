#pragma once
// The one modal message box of the program: it shows a TMessage built by the logic.
#include <QDialog>
#include <QString>

#include "resources/UnitMessage.h"

class QCheckBox;
class QDialogButtonBox;
class QLabel;

namespace kinovia {

// The lines of a message as rich text: bold, italic and colour per line, an empty line between
// paragraphs; plain text is escaped so a file name can never be read as markup.
QString MessageHtml(const TMessage& message);

// The button that answers when the box is closed without a choice: "Cancelar" when offered (the
// harmless answer of every confirmation), else the last button.
int EscapeButtonIndex(const TMessage& message);

class TBoiteMessage : public QDialog {
  Q_OBJECT

 public:
  explicit TBoiteMessage(QWidget* parent = nullptr);

  // Shows the message modally and answers the index of the pressed button in message.buttons
  // (0 for a message without buttons, which gets "Ok").
  int Show(const TMessage& message);
  // The same with a check box under the text; its state is returned in `checked`.
  int Show(const TMessage& message, const QString& checkBoxText, bool* checked);

 private:
  void Build(const TMessage& message, const QString& checkBoxText);

  QLabel* icon_ = nullptr;
  QLabel* text_ = nullptr;
  QCheckBox* checkBox_ = nullptr;
  QDialogButtonBox* buttons_ = nullptr;
  int answer_ = 0;
};

}  // namespace kinovia
