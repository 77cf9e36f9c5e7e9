// Pointing, removing and handing over the marks, driven through clicks in view pixels.
#include <gtest/gtest.h>

#include "logic/session/Session.h"
#include "resources/TxtSession.h"
#include "tests/session/SessionFakes.h"

namespace kinovia::test {
namespace {

TEST(SessionPointing, LastObjectOfFrameAdvancesClipAndOrderWraps) {
  SessionRig rig;
  rig.data.SetMarksNumberPerFrame(3);
  rig.data.SetFramesBetweenMarks(2);
  rig.video.frame = 10;
  const int expectedFrame[] = {10, 10, 12};
  const int expectedOrder[] = {1, 2, 0};
  for (int i = 0; i < 3; ++i) {
    rig.Click(100 + 50 * i, 100);
    EXPECT_EQ(rig.video.frame, expectedFrame[i]) << "click " << i;
    EXPECT_EQ(rig.data.CurrentMarkOrderNumber(), expectedOrder[i]) << "click " << i;
  }
  const FrameMarks* c = rig.data.FixedStore().FindContainer(10);
  ASSERT_NE(c, nullptr);
  ASSERT_EQ(c->Marks().size(), 3u);
  for (int o = 0; o < 3; ++o) {
    ASSERT_NE(c->OfOrder(o), nullptr);
    EXPECT_DOUBLE_EQ(c->OfOrder(o)->FixedPosition().x, (100 + 50 * o) / 640.0);
    EXPECT_EQ(c->OfOrder(o)->Screen(), (PointI{100 + 50 * o, 100}));
  }
}

TEST(SessionPointing, DuplicateMarkIsRefusedAndChangesNothing) {
  SessionRig rig;
  rig.data.SetMarksNumberPerFrame(2);
  rig.video.frame = 4;
  rig.Click(10, 10);
  rig.Click(20, 20);  // object 1, clip moves to 5
  rig.video.frame = 4;
  rig.data.SetCurrentMarkOrderNumber(1);
  const auto generation = rig.data.ResultsGeneration();
  const auto message = rig.data.MousePress(MouseButton::Left, {30, 30});
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(PlainText(*message), Txt(txt::SessionDuplicateMark));
  EXPECT_EQ(message->icon, MessageIcon::Information);
  EXPECT_EQ(rig.data.MarksCount(), 2);
  EXPECT_EQ(rig.video.frame, 4);
  EXPECT_EQ(rig.data.CurrentMarkOrderNumber(), 1);
  EXPECT_EQ(rig.data.ResultsGeneration(), generation);
}

TEST(SessionPointing, WithdrawingReturnsToFrameAndSelectsObject) {
  SessionRig rig;
  rig.data.SetMarksNumberPerFrame(2);
  rig.video.frame = 7;
  rig.Click(10, 10);
  rig.Click(20, 20);  // frame 7 complete, clip on 8
  rig.Click(30, 30);  // object 0 on frame 8
  ASSERT_EQ(rig.video.frame, 8);

  rig.Click(0, 0, MouseButton::Right);  // the only mark of frame 8
  EXPECT_EQ(rig.video.frame, 8);
  EXPECT_EQ(rig.data.CurrentMarkOrderNumber(), 0);

  rig.Click(0, 0, MouseButton::Right);  // frame 7 still holds object 0
  EXPECT_EQ(rig.video.frame, 7);
  EXPECT_EQ(rig.data.CurrentMarkOrderNumber(), 1);
  EXPECT_EQ(rig.data.MarksCount(), 1);
}

TEST(SessionPointing, ReducingAndRaisingMarksPerFrame) {
  SessionRig rig;
  rig.data.SetMarksNumberPerFrame(3);
  rig.data.SetObjectColour(2, 0x123456);
  rig.data.SetObjectVisibility(2, false);
  rig.data.SetObjectName(2, "de la bola");
  for (int frame = 0; frame < 2; ++frame) {
    for (int o = 0; o < 3; ++o) rig.Click(10 + o, 10);
  }
  rig.data.SetCurrentMarkOrderNumber(2);
  rig.data.SetMarksNumberPerFrame(2);
  EXPECT_EQ(rig.data.MarksCount(), 4);
  for (const Mark* m : rig.data.FixedStore().Marks()) EXPECT_LT(m->Order(), 2);
  EXPECT_EQ(rig.data.FixedStore().Names().size(), 2u);
  EXPECT_EQ(rig.data.ObjectName(2), "");
  EXPECT_EQ(rig.data.CurrentMarkOrderNumber(), 0);

  rig.data.SetMarksNumberPerFrame(3);
  EXPECT_EQ(rig.data.ObjectName(2), MarkStore::DefaultName(2));
  EXPECT_EQ(rig.data.ObjectColour(2), PaletteColour(2));
  EXPECT_TRUE(rig.data.ObjectVisible(2));
}

TEST(SessionPointing, MarksPerFrameStaysWithinWhatTheDialogAccepts) {
  SessionRig rig;
  const struct {
    int asked;
    int kept;
  } cases[] = {{0, 1}, {-5, 1}, {32, 32}, {1000000000, 32}};
  for (const auto& c : cases) {
    rig.data.SetMarksNumberPerFrame(c.asked);
    EXPECT_EQ(rig.data.MarksPerFrame(), c.kept) << c.asked;
    EXPECT_EQ(rig.data.FixedStore().Names().size(), static_cast<std::size_t>(c.kept));
  }
  EXPECT_EQ(rig.data.SmallestObjectMarkCount(), 0);
}

TEST(SessionPointing, RanksFollowFrameOrderWithEmptyContainersLast) {
  SessionRig rig;
  for (const int frame : {30, 10, 20}) {
    rig.video.frame = frame;
    rig.Click(50, 50);
  }
  const auto& containers = rig.data.FixedStore().Containers();
  ASSERT_EQ(containers.size(), 3u);
  EXPECT_EQ(containers[0]->Rank(), 2);
  EXPECT_EQ(containers[1]->Rank(), 0);
  EXPECT_EQ(containers[2]->Rank(), 1);

  rig.data.DeleteFrameMarks(10);
  EXPECT_EQ(containers[0]->Rank(), 1);
  EXPECT_EQ(containers[1]->Rank(), 2);
  EXPECT_EQ(containers[2]->Rank(), 0);
}

TEST(SessionPointing, DefaultNamesAndPaletteEnds) {
  SessionRig rig;
  EXPECT_EQ(rig.data.ObjectName(0), Txt(txt::SessionDefaultObjectName) + "1");
  EXPECT_EQ(rig.data.TransparentStore().Names().size(), 2u);
  EXPECT_EQ(rig.data.TransparentStore().Names()[1], Txt(txt::SessionDefaultObjectName) + "2");
  EXPECT_EQ(PaletteColour(0), 0x0000FFu);   // FF0000 as RGB
  EXPECT_EQ(PaletteColour(1), 0xE9D105u);   // 05D1E9 as RGB
  EXPECT_EQ(PaletteColour(-1), 0x00FFFFu);  // the last entry, yellow
  EXPECT_EQ(PaletteColour(65), PaletteColour(0));
  EXPECT_EQ(PaletteColour(-2), PaletteColour(2));
}

TEST(SessionObjects, ColourStepsAndOutOfRangeQueries) {
  SessionRig rig;
  rig.data.SetMarksNumberPerFrame(3);
  rig.data.KeyDigit(3, /*backward=*/true);
  EXPECT_EQ(rig.data.ObjectColour(2), PaletteColour(1));
  rig.data.KeyDigit(1, /*backward=*/true);
  EXPECT_EQ(rig.data.ObjectColour(0), PaletteColour(-1));
  rig.data.KeyDigit(1, /*backward=*/false);
  EXPECT_EQ(rig.data.ObjectColour(0), PaletteColour(0));
  rig.data.KeyDigit(0, /*backward=*/false);  // element colour: yellow is the last entry
  EXPECT_EQ(rig.data.ElementColour(), PaletteColour(0));

  EXPECT_EQ(rig.data.ObjectColour(7), 0x0000FFu);
  rig.data.SetObjectVisibility(7, false);
  EXPECT_TRUE(rig.data.ObjectVisible(7));
  rig.data.SetObjectVisibility(1, false);
  EXPECT_FALSE(rig.data.ObjectVisible(1));
  rig.video.mode = WorkingMode::Transparent;
  EXPECT_TRUE(rig.data.ObjectVisible(1));
}

TEST(SessionObjects, NamesFollowTheMode) {
  SessionRig rig;
  rig.video.mode = WorkingMode::Tracking;
  rig.data.SetObjectName(0, "ignored");
  rig.video.mode = WorkingMode::FixedAxes;
  EXPECT_EQ(rig.data.ObjectName(0), MarkStore::DefaultName(0));
  rig.data.SetObjectName(0, "de una bola");
  rig.video.mode = WorkingMode::Transparent;
  rig.data.SetObjectName(1, "del tren");
  EXPECT_EQ(rig.data.TransparentStore().Names()[1], "del tren");
  EXPECT_EQ(rig.data.FixedStore().Names()[0], "de una bola");
}

TEST(SessionAccessors, TimesFromEarliestFrameAndMissingObjects) {
  SessionRig rig;
  rig.data.SetDuration(0.04);
  rig.data.SetMarksNumberPerFrame(2);
  rig.data.SetTool(PointingTool::Axes);
  rig.Click(64, 240);  // origin at (0.1, 0.5)
  rig.data.SetTool(PointingTool::Mark);
  for (const int frame : {12, 5, 7}) {
    rig.video.frame = frame;
    rig.data.SetCurrentMarkOrderNumber(0);
    rig.Click(128, 120);  // (0.2, 0.25)
    if (frame != 7) rig.Click(320, 360);
  }
  const PointedData d = rig.data.GetData();
  ASSERT_EQ(d.time.size(), 3u);
  const double times[] = {0.0, 0.08, 0.28};
  const int frames0[] = {0, 2, 7};
  const int frames1[] = {0, -1, 7};
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(d.time[i], times[i], 1e-12);
    EXPECT_EQ(d.frame[0][i], frames0[i]);
    EXPECT_EQ(d.frame[1][i], frames1[i]);
    EXPECT_NEAR(d.x[0][i], 0.1, 1e-12);
    EXPECT_NEAR(d.y[0][i], 0.25, 1e-12);
  }
  EXPECT_EQ(d.x[1][1], 0.0);
  EXPECT_EQ(d.y[1][1], 0.0);
  EXPECT_NEAR(d.x[1][2], 0.4, 1e-12);
  EXPECT_NEAR(d.y[1][2], -0.25, 1e-12);
}

TEST(SessionAccessors, TimeShiftsOfTheMontageOrderTheColumns) {
  SessionRig rig;
  rig.data.SetDuration(0.1);
  rig.video.timeShift = {{3, 10}};  // frame 3 comes after frame 8
  for (const int frame : {3, 8}) {
    rig.video.frame = frame;
    rig.Click(100, 100);
  }
  const PointedData d = rig.data.GetData();
  ASSERT_EQ(d.time.size(), 2u);
  EXPECT_EQ(d.frame[0][0], 0);  // frame 8
  EXPECT_EQ(d.frame[0][1], 5);  // frame 3 + 10
  EXPECT_NEAR(d.time[1], 0.5, 1e-12);
}

TEST(SessionQueries, SmallestCountLastFrameAndMontageCounts) {
  SessionRig rig;
  rig.data.SetMarksNumberPerFrame(3);
  for (int i = 0; i < 3; ++i) rig.Click(10, 10);
  rig.Click(10, 10);
  rig.Click(10, 10);
  EXPECT_EQ(rig.data.SmallestObjectMarkCount(), 1);
  EXPECT_EQ(rig.data.LastPointedFrame(), 1);
  EXPECT_EQ(rig.data.MarksOnFrame(1), -1);
  rig.video.mode = WorkingMode::Montage;
  EXPECT_EQ(rig.data.MarksOnFrame(1), 2);
  EXPECT_EQ(rig.data.MarksOnFrame(50), -1);

  EXPECT_EQ(rig.data.FixedStore().FirstDrawnIndex(), 0);
  rig.data.SetAllDrawn(false);
  rig.data.SetMarksToDraw(2);
  EXPECT_EQ(rig.data.FixedStore().FirstDrawnIndex(), 3);
  rig.data.SetMarksToDraw(9);
  EXPECT_EQ(rig.data.FixedStore().FirstDrawnIndex(), 0);
}

TEST(SessionMoveTool, DragMovesTheMarkAndReleaseEndsIt) {
  SessionRig rig;
  rig.Click(100, 100);
  rig.data.SetTool(PointingTool::Move);
  rig.data.MouseMove({102, 98});
  EXPECT_EQ(rig.data.Cursor(), SessionCursor::Move);
  rig.data.MousePress(MouseButton::Left, {102, 98});
  EXPECT_EQ(rig.data.FixedStore().DragState(), MarkStore::kMoving);
  rig.data.MouseMove({320, 240});
  rig.data.MouseRelease(MouseButton::Left, {320, 240});
  const Mark* m = rig.data.FixedStore().Marks()[0];
  EXPECT_DOUBLE_EQ(m->FixedPosition().x, 0.5);
  EXPECT_DOUBLE_EQ(m->FixedPosition().y, 0.5);
  EXPECT_EQ(rig.data.FixedStore().DragState(), MarkStore::kIdle);
  rig.data.MouseMove({400, 400});
  EXPECT_EQ(rig.data.Cursor(), SessionCursor::Tool);
}

TEST(SessionEraseTool, RectangleDeletesMarksInsideBordersIncluded) {
  SessionRig rig;
  const PointI points[] = {{100, 100}, {200, 200}, {300, 300}, {150, 50}};
  for (const auto p : points) rig.Click(p.x, p.y);
  rig.data.SetTool(PointingTool::Erase);
  rig.Drag({200, 250}, {90, 90});  // corners in reverse order, (200, 200) on the border
  EXPECT_EQ(rig.data.MarksCount(), 2);
  rig.data.Undo();
  EXPECT_EQ(rig.data.MarksCount(), 4);
  EXPECT_EQ(rig.data.FixedStore().Marks()[1]->Screen(), (PointI{200, 200}));
}

TEST(SessionEraseTool, ClickOnMarkAndRightButtonOnFrame) {
  SessionRig rig;
  rig.data.SetMarksNumberPerFrame(2);
  rig.Click(100, 100);
  rig.Click(200, 200);
  rig.Click(300, 300);  // frame 1
  rig.data.SetTool(PointingTool::Erase);
  rig.Click(301, 298);
  EXPECT_EQ(rig.data.MarksCount(), 2);
  rig.video.frame = 0;
  rig.Click(5, 5, MouseButton::Right);
  EXPECT_EQ(rig.data.MarksCount(), 0);
  rig.data.Undo();
  EXPECT_EQ(rig.data.MarksCount(), 2);
}

TEST(SessionKeys, AltSelectsTheNextObjectAndEnterActsAsTheMouse) {
  SessionRig rig;
  rig.data.SetMarksNumberPerFrame(2);
  rig.data.KeyNextObject();
  EXPECT_EQ(rig.data.CurrentMarkOrderNumber(), 1);
  rig.data.KeyNextObject();
  EXPECT_EQ(rig.data.CurrentMarkOrderNumber(), 0);

  EXPECT_FALSE(rig.data.KeyEnter({100, 100}).has_value());  // points object 0
  EXPECT_EQ(rig.data.MarksCount(), 1);
  rig.data.SetTool(PointingTool::Move);
  rig.data.KeyEnter({100, 100});  // grabs the mark
  rig.data.MouseMove({200, 200});
  rig.data.KeyEnter({200, 200});  // drops it
  EXPECT_EQ(rig.data.FixedStore().DragState(), MarkStore::kIdle);
  EXPECT_EQ(rig.data.FixedStore().Marks()[0]->Screen(), (PointI{200, 200}));
}

TEST(SessionKeys, OtherModesIgnoreThePicture) {
  SessionRig rig;
  for (const WorkingMode mode :
       {WorkingMode::Tracking, WorkingMode::Montage, WorkingMode::Studio}) {
    rig.video.mode = mode;
    rig.Click(100, 100);
    EXPECT_EQ(rig.data.FixedStore().Marks().size(), 0u);
  }
  rig.video.mode = WorkingMode::Capture;
  rig.data.KeyDigit(1, false);
  EXPECT_EQ(rig.data.ObjectColour(0), PaletteColour(0));
}

TEST(SessionNotifications, MarksAndToolAndColourAreAnnounced) {
  SessionRig rig;
  int marks = 0, tool = 0, colour = 0, perFrame = 0, stale = 0;
  rig.data.Subscribe(SessionEvent::MarksChanged, [&](const Session&) { ++marks; });
  rig.data.Subscribe(SessionEvent::ToolChanged, [&](const Session&) { ++tool; });
  rig.data.Subscribe(SessionEvent::MarkColourChanged, [&](const Session&) { ++colour; });
  rig.data.Subscribe(SessionEvent::MarksPerFrameChanged, [&](const Session&) { ++perFrame; });
  rig.data.Subscribe(SessionEvent::ResultsStale, [&](const Session&) { ++stale; });
  rig.Click(10, 10);
  rig.data.SetTool(PointingTool::Erase);
  rig.data.SetObjectColour(0, 1);
  rig.data.SetMarksNumberPerFrame(2);
  rig.data.SetMarksNumberPerFrame(2);
  EXPECT_EQ(marks, 1);
  EXPECT_EQ(tool, 1);
  EXPECT_EQ(colour, 1);
  EXPECT_EQ(perFrame, 1);
  EXPECT_GT(stale, 0);
}

}  // namespace
}  // namespace kinovia::test
