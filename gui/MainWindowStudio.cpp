// The studio mode in the main window: its tool bar, the mouse on the picture, its painting, the
// dialogs it asks for, and the tracked object it may take its contours from.
#include <QFileDialog>
#include <QFileInfo>
#include <QMouseEvent>
#include <QToolBar>

#include "gui/MainWindow.h"
#include "gui/MessageBox.h"
#include "gui/QtText.h"
#include "gui/VideoView.h"
#include "gui/studio/StudioMode.h"
#include "gui/tracking/TrackingMode.h"
#include "logic/settings/Options.h"
#include "media/video/PictureFile.h"
#include "media/video/VideoControl.h"
#include "resources/TxtWorkshop.h"

namespace kinovia {
namespace {

// The filter's extension ("... (*.png)" gives ".png") added to a name typed without one.
std::string NameWithFilterExtension(const QString& name, const QString& filter) {
  if (PictureFormatOf(name.toStdString()) != PictureFormat::Unknown) return name.toStdString();
  const int star = filter.lastIndexOf("*.");
  const QString extension = star < 0 ? QString(".bmp") : filter.mid(star + 1).chopped(1);
  return (name + extension).toStdString();
}

}  // namespace

void MainWindow::CreateStudio() {
  StudioHost host;
  host.showMessage = [this](const Message& m) { return ShowMessage(m); };
  host.askWithCheckBox = [this](const Message& m, const QString& box, bool* checked) {
    return messages_->Show(m, box, checked);
  };
  host.askSaveName = [this](TxtId title, const QString& proposed,
                            const QStringList& filters) -> std::optional<std::string> {
    QString chosenFilter = filters.value(0);
    const QString start = QString::fromStdString(recent_.Directory()) + "/" + proposed;
    const QString name =
        QFileDialog::getSaveFileName(this, QTxt(title), start, filters.join(";;"), &chosenFilter);
    if (name.isEmpty()) return std::nullopt;
    recent_.SetDirectory(QFileInfo(name).absolutePath().toStdString());
    return NameWithFilterExtension(name, chosenFilter);
  };
  host.askClipName = [this](const std::string& folder,
                            TxtId proposed) -> std::optional<std::string> {
    const QString start =
        QString::fromStdString((folder.empty() ? recent_.Directory() : folder) + "/") +
        QTxt(proposed);
    const QString chosen = QFileDialog::getSaveFileName(this, QTxt(txt::RecordSaveTitle), start,
                                                        QTxt(txt::RecordSaveFilter), nullptr,
                                                        QFileDialog::DontConfirmOverwrite);
    if (chosen.isEmpty()) return std::nullopt;
    recent_.SetDirectory(QFileInfo(chosen).absolutePath().toStdString());
    return chosen.toStdString();
  };
  host.askOpenNames = [this](TxtId title, const QString& filter) {
    const QStringList chosen = QFileDialog::getOpenFileNames(
        this, QTxt(title), QString::fromStdString(recent_.Directory()), filter);
    std::vector<std::string> names;
    for (const QString& name : chosen) names.push_back(name.toStdString());
    if (!names.empty()) recent_.SetDirectory(QFileInfo(chosen[0]).absolutePath().toStdString());
    return names;
  };
  host.progress = [this](int percent) { ShowProgress(percent); };
  host.showFrame = [this] { ShowCurrentFrame(); };
  host.trackedContours = [this] {
    const Tracker& tracker = tracking_->State();
    return tracker.ObjectCount() > 0 ? ContoursAlongTrack(tracker.Current()) : StudioContours();
  };
  studio_ = new StudioMode(*video_, *montage_, *view_, std::move(host), this);
  studio_->AddMeasuresItems(menuMedidas_);
  studio_->AddPopupItems(popup_);
  studio_->ShowMenuItems(false);
  studioBar_ = addToolBar(QString());
  studioBar_->setObjectName("StudioBar");
  for (QAction* action : studio_->ToolBarActions()) studioBar_->addAction(action);
  studioBar_->hide();
  auto forward = [this](QMouseEvent* event) {
    if (Mode() != WorkingMode::Studio || view_->Tool() != ViewToolKind::None) return;
    const QPoint at = event->position().toPoint();
    if (event->type() == QEvent::MouseMove)
      studio_->Move(at, event->buttons() & Qt::LeftButton);
    else if (event->type() == QEvent::MouseButtonRelease)
      studio_->Release(at, event->button());
    else
      studio_->Press(at, event->button(), event->type() == QEvent::MouseButtonDblClick);
  };
  connect(view_->Canvas(), &VideoCanvas::pressed, this, forward);
  connect(view_->Canvas(), &VideoCanvas::moved, this, forward);
  connect(view_->Canvas(), &VideoCanvas::released, this, forward);
}

void MainWindow::EnterStudio() {
  studio_->Enter(options_->Value(IntOption::StudioShapeNumber));
  studioBar_->show();
}

void MainWindow::LeaveStudio() {
  studio_->Leave();
  studioBar_->hide();
  view_->Canvas()->setToolTip(QString());
}

void MainWindow::PaintStudio(QPainter& painter) const {
  if (Mode() == WorkingMode::Studio) studio_->Paint(painter);
}

}  // namespace kinovia
