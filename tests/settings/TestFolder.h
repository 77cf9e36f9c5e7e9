#pragma once
// An empty folder of the build tree for one test, so tests touching disk never meet each other.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

namespace kinovia {

inline std::filesystem::path FreshTestFolder(std::string_view area) {
  const auto folder = std::filesystem::path(KINOVIA_BINARY_DIR) / area /
                      ::testing::UnitTest::GetInstance()->current_test_info()->name();
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

inline std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

}  // namespace kinovia
