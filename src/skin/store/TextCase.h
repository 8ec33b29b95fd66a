// Case-insensitive handling of names (properties, components, classes, registry roots, skin
// sections, keys and entries): only the ASCII letters are folded, so bytes of 0x80 and above
// (the double-byte characters of code page 936) pass through unchanged, and the result does
// not depend on the C library's locale.
#pragma once
#include <string>
#include <string_view>

namespace TextCase {

constexpr char Lower(char c) noexcept {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char Upper(char c) noexcept {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string Lower(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    c = Lower(c);
  return r;
}

inline std::string Upper(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    c = Upper(c);
  return r;
}

// Whether two names are equal but for the case of their ASCII letters.
constexpr bool Same(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

} // namespace TextCase
