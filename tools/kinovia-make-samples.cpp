// Renders the sample clips and their truth files into a folder; the build runs it so the
// program can embed the clips.
#include <iostream>

#include "media/samples/SampleGenerator.h"
#include "resources/TxtWorkshop.h"

int main(int argc, char** argv) {
  using namespace kinovia;
  if (argc != 2) {
    std::cerr << Txt(txt::SampleGeneratorUsage) << '\n';
    return 2;
  }
  if (const auto written = WriteSampleSet(argv[1]); !written) {
    std::cerr << PlainText(written.Failure()) << '\n';
    return 1;
  }
  return 0;
}
