// The recovery file: written when the work differs from the last saved state, read back as the
// same work, removed by a save, and found after its program died (not while it runs).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "core/IniFile.h"
#include "logic/session/Recovery.h"
#include "logic/session/Session.h"
#include "tests/session/SessionFakes.h"
#include "tests/settings/TestFolder.h"

namespace kinovia {
namespace {

namespace fs = std::filesystem;

struct PointedClip : test::SessionRig {
  PointedClip() {
    video.frameCount = 12;
    data.SetDuration(0.04);
    data.SetTool(PointingTool::Mark);
  }
  WorkFileContent Work() const {
    WorkFileContent work = CaptureSession(data);
    work.videoFileName = "/home/ana/clips/caida.avi";
    work.imageNumber = video.frame;
    return work;
  }
};

// A process that has ended: its id is free, as a killed program's is.
long EndedProcessId() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

TEST(Recovery, TheWrittenWorkComesBackWholeAndASaveRemovesIt) {
  const auto folder = FreshTestFolder("recovery");
  PointedClip clip;
  RecoveryKeeper keeper(RecoveryFilePath(folder.string(), 4242));
  keeper.Discard(clip.Work());
  EXPECT_FALSE(keeper.Differs(clip.Work()));

  // Showing another frame is no change of the work; a mark is.
  WorkFileContent moved = clip.Work();
  moved.imageNumber = 7;
  EXPECT_FALSE(keeper.Differs(moved));
  clip.Click(100, 120);
  ASSERT_TRUE(keeper.Differs(clip.Work()));

  ASSERT_TRUE(keeper.Write(clip.Work()));
  EXPECT_FALSE(keeper.Differs(clip.Work()));
  IniFile ini;
  ASSERT_EQ(ini.Load(keeper.Path()), IniLoad::Loaded);
  const auto read = ReadWorkFile(ini, keeper.Path());
  ASSERT_TRUE(read);
  EXPECT_EQ(read->fixedStore.containers.size(), 1u);
  EXPECT_TRUE(read->fixedStore == clip.Work().fixedStore);
  EXPECT_EQ(read->videoFileName, clip.Work().videoFileName);

  keeper.Discard(clip.Work());
  EXPECT_FALSE(fs::exists(keeper.Path()));
}

TEST(Recovery, EveryTwentiethChangeAsksForAWrite) {
  const auto folder = FreshTestFolder("recovery");
  RecoveryKeeper keeper(RecoveryFilePath(folder.string(), 4244));
  for (int round = 0; round < 2; ++round) {
    for (int change = 1; change < kRecoveryChangeCount; ++change) EXPECT_FALSE(keeper.NoteChange());
    EXPECT_TRUE(keeper.NoteChange());
    ASSERT_TRUE(keeper.Write({}));  // the count starts again after a write
  }
}

TEST(Recovery, AFailedWriteLeavesTheLastCopyWhole) {
  const auto folder = FreshTestFolder("recovery");
  PointedClip clip;
  RecoveryKeeper keeper(RecoveryFilePath(folder.string(), 4243));
  clip.Click(100, 120);
  ASSERT_TRUE(keeper.Write(clip.Work()));
  const std::string before = FileText(keeper.Path());
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  clip.Click(140, 160);
  const bool written = keeper.Write(clip.Work());
  fs::permissions(folder, fs::perms::owner_all);
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into a read-only folder";
  EXPECT_FALSE(written);
  EXPECT_EQ(FileText(keeper.Path()), before);
  EXPECT_TRUE(keeper.Differs(clip.Work()));
}

TEST(Recovery, OnlyFilesOfEndedProgramsAreOffered) {
  const auto folder = FreshTestFolder("recovery");
  const std::string ended = RecoveryFilePath(folder.string(), EndedProcessId());
  const std::string mine = RecoveryFilePath(folder.string(), ::getppid());  // a running program
  for (const auto& path : {ended, mine, (folder / "Kinovia-recovery-x1.knv").string(),
                           (folder / "Kinovia.ini").string()})
    ASSERT_TRUE(ReplaceFileContents(path, "[Video]\n"));
  EXPECT_EQ(OrphanRecoveryFiles(folder.string()), std::vector<std::string>{ended});
}

}  // namespace
}  // namespace kinovia
