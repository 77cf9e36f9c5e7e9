#pragma once
// Renders the sample clips into Motion-JPEG AVI files and writes beside each the true position
// of its object on every frame, so tracking and results can be checked against the truth.
#include <filesystem>
#include <string>
#include <vector>

#include "core/Result.h"
#include "media/recording/AviWriter.h"
#include "media/samples/SampleClips.h"

namespace kinovia {

struct SampleTruthRow {
  int frame = 0;
  double t = 0;  // seconds
  double x = 0;  // metres from the ruler's first end, towards its second end
  double y = 0;  // metres, upwards
  double u = 0;  // frame fractions of the object's centre
  double v = 0;
};

std::vector<SampleTruthRow> SampleTruth(SampleClip clip);

// "#" lines (frame rate, picture size, the ruler's ends in frame fractions, its length in
// metres), then "frame,t,x_m,y_m,u,v" and one row a frame; "." is the decimal separator
// whatever the regional settings, since "," separates the fields.
std::string SampleTruthCsv(SampleClip clip);

// Renders every frame with sensor noise and writes the clip; the writer's error on failure.
AviError WriteSampleClip(SampleClip clip, const std::filesystem::path& file);

// Both clips and both truth files into `folder` (created when missing); refused with the message
// naming the file that could not be written.
Result<void> WriteSampleSet(const std::filesystem::path& folder);

}  // namespace kinovia
