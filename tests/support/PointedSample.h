#pragma once
// A work file of the Parabole sample clip pointed as a careful pupil would: the ruler as scale,
// the origin on its first end, one mark a frame on the ball's true centre.
#include <cstdio>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "logic/session/WorkFile.h"
#include "media/samples/SampleGenerator.h"

namespace kinovia {

struct Ruler {
  PointD first, second;
  double length = 0;
};

inline Ruler RulerOf(SampleClip clip) {
  Ruler ruler;
  std::istringstream csv(SampleTruthCsv(clip));
  std::string line;
  while (std::getline(csv, line)) {
    if (line.rfind("# ruler_ends,", 0) == 0)
      std::sscanf(line.c_str(), "# ruler_ends,%lf,%lf,%lf,%lf", &ruler.first.x, &ruler.first.y,
                  &ruler.second.x, &ruler.second.y);
    if (line.rfind("# ruler_length_m,", 0) == 0)
      std::sscanf(line.c_str(), "# ruler_length_m,%lf", &ruler.length);
  }
  return ruler;
}

inline WorkFileContent PointedAtTheTruth(const std::string& clip,
                                         const std::vector<SampleTruthRow>& truth) {
  const Ruler ruler = RulerOf(SampleClip::Parabole);
  WorkFileContent work;
  work.videoFileName = clip;
  work.duration = 0.04;
  work.colours = {0x0000FF};
  work.visibilities = {true};
  work.fixedAxes.origin = ruler.first;
  work.originPointsNumber = 1;
  work.yAxisAngle = std::numbers::pi / 2;
  work.scale[0] = {2, ruler.first, ruler.second, ruler.length};
  work.fixedStore.names = {"bola"};
  for (const auto& row : truth) {
    work.fixedStore.containers.push_back(
        {row.frame, static_cast<int>(work.fixedStore.containers.size()), {{0, {row.u, row.v}}}});
  }
  return work;
}

}  // namespace kinovia
