#include "StoreAssert.h"
#include "WinSkinIni.h"
#include <gtest/gtest.h>

using namespace std::string_view_literals;

namespace {

TQuickIni Load(std::string_view text) {
  TQuickIni ini;
  ini.LoadFromStream(text);
  return ini;
}

} // namespace

TEST(QuickIni, KeptLinesAreTrimmedAndCommentsAndBlankLinesDropped) {
  const TQuickIni ini = Load("  [Buttons]\t\r\n; comment\r\n\r\n \t \r\n  Key = v  \r\n#x=1\r\n"
                             "\x01\x1F"
                             "a\x7F\r\n");
  EXPECT_EQ(ini.Lines(), (std::vector<std::string>{"[Buttons]", "Key = v", "#x=1", "a\x7F"}));
  ASSERT_EQ(ini.Sections().size(), 1u);
  EXPECT_EQ(ini.Sections()[0].Header, "[Buttons]");
  EXPECT_EQ(ini.Sections()[0].LineIndex, 0);
}

TEST(QuickIni, EveryKindOfLineEndAndNulEndsTheText) {
  for (std::string_view text : {"[s]\r\na=1\r\nb=2"sv, "[s]\na=1\nb=2\n"sv, "[s]\ra=1\rb=2\r"sv,
                                "[s]\r\n\na=1\n\rb=2"sv, "[s]\x00x\r\na=9"sv}) {
    const TQuickIni ini = Load(text);
    EXPECT_EQ(ini.ReadString("s", "a", "-"), text.find('\0') == text.npos ? "1" : "-") << text;
  }
  // CR LF ends one line; LF CR ends two (the second is empty and dropped either way).
  EXPECT_EQ(Load("a\n\rb").Lines(), (std::vector<std::string>{"a", "b"}));
  const TQuickIni nul = Load("[s]\r\na=1\0\r\nb=2"sv);
  EXPECT_EQ(nul.ReadString("s", "a", "-"), "1");
  EXPECT_EQ(nul.ReadString("s", "b", "-"), "-");
  EXPECT_EQ(nul.Lines().size(), 2u);
}

TEST(QuickIni, AbsentStreamKeepsContentAndALoadReplacesIt) {
  TQuickIni ini;
  ini.LoadFromStream("[a]\nk=1");
  ini.LoadFromStream(std::nullopt);
  EXPECT_EQ(ini.ReadInteger("a", "k", 0), 1);
  ini.LoadFromStream("[b]\nk=2");
  EXPECT_EQ(ini.ReadInteger("a", "k", 0), 0);
  EXPECT_EQ(ini.ReadInteger("b", "k", 0), 2);
  ini.LoadFromStream(""sv);
  EXPECT_TRUE(ini.Lines().empty());
  EXPECT_EQ(ini.SectionLine("b"), -1);
}

TEST(QuickIni, SectionAndKeyNamesMatchInAnyCase) {
  const TQuickIni ini = Load("[Buttons]\nRightwidth=4\n[OTHER]\nx=y");
  EXPECT_EQ(ini.ReadString("buttons", "RightWidth", ""), "4");
  EXPECT_EQ(ini.ReadString("BUTTONS", "RIGHTWIDTH", ""), "4");
  EXPECT_EQ(ini.ReadString("other", "X", ""), "y");
  EXPECT_EQ(ini.SectionLine("bUtToNs"), 0);
  EXPECT_EQ(ini.SectionLine("other"), 2);
  EXPECT_EQ(ini.SectionLine("Missing"), -1);
  // Only A-Z fold: other bytes (code page 936 text) must match exactly.
  const TQuickIni gbk = Load("[\xB0\xB4\xC5\xA5]\nk=1");
  EXPECT_EQ(gbk.ReadString("\xB0\xB4\xC5\xA5", "K", ""), "1");
  EXPECT_EQ(gbk.ReadString("\xB0\xB4\xC5\x85", "K", ""), "");
}

