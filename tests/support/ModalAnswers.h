#pragma once
// Answers the dialogs and message boxes a window test opens, as a user would: the next modal
// window gets `answer` as soon as it shows, a button is pressed by its caption, a value typed.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace kinovia::test {

// Runs `answer` on the next modal dialog as soon as it opens.
inline void AnswerNextModal(std::function<void(QWidget*)> answer) {
  auto* poll = new QTimer(qApp);
  QObject::connect(poll, &QTimer::timeout, [poll, answer] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    poll->stop();
    poll->deleteLater();
    answer(modal);
  });
  poll->start(10);
}

// Presses the message box's button with this caption.
inline void PressButton(QWidget* box, const QString& caption) {
  for (auto* button : box->findChildren<QPushButton*>())
    if (button->text() == caption) return button->click();
  QFAIL(qPrintable("no button " + caption));
}

inline void TypeValue(QWidget* dialog, const QString& text) {
  dialog->findChild<QLineEdit*>()->setText(text);
  for (auto* button : dialog->findChildren<QPushButton*>())
    if (button->isDefault()) return button->click();
}

}  // namespace kinovia::test
