#pragma once
// The capture's choices that outlive a run: the device list shared by the two frameworks, the
// settings remembered in the options file, and the temporary file a capture writes first.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kinovia {

class IniFile;

// 0: V4L2 cameras through libavdevice; 1: GStreamer's v4l2src.
enum class CaptureFramework { Libav = 0, GStreamer = 1 };

// A place in the one device list, which holds the first framework's devices, then the second's.
struct DeviceSlot {
  CaptureFramework framework = CaptureFramework::Libav;
  int index = 0;  // within its framework
  bool operator==(const DeviceSlot&) const = default;
};

DeviceSlot SlotOfDevice(int listIndex, int firstFrameworkCount);
int ListIndexOf(DeviceSlot slot, int firstFrameworkCount);

// The "Capture" section of the options file.
struct CaptureSettings {
  CaptureFramework framework = CaptureFramework::GStreamer;
  std::string device;
  std::string format;
  std::string codec;

  static CaptureSettings Read(const IniFile& ini);
  void Write(IniFile& ini) const;
};

// The index of `name` in `names`, case ignored, starting at `from` (1 for a codec list, whose
// first entry, no compression, is never matched); nothing when absent or empty.
std::optional<int> FindByName(const std::vector<std::string>& names, const std::string& name,
                              int from = 0);

// The temporary folder followed by "Capture" and the first number whose file does not exist.
std::string TemporaryCaptureName(const std::string& folder,
                                 const std::function<bool(const std::string&)>& exists);

// What became of the cameras between two lists of their device nodes (sorted): one gone is told
// first, as it may end a preview; otherwise a new one.
enum class DeviceNodesChange { None, Removed, Connected };
DeviceNodesChange CompareDeviceNodes(const std::vector<std::string>& before,
                                     const std::vector<std::string>& after);

}  // namespace kinovia
