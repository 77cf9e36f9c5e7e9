#include "gui/options/OptionsDialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>
#include <QTreeWidget>

#include "gui/QtText.h"
#include "resources/TxtApp.h"
#include "resources/TxtCommon.h"
#include "resources/TxtSettings.h"

namespace kinovia {

namespace {

enum Page {
  kSystems,
  kDialogs,
  kFileMenu,
  kPresentationMenu,
  kGeneral,
  kSpeed,
  kAcceleration,
  kPolar,
  kWorkshop,
  kTracking,
  kCapture,
  kStudio,
  kTable,
  kTime,
  kTrajectory,
  kVectors,
  kFormula,
  kPageCount
};

struct SectionDef {
  TxtId title;
  QColor colour;                              // invalid: the palette's text colour
  std::vector<std::pair<Page, TxtId>> pages;  // a section of one page shows it itself
};

const std::vector<SectionDef>& SectionDefs() {
  static const std::vector<SectionDef> sections{
      {txt::OptionsSectionPreferences,
       QColor(),
       {{kSystems, txt::OptionsPageSystems},
        {kDialogs, txt::OptionsPageDialogs},
        {kFileMenu, txt::OptionsPageFileMenu},
        {kPresentationMenu, txt::OptionsPagePresentationMenu}}},
      {txt::OptionsSectionCalculations,
       QColor(),
       {{kGeneral, txt::OptionsPageGeneral},
        {kSpeed, txt::OptionsPageSpeed},
        {kAcceleration, txt::OptionsPageAcceleration},
        {kPolar, txt::OptionsPagePolar}}},
      {txt::OptionsSectionFunctions,
       QColor(),
       {{kWorkshop, txt::OptionsPageWorkshop},
        {kTracking, txt::OptionsPageTracking},
        {kCapture, txt::OptionsPageCapture},
        {kStudio, txt::OptionsPageStudio}}},
      {txt::ResultsTabla, QColor(128, 0, 128), {{kTable, txt::ResultsTabla}}},
      {txt::ResultsEvolucion, QColor(0, 128, 0), {{kTime, txt::ResultsEvolucion}}},
      {txt::ResultsTrayectoria, QColor(255, 0, 0), {{kTrajectory, txt::ResultsTrayectoria}}},
      {txt::ResultsVectores, QColor(0, 0, 255), {{kVectors, txt::ResultsVectores}}},
      {txt::ResultsFormulas, QColor(128, 0, 0), {{kFormula, txt::ResultsFormulas}}},
  };
  return sections;
}

struct BoolDef {
  Page page;
  BoolOption option;
  TxtId caption;
};

// Every boolean preference, on the page where a user looks for it.
constexpr BoolDef kBools[] = {
    {kDialogs, BoolOption::ConfirmationQuit, txt::OptionsConfirmQuit},
    {kDialogs, BoolOption::ConfirmationFileChange, txt::OptionsConfirmFileChange},
    {kDialogs, BoolOption::ChangeDefaultObjectsName, txt::OptionsChangeDefaultName},
    {kDialogs, BoolOption::ShowDialogBoxForHideImage, txt::OptionsShowHideImageBox},
    {kFileMenu, BoolOption::FreezeMru, txt::OptionsFreezeMru},
    {kGeneral, BoolOption::StartByZero, txt::OptionsStartByZero},
    {kGeneral, BoolOption::HorizAndVertScale, txt::OptionsHorizAndVertScale},
    {kGeneral, BoolOption::AngleRadian, txt::OptionsAngleRadian},
    {kSpeed, BoolOption::Speed, txt::OptionsSpeed},
    {kSpeed, BoolOption::SmoothSpeed, txt::OptionsSmoothSpeed},
    {kSpeed, BoolOption::HideEdgeSpeed, txt::OptionsHideEdgeV},
    {kAcceleration, BoolOption::Acceleration, txt::OptionsAcceleration},
    {kAcceleration, BoolOption::SmoothAcceleration, txt::OptionsSmoothAcceleration},
    {kAcceleration, BoolOption::HideEdgeAcceleration, txt::OptionsHideEdgeA},
    {kPolar, BoolOption::PolarQuantities, txt::OptionsPolarQuantities},
    {kWorkshop, BoolOption::AllowMontage, txt::OptionsAllowMontage},
    {kTracking, BoolOption::AllowTracking, txt::OptionsAllowTracking},
    {kTracking, BoolOption::ShowRadiusSearch, txt::OptionsShowRadiusSearch},
    {kCapture, BoolOption::AllowCapture, txt::OptionsAllowCapture},
    {kStudio, BoolOption::AllowStudio, txt::OptionsAllowStudio},
    {kTable, BoolOption::GridShowItem, txt::OptionsShowItem},
    {kTable, BoolOption::GridShowCoordinates, txt::OptionsGridShowCoordinates},
    {kTable, BoolOption::GridShowSpeed, txt::OptionsGridShowSpeed},
    {kTable, BoolOption::GridShowAcceleration, txt::OptionsGridShowAcceleration},
    {kTable, BoolOption::GridShowPolarQuantities, txt::OptionsGridShowPolar},
    {kTime, BoolOption::TimeShowItem, txt::OptionsShowItem},
    {kTime, BoolOption::TimeZoomX, txt::OptionsZoomX},
    {kTime, BoolOption::TimeZoomY, txt::OptionsZoomY},
    {kTime, BoolOption::TimePolyline, txt::OptionsPolylineJoin},
    {kTime, BoolOption::TempsEquation, txt::OptionsEditEquation},
    {kTime, BoolOption::TempsStatistics, txt::OptionsShowStatistics},
    {kTrajectory, BoolOption::TrajectoryShowItem, txt::OptionsShowItem},
    {kTrajectory, BoolOption::TrajectoryNumber, txt::OptionsNumberPoints},
    {kTrajectory, BoolOption::TrajectoryPolyline, txt::OptionsPolylineJoin},
    {kVectors, BoolOption::VectorShowItem, txt::OptionsShowItem},
    {kVectors, BoolOption::VectorNumber, txt::OptionsNumberPoints},
    {kVectors, BoolOption::VectorDraw, txt::OptionsVectorDraw},
    {kVectors, BoolOption::VectorPolyline, txt::OptionsVectorPolyline},
    {kVectors, BoolOption::VectorSpline, txt::OptionsVectorSpline},
    {kVectors, BoolOption::VectorOrigin, txt::OptionsVectorOrigin},
    {kVectors, BoolOption::VectorTilted, txt::OptionsVectorTilted},
    {kVectors, BoolOption::VectorVideoImage, txt::OptionsVectorVideoImage},
    {kFormula, BoolOption::FormulaShowItem, txt::OptionsShowItem},
    {kFormula, BoolOption::FormulaZoomX, txt::OptionsZoomX},
    {kFormula, BoolOption::FormulaZoomY, txt::OptionsZoomY},
    {kFormula, BoolOption::FormulaOriginX, txt::OptionsFormulaOriginX},
    {kFormula, BoolOption::FormulaOriginY, txt::OptionsFormulaOriginY},
    {kFormula, BoolOption::FormulaPolyline, txt::OptionsPolylineJoin},
    {kFormula, BoolOption::FormulaEquation, txt::OptionsEditEquation},
    {kFormula, BoolOption::FormulaStatistics, txt::OptionsShowStatistics},
    {kFormula, BoolOption::ChangeFormulae, txt::OptionsChangeFormulae},
    {kFormula, BoolOption::ProfShowItem, txt::OptionsProfShowItem},
    {kFormula, BoolOption::DeformationBubble, txt::OptionsDeformationBubble},
};
static_assert(std::size(kBools) == std::size_t(BoolOption::Count));

constexpr TxtId kToolCaptions[] = {txt::ToolConstantModel,
                                   txt::ToolAffineModel,
                                   txt::ToolProportionalModel,
                                   txt::ToolParabolaModel,
                                   txt::ToolSinusoidModel,
                                   txt::ToolExponentiallyDamped,
                                   txt::ToolLinearlyDamped,
                                   txt::ToolExponentialModel,
                                   txt::ToolModelModifier,
                                   txt::ToolAngle,
                                   txt::ToolArc,
                                   txt::ToolCircle,
                                   txt::ToolCurveArc,
                                   txt::ToolDuplicate,
                                   txt::ToolEllipse,
                                   txt::ToolMeasure,
                                   txt::ToolReticle,
                                   txt::ToolSegment,
                                   txt::ToolSelection,
                                   txt::ToolDirection,
                                   txt::ToolSpline,
                                   txt::ToolDelete,
                                   txt::ToolVector,
                                   txt::ToolVideo};
static_assert(std::size(kToolCaptions) == std::size_t(ResultsTool::Count));

const std::vector<TxtId> kNumbering{txt::OptionsUnder, txt::OptionsRight, txt::OptionsNone};
const std::vector<TxtId> kPenSizes{txt::OptionsSmall, txt::OptionsMedium, txt::OptionsLarge};
// In the order of UserLanguage.
const std::vector<TxtId> kLanguages{txt::OptionsLanguageDesktop, txt::OptionsLanguageSpanish,
                                    txt::OptionsLanguageEnglish};
const std::vector<TxtId> kShapes{txt::OptionsCircle, txt::OptionsPolyline, txt::OptionsFree};

QString KeyOf(BoolOption option) {
  return QString::fromUtf8(kPrefKeys[std::size_t(option)].key.data(),
                           qsizetype(kPrefKeys[std::size_t(option)].key.size()));
}

QString KeyOf(IntOption option) {
  return QString::fromUtf8(kIntPrefKeys[std::size_t(option)].key.data(),
                           qsizetype(kIntPrefKeys[std::size_t(option)].key.size()));
}

}  // namespace

OptionsDialog::OptionsDialog(Options& options, std::optional<FileAssociation> association,
                             QWidget* parent)
    : QDialog(parent),
      options_(options),
      edited_(options),
      fileAssociation_(std::move(association)) {
  setWindowTitle(QTxt(txt::OptionsTitle));
  sections_ = new QTreeWidget(this);
  sections_->setObjectName("OptionsSections");
  sections_->setHeaderHidden(true);
  pages_ = new QStackedWidget(this);
  BuildPages();
  // The results sections' long titles stay whole.
  sections_->resizeColumnToContents(0);
  sections_->setMinimumWidth(sections_->columnWidth(0) + 2 * sections_->indentation());

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QTxt(txt::ButtonOk), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(QTxt(txt::ButtonCancelar), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* body = new QHBoxLayout;
  body->addWidget(sections_);
  body->addWidget(pages_, 1);
  auto* column = new QVBoxLayout(this);
  column->addLayout(body, 1);
  column->addWidget(buttons);
}

void OptionsDialog::BuildPages() {
  std::vector<QVBoxLayout*> layouts(kPageCount);
  for (const SectionDef& section : SectionDefs()) {
    auto* top = new QTreeWidgetItem(sections_, {QTxt(section.title)});
    QFont bold = top->font(0);
    bold.setBold(true);
    top->setFont(0, bold);
    if (section.colour.isValid()) top->setForeground(0, section.colour);
    const bool single = section.pages.size() == 1;
    for (const auto& [page, title] : section.pages) {
      auto* item = single ? top : new QTreeWidgetItem(top, {QTxt(title)});
      auto* widget = new QWidget(pages_);
      auto* layout = new QVBoxLayout(widget);
      auto* heading = new QLabel(QTxt(title), widget);
      heading->setStyleSheet(QString("font-weight: bold; color: %1;")
                                 .arg(section.colour.isValid() ? section.colour.name() : "black"));
      layout->addWidget(heading);
      item->setData(0, Qt::UserRole, pages_->addWidget(widget));
      layouts[std::size_t(page)] = layout;
    }
  }
  sections_->expandAll();
  connect(sections_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (!item) return;
    // A section with sub-pages shows its first one.
    if (!item->data(0, Qt::UserRole).isValid() && item->childCount() > 0) item = item->child(0);
    pages_->setCurrentIndex(item->data(0, Qt::UserRole).toInt());
  });

  AddSystemsPage(layouts[kSystems]);
  for (const BoolDef& def : kBools)
    AddBool(layouts[std::size_t(def.page)], def.option, def.caption);
  AddSpin(layouts[kFileMenu], IntOption::EditMru, txt::OptionsRecentCount, 1, 20);
  AddFolder(layouts[kFileMenu]);
  AddList(layouts[kPresentationMenu], IntOption::PenSize, txt::OptionsPenSize, kPenSizes);
  AddList(layouts[kPresentationMenu], IntOption::Numerotation, txt::OptionsNumbering, kNumbering);
  AddList(layouts[kPresentationMenu], IntOption::NumerotationTsp, txt::OptionsNumberingSheet,
          kNumbering);
  AddList(layouts[kPresentationMenu], IntOption::Language, txt::OptionsLanguage, kLanguages);
  AddList(layouts[kTracking], IntOption::ShapeNumber, txt::OptionsTrackingShape, kShapes);
  AddSpin(layouts[kTracking], IntOption::TrackingRadius, txt::OptionsTrackingRadius, 10, 100);
  AddList(layouts[kStudio], IntOption::StudioShapeNumber, txt::OptionsStudioShape, kShapes);
  AddList(layouts[kFormula], IntOption::PenSize4Graph, txt::OptionsGraphPen, kPenSizes);
  AddTools(layouts[kTime], ResultsPage::Time);
  AddTools(layouts[kTrajectory], ResultsPage::Trajectory);
  AddTools(layouts[kVectors], ResultsPage::Vectors);
  AddTools(layouts[kFormula], ResultsPage::Formulas);
  for (QVBoxLayout* layout : layouts) layout->addStretch(1);
  sections_->setCurrentItem(sections_->topLevelItem(0));
}

void OptionsDialog::AddBool(QVBoxLayout* page, BoolOption option, TxtId caption) {
  auto* box = new QCheckBox(QTxt(caption));
  box->setObjectName(KeyOf(option));
  box->setChecked(edited_.Flag(option));
  page->addWidget(box);
  bools_.push_back({option, box});
}

void OptionsDialog::AddList(QVBoxLayout* page, IntOption option, TxtId caption,
                            std::vector<TxtId> items) {
  auto* list = new QComboBox;
  list->setObjectName(KeyOf(option));
  for (TxtId item : items) list->addItem(QTxt(item));
  // A stored value beyond the list shows its last entry, and is saved back as that one.
  const int shown = std::clamp(edited_.Value(option), 0, list->count() - 1);
  list->setCurrentIndex(shown);
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(QTxt(caption)));
  row->addWidget(list);
  row->addStretch(1);
  page->addLayout(row);
  ints_.push_back({option, list, nullptr, -1});
}

