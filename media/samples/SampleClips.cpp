#include "media/samples/SampleClips.h"

#include <cstdint>

#include "media/recording/AviWriter.h"
#include "media/samples/SampleClipFiles.h"

// The clips are assembled into read-only data as they are; compiling them as C arrays would
// cost far more time and memory for the same bytes. The digests, an assembler comment, make the
// compiled text differ whenever the clips do, so no compiler cache hands back old clips.
// clang-format off
#define KNV_EMBED(symbol, file)               \
  asm("# " KINOVIA_SAMPLE_STAMP "\n"           \
      ".pushsection .rodata\n"                \
      ".balign 16\n"                          \
      ".globl " #symbol "_begin\n"             \
      #symbol "_begin:\n"                     \
      ".incbin \"" file "\"\n"                \
      ".globl " #symbol "_end\n"               \
      #symbol "_end:\n"                       \
      ".popsection\n");
// clang-format on

KNV_EMBED(kinovia_sample_cylindre, KINOVIA_SAMPLE_CYLINDRE_AVI)
KNV_EMBED(kinovia_sample_parabole, KINOVIA_SAMPLE_PARABOLE_AVI)

extern "C" const std::byte kinovia_sample_cylindre_begin[];
extern "C" const std::byte kinovia_sample_cylindre_end[];
extern "C" const std::byte kinovia_sample_parabole_begin[];
extern "C" const std::byte kinovia_sample_parabole_end[];

namespace kinovia {

std::span<const std::byte> SampleClipBytes(SampleClip clip) {
  if (clip == SampleClip::Cylindre)
    return {kinovia_sample_cylindre_begin, kinovia_sample_cylindre_end};
  return {kinovia_sample_parabole_begin, kinovia_sample_parabole_end};
}

bool WriteSampleClips(const std::filesystem::path& folder) {
  bool written = true;
  for (const SampleClip clip : kSampleClips) {
    const auto bytes = SampleClipBytes(clip);
    const std::span<const std::uint8_t> raw(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                            bytes.size());
    written =
        WriteFileReplacing(folder / (std::string(SampleClipName(clip)) + ".avi"), raw) && written;
  }
  return written;
}

}  // namespace kinovia
