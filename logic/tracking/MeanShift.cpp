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

// 0 + 1 + ... + n and 0² + 1² + ... + n², exact in a double for any window side.
double SumTo(double n) { return n * (n + 1) / 2; }
double SquaresTo(double n) { return n * (n + 1) * (2 * n + 1) / 6; }

// The kernel rowKernel - (col - centre)² x inverse summed over `count` columns whose sum and sum of
// squares are given: summing per pixel would chain every addition to the previous one.
double KernelOver(double count, double sumCol, double sumSquares, double centre, double rowKernel,
                  double inverse) {
  const double distances = sumSquares - 2 * centre * sumCol + count * centre * centre;
  return count * rowKernel - distances * inverse;
}

// Neighbouring pixels often share a colour: adding them to one table entry after the other would
// chain every addition to the previous one through memory. Each slot has kLanes entries, and
// neighbouring columns use different ones.
constexpr std::size_t kLanes = 4;
std::size_t Lane(std::uint16_t slot, int col) {
  return slot * kLanes + static_cast<std::size_t>(col) % kLanes;
}

// Sums each slot's lanes into its first entry, then lays the slots out one entry each.
void FoldLanes(std::vector<double>& table) {
  const std::size_t slots = table.size() / kLanes;
  for (std::size_t slot = 0; slot < slots; ++slot) {
    double sum = 0;
    for (std::size_t lane = 0; lane < kLanes; ++lane) sum += table[slot * kLanes + lane];
    table[slot] = sum;
  }
}

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
  targetSlot_.assign(slots, 0);
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
  targetBins_.clear();
  for (std::size_t bin = 0; bin < target_.size(); ++bin) {
    targetSlot_[bin] = 0;
    if (target_[bin] <= 0) continue;
    targetBins_.push_back(static_cast<std::uint16_t>(bin));
    targetSlot_[bin] = static_cast<std::uint16_t>(targetBins_.size());
  }
  candidate_.assign((targetBins_.size() + 1) * kLanes, 0.0);
  background_.assign((targetBins_.size() + 1) * kLanes, 0.0);
  binWeights_.assign(targetBins_.size() + 1, 0.0);
  const auto empty = std::find(target_.begin(), target_.end() - 1, 0.0);
  absent_ = empty == target_.end() - 1
                ? Rgb{255, 255, 255}
                : LuvToRgb(bins_.CentreOf(static_cast<int>(empty - target_.begin())));
}

int MeanShift::WindowSide() const {
  const int larger = std::max(model_.width, model_.height);
  return std::max(static_cast<int>(1.2 * larger), 2 * radius_ + 1);
}

// The windows of one search overlap: each pixel's slot is looked up once a search, and kept in a
// plane of the frame beside the search's stamp. A stamp that comes round again clears the plane.
void MeanShift::StampFrameSlots(RgbView frame) {
  const auto pixels = static_cast<std::size_t>(frame.width) * frame.height;
  ++searchStamp_;
  if (frameStamps_.size() != pixels || searchStamp_ == 0) {
    frameSlots_.assign(pixels, 0);
    frameStamps_.assign(pixels, 0);
    searchStamp_ = 1;
  }
}

// Each pixel of the window that lies in the frame gets its slot among the target's bins (0: a
// colour the target lacks, or a banned pixel): only those bins weigh, and their tables stay small
// enough for the processor's first cache. Pixels outside the frame weigh nothing.
void MeanShift::LookUpWindow(RgbView frame, PointI position, int side) {
  area_.side = side;
  area_.left = position.x - side / 2;
  area_.top = position.y - side / 2;
  area_.width = frame.width;
  area_.firstCol = std::clamp(-area_.left, 0, side);
  area_.endCol = std::clamp(frame.width - area_.left, area_.firstCol, side);
  area_.firstRow = std::clamp(-area_.top, 0, side);
  area_.endRow = std::clamp(frame.height - area_.top, area_.firstRow, side);
  const bool banChecked =
      !banned_.empty() && banWidth_ == frame.width && banHeight_ == frame.height;
  for (int row = area_.firstRow; row < area_.endRow; ++row) {
    const std::size_t y = static_cast<std::size_t>(area_.top + row) * frame.width;
    const std::uint8_t* line = frame.pixels + y * 3;
    std::uint16_t* stamps = frameStamps_.data() + y;
    std::uint16_t* slots = frameSlots_.data() + y;
    for (int x = area_.left + area_.firstCol; x < area_.left + area_.endCol; ++x) {
      if (stamps[x] == searchStamp_) continue;
      stamps[x] = searchStamp_;
      slots[x] = banChecked && banned_[y + x] ? 0 : targetSlot_[PixelBin(line + x * 3)];
    }
  }
}

std::span<const std::uint16_t> MeanShift::SlotRow(int row) const {
  const std::size_t first =
      static_cast<std::size_t>(area_.top + row) * area_.width + area_.left + area_.firstCol;
  return {frameSlots_.data() + first, static_cast<std::size_t>(area_.endCol - area_.firstCol)};
}

