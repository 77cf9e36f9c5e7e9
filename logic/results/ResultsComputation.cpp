#include "logic/results/ResultsComputation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "logic/results/Derivation.h"

namespace kinovia {
namespace {

struct DerivedValues {
  DerivationStatus status = DerivationStatus::Ok;
  std::vector<double> first, second;
};

DerivedValues Derive(const std::vector<double>& abscissas, const std::vector<double>& values,
                     double interval, bool smooth) {
  Derivation deriv;
  deriv.SetData(abscissas, values, interval);
  DerivedValues d;
  d.status = deriv.Compute(smooth);
  d.first = deriv.First();
  d.second = deriv.Second();
  return d;
}

// Both coordinates of one derivative; the status is the first failure met.
struct DerivedPair {
  DerivationStatus status = DerivationStatus::Ok;
  DerivedValues x, y;
};

DerivedPair DerivePair(const std::vector<double>& a, const std::vector<double>& X,
                       const std::vector<double>& Y, double interval, bool smooth) {
  DerivedPair pair;
  pair.x = Derive(a, X, interval, smooth);
  pair.y = Derive(a, Y, interval, smooth);
  pair.status = pair.x.status != DerivationStatus::Ok ? pair.x.status : pair.y.status;
  return pair;
}

// Angles made continuous: a jump of pi or more between successive marks is a turn, not a leap.
std::vector<double> ContinuousAngles(const std::vector<double>& raw) {
  constexpr double pi = std::numbers::pi;
  std::vector<double> angles(raw.size());
  double offset = 0;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (i > 0 && raw[i] - raw[i - 1] >= pi) offset -= 2 * pi;
    if (i > 0 && raw[i] - raw[i - 1] <= -pi) offset += 2 * pi;
    angles[i] = raw[i] + offset;
  }
  return angles;
}

bool IsKnownKind(QuantityKind kind) {
  return QuantityInfoOf(kind) != nullptr && kind != QuantityKind::Time;
}

}  // namespace

void FrameResults::CellColumn::Size(std::size_t cells) {
  if (cells <= capacity_) return;
  data_ = std::make_unique_for_overwrite<double[]>(cells);
  capacity_ = cells;
}

std::size_t FrameResults::Index(int object, int row) const {
  return static_cast<std::size_t>(object) * times_.size() + static_cast<std::size_t>(row);
}

bool FrameResults::Inside(int object, int row) const {
  return object >= 0 && object < objects_ && row >= 0 && row < RowCount();
}

void FrameResults::Rotate(double X, double Y, double& x0, double& y0) const {
  const double c = cosTheta_, s = sinTheta_;
  x0 = X * c + Y * s;
  y0 = Y * c - X * s;
  if (!calibration_.xDirect) x0 = -x0;
  if (!calibration_.yDirect) y0 = -y0;
}

// One component of a vector given along the picture's directions.
double FrameResults::Component(Orientation orientation, bool first, double X, double Y) const {
  if (orientation == Orientation::Picture) return first ? X : Y;
  double x0 = 0, y0 = 0;
  Rotate(X, Y, x0, y0);
  return first ? x0 : y0;
}

bool FrameResults::Rebuild(const MarksData& marks, const Calibration& calibration) {
  calibration_ = calibration;
  cosTheta_ = std::cos(calibration.theta);
  sinTheta_ = std::sin(calibration.theta);
  sx_ = calibration.sx;
  sy_ = calibration.sy;
  times_ = marks.times;
  objects_ = static_cast<int>(marks.frames.size());
  derived_.assign(static_cast<std::size_t>(objects_), {});
  CopyMarks(marks);
  positioned_ = sx_ > 0 && sy_ > 0;
  if (!positioned_) return false;
  stale_ = false;
  return true;
}

