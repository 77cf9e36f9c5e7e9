#pragma once
// The computation of the results: the session's marks turned into times, positions, speeds,
// accelerations and polar quantities per object, in the fixed and in the transparent frame.
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "logic/results/Derivation.h"
#include "logic/results/Quantities.h"

namespace kinovia {

// The marks of one store as the session hands them over.
struct MarksData {
  std::vector<double> times;              // per row, seconds, increasing
  std::vector<std::vector<int>> frames;   // per object, per row: time index, -1 for no mark
  std::vector<std::vector<double>> x, y;  // per object, per row: frame fractions from the
                                          // origin, y upwards
};

// What the calibration gives the results.
struct Calibration {
  double sx = -1;       // metres per picture width; not > 0 when there is no scale
  double sy = -1;       // metres per picture height
  double theta = 0;     // rotation of the axes, radians (0 on the transparent)
  bool xDirect = true;  // false: the X axis points the other way
  bool yDirect = true;
  double interval = 0;  // seconds between two frames
};

// A point of a graph series: the two values and the point's number.
struct GraphPoint {
  double a = 0;
  double b = 0;
  int number = 0;
};

// The directions a component is measured along: the user's axes, or the picture's own
// directions, scaled but not rotated.
enum class Orientation { User = 0, Picture = 1 };

// A user variable as a column of the table, after the computed ones.
struct UserColumn {
  std::string symbol, unit, description;
  std::vector<double> values;  // one a row, the undefined value where it has none
};

// The results in one frame of reference.
class FrameResults {
 public:
  void MarkStale() { stale_ = true; }
  bool IsStale() const { return stale_; }

  // Times and positions. False, with the flag left set, when the scale is missing.
  bool Rebuild(const MarksData& marks, const Calibration& calibration);
  // Speeds, accelerations and polar quantities, smoothed as the flags ask. The first failure stops
  // the work; a table without objects gives DerivationStatus::NoObject.
  DerivationStatus ComputeDerivatives(DerivationFlags flags);

  int ObjectCount() const { return objects_; }
  int RowCount() const { return static_cast<int>(times_.size()); }
  double CellValue(Orientation orientation, int object, QuantityKind kind, int row) const;
  std::vector<double> ColumnArray(int object, QuantityKind kind) const;
  double TimeAt(int row) const;
  const std::vector<double>& Times() const { return times_; }
  std::vector<int> RowNumbers() const;
  int MarkedTimeIndex(int object, int row) const;
  std::vector<int> TimeIndices(int object) const;
  int MarkCount(int object) const;
  // False outside the table: MarkedTimeIndex answers 0 there, which would pass for a mark.
  bool HasMark(int object, int row) const {
    return Inside(object, row) && MarkedTimeIndex(object, row) >= 0;
  }
  // First and last rows where the object has a mark; -1 when it has none.
  std::pair<int, int> MarkedRowSpan(int object) const;
  std::pair<double, double> PictureExtent() const { return {sx_, sy_}; }
  double ColumnMax(Orientation orientation, int object, QuantityKind kind) const;
  double ColumnMin(Orientation orientation, int object, QuantityKind kind) const;
  double ColumnMaxAll(Orientation orientation, QuantityKind kind) const;
  double ColumnMinAll(Orientation orientation, QuantityKind kind) const;
  std::vector<GraphPoint> SeriesForGraph(Orientation orientation, int object, QuantityKind kindA,
                                         QuantityKind kindB, bool numberFromZero) const;
  std::vector<GraphPoint> RelativeTrajectory(int b, int c, bool numberFromZero,
                                             Orientation orientation = Orientation::User) const;

  // The user's variables, evaluated on the rows of this table.
  void SetUserColumns(std::vector<UserColumn> columns) { userColumns_ = std::move(columns); }
  const std::vector<UserColumn>& UserColumns() const { return userColumns_; }

 private:
  // Cells sized without being filled: only the marked rows are written, and only they are read.
  class CellColumn {
   public:
    void Size(std::size_t cells);
    double& operator[](std::size_t k) { return data_[k]; }
    double operator[](std::size_t k) const { return data_[k]; }

   private:
    std::unique_ptr<double[]> data_;
    std::size_t capacity_ = 0;
  };
  // What the derivation keeps, in the picture's directions; the user's components, the
  // magnitudes and the radius are worked out when a cell is read.
  enum class Stored : std::uint8_t { Vx, Vy, Ax, Ay, Angle, AngularSpeed, Count };
  // What an object has been given by the last derivation; a cell of a part it lacks reads 0.
  struct Derived {
    bool kinematics = false;  // speeds and accelerations
    bool polar = false;
  };
  // What every cell of an object asks again and again, worked out once per rebuild.
  struct ObjectFacts {
    std::vector<int> rows;  // the rows where it has a mark, in order
    int first = -1, last = -1;
  };
  std::size_t Index(int object, int row) const;
  bool Inside(int object, int row) const;
  CellColumn& Cells(Stored stored) { return stored_[static_cast<std::size_t>(stored)]; }
  const CellColumn& Cells(Stored stored) const { return stored_[static_cast<std::size_t>(stored)]; }
  double MarkedCell(Orientation orientation, int object, QuantityKind kind, std::size_t k) const;
  double Component(Orientation orientation, bool first, double X, double Y) const;
  const std::vector<int>& MarkedRows(int object) const;
  void CopyMarks(const MarksData& marks);
  DerivationStatus DeriveObject(int object, DerivationFlags flags);
  void StorePolar(int object, const std::vector<int>& rows, DerivationFlags flags);
  void Rotate(double X, double Y, double& x0, double& y0) const;

  bool stale_ = true;
  bool positioned_ = false;  // the scale is known: positions can be read
  int objects_ = 0;
  double sx_ = 0, sy_ = 0;
  double cosTheta_ = 1, sinTheta_ = 0;
  Calibration calibration_;
  std::vector<double> times_;
  std::vector<int> frames_;                                                 // objects x rows
  CellColumn rawX_, rawY_;                                                  // objects x rows
  std::vector<ObjectFacts> facts_;                                          // per object
  std::vector<Derived> derived_;                                            // per object
  std::array<CellColumn, static_cast<std::size_t>(Stored::Count)> stored_;  // objects x rows
  std::vector<UserColumn> userColumns_;
};

// Which frame of reference an operation concerns.
enum class FrameSelector { Both = 0, Current = 1, Transparent = 2, Fixed = 3 };

// The results of both frames of reference; requests go to the one of the current working mode.
class ResultsComputation {
 public:
  // `transparentMode` tells whether the session works on the transparent now.
  explicit ResultsComputation(std::function<bool()> transparentMode)
      : transparentMode_(std::move(transparentMode)) {}

  FrameResults& Current() { return frameResults_[transparentMode_() ? 1 : 0]; }
  const FrameResults& Current() const { return frameResults_[transparentMode_() ? 1 : 0]; }
  FrameResults& Fixed() { return frameResults_[0]; }
  FrameResults& Transparent() { return frameResults_[1]; }

  void MarkStale(FrameSelector selector);
  bool IsStale(FrameSelector selector) const;
  // Rebuilds the selected frames from `source(transparent)`; true when all could be computed.
  bool Rebuild(FrameSelector selector,
               const std::function<std::pair<MarksData, Calibration>(bool)>& source);
  // True when every selected frame derived successfully.
  bool ComputeDerivatives(FrameSelector selector, DerivationFlags flags);

 private:
  template <class F>
  bool ForEach(FrameSelector selector, F&& f);

  std::function<bool()> transparentMode_;
  std::array<FrameResults, 2> frameResults_;
};

}  // namespace kinovia
