#pragma once
// The undo history: snapshots of recorded objects pushed before each change, undone group by
// group. There is no redo.
#include <cstddef>
#include <deque>
#include <memory>
#include <string>

#include "logic/session/RecordedObject.h"

namespace kinovia {

// What an undo does to the live session objects; the session implements it.
class IUndoTarget {
 public:
  virtual ~IUndoTarget() = default;
  // The live object with the entry's identifier and class, or null when it no longer exists.
  virtual RecordedObject* FindLive(const RecordedObject& entry) = 0;
  // Removes an object whose creation is being undone.
  virtual void UndoCreation(RecordedObject& live, UndoAction action) = 0;
  // Puts a deleted object back: the entry itself becomes the live object.
  virtual void Reinsert(std::unique_ptr<RecordedObject> entry) = 0;
  // Copies the entry's state back into the live object and refreshes what depends on it.
  virtual void Revert(RecordedObject& live, const RecordedObject& entry) = 0;
};

class UndoHistory {
 public:
  static constexpr std::size_t kCapacity = 65536;

  void Record(const RecordedObject& object, UndoAction action);
  void Clear();
  // Undoes the newest group; false when there was nothing to undo.
  bool Undo(IUndoTarget& target);
  // "Cancelar", followed by the verb and noun of the newest group when they are common to it.
  std::string Caption(IUndoTarget& target);

  std::size_t Count() const { return entries_.size(); }
  const RecordedObject& Entry(std::size_t i) const { return *entries_[i]; }
  bool Suspended() const { return suspended_; }

 private:
  friend class UndoGroup;
  void OpenGroup();
  void CloseGroup();
  // Drops, from the newest, steps that changed nothing or whose object is gone.
  void Prune(IUndoTarget& target);

  int counter_ = 0;
  int depth_ = 0;
  bool grouping_ = false;
  bool suspended_ = false;
  std::deque<std::unique_ptr<RecordedObject>> entries_;
};

// Makes every step recorded while it lives one undo step. Groups nest: only the outermost one
// closes the step. Closing in the destructor keeps a group from staying open past an early
// return, which would silently merge the user's next actions into it.
class UndoGroup {
 public:
  explicit UndoGroup(UndoHistory& history) : history_(history) { history_.OpenGroup(); }
  ~UndoGroup() { history_.CloseGroup(); }
  UndoGroup(const UndoGroup&) = delete;
  UndoGroup& operator=(const UndoGroup&) = delete;

 private:
  UndoHistory& history_;
};

// True for the steps that created an object (undone by deleting it).
bool CreatesObject(UndoAction action);
// True for the steps that deleted an object (undone by putting the copy back).
bool DeletesObject(UndoAction action);

}  // namespace kinovia
