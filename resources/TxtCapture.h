#pragma once
// Identifiers of the capture texts of the string table.
#include "core/StringTable.h"
#define KNV_TEXT_FILE "resources/strings/capture.def"
#include "resources/DeclareTexts.inc"
