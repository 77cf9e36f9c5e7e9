#pragma once
// Identifiers of the settings texts of the string table.
#include "core/StringTable.h"
#define KNV_TEXT_FILE "resources/strings/settings.def"
#include "resources/DeclareTexts.inc"
