#include "ClosedLog.h"
#include <gtest/gtest.h>

#include <string>

using namespace ClosedLog;

namespace {

TRecord Record(const std::string& title) {
  return {"2024-05-01 12:34:56", title, "Notepad", "notepad.exe", "T|*" + title + "*"};
}

// The record lines of a log (header left out), each with its line end.
std::vector<std::string> RecordLines(const std::string& log) {
  std::vector<std::string> lines;
  size_t start = log.find('\n') + 1;
  while (start < log.size()) {
    const size_t end = log.find('\n', start);
    lines.push_back(log.substr(start, end - start + 1));
    start = end + 1;
  }
  return lines;
}

TEST(ClosedLog, HeaderAndLinesAreTabSeparatedUtf8) {
  EXPECT_EQ(Header(), "\xE6\x97\xB6\xE9\x97\xB4\t\xE7\xAA\x97\xE5\x8F\xA3\xE6\xA0\x87\xE9\xA2\x98\t"
                      "\xE7\xAA\x97\xE5\x8F\xA3\xE7\xB1\xBB\t\xE7\xA8\x8B\xE5\xBA\x8F\t"
                      "\xE6\x9D\xA1\xE7\x9B\xAE\r\n");
  EXPECT_EQ(Line(Record("a")), "2024-05-01 12:34:56\ta\tNotepad\tnotepad.exe\tT|*a*\r\n");
  // Whatever a field holds, a record stays one line of five fields.
  const TRecord odd{"t", "tab\there\r\nline\nend", "", std::string("p\0q", 3), "e"};
  const std::string line = Line(odd);
  EXPECT_EQ(line, std::string("t\ttab here  line end\t\tp q\te\r\n"));
}

TEST(ClosedLog, AppendsTheHeaderFirstAndEndsACutLine) {
  const struct {
    std::string Tail;
    std::string Expected;
  } cases[] = {
      {"", Header() + Line(Record("a"))},
      {"\n", Line(Record("a"))},
      {"x", "\r\n" + Line(Record("a"))},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Appended(c.Tail, Record("a")), c.Expected) << c.Tail;
}

TEST(ClosedLog, RotatesOnlyPastTheLimit) {
  EXPECT_FALSE(MustRotate(kMaxBytes - 10, 10));
  EXPECT_TRUE(MustRotate(kMaxBytes - 10, 11));
  EXPECT_EQ(kMaxBytes, 1u << 20);
}

TEST(ClosedLog, RotationDropsTheOlderHalfOfTheRecords) {
  // A log grown to the limit by appends keeps its header and the newer half, whole lines only.
  std::string log;
  int n = 0;
  for (;; ++n) {
    const std::string add = Appended(log, Record("window " + std::to_string(n)));
    if (MustRotate(log.size(), add.size())) break;
    log += add;
  }
  const std::vector<std::string> before = RecordLines(log);
  const std::string rotated = Rotated(log);
  const std::vector<std::string> after = RecordLines(rotated);
  EXPECT_EQ(rotated.rfind(Header(), 0), 0u);
  ASSERT_FALSE(after.empty());
  EXPECT_EQ(after.back(), before.back()); // the newest record stays
  // Half of the records' bytes, to a line.
  const double half = (log.size() - Header().size()) / 2.0;
  EXPECT_NEAR(static_cast<double>(rotated.size() - Header().size()), half,
              static_cast<double>(before.back().size()));
  EXPECT_EQ(std::vector<std::string>(before.end() - static_cast<long>(after.size()), before.end()),
            after);
  EXPECT_LE(rotated.size(), log.size() / 2 + Header().size() + Line(Record("window 0")).size());
  EXPECT_FALSE(MustRotate(rotated.size(), Line(Record("next")).size()));
}

TEST(ClosedLog, RotationOfALogWithoutItsHeaderOrItsLastLineEnd) {
  const struct {
    const char* Name;
    std::string Log;
    std::string Expected;
  } cases[] = {
      {"empty", "", Header()},
      {"no header", "1\r\n2\r\n3\r\n4\r\n", Header() + "3\r\n4\r\n"},
      {"header only", Header(), Header()},
      {"cut last line", Header() + "1\r\n2\r\n3\r\n4", Header() + "3\r\n4\r\n"},
      {"one long line", Header() + std::string(50, 'x') + "\r\n", Header()},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Rotated(c.Log), c.Expected) << c.Name;
}

} // namespace
