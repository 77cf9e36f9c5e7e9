#pragma once
// Identifiers of the workshop texts of the string table.
#include "core/StringTable.h"
#define KNV_TEXT_FILE "resources/strings/workshop.def"
#include "resources/DeclareTexts.inc"
