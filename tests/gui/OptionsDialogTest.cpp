// The options dialog on the real widgets: every control to the options file and back, the lock
// box with the real password dialog, values beyond a list, the derived tool buttons, Cancel.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "core/IniFile.h"
#include "gui/MainWindow.h"
#include "gui/PasswordDialog.h"
#include "gui/options/OptionsDialog.h"
#include "logic/settings/OptionsFile.h"
#include "tests/support/ModalAnswers.h"

using namespace kinovia;
using kinovia::test::AnswerNextModal;
using kinovia::test::PressButton;

namespace {

// The boolean, list and field controls carry their option's key as object name.
QList<QCheckBox*> OptionBoxes(QWidget* dialog) {
  QList<QCheckBox*> boxes;
  for (auto* box : dialog->findChildren<QCheckBox*>())
    if (box->objectName().startsWith("CheckBox")) boxes << box;
  return boxes;
}

void WriteOptions(const QString& path,
                  const std::vector<std::pair<std::string, std::string>>& keys) {
  IniFile ini;
  for (const auto& [key, value] : keys) ini.Write("Options", key, value);
  QVERIFY(ReplaceFileContents(path.toStdString(), ini.Text()));
}

}  // namespace

class OptionsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    folder_ = std::make_unique<QTemporaryDir>();
    path_ = folder_->filePath("Kinovia.ini");
  }

  void EveryControlGoesToTheFileAndComesBack() {
    Options options(path_.toStdString());
    int notified = 0;
    options.onChange = [&](const Options&) { ++notified; };
    OptionsDialog dialog(options, std::nullopt);
    QCOMPARE(OptionBoxes(&dialog).size(), qsizetype(BoolOption::Count));

    // WHEN every check box is flipped, every list set to its last entry, every field and tool
    // button changed, and Ok pressed.
    AnswerNextModal([](QWidget* shown) {
      for (auto* box : OptionBoxes(shown)) box->toggle();
      for (auto* list : shown->findChildren<QComboBox*>()) list->setCurrentIndex(list->count() - 1);
      shown->findChild<QSpinBox*>("EditMRU_Value")->setValue(13);
      shown->findChild<QSpinBox*>("TrackingRadius_Value")->setValue(77);
      shown->findChild<QLineEdit*>("DefaultDirectory")->setText("/home/clase/videos");
      for (auto* button : shown->findChildren<QToolButton*>())
        if (button->objectName().startsWith("ToolButton")) button->setChecked(true);
      PressButton(shown, "Ok");
    });
    QVERIFY(dialog.Execute());
    QCOMPARE(notified, 1);

    // THEN the file holds every change.
    const Options saved(path_.toStdString());
    for (std::size_t i = 0; i < std::size_t(BoolOption::Count); ++i)
      QVERIFY2(saved.Flag(BoolOption(i)) != kPrefKeys[i].byDefault, kPrefKeys[i].key.data());
    for (IntOption list :
         {IntOption::Numerotation, IntOption::NumerotationTsp, IntOption::PenSize,
          IntOption::PenSize4Graph, IntOption::ShapeNumber, IntOption::StudioShapeNumber})
      QCOMPARE(saved.Value(list), 2);
    QCOMPARE(saved.Value(IntOption::EditMru), 13);
    QCOMPARE(saved.Value(IntOption::TrackingRadius), 77);
    QCOMPARE(saved.DefaultDirectory(), std::string("/home/clase/videos"));
    for (std::size_t p = 0; p < std::size_t(ResultsPage::Count); ++p)
      for (ResultsTool tool : PageTools(ResultsPage(p)))
        QVERIFY(saved.ToolHidden(ResultsPage(p), tool));

    // AND a dialog opened on the saved options shows them again.
    Options reread(path_.toStdString());
    OptionsDialog again(reread, std::nullopt);
    for (auto* box : OptionBoxes(&again)) {
      const auto key = box->objectName().toStdString();
      QCOMPARE(box->isChecked(),
               ReadIniBool(ReadOptionsFile(path_.toStdString()), "Options", key, false));
    }
    QCOMPARE(again.findChild<QSpinBox*>("EditMRU_Value")->value(), 13);
    QCOMPARE(again.findChild<QComboBox*>("PenSize_Value")->currentIndex(), 2);
    QCOMPARE(again.FolderField()->text(), QString("/home/clase/videos"));
  }

  void StoredValuesOutsideTheControlsAreHandled() {
    // A pen size beyond the list and a recent-files size of 0 the field cannot show.
    WriteOptions(path_, {{"PenSize_Value", "7"}, {"EditMRU_Value", "0"}});
    Options options(path_.toStdString());
    OptionsDialog dialog(options, std::nullopt);
    QCOMPARE(dialog.findChild<QComboBox*>("PenSize_Value")->currentIndex(), 2);
    AnswerNextModal([](QWidget* shown) { PressButton(shown, "Ok"); });
    QVERIFY(dialog.Execute());
    const IniFile ini = ReadOptionsFile(path_.toStdString());
    QCOMPARE(ReadIniString(ini, "Options", "PenSize_Value"), std::string("2"));
    QCOMPARE(ReadIniString(ini, "Options", "EditMRU_Value"), std::string("0"));
  }

  void HidingAllModelsPressesTheModelModifier() {
    std::vector<std::pair<std::string, std::string>> keys;
    for (const char* model :
         {"ModeleConstant", "ModeleAffine", "ModeleProportionnel", "ModeleParabole", "ModeleSinus",
          "ModeleSinusAe", "ModeleSinusAl", "ModeleExponentiel"})
      keys.push_back({std::string("ToolButtonTemps") + model + "_Down", "1"});
    WriteOptions(path_, keys);
    Options options(path_.toStdString());
    OptionsDialog dialog(options, std::nullopt);
    QVERIFY(dialog.findChild<QToolButton*>("ToolButtonTempsModificateur_Down")->isChecked());
    QVERIFY(!dialog.findChild<QToolButton*>("ToolButtonFormuleModificateur_Down")->isChecked());
  }

  void TheLockBoxAsksForAPassword() {
    Options options(path_.toStdString());
    PasswordDialog password;
    options.SetPasswordDialog(&password);
    OptionsDialog dialog(options, std::nullopt);

    // Cancelling the password dialog leaves the box unchecked.
    AnswerNextModal([](QWidget* shown) { qobject_cast<QDialog*>(shown)->reject(); });
    dialog.LockBox()->setChecked(true);
    QVERIFY(!dialog.LockBox()->isChecked());

    // A typed password checks it and, with Ok, locks the options.
    AnswerNextModal([](QWidget* shown) {
      QTest::keyClicks(shown->findChild<QLineEdit*>(), "Prof2024");
      qobject_cast<QDialog*>(shown)->accept();
    });
    dialog.LockBox()->setChecked(true);
    QVERIFY(dialog.LockBox()->isChecked());
    AnswerNextModal([](QWidget* shown) { PressButton(shown, "Ok"); });
    QVERIFY(dialog.Execute());
    QVERIFY(options.Locked());
    QCOMPARE(Options(path_.toStdString()).Password(), std::string("Prof2024"));

    // Unchecking clears the password.
    OptionsDialog unlock(options, std::nullopt);
    QVERIFY(unlock.LockBox()->isChecked());
    AnswerNextModal([](QWidget* shown) {
      shown->findChild<QCheckBox*>("OptionsLock")->setChecked(false);
      PressButton(shown, "Ok");
    });
    QVERIFY(unlock.Execute());
    QVERIFY(!Options(path_.toStdString()).Locked());
  }

  void TheMainWindowReadsTheOptionsAgain() {
    qputenv("TMP", folder_->path().toLocal8Bit());
    MainWindow window;
    window.show();
    QVERIFY(window.ModeAction(WorkingMode::Montage)->isVisible());
    AnswerNextModal([](QWidget* shown) {
      shown->findChild<QCheckBox*>("CheckBox48AllowMontage_Checked")->setChecked(false);
      PressButton(shown, "Ok");
    });
    window.findChild<QAction*>("ActionOpciones")->trigger();
    QVERIFY(!window.ModeAction(WorkingMode::Montage)->isVisible());
    QVERIFY(!window.CurrentOptions().Flag(BoolOption::AllowMontage));
  }

  void AWrongPasswordKeepsTheDialogShut() {
    qputenv("TMP", folder_->path().toLocal8Bit());
    WriteOptions(path_, {{"Password", "Prof2024"}});
    MainWindow window;
    window.show();
    bool warned = false;
    AnswerNextModal([&warned](QWidget* password) {
      QTest::keyClicks(password->findChild<QLineEdit*>(), "prof2024");
      AnswerNextModal([&warned](QWidget* box) {
        for (QLabel* label : box->findChildren<QLabel*>())
          warned = warned || label->text().contains(QString::fromUtf8("Contraseña incorrecta."));
        PressButton(box, "Ok");
      });
      qobject_cast<QDialog*>(password)->accept();
    });
    window.findChild<QAction*>("ActionOpciones")->trigger();
    QVERIFY(warned);
    QVERIFY(!window.findChild<OptionsDialog*>());
  }

  void CancelChangesNothing() {
    Options options(path_.toStdString());
    bool notified = false;
    options.onChange = [&](const Options&) { notified = true; };
    OptionsDialog dialog(options, std::nullopt);
    AnswerNextModal([](QWidget* shown) {
      for (auto* box : OptionBoxes(shown)) box->toggle();
      PressButton(shown, "Cancelar");
    });
    QVERIFY(!dialog.Execute());
    QVERIFY(!notified);
    QVERIFY(!QFile::exists(path_));
    QVERIFY(options == Options(path_.toStdString()));
  }

 private:
  std::unique_ptr<QTemporaryDir> folder_;
  QString path_;
};

QTEST_MAIN(OptionsDialogTest)
#include "OptionsDialogTest.moc"
