#include "TitlePattern.h"
#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TitlePattern, StarsQuestionMarksAndLiterals) {
  // Texts as the program compares them: 16-bit units, letter case already folded.
  const struct {
    std::u16string Pattern, Text;
    bool Matches;
  } cases[] = {
      // The empty pattern matches the empty text only.
      {u"", u"", true},
      {u"", u"a", false},
      {u"*", u"", true},
      {u"*", u"any title at all", true},
      {u"**", u"x", true},
      {u"?", u"", false},
      {u"?", u"a", true},
      {u"?", u"ab", false},
      {u"*?", u"", false},
      {u"*?", u"x", true},
      {u"a*c", u"ac", true},
      {u"a*c", u"abbbc", true},
      {u"a*c", u"abcd", false},
      {u"a*c*", u"abcd", true},
      {u"*c", u"cccc", true},
      {u"a?c", u"abc", true},
      {u"a?c", u"ac", false},
      {u"setup ?.?", u"setup 2.1", true},
      {u"setup ?.?", u"setup 2.10", false},
      // Whole texts: a pattern without stars is an exact title.
      {u"title", u"title", true},
      {u"title", u"title 2", false},
      {u"title", u"a title", false},
      // Letters are compared as given (the caller folds both sides).
      {u"abc", u"ABC", false},
      // A double-byte character of the code page is one character.
      {u"*广告*", u"今日广告 - 123", true},
      {u"*广告*", u"今日广 告 - 123", false},
      {u"*广告*", u"今日广", false},
      {u"?", u"广", true},
      {u"??", u"广告", true},
      {u"???", u"广告", false},
      {u"a?c", u"a广c", true},
      // A character beyond 16 bits (a surrogate pair) is one character too.
      {u"?", u"\U0001F600", true},
      {u"??", u"\U0001F600", false},
      {u"a?b", u"a\U0001F600b", true},
      {u"*\U0001F600", u"xx\U0001F600", true},
      // Many stars against a long near miss end quickly and say no.
      {u"*a*a*a*a*a*a*a*b", std::u16string(2000, u'a'), false},
      {u"*a*a*a*a*a*a*a*b", std::u16string(2000, u'a') + u"b", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TitlePattern::Match(std::u16string_view(c.Pattern), std::u16string_view(c.Text)),
              c.Matches)
        << std::string(c.Pattern.begin(), c.Pattern.end()).substr(0, 40);
  }
}

TEST(TitlePattern, CharacterWidths) {
  const std::u16string text = u"a\U0001F600\xD800";
  const std::u16string_view v(text);
  EXPECT_EQ(TitlePattern::CharUnits(v, 0), 1u);
  EXPECT_EQ(TitlePattern::CharUnits(v, 1), 2u);
  EXPECT_EQ(TitlePattern::CharUnits(v, 3), 1u); // a lone high surrogate at the end
}

} // namespace
