#pragma once
// Small text helpers the file writers share: joining cells into a line, escaping XML text, numbers
// as XML reads them.
#include <charconv>
#include <string>
#include <string_view>
#include <vector>

namespace kinovia {

inline std::string Joined(const std::vector<std::string>& parts, char separator) {
  std::string text;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) text += separator;
    text += parts[i];
  }
  return text;
}

// Appends the text with the characters XML reserves replaced, for element text and attributes.
inline void AppendXmlEscaped(std::string& out, std::string_view text) {
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
}

inline std::string XmlEscaped(std::string_view text) {
  std::string out;
  AppendXmlEscaped(out, text);
  return out;
}

// Appends the shortest text that reads back as the same double, with "." whatever the locale:
// printf's "%.16G" would store 0.687 as 0.6870000000000001.
inline void AppendShortestNumber(std::string& out, double value) {
  char buffer[32];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, error == std::errc() ? end : buffer);
}

}  // namespace kinovia
