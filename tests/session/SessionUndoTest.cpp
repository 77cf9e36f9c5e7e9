// Undo: do, undo, compare; the history chosen by mode and tool; captions; pruning and the cap.
#include <gtest/gtest.h>

#include <numbers>
#include <string>
#include <vector>

#include "logic/session/Session.h"
#include "resources/TxtSession.h"
#include "tests/session/SessionFakes.h"

namespace kinovia::test {
namespace {

std::string Caption(std::initializer_list<TxtId> words) {
  std::string text = Txt(txt::UndoCancelar);
  for (const TxtId w : words) text += ' ' + Txt(w);
  return text;
}

// What the user can see of the fixed store: each mark's frame, object and position, in list order.
struct MarkView {
  int frame;
  int order;
  PointD position;
  bool operator==(const MarkView&) const = default;
};
std::vector<MarkView> Snapshot(const Session& data) {
  std::vector<MarkView> out;
  for (const Mark* m : data.FixedStore().Marks()) {
    out.push_back({m->Frame(), m->Order(), m->FixedPosition()});
  }
  return out;
}

TEST(SessionUndo, PointedMarksGoBackInReverseOrder) {
  SessionRig rig;
  rig.data.SetMarksNumberPerFrame(2);
  rig.video.frame = 3;
  rig.Click(10, 10);
  rig.Click(20, 20);
  rig.Click(30, 30);  // frame 4, object 0
  EXPECT_EQ(rig.data.UndoCaption(), Caption({txt::UndoVerbPoner, txt::UndoNounMarca}));
  struct Step {
    int marksLeft;
    int frame;
    int order;
  };
  const Step steps[] = {{2, 4, 0}, {1, 3, 1}, {0, 3, 0}};
  for (const Step& s : steps) {
    ASSERT_TRUE(rig.data.Undo());
    EXPECT_EQ(rig.data.MarksCount(), s.marksLeft);
    EXPECT_EQ(rig.video.frame, s.frame);
    EXPECT_EQ(rig.data.CurrentMarkOrderNumber(), s.order);
  }
  ASSERT_TRUE(rig.data.Undo());  // then the number of marks per frame
  EXPECT_EQ(rig.data.MarksPerFrame(), 1);
  EXPECT_FALSE(rig.data.Undo());
  EXPECT_EQ(rig.data.UndoCaption(), Txt(txt::UndoCancelar));
  EXPECT_EQ(rig.data.UndoMenuCaption(), Txt(txt::UndoCancelar) + "  " + Txt(txt::UndoShortcut));
}

TEST(SessionUndo, DragWithoutMovingIsPrunedAndTheStepBeforeIsUndone) {
  SessionRig rig;
  rig.Click(100, 100);
  rig.Click(200, 200);
  rig.data.SetTool(PointingTool::Move);
  rig.Drag({200, 200}, {200, 200});
  EXPECT_EQ(rig.data.UndoCaption(), Caption({txt::UndoVerbPoner, txt::UndoNounMarca}));
  rig.data.Undo();
  EXPECT_EQ(rig.data.MarksCount(), 1);
}

TEST(SessionUndo, MovedMarkComesBack) {
  SessionRig rig;
  rig.Click(100, 100);
  const auto before = Snapshot(rig.data);
  rig.data.SetTool(PointingTool::Move);
  rig.Drag({100, 100}, {300, 50});
  EXPECT_NE(Snapshot(rig.data), before);
  EXPECT_EQ(rig.data.UndoCaption(), Caption({txt::UndoVerbDesplazar, txt::UndoNounMarca}));
  rig.data.Undo();
  EXPECT_EQ(Snapshot(rig.data), before);
  EXPECT_EQ(rig.data.FixedStore().Marks()[0]->Screen(), (PointI{100, 100}));
}

TEST(SessionUndo, DeletedMarkReturnsToItsFormerListIndex) {
  SessionRig rig;
  for (int i = 0; i < 4; ++i) rig.Click(100 + 40 * i, 100);
  const auto before = Snapshot(rig.data);
  rig.data.SetTool(PointingTool::Erase);
  rig.Click(140, 100);
  EXPECT_EQ(rig.data.MarksCount(), 3);
  EXPECT_EQ(rig.data.UndoCaption(), Caption({txt::UndoVerbSuprimir, txt::UndoNounMarca}));
  rig.data.Undo();
  EXPECT_EQ(Snapshot(rig.data), before);
  EXPECT_EQ(rig.data.FixedStore().FindContainer(1)->Rank(), 1);
}

TEST(SessionUndo, ReducedMarksPerFrameIsRestoredWithItsMarks) {
  SessionRig rig;
  rig.data.SetMarksNumberPerFrame(3);
  for (int i = 0; i < 6; ++i) rig.Click(10 * i, 10);
  rig.data.SetObjectName(2, "de la Luna");
  const auto before = Snapshot(rig.data);
  rig.data.SetMarksNumberPerFrame(1);
  EXPECT_EQ(rig.data.MarksCount(), 2);
  EXPECT_EQ(rig.data.UndoCaption(), Txt(txt::UndoCancelar) + ' ' + Txt(txt::UndoVerbModificar));
  rig.data.Undo();
  EXPECT_EQ(rig.data.MarksPerFrame(), 3);
  EXPECT_EQ(Snapshot(rig.data), before);
  EXPECT_EQ(rig.data.ObjectName(2), "de la Luna");
  // The restored marks are live again: they can be undone one by one.
  rig.data.Undo();
  EXPECT_EQ(rig.data.MarksCount(), 5);
}

TEST(SessionUndo, ScaleToolUndoesOnlyTheScale) {
  SessionRig rig;
  rig.data.SetTool(PointingTool::Scale);
  rig.Click(100, 100);
  rig.Click(300, 100);
  rig.data.SetTool(PointingTool::Mark);
  rig.Click(50, 50);
  rig.data.SetTool(PointingTool::Scale);
  EXPECT_EQ(rig.data.UndoCaption(), Caption({txt::UndoVerbDefinir, txt::UndoNounEscala}));
  rig.data.Undo();
  EXPECT_EQ(rig.data.CalibrationScale().PointCount(Scale::kSingle), 0);
  EXPECT_EQ(rig.data.MarksCount(), 1);
}

TEST(SessionUndo, ErasedSecondScalePointCanBeUndoneButNotTheFirst) {
  SessionRig rig;
  rig.data.SetTool(PointingTool::Scale);
  rig.Click(100, 100);
  rig.Click(300, 100);
  rig.Click(0, 0, MouseButton::Right);
  rig.Click(0, 0, MouseButton::Right);
  EXPECT_EQ(rig.data.UndoCaption(), Caption({txt::UndoVerbBorrar, txt::UndoNounEscala}));
  rig.data.Undo();
  EXPECT_EQ(rig.data.CalibrationScale().PointCount(Scale::kSingle), 2);
  EXPECT_EQ(rig.data.CalibrationScale().Screen(Scale::kSingle, 1), (PointI{300, 100}));
}

TEST(SessionUndo, AxesHistoryRestoresAngleAndOrigin) {
  SessionRig rig;
  int changes = 0;
  rig.data.Subscribe(SessionEvent::AxesChanged, [&](const Session&) { ++changes; });
  rig.data.SetTool(PointingTool::Axes);
  rig.Click(320, 240);
  rig.data.SetXAxisAngle(std::numbers::pi / 6);
  EXPECT_EQ(rig.data.UndoCaption(), Caption({txt::UndoVerbGirar, txt::UndoNounSistemaReferencia}));
  rig.data.Undo();
  EXPECT_EQ(rig.data.XAxisAngle(), 0.0);
  EXPECT_TRUE(rig.data.OriginPlaced());
  rig.data.Undo();
  EXPECT_FALSE(rig.data.OriginPlaced());
  EXPECT_EQ(changes, 4);
}

TEST(SessionUndo, EraseEverythingIsOneStep) {
  SessionRig rig;
  rig.Click(100, 100);
  rig.Click(200, 100);
  rig.data.SetTool(PointingTool::Axes);
  rig.Click(10, 10);
  rig.data.SetTool(PointingTool::Mark);
  rig.data.EraseEverything();
  EXPECT_EQ(rig.data.MarksCount(), 0);
  EXPECT_FALSE(rig.data.OriginPlaced());
  // Marks and origin are mixed: nothing more than the bare caption describes the step.
  EXPECT_EQ(rig.data.UndoCaption(), Txt(txt::UndoCancelar));
  rig.data.Undo();
  EXPECT_EQ(rig.data.MarksCount(), 2);
}

TEST(SessionUndo, TransparentStepsUndoneInTurn) {
  SessionRig rig;
  rig.video.mode = WorkingMode::Transparent;
  rig.data.SetTool(PointingTool::Transparent);
  const PointD defaultOrigin = rig.data.Transparent().Origin();
  rig.Click(320, 240);  // drop
  rig.Click(400, 200);  // point
  rig.data.KeyResizeSheet(true);
  EXPECT_EQ(rig.data.UndoCaption(), Caption({txt::UndoVerbDeformar, txt::UndoNounTransparente}));
  rig.data.Undo();
  EXPECT_DOUBLE_EQ(rig.data.Transparent().HalfWidth(), 0.5);
  rig.data.Undo();
  EXPECT_EQ(rig.data.MarksCount(), 0);
  EXPECT_EQ(rig.data.Transparent().Stage(), TransparentSheet::kWaitMark);
  rig.data.Undo();
  EXPECT_TRUE(rig.data.Transparent().Origins().empty());
  EXPECT_EQ(rig.data.Transparent().Stage(), TransparentSheet::kWaitGrab);
  EXPECT_EQ(rig.data.Transparent().Origin(), defaultOrigin);
}

TEST(SessionUndo, CancelledOriginComesBackAsTheCurrentOne) {
  SessionRig rig;
  rig.video.mode = WorkingMode::Transparent;
  rig.data.SetTool(PointingTool::Transparent);
  rig.Click(320, 240);  // drop at frame 0, stage 2
  const PointD dropped = rig.data.Transparent().Origin();
  rig.Click(0, 0, MouseButton::Right);
  EXPECT_TRUE(rig.data.Transparent().Origins().empty());
  rig.data.Undo();
  ASSERT_EQ(rig.data.Transparent().Origins().size(), 1u);
  EXPECT_EQ(rig.data.Transparent().Origin(), dropped);
  EXPECT_EQ(rig.data.Transparent().Stage(), TransparentSheet::kWaitMark);
}

TEST(SessionUndo, HiddenFrameEmptiesTheMarkHistories) {
  SessionRig rig;
  rig.Click(10, 10);
  rig.Click(20, 20);
  rig.data.FrameHidden(0);
  EXPECT_EQ(rig.data.MarksCount(), 1);
  EXPECT_FALSE(rig.data.Undo());
}

TEST(SessionUndo, DeletionUndoneAfterTheStoreWasRestoredFindsItsFrame) {
  SessionRig rig;
  rig.data.SetMarksNumberPerFrame(2);
  rig.Click(100, 100);
  rig.Click(200, 100);
  const auto before = Snapshot(rig.data);
  rig.data.DeleteMark(rig.data.FixedStore().Marks()[0]);
  rig.data.SetMarksNumberPerFrame(1);  // a snapshot of the whole store, containers included
  rig.data.Undo();                     // the store comes back with new containers
  rig.data.Undo();                     // the deleted mark must find its frame among them
  EXPECT_EQ(Snapshot(rig.data), before);
  EXPECT_EQ(rig.data.FixedStore().Containers().size(), 1u);
}

TEST(SessionUndo, DeletedMarkIsNotDoubledWhenItsObjectWasPointedAgain) {
  SessionRig rig;
  rig.Click(100, 100);
  rig.video.frame = 0;
  rig.data.SetTool(PointingTool::Scale);
  rig.data.EraseEverything();  // recorded in the scale history, the scale tool being chosen
  rig.data.SetTool(PointingTool::Mark);
  rig.Click(300, 300);  // object 0 on frame 0 again
  rig.data.SetTool(PointingTool::Scale);
  rig.data.Undo();
  const FrameMarks* c = rig.data.FixedStore().FindContainer(0);
  ASSERT_NE(c, nullptr);
  ASSERT_EQ(c->Marks().size(), 1u);
  EXPECT_EQ(c->Marks()[0]->Screen(), (PointI{300, 300}));
  EXPECT_EQ(rig.data.MarksCount(), 1);
}

TEST(SessionUndo, TrackedMarksReplaceAndComeOffInOneStep) {
  SessionRig rig;
  rig.data.SetMarksNumberPerFrame(2);
  rig.video.frame = 3;
  rig.Click(100, 100);
  const auto before = Snapshot(rig.data);
  rig.video.mode = WorkingMode::Tracking;
  rig.video.frame = 9;
  rig.data.KeepTrackedMarks(
      {{0, 3, {0.5, 0.5}}, {0, 5, {0.6, 0.5}}, {1, 5, {0.7, 0.5}}, {7, 5, {0.1, 0.1}}});
  EXPECT_EQ(rig.data.MarksCount(), 3);
  EXPECT_EQ(rig.data.FixedStore().FindContainer(3)->OfOrder(0)->Screen(), (PointI{320, 240}));
  EXPECT_EQ(rig.data.UndoCaption(), Txt(txt::UndoCancelar));  // moved and placed marks
  rig.data.Undo();
  EXPECT_EQ(Snapshot(rig.data), before);
  EXPECT_EQ(rig.video.frame, 9);  // a tracked mark is taken off without moving the clip
}

// A minimal recorded object to exercise the history on its own.
class Number : public RecordedObject {
 public:
  Number() : RecordedObject(ObjectKind::SheetOrigin) {}
  int value = 0;
  void Assign(const RecordedObject& s) override {
    RecordedObject::Assign(s);
    value = static_cast<const Number&>(s).value;
  }
  bool Equals(const RecordedObject& o) const override {
    return value == static_cast<const Number&>(o).value;
  }
  std::unique_ptr<RecordedObject> NewBlank() const override { return std::make_unique<Number>(); }
};

class NumberTarget : public IUndoTarget {
 public:
  Number live;
  RecordedObject* FindLive(const RecordedObject& e) override {
    return e.Identifier() == live.Identifier() ? &live : nullptr;
  }
  void UndoCreation(RecordedObject&, UndoAction) override {}
  void Reinsert(std::unique_ptr<RecordedObject>) override {}
  void Revert(RecordedObject& l, const RecordedObject& e) override { l.Assign(e); }
};

TEST(SessionHistory, KeepsTheNewest65536Entries) {
  UndoHistory history;
  NumberTarget target;
  for (int i = 0; i < 70000; ++i) {
    target.live.value = i;
    history.Record(target.live, UndoAction::Drag);
  }
  EXPECT_EQ(history.Count(), UndoHistory::kCapacity);
  EXPECT_EQ(static_cast<const Number&>(history.Entry(0)).value, 70000 - 65536);
  target.live.value = -1;
  ASSERT_TRUE(history.Undo(target));
  EXPECT_EQ(target.live.value, 69999);
}

TEST(SessionHistory, NestedGroupsCloseAtTheOuterEnd) {
  UndoHistory history;
  NumberTarget target;
  {
    const UndoGroup outer(history);
    {
      const UndoGroup inner(history);
      target.live.value = 1;
      history.Record(target.live, UndoAction::Drag);
    }
    target.live.value = 2;
    history.Record(target.live, UndoAction::Drag);
  }
  target.live.value = 3;
  history.Record(target.live, UndoAction::Drag);
  target.live.value = 4;
  history.Undo(target);
  EXPECT_EQ(target.live.value, 3);
  history.Undo(target);  // the group of two restores the oldest copy last
  EXPECT_EQ(target.live.value, 1);
  EXPECT_EQ(history.Count(), 0u);
}

TEST(SessionHistory, SuspendedAndUnrecordedObjectsAddNothing) {
  SessionRig rig;
  rig.Click(10, 10);
  UndoHistory history;
  history.Record(*rig.data.FixedStore().Containers()[0], UndoAction::Drag);
  EXPECT_EQ(history.Count(), 0u);
}

}  // namespace
}  // namespace kinovia::test
