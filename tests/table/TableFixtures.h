#pragma once
// Marks as the session hands them over, built from positions per object and frame.
#include <cmath>
#include <functional>
#include <optional>
#include <vector>

#include "logic/results/ResultsComputation.h"

namespace kinovia::testing {

// One object's position at a time index, or nothing when it was not pointed there.
using Track = std::function<std::optional<std::pair<double, double>>(int k)>;

inline MarksData MarksFrom(const std::vector<int>& timeIndices, double interval,
                           const std::vector<Track>& tracks) {
  MarksData marks;
  for (int k : timeIndices) marks.times.push_back(k * interval);
  marks.frames.resize(tracks.size());
  marks.x.resize(tracks.size());
  marks.y.resize(tracks.size());
  for (std::size_t o = 0; o < tracks.size(); ++o) {
    for (int k : timeIndices) {
      const auto p = tracks[o](k);
      marks.frames[o].push_back(p ? k : -1);
      marks.x[o].push_back(p ? p->first : 0);
      marks.y[o].push_back(p ? p->second : 0);
    }
  }
  return marks;
}

inline std::vector<int> Range(int count) {
  std::vector<int> k(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) k[static_cast<std::size_t>(i)] = i;
  return k;
}

}  // namespace kinovia::testing
