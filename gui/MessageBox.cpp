#include "gui/MessageBox.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/QtText.h"
#include "resources/TxtCommon.h"

namespace kinovia {
namespace {

QStyle::StandardPixmap IconOf(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Warning:
      return QStyle::SP_MessageBoxWarning;
    case MessageIcon::Error:
      return QStyle::SP_MessageBoxCritical;
    case MessageIcon::Confirmation:
      return QStyle::SP_MessageBoxQuestion;
    case MessageIcon::Information:
      break;
  }
  return QStyle::SP_MessageBoxInformation;
}

constexpr int kShortestAutoCloseMs = 500;

}  // namespace

QString MessageHtml(const Message& message) {
  QString html;
  for (const auto& line : message.lines) {
    if (line.text.empty()) {
      html += "<br>";
      continue;
    }
    QString text = QString::fromStdString(line.text).toHtmlEscaped();
    if (line.bold) text = "<b>" + text + "</b>";
    if (line.italic) text = "<i>" + text + "</i>";
    html +=
        QString("<span style=\"color:%1\">%2</span><br>").arg(QColourOf(line.colour).name(), text);
  }
  if (html.endsWith("<br>")) html.chop(4);
  return html;
}

int EscapeButtonIndex(const Message& message) {
  const auto& b = message.buttons;
  const auto cancel = std::find(b.begin(), b.end(), txt::ButtonCancelar);
  if (cancel != b.end()) return int(cancel - b.begin());
  return b.empty() ? 0 : int(b.size()) - 1;
}

MessageBox::MessageBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QTxt(txt::AppTitle));
  // Arial where installed; fontconfig gives its metric twin (Liberation Sans) elsewhere.
  QFont font("Arial", 10);
  font.setStyleHint(QFont::SansSerif);
  setFont(font);
  icon_ = new QLabel(this);
  text_ = new QLabel(this);
  text_->setTextFormat(Qt::RichText);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  checkBox_ = new QCheckBox(this);
  buttons_ = new QDialogButtonBox(this);
  auto* row = new QHBoxLayout;
  row->addWidget(icon_, 0, Qt::AlignTop);
  row->addWidget(text_, 1);
  auto* column = new QVBoxLayout(this);
  column->addLayout(row);
  column->addWidget(checkBox_);
  column->addWidget(buttons_);
}

void MessageBox::Build(const Message& message, const QString& checkBoxText) {
  const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
  icon_->setPixmap(style()->standardIcon(IconOf(message.icon), nullptr, this).pixmap(side, side));
  text_->setText(MessageHtml(message));
  checkBox_->setText(checkBoxText);
  checkBox_->setChecked(false);
  checkBox_->setVisible(!checkBoxText.isEmpty());
  buttons_->clear();
  auto captions = message.buttons;
  if (captions.empty()) captions.push_back(txt::ButtonOk);
  for (int i = 0; i < int(captions.size()); ++i) {
    auto* button = buttons_->addButton(QTxt(captions[i]), QDialogButtonBox::ActionRole);
    button->setAutoDefault(i == 0);
    button->setDefault(i == 0);
    connect(button, &QPushButton::clicked, this, [this, i] {
      answer_ = i;
      accept();
    });
  }
  answer_ = EscapeButtonIndex(message);
  adjustSize();
}

int MessageBox::Show(const Message& message) { return Show(message, QString(), nullptr); }

int MessageBox::Show(const Message& message, const QString& checkBoxText, bool* checked) {
  if (executing_) return ShowAfterCurrent(message, checkBoxText, checked);
  executing_ = true;
  const int answer = Execute(message, checkBoxText, checked);
  executing_ = false;
  return answer;
}

// A message asked for while another is on screen (a timer's work during the welcome box, say)
// waits until that one is closed, then shows in a box of its own: re-entering the same dialog
// would lose the first text.
int MessageBox::ShowAfterCurrent(const Message& message, const QString& checkBoxText,
                                 bool* checked) {
  if (isVisible()) {
    QEventLoop wait;
    connect(this, &QDialog::finished, &wait, &QEventLoop::quit);
    wait.exec();
  }
  MessageBox next(parentWidget());
  next.setFont(font());
  return next.Show(message, checkBoxText, checked);
}

int MessageBox::Execute(const Message& message, const QString& checkBoxText, bool* checked) {
  Build(message, checkBoxText);
  if (checked) checkBox_->setChecked(*checked);
  QTimer closer;
  if (message.autoCloseMs > 0) {
    closer.setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the shortest delay is a promise to the reader.
    closer.setTimerType(Qt::PreciseTimer);
    connect(&closer, &QTimer::timeout, this, &QDialog::reject);
    closer.start(std::max(message.autoCloseMs, kShortestAutoCloseMs));
  }
  const int escape = answer_;
  if (exec() != QDialog::Accepted) answer_ = escape;
  if (checked) *checked = checkBox_->isChecked();
  return answer_;
}

}  // namespace kinovia