TEST(QuickIni, ValueIsTextAfterFirstEqualsTrimmedWithQuotesKept) {
  const TQuickIni ini = Load("[s]\n   Key   =   value with  blanks \t\nK2=a=b\nQ=\"q\"\n");
  EXPECT_EQ(ini.ReadString("s", "key", ""), "value with  blanks");
  EXPECT_EQ(ini.ReadString("s", "k2", ""), "a=b");
  EXPECT_EQ(ini.ReadString("s", "q", ""), "\"q\"");
}

TEST(QuickIni, CommentsHashesAndKeylessLines) {
  const TQuickIni ini = Load("[s]\n;Key=1\n#Key=2\nnoequals\n=orphan\n");
  EXPECT_EQ(ini.ReadString("s", "Key", "d"), "d");
  EXPECT_EQ(ini.ReadString("s", "#key", "d"), "2");
  EXPECT_EQ(ini.ReadString("s", "noequals", "d"), "d");
  EXPECT_EQ(ini.ReadString("s", "", "d"), "d"); // an empty key never matches
  // The key asked for is lower-cased but not trimmed.
  EXPECT_EQ(Load("[s]\na=1").ReadString("s", " a", "d"), "d");
}

TEST(QuickIni, FirstLineOfAKeyDecidesEvenWhenEmpty) {
  const TQuickIni ini = Load("[s]\nKey=\nKey=5\nOther=1\nOther=2\n");
  EXPECT_EQ(ini.ReadString("s", "Key", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadInteger("s", "Key", -7), -7);
  EXPECT_EQ(ini.ReadString("s", "Other", ""), "1");
}

TEST(QuickIni, OnlyTheFirstSectionOfANameIsSearchedUpToTheNextHeader) {
  const TQuickIni ini = Load("[A]\nx=1\n[B]\ny=2\n[a]\nx=3\nz=4\n");
  EXPECT_EQ(ini.ReadString("a", "x", ""), "1");
  EXPECT_EQ(ini.ReadString("a", "z", "-"), "-");
  EXPECT_EQ(ini.ReadString("A", "y", "-"), "-"); // y belongs to [B]
  EXPECT_EQ(ini.SectionLine("A"), 0);
  // A header needs both brackets at the ends of the trimmed line.
  const TQuickIni odd = Load("[s]\n[notheader\nk=1\n[]\ne=2\n");
  EXPECT_EQ(odd.ReadString("s", "k", ""), "1");
  EXPECT_EQ(odd.ReadString("", "e", ""), "2");
  // Blanks inside the brackets are part of the header text.
  const TQuickIni spaced = Load("[ s ]\nk=1");
  EXPECT_EQ(spaced.SectionLine("s"), -1);
  EXPECT_EQ(spaced.SectionLine(" s "), 0);
}

TEST(QuickIni, ReadIntegerFormats) {
  const TQuickIni ini = Load("[n]\nhex=0x1F\nHEX2=0X1f\ndollar=$1F\nbare=0x\nunit=12px\n"
                             "neg=-42\nplus=+7\nnegHex=-$10\nempty=\nblank=   \nzero=0\n"
                             "spaceIn=1 2\nsignOnly=-\ndollarOnly=$\nhexSign=0x-1\n"
                             "negOx=-0x10\n");
  EXPECT_EQ(ini.ReadInteger("n", "hex", 0), 31);
  EXPECT_EQ(ini.ReadInteger("n", "hex2", 0), 31);
  EXPECT_EQ(ini.ReadInteger("n", "dollar", 0), 31);
  EXPECT_EQ(ini.ReadInteger("n", "bare", 99), 99);
  EXPECT_EQ(ini.ReadInteger("n", "unit", 99), 99);
  EXPECT_EQ(ini.ReadInteger("n", "neg", 0), -42);
  EXPECT_EQ(ini.ReadInteger("n", "plus", 0), 7);
  EXPECT_EQ(ini.ReadInteger("n", "neghex", 0), -16);
  EXPECT_EQ(ini.ReadInteger("n", "empty", 5), 5);
  EXPECT_EQ(ini.ReadInteger("n", "blank", 5), 5);
  EXPECT_EQ(ini.ReadInteger("n", "zero", 5), 0);
  EXPECT_EQ(ini.ReadInteger("n", "spacein", 5), 5);
  EXPECT_EQ(ini.ReadInteger("n", "signonly", 5), 5);
  EXPECT_EQ(ini.ReadInteger("n", "dollaronly", 5), 5);
  EXPECT_EQ(ini.ReadInteger("n", "hexsign", 5), 5);
  EXPECT_EQ(ini.ReadInteger("n", "negox", 5), 5); // "0x" is only rewritten at the very start
  EXPECT_EQ(ini.ReadInteger("n", "missing", 5), 5);
  EXPECT_EQ(ini.ReadInteger("missing", "hex", 5), 5);
}

TEST(QuickIni, ReadIntegerLimitsOf32Bits) {
  const TQuickIni ini = Load("[n]\nmax=2147483647\nmin=-2147483648\nover=2147483648\n"
                             "under=-2147483649\nhuge=99999999999999999999\nallF=0xFFFFFFFF\n"
                             "magenta=$FF00FF\nsignBit=$80000000\nnine=0x100000000\n"
                             "zeros=$00000000FF\nlongZeros=0000000000012\n");
  EXPECT_EQ(ini.ReadInteger("n", "max", 0), 2147483647);
  EXPECT_EQ(ini.ReadInteger("n", "min", 0), INT32_MIN);
  EXPECT_EQ(ini.ReadInteger("n", "over", 3), 3);
  EXPECT_EQ(ini.ReadInteger("n", "under", 3), 3);
  EXPECT_EQ(ini.ReadInteger("n", "huge", 3), 3);
  EXPECT_EQ(ini.ReadInteger("n", "allF", 3), -1);
  EXPECT_EQ(ini.ReadInteger("n", "magenta", 3), 0xFF00FF);
  EXPECT_EQ(ini.ReadInteger("n", "signBit", 3), INT32_MIN);
  EXPECT_EQ(ini.ReadInteger("n", "nine", 3), 3);
  EXPECT_EQ(ini.ReadInteger("n", "zeros", 3), 255);
  EXPECT_EQ(ini.ReadInteger("n", "longZeros", 3), 12);
}

TEST(QuickIni, ReadSectionsListsNamesInFileOrderWithDuplicates) {
  const TQuickIni ini = Load("[Form]\na=1\n[ Buttons ]\n[Form]\n[]\n[x]y]\n");
  std::vector<std::string> names{"stale"};
  ini.ReadSections(&names);
  EXPECT_EQ(names, (std::vector<std::string>{"Form", "Buttons", "Form", "", "x]y"}));
  TQuickIni empty;
  empty.ReadSections(&names);
  EXPECT_TRUE(names.empty());
}

TEST(QuickIni, ReadSectionsWithoutAListIsAnAssertionFailure) {
  const TQuickIni ini = Load("[a]");
  try {
    ini.ReadSections(nullptr);
    FAIL() << "no exception";
  } catch (const TarnelStore::EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), "The parameter Strings is unassigned!");
    EXPECT_EQ(e.UnitName(), "WinSkinIni");
    EXPECT_EQ(e.LineNumber(), 317);
    EXPECT_EQ(e.FullText(), "The parameter Strings is unassigned! (WinSkinIni, line 317)");
  }
}

TEST(QuickIni, SectionLineCountsOnlyKeptLines) {
  const TQuickIni ini = Load("; head\n\n[one]\n;c\nk=v\n\n[two]\n");
  EXPECT_EQ(ini.SectionLine("one"), 0);
  EXPECT_EQ(ini.SectionLine("two"), 2);
  EXPECT_EQ(ini.Lines()[2], "[two]");
  EXPECT_EQ(ini.ReadString("two", "k", "-"), "-"); // empty section at the end of the text
}
