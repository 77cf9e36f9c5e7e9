#pragma once
// The three recorders a montage is written through (our AVI writer, GStreamer, FFmpeg's
// libraries) behind one interface. Each writes beside the target under a temporary name and puts
// the file in place only when it is whole, so a failed or abandoned recording leaves nothing
// under the chosen name.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "logic/montage/RecordPlan.h"
#include "media/video/FrameSource.h"

namespace kinovia {

struct RecorderFormat {
  int width = 0;
  int height = 0;
  double framesPerSecond = 25;
  std::string codec;                  // a name of Codecs(); empty: the recorder's first
  int quality = kQualityDefault;      // 10 ... 100
  int keyFrames = kKeyFramesDefault;  // frames from one key frame to the next
  std::string comment;                // the file's comment, where the container keeps one
};

class Recorder {
 public:
  virtual ~Recorder() = default;

  // The codec names offered, in the order the dialog lists them; empty when the framework cannot
  // record on this machine.
  virtual std::vector<std::string> Codecs() const = 0;
  // Starts a file; false with ErrorText() set on failure.
  virtual bool Open(const std::filesystem::path& target, const RecorderFormat& format) = 0;
  // One picture of the format's size.
  virtual bool AddFrame(const Bitmap& picture) = 0;
  // Completes the file and puts it under the target name.
  virtual bool Finish() = 0;
  // Drops the unfinished file.
  virtual void Discard() = 0;
  const std::string& ErrorText() const { return error_; }

 protected:
  bool Fail(std::string text) {
    error_ = std::move(text);
    return false;
  }
  void ClearError() { error_.clear(); }
  // Ends a file written under `temporary` (then emptied): put under `target` when it was
  // `written` whole, else removed.
  bool Complete(bool written, std::filesystem::path& temporary,
                const std::filesystem::path& target);

 private:
  std::string error_;
};

std::unique_ptr<Recorder> MakeRecorder(RecordFramework framework);

// The frameworks this machine records with: FFmpeg only when its run-time library is not older
// than the one Kinovia was built against.
std::vector<RecordFramework> AvailableFrameworks();

// An empty file created beside `target` under a name no other writer uses, for a recorder whose
// library opens files by name; empty path when none could be made.
std::filesystem::path MakeTemporaryBeside(const std::filesystem::path& target);
// Renames `temporary` over `target`; false, `temporary` removed, when it cannot.
bool PutInPlace(const std::filesystem::path& temporary, const std::filesystem::path& target);

}  // namespace kinovia
