// Never losing a pupil's pointing: the recovery file written while the work has unsaved changes,
// and the offer to recover the work of a program that was killed or crashed.
#include <unistd.h>

#include <QFileInfo>
#include <QTimer>

#include "core/TempFolder.h"
#include "gui/MainWindow.h"
#include "logic/session/Recovery.h"
#include "logic/session/Session.h"
#include "media/video/VideoControl.h"
#include "resources/TxtApp.h"
#include "resources/TxtCommon.h"

namespace kinovia {

namespace {

enum RecoveryAnswer { kRecover, kRemove, kLater };

Message RecoveryQuestion(const std::string& clip) {
  Message m;
  m.icon = MessageIcon::Confirmation;
  m.buttons = {txt::ButtonRecuperar, txt::ButtonSuprimir, txt::ButtonIgnorar};
  m.Line(txt::RecoveryFound).FileName(clip).Blank();
  m.Line(txt::RecoveryRecover).Blank().Line(txt::RecoveryRemove).Blank().Line(txt::RecoveryLater);
  return m;
}

}  // namespace

void MainWindow::CreateRecovery() {
  recovery_ = std::make_unique<RecoveryKeeper>(RecoveryFilePath(TemporaryFolder(), ::getpid()));
  auto* every30s = new QTimer(this);
  connect(every30s, &QTimer::timeout, this, &MainWindow::WriteRecovery);
  every30s->start(kRecoveryIntervalMs);
  for (const SessionEvent event :
       {SessionEvent::AxesChanged, SessionEvent::MarkColourChanged, SessionEvent::ScaleChanged,
        SessionEvent::ScaleKindChanged, SessionEvent::MarksChanged,
        SessionEvent::MarksPerFrameChanged, SessionEvent::MarkVisibilityChanged})
    session_->Subscribe(event, [this](const Session&) {
      if (recovery_->NoteChange()) WriteRecovery();
    });
}

void MainWindow::WriteRecovery() {
  if (!ClipOpen()) return;
  const WorkFileContent work = CurrentWork();
  if (!recovery_->Differs(work) || recovery_->Write(work) || recoveryWarned_) return;
  // Said once a run: the pupil must know the safety net is missing, not hear it every 30 s.
  recoveryWarned_ = true;
  Message m;
  m.icon = MessageIcon::Warning;
  m.buttons = {txt::ButtonOk};
  m.Line(txt::RecoveryWriteFailed).FileName(recovery_->Path());
  ShowMessage(m);
}

void MainWindow::DiscardRecovery() {
  recovery_->Discard(ClipOpen() ? CurrentWork() : WorkFileContent{});
}

bool MainWindow::OfferRecovery() {
  for (const std::string& orphan : OrphanRecoveryFiles(TemporaryFolder())) {
    const auto opened = OpenWorkFile(orphan);
    const std::string clip =
        opened ? opened->clip : QFileInfo(QString::fromStdString(orphan)).fileName().toStdString();
    const Message question = RecoveryQuestion(clip);
    const int answer = ShowMessage(question);
    if (answer == kRemove) {
      RemoveRecoveryFile(orphan);
      continue;
    }
    if (answer != kRecover) continue;
    if (!opened) {
      ShowMessage(opened.Failure());
      continue;
    }
    if (!ApplyOpenedWork(opened.Value(), orphan)) continue;
    // Our own copy first, then the orphan goes: at no moment is the work in no file.
    recovery_->Discard({});
    if (recovery_->Write(CurrentWork())) RemoveRecoveryFile(orphan);
    return true;
  }
  return false;
}

}  // namespace kinovia
