#include "gui/montage/RecordDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <filesystem>

#include "gui/QtText.h"
#include "media/recording/Recorder.h"
#include "resources/TxtCommon.h"
#include "resources/TxtStudio.h"
#include "resources/TxtWorkshop.h"

namespace kinovia {

namespace {

QString Filled(TxtId pattern, const QString& value) {
  QString text = QTxt(pattern);
  for (const char* mark : {"%d", "%s", "%.3g"})
    if (text.contains(mark)) return text.replace(mark, value);
  return text;
}

QString YesNo(bool yes) { return QTxt(yes ? txt::RecordYes : txt::RecordNo); }

QLabel* Lines(std::initializer_list<TxtId> lines, QWidget* parent) {
  QStringList texts;
  for (TxtId line : lines) texts << QTxt(line);
  auto* label = new QLabel(texts.join('\n'), parent);
  label->setWordWrap(true);
  return label;
}

}  // namespace

QString FrameworkCaption(RecordFramework framework) {
  switch (framework) {
    case RecordFramework::GStreamer:
      return QTxt(txt::RecordFrameworkGStreamer);
    case RecordFramework::FFmpeg:
      return QTxt(txt::RecordFrameworkFFmpeg);
    case RecordFramework::Avi:
      break;
  }
  return QTxt(txt::RecordFrameworkAvi);
}

RecordDialog::RecordDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("BoiteRecordMontage");
  setWindowTitle(QTxt(txt::RecordCaption));
  auto* column = new QVBoxLayout(this);
  pages_ = new QTabWidget(this);
  pages_->addTab(BuildSummary(), QTxt(txt::RecordPageSummary));
  compressionPage_ = BuildCompression();
  dimensionsPage_ = BuildDimensions();
  parametersPage_ = BuildParameters();
  pages_->addTab(compressionPage_, QTxt(txt::RecordPageCompression));
  pages_->addTab(dimensionsPage_, QTxt(txt::RecordPageDimensions));
  pages_->addTab(parametersPage_, QTxt(txt::RecordPageParameters));
  column->addWidget(pages_);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QTxt(txt::ButtonOk), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(QTxt(txt::ButtonCancelar), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  column->addWidget(buttons);
}

QSpinBox* RecordDialog::AddSpin(const char* name, int minimum, int maximum) {
  auto* spin = new QSpinBox(this);
  spin->setObjectName(name);
  spin->setRange(minimum, maximum);
  connect(spin, &QSpinBox::valueChanged, this, &RecordDialog::Refresh);
  return spin;
}

QWidget* RecordDialog::BuildSummary() {
  auto* page = new QWidget(this);
  auto* column = new QVBoxLayout(page);
  summary_ = new QLabel(page);
  summary_->setObjectName("LabelSummary");
  column->addWidget(summary_);
  column->addStretch();
  return page;
}

QWidget* RecordDialog::BuildCompression() {
  auto* page = new QWidget(this);
  auto* column = new QVBoxLayout(page);
  auto* panel = new QGroupBox(page);
  auto* panelColumn = new QVBoxLayout(panel);
  framework_ = new QComboBox(panel);
  framework_->setObjectName("ComboBoxFramework");
  panelColumn->addWidget(framework_);
  panelColumn->addWidget(Lines(
      {txt::RecordFrameworkLine1, txt::RecordFrameworkLine2, txt::RecordFrameworkLine3}, panel));
  column->addWidget(panel);
  codecLine_ = new QLabel(page);
  column->addWidget(codecLine_);
  auto* codecRow = new QHBoxLayout;
  codec_ = new QComboBox(page);
  codec_->setObjectName("ComboBoxVideoCodec");
  codecRow->addWidget(codec_, 1);
  // No recorder here offers a settings dialog of its codecs.
  configure_ = new QPushButton(QTxt(txt::RecordConfigure), page);
  configure_->setObjectName("ButtonConf");
  configure_->setEnabled(false);
  codecRow->addWidget(configure_);
  column->addLayout(codecRow);
  auto* form = new QFormLayout;
  quality_ = AddSpin("UpDownCompressionQuality", kQualityMin, kQualityMax);
  keyFrames_ = AddSpin("UpDownKeyFrame", kKeyFramesMin, kKeyFramesMax);
  form->addRow(QTxt(txt::RecordQuality), quality_);
  form->addRow(QTxt(txt::RecordKeyFrames), keyFrames_);
  column->addLayout(form);
  column->addWidget(Lines(
      {txt::RecordAdvice1, txt::RecordAdvice2, txt::RecordAdvice3, txt::RecordAdvice4}, page));
  connect(framework_, &QComboBox::currentIndexChanged, this, [this] {
    FillCodecs(codec_->currentText().toStdString());
    Refresh();
  });
  connect(codec_, &QComboBox::currentIndexChanged, this, &RecordDialog::Refresh);
  return page;
}

QWidget* RecordDialog::BuildDimensions() {
  auto* page = new QWidget(this);
  auto* column = new QVBoxLayout(page);
  change_ = new QCheckBox(QTxt(txt::RecordChange), page);
  change_->setObjectName("CheckBoxChange");
  column->addWidget(change_);
  deform_ = new QRadioButton(QTxt(txt::RecordDeform), page);
  deform_->setObjectName("RadioButtonDeform");
  deform_->setChecked(true);
  cut_ = new QRadioButton(QTxt(txt::RecordCut), page);
  cut_->setObjectName("RadioButtonCut");
  auto* form = new QFormLayout;
  width_ = AddSpin("UpDownWidthChange", 1, 1);
  height_ = AddSpin("UpDownHeightChange", 1, 1);
  form->addRow(deform_);
  form->addRow(QTxt(txt::RecordWidth), width_);
  form->addRow(QTxt(txt::RecordHeight), height_);
  form->addRow(cut_);
  cutTop_ = AddSpin("EditCutTop", 0, 0);
  cutBottom_ = AddSpin("EditCutBottom", 0, 0);
  cutLeft_ = AddSpin("EditCutLeft", 0, 0);
  cutRight_ = AddSpin("EditCutRight", 0, 0);
  form->addRow(QTxt(txt::RecordCutTop), cutTop_);
  form->addRow(QTxt(txt::RecordCutBottom), cutBottom_);
  form->addRow(QTxt(txt::RecordCutLeft), cutLeft_);
  form->addRow(QTxt(txt::RecordCutRight), cutRight_);
  column->addLayout(form);
  column->addStretch();
  for (QAbstractButton* b :
       {static_cast<QAbstractButton*>(change_), static_cast<QAbstractButton*>(deform_),
        static_cast<QAbstractButton*>(cut_)})
    connect(b, &QAbstractButton::toggled, this, &RecordDialog::Refresh);
  return page;
}

QWidget* RecordDialog::BuildParameters() {
  auto* page = new QWidget(this);
  auto* form = new QFormLayout(page);
  rate_ = new QDoubleSpinBox(page);
  rate_->setObjectName("EditCadence");
  rate_->setRange(0.01, 1000);
  rate_->setDecimals(3);
  connect(rate_, &QDoubleSpinBox::valueChanged, this, &RecordDialog::Refresh);
  form->addRow(QTxt(txt::RecordRate), rate_);
  blanks_ = new QCheckBox(QTxt(txt::RecordInsertBlanks), page);
  blanks_->setObjectName("CheckBoxImgInsert");
  connect(blanks_, &QCheckBox::toggled, this, &RecordDialog::Refresh);
  form->addRow(blanks_);
  return page;
}

void RecordDialog::Prepare(const RecordDialogFacts& facts, const RecordSettings& remembered) {
  facts_ = facts;
  const QSignalBlocker quiet(framework_);
  framework_->clear();
  for (RecordFramework f : facts.frameworks) framework_->addItem(FrameworkCaption(f), int(f));
  const int chosen = framework_->findData(int(remembered.framework));
  framework_->setCurrentIndex(std::max(chosen, 0));
  FillCodecs(remembered.codec);
  quality_->setValue(remembered.quality);
  keyFrames_->setValue(remembered.keyFrames);
  rate_->setValue(facts.framesPerSecond);
  width_->setRange(1, std::min(16384, kResizeFactorMax * facts.width));
  height_->setRange(1, std::min(16384, kResizeFactorMax * facts.height));
  width_->setValue(facts.width);
  height_->setValue(facts.height);
  for (QSpinBox* margin : {cutTop_, cutBottom_, cutLeft_, cutRight_}) margin->setValue(0);
  change_->setChecked(false);
  deform_->setChecked(true);
  blanks_->setChecked(facts.use == RecordDialogUse::Montage && remembered.blanks);
  ShowPagesOf(facts.use);
  Refresh();
}

// Compression for the clips written, dimensions for the frames read from a clip, the rate for
// the clips written, blank frames for the montage alone.
void RecordDialog::ShowPagesOf(RecordDialogUse use) {
  const bool writesClip = use != RecordDialogUse::ClipToPictures;
  const bool readsClip = use != RecordDialogUse::PicturesToClip;
  TxtId caption = txt::RecordCaption;
  if (use == RecordDialogUse::ClipToPictures) caption = txt::SplitCaption;
  if (use == RecordDialogUse::PicturesToClip) caption = txt::JoinCaption;
  setWindowTitle(QTxt(caption));
  pages_->setTabVisible(pages_->indexOf(compressionPage_), writesClip);
  pages_->setTabVisible(pages_->indexOf(dimensionsPage_), readsClip);
  pages_->setTabVisible(pages_->indexOf(parametersPage_), writesClip);
  blanks_->setVisible(use == RecordDialogUse::Montage);
  pages_->setCurrentIndex(0);
}

std::optional<std::string> AskNewClipName(
    std::string& folder,
    const std::function<std::optional<std::string>(const std::string& folder)>& ask,
    const std::function<int(const Message&)>& show) {
  for (;;) {
    const auto chosen = ask(folder);
    if (!chosen || chosen->empty()) return std::nullopt;
    const std::string name = WithAviExtension(*chosen);
    folder = std::filesystem::path(name).parent_path().string();
    std::error_code ignored;
    if (!std::filesystem::exists(name, ignored)) return name;
    Message m;
    m.icon = MessageIcon::Warning;
    m.buttons = {txt::ButtonOk};
    m.FileName(name).Blank().Line(txt::RecordNameExists).Blank().Line(txt::RecordChooseOther);
    show(m);
  }
}

void RecordDialog::FillCodecs(const std::string& preferred) {
  const QSignalBlocker quiet(codec_);
  codec_->clear();
  const auto framework = RecordFramework(framework_->currentData().toInt());
  for (const std::string& name : MakeRecorder(framework)->Codecs())
    codec_->addItem(QString::fromStdString(name));
  codec_->setCurrentIndex(std::max(codec_->findText(QString::fromStdString(preferred)), 0));
}

// Each margin may grow only as far as the opposite one leaves room.
void RecordDialog::LimitCrop() {
  const auto limit = [](QSpinBox* margin, QSpinBox* opposite, int size) {
    const QSignalBlocker quiet(margin);
    margin->setMaximum(std::max(0, CropMarginMax(size) - opposite->value()));
  };
  limit(cutTop_, cutBottom_, facts_.height);
  limit(cutBottom_, cutTop_, facts_.height);
  limit(cutLeft_, cutRight_, facts_.width);
  limit(cutRight_, cutLeft_, facts_.width);
}

RecordSettings RecordDialog::Settings() const {
  RecordSettings s;
  s.framework = RecordFramework(framework_->currentData().toInt());
  s.codec = codec_->currentText().toStdString();
  s.quality = quality_->value();
  s.keyFrames = keyFrames_->value();
  s.framesPerSecond = rate_->value();
  if (change_->isChecked())
    s.change = deform_->isChecked() ? PictureChange::Resize : PictureChange::Crop;
  s.width = width_->value();
  s.height = height_->value();
  s.crop = {cutTop_->value(), cutBottom_->value(), cutLeft_->value(), cutRight_->value()};
  s.blanks = blanks_->isChecked();
  return s;
}

QStringList RecordDialog::SummaryLines() const { return summary_->text().split('\n'); }

void RecordDialog::Refresh() {
  LimitCrop();
  const bool changing = change_->isChecked();
  deform_->setEnabled(changing);
  cut_->setEnabled(changing);
  width_->setEnabled(changing && deform_->isChecked());
  height_->setEnabled(changing && deform_->isChecked());
  for (QSpinBox* margin : {cutTop_, cutBottom_, cutLeft_, cutRight_})
    margin->setEnabled(changing && cut_->isChecked());
  const RecordSettings s = Settings();
  const PictureSize size = OutputSize(s, facts_.width, facts_.height);
  const std::int64_t total = s.blanks ? facts_.withBlanks : facts_.visibleCount;
  codecLine_->setText(Filled(txt::RecordCodecLine, codec_->currentText()));
  // Each use lists what it decides: a split writes no clip, a join changes no picture.
  const bool writesClip = facts_.use != RecordDialogUse::ClipToPictures;
  const bool readsClip = facts_.use != RecordDialogUse::PicturesToClip;
  QStringList lines;
  if (writesClip) lines << QTxt(txt::RecordSummaryFormat);
  lines << Filled(txt::RecordSummaryWidth, QString::number(size.width))
        << Filled(txt::RecordSummaryHeight, QString::number(size.height));
  if (writesClip)
    lines << Filled(txt::RecordSummaryRate, QString::number(s.framesPerSecond, 'g', 3));
  lines << Filled(txt::RecordSummaryTotal, QString::number(total));
  if (writesClip) lines << Filled(txt::RecordSummaryFramework, FrameworkCaption(s.framework));
  if (facts_.use == RecordDialogUse::Montage)
    lines << Filled(txt::RecordSummaryMissing,
                    QTxt(s.blanks ? txt::RecordSummaryInsertBlanks : txt::RecordSummaryDoNothing));
  if (readsClip)
    lines << Filled(txt::RecordSummaryResized, YesNo(s.change == PictureChange::Resize))
          << Filled(txt::RecordSummaryCropped, YesNo(s.change == PictureChange::Crop));
  summary_->setText(lines.join('\n'));
}

}  // namespace kinovia
