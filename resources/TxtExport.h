#pragma once
// Identifiers of the export texts of the string table.
#include "core/StringTable.h"
#define KNV_TEXT_FILE "resources/strings/export.def"
#include "resources/DeclareTexts.inc"
