// Any bytes as a work file: reading answers a session or a refusal, never a crash, a hang or a
// huge allocation; a session it answers fits a clip with what it says left out, and can be
// written and read again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "logic/session/MarkStore.h"
#include "logic/session/WorkFile.h"

namespace {

constexpr kinovia::ClipFacts kClip{50, 0.04};

// After fitting, nothing the clip or the program cannot take is left, and there is nothing more
// to say.
void CheckFitted(kinovia::WorkFileContent& work) {
  if (work.fixedStore.perFrame > kinovia::MarkStore::kMaxMarksPerFrame) std::abort();
  for (const auto* store : {&work.fixedStore, &work.layerStore}) {
    for (const auto& container : store->containers) {
      if (container.frame >= kClip.frameCount) std::abort();
      for (const auto& mark : container.marks)
        if (mark.order >= store->perFrame) std::abort();
    }
  }
  if (kinovia::FitWorkToClip(work, kClip, "fuzz.knv")) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kinovia::IniFile ini;
  if (!ini.Parse(std::string_view(reinterpret_cast<const char*>(data), size))) return 0;
  auto read = kinovia::ReadWorkFile(ini, "fuzz.knv");
  if (read) {
    kinovia::WorkFileContent work = std::move(read).Value();
    kinovia::Montage montage;
    montage.Restore(work.montage.frameCount, work.montage.runs, work.montage.entries);
    (void)kinovia::FitWorkToClip(work, kClip, "fuzz.knv");
    CheckFitted(work);
    kinovia::IniFile out;
    kinovia::WriteWorkFile(out, work);
    (void)kinovia::ReadWorkFile(out, "fuzz.knv");
  }
  return 0;
}
