#include "WatchListFile.h"
#include <gtest/gtest.h>

using namespace WatchListFile;
using namespace std::string_view_literals;
using namespace std::string_literals;

TEST(WatchListFile, LineEndsOfEveryKind) {
  EXPECT_EQ(Parse("a\r\n\r\nb"), (TEntries{"a", "", "b"}));
  EXPECT_EQ(Parse("a\rb"), (TEntries{"a", "b"}));
  EXPECT_EQ(Parse("a\nb"), (TEntries{"a", "b"}));
  EXPECT_EQ(Parse("a\n\rb"), (TEntries{"a", "", "b"})); // LF CR is two line ends
  EXPECT_EQ(Parse("a\r\r\nb\n"), (TEntries{"a", "", "b"}));
}

TEST(WatchListFile, FinalLineEndAddsNothingButAnUnendedLastLineCounts) {
  EXPECT_EQ(Parse(""), TEntries{});
  EXPECT_EQ(Parse("\r\n"), (TEntries{""}));
  EXPECT_EQ(Parse("x\r\n"), (TEntries{"x"}));
  EXPECT_EQ(Parse("x\r\ny"), (TEntries{"x", "y"}));
  EXPECT_EQ(Serialize(Parse("x\r\ny")), "x\r\ny\r\n");
}

TEST(WatchListFile, NulBelongsToItsEntryAndEndsNothing) {
  const struct {
    std::string_view Bytes;
    TEntries Entries;
  } cases[] = {
      {"alpha\r\nbe\0ta\r\ngamma\r\n"sv, {"alpha", "be\0ta"s, "gamma"}},
      {"a\r\nb\0c\r\nd"sv, {"a", "b\0c"s, "d"}},
      {"\0abc"sv, {"\0abc"s}},
      {"\0\r\n\0"sv, {"\0"s, "\0"s}},
      {"x\0\ny"sv, {"x\0"s, "y"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Parse(c.Bytes), c.Entries);
    // A save writes back every byte that was read (line ends made CR LF).
    EXPECT_EQ(Parse(Serialize(Parse(c.Bytes))), c.Entries);
  }
  EXPECT_EQ(Serialize(Parse("alpha\r\nbe\0ta\r\ngamma\r\n"sv)), "alpha\r\nbe\0ta\r\ngamma\r\n"sv);
}

TEST(WatchListFile, SerializeIsByteExact) {
  EXPECT_EQ(Serialize({}), "");
  EXPECT_EQ(Serialize({""}), "\r\n");
  const TEntries gbk{"\xD7\xD4\xB6\xAF", "C|Notepad", ""};
  EXPECT_EQ(Serialize(gbk), "\xD7\xD4\xB6\xAF\r\nC|Notepad\r\n\r\n");
  EXPECT_EQ(Parse(Serialize(gbk)), gbk);
}

TEST(WatchListFile, VeryLongLinesAndHighBytesSurvive) {
  std::string big(1 << 20, '\xB0');
  auto entries = Parse(big + "\n" + big);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1], big);
}

TEST(WatchListFile, ClassEntries) {
  EXPECT_TRUE(IsClassEntry("C|Notepad"));
  EXPECT_EQ(ClassNameOf("C|Notepad"), "Notepad");
  EXPECT_FALSE(IsClassEntry("c|Notepad"));
  EXPECT_TRUE(IsClassEntry("AC|B"));
  EXPECT_EQ(ClassNameOf("AC|B"), "|B");
}

TEST(WatchListFile, ClassEntryGivesBackItsClassThroughTheFile) {
  // A built entry must read back as a class entry of the same class, after a save and a load
  // too, whatever the class name holds (even the marker itself).
  const struct {
    const char* Class;
    const char* Entry;
    bool LookedUp;
  } cases[] = {{"TForm_main", "C|TForm_main", true},
               {"AC|B", "C|AC|B", true},
               {"#32770", "C|#32770", true},
               {"", "C|", false}};
  for (const auto& c : cases) {
    const std::string entry = ClassEntry(c.Class);
    EXPECT_EQ(entry, c.Entry);
    EXPECT_TRUE(IsClassEntry(entry)) << c.Class;
    EXPECT_EQ(ClassNameOf(entry), c.Class);
    EXPECT_EQ(IsLookedUp(entry), c.LookedUp) << c.Class;
    EXPECT_EQ(Parse(Serialize({entry, "title"})), (TEntries{entry, "title"})) << c.Class;
  }
}

