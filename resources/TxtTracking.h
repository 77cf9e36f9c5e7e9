#pragma once
// Identifiers of the tracking texts of the string table.
#include "core/StringTable.h"
#define KNV_TEXT_FILE "resources/strings/tracking.def"
#include "resources/DeclareTexts.inc"
