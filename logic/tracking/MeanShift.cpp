#include "logic/tracking/MeanShift.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/Numbers.h"

namespace kinovia {
namespace {

constexpr double kTiny = 1e-100;
constexpr int kMaxBinsPerAxis = 40;  // keeps every bin and the slot beyond in 16 bits

// A shift rounded to whole pixels. Sums over a symmetric window leave a last-bit error, and a
// target centred on the window's middle pixel, exactly half a pixel from the reference, must
// round the same way (to even) whichever way that error went.
int RoundShift(double shift) { return RoundToInt(std::round(shift * 1e9) / 1e9); }

}  // namespace

// The bin of every 24-bit colour, filled as colours are met: a frame's pixels repeat the same
// few thousand colours, and the conversion's cube root would otherwise dominate the search. The
// table is allocated zeroed by the system, so only the pages of colours met take memory.
struct MeanShift::BinCache {
  static constexpr std::size_t kColours = std::size_t{1} << 24;
  std::uint16_t* table = static_cast<std::uint16_t*>(std::calloc(kColours, sizeof(std::uint16_t)));
  BinCache() = default;
  BinCache(const BinCache&) = delete;
  BinCache& operator=(const BinCache&) = delete;
  ~BinCache() { std::free(table); }
};

MeanShift::MeanShift() : cache_(std::make_unique<BinCache>()) { SetBinCount(kTrackerBins); }

MeanShift::~MeanShift() = default;
MeanShift::MeanShift(MeanShift&&) noexcept = default;
MeanShift& MeanShift::operator=(MeanShift&&) noexcept = default;

void MeanShift::SetSearchRadius(int radius) {
  radius_ = std::clamp(radius, kMinRadius, kMaxRadius);
}

void MeanShift::SetBanZones(std::span<const std::vector<PointD>> zones, int height, int width) {
  banned_.clear();
  banWidth_ = std::max(width, 0);
  banHeight_ = std::max(height, 0);
  for (const auto& zone : zones) {
    const PolygonMask mask = RasterisePolygon(ToPicturePixels(zone, banWidth_, banHeight_));
    if (mask.Empty()) continue;
    if (banned_.empty()) banned_.assign(static_cast<std::size_t>(banWidth_) * banHeight_, 0);
    const int top = std::max(mask.top, 0);
    const int bottom = std::min(mask.top + mask.height, banHeight_);
    const int left = std::max(mask.left, 0);
    const int right = std::min(mask.left + mask.width, banWidth_);
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x)
        if (mask.Inside(x, y)) banned_[static_cast<std::size_t>(y) * banWidth_ + x] = 1;
  }
}

bool MeanShift::BuildModel(RgbView frame, std::span<const PointD> contour, PointI& start) {
  PolygonMask mask = RasterisePolygon(ToPicturePixels(contour, frame.width, frame.height));
  if (mask.Empty() || frame.pixels == nullptr) return false;
  std::vector<std::uint8_t> picture(mask.inside.size() * 3, 0);
  double sumX = 0;
  double sumY = 0;
  int count = 0;
  for (int row = 0; row < mask.height; ++row) {
    for (int col = 0; col < mask.width; ++col) {
      const std::size_t cell = static_cast<std::size_t>(row) * mask.width + col;
      const int x = mask.left + col;
      const int y = mask.top + row;
      // Cells beyond the frame have no colour to learn.
      if (x < 0 || y < 0 || x >= frame.width || y >= frame.height) mask.inside[cell] = 0;
      if (!mask.inside[cell]) continue;
      const std::uint8_t* pixel =
          frame.pixels + (static_cast<std::size_t>(y) * frame.width + x) * 3;
      std::copy(pixel, pixel + 3, picture.begin() + static_cast<std::ptrdiff_t>(cell * 3));
      sumX += col;
      sumY += row;
      ++count;
    }
  }
  if (count == 0) return false;
  model_ = std::move(mask);
  modelPicture_ = std::move(picture);
  start = {RoundToInt(sumX / count + model_.left), RoundToInt(sumY / count + model_.top)};
  return true;
}

