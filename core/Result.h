#pragma once
// How the program reports a failure the user must hear about, layer by layer:
// - core, logic and media never show anything: a function that can fail for a reason the user
//   should read returns a Result, its value or the Message that explains the refusal;
// - the main window and its dialogs are the only places that put a Message in a message box (a
//   command that must ask in mid-course, as saving does, asks through a port the window
//   implements);
// - kinovia-cli prints the Message's lines on standard error and exits with status 1.
// Numeric routines keep their own status enumerations (a least-squares or derivation status is
// printed by number, not explained), and arithmetic faults raised deep in a computation stay
// exceptions caught by the command that started it.
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

#include "core/Message.h"

namespace kinovia {

template <class T>
class [[nodiscard]] Result {
  static_assert(!std::is_convertible_v<Message, T> && !std::is_convertible_v<T, Message>,
                "a Result must tell its value from its failure");

 public:
  Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
  Result(Message failure) : state_(std::in_place_index<1>, std::move(failure)) {}

  bool Ok() const { return state_.index() == 0; }
  explicit operator bool() const { return Ok(); }

  // The value of a success; asking a failure for it throws std::bad_variant_access.
  T& Value() & { return std::get<0>(state_); }
  const T& Value() const& { return std::get<0>(state_); }
  T&& Value() && { return std::get<0>(std::move(state_)); }
  T* operator->() { return &Value(); }
  const T* operator->() const { return &Value(); }

  // The message of a failure; asking a success for it throws std::bad_variant_access.
  const Message& Failure() const { return std::get<1>(state_); }

 private:
  std::variant<T, Message> state_;
};

// A step that gives nothing back but may be refused.
template <>
class [[nodiscard]] Result<void> {
 public:
  Result() = default;
  Result(Message failure) : failure_(std::move(failure)) {}

  bool Ok() const { return !failure_; }
  explicit operator bool() const { return Ok(); }
  // The message of a failure; asking a success for it throws std::bad_optional_access.
  const Message& Failure() const { return failure_.value(); }

 private:
  std::optional<Message> failure_;
};

}  // namespace kinovia
