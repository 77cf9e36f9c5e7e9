// Drives the montage mode of the real main window on the Parabole sample clip: toggling a frame
// with its information box, the series and missing-frame dialogs, leaving onto a visible frame,
// a recording through the dialog and the save dialog, and a recording stopped by the pause button.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include "FfmpegProbe.h"
#include "gui/MainWindow.h"
#include "gui/montage/FrameSeriesDialog.h"
#include "gui/montage/MontageMode.h"
#include "gui/montage/RecordDialog.h"
#include "logic/montage/Montage.h"
#include "logic/session/Session.h"
#include "media/samples/SampleClips.h"
#include "media/video/VideoControl.h"
#include "tests/support/ModalAnswers.h"

using namespace kinovia;
using kinovia::test::AnswerNextModal;
using kinovia::test::PressButton;

namespace {

QAction* Named(QWidget* window, const char* name) {
  return window->findChild<QAction*>(QString::fromLatin1(name));
}

QString TextOf(QWidget* box) {
  QString text;
  for (auto* label : box->findChildren<QLabel*>()) text += label->text() + "\n";
  return text;
}

// Answers the save dialog with this file.
void ChooseFile(QWidget* dialog, const QString& file) {
  auto* files = qobject_cast<QFileDialog*>(dialog);
  QVERIFY(files);
  files->selectFile(file);
  QMetaObject::invokeMethod(files, "accept");
}

}  // namespace

class MontageWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(folder_.isValid());
    qputenv("TMP", folder_.path().toLocal8Bit());
    QVERIFY(WriteSampleClips(folder_.path().toStdString()));
  }

  void TogglesWithTheInformationBoxAndLeavesOntoAVisibleFrame() {
    MainWindow window;
    OpenInMontageMode(window);
    const Montage& montage = MontageOf(window);
    QVERIFY(window.findChild<QToolBar*>("MontageBar")->isVisible());
    window.Video().Seek(2);

    // The box explains, its check box is ticked: the frame is hidden and the box is not shown
    // again.
    QString told;
    AnswerNextModal([&told](QWidget* box) {
      told = TextOf(box);
      box->findChild<QCheckBox*>()->setChecked(true);
      PressButton(box, "Ok");
    });
    Named(&window, "ButtonMontageBasculer")->trigger();
    QVERIFY(told.contains("Esta imagen no será visible en el vídeo cuando se termine el montaje."));
    QVERIFY(!montage.Visible(2));
    QVERIFY(!montage.ShowInformation());
    QCOMPARE(montage.FrameTimeIndex(3), 2);
    // Hidden frames cannot be given another instant.
    QVERIFY(!Named(&window, "ButtonMontageInstant")->isEnabled());

    // Leaving the mode on the hidden frame goes on to the next visible one.
    QVERIFY(window.SetMode(WorkingMode::FixedAxes));
    QCOMPARE(window.Video().CurrentSourceFrame(), 3);
    QCOMPARE(window.Video().FrameCount(), montage.FrameCount() - 1);
  }

  void HidesASeriesAndRefusesABadGroup() {
    MainWindow window;
    OpenInMontageMode(window);
    const Montage& montage = MontageOf(window);
    QString warning;
    AnswerNextModal([&warning](QWidget* dialog) {
      auto* frames = dialog->findChild<QComboBox*>("ComboBoxImages");
      frames->lineEdit()->setText("0");
      AnswerNextModal([&warning, dialog, frames](QWidget* box) {
        warning = TextOf(box);
        PressButton(box, "Ok");
        // Still open after the warning: a good series this time.
        QTimer::singleShot(0, dialog, [dialog, frames] {
          QVERIFY(dialog->isVisible());
          frames->lineEdit()->setText("1-3 ; 5");
          PressButton(dialog, "&Ok");
        });
      });
      PressButton(dialog, "&Ok");
    });
    Named(&window, "ButtonMontageBasculerMult")->trigger();
    QVERIFY(warning.contains("El grupo de imágenes a ocultar es incorrecto"));
    for (int frame : {0, 1, 2, 4}) QVERIFY(!montage.Visible(frame));
    QVERIFY(montage.Visible(3));
    QCOMPARE(montage.FrameTimeIndex(3), 0);
  }

  void ShiftsTheInstantAndShowsItInTheFrameField() {
    MainWindow window;
    OpenInMontageMode(window);
    const Montage& montage = MontageOf(window);
    window.Video().Seek(4);
    AnswerNextModal([](QWidget* dialog) {
      auto* up = dialog->findChild<QToolButton*>("UpDownInstantUp");
      auto* down = dialog->findChild<QToolButton*>("UpDownInstantDown");
      up->click();
      up->click();
      down->click();
      down->click();  // back on the previous frame's time index + 1
      down->click();  // refused: it would reach the previous frame's time index
      QVERIFY(dialog->findChild<QLabel*>("LabelPrevious")
                  ->text()
                  .startsWith("imagen visible anterior"));
      PressButton(dialog, "&Ok");
    });
    Named(&window, "ButtonMontageInstant")->trigger();
    QCOMPARE(montage.TimeShift(4), 0);
    window.Video().Seek(4);
    AnswerNextModal([](QWidget* dialog) {
      dialog->findChild<QToolButton*>("UpDownInstantUp")->click();
      PressButton(dialog, "&Ok");
    });
    Named(&window, "ButtonMontageInstant")->trigger();
    QCOMPARE(montage.FrameTimeIndex(4), 5);
    QCOMPARE(montage.MissingFrameCount(), 1);
    QVERIFY(window.findChild<QLineEdit*>("EditImage")->text().endsWith("(+1)"));
  }

  void RecordsThroughTheDialogsAndRefusesAnExistingName() {
    MainWindow window;
    OpenInMontageMode(window);
    window.Video().Seek(3);
    AnswerNextModal([](QWidget* dialog) {
      dialog->findChild<QToolButton*>("UpDownInstantUp")->click();  // one missing frame
      PressButton(dialog, "&Ok");
    });
    Named(&window, "ButtonMontageInstant")->trigger();
    window.Video().Seek(7);
    const int frames = window.Video().FrameCount();
    const QString existing = folder_.filePath("Existing.avi");
    QFile(existing).open(QIODevice::WriteOnly);
    const QString out = folder_.filePath("Montage");  // ".avi" is added
    QString summary, refusal, result;
    AnswerNextModal([&](QWidget* dialog) {
      dialog->findChild<QCheckBox*>("CheckBoxImgInsert")->setChecked(true);
      summary = static_cast<RecordDialog*>(dialog)->SummaryLines().join("\n");
      AnswerNextModal([&](QWidget* save) {
        AnswerNextModal([&](QWidget* box) {
          refusal = TextOf(box);
          AnswerNextModal([&](QWidget* again) {
            AnswerNextModal([&](QWidget* done) {
              result = TextOf(done);
              PressButton(done, "Ok");
            });
            ChooseFile(again, out);
          });
          PressButton(box, "Ok");
        });
        ChooseFile(save, existing);
      });
      PressButton(dialog, "Ok");
    });
    Named(&window, "ButtonMontageEnregistrer")->trigger();
    QVERIFY(summary.contains(QString("Número total de imágenes : %1").arg(frames + 1)));
    QVERIFY(summary.contains("Imágenes que faltan : insertar imágenes vacías"));
    QVERIFY(refusal.contains("Un archivo con este nombre ya existe en la carpeta escogida."));
    QVERIFY(result.contains("El archivo ha sido guardado con éxito :"));
    QVERIFY(result.contains(out + ".avi"));
    const auto probed = test::ProbeClip((out + ".avi").toStdString());
    QCOMPARE(QString::fromStdString(probed.at("nb_read_frames")), QString::number(frames + 1));
    QCOMPARE(window.Video().CurrentSourceFrame(), 7);
  }

  void PauseButtonStopsARecordingAndLeavesNoFile() {
    MainWindow window;
    OpenInMontageMode(window);
    const QString out = folder_.filePath("Stopped.avi");
    QString result;
    AnswerNextModal([&](QWidget* dialog) {
      AnswerNextModal([&](QWidget* save) {
        // The pause button is pressed while the frames are being written.
        auto* watch = new QTimer(&window);
        QObject::connect(watch, &QTimer::timeout, &window, [&window, watch] {
          if (!window.MontageCommands()->Recording()) return;
          watch->stop();
          QVERIFY(!window.SetMode(WorkingMode::FixedAxes));
          window.findChild<QToolButton*>("ButtonVideoPause")->click();
        });
        watch->start(0);
        AnswerNextModal([&](QWidget* done) {
          result = TextOf(done);
          PressButton(done, "Ok");
        });
        ChooseFile(save, out);
      });
      PressButton(dialog, "Ok");
    });
    Named(&window, "ButtonMontageEnregistrer")->trigger();
    QVERIFY(result.contains("Error detectado durante la creación del archivo de vídeo :"));
    QVERIFY(result.contains("La lectura del vídeo se ha detenido."));
    QVERIFY(!QFile::exists(out));
    QCOMPARE(QDir(folder_.path()).entryList({"Stopped*"}).size(), 0);
    QCOMPARE(window.Mode(), WorkingMode::Montage);
  }

 private:
  static const kinovia::Montage& MontageOf(MainWindow& window) { return window.MontageState(); }

  void OpenInMontageMode(MainWindow& window) {
    window.SetCloseWithoutAsking(true);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.OpenSampleClip(0);
    QVERIFY(window.ClipOpen());
    QVERIFY(window.SetMode(WorkingMode::Montage));
  }

  QTemporaryDir folder_;
};

QTEST_MAIN(MontageWindowTest)
#include "MontageWindowTest.moc"
