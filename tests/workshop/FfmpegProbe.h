#pragma once
// Reads clips back with the real ffprobe and ffmpeg tools, as any other program would see them.
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace kinovia::test {

// Standard output of a shell command.
std::string CommandOutput(const std::string& command);

// "key=value" lines of ffprobe about the first video stream (frames counted by decoding) and
// the container's tags: codec_name, width, height, r_frame_rate, nb_read_frames, TAG:comment.
std::map<std::string, std::string> ProbeClip(const std::filesystem::path& clip);

// Frame n of the clip decoded by ffmpeg as top-down RGB24; empty when ffmpeg gives nothing.
std::vector<std::uint8_t> DecodeFrame(const std::filesystem::path& clip, int n);

// Frame n found the way a player jumps to it: ffmpeg seeks through the file's OpenDML index
// to the frame's time, so a wrong index gives a wrong frame or none.
std::vector<std::uint8_t> DecodeFrameBySeeking(const std::filesystem::path& clip, int n,
                                               double framesPerSecond);

// A fresh empty folder for one test, removed by the destructor.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  std::vector<std::string> FileNames() const;

 private:
  std::filesystem::path path_;
};

}  // namespace kinovia::test
