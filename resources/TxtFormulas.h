#pragma once
// Identifiers of the formulas texts of the string table.
#include "core/StringTable.h"
#define KNV_TEXT_FILE "resources/strings/formulas.def"
#include "resources/DeclareTexts.inc"
