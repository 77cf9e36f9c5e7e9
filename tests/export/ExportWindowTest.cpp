// The export commands of the real results window on the Parabole sample clip pointed at the
// ball's true positions, and the Regressi hand-over driven through the real message box, with
// stand-in programs that record how they were started.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include "core/IniFile.h"
#include "gui/MainWindow.h"
#include "gui/MessageBox.h"
#include "gui/RecentFiles.h"
#include "gui/export/ExportServer.h"
#include "gui/results/ResultsWindow.h"
#include "logic/settings/Options.h"
#include "logic/settings/OptionsFile.h"
#include "tests/support/ModalAnswers.h"
#include "tests/support/PointedSample.h"

using namespace kinovia;
using kinovia::test::AnswerNextModal;
using kinovia::test::PressButton;

namespace {

const char* const kClip = KINOVIA_BINARY_DIR "/generated/samples/Parabole.avi";

QAction* FindAction(QWidget* window, const QString& caption) {
  for (QAction* action : window->findChildren<QAction*>())
    if (action->text() == caption) return action;
  return nullptr;
}

QString BoxText(QWidget* box) {
  QString text;
  for (const QLabel* label : box->findChildren<QLabel*>()) text += label->text();
  return text;
}

// Answers the next boxes in turn, pressing one caption in each; their texts land in `texts`.
void AnswerInTurn(QStringList captions, QStringList* texts) {
  if (captions.isEmpty()) return;
  AnswerNextModal([captions, texts](QWidget* box) mutable {
    texts->append(BoxText(box));
    const QString caption = captions.takeFirst();
    AnswerInTurn(captions, texts);
    PressButton(box, caption);
  });
}

// A program that writes its arguments, one a line, to `record`.
void WriteStandIn(const QString& path, const QString& record) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(("#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > '" + record + "'\n").toUtf8());
  file.close();
  file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

QString Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}  // namespace

class ExportWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(folder_.isValid());
    qputenv("TMP", folder_.path().toLocal8Bit());
    truth_ = SampleTruth(SampleClip::Parabole);
    IniFile ini;
    WriteWorkFile(ini, PointedAtTheTruth(kClip, truth_));
    work_ = folder_.filePath("parabole.knv");
    QVERIFY(ini.Save(work_.toStdString()));
    QVERIFY(QDir(folder_.path()).mkpath("bin"));
    QVERIFY(QDir(folder_.path()).mkpath("nothing"));
    path_ = qgetenv("PATH");
  }

  void init() {
    qputenv("PATH", path_);
    window_ = std::make_unique<MainWindow>();
    window_->SetCloseWithoutAsking(true);
    window_->show();
    QVERIFY(window_->OpenFile(work_));
    QAction* table = FindAction(window_.get(), QString::fromUtf8("Tabla de valores"));
    QVERIFY(table);
    table->trigger();
    results_ = window_->Results();
    QVERIFY(results_ && results_->isVisible());
  }

  void cleanup() {
    window_.reset();
    qputenv("PATH", path_);
  }

  void CopyPutsEveryLineOnTheClipboard() {
    QStringList texts;
    AnswerInTurn({"Ok"}, &texts);
    FindAction(results_, QString::fromUtf8("Copiar la tabla en el portapapeles"))->trigger();
    QCOMPARE(texts.size(), 1);
    QVERIFY(texts[0].contains(QString::fromUtf8("Copia en el portapapeles efectuada.")));
    QVERIFY(texts[0].contains("separados por tabuladores"));

    const QStringList lines = QApplication::clipboard()->text().split('\n');
    QCOMPARE(lines.size(), int(6 + truth_.size()));
    QCOMPARE(lines[0], QString("Parabole.avi"));
    QVERIFY(lines[2].startsWith(QString::fromUtf8("Ángulo de rotación de los ejes")));
    QCOMPARE(lines[3], QString("t\tx\ty\tvx\tvy\tv\tax\tay\ta\tO\tR\tw"));
    const QStringList row = lines[6 + 3].split('\t');
    QCOMPARE(row.size(), 12);
    QVERIFY(std::abs(row[2].toDouble() - truth_[3].y) < 2e-3);
  }

  void TextExportForcesTxtAndRemembersTheFolder() {
    QVERIFY(QDir(folder_.path()).mkpath("textos"));
    const QString chosen = folder_.filePath("textos/mitabla.dat");
    QStringList texts;
    AnswerNextModal([&](QWidget* dialog) {
      auto* files = qobject_cast<QFileDialog*>(dialog);
      QVERIFY(files);
      QCOMPARE(files->windowTitle(), QString("Exportar como archivo de texto"));
      files->selectFile(chosen);
      AnswerInTurn({"Ok"}, &texts);
      QMetaObject::invokeMethod(files, "accept");
    });
    FindAction(results_, "Exportar")->trigger();
    QCOMPARE(texts.size(), 1);
    QVERIFY(texts[0].contains("El archivo tiene la extensión TXT."));
    QVERIFY(!QFile::exists(chosen));
    const QStringList lines = Contents(folder_.filePath("textos/mitabla.txt")).split('\n');
    QCOMPARE(lines.size(), int(6 + truth_.size() + 1));  // each line ends with a line break
    QCOMPARE(lines[3], QString("t\tx\ty\tvx\tvy\tv\tax\tay\ta\tO\tR\tw"));
    QCOMPARE(QString::fromStdString(window_->RecentFileList().Directory()),
             folder_.filePath("textos"));
  }

  void WorkbooksOpenInTheirApplicationOrSayWhyNot() {
    const QString record = folder_.filePath("opened.txt");
    WriteStandIn(folder_.filePath("bin/xdg-open"), record);
    WriteStandIn(folder_.filePath("bin/soffice"), record);
    qputenv("PATH", folder_.filePath("bin").toLocal8Bit());

    struct Case {
      const char* command;
      const char* firstArgument;
      const char* extension;
    };
    for (const Case c : {Case{"Excel", nullptr, ".xlsx"}, Case{"OpenOffice", "--calc", ".ods"}}) {
      QFile::remove(record);
      FindAction(results_, c.command)->trigger();
      QTRY_VERIFY_WITH_TIMEOUT(!Contents(record).isEmpty(), 10000);
      QStringList arguments = Contents(record).trimmed().split('\n');
      if (c.firstArgument) QCOMPARE(arguments.takeFirst(), QString(c.firstArgument));
      QCOMPARE(arguments.size(), 1);
      QVERIFY(arguments[0].startsWith(folder_.path() + "/Tabla_"));
      QVERIFY(arguments[0].endsWith(c.extension));
      QVERIFY(QFileInfo(arguments[0]).size() > 1000);
    }

    qputenv("PATH", folder_.filePath("nothing").toLocal8Bit());
    QStringList texts;
    AnswerInTurn({"Ok"}, &texts);
    FindAction(results_, "OpenOffice")->trigger();
    QCOMPARE(texts.size(), 1);
    QVERIFY(texts[0].contains(QString::fromUtf8("Se ha detectado un error.")));
    QVERIFY(
        texts[0].contains(QString::fromUtf8("La conexión con OpenOffice no se ha establecido.")));
  }

  // 17 variables, undefined values on three lines: Regressi gets the lines after both questions.
  void RegressiAsksThenHandsOverTheLines_data() {
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("line7");
    QTest::addColumn<QString>("line9");
    QTest::newRow("continue") << QStringList{"Ok", "Continuar", "Continuar", "Continuar", "Ok"}
                              << "1\t\t2"
                              << "3\t\t\t";
    QTest::newRow("replace") << QStringList{"Ok", "Continuar", "Sustituir", "Ok"} << "1\t\t2"
                             << "3\t0\t0\t0";
  }
  void RegressiAsksThenHandsOverTheLines() {
    QFETCH(QStringList, answers);
    QFETCH(QString, line7);
    QFETCH(QString, line9);
    const QString regressi = folder_.filePath("bin/Regressi.exe");
    QFile program(regressi);
    QVERIFY(program.open(QIODevice::WriteOnly));
    program.close();
    const QString record = folder_.filePath("wine.txt");
    QFile::remove(record);
    WriteStandIn(folder_.filePath("bin/wine"), record);
    qputenv("PATH", folder_.filePath("bin").toLocal8Bit());

    MessageBox box;
    RecentFiles recent;
    ExportServer server(
        nullptr, [&](const Message& m) { return box.Show(m); }, recent, OptionsFilePath());
    server.SetRegressiPath(regressi.toStdString());
    const std::vector<std::string> lines = {"title",   "10/12/2026 10:00:00",
                                            "angle",   "t\tx\ty",
                                            "s\tm\tm", "tiempo\tA\tO",
                                            "0\t1\t2", "1\t\t2",
                                            "2\t3\t4", "3\t\t\t",
                                            "4\t5\t"};
    QStringList texts;
    AnswerInTurn(answers, &texts);
    server.ExportRegressi(lines, 17);

    QCOMPARE(texts.size(), answers.size());
    QVERIFY(texts[0].contains(QString::fromUtf8("número elevado de variables")));
    QVERIFY(texts[1].contains(QString::fromUtf8("La tabla contiene valores no definidos.")));
    QVERIFY(texts.last().contains("CTRL + V"));
    QTRY_COMPARE_WITH_TIMEOUT(Contents(record).trimmed(), regressi, 10000);
    const QStringList given = QApplication::clipboard()->text().split('\n');
    QCOMPARE(given.size(), int(lines.size()));
    QCOMPARE(given[0], QString("title"));
    QCOMPARE(given[1], QString());  // the date is left out
    QCOMPARE(given[7], line7);
    QCOMPARE(given[9], line9);
  }

  void RegressiNotFoundAsksForItAndStoresIt() {
    const QString regressi = folder_.filePath("bin/Regressi.exe");
    QFile program(regressi);
    QVERIFY(program.open(QIODevice::WriteOnly));
    program.close();
    MessageBox box;
    RecentFiles recent;
    ExportServer server(
        nullptr, [&](const Message& m) { return box.Show(m); }, recent, OptionsFilePath());
    server.SetRegressiPath(folder_.filePath("gone/Regressi.exe").toStdString());

    // "Cancelar": the stale path is forgotten and nothing else happens.
    QStringList texts;
    AnswerInTurn({"Cancelar"}, &texts);
    server.ExportRegressi({"a", "b", "c", "t", "s", "d", "0"}, 1);
    QCOMPARE(texts.size(), 1);
    QVERIFY(texts[0].contains("no se encuentra Regressi"));
    QCOMPARE(server.RegressiPath(), std::string());

    // "Ok": the file dialog finds the program, whose path is kept for the next time.
    texts.clear();
    AnswerNextModal([&](QWidget* box) {
      texts.append(BoxText(box));
      AnswerNextModal([&](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        QVERIFY(files);
        files->selectFile(regressi);
        QMetaObject::invokeMethod(files, "accept");
      });
      PressButton(box, "Ok");
    });
    server.ExportRegressi({"a", "b", "c", "t", "s", "d", "0"}, 1);
    QCOMPARE(texts.size(), 1);
    QCOMPARE(QString::fromStdString(server.RegressiPath()), regressi);
  }

 private:
  QTemporaryDir folder_;
  QString work_;
  QByteArray path_;
  std::vector<SampleTruthRow> truth_;
  std::unique_ptr<MainWindow> window_;
  ResultsWindow* results_ = nullptr;
};

QTEST_MAIN(ExportWindowTest)
#include "ExportWindowTest.moc"