void OptionsDialog::AddSpin(QVBoxLayout* page, IntOption option, TxtId caption, int low, int high) {
  auto* spin = new QSpinBox;
  spin->setObjectName(KeyOf(option));
  spin->setRange(low, high);
  spin->setValue(edited_.Value(option));
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(QTxt(caption)));
  row->addWidget(spin);
  row->addStretch(1);
  page->addLayout(row);
  // A stored value the field cannot show (a recent-files size of 0) is kept unless edited.
  ints_.push_back({option, nullptr, spin, spin->value()});
}

void OptionsDialog::AddTools(QVBoxLayout* page, ResultsPage results) {
  auto* group = new QGroupBox(QTxt(txt::OptionsHideTools));
  auto* grid = new QGridLayout(group);
  constexpr int kColumns = 3;
  int i = 0;
  for (ResultsTool tool : PageTools(results)) {
    auto* button = new QToolButton(group);
    button->setObjectName(QString::fromStdString(ToolKey(results, tool)));
    button->setText(QTxt(kToolCaptions[std::size_t(tool)]));
    button->setCheckable(true);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    bool hidden = edited_.ToolHidden(results, tool);
    if (tool == ResultsTool::ModelModifier) hidden = edited_.ModelModifierHidden(results);
    if (tool == ResultsTool::CurveArc) hidden = edited_.CurveArcHidden(results);
    button->setChecked(hidden);
    grid->addWidget(button, i / kColumns, i % kColumns);
    tools_.push_back({results, tool, button});
    ++i;
  }
  page->addWidget(group);
}