void FrameResults::CopyMarks(const MarksData& marks) {
  const std::size_t size = static_cast<std::size_t>(objects_) * times_.size();
  frames_.assign(size, -1);
  rawX_.Size(size);
  rawY_.Size(size);
  facts_.assign(static_cast<std::size_t>(objects_), {});
  for (int o = 0; o < objects_; ++o) {
    const auto object = static_cast<std::size_t>(o);
    const std::size_t rows = std::min(times_.size(), marks.frames[object].size());
    ObjectFacts& facts = facts_[object];
    for (std::size_t row = 0; row < rows; ++row) {
      const std::size_t k = Index(o, static_cast<int>(row));
      frames_[k] = marks.frames[object][row];
      rawX_[k] = row < marks.x[object].size() ? marks.x[object][row] : 0;
      rawY_[k] = row < marks.y[object].size() ? marks.y[object][row] : 0;
      if (frames_[k] >= 0) facts.rows.push_back(static_cast<int>(row));
    }
    if (!facts.rows.empty()) {
      facts.first = facts.rows.front();
      facts.last = facts.rows.back();
    }
  }
}

DerivationStatus FrameResults::ComputeDerivatives(DerivationFlags flags) {
  DerivationStatus status = DerivationStatus::NoObject;
  derived_.assign(static_cast<std::size_t>(objects_), {});
  for (auto& column : stored_) column.Size(frames_.size());
  for (int o = 0; o < objects_; ++o) {
    status = DeriveObject(o, flags);
    if (status != DerivationStatus::Ok) break;
  }
  return status;
}

// A failure of either derivation abandons the object: zeros must never pass for accelerations.
DerivationStatus FrameResults::DeriveObject(int object, DerivationFlags flags) {
  const std::vector<int>& rows = facts_[static_cast<std::size_t>(object)].rows;
  std::vector<double> a, X, Y;
  a.reserve(rows.size());
  X.reserve(rows.size());
  Y.reserve(rows.size());
  for (int i : rows) {
    a.push_back(frames_[Index(object, i)]);
    X.push_back(rawX_[Index(object, i)]);
    Y.push_back(rawY_[Index(object, i)]);
  }
  const double T = calibration_.interval;
  const bool smoothSpeed = flags.Contains(DerivationFlag::SmoothSpeed);
  const bool smoothAcceleration = flags.Contains(DerivationFlag::SmoothAcceleration);
  const DerivedPair speeds = DerivePair(a, X, Y, T, smoothSpeed);
  // The same derivation gives both when both are smoothed alike: it is the costly part.
  DerivedPair ownAccelerations;
  if (smoothAcceleration != smoothSpeed)
    ownAccelerations = DerivePair(a, X, Y, T, smoothAcceleration);
  const DerivedPair& accelerations = smoothAcceleration == smoothSpeed ? speeds : ownAccelerations;
  if (speeds.status != DerivationStatus::Ok) return speeds.status;
  if (accelerations.status != DerivationStatus::Ok) return accelerations.status;
  const auto store = [&](const std::vector<double>& dX, const std::vector<double>& dY, Stored kx,
                         Stored ky) {
    for (std::size_t j = 0; j < rows.size(); ++j) {
      const std::size_t k = Index(object, rows[j]);
      Cells(kx)[k] = dX[j] * sx_;
      Cells(ky)[k] = dY[j] * sy_;
    }
  };
  store(speeds.x.first, speeds.y.first, Stored::Vx, Stored::Vy);
  store(accelerations.x.second, accelerations.y.second, Stored::Ax, Stored::Ay);
  derived_[static_cast<std::size_t>(object)].kinematics = true;
  StorePolar(object, rows, flags);
  return DerivationStatus::Ok;
}

void FrameResults::StorePolar(int object, const std::vector<int>& rows, DerivationFlags flags) {
  if (rows.empty()) return;
  std::vector<double> a, raw;
  a.reserve(rows.size());
  raw.reserve(rows.size());
  for (int i : rows) {
    a.push_back(frames_[Index(object, i)]);
    raw.push_back(std::atan2(CellValue(Orientation::User, object, QuantityKind::Y, i),
                             CellValue(Orientation::User, object, QuantityKind::X, i)));
  }
  const std::vector<double> angles = ContinuousAngles(raw);
  const DerivedValues w =
      Derive(a, angles, calibration_.interval, flags.Contains(DerivationFlag::SmoothSpeed));
  if (w.status != DerivationStatus::Ok) return;
  for (std::size_t j = 0; j < rows.size(); ++j) {
    const std::size_t k = Index(object, rows[j]);
    Cells(Stored::Angle)[k] = angles[j];
    Cells(Stored::AngularSpeed)[k] = w.first[j];
  }
  derived_[static_cast<std::size_t>(object)].polar = true;
}

