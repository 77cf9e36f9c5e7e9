#include "gui/capture/CaptureDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/TextFill.h"
#include "gui/QtText.h"
#include "resources/TxtCapture.h"
#include "resources/TxtCommon.h"
#include "resources/TxtWorkshop.h"

namespace kinovia {

namespace {

QVBoxLayout* Column(QWidget* page) {
  auto* column = new QVBoxLayout(page);
  return column;
}

void AddAdvice(QVBoxLayout* column, std::initializer_list<TxtId> lines) {
  for (const TxtId line : lines) {
    auto* label = new QLabel(QTxt(line));
    label->setWordWrap(true);
    column->addWidget(label);
  }
}

// A seconds field: digits only, with the proposals of its list.
QComboBox* SecondsField(std::initializer_list<int> proposals, int top) {
  auto* field = new QComboBox;
  field->setEditable(true);
  for (const int s : proposals) field->addItem(QString::number(s));
  field->lineEdit()->setValidator(new QIntValidator(1, top, field));
  return field;
}

int SecondsOf(const QComboBox* field, int fallback, int top) {
  bool ok = false;
  const int n = field->currentText().toInt(&ok);
  return ok ? std::clamp(n, 1, top) : fallback;
}

QHBoxLayout* SecondsRow(QCheckBox* box, QComboBox* field) {
  auto* row = new QHBoxLayout;
  row->addWidget(box);
  row->addWidget(field);
  row->addWidget(new QLabel(QTxt(txt::CaptureSeconds)));
  row->addStretch();
  return row;
}

}  // namespace

CaptureDialog::CaptureDialog(QStringList devices, std::vector<CaptureCodec> codecs,
                             std::function<QStringList(int)> formatsOf,
                             std::function<bool(int)> ratePage, QWidget* parent)
    : QDialog(parent),
      devices_(std::move(devices)),
      codecs_(std::move(codecs)),
      formatsOf_(std::move(formatsOf)),
      ratePage_(std::move(ratePage)) {
  setObjectName("CaptureDialog");
  setWindowTitle(QTxt(txt::CaptureDialogCaption));
  pages_ = new QTabWidget(this);
  pages_->addTab(DevicePage(), QTxt(txt::CapturePageDevice));
  pages_->addTab(CompressionPage(), QTxt(txt::CapturePageCompression));
  pages_->addTab(FormatPage(), QTxt(txt::CapturePageFormat));
  ratePageWidget_ = RatePage();
  pages_->addTab(ratePageWidget_, QTxt(txt::CapturePageRate));
  pages_->addTab(AutomationPage(), QTxt(txt::CapturePageAutomation));
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QTxt(txt::ButtonOk), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(QTxt(txt::ButtonCancelar), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* column = new QVBoxLayout(this);
  column->addWidget(pages_);
  column->addWidget(buttons);
  resize(520, 360);
}

QWidget* CaptureDialog::DevicePage() {
  auto* page = new QWidget;
  auto* column = Column(page);
  column->addWidget(new QLabel(QTxt(txt::CaptureChooseDevice)));
  deviceList_ = new QListWidget;
  deviceList_->setObjectName("CaptureDevices");
  deviceList_->addItems(devices_);
  column->addWidget(deviceList_);
  AddAdvice(column, {txt::CaptureDeviceAdvice1, txt::CaptureDeviceAdvice2});
  connect(deviceList_, &QListWidget::currentRowChanged, this, &CaptureDialog::DeviceChosen);
  return page;
}

QWidget* CaptureDialog::CompressionPage() {
  auto* page = new QWidget;
  auto* column = Column(page);
  codecLabel_ = new QLabel;
  column->addWidget(codecLabel_);
  codecList_ = new QListWidget;
  codecList_->setObjectName("CaptureCodecs");
  for (const CaptureCodec& codec : codecs_) codecList_->addItem(QString::fromStdString(codec.name));
  column->addWidget(codecList_);
  configure_ = new QPushButton(QTxt(txt::CaptureConfigure));
  configure_->setObjectName("ButtonConf");
  configure_->setEnabled(false);
  connect(configure_, &QPushButton::clicked, this, &CaptureDialog::Configure);
  column->addWidget(configure_, 0, Qt::AlignLeft);
  AddAdvice(column, {txt::CaptureCodecAdvice1, txt::CaptureCodecAdvice2});
  connect(codecList_, &QListWidget::currentRowChanged, this, [this](int row) {
    const QString name = row < 0 ? QString() : codecList_->item(row)->text();
    codecLabel_->setText(QTxt(txt::CaptureCodecLabel).replace(QStringLiteral("%s"), name));
    configure_->setEnabled(row >= 0 && codecs_[std::size_t(row)].configurable);
  });
  return page;
}

QWidget* CaptureDialog::FormatPage() {
  auto* page = new QWidget;
  auto* column = Column(page);
  column->addWidget(new QLabel(QTxt(txt::CaptureFormatLabel)));
  formatList_ = new QListWidget;
  formatList_->setObjectName("CaptureFormats");
  column->addWidget(formatList_);
  AddAdvice(column, {txt::CaptureFormatAdvice1, txt::CaptureFormatAdvice2});
  return page;
}

QWidget* CaptureDialog::RatePage() {
  auto* page = new QWidget;
  auto* column = Column(page);
  column->addWidget(new QLabel(QTxt(txt::CaptureRateLabel)));
  rateList_ = new QListWidget;
  for (const int fps : kCaptureRates)
    rateList_->addItem(QString::fromStdString(FillNumbers(txt::CaptureRateItem, {fps})));
  column->addWidget(rateList_);
  AddAdvice(column, {txt::CaptureRateAdvice1, txt::CaptureRateAdvice2});
  return page;
}

QWidget* CaptureDialog::AutomationPage() {
  auto* page = new QWidget;
  auto* column = Column(page);
  delayBox_ = new QCheckBox(QTxt(txt::CaptureDelayLabel));
  delayField_ = SecondsField({2, 5, 10, 15, 30, 45}, kMaxCaptureDelay);
  delayField_->setObjectName("CaptureDelay");
  column->addLayout(SecondsRow(delayBox_, delayField_));
  beepBox_ = new QCheckBox(QTxt(txt::CaptureBeep));
  column->addWidget(beepBox_);
  durationBox_ = new QCheckBox(QTxt(txt::CaptureDurationLabel));
  durationField_ = SecondsField({5, 10, 15, 20, 30, 45, 60}, kMaxCaptureDuration);
  durationField_->setObjectName("CaptureDuration");
  column->addLayout(SecondsRow(durationBox_, durationField_));
  column->addStretch();
  connect(delayBox_, &QCheckBox::toggled, this, &CaptureDialog::EnableAutomation);
  connect(durationBox_, &QCheckBox::toggled, this, &CaptureDialog::EnableAutomation);
  return page;
}

void CaptureDialog::EnableAutomation() {
  delayField_->setEnabled(delayBox_->isChecked());
  beepBox_->setEnabled(delayBox_->isChecked());
  durationField_->setEnabled(durationBox_->isChecked());
}

void CaptureDialog::DeviceChosen(int row) {
  formatList_->clear();
  if (row >= 0) formatList_->addItems(formatsOf_(row));
  formatList_->setCurrentRow(formatList_->count() > 0 ? 0 : -1);
  pages_->setTabVisible(pages_->indexOf(ratePageWidget_), row >= 0 && ratePage_(row));
}

void CaptureDialog::Fill(const CaptureChoice& choice) {
  deviceList_->setCurrentRow(choice.device);
  DeviceChosen(choice.device);
  if (choice.format < formatList_->count()) formatList_->setCurrentRow(choice.format);
  codecList_->setCurrentRow(std::clamp(choice.codec, 0, int(codecs_.size()) - 1));
  jpegQuality_ = choice.jpegQuality;
  const auto rate = std::find(std::begin(kCaptureRates), std::end(kCaptureRates), choice.rate);
  rateList_->setCurrentRow(
      rate == std::end(kCaptureRates) ? 1 : int(std::distance(std::begin(kCaptureRates), rate)));
  delayBox_->setChecked(choice.timing.delayOn);
  delayField_->setCurrentText(QString::number(choice.timing.delaySeconds));
  beepBox_->setChecked(choice.timing.beep);
  durationBox_->setChecked(choice.timing.durationOn);
  durationField_->setCurrentText(QString::number(choice.timing.durationSeconds));
  EnableAutomation();
}

CaptureChoice CaptureDialog::Read() const {
  CaptureChoice c;
  c.device = deviceList_->currentRow();
  c.format = std::max(0, formatList_->currentRow());
  c.codec = std::max(0, codecList_->currentRow());
  c.jpegQuality = jpegQuality_;
  c.rate = kCaptureRates[std::max(0, rateList_->currentRow())];
  c.timing.delayOn = delayBox_->isChecked();
  c.timing.delaySeconds = SecondsOf(delayField_, 5, kMaxCaptureDelay);
  c.timing.beep = beepBox_->isChecked();
  c.timing.durationOn = durationBox_->isChecked();
  c.timing.durationSeconds = SecondsOf(durationField_, 10, kMaxCaptureDuration);
  return c;
}

void CaptureDialog::Configure() {
  QDialog settings(this);
  settings.setObjectName("CaptureCodecSettings");
  settings.setWindowTitle(QTxt(txt::CaptureConfigure));
  auto* quality = new QSpinBox(&settings);
  quality->setObjectName("CaptureJpegQuality");
  quality->setRange(kCaptureJpegQualityMin, 100);
  quality->setValue(jpegQuality_);
  auto* form = new QFormLayout(&settings);
  form->addRow(QTxt(txt::RecordQuality), quality);
  auto* buttons = new QDialogButtonBox(&settings);
  buttons->addButton(QTxt(txt::ButtonOk), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(QTxt(txt::ButtonCancelar), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, &settings, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, &settings, &QDialog::reject);
  form->addRow(buttons);
  if (settings.exec() == QDialog::Accepted) jpegQuality_ = quality->value();
}

std::optional<CaptureChoice> CaptureDialog::Ask(const CaptureChoice& current, CapturePage page) {
  Fill(current);
  pages_->setCurrentIndex(int(page));
  if (exec() == QDialog::Accepted) return Read();
  if (pages_->currentIndex() != int(CapturePage::Device)) return std::nullopt;
  CaptureChoice cleared = current;
  cleared.device = -1;
  return cleared;
}

}  // namespace kinovia