void OptionsDialog::AddSystemsPage(QVBoxLayout* page) {
  lock_ = new QCheckBox(QTxt(txt::OptionsLock));
  lock_->setObjectName("OptionsLock");
  lock_->setChecked(edited_.Locked());
  connect(lock_, &QCheckBox::toggled, this, &OptionsDialog::onLockToggled);
  page->addWidget(lock_);
  association_ = new QCheckBox(QTxt(txt::OptionsAssociation));
  association_->setObjectName("OptionsAssociation");
  association_->setEnabled(fileAssociation_.has_value());
  association_->setChecked(fileAssociation_ && fileAssociation_->Installed());
  page->addWidget(association_);
}

void OptionsDialog::AddFolder(QVBoxLayout* page) {
  folder_ = new QLineEdit(QString::fromStdString(edited_.DefaultDirectory()));
  folder_->setObjectName("DefaultDirectory");
  folder_->setReadOnly(true);
  auto* change = new QPushButton(QTxt(txt::OptionsChange));
  auto* remove = new QPushButton(QTxt(txt::OptionsRemove));
  connect(change, &QPushButton::clicked, this, [this] {
    const QString folder =
        QFileDialog::getExistingDirectory(this, QTxt(txt::OptionsDefaultFolder), folder_->text());
    if (!folder.isEmpty()) folder_->setText(folder);
  });
  connect(remove, &QPushButton::clicked, folder_, &QLineEdit::clear);
  auto* row = new QHBoxLayout;
  row->addWidget(folder_, 1);
  row->addWidget(change);
  row->addWidget(remove);
  page->addWidget(new QLabel(QTxt(txt::OptionsDefaultFolder)));
  page->addLayout(row);
}

