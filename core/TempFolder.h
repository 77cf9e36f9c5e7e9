#pragma once
// The folder where Kinovia keeps its options file, sample clips and exported workbooks.
#include <string>

namespace kinovia {

// TMP, then TEMP, then TMPDIR, the first that names an existing folder; else "/tmp". Always ends
// with "/".
std::string TemporaryFolder();

}  // namespace kinovia
