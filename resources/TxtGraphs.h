#pragma once
// Identifiers of the graphs texts of the string table.
#include "core/StringTable.h"
#define KNV_TEXT_FILE "resources/strings/graphs.def"
#include "resources/DeclareTexts.inc"
