#pragma once
// Identifiers of the results table's texts of the string table.
#include "core/StringTable.h"
#define KNV_TEXT_FILE "resources/strings/table.def"
#include "resources/DeclareTexts.inc"
