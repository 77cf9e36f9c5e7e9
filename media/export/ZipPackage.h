#pragma once
// The zip package both workbook formats are: named parts, each stored or deflated, written with
// libzip.
#include <string>
#include <vector>

namespace kinovia {

struct PackagePart {
  enum class Storage { Stored, Deflated };
  std::string name;  // its path inside the package, with "/" between folders
  std::string text;
  Storage storage = Storage::Deflated;
};

// Writes the parts in their order into a new package at `path`; false when it could not.
bool WriteZipPackage(const std::string& path, const std::vector<PackagePart>& parts);

}  // namespace kinovia
