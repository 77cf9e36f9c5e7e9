// Drives the studio mode of the real main window on the Parabole sample clip: contours drawn round
// the ball on three frames, replaced, taken back and erased, the shape and erase menu items, the
// chronophotograph over the first position's frame and on a blank page, the current frame saved
// as a picture, and the clip split into pictures and pictures joined into a clip.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include "gui/MainWindow.h"
#include "gui/QtText.h"
#include "gui/VideoView.h"
#include "gui/studio/StudioMode.h"
#include "logic/montage/Montage.h"
#include "media/samples/SampleClips.h"
#include "media/samples/SampleScenes.h"
#include "media/video/VideoControl.h"
#include "resources/TxtTracking.h"
#include "tests/support/ModalAnswers.h"

using namespace kinovia;
using kinovia::test::AnswerNextModal;
using kinovia::test::PressButton;

namespace {

QAction* Named(QWidget* window, const char* name) {
  return window->findChild<QAction*>(QString::fromLatin1(name));
}

// A menu item the user can reach: itself and the submenu holding it shown.
bool Offered(QWidget* window, const char* name) {
  QAction* item = Named(window, name);
  auto* submenu = qobject_cast<QMenu*>(item->parent());
  return item->isVisible() && (!submenu || submenu->menuAction()->isVisible());
}

PointD BallAt(int frame) {
  return SampleCentre(SampleClip::Parabole, double(frame) / kSampleFramesPerSecond);
}

QString TextOf(QWidget* box) {
  QString text;
  for (auto* label : box->findChildren<QLabel*>()) text += label->text();
  return text;
}

// Answers the save dialog with `name` under `filter`, then records the message that follows.
void SaveAs(const QString& name, const QString& filter, QString* message) {
  AnswerNextModal([name, filter, message](QWidget* dialog) {
    auto* files = qobject_cast<QFileDialog*>(dialog);
    QVERIFY(files);
    files->selectNameFilter(filter);
    files->selectFile(name);
    AnswerNextModal([message](QWidget* box) {
      *message = TextOf(box);
      PressButton(box, "Ok");
    });
    QMetaObject::invokeMethod(files, "accept");
  });
}

int Difference(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
         std::abs(qBlue(a) - qBlue(b));
}

}  // namespace

class StudioModeTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(folder_.isValid());
    qputenv("TMP", folder_.path().toLocal8Bit());
    QVERIFY(WriteSampleClips(folder_.path().toStdString()));
  }

  void ContoursReplacedTakenBackAndErased() {
    MainWindow window;
    Open(window);
    const StudioMode& studio = *window.Studio();
    QVERIFY(window.findChild<QToolBar*>("StudioBar")->isVisible());

    // A chronophotograph without a contour is refused with the program's words.
    QString refusal;
    AnswerNextModal([&refusal](QWidget* box) {
      refusal = TextOf(box);
      PressButton(box, "Ok");
    });
    Named(&window, "ButtonStudioChronoPhoto")->trigger();
    QVERIFY(refusal.contains("Dibujar, previamente, al menos una vez el contorno de un objeto."));

    for (int frame : {12, 4, 8, 8}) DrawCircleRoundBall(window, frame);
    QCOMPARE(FramesOf(studio), (std::vector<int>{12, 4, 8}));

    // A right click on a frame without a contour takes back the last one, on its frame.
    window.Video().GoToMontageIndex(0);
    QTest::mouseClick(window.View()->Canvas(), Qt::RightButton, {}, ViewAt(window, BallAt(0)));
    QCOMPARE(FramesOf(studio), (std::vector<int>{12, 4}));
    QCOMPARE(window.Video().CurrentSourceFrame(), 8);

    // The eraser: a click on a contour's rim removes it; a rectangle removes what it encloses.
    Named(&window, "ButtonStudioEffacerContour")->trigger();
    QCOMPARE(studio.Tool(), StudioTool::Eraser);
    QTest::mouseClick(window.View()->Canvas(), Qt::LeftButton, {},
                      ViewAt(window, {BallAt(12).x + 8, BallAt(12).y}));
    QCOMPARE(FramesOf(studio), (std::vector<int>{4}));
    DrawCircleRoundBall(window, 12);
    Named(&window, "ButtonStudioEffacerContour")->trigger();
    QWidget* canvas = window.View()->Canvas();
    const QPoint from = ViewAt(window, {BallAt(4).x - 20, BallAt(4).y - 20});
    const QPoint to = ViewAt(window, {BallAt(4).x + 20, BallAt(4).y + 20});
    QTest::mousePress(canvas, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, to, canvas->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     {});
    QApplication::sendEvent(canvas, &move);
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, to);
    QCOMPARE(FramesOf(studio), (std::vector<int>{12}));

    // The measures menu's shapes set the contour tool's; the pop-up menu erases every contour.
    Named(&window, "ButtonStudioContour")->trigger();
    QVERIFY(Offered(&window, "MenuStudioFormePolygone"));
    QVERIFY(!Offered(&window, "MenuMesuresFormePolygone"));
    Named(&window, "MenuStudioFormePolygone")->trigger();
    QVERIFY(Named(&window, "MenuStudioFormePolygone")->isChecked());
    QCOMPARE(studio.Hint(), QTxt(txt::TrackHintPolygon).mid(1));
    DrawCircleRoundBall(window, 4);  // two clicks of a polygon: nothing closed yet
    QCOMPARE(FramesOf(studio), (std::vector<int>{12}));
    Named(&window, "MenuStudioEffacerContours")->trigger();
    QVERIFY(studio.Contours().Empty());

    // Another mode switches the tool off and hides the mode's menu items.
    QVERIFY(window.SetMode(WorkingMode::FixedAxes));
    QCOMPARE(studio.Tool(), StudioTool::None);
    QVERIFY(!window.findChild<QToolBar*>("StudioBar")->isVisible());
    QVERIFY(!Offered(&window, "MenuStudioFormePolygone"));
    QVERIFY(!Offered(&window, "MenuStudioEffacerContours"));
  }

  // The clip split into resized pictures, then two of them, with a gap in their numbering, joined
  // into a clip: each through the record dialog in its studio form, with the program's words.
  void ClipToPicturesAndBack() {
    MainWindow window;
    Open(window);
    const int frames = window.MontageState().VisibleCount();
    QDir(folder_.path()).mkdir("split");
    const QString base = folder_.filePath("split/Parabole");
    QString message;
    AnswerNextModal([&](QWidget* dialog) {
      QCOMPARE(dialog->windowTitle(), QString("Descomponer un vídeo en archivos de imagen"));
      auto* pages = dialog->findChild<QTabWidget*>();
      QVERIFY(!pages->isTabVisible(1));  // no compression
      QVERIFY(pages->isTabVisible(2));   // dimensions
      dialog->findChild<QCheckBox*>("CheckBoxChange")->setChecked(true);
      dialog->findChild<QSpinBox*>("UpDownWidthChange")->setValue(80);
      dialog->findChild<QSpinBox*>("UpDownHeightChange")->setValue(60);
      SaveAs(base, "Archivo bitmap (*.bmp)", &message);
      QMetaObject::invokeMethod(dialog, "accept");
    });
    Named(&window, "ButtonStudioV2p")->trigger();
    QVERIFY(message.contains("Los archivos se han guardado satisfactoriamente."));
    const QStringList pictures = QDir(folder_.filePath("split")).entryList(QDir::Files);
    QCOMPARE(pictures.size(), frames);
    const int digits = QString::number(frames).size();
    QCOMPARE(pictures.first(), "Parabole_" + QString(digits, '0') + ".bmp");
    QCOMPARE(QImage(folder_.filePath("split/" + pictures.first())).size(), QSize(80, 60));

    const QString clip = folder_.filePath("joined");
    AnswerNextModal([&](QWidget* box) {
      QVERIFY(TextOf(box).contains("Va a seleccionar varios archivos de imagen."));
      box->findChild<QCheckBox*>()->setChecked(true);
      AnswerNextModal([&](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        QVERIFY(files);
        files->setDirectory(folder_.filePath("split"));
        files->selectFile('"' + pictures[5] + "\" \"" + pictures[3] + '"');
        AnswerNextModal([&](QWidget* record) {
          QCOMPARE(record->windowTitle(), QString("Crear un vídeo a partir de archivos de imagen"));
          QVERIFY(!record->findChild<QTabWidget*>()->isTabVisible(2));  // no dimensions
          QVERIFY(record->findChild<QLabel*>("LabelSummary")
                      ->text()
                      .contains("Número total de imágenes : 2"));
          record->findChild<QDoubleSpinBox*>("EditCadence")->setValue(10);
          SaveAs(clip, "Archivo de vídeo (*.avi)", &message);
          QMetaObject::invokeMethod(record, "accept");
        });
        QMetaObject::invokeMethod(files, "accept");
      });
      PressButton(box, "Ok");
    });
    Named(&window, "ButtonStudioP2v")->trigger();
    QVERIFY(message.contains("El archivo ha sido guardado con éxito :"));
    Montage montage;
    VideoControl joined(montage);
    QVERIFY(joined.Open((clip + ".avi").toStdString()));
    QCOMPARE(joined.FrameCount(), 2);
    QCOMPARE(joined.FramesPerSecond(), 10.0);
    QCOMPARE(QDir(folder_.filePath("split")).entryList(QDir::Files), pictures);

    // Silenced, the information does not come again: the file dialog opens at once.
    bool straightToFiles = false;
    AnswerNextModal([&](QWidget* dialog) {
      straightToFiles = qobject_cast<QFileDialog*>(dialog) != nullptr;
      QMetaObject::invokeMethod(dialog, "reject");
    });
    Named(&window, "ButtonStudioP2v")->trigger();
    QVERIFY(straightToFiles);
  }

  void ChronophotographAndFrameSaved() {
    MainWindow window;
    Open(window);
    for (int frame : {12, 4, 8}) DrawCircleRoundBall(window, frame);
    QCOMPARE(FramesOf(*window.Studio()), (std::vector<int>{12, 4, 8}));

    // WHEN the chronophotograph is built over a background and saved as PNG.
    const QString withBackground = folder_.filePath("chrono");
    QString saved;
    AnswerNextModal([&](QWidget* box) {
      QVERIFY(TextOf(box).contains("- sobre una imagen de fondo"));
      QVERIFY(box->findChild<QCheckBox*>()->isChecked());
      SaveAs(withBackground, "Imagen PNG (*.png)", &saved);
      PressButton(box, "Ok");
    });
    Named(&window, "ButtonStudioChronoPhoto")->trigger();

    // THEN the first position's frame is the background and the balls lie where they were.
    QVERIFY(saved.contains("El archivo ha sido guardado con éxito :"));
    QVERIFY(saved.contains(withBackground + ".png"));
    QCOMPARE(window.Video().CurrentSourceFrame(), 4);
    const QImage background = window.View()->Frame().convertToFormat(QImage::Format_RGB32);
    const QImage chrono(withBackground + ".png");
    QCOMPARE(chrono.size(), QSize(kSampleWidth, kSampleHeight));
    const auto pixel = [](const QImage& image, PointD p) {
      return image.pixel(int(p.x), int(p.y));
    };
    QVERIFY(Difference(pixel(chrono, BallAt(4)), pixel(background, BallAt(4))) < 30);
    QVERIFY(Difference(pixel(chrono, BallAt(12)), pixel(background, BallAt(12))) > 60);
    QVERIFY(Difference(pixel(chrono, BallAt(12)), pixel(background, BallAt(4))) < 60);

    // WHEN it is built again on a blank page, saved as BMP: white outside the balls.
    const QString blank = folder_.filePath("blank");
    AnswerNextModal([&](QWidget* box) {
      box->findChild<QCheckBox*>()->setChecked(false);
      SaveAs(blank, "Archivo bitmap (*.bmp)", &saved);
      PressButton(box, "Ok");
    });
    Named(&window, "ButtonStudioChronoPhoto")->trigger();
    const QImage page(blank + ".bmp");
    QCOMPARE(page.pixel(2, 2), qRgb(255, 255, 255));
    QVERIFY(Difference(pixel(page, BallAt(8)), pixel(chrono, BallAt(8))) < 30);

    // The current frame saved as a bitmap, with the program's words.
    SaveAs(folder_.filePath("frame"), "Archivo bitmap (*.bmp)", &saved);
    Named(&window, "ButtonStudioCapture")->trigger();
    QVERIFY(saved.contains("Copia en un archivo de imagen efectuada."));
    QVERIFY(saved.contains("El archivo tiene la extensión BMP."));
    QCOMPARE(QImage(folder_.filePath("frame.bmp")).size(), QSize(kSampleWidth, kSampleHeight));
  }

 private:
  void Open(MainWindow& window) {
    window.SetCloseWithoutAsking(true);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.OpenClip(folder_.filePath("Parabole.avi")));
    QVERIFY(window.SetMode(WorkingMode::Studio));
    Named(&window, "ButtonStudioContour")->trigger();
  }

  static QPoint ViewAt(MainWindow& window, PointD pixel) {
    const PointI p =
        window.View()->Mapping().ToView({pixel.x / kSampleWidth, pixel.y / kSampleHeight});
    return {p.x, p.y};
  }

  // A circle round the ball on the frame: centre, then a click on the rim.
  static void DrawCircleRoundBall(MainWindow& window, int frame) {
    if (window.Studio()->Tool() != StudioTool::Contour)
      Named(&window, "ButtonStudioContour")->trigger();
    window.Video().GoToMontageIndex(frame);
    QWidget* canvas = window.View()->Canvas();
    const PointD centre = BallAt(frame);
    QTest::mouseClick(canvas, Qt::LeftButton, {}, ViewAt(window, centre));
    QTest::mouseMove(canvas, ViewAt(window, {centre.x + 8, centre.y}));
    QTest::mouseClick(canvas, Qt::LeftButton, {}, ViewAt(window, {centre.x + 8, centre.y}));
  }

  static std::vector<int> FramesOf(const StudioMode& studio) {
    std::vector<int> frames;
    for (const auto& contour : studio.Contours().List()) frames.push_back(contour.frame);
    return frames;
  }

  QTemporaryDir folder_;
};

QTEST_MAIN(StudioModeTest)
#include "StudioModeTest.moc"
