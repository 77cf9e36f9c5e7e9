// A reopened work file checked against its clip and the program's limits. What cannot be kept is
// left out and said, so that the rest of the work opens as it was saved.
#include <algorithm>

#include "core/Numbers.h"
#include "core/TextFill.h"
#include "logic/session/MarkStore.h"
#include "logic/session/WorkFile.h"
#include "logic/video/IntervalChoice.h"
#include "resources/TxtCommon.h"
#include "resources/TxtSettings.h"

namespace kinovia {
namespace {

// Removes the marks the predicate picks; a frame left without marks by it goes too, while a frame
// the file saved empty stays. Answers how many marks went.
template <class Picked>
long long DropMarks(SavedStore& store, const Picked& picked) {
  long long dropped = 0;
  std::erase_if(store.containers, [&](SavedFrameMarks& container) {
    const std::size_t before = container.marks.size();
    dropped += static_cast<long long>(std::erase_if(
        container.marks, [&](const SavedMark& mark) { return picked(container, mark); }));
    return before > 0 && container.marks.empty();
  });
  return dropped;
}

long long DropObjectsFrom(SavedStore& store, std::int32_t limit) {
  store.perFrame = limit;
  if (store.names.size() > static_cast<std::size_t>(limit)) store.names.resize(limit);
  return DropMarks(
      store, [&](const SavedFrameMarks&, const SavedMark& mark) { return mark.order >= limit; });
}

void LimitObjects(WorkFileContent& work, std::vector<std::string>& notes) {
  constexpr std::int32_t kMost = MarkStore::kMaxMarksPerFrame;
  if (const std::int32_t objects = work.fixedStore.perFrame; objects > kMost) {
    const long long dropped = DropObjectsFrom(work.fixedStore, kMost);
    if (work.colours.size() > kMost) work.colours.resize(kMost);
    if (work.visibilities.size() > kMost) work.visibilities.resize(kMost);
    notes.push_back(FillNumbers(txt::KnvObjectsDropped, {objects, kMost, dropped}));
  }
  if (const std::int32_t objects = work.layerStore.perFrame; objects > 1) {
    const long long dropped = DropObjectsFrom(work.layerStore, 1);
    notes.push_back(FillNumbers(txt::KnvSheetObjectsDropped, {objects, dropped}));
  }
}

void DropFramesPastEnd(WorkFileContent& work, std::int32_t frameCount,
                       std::vector<std::string>& notes) {
  if (frameCount <= 0) return;
  const auto pastEnd = [&](const SavedFrameMarks& container, const SavedMark&) {
    return container.frame >= frameCount;
  };
  const long long marks = DropMarks(work.fixedStore, pastEnd) + DropMarks(work.layerStore, pastEnd);
  // A frame past the end that the file saved empty has no frame to belong to either.
  for (SavedStore* store : {&work.fixedStore, &work.layerStore})
    std::erase_if(store->containers,
                  [&](const SavedFrameMarks& container) { return container.frame >= frameCount; });
  if (marks > 0) notes.push_back(FillNumbers(txt::KnvMarksPastEnd, {frameCount, marks}));
  const auto positions = std::erase_if(
      work.positions, [&](const SavedOrigin& origin) { return origin.frame >= frameCount; });
  if (positions > 0)
    notes.push_back(FillNumbers(txt::KnvPositionsPastEnd, {static_cast<long long>(positions)}));
}

bool AcceptedInterval(double t) { return t > kMinInterval && t < kMaxInterval; }

void CheckInterval(WorkFileContent& work, double clipInterval, std::vector<std::string>& notes) {
  if (AcceptedInterval(work.duration) || !AcceptedInterval(clipInterval)) return;
  notes.push_back(FillTexts(txt::KnvIntervalReplaced,
                            {FullPrecisionText(work.duration), FullPrecisionText(clipInterval)}));
  work.duration = clipInterval;
}

}  // namespace

std::optional<Message> FitWorkToClip(WorkFileContent& work, const ClipFacts& clip,
                                     const std::string& path) {
  std::vector<std::string> notes;
  LimitObjects(work, notes);
  DropFramesPastEnd(work, clip.frameCount, notes);
  CheckInterval(work, clip.interval, notes);
  if (notes.empty()) return std::nullopt;
  Message message{MessageIcon::Warning, {txt::ButtonOk}, {}};
  message.Line(txt::KnvRepaired).FileName(path).Blank();
  for (std::string& note : notes) message.Line(std::move(note));
  return message;
}

}  // namespace kinovia
