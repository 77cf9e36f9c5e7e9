#pragma once
// Identifiers of the results texts of the string table.
#include "core/StringTable.h"
#define KNV_TEXT_FILE "resources/strings/results.def"
#include "resources/DeclareTexts.inc"
