#pragma once
// A message for the user as the logic builds it; the main window's message box shows it.
#include <cstdint>
#include <string>
#include <vector>

#include "core/StringTable.h"

namespace kinovia {

enum class MessageIcon { Warning, Error, Information, Confirmation };

// Colours are 0x00BBGGRR.
inline constexpr std::uint32_t kColourBlack = 0x000000;
inline constexpr std::uint32_t kColourBlue = 0xFF0000;
inline constexpr std::uint32_t kColourRed = 0x0000FF;

struct MessageLine {
  std::string text;  // empty: a paragraph break
  bool bold = false;
  bool italic = false;
  std::uint32_t colour = kColourBlack;

  bool operator==(const MessageLine&) const = default;
};

struct Message {
  MessageIcon icon = MessageIcon::Information;
  std::vector<TxtId> buttons;
  std::vector<MessageLine> lines;
  int autoCloseMs = 0;  // 0: stays until a button is pressed; otherwise at least 500

  Message& Line(std::string text) {
    lines.push_back({std::move(text)});
    return *this;
  }
  Message& Line(TxtId id) { return Line(Txt(id)); }
  Message& Blank() { return Line(std::string()); }
  // A file name, shown in blue.
  Message& FileName(std::string name) {
    lines.push_back({std::move(name), false, false, kColourBlue});
    return *this;
  }
};

// The lines joined by newlines, as a console prints a message.
inline std::string PlainText(const Message& message) {
  std::string out;
  for (const auto& line : message.lines) {
    if (!out.empty()) out += '\n';
    out += line.text;
  }
  return out;
}

}  // namespace kinovia
