// Case folding of names: ASCII letters only, whatever the locale, and never a byte of a
// double-byte character.
#include "TextCase.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

TEST(TextCase, FoldsAsciiLettersOnly) {
  // A Latin-1 locale, where the C library would fold 0xC1 into 0xE1, must change nothing.
  const char* previous = std::setlocale(LC_CTYPE, nullptr);
  const std::string saved = previous ? previous : "C";
  std::setlocale(LC_CTYPE, "en_US.ISO-8859-1");
  struct {
    const char* A;
    const char* B;
    bool Same;
  } const cases[] = {
      {"SkinFile", "SKINFILE", true},
      {"Caption", "caption", true},
      {"\xD6\xD0"
       "A",
       "\xD6\xD0"
       "a",
       true},                          // a double-byte character, then a letter
      {"\xC1\xA1", "\xE1\xA1", false}, // lead bytes 0x20 apart are different characters
      {"\x80", "\xA0", false},
      {"abc", "abcd", false},
      {"[", "{", false}, // 0x20 apart but not letters
      {"", "", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TextCase::Same(c.A, c.B), c.Same) << c.A << " / " << c.B;
  EXPECT_EQ(TextCase::Lower("Btn\xC1Z"), "btn\xC1z");
  EXPECT_EQ(TextCase::Upper("btn\xE1z"), "BTN\xE1Z");
  std::setlocale(LC_CTYPE, saved.c_str());
}

} // namespace