double FrameResults::CellValue(Orientation orientation, int object, QuantityKind kind,
                               int row) const {
  if (kind == QuantityKind::Time) return TimeAt(row);
  if (!IsKnownKind(kind) || !Inside(object, row)) return 0;
  const std::size_t k = Index(object, row);
  // A row without a mark has no value in any column.
  return frames_[k] < 0 ? 0 : MarkedCell(orientation, object, kind, k);
}

double FrameResults::MarkedCell(Orientation orientation, int object, QuantityKind kind,
                                std::size_t k) const {
  const Derived& derived = derived_[static_cast<std::size_t>(object)];
  const auto vector = [&](Stored x, Stored y, QuantityKind first, QuantityKind magnitude) {
    if (!derived.kinematics) return 0.0;
    const double X = Cells(x)[k], Y = Cells(y)[k];
    return kind == magnitude ? std::hypot(X, Y) : Component(orientation, kind == first, X, Y);
  };
  switch (kind) {
    case QuantityKind::X:
    case QuantityKind::Y:
      if (!positioned_) return 0;
      return Component(orientation, kind == QuantityKind::X, rawX_[k] * sx_, rawY_[k] * sy_);
    case QuantityKind::Vx:
    case QuantityKind::Vy:
    case QuantityKind::V:
      return vector(Stored::Vx, Stored::Vy, QuantityKind::Vx, QuantityKind::V);
    case QuantityKind::Ax:
    case QuantityKind::Ay:
    case QuantityKind::A:
      return vector(Stored::Ax, Stored::Ay, QuantityKind::Ax, QuantityKind::A);
    case QuantityKind::Angle:
      return derived.polar ? Cells(Stored::Angle)[k] : 0;
    case QuantityKind::AngularSpeed:
      return derived.polar ? Cells(Stored::AngularSpeed)[k] : 0;
    case QuantityKind::Radius: {
      if (!derived.polar) return 0;
      double x0 = 0, y0 = 0;
      Rotate(rawX_[k] * sx_, rawY_[k] * sy_, x0, y0);
      return positioned_ ? std::hypot(x0, y0) : 0;
    }
    default:
      return 0;
  }
}

std::vector<double> FrameResults::ColumnArray(int object, QuantityKind kind) const {
  std::vector<double> values(times_.size(), 0);
  for (int i = 0; i < RowCount(); ++i)
    values[static_cast<std::size_t>(i)] = CellValue(Orientation::User, object, kind, i);
  return values;
}

double FrameResults::TimeAt(int row) const {
  return row >= 0 && row < RowCount() ? times_[static_cast<std::size_t>(row)] : 0;
}

std::vector<int> FrameResults::RowNumbers() const {
  std::vector<int> numbers(times_.size());
  for (std::size_t i = 0; i < numbers.size(); ++i) numbers[i] = static_cast<int>(i);
  return numbers;
}

int FrameResults::MarkedTimeIndex(int object, int row) const {
  return Inside(object, row) ? frames_[Index(object, row)] : 0;
}

std::vector<int> FrameResults::TimeIndices(int object) const {
  std::vector<int> indices;
  if (object < 0 || object >= objects_) return indices;
  for (int i = 0; i < RowCount(); ++i) indices.push_back(frames_[Index(object, i)]);
  return indices;
}

const std::vector<int>& FrameResults::MarkedRows(int object) const {
  static const std::vector<int> none;
  return object >= 0 && object < objects_ ? facts_[static_cast<std::size_t>(object)].rows : none;
}

int FrameResults::MarkCount(int object) const {
  return static_cast<int>(MarkedRows(object).size());
}

