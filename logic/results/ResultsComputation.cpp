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

// The components; magnitudes and polar quantities do not depend on the orientation.
constexpr QuantitySet kOrientedKinds{QuantityKind::X,  QuantityKind::Y,  QuantityKind::Vx,
                                     QuantityKind::Vy, QuantityKind::Ax, QuantityKind::Ay};

}  // namespace

std::size_t FrameResults::Index(int object, int row) const {
  return static_cast<std::size_t>(object) * times_.size() + static_cast<std::size_t>(row);
}

bool FrameResults::Inside(int object, int row) const {
  return object >= 0 && object < objects_ && row >= 0 && row < RowCount();
}

FrameResults::ColumnValues& FrameResults::Values(Orientation orientation, QuantityKind kind) {
  return values_[static_cast<std::size_t>(orientation)][Underlying(kind)];
}

FrameResults::ColumnValues* FrameResults::Column(Orientation orientation, QuantityKind kind) {
  if (!IsKnownKind(kind)) return nullptr;
  return &Values(kOrientedKinds.Contains(kind) ? orientation : Orientation::User, kind);
}

const FrameResults::ColumnValues* FrameResults::Column(Orientation orientation,
                                                       QuantityKind kind) const {
  return const_cast<FrameResults*>(this)->Column(orientation, kind);
}

void FrameResults::Rotate(double X, double Y, double& x0, double& y0) const {
  const double c = std::cos(calibration_.theta), s = std::sin(calibration_.theta);
  x0 = X * c + Y * s;
  y0 = Y * c - X * s;
  if (!calibration_.xDirect) x0 = -x0;
  if (!calibration_.yDirect) y0 = -y0;
}

bool FrameResults::Rebuild(const MarksData& marks, const Calibration& calibration) {
  calibration_ = calibration;
  times_ = marks.times;
  objects_ = static_cast<int>(marks.frames.size());
  const std::size_t size = static_cast<std::size_t>(objects_) * times_.size();
  frames_.assign(size, -1);
  rawX_.assign(size, 0);
  rawY_.assign(size, 0);
  for (auto& orientation : values_)
    for (auto& column : orientation) column.assign(size, 0);
  sx_ = calibration.sx;
  sy_ = calibration.sy;
  for (int o = 0; o < objects_; ++o) {
    const auto object = static_cast<std::size_t>(o);
    for (int i = 0; i < RowCount(); ++i) {
      const auto row = static_cast<std::size_t>(i);
      if (row >= marks.frames[object].size()) break;
      frames_[Index(o, i)] = marks.frames[object][row];
      rawX_[Index(o, i)] = row < marks.x[object].size() ? marks.x[object][row] : 0;
      rawY_[Index(o, i)] = row < marks.y[object].size() ? marks.y[object][row] : 0;
    }
  }
  if (!(sx_ > 0) || !(sy_ > 0)) return false;
  for (std::size_t k = 0; k < size; ++k) {
    if (frames_[k] < 0) continue;
    const double X = rawX_[k] * sx_, Y = rawY_[k] * sy_;
    Values(Orientation::Picture, QuantityKind::X)[k] = X;
    Values(Orientation::Picture, QuantityKind::Y)[k] = Y;
    Rotate(X, Y, Values(Orientation::User, QuantityKind::X)[k],
           Values(Orientation::User, QuantityKind::Y)[k]);
  }
  stale_ = false;
  return true;
}

std::vector<int> FrameResults::MarkedRows(int object) const {
  std::vector<int> rows;
  for (int i = 0; i < RowCount(); ++i)
    if (frames_[Index(object, i)] >= 0) rows.push_back(i);
  return rows;
}

DerivationStatus FrameResults::ComputeDerivatives(DerivationFlags flags) {
  DerivationStatus status = DerivationStatus::NoObject;
  for (int o = 0; o < objects_; ++o) {
    status = DeriveObject(o, flags);
    if (status != DerivationStatus::Ok) break;
  }
  return status;
}

