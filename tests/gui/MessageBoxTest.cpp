// The one message box of the program, on the offscreen platform.
#include <QApplication>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "gui/MessageBox.h"
#include "resources/TxtCommon.h"

using namespace kinovia;

class MessageBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void LinesKeepTheirStyleAndFileNamesCannotInjectMarkup() {
    Message m;
    m.lines.push_back({"Atención", true, false, kColourRed});
    m.Blank().FileName("/tmp/<b>clip</b>&.avi");
    const QString html = MessageHtml(m);
    QVERIFY(html.contains("<b>Atención</b>"));
    QVERIFY(html.contains("#ff0000"));  // red kept in the low byte of the stored colour
    QVERIFY(html.contains("#0000ff"));
    QVERIFY(html.contains("/tmp/&lt;b&gt;clip&lt;/b&gt;&amp;.avi"));
    QVERIFY(!html.contains("<b>clip"));
  }

  void ClosingWithoutAChoiceAnswersTheHarmlessButton() {
    struct Case {
      std::vector<TxtId> buttons;
      int expected;
    } cases[] = {
        {{txt::ButtonGuardar, txt::ButtonCancelar, txt::ButtonSalir}, 1},
        {{txt::ButtonOk}, 0},
        {{}, 0},
        {{txt::ButtonSustituir, txt::ButtonIgnorar}, 1},
    };
    for (const auto& c : cases) {
      Message m;
      m.buttons = c.buttons;
      QCOMPARE(EscapeButtonIndex(m), c.expected);
    }
  }

  void ButtonsAnswerTheirIndexAndTheBoxLooksAsTheProgramWants() {
    MessageBox box;
    Message m;
    m.buttons = {txt::ButtonGuardar, txt::ButtonCancelar, txt::ButtonSalir};
    m.Line("¿Guardar?");
    QTimer::singleShot(0, &box, [&box] {
      QCOMPARE(box.windowTitle(), QString("Kinovia"));
      const QString family = QFontInfo(box.font()).family();
      QVERIFY2(family == "Arial" || family == "Liberation Sans", qPrintable(family));
      QCOMPARE(box.font().pointSize(), 10);
      for (auto* button : box.findChildren<QPushButton*>())
        if (button->text() == "Salir") button->click();
    });
    QCOMPARE(box.Show(m), 2);
  }

  void SelfClosingBoxWaitsAtLeastHalfASecond() {
    MessageBox box;
    Message m;
    m.buttons = {txt::ButtonOk};
    m.autoCloseMs = 50;  // asked too short: the box keeps the shortest readable delay
    m.Line("Guardado");
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(box.Show(m), 0);
    QVERIFY(clock.elapsed() >= 500);
    QVERIFY(clock.elapsed() < 5000);
  }

  // The welcome box was on screen when the start-up found a clip it could not open: the second
  // message re-entered the box and the welcome text was lost.
  void AMessageAskedWhileAnotherIsShownWaitsForItsTurn() {
    QTest::failOnWarning(QRegularExpression("Recursive"));
    MessageBox box;
    Message first;
    first.lines.push_back({"primero", false, false, 0});
    Message second;
    second.buttons = {txt::ButtonGuardar, txt::ButtonCancelar};
    second.lines.push_back({"segundo", false, false, 0});

    QStringList shown;
    QTimer answerer;
    connect(&answerer, &QTimer::timeout, [&shown] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal || !modal->isVisible()) return;
      QString text;
      for (const QLabel* label : modal->findChildren<QLabel*>()) text += label->text();
      shown << (text.contains("segundo") ? "segundo" : "primero");
      modal->findChildren<QPushButton*>().first()->click();
    });
    answerer.start(100);
    int secondAnswer = -1;
    QTimer::singleShot(20, [&] { secondAnswer = box.Show(second); });
    const int firstAnswer = box.Show(first);

    QCOMPARE(shown, QStringList({"primero", "segundo"}));
    QCOMPARE(firstAnswer, 0);
    QVERIFY(secondAnswer == 0 || secondAnswer == 1);
  }
};

QTEST_MAIN(MessageBoxTest)
#include "MessageBoxTest.moc"
