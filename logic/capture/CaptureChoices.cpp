#include "logic/capture/CaptureChoices.h"

#include <algorithm>
#include <cctype>

#include "core/IniFile.h"

namespace kinovia {

namespace {

constexpr const char* kSection = "Capture";

bool SameFolded(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

DeviceSlot SlotOfDevice(int listIndex, int firstFrameworkCount) {
  if (listIndex < firstFrameworkCount) return {CaptureFramework::Libav, listIndex};
  return {CaptureFramework::GStreamer, listIndex - firstFrameworkCount};
}

int ListIndexOf(DeviceSlot slot, int firstFrameworkCount) {
  return slot.framework == CaptureFramework::Libav ? slot.index : slot.index + firstFrameworkCount;
}

CaptureSettings CaptureSettings::Read(const IniFile& ini) {
  CaptureSettings s;
  // Anything but 0 falls back on the default framework: a damaged value must not pick a
  // framework the user never chose.
  s.framework = ini.Read(kSection, "Framework").value_or("1") == "0" ? CaptureFramework::Libav
                                                                     : CaptureFramework::GStreamer;
  s.device = ini.Read(kSection, "Device").value_or("");
  s.format = ini.Read(kSection, "Format").value_or("");
  s.codec = ini.Read(kSection, "Codec").value_or("");
  return s;
}

void CaptureSettings::Write(IniFile& ini) const {
  ini.Write(kSection, "Framework", framework == CaptureFramework::Libav ? "0" : "1");
  ini.Write(kSection, "Device", device);
  ini.Write(kSection, "Format", format);
  ini.Write(kSection, "Codec", codec);
}

std::optional<int> FindByName(const std::vector<std::string>& names, const std::string& name,
                              int from) {
  if (name.empty()) return std::nullopt;
  for (int i = std::max(from, 0); i < static_cast<int>(names.size()); ++i) {
    if (SameFolded(names[static_cast<std::size_t>(i)], name)) return i;
  }
  return std::nullopt;
}

std::string TemporaryCaptureName(const std::string& folder,
                                 const std::function<bool(const std::string&)>& exists) {
  for (int n = 0;; ++n) {
    std::string name = folder + "Capture" + std::to_string(n) + ".avi";
    if (!exists(name)) return name;
  }
}

DeviceNodesChange CompareDeviceNodes(const std::vector<std::string>& before,
                                     const std::vector<std::string>& after) {
  if (!std::includes(after.begin(), after.end(), before.begin(), before.end()))
    return DeviceNodesChange::Removed;
  return after.size() > before.size() ? DeviceNodesChange::Connected : DeviceNodesChange::None;
}

}  // namespace kinovia
