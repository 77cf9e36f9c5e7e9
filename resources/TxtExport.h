#pragma once
// Identifiers of the export texts of the string table.
#include "resources/UnitStrings.h"
#define KNV_TEXT_FILE "resources/strings/export.def"
#include "resources/DeclareTexts.inc"
