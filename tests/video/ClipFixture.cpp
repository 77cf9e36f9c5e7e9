#include "tests/video/ClipFixture.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>

namespace kinovia::test {

std::string ClipPath(const std::string& name) {
  return std::string(KINOVIA_CLIPS_DIR) + "/" + name;
}

int ReferenceFrames::FrameCount() const {
  const std::size_t frame = static_cast<std::size_t>(width) * height * 3;
  return frame == 0 ? 0 : static_cast<int>(bytes.size() / frame);
}

double ReferenceFrames::Distance(const Bitmap& picture, int n) const {
  if (picture.width != width || picture.height != height) return 255;
  const std::size_t frame = static_cast<std::size_t>(width) * height * 3;
  const std::uint8_t* ref = bytes.data() + frame * n;
  double sum = 0;
  for (std::size_t i = 0; i < frame; ++i) sum += std::abs(int{picture.pixels[i]} - int{ref[i]});
  return sum / static_cast<double>(frame);
}

ReferenceFrames LoadReference(const std::string& name, int width, int height) {
  std::ifstream in(ClipPath(name) + ".rgb", std::ios::binary);
  ReferenceFrames reference{
      width, height, {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()}};
  return reference;
}

int IdentifyFrame(const ReferenceFrames& reference, const Bitmap& picture, double tolerance) {
  int best = -1;
  double bestDistance = std::numeric_limits<double>::max();
  for (int n = 0; n < reference.FrameCount(); ++n) {
    const double d = reference.Distance(picture, n);
    if (d < bestDistance) {
      bestDistance = d;
      best = n;
    }
  }
  return bestDistance <= tolerance ? best : -1;
}

}  // namespace kinovia::test
