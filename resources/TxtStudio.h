#pragma once
// Identifiers of the studio texts of the string table.
#include "core/StringTable.h"
#define KNV_TEXT_FILE "resources/strings/studio.def"
#include "resources/DeclareTexts.inc"
