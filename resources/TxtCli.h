#pragma once
// Identifiers of the cli texts of the string table.
#include "core/StringTable.h"
#define KNV_TEXT_FILE "resources/strings/cli.def"
#include "resources/DeclareTexts.inc"
