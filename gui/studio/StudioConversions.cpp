// The studio's two conversions in the window: the clip's visible frames split into pictures, and
// pictures chosen together joined into a clip, each through the record dialog.
#include <QCoreApplication>
#include <algorithm>
#include <filesystem>

#include "gui/QtText.h"
#include "gui/montage/RecordDialog.h"
#include "gui/studio/StudioMode.h"
#include "logic/montage/Montage.h"
#include "logic/studio/PictureSeries.h"
#include "media/recording/Recorder.h"
#include "media/studio/PictureSeries.h"
#include "media/video/PictureFile.h"
#include "media/video/VideoControl.h"
#include "resources/TxtCommon.h"
#include "resources/TxtStudio.h"
#include "resources/TxtWorkshop.h"

namespace kinovia {

void StudioMode::Inform(const Message& message) {
  Message m = message;
  m.icon = MessageIcon::Information;
  m.buttons = {txt::ButtonOk};
  host_.showMessage(m);
}

// The bar is painted between pictures; the user's clicks wait, so nothing can close the clip
// under a conversion.
RecordProgress StudioMode::ShowProgress() {
  return [this](int percent) {
    host_.progress(percent);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return true;
  };
}

void StudioMode::SplitIntoPictures() {
  if (!video_.IsOpen()) return;
  video_.Stop();
  SetTool(StudioTool::None);
  const FrameSource& source = *video_.Source();
  RecordDialogFacts facts;
  facts.use = RecordDialogUse::ClipToPictures;
  facts.width = source.Width();
  facts.height = source.Height();
  facts.framesPerSecond = source.FramesPerSecond();
  facts.visibleCount = facts.withBlanks = montage_.VisibleCount();
  facts.frameworks = AvailableFrameworks();
  record_->Prepare(facts, splitSettings_);
  if (record_->exec() != QDialog::Accepted) return;
  splitSettings_ = record_->Settings();
  if (auto refusal = CheckSettings(splitSettings_, facts.width, facts.height))
    return void(host_.showMessage(*refusal));
  const QString clip =
      QString::fromStdString(std::filesystem::path(video_.Source()->FileName()).stem().string());
  const auto name = host_.askSaveName(txt::SplitSaveTitle, clip, {QTxt(txt::StudioBitmapFilter)});
  if (!name) return;
  const auto written = SplitClip(*video_.Source(), montage_, splitSettings_,
                                 WithoutExtension(*name), ShowProgress());
  host_.progress(101);
  host_.showFrame();
  if (!written) return void(host_.showMessage(written.Failure()));
  Inform(Message().Line(txt::SplitSaved));
}

// The keyboard's ways of choosing several files, unless the user asked not to see them again.
bool StudioMode::AskJoinInformation() {
  if (!joinInformation_) return true;
  Message m;
  m.icon = MessageIcon::Information;
  m.buttons = {txt::ButtonOk, txt::ButtonCancelar};
  m.Line(txt::JoinExplain1)
      .Blank()
      .Line(txt::JoinExplain2)
      .Line(txt::JoinExplain3)
      .Line(txt::JoinExplain4)
      .Line(txt::JoinExplain5);
  bool dontShowAgain = false;
  const int button = host_.askWithCheckBox(m, QTxt(txt::MontageDontShowAgain), &dontShowAgain);
  if (button != 0) return false;
  joinInformation_ = !dontShowAgain;
  return true;
}

void StudioMode::JoinPictures() {
  video_.Stop();
  SetTool(StudioTool::None);
  if (!AskJoinInformation()) return;
  std::vector<std::string> pictures =
      host_.askOpenNames(txt::JoinOpenTitle, QTxt(txt::StudioBitmapFilter));
  if (pictures.empty()) return;
  Bitmap first;
  if (!ReadPicture(*std::min_element(pictures.begin(), pictures.end()), first))
    return void(host_.showMessage(RecordFailure(Txt(txt::AviWriterFrameDamaged))));
  RecordDialogFacts facts;
  facts.use = RecordDialogUse::PicturesToClip;
  facts.width = first.width;
  facts.height = first.height;
  facts.framesPerSecond = joinSettings_.framesPerSecond;
  facts.visibleCount = facts.withBlanks = std::int64_t(pictures.size());
  facts.frameworks = AvailableFrameworks();
  record_->Prepare(facts, joinSettings_);
  if (record_->exec() != QDialog::Accepted) return;
  joinSettings_ = record_->Settings();
  const auto target = AskNewClipName(
      clipFolder_,
      [this](const std::string& folder) {
        return host_.askClipName(folder, txt::JoinProposedName);
      },
      host_.showMessage);
  if (!target) return;
  const auto recorder = MakeRecorder(joinSettings_.framework);
  const auto written =
      kinovia::JoinPictures(std::move(pictures), joinSettings_, *recorder, *target, ShowProgress());
  host_.progress(101);
  if (!written) return void(host_.showMessage(written.Failure()));
  Inform(Message().Line(txt::StudioFileSaved).Blank().FileName(*target));
}

}  // namespace kinovia