TEST(WatchListFile, EmptyLookupsAreSkipped) {
  EXPECT_FALSE(IsLookedUp(""));
  EXPECT_FALSE(IsLookedUp("C|"));
  EXPECT_TRUE(IsLookedUp("xC|")); // class name "|"
  EXPECT_TRUE(IsLookedUp("Tarnel"));
  EXPECT_TRUE(IsLookedUp(" "));
}

TEST(WatchListFile, EntryKinds) {
  const struct {
    const char* Entry;
    TEntryKind Kind;
    bool LookedUp;
  } cases[] = {
      {"Notepad", ekTitle, true},
      {"", ekTitle, false},
      {"C|Notepad", ekClass, true},
      {"AC|B", ekClass, true},
      {"T|*\xB9\xE3\xB8\xE6*", ekPattern, true},
      {"T|", ekPattern, false},
      {"T|*", ekPattern, true},
      {"T|C|x", ekPattern, true}, // the marker at the start decides
      {"E|setup.exe", ekProgram, true},
      {"E|setup.exe|*C|*", ekProgram, true},
      {"E|", ekProgram, false},
      {"E||title", ekProgram, false},
      {"t|x", ekTitle, true}, // markers are case-sensitive
      {"e|setup.exe", ekTitle, true},
      {"xT|y", ekTitle, true}, // and count only at the start
      {"xE|C|y", ekClass, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KindOf(c.Entry), c.Kind) << c.Entry;
    EXPECT_EQ(IsClassEntry(c.Entry), c.Kind == ekClass) << c.Entry;
    EXPECT_EQ(IsLookedUp(c.Entry), c.LookedUp) << c.Entry;
  }
  EXPECT_EQ(PatternOf("T|*\xB9\xE3\xB8\xE6*"), "*\xB9\xE3\xB8\xE6*");
  EXPECT_EQ(PatternOf("T|"), "");
}

TEST(WatchListFile, ProgramEntryParts) {
  const struct {
    std::string_view Entry, File, Pattern;
    bool Narrowed;
  } cases[] = {
      {"E|setup.exe", "setup.exe", "", false},
      {"E|setup.exe|", "setup.exe", "", false},
      {"E|setup.exe|*Setup ?*", "setup.exe", "*Setup ?*", true},
      {"E|setup.exe|a|b", "setup.exe", "a|b", true},
      // "|" as the second byte of a double-byte character belongs to the file name.
      {"E|\xB0|.exe|title", "\xB0|.exe", "title", true},
      {"E|\xB0|.exe", "\xB0|.exe", "", false},
      {"E|", "", "", false},
  };
  for (const auto& c : cases) {
    const TProgramParts parts = ProgramOf(c.Entry);
    EXPECT_EQ(parts.File, c.File) << c.Entry;
    EXPECT_EQ(parts.Pattern, c.Pattern) << c.Entry;
    EXPECT_EQ(parts.Narrowed, c.Narrowed) << c.Entry;
  }
}

TEST(WatchListFile, PatternAndProgramEntriesAreLinesLikeAnyOther) {
  // "T|" and "E|" entries are written and read back byte for byte, one CR LF line each, so that
  // an older program reads them as titles that match nothing.
  const TEntries entries{"T|*\xB9\xE3\xB8\xE6*", "E|setup.exe", "E|setup.exe|*Setup ?*", "T|",
                         "E|"};
  EXPECT_EQ(Serialize(entries),
            "T|*\xB9\xE3\xB8\xE6*\r\nE|setup.exe\r\nE|setup.exe|*Setup ?*\r\nT|\r\nE|\r\n");
  EXPECT_EQ(Parse(Serialize(entries)), entries);
}
