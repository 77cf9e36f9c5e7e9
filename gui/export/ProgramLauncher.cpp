#include "gui/export/ProgramLauncher.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace kinovia {
namespace {

QString Executable(const std::string& program) {
  const QString name = QString::fromStdString(program);
  if (name.contains('/')) return QFileInfo(name).isExecutable() ? name : QString();
  return QStandardPaths::findExecutable(name);
}

}  // namespace

bool StartProgram(const ProgramCall& call) {
  const QString executable = Executable(call.program);
  if (executable.isEmpty()) return false;
  QStringList arguments;
  for (const auto& argument : call.arguments) arguments << QString::fromStdString(argument);
  return QProcess::startDetached(executable, arguments);
}

bool OpenWorkbook(const std::string& path, ExportFormat format) {
  const ProgramCall desktop{"xdg-open", {path}};
  const ProgramCall calc{"soffice", {"--calc", path}};
  if (format == ExportFormat::Ods) return StartProgram(calc) || StartProgram(desktop);
  return StartProgram(desktop) || StartProgram(calc);
}

}  // namespace kinovia
