#pragma once
// The two sample clips built into the program, which it installs in the temporary folder at
// start-up so a first-time user has something to point at.
#include <array>
#include <cstddef>
#include <filesystem>
#include <span>
#include <string_view>

namespace kinovia {

enum class SampleClip { Cylindre, Parabole };

inline constexpr std::array<SampleClip, 2> kSampleClips = {SampleClip::Cylindre,
                                                           SampleClip::Parabole};

// The clip's file name without extension: "Cylindre" or "Parabole".
constexpr std::string_view SampleClipName(SampleClip clip) {
  return clip == SampleClip::Cylindre ? "Cylindre" : "Parabole";
}

// The Motion-JPEG AVI file of the clip, as the build rendered it.
std::span<const std::byte> SampleClipBytes(SampleClip clip);

// Writes "Cylindre.avi" and "Parabole.avi" into an existing folder, each through a temporary
// file renamed over the target; false when either could not be written whole.
bool WriteSampleClips(const std::filesystem::path& folder);

}  // namespace kinovia
