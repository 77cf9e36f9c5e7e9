// Files that are not regular files, given to kinovia-cli as a script might.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "tests/support/CliRun.h"

namespace kinovia {
namespace {

// A named pipe given as a clip used to block for ever; a folder is no clip either. Each is refused
// at once with exit status 1; `timeout` turns a block into a failure rather than a hung run.
TEST(CliHostileInput, APipeOrAFolderGivenAsAClipIsRefusedAtOnce) {
  const auto folder = std::filesystem::path(KINOVIA_BINARY_DIR) / "test_cli_hostile";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const auto pipe = folder / "f.avi";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  for (const auto& clip : {pipe, folder}) {
    SCOPED_TRACE(clip.string());
    const auto run = test::RunKinoviaCli("probe " + clip.string(), "LC_ALL=C timeout 30");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err, "");
  }
}

}  // namespace
}  // namespace kinovia