// A failure of either derivation abandons the object: zeros must never pass for accelerations.
DerivationStatus FrameResults::DeriveObject(int object, DerivationFlags flags) {
  const std::vector<int> rows = MarkedRows(object);
  std::vector<double> a, X, Y;
  for (int i : rows) {
    a.push_back(frames_[Index(object, i)]);
    X.push_back(rawX_[Index(object, i)]);
    Y.push_back(rawY_[Index(object, i)]);
  }
  const double T = calibration_.interval;
  const DerivedPair speeds = DerivePair(a, X, Y, T, flags.Contains(DerivationFlag::SmoothSpeed));
  const DerivedPair accelerations =
      DerivePair(a, X, Y, T, flags.Contains(DerivationFlag::SmoothAcceleration));
  if (speeds.status != DerivationStatus::Ok) return speeds.status;
  if (accelerations.status != DerivationStatus::Ok) return accelerations.status;
  const auto store = [&](const std::vector<double>& dX, const std::vector<double>& dY,
                         QuantityKind kx, QuantityKind ky, QuantityKind kv) {
    for (std::size_t j = 0; j < rows.size(); ++j) {
      const std::size_t k = Index(object, rows[j]);
      const double vX = dX[j] * sx_, vY = dY[j] * sy_;
      Values(Orientation::Picture, kx)[k] = vX;
      Values(Orientation::Picture, ky)[k] = vY;
      Values(Orientation::User, kv)[k] = std::hypot(vX, vY);
      Rotate(vX, vY, Values(Orientation::User, kx)[k], Values(Orientation::User, ky)[k]);
    }
  };
  store(speeds.x.first, speeds.y.first, QuantityKind::Vx, QuantityKind::Vy, QuantityKind::V);
  store(accelerations.x.second, accelerations.y.second, QuantityKind::Ax, QuantityKind::Ay,
        QuantityKind::A);
  StorePolar(object, rows, flags);
  return DerivationStatus::Ok;
}

void FrameResults::StorePolar(int object, const std::vector<int>& rows, DerivationFlags flags) {
  if (rows.empty()) return;
  std::vector<double> a, raw, radius;
  for (int i : rows) {
    const std::size_t k = Index(object, i);
    const double x0 = Values(Orientation::User, QuantityKind::X)[k];
    const double y0 = Values(Orientation::User, QuantityKind::Y)[k];
    a.push_back(frames_[k]);
    raw.push_back(std::atan2(y0, x0));
    radius.push_back(std::hypot(x0, y0));
  }
  const std::vector<double> angles = ContinuousAngles(raw);
  const DerivedValues w =
      Derive(a, angles, calibration_.interval, flags.Contains(DerivationFlag::SmoothSpeed));
  if (w.status != DerivationStatus::Ok) return;
  for (std::size_t j = 0; j < rows.size(); ++j) {
    const std::size_t k = Index(object, rows[j]);
    Values(Orientation::User, QuantityKind::Angle)[k] = angles[j];
    Values(Orientation::User, QuantityKind::Radius)[k] = radius[j];
    Values(Orientation::User, QuantityKind::AngularSpeed)[k] = w.first[j];
  }
}

double FrameResults::CellValue(Orientation orientation, int object, QuantityKind kind,
                               int row) const {
  if (kind == QuantityKind::Time) return TimeAt(row);
  const ColumnValues* column = Column(orientation, kind);
  if (!column || !Inside(object, row)) return 0;
  return (*column)[Index(object, row)];
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

int FrameResults::MarkCount(int object) const {
  if (object < 0 || object >= objects_) return 0;
  return static_cast<int>(MarkedRows(object).size());
}

std::pair<int, int> FrameResults::MarkedRowSpan(int object) const {
  int first = -1, last = -1;
  for (int i = 0; object >= 0 && object < objects_ && i < RowCount(); ++i) {
    if (frames_[Index(object, i)] < 0) continue;
    if (first < 0) first = i;
    last = i;
  }
  return {first, last};
}

double FrameResults::ColumnMax(Orientation orientation, int object, QuantityKind kind) const {
  double best = -1e100;
  for (int i = 0; i < RowCount(); ++i)
    if (HasMark(object, i)) best = std::max(best, CellValue(orientation, object, kind, i));
  return best;
}

double FrameResults::ColumnMin(Orientation orientation, int object, QuantityKind kind) const {
  double best = 1e100;
  for (int i = 0; i < RowCount(); ++i)
    if (HasMark(object, i)) best = std::min(best, CellValue(orientation, object, kind, i));
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
  for (int i = 0; i < RowCount(); ++i) {
    if (!HasMark(object, i)) continue;
    points.push_back({CellValue(orientation, object, kindA, i),
                      CellValue(orientation, object, kindB, i), numberFromZero ? i : i + 1});
  }
  return points;
}

std::vector<GraphPoint> FrameResults::RelativeTrajectory(int b, int c, bool numberFromZero) const {
  std::vector<GraphPoint> points;
  for (int i = 0; i < RowCount(); ++i) {
    if (!HasMark(b, i) || (c >= 0 && !HasMark(c, i))) continue;
    double x = CellValue(Orientation::User, b, QuantityKind::X, i);
    double y = CellValue(Orientation::User, b, QuantityKind::Y, i);
    if (c >= 0) {
      x -= CellValue(Orientation::User, c, QuantityKind::X, i);
      y -= CellValue(Orientation::User, c, QuantityKind::Y, i);
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
