#include "gui/montage/MontageMode.h"

#include <QAction>
#include <QCoreApplication>

#include "core/IniFile.h"
#include "gui/QtText.h"
#include "gui/montage/FrameSeriesDialog.h"
#include "gui/montage/MissingFrameDialog.h"
#include "gui/montage/RecordDialog.h"
#include "logic/montage/Montage.h"
#include "logic/settings/Options.h"
#include "logic/settings/OptionsFile.h"
#include "media/recording/MontageRecorder.h"
#include "media/video/VideoControl.h"
#include "resources/TxtCommon.h"
#include "resources/TxtWorkshop.h"

namespace kinovia {

namespace {
constexpr std::string_view kFrameworkKey = "Framework";
constexpr std::string_view kCodecKey = "Codec";
}  // namespace

MontageMode::MontageMode(Montage& montage, VideoControl& video, MontageHost host, QWidget* window)
    : QObject(window), montage_(montage), video_(video), host_(std::move(host)), window_(window) {
  AddButton(txt::HintMontageBasculer, "ButtonMontageBasculer", &MontageMode::ToggleCurrentFrame);
  AddButton(txt::SeriesCaption, "ButtonMontageBasculerMult", &MontageMode::HideOrShowSeries);
  instantButton_ =
      AddButton(txt::InstantCaption, "ButtonMontageInstant", &MontageMode::CorrectInstant);
  AddButton(txt::RecordCaption, "ButtonMontageEnregistrer", &MontageMode::Record);
  series_ = new FrameSeriesDialog(montage_, host_.showMessage, window);
  instant_ = new MissingFrameDialog(montage_, window);
  record_ = new RecordDialog(window);
}

// The remembered framework and codec go back to the options file with the window.
MontageMode::~MontageMode() {
  if (!remembered_) return;
  UpdateOptionsFile(OptionsFilePath(), [this](IniFile& ini) {
    ini.Write(ini_section::kMontage, kFrameworkKey, FrameworkOptionName(settings_.framework));
    ini.Write(ini_section::kMontage, kCodecKey, settings_.codec);
  });
}

QAction* MontageMode::AddButton(TxtId caption, const char* name, void (MontageMode::*command)()) {
  auto* action = new QAction(QTxt(caption), this);
  action->setObjectName(name);
  action->setToolTip(QTxt(caption));
  connect(action, &QAction::triggered, this, command);
  toolBar_.push_back(action);
  return action;
}

void MontageMode::EnableCommands() {
  const bool idle = video_.IsOpen() && !recording_;
  for (QAction* action : toolBar_) action->setEnabled(idle);
  instantButton_->setEnabled(idle && montage_.Visible(video_.CurrentSourceFrame()));
}

void MontageMode::Changed() {
  video_.MontageChanged();
  EnableCommands();
  host_.showFrame();
}

void MontageMode::ToggleCurrentFrame() {
  if (!video_.IsOpen() || recording_) return;
  const std::int32_t current = video_.CurrentSourceFrame();
  Message refusal;
  const bool changed =
      ToggleFrameCommand(montage_, current, host_.toggleInformation(),
                         host_.marksOnFrame(current) > 0, host_.askToggle, &refusal);
  if (!refusal.lines.empty()) host_.showMessage(refusal);
  if (changed) Changed();
}

void MontageMode::HideOrShowSeries() {
  if (!video_.IsOpen() || recording_) return;
  if (series_->Run()) Changed();
}

void MontageMode::CorrectInstant() {
  const std::int32_t current = video_.CurrentSourceFrame();
  if (!video_.IsOpen() || recording_ || !montage_.Visible(current)) return;
  instant_->Run(current, video_.Interval());
  Changed();
}

std::string MontageMode::ShiftText() const {
  const std::int32_t shift = montage_.TimeShift(video_.CurrentSourceFrame());
  if (!video_.IsOpen() || shift == 0) return {};
  return (shift > 0 ? "+" : "") + std::to_string(shift);
}

bool MontageMode::StopRecording() {
  if (!recording_) return false;
  abort_ = true;
  return true;
}

bool MontageMode::Leave() {
  if (recording_) return false;
  if (video_.IsOpen()) video_.Seek(montage_.FrameAfterMontageMode(video_.CurrentSourceFrame()));
  return true;
}

void MontageMode::ReadRemembered() {
  if (remembered_) return;
  remembered_ = true;
  const IniFile ini = ReadOptionsFile(OptionsFilePath());
  if (auto name = ini.Read(ini_section::kMontage, kFrameworkKey))
    settings_.framework = FrameworkFromOptionName(*name).value_or(RecordFramework::Avi);
  settings_.codec = ini.Read(ini_section::kMontage, kCodecKey).value_or("");
}

void MontageMode::Record() {
  if (!video_.IsOpen() || recording_) return;
  video_.Stop();
  ReadRemembered();
  const FrameSource& source = *video_.Source();
  RecordDialogFacts facts;
  facts.width = source.Width();
  facts.height = source.Height();
  facts.framesPerSecond = source.FramesPerSecond();
  facts.visibleCount = montage_.VisibleCount();
  facts.withBlanks = montage_.VisibleCount() + montage_.MissingFrameCount();
  facts.frameworks = AvailableFrameworks();
  record_->Prepare(facts, settings_);
  if (record_->exec() != QDialog::Accepted) return;
  settings_ = record_->Settings();
  if (auto refusal = CheckSettings(settings_, facts.width, facts.height)) {
    host_.showMessage(*refusal);
    return;
  }
  if (const auto file = AskOutputName()) RecordTo(settings_, *file);
}

std::optional<std::string> MontageMode::AskOutputName() {
  return AskNewClipName(
      folder_,
      [this](const std::string& folder) {
        return host_.askSaveName(folder, Txt(txt::RecordProposedName));
      },
      host_.showMessage);
}

void MontageMode::RecordTo(const RecordSettings& settings, const std::string& file) {
  recording_ = true;
  abort_ = false;
  EnableCommands();
  const auto recorder = MakeRecorder(settings.framework);
  // The window stays alive between frames, so its pause button can stop the recording.
  const auto written =
      RecordMontage(*video_.Source(), montage_, settings, *recorder, file, [this](int percent) {
        host_.progress(percent);
        QCoreApplication::processEvents();
        return !abort_;
      });
  recording_ = false;
  host_.progress(101);
  EnableCommands();
  host_.showFrame();
  if (!written) {
    host_.showMessage(written.Failure());
    return;
  }
  Message m;
  m.icon = MessageIcon::Information;
  m.buttons = {txt::ButtonOk};
  host_.showMessage(m.Line(txt::RecordSaved).Blank().FileName(file));
}

}  // namespace kinovia
