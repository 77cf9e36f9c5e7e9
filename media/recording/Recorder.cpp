#include "media/recording/Recorder.h"

#include <utility>

#include "media/recording/RecorderBackends.h"
#include "media/recording/TemporaryFile.h"
#include "media/video/MediaLibraries.h"
#include "resources/TxtWorkshop.h"

namespace kinovia {

std::unique_ptr<Recorder> MakeRecorder(RecordFramework framework) {
  switch (framework) {
    case RecordFramework::GStreamer:
      return MakeGStreamerRecorder();
    case RecordFramework::FFmpeg:
      return MakeFFmpegRecorder();
    case RecordFramework::Avi:
      break;
  }
  return MakeAviRecorder();
}

bool Recorder::Complete(bool written, std::filesystem::path& temporary,
                        const std::filesystem::path& target) {
  const std::filesystem::path file = std::exchange(temporary, {});
  if (!written) {
    RemoveQuietly(file);
    return Fail(Txt(txt::AviWriterCannotSave));
  }
  return PutInPlace(file, target) || Fail(Txt(txt::AviWriterCannotReplace));
}

std::vector<RecordFramework> AvailableFrameworks() {
  std::vector<RecordFramework> frameworks = {RecordFramework::Avi, RecordFramework::GStreamer};
  if (!FFmpegRuntimeOutdated()) frameworks.push_back(RecordFramework::FFmpeg);
  return frameworks;
}

std::filesystem::path MakeTemporaryBeside(const std::filesystem::path& target) {
  std::filesystem::path made;
  std::FILE* file = CreateTemporaryBeside(target, made);
  if (!file) return {};
  std::fclose(file);
  return made;
}

bool PutInPlace(const std::filesystem::path& temporary, const std::filesystem::path& target) {
  std::error_code failed;
  std::filesystem::rename(temporary, target, failed);
  if (failed) RemoveQuietly(temporary);
  return !failed;
}

}  // namespace kinovia
