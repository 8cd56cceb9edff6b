// Fixed-width, zero-terminated byte texts.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

// A text of at most Width - 1 bytes in a field of Width bytes, always
// terminated within the field. Every way of writing it is bounded, so an
// over-long value can only ever be cut, never overflow; the writers that
// must not cut silently tell the caller whether the value fitted.
//
// Bytes are kept as they are: no character set is assumed, and a zero byte
// inside a value ends the text there.
template <std::size_t Width>
struct FixedText {
  static_assert(Width >= 1);
  static constexpr std::size_t kCapacity = Width - 1;

  char bytes[Width] = {};

  // Sets the text to value; returns false, keeping the first kCapacity
  // bytes, when value is longer.
  bool assign(std::string_view value) {
    const std::size_t n = std::min(value.size(), kCapacity);
    std::memcpy(bytes, value.data(), n);
    std::memset(bytes + n, 0, Width - n);
    return n == value.size();
  }

  // Appends value; returns false, keeping what fits, when the text would
  // grow beyond kCapacity.
  bool append(std::string_view value) {
    const std::size_t used = size();
    const std::size_t n = std::min(value.size(), kCapacity - used);
    std::memcpy(bytes + used, value.data(), n);
    bytes[used + n] = '\0';
    return n == value.size();
  }

  // Sets every byte of the field to zero.
  void clear() { std::memset(bytes, 0, Width); }

  std::size_t size() const { return ::strnlen(bytes, Width); }
  bool empty() const { return bytes[0] == '\0'; }
  const char* c_str() const { return bytes; }
  std::string_view view() const { return std::string_view(bytes, size()); }

  // For clean-ups that shorten the text in place. Writers must leave the
  // last byte of the field zero.
  char* data() { return bytes; }

  bool operator==(const FixedText& other) const { return view() == other.view(); }
};