std::pair<int, int> FrameResults::MarkedRowSpan(int object) const {
  if (object < 0 || object >= objects_) return {-1, -1};
  const ObjectFacts& facts = facts_[static_cast<std::size_t>(object)];
  return {facts.first, facts.last};
}

double FrameResults::ColumnMax(Orientation orientation, int object, QuantityKind kind) const {
  double best = -1e100;
  for (int i : MarkedRows(object)) best = std::max(best, CellValue(orientation, object, kind, i));
  return best;
}

double FrameResults::ColumnMin(Orientation orientation, int object, QuantityKind kind) const {
  double best = 1e100;
  for (int i : MarkedRows(object)) best = std::min(best, CellValue(orientation, object, kind, i));
  return best;
}

double FrameResults::ColumnMaxAll(Orientation orientation, QuantityKind kind) const {
  double best = -1e100;
  for (int o = 0; o < objects_; ++o) best = std::max(best, ColumnMax(orientation, o, kind));
  return best;
}

double FrameResults::ColumnMinAll(Orientation orientation, QuantityKind kind) const {
  double best = 1e100;
  for (int o = 0; o < objects_; ++o) best = std::min(best, ColumnMin(orientation, o, kind));
  return best;
}

std::vector<GraphPoint> FrameResults::SeriesForGraph(Orientation orientation, int object,
                                                     QuantityKind kindA, QuantityKind kindB,
                                                     bool numberFromZero) const {
  std::vector<GraphPoint> points;
  points.reserve(MarkedRows(object).size());
  for (int i : MarkedRows(object)) {
    points.push_back({CellValue(orientation, object, kindA, i),
                      CellValue(orientation, object, kindB, i), numberFromZero ? i : i + 1});
  }
  return points;
}

std::vector<GraphPoint> FrameResults::RelativeTrajectory(int b, int c, bool numberFromZero,
                                                         Orientation orientation) const {
  std::vector<GraphPoint> points;
  for (int i : MarkedRows(b)) {
    if (c >= 0 && !HasMark(c, i)) continue;
    double x = CellValue(orientation, b, QuantityKind::X, i);
    double y = CellValue(orientation, b, QuantityKind::Y, i);
    if (c >= 0) {
      x -= CellValue(orientation, c, QuantityKind::X, i);
      y -= CellValue(orientation, c, QuantityKind::Y, i);
    }
    points.push_back({x, y, numberFromZero ? i : i + 1});
  }
  return points;
}

template <class F>
bool ResultsComputation::ForEach(FrameSelector selector, F&& f) {
  switch (selector) {
    case FrameSelector::Both: {
      const bool fixed = f(frameResults_[0], false);
      const bool transparent = f(frameResults_[1], true);
      return fixed && transparent;
    }
    case FrameSelector::Current:
      return f(Current(), transparentMode_());
    case FrameSelector::Transparent:
      return f(frameResults_[1], true);
    case FrameSelector::Fixed:
      return f(frameResults_[0], false);
  }
  return false;
}

void ResultsComputation::MarkStale(FrameSelector selector) {
  ForEach(selector, [](FrameResults& c, bool) {
    c.MarkStale();
    return true;
  });
}

bool ResultsComputation::IsStale(FrameSelector selector) const {
  switch (selector) {
    case FrameSelector::Both:
      return frameResults_[0].IsStale() || frameResults_[1].IsStale();
    case FrameSelector::Current:
      return Current().IsStale();
    case FrameSelector::Transparent:
      return frameResults_[1].IsStale();
    case FrameSelector::Fixed:
      return frameResults_[0].IsStale();
  }
  return true;
}

bool ResultsComputation::Rebuild(
    FrameSelector selector, const std::function<std::pair<MarksData, Calibration>(bool)>& source) {
  return ForEach(selector, [&](FrameResults& c, bool transparent) {
    const auto [marks, calibration] = source(transparent);
    return c.Rebuild(marks, calibration);
  });
}

bool ResultsComputation::ComputeDerivatives(FrameSelector selector, DerivationFlags flags) {
  return ForEach(selector, [flags](FrameResults& c, bool) {
    return c.ComputeDerivatives(flags) == DerivationStatus::Ok;
  });
}

}  // namespace kinovia