void MeanShift::SetBinCount(int perAxis) {
  const int n = std::clamp(perAxis, 1, kMaxBinsPerAxis);
  if (n == bins_.PerAxis() && !target_.empty()) return;
  bins_ = HistogramBins(n);
  cache_ = std::make_unique<BinCache>();
  const auto slots = static_cast<std::size_t>(bins_.Count()) + 1;
  target_.assign(slots, 0.0);
  candidate_.Resize(slots, 0.0);
  background_.Resize(slots, 0.0);
  binWeights_.Resize(slots, -1.0);
}

int MeanShift::PixelBin(const std::uint8_t* rgb) const {
  const std::size_t key = (std::size_t{rgb[0]} << 16) | (std::size_t{rgb[1]} << 8) | rgb[2];
  std::uint16_t& known = cache_->table[key];
  if (known == 0)
    known = static_cast<std::uint16_t>(bins_.BinOf(RgbToLuv({rgb[0], rgb[1], rgb[2]})) + 1);
  return known - 1;
}

void MeanShift::ComputeTargetHistogram() {
  // Every inside pixel counts alike: the model is the contour's colours, not its centre's.
  std::fill(target_.begin(), target_.end(), 0.0);
  double count = 0;
  for (std::size_t cell = 0; cell < model_.inside.size(); ++cell) {
    if (!model_.inside[cell]) continue;
    target_[static_cast<std::size_t>(PixelBin(&modelPicture_[cell * 3]))] += 1.0;
    count += 1.0;
  }
  if (count > 0)
    for (double& h : target_) h /= count;
  target_.back() = 0;
  const auto empty = std::find(target_.begin(), target_.end() - 1, 0.0);
  absent_ = empty == target_.end() - 1
                ? Rgb{255, 255, 255}
                : LuvToRgb(bins_.CentreOf(static_cast<int>(empty - target_.begin())));
}

int MeanShift::WindowSide() const {
  const int larger = std::max(model_.width, model_.height);
  return std::max(static_cast<int>(1.2 * larger), 2 * radius_ + 1);
}

void MeanShift::FillWindow(RgbView frame, PointI position, int side) {
  const auto excluded = static_cast<std::uint16_t>(bins_.Count());
  window_.assign(static_cast<std::size_t>(side) * side, excluded);
  const int left = position.x - side / 2;
  const int top = position.y - side / 2;
  const bool banChecked =
      !banned_.empty() && banWidth_ == frame.width && banHeight_ == frame.height;
  const int firstCol = std::max(0, -left);
  const int endCol = std::min(side, frame.width - left);
  for (int row = 0; row < side; ++row) {
    const int y = top + row;
    if (y < 0 || y >= frame.height) continue;
    const std::uint8_t* line = frame.pixels + static_cast<std::size_t>(y) * frame.width * 3;
    const std::uint8_t* ban =
        banChecked ? banned_.data() + static_cast<std::size_t>(y) * banWidth_ : nullptr;
    std::uint16_t* out = window_.data() + static_cast<std::size_t>(row) * side;
    for (int col = firstCol; col < endCol; ++col) {
      const int x = left + col;
      if (ban && ban[x]) continue;
      out[col] = static_cast<std::uint16_t>(PixelBin(line + static_cast<std::size_t>(x) * 3));
    }
  }
}

void MeanShift::SparseBins::Resize(std::size_t slots, double empty) {
  value.assign(slots, empty);
  used.clear();
  used.reserve(slots);
}

double& MeanShift::SparseBins::At(std::uint16_t bin, double empty) {
  double& v = value[bin];
  if (v == empty) used.push_back(bin);
  return v;
}

void MeanShift::SparseBins::Clear(double empty) {
  for (const std::uint16_t bin : used) value[bin] = empty;
  used.clear();
}

