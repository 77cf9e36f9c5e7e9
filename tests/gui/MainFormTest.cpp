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

#include "app/UnitCursors.h"
#include "app/UnitMainForm.h"
#include "app/UnitMessageBox.h"
#include "session/UnitData.h"
#include "settings/UnitOptions.h"
#include "video/UnitVideoView.h"

using namespace kinovia;

namespace {

// Runs `answer` on the next modal dialog as soon as it opens.
void AnswerNextModal(std::function<void(QWidget*)> answer) {
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
void PressButton(QWidget* box, const QString& caption) {
  for (auto* button : box->findChildren<QPushButton*>())
    if (button->text() == caption) return button->click();
  QFAIL(qPrintable("no button " + caption));
}

void TypeValue(QWidget* dialog, const QString& text) {
  dialog->findChild<QLineEdit*>()->setText(text);
  for (auto* button : dialog->findChildren<QPushButton*>())
    if (button->isDefault()) return button->click();
}

// The menu item of the main menu with this caption, searched through the sub-menus.
QAction* FindAction(QWidget* window, const QString& caption) {
  for (QAction* action : window->findChildren<QAction*>())
    if (action->text() == caption) return action;
  return nullptr;
}

std::vector<TPointD> MarkPositions(const TData& data) {
  std::vector<TPointD> out;
  for (const TMarque* mark : data.FixedStore().Marks()) out.push_back(mark->FixedPosition());
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
    auto window = std::make_unique<TMainForm>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->OpenSampleClip(1);
    QVERIFY(window->ClipOpen());
    QCOMPARE(window->Mode(), TWorkMode::RepereFixe);
    QWidget* canvas = window->View()->Canvas();
    const int w = canvas->width();
    const int h = canvas->height();

    // GIVEN a scale of two points whose length is typed when the second one is placed.
    window->ToolAction(TToolAction::Echelle)->trigger();
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(w / 5, h * 3 / 4));
    AnswerNextModal([](QWidget* dialog) { TypeValue(dialog, "0,5"); });
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(w * 3 / 5, h * 3 / 4));
    QVERIFY(window->Session().Echelle().Valid());
    QCOMPARE(window->Session().Echelle().Length(TEchelle::kSingle), 0.5);

