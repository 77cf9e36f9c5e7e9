#pragma once
// Identifiers of the video texts of the string table.
#include "core/StringTable.h"
#define KNV_TEXT_FILE "resources/strings/video.def"
#include "resources/DeclareTexts.inc"