// Counted here; a bin's weight is 1 / count, or 1 for colours the corners do not hold.
void MeanShift::ComputeBackgroundWeights(int side) {
  const double centre = (side - 1) / 2.0;
  const double hx = (model_.width / 2) * 1.2;
  const double hy = (model_.height / 2) * 1.2;
  const int colFrom = static_cast<int>(centre - hx);
  const int colTo = static_cast<int>(centre + hx);
  const int rowFrom = static_cast<int>(centre - hy);
  const int rowTo = static_cast<int>(centre + hy);
  background_.Clear(0.0);
  for (int row = 0; row < side; ++row) {
    if (row >= rowFrom && row <= rowTo) continue;
    const std::uint16_t* line = window_.data() + static_cast<std::size_t>(row) * side;
    for (int col = 0; col < side; ++col)
      if (col < colFrom || col > colTo) background_.At(line[col], 0.0) += 1.0;
  }
}

void MeanShift::ComputeCandidate(int side) {
  candidate_.Clear(0.0);
  candidateSum_ = 0;
  const double centre = (side - 1) / 2.0;
  const double spread = 2 * centre * centre;
  // A one-pixel window has no kernel: its histogram stays empty.
  if (spread == 0) return;
  for (int row = 0; row < side; ++row) {
    const std::uint16_t* line = window_.data() + static_cast<std::size_t>(row) * side;
    const double dr = row - centre;
    for (int col = 0; col < side; ++col) {
      const double dc = col - centre;
      const double k = 1.0 - (dr * dr + dc * dc) / spread;
      if (k <= 0) continue;
      candidate_.At(line[col], 0.0) += k;
      candidateSum_ += k;
    }
  }
}

bool MeanShift::ComputeShift(int side, PointI corner, double& dx, double& dy,
                             SearchOutcome& outcome) {
  // Each bin's weight is worked out once, when its first pixel is met.
  binWeights_.Clear(-1.0);
  const double sum = std::fabs(candidateSum_) < kTiny ? 1.0 : candidateSum_;
  double sumW = 0;
  double sumX = 0;
  double sumY = 0;
  for (int row = 0; row < side; ++row) {
    const std::uint16_t* line = window_.data() + static_cast<std::size_t>(row) * side;
    double rowW = 0;
    double rowX = 0;
    for (int col = 0; col < side; ++col) {
      double& w = binWeights_.At(line[col], -1.0);
      if (w < 0) {
        const double q = target_[line[col]];
        const double p = candidate_.value[line[col]] / sum;
        const double count = background_.value[line[col]];
        const double b = count > 0 ? 1.0 / count : 1.0;
        w = q > 0 && p > 0 ? std::sqrt(q * b / p) : 0.0;
      }
      rowW += w;
      rowX += w * col;
    }
    sumW += rowW;
    sumX += rowX;
    sumY += rowW * row;
  }
  if (std::fabs(sumW) < kTiny) return false;
  const double c = side * 0.5;
  dx = sumX / sumW - c;
  dy = sumY / sumW - c;
  outcome.hasCentroid = true;
  outcome.centroid = {corner.x + sumX / sumW + 0.5, corner.y + sumY / sumW + 0.5};
  return true;
}

SearchOutcome MeanShift::Search(RgbView frame, PointI& position, int maxIterations) {
  SearchOutcome outcome;
  int side = WindowSide();
  if (side % 2 == 0) ++side;
  if (model_.Empty() || frame.pixels == nullptr || maxIterations <= 0) return outcome;
  const double ratio =
      std::min(static_cast<double>(side) / model_.width, static_cast<double>(side) / model_.height);
  const int larger = std::max(model_.width, model_.height);
  for (int n = 1; n <= maxIterations; ++n) {
    FillWindow(frame, position, side);
    if (n == 1) ComputeBackgroundWeights(side);
    ComputeCandidate(side);
    outcome.iterations = n;
    double dx = 0;
    double dy = 0;
    if (!ComputeShift(side, {position.x - side / 2, position.y - side / 2}, dx, dy, outcome)) break;
    position.x += RoundShift(dx);
    position.y += RoundShift(dy);
    if (ratio <= 4) {
      if (std::fabs(dx) < 1 && std::fabs(dy) < 1) break;
    } else {
      // A window much larger than the model closes in on it rather than stopping early.
      if (larger == side) break;
      side = std::max(larger, side * (maxIterations - n) / maxIterations);
    }
  }
  return outcome;
}

}  // namespace kinovia
