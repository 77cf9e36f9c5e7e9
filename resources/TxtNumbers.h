#pragma once
// Identifiers of the numbers texts of the string table.
#include "core/StringTable.h"
#define KNV_TEXT_FILE "resources/strings/numbers.def"
#include "resources/DeclareTexts.inc"
