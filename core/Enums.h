#pragma once
// Enumerations where numbers travel: the number an enumerator stands for, and sets of enumerators
// for the options and column families that used to travel as bare bit masks. In a set an
// enumerator's value is its bit's position, so codes that are stored or printed stay the numbers
// they always were, and a set's Bits() are the masks the rest of the program knew.
#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace kinovia {

// The number an enumerator stands for, where a file, a table index or a printed status needs it.
template <class E>
constexpr std::underlying_type_t<E> Underlying(E value) {
  return static_cast<std::underlying_type_t<E>>(value);
}

template <class E>
class EnumSet {
  static_assert(std::is_enum_v<E>);

 public:
  constexpr EnumSet() = default;
  constexpr EnumSet(std::initializer_list<E> members) {
    for (E member : members) bits_ |= Bit(member);
  }
  static constexpr EnumSet FromBits(std::uint32_t bits) {
    EnumSet set;
    set.bits_ = bits;
    return set;
  }

  constexpr std::uint32_t Bits() const { return bits_; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr bool Contains(E member) const { return (bits_ & Bit(member)) != 0; }
  constexpr EnumSet& Set(E member, bool on = true) {
    bits_ = on ? bits_ | Bit(member) : bits_ & ~Bit(member);
    return *this;
  }

  constexpr EnumSet& operator|=(EnumSet other) {
    bits_ |= other.bits_;
    return *this;
  }
  friend constexpr EnumSet operator|(EnumSet a, EnumSet b) { return a |= b; }
  friend constexpr bool operator==(EnumSet, EnumSet) = default;

 private:
  // An enumerator beyond the mask's width belongs to no set rather than shifting out of range.
  static constexpr std::uint32_t Bit(E member) {
    const auto position = static_cast<unsigned>(Underlying(member));
    return position < 32 ? std::uint32_t{1} << position : 0;
  }

  std::uint32_t bits_ = 0;
};

}  // namespace kinovia