void OptionsDialog::onLockToggled(bool checked) {
  if (!checked) {
    edited_.SetLocked(false);
    return;
  }
  if (edited_.AskNewPassword()) {
    edited_.SetLocked(true);
    return;
  }
  // No password given: the box goes back unchecked without asking again.
  QSignalBlocker quiet(lock_);
  lock_->setChecked(false);
}

void OptionsDialog::CopyControls() {
  for (const auto& control : bools_) edited_.SetFlag(control.option, control.box->isChecked());
  for (const auto& control : ints_) {
    if (control.list) edited_.SetValue(control.option, control.list->currentIndex());
    if (control.spin && control.spin->value() != control.shown)
      edited_.SetValue(control.option, control.spin->value());
  }
  for (const auto& control : tools_)
    edited_.SetToolHidden(control.page, control.tool, control.button->isChecked());
  edited_.SetDefaultDirectory(folder_->text().toStdString());
}

std::optional<OptionsClosing> OptionsDialog::Execute(
    const std::function<void()>& markResultsStale) {
  if (exec() != QDialog::Accepted) return std::nullopt;
  CopyControls();
  return CloseOptions(options_, edited_, association_->isChecked(), fileAssociation_,
                      QCoreApplication::applicationFilePath().toStdString(), markResultsStale);
}

}  // namespace kinovia
