// Title patterns of "T|" and "E|" watch entries: `*` stands for any run of characters (none
// too), `?` for exactly one, every other character for itself. Portable: no Win32 here. The
// texts are compared as given; the caller folds letter case first, in the pattern and in the
// title alike.
#pragma once
#include <cstddef>
#include <string_view>

namespace TitlePattern {

// How many code units the character at index i of text takes: two for a surrogate pair of
// 16-bit units, otherwise one.
template <class C>
size_t CharUnits(std::basic_string_view<C> text, size_t i) {
  if constexpr (sizeof(C) == 2) {
    const auto unit = static_cast<unsigned>(text[i]);
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size()) {
      const auto next = static_cast<unsigned>(text[i + 1]);
      if (next >= 0xDC00 && next <= 0xDFFF) return 2;
    }
  }
  return 1;
}

// Whether the whole text matches the whole pattern. The time taken grows at most with the
// product of the two lengths, never exponentially.
template <class C>
bool Match(std::basic_string_view<C> pattern, std::basic_string_view<C> text) {
  constexpr size_t kNone = static_cast<size_t>(-1);
  size_t p = 0, t = 0;
  // The pattern position after the last star, and where in the text that star's run ends now.
  size_t afterStar = kNone, starEnd = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == C('*')) {
      afterStar = ++p;
      starEnd = t;
    } else if (p < pattern.size() && pattern[p] == C('?')) {
      ++p;
      t += CharUnits(text, t);
    } else if (p < pattern.size() && pattern[p] == text[t]) {
      ++p;
      ++t;
    } else if (afterStar != kNone) {
      // The last star takes one more character, and the rest of the pattern starts after it.
      starEnd += CharUnits(text, starEnd);
      t = starEnd;
      p = afterStar;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == C('*'))
    ++p;
  return p == pattern.size();
}

template <class C>
bool Match(const C* pattern, const C* text) {
  return Match(std::basic_string_view<C>(pattern), std::basic_string_view<C>(text));
}

} // namespace TitlePattern
