#include "gui/HelpPage.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QStringList>
#include <QUrl>

#include "core/Language.h"
#include "resources/TxtApp.h"
#include "resources/TxtCommon.h"

namespace kinovia {

QString HelpPagePath() {
  const QString here = QCoreApplication::applicationDirPath();
  const QStringList folders = {here + "/Help", here + "/../share/kinovia/Help"};
  // A page in the other language is better than none.
  const QStringList names = CurrentLanguage() == Language::English
                                ? QStringList{"Help_en.html", "Help_es.html", "Help.html"}
                                : QStringList{"Help_es.html", "Help_en.html", "Help.html"};
  for (const QString& folder : folders)
    for (const QString& name : names)
      if (QFileInfo::exists(folder + "/" + name)) return folder + "/" + name;
  return {};
}

void OpenHelpPage(const QString& section, const std::function<int(const Message&)>& show) {
  if (const QString path = HelpPagePath(); !path.isEmpty()) {
    QUrl page = QUrl::fromLocalFile(path);
    page.setFragment(section);
    if (QDesktopServices::openUrl(page)) return;
  }
  Message m;
  m.icon = MessageIcon::Warning;
  m.buttons = {txt::ButtonOk};
  m.Line(txt::HelpOpenFailed).Line(txt::HelpFolderMissing);
  show(m);
}

}  // namespace kinovia
