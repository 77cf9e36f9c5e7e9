// Long random sessions of clicks, drags, keys, tools, modes and undos must keep the stores
// consistent: every listed mark sits in its frame's container, one mark per object and frame.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "logic/session/Session.h"
#include "tests/session/SessionFakes.h"

namespace kinovia::test {
namespace {

void ExpectConsistent(const MarkStore& store) {
  std::size_t held = 0;
  std::set<int> frames;
  for (const auto& c : store.Containers()) {
    EXPECT_TRUE(frames.insert(c->Frame()).second) << "two containers for frame " << c->Frame();
    std::set<int> orders;
    for (const auto& m : c->Marks()) {
      EXPECT_TRUE(orders.insert(m->Order()).second) << "frame " << c->Frame();
      EXPECT_EQ(m->Container(), c.get());
    }
    held += c->Marks().size();
  }
  EXPECT_EQ(held, store.Marks().size());
  for (const Mark* m : store.Marks()) {
    ASSERT_NE(m->Container(), nullptr);
    EXPECT_EQ(m->Container()->OfOrder(m->Order()), m);
  }
  EXPECT_GE(store.CurrentOrder(), 0);
  EXPECT_LT(store.CurrentOrder(), store.MarksPerFrame());
}

void RandomStep(SessionRig& rig, std::mt19937& random) {
  const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  const PointI p{pick(660) - 10, pick(500) - 10};
  switch (pick(30)) {
    case 0:
      rig.data.SetTool(static_cast<PointingTool>(pick(7)));
      break;
    case 1:
      rig.video.mode = pick(4) == 0 ? WorkingMode::Transparent : WorkingMode::FixedAxes;
      break;
    case 2:
      rig.data.SetMarksNumberPerFrame(1 + pick(4));
      break;
    case 3:
      rig.data.Undo();
      break;
    case 4:
      rig.video.frame = pick(rig.video.frameCount);
      break;
    case 5:
      rig.data.MouseMove(p);
      break;
    case 6:
      rig.data.MouseRelease(MouseButton::Left, p);
      break;
    case 7:
      rig.data.MousePress(MouseButton::Right, p);
      break;
    case 8:
      rig.data.KeyResizeSheet(pick(2) == 0);
      break;
    case 9:
      rig.data.KeyNextObject();
      break;
    case 10:
      if (pick(20) == 0) rig.data.DeleteAllMarks();
      break;
    case 11:
      if (pick(20) == 0) rig.data.EraseEverything();
      break;
    case 12:
      if (pick(10) == 0) rig.data.FrameHidden(pick(rig.video.frameCount));
      break;
    case 13:
      rig.data.InvertXAxis();
      break;
    default:
      rig.data.MousePress(MouseButton::Left, p);
      break;
  }
}

TEST(SessionRandom, LongSessionsStayConsistentThroughEveryUndo) {
  for (const unsigned seed : {1u, 2u, 3u, 4u}) {
    SessionRig rig;
    rig.video.frameCount = 20;
    std::mt19937 random(seed);
    for (int step = 0; step < 4000; ++step) {
      RandomStep(rig, random);
      rig.data.UndoCaption();
    }
    ExpectConsistent(rig.data.FixedStore());
    ExpectConsistent(rig.data.TransparentStore());
    for (const WorkingMode mode : {WorkingMode::FixedAxes, WorkingMode::Transparent}) {
      rig.video.mode = mode;
      for (const PointingTool tool :
           {PointingTool::Mark, PointingTool::Scale, PointingTool::Axes}) {
        rig.data.SetTool(tool);
        while (rig.data.Undo()) {
        }
      }
    }
    ExpectConsistent(rig.data.FixedStore());
    ExpectConsistent(rig.data.TransparentStore());
    rig.data.GetData();
    if (HasFailure()) FAIL() << "seed " << seed;
  }
}

}  // namespace
}  // namespace kinovia::test
