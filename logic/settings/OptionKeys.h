#pragma once
// The keys of the options file and their defaults, in the order the options object holds them.
#include <array>
#include <cstddef>
#include <string_view>

namespace kinovia {

// The boolean preferences, named after what they switch.
enum class BoolOption : std::size_t {
  ConfirmationQuit,
  ConfirmationFileChange,
  ChangeFormulae,
  FreezeMru,
  SmoothAcceleration,
  Acceleration,
  Speed,
  GridShowSpeed,
  GridShowAcceleration,
  TimeZoomX,
  TimeZoomY,
  TimePolyline,
  TimeShowItem,
  TrajectoryNumber,
  TrajectoryPolyline,
  TrajectoryShowItem,
  VectorNumber,
  VectorDraw,
  VectorPolyline,
  VectorShowItem,
  FormulaZoomX,
  FormulaZoomY,
  FormulaOriginY,
  FormulaPolyline,
  ProfShowItem,
  FormulaShowItem,
  GridShowCoordinates,
  HideEdgeSpeed,
  HideEdgeAcceleration,
  AngleRadian,
  VectorOrigin,
  FormulaOriginX,
  VectorTilted,
  StartByZero,
  GridShowItem,
  ChangeDefaultObjectsName,
  ShowDialogBoxForHideImage,
  HorizAndVertScale,
  TempsEquation,
  TempsStatistics,
  FormulaEquation,
  FormulaStatistics,
  VectorVideoImage,
  AllowTracking,
  AllowMontage,
  AllowCapture,
  VectorSpline,
  DeformationBubble,
  ShowRadiusSearch,
  PolarQuantities,
  SmoothSpeed,
  GridShowPolarQuantities,
  AllowStudio,
  Count
};

struct BoolOptionKey {
  std::string_view key;
  bool byDefault;
};

inline constexpr std::array<BoolOptionKey, static_cast<std::size_t>(BoolOption::Count)> kPrefKeys{{
    {"CheckBox3ConfirmationQuit_Checked", true},
    {"CheckBox4ConfirmationFileChange_Checked", true},
    {"CheckBox5ChangeFormulae_Checked", true},
    {"CheckBox6FreezeMRU_Checked", false},
    {"CheckBox7SmoothAcceleration_Checked", true},
    {"CheckBox8Acceleration_Checked", true},
    {"CheckBox9Speed_Checked", true},
    {"CheckBox10GridShowSpeed_Checked", true},
    {"CheckBox11GridShowAcceleration_Checked", true},
    {"CheckBox12TimeZoomX_Checked", false},
    {"CheckBox13TimeZoomY_Checked", true},
    {"CheckBox14TimePolyline_Checked", true},
    {"CheckBox15TimeShowItem_Checked", true},
    {"CheckBox16TrajectoryNumber_Checked", true},
    {"CheckBox17TrajectoryPolyline_Checked", true},
    {"CheckBox18TrajectoryShowItem_Checked", true},
    {"CheckBox19VectorNumber_Checked", true},
    {"CheckBox20VectorDraw_Checked", true},
    {"CheckBox21VectorPolyline_Checked", false},
    {"CheckBox22VectorShowItem_Checked", true},
    {"CheckBox23FormulaZoomX_Checked", false},
    {"CheckBox24FormulaZoomY_Checked", true},
    {"CheckBox25FormulaOriginY_Checked", true},
    {"CheckBox26FormulaPolyline_Checked", true},
    {"CheckBox27ProfShowItem_Checked", true},
    {"CheckBox28FormulaShowItem_Checked", true},
    {"CheckBox29GridShowCoordinates_Checked", true},
    {"CheckBox30HideEdgeV_Checked", false},
    {"CheckBox31HideEdgeA_Checked", false},
    {"CheckBox32AngleRadian_Checked", false},
    {"CheckBox33VectorOrigin_Checked", true},
    {"CheckBox34FormulaOriginX_Checked", false},
    {"CheckBox35VectorTilted_Checked", true},
    {"CheckBox36StartByZero_Checked", false},
    {"CheckBox37GridShowItem_Checked", true},
    {"CheckBox38ChangeDefaultObjectsName_Checked", true},
    {"CheckBox40ShowDialogBoxForHideImage_Checked", true},
    {"CheckBox41HorizAndVertScale_Checked", false},
    {"CheckBox42TempsEquation_Checked", true},
    {"CheckBox43TempsStatistics_Checked", false},
    {"CheckBox44FormulaEquation_Checked", true},
    {"CheckBox45FormulaStatistics_Checked", false},
    {"CheckBox46VectorVideoImage_Checked", false},
    {"CheckBox47AllowTracking_Checked", true},
    {"CheckBox48AllowMontage_Checked", true},
    {"CheckBox49AllowCapture_Checked", true},
    {"CheckBox50VectorSpline_Checked", false},
    {"CheckBox51DeformationBubble_Checked", true},
    {"CheckBox52ShowRadiusSearch_Checked", true},
    {"CheckBox53PolarQuantities_Checked", true},
    {"CheckBox54SmoothSpeed_Checked", true},
    {"CheckBox57GridShowPolarQuantities_Checked", true},
    {"CheckBox58AllowStudio_Checked", true},
}};

// The integer preferences.
enum class IntOption : std::size_t {
  EditMru,
  Numerotation,
  NumerotationTsp,
  PenSize,
  PenSize4Graph,
  StudioShapeNumber,
  ShapeNumber,
  TrackingRadius,
  Language,        // a value of UserLanguage
  GraphNumbering,  // a value of GraphNumberPlace: where the trajectory pages number their points
  ValueBoxCorner,  // a value of ValueBoxCorner: where the graphs put their box of values
  Count
};

// The language the user chose for the window's texts; the desktop's locale decides by default.
enum class UserLanguage { Desktop = 0, Spanish = 1, English = 2 };

// Where the trajectory and vectors pages write the points' numbers.
enum class GraphNumberPlace { Below = 0, Right = 1 };

// The corner of the plot that holds a graph's box of values.
enum class ValueBoxCorner { None = 0, UpLeft = 1, UpRight = 2, DownLeft = 3, DownRight = 4 };

struct IntOptionKey {
  std::string_view key;
  int byDefault;
  int low;  // values outside [low, high] are brought to the nearer end on loading
  int high;
};

// "EditMRU_Value" keeps 0, which leaves the recent-files list as it is.
inline constexpr std::array<IntOptionKey, static_cast<std::size_t>(IntOption::Count)> kIntPrefKeys{{
    {"EditMRU_Value", 8, 0, 20},
    {"Numerotation_Value", 0, 0, 2},
    {"NumerotationTsp_Value", 0, 0, 2},
    {"PenSize_Value", 0, 0, 2},
    {"PenSize4Graph_Value", 0, 0, 2},
    {"StudioShapeNumber_Value", 0, 0, 2},
    {"ShapeNumber_Value", 0, 0, 2},
    {"TrackingRadius_Value", 40, 10, 100},
    {"Language_Value", 0, 0, 2},
    {"GraphNumbering_Value", 0, 0, 1},
    {"ValueBoxCorner_Value", 1, 1, 4},
}};

// The tool bars of the results window's graph pages.
enum class ResultsPage : std::size_t { Formulas, Time, Trajectory, Vectors, Count };

// The tools whose buttons can be hidden; a page offers only some of them.
enum class ResultsTool : std::size_t {
  ConstantModel,
  AffineModel,
  ProportionalModel,
  ParabolaModel,
  SinusoidModel,
  ExponentiallyDampedModel,
  LinearlyDampedModel,
  ExponentialModel,
  ModelModifier,
  Angle,
  Arc,
  Circle,
  CurveArc,
  Duplicate,
  Ellipse,
  Measure,
  Reticle,
  Segment,
  Selection,
  Direction,
  Spline,
  Delete,
  Vector,
  Video,
  Count
};

}  // namespace kinovia
