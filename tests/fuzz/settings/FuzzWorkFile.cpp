// Any bytes as a work file: reading answers a session or a refusal, never a crash, a hang or a
// huge allocation, and a session it answers can be written and read again.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "logic/session/WorkFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kinovia::IniFile ini;
  if (!ini.Parse(std::string_view(reinterpret_cast<const char*>(data), size))) return 0;
  const auto read = kinovia::ReadWorkFile(ini, "fuzz.knv");
  if (read) {
    const kinovia::WorkFileContent& work = read.Value();
    kinovia::Montage montage;
    montage.Restore(work.montage.frameCount, work.montage.runs, work.montage.entries);
    kinovia::IniFile out;
    kinovia::WriteWorkFile(out, work);
    (void)kinovia::ReadWorkFile(out, "fuzz.knv");
  }
  return 0;
}