// Counted here; a bin's weight is 1 / count, or 1 for colours the corners do not hold.
void MeanShift::ComputeBackgroundWeights() {
  const int side = area_.side;
  const double centre = (side - 1) / 2.0;
  const double hx = (model_.width / 2) * 1.2;
  const double hy = (model_.height / 2) * 1.2;
  const int colFrom = static_cast<int>(centre - hx);
  const int colTo = static_cast<int>(centre + hx);
  const int rowFrom = static_cast<int>(centre - hy);
  const int rowTo = static_cast<int>(centre + hy);
  std::fill(background_.begin(), background_.end(), 0.0);
  const auto count = [&](std::span<const std::uint16_t> line, int from, int end) {
    for (int col = std::max(from, area_.firstCol); col < std::min(end, area_.endCol); ++col)
      background_[Lane(line[col - area_.firstCol], col)] += 1.0;
  };
  for (int row = area_.firstRow; row < area_.endRow; ++row) {
    if (row >= rowFrom && row <= rowTo) continue;
    const auto line = SlotRow(row);
    count(line, 0, colFrom);
    count(line, colTo + 1, side);
  }
  FoldLanes(background_);
}

// The kernel is zero outside the inscribed disc: each row visits only its chord. The total counts
// the chord's pixels outside the frame too.
void MeanShift::ComputeCandidate() {
  const int side = area_.side;
  std::fill(candidate_.begin(), candidate_.end(), 0.0);
  candidateSum_ = 0;
  const double centre = (side - 1) / 2.0;
  const double spread = 2 * centre * centre;
  // A one-pixel window has no kernel: its histogram stays empty.
  if (spread == 0) return;
  const double inverse = 1.0 / spread;
  double total = 0;
  for (int row = 0; row < side; ++row) {
    const double dr = row - centre;
    const double rowKernel = 1.0 - dr * dr * inverse;
    const auto kernel = [&](int col) {
      return rowKernel - (col - centre) * (col - centre) * inverse;
    };
    if (rowKernel <= 0) continue;
    const double half = std::sqrt(rowKernel / inverse);
    int from = std::clamp(static_cast<int>(std::ceil(centre - half)), 0, side - 1);
    int to = std::clamp(static_cast<int>(std::floor(centre + half)), 0, side - 1);
    // The square root may miss the chord's ends by one pixel either way.
    while (from > 0 && kernel(from - 1) > 0) --from;
    while (from <= to && kernel(from) <= 0) ++from;
    while (to < side - 1 && kernel(to + 1) > 0) ++to;
    while (to >= from && kernel(to) <= 0) --to;
    if (from > to) continue;
    total += KernelOver(to - from + 1.0, SumTo(to) - SumTo(from - 1.0),
                        SquaresTo(to) - SquaresTo(from - 1.0), centre, rowKernel, inverse);
    if (row < area_.firstRow || row >= area_.endRow) continue;
    const auto line = SlotRow(row);
    const int end = std::min(to + 1, area_.endCol);
    for (int col = std::max(from, area_.firstCol); col < end; ++col)
      candidate_[Lane(line[col - area_.firstCol], col)] += kernel(col);
  }
  FoldLanes(candidate_);
  candidateSum_ = total;
}

void MeanShift::ComputeBinWeights() {
  const double sum = std::fabs(candidateSum_) < kTiny ? 1.0 : candidateSum_;
  for (std::size_t slot = 1; slot < binWeights_.size(); ++slot) {
    const double p = candidate_[slot] / sum;
    const double count = background_[slot];
    const double b = count > 0 ? 1.0 / count : 1.0;
    binWeights_[slot] = p > 0 ? std::sqrt(target_[targetBins_[slot - 1]] * b / p) : 0.0;
  }
}

bool MeanShift::ComputeShift(double& dx, double& dy, SearchOutcome& outcome) {
  ComputeBinWeights();
  double sumW = 0;
  double sumX = 0;
  double sumY = 0;
  const int side = area_.side;
  for (int row = area_.firstRow; row < area_.endRow; ++row) {
    const auto line = SlotRow(row);
    // Even and odd columns in separate sums, so that two additions are under way at once.
    double evenW = 0, oddW = 0, evenX = 0, oddX = 0;
    std::size_t i = 0;
    for (; i + 1 < line.size(); i += 2) {
      const double col = area_.firstCol + double(i);
      const double we = binWeights_[line[i]];
      const double wo = binWeights_[line[i + 1]];
      evenW += we;
      oddW += wo;
      evenX += we * col;
      oddX += wo * (col + 1);
    }
    if (i < line.size()) {
      evenW += binWeights_[line[i]];
      evenX += binWeights_[line[i]] * (area_.firstCol + double(i));
    }
    const double rowW = evenW + oddW;
    sumW += rowW;
    sumX += evenX + oddX;
    sumY += rowW * row;
  }
  if (std::fabs(sumW) < kTiny) return false;
  const double c = side * 0.5;
  dx = sumX / sumW - c;
  dy = sumY / sumW - c;
  outcome.hasCentroid = true;
  outcome.centroid = {area_.left + sumX / sumW + 0.5, area_.top + sumY / sumW + 0.5};
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
  StampFrameSlots(frame);
  for (int n = 1; n <= maxIterations; ++n) {
    LookUpWindow(frame, position, side);
    if (n == 1) ComputeBackgroundWeights();
    ComputeCandidate();
    outcome.iterations = n;
    double dx = 0;
    double dy = 0;
    if (!ComputeShift(dx, dy, outcome)) break;
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
