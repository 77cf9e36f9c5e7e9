#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QTextStream>
#include <QTime>
#include <QTimer>

#include "core/Language.h"
#include "core/MemoryReuse.h"
#include "core/Numbers.h"
#include "gui/MainWindow.h"
#include "gui/QtText.h"
#include "logic/settings/Options.h"
#include "media/video/MediaLibraries.h"
#include "resources/TxtCommon.h"

int main(int argc, char** argv) {
  kinovia::KeepFreedMemoryForReuse();
  QElapsedTimer sinceStart;
  sinceStart.start();
  // Ready by the time a clip is chosen; the clip named on the command line waits less for it.
  const std::jthread gstreamer = kinovia::PrepareGStreamer();
  QApplication application(argc, argv);
  const QString here = QCoreApplication::applicationDirPath();
  kinovia::SwitchLanguage(
      kinovia::ChosenLanguage(kinovia::Options(), kinovia::LocaleVariablesFromEnvironment()),
      {(here + "/Languages").toStdString(), (here + "/../share/kinovia/Languages").toStdString()});
  application.setApplicationName(kinovia::QTxt(kinovia::txt::AppTitle));
  // Read after Qt has applied the user's locale, and only once.
  kinovia::ReadDecimalSeparatorFromEnvironment();

  QCommandLineParser parser;
  // Writes the window's picture once the first frame is on screen, with the time it took.
  QCommandLineOption screenshot("screenshot", "", "file");
  QCommandLineOption quiet("no-welcome");
  parser.addOption(screenshot);
  parser.addOption(quiet);
  parser.addPositionalArgument("file", "");
  parser.process(application);

  kinovia::MainWindow mainWindow;
  if (parser.isSet(screenshot)) {
    mainWindow.ScreenshotAfterFirstFrame(parser.value(screenshot));
    QObject::connect(&mainWindow, &kinovia::MainWindow::frameShown, [&sinceStart] {
      QTextStream(stderr) << "first frame after " << sinceStart.elapsed() << " ms\n";
    });
  }
  mainWindow.show();
  mainWindow.Start(parser.positionalArguments().value(0), !parser.isSet(quiet));
  return application.exec();
}
