// Drives the real main window on a real sample clip: calibrate, place the axes, point two objects
// on five frames, undo, save, close, reopen and compare.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "gui/Cursors.h"
#include "gui/MainWindow.h"
#include "gui/MessageBox.h"
#include "gui/VideoView.h"
#include "logic/session/Session.h"
#include "logic/settings/Options.h"
#include "tests/support/ModalAnswers.h"

using namespace kinovia;
using kinovia::test::AnswerNextModal;
using kinovia::test::PressButton;
using kinovia::test::TypeValue;

namespace {

// The menu item of the main menu with this caption, searched through the sub-menus.
QAction* FindAction(QWidget* window, const QString& caption) {
  for (QAction* action : window->findChildren<QAction*>())
    if (action->text() == caption) return action;
  return nullptr;
}

std::vector<PointD> MarkPositions(const Session& data) {
  std::vector<PointD> out;
  for (const Mark* mark : data.FixedStore().Marks()) out.push_back(mark->FixedPosition());
  return out;
}

}  // namespace

class MainFormTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(folder_.isValid());
    qputenv("TMP", folder_.path().toLocal8Bit());
  }

  void PointsSavesAndReopensAWork() {
    auto window = std::make_unique<MainWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->OpenSampleClip(1);
    QVERIFY(window->ClipOpen());
    QCOMPARE(window->Mode(), WorkingMode::FixedAxes);
    QWidget* canvas = window->View()->Canvas();
    const int w = canvas->width();
    const int h = canvas->height();

    // GIVEN a scale of two points whose length is typed when the second one is placed.
    window->ActionOfTool(ToolAction::Scale)->trigger();
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(w / 5, h * 3 / 4));
    AnswerNextModal([](QWidget* dialog) { TypeValue(dialog, "0,5"); });
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(w * 3 / 5, h * 3 / 4));
    QVERIFY(window->CurrentSession().CalibrationScale().Valid());
    QCOMPARE(window->CurrentSession().CalibrationScale().Length(Scale::kSingle), 0.5);

    // AND the axes placed with one click.
    window->ActionOfTool(ToolAction::Origin)->trigger();
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(w / 10, h / 2));
    QVERIFY(window->CurrentSession().OriginPlaced());

    // WHEN two objects are pointed on five frames, the clip advancing after the second.
    window->CurrentSession().SetMarksNumberPerFrame(2);
    window->ActionOfTool(ToolAction::Mark)->trigger();
    for (int frame = 0; frame < 5; ++frame) {
      QCOMPARE(window->CurrentSession().CurrentMarkOrderNumber(), 0);
      QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(w / 8 + 20 * frame, h / 3));
      QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(w / 8 + 20 * frame, h / 3 + 40));
      QCOMPARE(window->CurrentSession().LastPointedFrame(), frame);
    }
    QCOMPARE(window->CurrentSession().MarksCount(), 10);

    // THEN Ctrl+A takes the last mark back.
    QTest::keyClick(canvas, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(window->CurrentSession().MarksCount(), 9);
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(w / 8 + 80, h / 3 + 40));
    QCOMPARE(window->CurrentSession().MarksCount(), 10);
    const auto before = MarkPositions(window->CurrentSession());

    // The work is saved, the window closed (answering "Salir") and the work opened again.
    const QString path = folder_.filePath("pointed.knv");
    AnswerNextModal([path](QWidget* dialog) {
      auto* files = qobject_cast<QFileDialog*>(dialog);
      QVERIFY(files);
      files->selectFile(path);
      // Then the box that says where the work was saved.
      AnswerNextModal([](QWidget* box) { PressButton(box, "Ok"); });
      QMetaObject::invokeMethod(files, "accept");
    });
    QVERIFY(window->SaveWork());
    AnswerNextModal([](QWidget* box) { PressButton(box, "Salir"); });
    QVERIFY(window->close());
    window.reset();

    MainWindow again;
    again.show();
    QVERIFY(again.OpenFile(path));
    QCOMPARE(again.CurrentSession().MarksCount(), 10);
    const auto after = MarkPositions(again.CurrentSession());
    QCOMPARE(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
      QVERIFY(std::abs(after[i].x - before[i].x) < 1e-9);
      QVERIFY(std::abs(after[i].y - before[i].y) < 1e-9);
    }
    QVERIFY(again.CurrentSession().CalibrationScale().Valid());
    QVERIFY(again.CurrentSession().OriginPlaced());
    QCOMPARE(again.RecentFileList().Files().front(), path.toStdString());
    again.SetCloseWithoutAsking(true);
  }

  void ClosingAsksOnlyWhenTheOptionIsOn() {
    MainWindow window;
    window.show();
    window.CurrentOptions().SetFlag(BoolOption::ConfirmationQuit, false);
    window.CurrentOptions().Notify();
    QVERIFY(window.close());  // no box: a box would block here

    MainWindow asking;
    asking.show();
    AnswerNextModal([](QWidget* box) {
      // Without a clip only "Cancelar" and "Salir" are offered.
      QCOMPARE(box->findChildren<QPushButton*>().size(), 2);
      PressButton(box, "Cancelar");
    });
    QVERIFY(!asking.close());
    asking.SetCloseWithoutAsking(true);
    QVERIFY(asking.close());
  }

  void TwoScalesOptionSwapsTheScaleButtons() {
    MainWindow window;
    window.SetCloseWithoutAsking(true);
    window.OpenSampleClip(0);
    QVERIFY(window.ActionOfTool(ToolAction::Scale)->isVisible());
    window.CurrentOptions().SetFlag(BoolOption::HorizAndVertScale, true);
    window.CurrentOptions().Notify();
    QVERIFY(!window.ActionOfTool(ToolAction::Scale)->isVisible());
    QVERIFY(window.ActionOfTool(ToolAction::ScaleHorizontal)->isVisible());
    QVERIFY(window.ActionOfTool(ToolAction::ScaleVertical)->isVisible());
  }

  void KeysStepColoursAndTheNumberedCursor() {
    MainWindow window;
    window.SetCloseWithoutAsking(true);
    window.show();
    window.OpenSampleClip(1);
    window.CurrentSession().SetMarksNumberPerFrame(3);
    window.ActionOfTool(ToolAction::Mark)->trigger();
    QWidget* canvas = window.View()->Canvas();
    const auto cursorKey = [canvas] { return canvas->cursor().pixmap().cacheKey(); };
    QCOMPARE(cursorKey(), KinoviaCursor(CursorShape::Mark, 1).pixmap().cacheKey());
    QTest::keyClick(canvas, Qt::Key_Alt);
    QCOMPARE(cursorKey(), KinoviaCursor(CursorShape::Mark, 2).pixmap().cacheKey());

    const auto colour = window.CurrentSession().ObjectColour(2);
    const int index = PaletteIndex(colour);
    QTest::keyClick(canvas, Qt::Key_3, Qt::ControlModifier);
    QCOMPARE(window.CurrentSession().ObjectColour(2), PaletteColour(index - 1));
  }

  void PanAtFullSizeFirstExplains() {
    MainWindow window;
    window.SetCloseWithoutAsking(true);
    window.show();
    window.OpenSampleClip(1);
    bool told = false;
    AnswerNextModal([&told](QWidget* box) {
      told = true;
      PressButton(box, "Ok");
    });
    window.ActionOfTool(ToolAction::Pan)->trigger();
    QVERIFY(told);
    QCOMPARE(window.View()->Tool(), ViewToolKind::Pan);
  }

  void TransparentRefusesSeveralMarksPerFrame() {
    MainWindow window;
    window.SetCloseWithoutAsking(true);
    window.show();
    window.OpenSampleClip(1);
    QVERIFY(window.SetMode(WorkingMode::Transparent));
    QCOMPARE(window.CurrentSession().Tool(), PointingTool::Transparent);
    bool refused = false;
    AnswerNextModal([&refused](QWidget* box) {
      refused = true;
      PressButton(box, "Ok");
    });
    FindAction(&window, "dos")->trigger();
    QVERIFY(refused);
    QCOMPARE(window.CurrentSession().MarksPerFrame(), 1);
  }

  void AngleIsRefusedOutOfRangeThenSet() {
    MainWindow window;
    window.SetCloseWithoutAsking(true);
    window.show();
    window.OpenSampleClip(1);
    window.ActionOfTool(ToolAction::Origin)->trigger();
    QWidget* canvas = window.View()->Canvas();
    QTest::mouseClick(canvas, Qt::LeftButton, {},
                      QPoint(canvas->width() / 2, canvas->height() / 2));
    // GIVEN 181 degrees typed: the range box answers and the dialog stays for 30.
    AnswerNextModal([](QWidget* dialog) {
      AnswerNextModal([dialog](QWidget* box) {
        QVERIFY(box != dialog);
        PressButton(box, "Ok");
        TypeValue(dialog, "30");
      });
      TypeValue(dialog, "181");
    });
    FindAction(&window, QString::fromUtf8("Ángulo de rotación de los ejes"))->trigger();
    QVERIFY(std::abs(window.CurrentSession().XAxisAngle() - M_PI / 6) < 1e-9);
  }

  void NameDialogWritesNamesAndVisibilityBack() {
    MainWindow window;
    window.SetCloseWithoutAsking(true);
    window.show();
    window.OpenSampleClip(1);
    window.CurrentSession().SetMarksNumberPerFrame(2);
    AnswerNextModal([](QWidget* dialog) {
      const auto names = dialog->findChildren<QLineEdit*>();
      QCOMPARE(names.size(), 2);
      names[1]->setText("de la pelota");
      dialog->findChildren<QCheckBox*>()[0]->setChecked(false);
      PressButton(dialog, "Ok");
    });
    window.ActionOfTool(ToolAction::Names)->trigger();
    QCOMPARE(window.CurrentSession().ObjectName(1), std::string("de la pelota"));
    QVERIFY(!window.CurrentSession().ObjectVisible(0));
    QVERIFY(window.CurrentSession().ObjectVisible(1));
  }

  void IntervalDialogRefusesThenKeepsTheTypedValue() {
    MainWindow window;
    window.SetCloseWithoutAsking(true);
    window.show();
    window.OpenSampleClip(1);
    int refusals = 0;
    // GIVEN 2e9 s typed, refused as out of range; THEN 0,04 accepted with either separator.
    AnswerNextModal([&refusals](QWidget* dialog) {
      dialog->findChildren<QRadioButton*>()[1]->setChecked(true);
      AnswerNextModal([&refusals, dialog](QWidget* box) {
        ++refusals;
        PressButton(box, "Ok");
        TypeValue(dialog, "0,04");
      });
      TypeValue(dialog, "2e9");
    });
    FindAction(&window, QString::fromUtf8("Intervalo de tiempo entre dos imágenes"))->trigger();
    QCOMPARE(refusals, 1);
    QCOMPARE(window.CurrentSession().Duration(), 0.04);
  }

  void PasswordTakesLettersAndDigitsOnly() {
    MainWindow window;
    window.SetCloseWithoutAsking(true);
    AnswerNextModal([](QWidget* dialog) {
      auto* field = dialog->findChild<QLineEdit*>();
      QTest::keyClicks(field, "ab!1 Z");
      QCOMPARE(field->text(), QString("ab1Z"));
      QTest::keyClick(field, Qt::Key_Return);
    });
    QVERIFY(window.CurrentOptions().AskNewPassword());
    QCOMPARE(window.CurrentOptions().Password(), std::string("ab1Z"));
    // A wrong password is refused with the options' own warning.
    window.CurrentOptions().SetLocked(true);
    AnswerNextModal([](QWidget* dialog) {
      QTest::keyClicks(dialog->findChild<QLineEdit*>(), "nope");
      QTest::keyClick(dialog->findChild<QLineEdit*>(), Qt::Key_Return);
    });
    QVERIFY(!window.CurrentOptions().AskAccess().granted);
  }

  void ZoomToolAndZoomFieldDriveTheView() {
    MainWindow window;
    window.SetCloseWithoutAsking(true);
    window.show();
    window.OpenSampleClip(1);
    QWidget* canvas = window.View()->Canvas();
    window.ActionOfTool(ToolAction::Zoom)->trigger();
    QCOMPARE(canvas->cursor().pixmap().cacheKey(),
             KinoviaCursor(CursorShape::Zoom).pixmap().cacheKey());
    QTest::mouseClick(canvas, Qt::LeftButton, {},
                      QPoint(canvas->width() - 1, canvas->height() / 2));
    QCOMPARE(window.View()->Mapping().Zoom(), 200);
    // The right half is shown: the left edge of the view is the middle of the picture.
    QCOMPARE(window.View()->Mapping().Source().left, window.View()->Frame().width() / 2);
    auto* zoomField = window.findChild<QLineEdit*>("EditZoom");
    QCOMPARE(zoomField->text(), QString(" 200 %"));
    QTest::mouseClick(zoomField, Qt::LeftButton);
    QCOMPARE(window.View()->Mapping().Zoom(), 100);
    QCOMPARE(zoomField->text(), QString(" 100 %"));
  }

 private:
  QTemporaryDir folder_;
};

QTEST_MAIN(MainFormTest)
#include "MainWindowTest.moc"
