// The capture mode of the real main window on the test pattern: the remembered device and format,
// the live preview, a delayed capture of fixed duration, the file saved under a chosen name, the
// compressor's settings, and cameras plugged in and out while the mode is on.
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "core/IniFile.h"
#include "gui/MainWindow.h"
#include "gui/capture/CaptureMode.h"
#include "tests/support/ModalAnswers.h"

using namespace kinovia;
using kinovia::test::AnswerNextModal;
using kinovia::test::PressButton;

class CaptureModeTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(folder_.isValid());
    qputenv("TMP", folder_.path().toLocal8Bit());
    qputenv("KINOVIA_TEST_CAMERA", "1");
    std::ofstream(folder_.filePath("Kinovia.ini").toStdString())
        << "[Capture]\nFramework=0\nDevice=mira de prueba\nFormat=320 x 240 RGB3 25 fps\n"
           "Codec=Motion-JPEG\n";
  }

  void delayedCaptureOfFixedDurationIsSavedUnderTheChosenName() {
    auto window = std::make_unique<MainWindow>();
    window->SetCloseWithoutAsking(true);
    window->show();
    QVERIFY(window->SetMode(WorkingMode::Capture));
    CaptureMode* capture = window->Capture();
    // GIVEN the remembered device and format, previewed live.
    QCOMPARE(capture->Choice().device, 0);
    QTRY_VERIFY_WITH_TIMEOUT(!capture->Preview()->Frame().isNull(), 5000);
    QCOMPARE(capture->Preview()->Frame().width(), 320);
    QCOMPARE(capture->Preview()->isVisible(), true);

    // WHEN a 1 s delay and a 2 s duration are set on the automation page
    AnswerNextModal([](QWidget* dialog) {
      for (auto* box : dialog->findChildren<QCheckBox*>()) box->setChecked(true);
      dialog->findChild<QComboBox*>("CaptureDelay")->setCurrentText("1");
      dialog->findChild<QComboBox*>("CaptureDuration")->setCurrentText("2");
      PressButton(dialog, "Ok");
    });
    capture->OpenDialog(CapturePage::Automation);
    QCOMPARE(capture->Choice().timing.delaySeconds, 1);
    QCOMPARE(capture->Choice().timing.durationSeconds, 2);

    // AND the capture is started, the name "kept" given when it ends
    const QString kept = folder_.filePath("kept");
    AnswerNextModal([kept](QWidget* dialog) {
      auto* files = qobject_cast<QFileDialog*>(dialog);
      QVERIFY(files);
      files->selectFile(kept);
      AnswerNextModal([](QWidget* box) { PressButton(box, "Ok"); });
      QMetaObject::invokeMethod(files, "accept");
    });
    capture->StartStop();
    QVERIFY(capture->Waiting());
    QCOMPARE(window->statusBar()->currentMessage(), "La captura comenzará en 1 segundo(s)");
    const std::string temporary = capture->TemporaryFile();
    QTRY_VERIFY_WITH_TIMEOUT(capture->Capturing(), 3000);
    QTRY_VERIFY_WITH_TIMEOUT(!capture->Capturing() && !capture->Waiting(), 6000);

    // THEN the clip is kept with ".avi" added, and the temporary file is gone.
    QTRY_VERIFY_WITH_TIMEOUT(std::filesystem::exists((kept + ".avi").toStdString()), 5000);
    QVERIFY(!std::filesystem::exists(temporary));
    QVERIFY(std::filesystem::file_size((kept + ".avi").toStdString()) > 10000);
    QTRY_VERIFY_WITH_TIMEOUT(capture->Engine().Connected(), 3000);  // the preview is back

    QVERIFY(window->SetMode(WorkingMode::FixedAxes));
    QVERIFY(!capture->Preview()->isVisible());
    window.reset();  // the settings are written back
    IniFile ini;
    QCOMPARE(ini.Load(folder_.filePath("Kinovia.ini").toStdString()), IniLoad::Loaded);
    QCOMPARE(ini.Read("Capture", "Device").value_or(""), "Mira de prueba");
    QCOMPARE(ini.Read("Capture", "Format").value_or(""), "320 x 240 RGB3 25 fps");
  }

  void compressorSettingsAndPluggedCameras() {
    MainWindow window;
    window.SetCloseWithoutAsking(true);
    window.show();
    QVERIFY(window.SetMode(WorkingMode::Capture));
    CaptureMode* capture = window.Capture();

    // "Configurar" has Motion-JPEG's quality to set, nothing for no compression.
    bool noneConfigurable = true;
    AnswerNextModal([&](QWidget* dialog) {
      auto* codecs = dialog->findChild<QListWidget*>("CaptureCodecs");
      auto* configure = dialog->findChild<QPushButton*>("ButtonConf");
      codecs->setCurrentRow(0);
      noneConfigurable = configure->isEnabled();
      codecs->setCurrentRow(1);
      AnswerNextModal([](QWidget* settings) {
        settings->findChild<QSpinBox*>("CaptureJpegQuality")->setValue(40);
        PressButton(settings, "Ok");
        AnswerNextModal([](QWidget* d) { PressButton(d, "Ok"); });
      });
      configure->click();
    });
    capture->OpenDialog(CapturePage::Compression);
    QVERIFY(!noneConfigurable);
    QCOMPARE(capture->Choice().codec, 1);
    QCOMPARE(capture->Choice().jpegQuality, 40);

    // A camera's node appearing, then going, in the watched folder: each told once; the pattern
    // stays chosen and previewed.
    QTemporaryDir devices;
    capture->WatchDevices(devices.path());
    QStringList told;
    const auto tell = [&told] {
      AnswerNextModal([&told](QWidget* box) {
        QString text;
        for (auto* label : box->findChildren<QLabel*>()) text += label->text();
        told << text;
        PressButton(box, "Ok");
      });
    };
    tell();
    std::ofstream(devices.filePath("video0").toStdString()) << "";
    QTRY_COMPARE_WITH_TIMEOUT(told.size(), 1, 5000);
    QVERIFY(told[0].contains("Un dispositivo Plug and Play se ha vuelto a conectar"));
    tell();
    std::filesystem::remove(devices.filePath("video0").toStdString());
    QTRY_COMPARE_WITH_TIMEOUT(told.size(), 2, 5000);
    QVERIFY(told[1].contains("Un dispositivo Plug and Play ha sido desconectado."));
    QCOMPARE(capture->Choice().device, 0);
    QVERIFY(capture->Engine().Connected());
  }

 private:
  QTemporaryDir folder_;
};

QTEST_MAIN(CaptureModeTest)
#include "CaptureModeTest.moc"
