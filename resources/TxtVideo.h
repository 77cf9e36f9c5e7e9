#pragma once
// Identifiers of the video texts of the string table.
#include "resources/UnitStrings.h"
#define KNV_TEXT_FILE "resources/strings/video.def"
#include "resources/DeclareTexts.inc"
