#include "gui/export/ExportServer.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "gui/QtText.h"
#include "gui/RecentFiles.h"
#include "gui/export/ProgramLauncher.h"
#include "logic/export/RegressiHandOver.h"
#include "logic/export/TableText.h"
#include "logic/settings/OptionsFile.h"
#include "resources/TxtCommon.h"
#include "resources/TxtExport.h"

namespace kinovia {
namespace {

constexpr std::string_view kRegressiKey = "Regressi";

struct FileDialogTexts {
  TxtId title, filter, done, extension;
};

FileDialogTexts DialogTextsOf(ExportFormat format) {
  if (format == ExportFormat::Csv)
    return {txt::ExportCsvTitle, txt::ExportCsvFilter, txt::ExportCsvDone, txt::ExportCsvExtension};
  return {txt::ExportTextTitle, txt::ExportTextFilter, txt::ExportTextDone,
          txt::ExportTextExtension};
}

}  // namespace

ExportServer::ExportServer(QWidget* parent, ShowMessage showMessage, RecentFiles& recent,
                           std::string optionsPath)
    : parent_(parent),
      showMessage_(std::move(showMessage)),
      recent_(recent),
      optionsPath_(std::move(optionsPath)) {}

int ExportServer::Show(MessageIcon icon, std::vector<TxtId> buttons,
                       const std::vector<TxtId>& lines) {
  Message m;
  m.icon = icon;
  m.buttons = std::move(buttons);
  for (const TxtId line : lines) {
    if (line.name.empty())
      m.Blank();
    else
      m.Line(line);
  }
  return showMessage_(m);
}

bool ExportServer::CopyToClipboard(const Lines& lines, bool showMessage) {
  const QString text = QString::fromStdString(ClipboardText(lines));
  QClipboard* clipboard = QApplication::clipboard();
  clipboard->setText(text);
  // The clipboard belongs to the display server: only reading it back tells it took the text.
  if (clipboard->text() != text) {
    Show(MessageIcon::Warning, {txt::ButtonOk}, {txt::ExportClipboardFailed});
    return false;
  }
  if (showMessage)
    Show(MessageIcon::Information, {txt::ButtonOk},
         {txt::ExportClipboardDone, {}, txt::ExportClipboardPaste, {}, txt::ExportClipboardTabs});
  return true;
}

void ExportServer::ExportToFile(const Lines& lines, ExportFormat format) {
  const FileDialogTexts texts = DialogTextsOf(format);
  const QString start =
      QDir(QString::fromStdString(recent_.Directory())).filePath(QTxt(txt::ExportTextFileName));
  const QString chosen =
      QFileDialog::getSaveFileName(parent_, QTxt(texts.title), start, QTxt(texts.filter));
  if (chosen.isEmpty()) return;
  const std::string path = WithExtension(chosen.toStdString(), format);
  const auto written = WriteExport(format, {lines, {}}, path);
  if (!written) {
    showMessage_(written.Failure());
    return;
  }
  recent_.SetDirectory(QFileInfo(QString::fromStdString(path)).absolutePath().toStdString());
  Show(MessageIcon::Information, {txt::ButtonOk}, {texts.done, {}, texts.extension});
}

bool ExportServer::ExportWorkbook(const Matrix& matrix, ExportFormat format) {
  const std::string path = FreshWorkbookPath(format);
  const auto written = WriteExport(format, {{}, matrix}, path);
  if (!written) {
    showMessage_(written.Failure());
    return false;
  }
  if (OpenWorkbook(path, format)) return true;
  Show(MessageIcon::Warning, {txt::ButtonOk},
       {txt::ExportErrorDetected,
        {},
        format == ExportFormat::Ods ? txt::ExportNoOpenOffice : txt::ExportNoExcel});
  return false;
}

std::string ExportServer::RegressiPath() const {
  return ReadOptionsFile(optionsPath_).Read(ini_section::kResultsForm, kRegressiKey).value_or("");
}

void ExportServer::SetRegressiPath(const std::string& path) {
  UpdateOptionsFile(optionsPath_, [&](IniFile& ini) {
    ini.Write(ini_section::kResultsForm, kRegressiKey, path);
  });
}

void ExportServer::SearchRegressi() {
  Message m;
  m.icon = MessageIcon::Information;
  m.buttons = {txt::ButtonOk, txt::ButtonCancelar};
  m.Line(txt::RegressiNotFound).Line(txt::RegressiProcedure);
  m.Line("• " + Txt(txt::RegressiUseSearch)).Line("• " + Txt(txt::RegressiUseOpen));
  m.Line(txt::RegressiRetry);
  if (showMessage_(m) != 0) return;
  const QString found = QFileDialog::getOpenFileName(
      parent_, QTxt(txt::RegressiSearchTitle), QDir::homePath(), QTxt(txt::RegressiSearchFilter));
  if (!found.isEmpty() && IsRegressiProgram(found.toStdString()))
    SetRegressiPath(QFileInfo(found).absoluteFilePath().toStdString());
}

void ExportServer::ExportRegressi(Lines lines, int variables) {
  const auto program = UsableRegressiPath(RegressiPath());
  if (!program) {
    SetRegressiPath("");
    SearchRegressi();
    return;
  }
  if (variables > kRegressiMaxVariables &&
      Show(MessageIcon::Information, {txt::ButtonCancelar, txt::ButtonOk},
           {txt::RegressiManyVariables, txt::RegressiRandomResult}) == 0)
    return;
  if (!StartProgram(RegressiCall(*program))) {
    Show(MessageIcon::Warning, {txt::ButtonOk}, {txt::RegressiCannotOpen});
    return;
  }
  ResolveUndefinedValues(lines, [this] {
    return Show(MessageIcon::Warning, {txt::ButtonContinuar, txt::ButtonSustituir},
                {txt::RegressiUndefinedValues, txt::RegressiOldVersion,
                 txt::RegressiReplaceByZeros}) == 1
               ? UndefinedChoice::Replace
               : UndefinedChoice::Continue;
  });
  // Regressi would read the date as a row of values.
  if (lines.size() > 1) lines[1].clear();
  if (!CopyToClipboard(lines, false)) {
    Show(MessageIcon::Warning, {txt::ButtonOk}, {txt::RegressiWithoutData});
    return;
  }
  Show(MessageIcon::Information, {txt::ButtonOk}, {txt::RegressiPaste});
}

}  // namespace kinovia
