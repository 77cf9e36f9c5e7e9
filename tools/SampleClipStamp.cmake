# Writes the clips' digests into a header the embedding unit includes, so that a compiler cache,
# which never reads files pulled in by the assembler, still sees when the clips change.
# Usage: cmake -DDIR=<folder of the clips> -P SampleClipStamp.cmake
file(SHA256 ${DIR}/Cylindre.avi cylindre)
file(SHA256 ${DIR}/Parabole.avi parabole)
file(WRITE ${DIR}/SampleClipStamp.h
  "#pragma once\n#define KINOVIA_SAMPLE_STAMP \"${cylindre} ${parabole}\"\n")
