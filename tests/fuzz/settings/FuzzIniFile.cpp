// Any bytes as an INI file: parsing never fails badly, and the text it gives back parses to the
// same text again, so a load and save never drift.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  kinovia::IniFile ini;
  if (!ini.Parse(text)) return 0;
  const std::string once = ini.Text();
  ini.Write("Options", "EditMRU_Value", text.substr(0, 16));
  (void)ini.Read("options", "editmru_value");
  kinovia::IniFile again;
  again.Parse(once);
  if (again.Text() != once) std::abort();
  return 0;
}
