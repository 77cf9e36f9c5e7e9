#pragma once
// What a recording of the montage writes: which source frame (or blank) goes into each slot of
// the new clip, the size of its pictures, and the rules the record dialog applies to its values.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "logic/montage/Montage.h"

namespace kinovia {

// The three recorders, numbered as the options file remembers them.
enum class RecordFramework { Avi = 0, GStreamer = 1, FFmpeg = 2 };

enum class PictureChange { None, Resize, Crop };

struct CropMargins {
  int top = 0;
  int bottom = 0;
  int left = 0;
  int right = 0;
  bool operator==(const CropMargins&) const = default;
};

inline constexpr int kQualityMin = 10;
inline constexpr int kQualityMax = 100;
inline constexpr int kQualityDefault = 50;
inline constexpr int kKeyFramesMin = 1;
inline constexpr int kKeyFramesMax = 250;
inline constexpr int kKeyFramesDefault = 25;
// Resizing goes up to this many times the frame's own size.
inline constexpr int kResizeFactorMax = 4;

// Everything the record dialog decides.
struct RecordSettings {
  RecordFramework framework = RecordFramework::Avi;
  std::string codec;  // a name of the framework's list
  int quality = kQualityDefault;
  int keyFrames = kKeyFramesDefault;
  double framesPerSecond = 25;
  PictureChange change = PictureChange::None;
  int width = 0;  // resize only
  int height = 0;
  CropMargins crop;
  bool blanks = false;
};

// The fixed quantiser (1 finest ... 31 coarsest) of encoders that take one, for a quality of
// 10 ... 100: 100 gives 1, the default 50 gives 5, well clear of visible blocks.
int QuantiserOf(int quality);

// Fewest pixels cropping may leave of a side of `size` pixels: Max(16, size div 8).
int CropKeeps(int size);
// Largest sum of the two margins across a side of `size` pixels (0 when the side is too small).
int CropMarginMax(int size);
bool CropFits(const CropMargins& margins, int width, int height);

struct PictureSize {
  int width = 0;
  int height = 0;
  bool operator==(const PictureSize&) const = default;
};

// The size of the recorded pictures for a frame of width x height.
PictureSize OutputSize(const RecordSettings& settings, int width, int height);

// The refusal of settings a recorder must not receive (a crop leaving too little, a size out of
// range, a rate or quality outside the dialog's ranges); nullopt when they are sound.
std::optional<Message> CheckSettings(const RecordSettings& settings, int width, int height);

// Slot contents of the new clip: a source frame number, or kBlankSlot for a light-grey frame.
inline constexpr std::int32_t kBlankSlot = -1;
std::vector<std::int32_t> RecordSlots(const Montage& montage, bool blanks);

// The file name the save dialog's answer becomes: ".avi" appended unless it already ends so
// (in any case).
std::string WithAviExtension(const std::string& name);

// The frameworks and codec names as the options file and kinovia-cli spell them.
const char* FrameworkOptionName(RecordFramework framework);
std::optional<RecordFramework> FrameworkFromOptionName(const std::string& name);

}  // namespace kinovia
