#pragma once
// The sections of the options file that other windows own: each reads the file, changes its
// own section and writes the file back whole, leaving the other sections as they were.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/IniFile.h"

namespace kinovia {

namespace ini_section {
inline constexpr std::string_view kRecentFiles = "RecentFiles";  // "File1", "File2", ...
inline constexpr std::string_view kMainForm = "MainForm";        // "Directory"
inline constexpr std::string_view kCapture = "Capture";  // "Framework", "Device", "Format", "Codec"
inline constexpr std::string_view kMontage = "Montage";  // "Framework", "Codec"
inline constexpr std::string_view kFormulae = "Formulae";
inline constexpr std::string_view kResultsForm = "ResultsForm";  // "Regressi"
}  // namespace ini_section

// The options file as it stands; empty when it is missing, unreadable or too large.
IniFile ReadOptionsFile(const std::string& path);

// Reads the file, lets `change` edit it and saves it in one step. False when it could not be
// saved; the file on disk is then unchanged.
bool UpdateOptionsFile(const std::string& path, const std::function<void(IniFile&)>& change);

// A list kept as numbered keys from 1 ("File1", "File2", ...), read up to the first missing one.
std::vector<std::string> ReadIniList(const IniFile& ini, std::string_view section,
                                     std::string_view prefix);
// Writes the list and removes the numbered keys a longer earlier list left behind.
void WriteIniList(IniFile& ini, std::string_view section, std::string_view prefix,
                  const std::vector<std::string>& items);

}  // namespace kinovia