    // AND the axes placed with one click.
    window->ToolAction(TToolAction::Origine)->trigger();
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(w / 10, h / 2));
    QVERIFY(window->Session().OriginPlaced());

    // WHEN two objects are pointed on five frames, the clip advancing after the second.
    window->Session().SetMarksNumberPerFrame(2);
    window->ToolAction(TToolAction::Marque)->trigger();
    for (int frame = 0; frame < 5; ++frame) {
      QCOMPARE(window->Session().CurrentMarkOrderNumber(), 0);
      QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(w / 8 + 20 * frame, h / 3));
      QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(w / 8 + 20 * frame, h / 3 + 40));
      QCOMPARE(window->Session().LastPointedFrame(), frame);
    }
    QCOMPARE(window->Session().MarksCount(), 10);

    // THEN Ctrl+A takes the last mark back.
    QTest::keyClick(canvas, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(window->Session().MarksCount(), 9);
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(w / 8 + 80, h / 3 + 40));
    QCOMPARE(window->Session().MarksCount(), 10);
    const auto before = MarkPositions(window->Session());

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

    TMainForm again;
    again.show();
    QVERIFY(again.OpenFile(path));
    QCOMPARE(again.Session().MarksCount(), 10);
    const auto after = MarkPositions(again.Session());
    QCOMPARE(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
      QVERIFY(std::abs(after[i].x - before[i].x) < 1e-9);
      QVERIFY(std::abs(after[i].y - before[i].y) < 1e-9);
    }
    QVERIFY(again.Session().Echelle().Valid());
    QVERIFY(again.Session().OriginPlaced());
    QCOMPARE(again.RecentFiles().Files().front(), path.toStdString());
    again.SetCloseWithoutAsking(true);
  }

  void ClosingAsksOnlyWhenTheOptionIsOn() {
    TMainForm window;
    window.show();
    window.Options().SetFlag(TPref::ConfirmationQuit, false);
    window.Options().Notify();
    QVERIFY(window.close());  // no box: a box would block here

    TMainForm asking;
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
    TMainForm window;
    window.SetCloseWithoutAsking(true);
    window.OpenSampleClip(0);
    QVERIFY(window.ToolAction(TToolAction::Echelle)->isVisible());
    window.Options().SetFlag(TPref::HorizAndVertScale, true);
    window.Options().Notify();
    QVERIFY(!window.ToolAction(TToolAction::Echelle)->isVisible());
    QVERIFY(window.ToolAction(TToolAction::EchelleHoriz)->isVisible());
    QVERIFY(window.ToolAction(TToolAction::EchelleVert)->isVisible());
  }

  void KeysStepColoursAndTheNumberedCursor() {
    TMainForm window;
    window.SetCloseWithoutAsking(true);
    window.show();
    window.OpenSampleClip(1);
    window.Session().SetMarksNumberPerFrame(3);
    window.ToolAction(TToolAction::Marque)->trigger();
    QWidget* canvas = window.View()->Canvas();
    const auto cursorKey = [canvas] { return canvas->cursor().pixmap().cacheKey(); };
    QCOMPARE(cursorKey(), KinoviaCursor(TCursorShape::Mark, 1).pixmap().cacheKey());
    QTest::keyClick(canvas, Qt::Key_Alt);
    QCOMPARE(cursorKey(), KinoviaCursor(TCursorShape::Mark, 2).pixmap().cacheKey());

    const auto colour = window.Session().ObjectColour(2);
    const int index = PaletteIndex(colour);
    QTest::keyClick(canvas, Qt::Key_3, Qt::ControlModifier);
    QCOMPARE(window.Session().ObjectColour(2), PaletteColour(index - 1));
  }

  void PanAtFullSizeFirstExplains() {
    TMainForm window;
    window.SetCloseWithoutAsking(true);
    window.show();
    window.OpenSampleClip(1);
    bool told = false;
    AnswerNextModal([&told](QWidget* box) {
      told = true;
      PressButton(box, "Ok");
    });
    window.ToolAction(TToolAction::Pan)->trigger();
    QVERIFY(told);
    QCOMPARE(window.View()->Tool(), TViewTool::Pan);
  }

  void TransparentRefusesSeveralMarksPerFrame() {
    TMainForm window;
    window.SetCloseWithoutAsking(true);
    window.show();
    window.OpenSampleClip(1);
    QVERIFY(window.SetMode(TWorkMode::Transparent));
    QCOMPARE(window.Session().Tool(), TTool::Transparent);
    bool refused = false;
    AnswerNextModal([&refused](QWidget* box) {
      refused = true;
      PressButton(box, "Ok");
    });
    FindAction(&window, "dos")->trigger();
    QVERIFY(refused);
    QCOMPARE(window.Session().MarksPerFrame(), 1);
  }

  void AngleIsRefusedOutOfRangeThenSet() {
    TMainForm window;
    window.SetCloseWithoutAsking(true);
    window.show();
    window.OpenSampleClip(1);
    window.ToolAction(TToolAction::Origine)->trigger();
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
    QVERIFY(std::abs(window.Session().XAxisAngle() - M_PI / 6) < 1e-9);
  }

  void NameDialogWritesNamesAndVisibilityBack() {
    TMainForm window;
    window.SetCloseWithoutAsking(true);
    window.show();
    window.OpenSampleClip(1);
    window.Session().SetMarksNumberPerFrame(2);
    AnswerNextModal([](QWidget* dialog) {
      const auto names = dialog->findChildren<QLineEdit*>();
      QCOMPARE(names.size(), 2);
      names[1]->setText("de la pelota");
      dialog->findChildren<QCheckBox*>()[0]->setChecked(false);
      PressButton(dialog, "Ok");
    });
    window.ToolAction(TToolAction::Nom)->trigger();
    QCOMPARE(window.Session().ObjectName(1), std::string("de la pelota"));
    QVERIFY(!window.Session().ObjectVisible(0));
    QVERIFY(window.Session().ObjectVisible(1));
  }

  void IntervalDialogRefusesThenKeepsTheTypedValue() {
    TMainForm window;
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
    QCOMPARE(window.Session().Duration(), 0.04);
  }

  void PasswordTakesLettersAndDigitsOnly() {
    TMainForm window;
    window.SetCloseWithoutAsking(true);
    AnswerNextModal([](QWidget* dialog) {
      auto* field = dialog->findChild<QLineEdit*>();
      QTest::keyClicks(field, "ab!1 Z");
      QCOMPARE(field->text(), QString("ab1Z"));
      QTest::keyClick(field, Qt::Key_Return);
    });
    QVERIFY(window.Options().AskNewPassword());
    QCOMPARE(window.Options().Password(), std::string("ab1Z"));
    // A wrong password is refused with the options' own warning.
    window.Options().SetLocked(true);
    AnswerNextModal([](QWidget* dialog) {
      QTest::keyClicks(dialog->findChild<QLineEdit*>(), "nope");
      QTest::keyClick(dialog->findChild<QLineEdit*>(), Qt::Key_Return);
    });
    QVERIFY(!window.Options().AskAccess().granted);
  }

  void ZoomToolAndZoomFieldDriveTheView() {
    TMainForm window;
    window.SetCloseWithoutAsking(true);
    window.show();
    window.OpenSampleClip(1);
    QWidget* canvas = window.View()->Canvas();
    window.ToolAction(TToolAction::Zoom)->trigger();
    QCOMPARE(canvas->cursor().pixmap().cacheKey(),
             KinoviaCursor(TCursorShape::Zoom).pixmap().cacheKey());
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
#include "MainFormTest.moc"
