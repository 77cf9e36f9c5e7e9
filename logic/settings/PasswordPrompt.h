#pragma once
// What the options lock asks of the password dialog, and the rule of the dialog's edit field.
#include <string>
#include <string_view>

namespace kinovia {

enum class PasswordPurpose { Access, NewPassword };

class PasswordPrompt {
 public:
  virtual ~PasswordPrompt() = default;
  // Shows the dialog with an empty field; the text confirmed with Ok, or empty when cancelled.
  virtual std::string Execute(PasswordPurpose purpose) = 0;
};

inline constexpr char kKeyBackspace = '\b';
inline constexpr char kKeyEnter = '\r';

// Whether the field holding `field` takes the typed key: letters A-Z and a-z and digits while it
// holds at most 20 characters. Backspace and Enter are always taken, so a full field can still be
// corrected and confirmed.
inline bool PasswordKeyAccepted(std::string_view field, char key) {
  if (key == kKeyBackspace || key == kKeyEnter) return true;
  const bool letterOrDigit =
      (key >= 'A' && key <= 'Z') || (key >= 'a' && key <= 'z') || (key >= '0' && key <= '9');
  return letterOrDigit && field.size() <= 20;
}

}  // namespace kinovia
