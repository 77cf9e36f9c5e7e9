#pragma once
// The mean-shift search of one coloured object: a colour model taken inside a contour on the
// first frame, then on each later frame a square window moved from the previous position towards
// the place whose colours best match the model.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "core/Geometry.h"
#include "logic/tracking/ColourSpaces.h"
#include "logic/tracking/Contour.h"

namespace kinovia {

// A frame as the tracker reads it: 24-bit R, G, B pixels, rows top-down, stride 3 x width.
struct RgbView {
  const std::uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
};

// What one frame's search left besides the integer position.
struct SearchOutcome {
  int iterations = 0;
  // The weighted centroid of the last window's pixel weights, in picture coordinates (a pixel's
  // centre is at its index + 0.5); absent when every weight was zero.
  bool hasCentroid = false;
  PointD centroid;
};

class MeanShift {
 public:
  static constexpr int kMinRadius = 10;
  static constexpr int kMaxRadius = 100;
  static constexpr int kTrackerBins = 20;
  static constexpr int kMaxIterations = 10;

  MeanShift();
  ~MeanShift();
  MeanShift(const MeanShift&) = delete;
  MeanShift& operator=(const MeanShift&) = delete;
  MeanShift(MeanShift&&) noexcept;
  MeanShift& operator=(MeanShift&&) noexcept;

  // Clamped to 10..100 pixels.
  void SetSearchRadius(int radius);
  int SearchRadius() const { return radius_; }

  // Zones (frame fractions) whose pixels never count, for frames of that size.
  void SetBanZones(std::span<const std::vector<PointD>> zones, int height, int width);
  // The model: the frame's pixels inside the contour (frame fractions). False when the contour
  // gives no box or no pixel of the frame; `start` is then left alone, otherwise it receives the
  // centroid of the inside cells.
  bool BuildModel(RgbView frame, std::span<const PointD> contour, PointI& start);
  void SetBinCount(int perAxis);
  // The target histogram and the absent colour, from the model.
  void ComputeTargetHistogram();
  // Moves `position` on this frame; left unchanged when the window holds no model colour.
  SearchOutcome Search(RgbView frame, PointI& position, int maxIterations);

  // Max(Trunc(1.2 x the model's larger side), 2R + 1).
  int WindowSide() const;
  int ModelWidth() const { return model_.width; }
  int ModelHeight() const { return model_.height; }
  // The colour of the first empty bin of the target histogram, white when none is empty.
  Rgb AbsentColour() const { return absent_; }
  std::span<const double> TargetHistogram() const { return target_; }

 private:
  struct BinCache;
  int PixelBin(const std::uint8_t* rgb) const;
  void StampFrameSlots(RgbView frame);
  void LookUpWindow(RgbView frame, PointI position, int side);
  // The slots of a row of the window, from its first column in the frame.
  std::span<const std::uint16_t> SlotRow(int row) const;
  void ComputeBackgroundWeights();
  void ComputeCandidate();
  void ComputeBinWeights();
  bool ComputeShift(double& dx, double& dy, SearchOutcome& outcome);

  int radius_ = 40;
  HistogramBins bins_{kTrackerBins};
  std::unique_ptr<BinCache> cache_;
  // The model: its box in the frame, its mask and its pixels (R, G, B).
  PolygonMask model_;
  std::vector<std::uint8_t> modelPicture_;
  // Ban zones rasterised over the whole frame; empty when there is none.
  std::vector<std::uint8_t> banned_;
  int banWidth_ = 0;
  int banHeight_ = 0;
  // Histograms have one slot more than the bins: the pixels that must not count (outside the
  // frame, inside a ban zone) go there, and the target never holds it.
  std::vector<double> target_;
  // Only the target's bins ever weigh a pixel: they are numbered from 1 (slots), every other bin
  // is slot 0, and the per-window tables below are indexed by slot.
  std::vector<std::uint16_t> targetBins_;  // the bin of each slot from 1
  std::vector<std::uint16_t> targetSlot_;  // the slot of each bin
  std::vector<double> candidate_;          // kernel amounts, divided by candidateSum_ when read
  double candidateSum_ = 0;                // over every pixel of the window
  std::vector<double> background_;         // counts of the window's corners
  std::vector<double> binWeights_;         // each slot's pixel weight in this iteration; 0: none
  // Each frame pixel's slot, and the search that looked it up.
  std::vector<std::uint16_t> frameSlots_;
  std::vector<std::uint16_t> frameStamps_;
  std::uint16_t searchStamp_ = 0;
  // The window of the iteration: its corner in the frame, its side, and the columns and rows of it
  // that lie in the frame.
  struct WindowArea {
    int left = 0, top = 0, side = 0, width = 0;
    int firstCol = 0, endCol = 0, firstRow = 0, endRow = 0;
  };
  WindowArea area_;
  Rgb absent_{255, 255, 255};
};

}  // namespace kinovia
