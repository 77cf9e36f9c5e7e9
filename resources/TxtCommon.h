#pragma once
// Identifiers of the common texts of the string table.
#include "core/StringTable.h"
#define KNV_TEXT_FILE "resources/strings/common.def"
#include "resources/DeclareTexts.inc"
