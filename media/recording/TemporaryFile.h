#pragma once
// Files a recording is written into before it is put under the name the user chose.
#include <cstdio>
#include <filesystem>

namespace kinovia {

// A new file beside the target that no other writer can be using (its name carries the process
// and a counter), open for writing; nullptr when none can be made.
std::FILE* CreateTemporaryBeside(const std::filesystem::path& target, std::filesystem::path& made);

void RemoveQuietly(const std::filesystem::path& file);

}  // namespace kinovia
