#include "logic/montage/RecordPlan.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "resources/TxtCommon.h"
#include "resources/TxtWorkshop.h"

namespace kinovia {

namespace {

constexpr int kSmallestKept = 16;
constexpr int kLargestSide = 16384;

constexpr const char* kFrameworkNames[] = {"avi", "gstreamer", "ffmpeg"};

Message Refusal(TxtId text) {
  Message m;
  m.icon = MessageIcon::Warning;
  m.buttons = {txt::ButtonOk};
  return m.Line(text);
}

}  // namespace

int QuantiserOf(int quality) {
  return std::clamp(1 + int(std::lround((kQualityMax - quality) / 12.5)), 1, 31);
}

int CropKeeps(int size) { return std::max(kSmallestKept, size / 8); }

int CropMarginMax(int size) { return std::max(0, size - CropKeeps(size)); }

bool CropFits(const CropMargins& m, int width, int height) {
  const bool positive = m.top >= 0 && m.bottom >= 0 && m.left >= 0 && m.right >= 0;
  // Summed in 64 bits: margins typed by hand may be anything.
  return positive && std::int64_t{m.top} + m.bottom <= CropMarginMax(height) &&
         std::int64_t{m.left} + m.right <= CropMarginMax(width);
}

PictureSize OutputSize(const RecordSettings& s, int width, int height) {
  switch (s.change) {
    case PictureChange::Resize:
      return {s.width, s.height};
    case PictureChange::Crop:
      return {width - s.crop.left - s.crop.right, height - s.crop.top - s.crop.bottom};
    case PictureChange::None:
      break;
  }
  return {width, height};
}

std::optional<Message> CheckSettings(const RecordSettings& s, int width, int height) {
  if (s.change == PictureChange::Crop && !CropFits(s.crop, width, height))
    return Refusal(txt::RecordBadCrop);
  const PictureSize out = OutputSize(s, width, height);
  const int widthMax = std::min(kLargestSide, kResizeFactorMax * width);
  const int heightMax = std::min(kLargestSide, kResizeFactorMax * height);
  if (out.width < 1 || out.height < 1 || out.width > widthMax || out.height > heightMax)
    return Refusal(txt::RecordBadSize);
  if (!std::isfinite(s.framesPerSecond) || s.framesPerSecond <= 0 || s.framesPerSecond > 1000)
    return Refusal(txt::RecordBadRate);
  if (s.quality < kQualityMin || s.quality > kQualityMax || s.keyFrames < kKeyFramesMin ||
      s.keyFrames > kKeyFramesMax)
    return Refusal(txt::RecordBadCompression);
  return std::nullopt;
}

std::vector<std::int32_t> RecordSlots(const Montage& montage, bool blanks) {
  std::vector<std::int32_t> slots;
  slots.reserve(std::size_t(montage.VisibleCount()));
  std::int64_t previous = -1;
  for (std::int32_t k = 0; k < montage.VisibleCount(); ++k) {
    const std::int32_t m = montage.VisibleToSource(k);
    const std::int64_t index = montage.FrameTimeIndex(m);
    // Counted as MissingFrameCount counts them, so the dialog's total is what gets written.
    if (blanks)
      for (std::int64_t slot = previous + 1; slot < index; ++slot) slots.push_back(kBlankSlot);
    slots.push_back(m);
    previous = index;
  }
  return slots;
}

std::string WithAviExtension(const std::string& name) {
  std::string tail = name.size() >= 4 ? name.substr(name.size() - 4) : std::string();
  std::transform(tail.begin(), tail.end(), tail.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return tail == ".avi" ? name : name + ".avi";
}

const char* FrameworkOptionName(RecordFramework framework) {
  return kFrameworkNames[int(framework)];
}

std::optional<RecordFramework> FrameworkFromOptionName(const std::string& name) {
  for (int i = 0; i < 3; ++i)
    if (name == kFrameworkNames[i]) return RecordFramework(i);
  return std::nullopt;
}

}  // namespace kinovia
