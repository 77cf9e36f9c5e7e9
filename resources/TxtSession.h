#pragma once
// Identifiers of the session texts of the string table.
#include "core/StringTable.h"
#define KNV_TEXT_FILE "resources/strings/session.def"
#include "resources/DeclareTexts.inc"
