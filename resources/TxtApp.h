#pragma once
// Identifiers of the app texts of the string table.
#include "core/StringTable.h"
#define KNV_TEXT_FILE "resources/strings/app.def"
#include "resources/DeclareTexts.inc"
