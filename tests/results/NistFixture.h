#pragma once
// Reads a reference data set typed from the NIST Statistical Reference Datasets: "terms N",
// "certified v0 v1 ...", for nonlinear sets "rss S" (the certified residual sum of squares), then
// one "x y" point a line ("#" lines are comments).
#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace kinovia::test {

struct NistSet {
  int terms = 0;
  std::vector<double> certified;
  double rss = 0;
  std::vector<double> x, y;
};

inline double ParseFixtureNumber(const std::string& word) {
  double value = 0;
  std::from_chars(word.data(), word.data() + word.size(), value);
  return value;
}

inline NistSet LoadNistSet(const std::string& name) {
  NistSet set;
  std::ifstream in(std::string(KINOVIA_TEST_DATA_DIR) + "/nist/" + name + ".txt");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string first, word;
    words >> first;
    if (first == "terms") {
      words >> set.terms;
    } else if (first == "rss") {
      words >> word;
      set.rss = ParseFixtureNumber(word);
    } else if (first == "certified") {
      while (words >> word) set.certified.push_back(ParseFixtureNumber(word));
    } else {
      words >> word;
      set.x.push_back(ParseFixtureNumber(first));
      set.y.push_back(ParseFixtureNumber(word));
    }
  }
  return set;
}

// Number of significant digits on which `value` agrees with `reference`.
inline double AgreeingDigits(double value, double reference) {
  const double error = value == reference ? 1e-300 : std::abs(value - reference);
  return -std::log10(error / std::abs(reference));
}

}  // namespace kinovia::test
