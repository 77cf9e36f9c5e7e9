#pragma once
// The string table: every text the user sees, by identifier. Code asks for a text by its
// identifier (txt::ButtonOk, declared by the Txt<Area>.h headers) and never spells it; a
// translation replaces texts without touching that code.
#include <string>
#include <string_view>
#include <vector>

namespace kinovia {

struct TxtId {
  std::string_view name;
  bool operator==(const TxtId&) const = default;
};

// The text of an identifier in the current language (Spanish unless a translation was loaded).
const std::string& Txt(TxtId id);

// Every identifier of the table, in table order.
std::vector<TxtId> AllTexts();

// Loads a translation: lines "Identifier<TAB>text" ("\n" and "\t" escaped), "#" lines skipped.
// Unknown identifiers are ignored; texts left out keep their Spanish form. Returns false when the
// file cannot be read.
bool LoadTranslation(const std::string& path);

// Back to the built-in Spanish texts.
void ResetTranslation();

}  // namespace kinovia
