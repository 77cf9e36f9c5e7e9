#pragma once
// Text-level steps of reading a formula, shared by the tokeniser and its checks.
#include <string>
#include <string_view>

namespace kinovia {

// The text with each run of signs merged ("--" is "+", "*+" is "*"...) and a leading sign made
// explicit ("-x" is "0-x", "(+x)" is "(x)").
std::string RewriteSigns(std::string_view text);

// The character at byte `i` as an error message can quote it: a printable character or a whole
// UTF-8 sequence as it is, any other byte as "\xHH".
std::string QuotedCharacter(std::string_view text, std::size_t i);

}  // namespace kinovia
