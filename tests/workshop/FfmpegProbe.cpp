#include "FfmpegProbe.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <sstream>

namespace kinovia::test {

std::string CommandOutput(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  std::array<char, 65536> buffer{};
  std::size_t got = 0;
  while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    out.append(buffer.data(), got);
  pclose(pipe);
  return out;
}

std::map<std::string, std::string> ProbeClip(const std::filesystem::path& clip) {
  const std::string text = CommandOutput(
      "ffprobe -v error -select_streams v:0 -count_frames -show_entries "
      "stream=codec_name,width,height,r_frame_rate,nb_read_frames:format_tags=comment "
      "-of default=noprint_wrappers=1 '" +
      clip.string() + "'");
  std::map<std::string, std::string> fields;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    const auto equals = line.find('=');
    if (equals != std::string::npos) fields[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return fields;
}

std::vector<std::uint8_t> DecodeFrame(const std::filesystem::path& clip, int n) {
  const std::string text =
      CommandOutput("ffmpeg -v error -i '" + clip.string() + "' -vf 'select=eq(n\\," +
                    std::to_string(n) + ")' -frames:v 1 -f rawvideo -pix_fmt rgb24 -");
  return {text.begin(), text.end()};
}

std::vector<std::uint8_t> DecodeFrameBySeeking(const std::filesystem::path& clip, int n,
                                               double framesPerSecond) {
  char time[32];
  std::snprintf(time, sizeof time, "%.6f", n / framesPerSecond);
  const std::string text =
      CommandOutput("ffmpeg -v error -ss " + std::string(time) + " -i '" + clip.string() +
                    "' -frames:v 1 -f rawvideo -pix_fmt rgb24 -");
  return {text.begin(), text.end()};
}

ScratchFolder::ScratchFolder(const std::string& name)
    : path_(std::filesystem::temp_directory_path() /
            ("kinovia-" + name + "-" + std::to_string(::getpid()))) {
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> ScratchFolder::FileNames() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path_))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace kinovia::test
