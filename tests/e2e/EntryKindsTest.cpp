// Pattern and program entries on the real program: "T|" closes the windows whose titles match
// its pattern and not near misses; "E|" closes a program's visible windows with a title bar
// whatever their titles and classes (and, narrowed, only those of matching titles), one a tick,
// and never the program's own.
#include "E2e.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

using namespace e2e;

namespace {

// This test program's file name, as a program entry names it (letter case changed on purpose).
std::string OwnProgramUpper() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name(path);
  name = name.substr(name.find_last_of("\\/") + 1);
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return name;
}

// Windows that a list must close, and windows it must leave alone (never asked to close).
struct TExpectation {
  std::vector<HWND> Closed, Kept;
};

void ExpectClosesOnly(TTestWindows& windows, const TExpectation& e) {
  EXPECT_TRUE(WaitUntil(
      [&] { return std::none_of(e.Closed.begin(), e.Closed.end(), TTestWindows::Exists); }, 4000));
  Sleep(900); // three more ticks
  for (HWND w : e.Kept) {
    EXPECT_TRUE(IsWindow(w)) << WindowText(w);
    EXPECT_EQ(windows.CloseRequests(w), 0) << WindowText(w);
  }
}

TEST(PatternEntries, CloseMatchingTitlesAndNoNearMiss) {
  TTestWindows windows;
  TExpectation e;
  e.Closed = {windows.Open("今日广告 - 123"), windows.Open("SETUP 2.1", "TarnelPatternClass")};
  e.Kept = {windows.Open("今日广 告 - 123"), windows.Open("Setup 2.10"), windows.Open("setup"),
            windows.Open("")};
  TTarnel tarnel("T|*广告*\r\nT|setup ?.?\r\nT|\r\n");
  tarnel.Start();
  ExpectClosesOnly(windows, e);
  // A matching window opened later is closed too.
  HWND later = windows.Open("又一个广告");
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(later); }, 2000));
  EXPECT_TRUE(tarnel.Running());
}

TEST(ProgramEntries, CloseTheProgramsCaptionedWindowsWhateverTheirTitleAndClass) {
  TTestWindows windows;
  TExpectation e;
  e.Closed = {windows.Open("Unlisted title", "TarnelUnlistedClass"),
              windows.Open("", "TarnelOtherUnlistedClass")};
  e.Kept = {
      windows.Open("No title bar", "TarnelUnlistedClass", TTestWindows::wbClose,
                   WS_POPUP | WS_VISIBLE),
      windows.Open("Hidden", "TarnelUnlistedClass", TTestWindows::wbClose, WS_OVERLAPPEDWINDOW)};
  // The program's own windows have title bars too: they never match.
  TTarnel tarnel("E|" + OwnProgramUpper() + "\r\nE|tarnel.exe\r\n");
  tarnel.Start();
  ExpectClosesOnly(windows, e);
  EXPECT_TRUE(tarnel.Running());
  EXPECT_TRUE(tarnel.Responsive());
  // One window a tick, like any entry.
  ASSERT_GT(windows.DestroyedAt(e.Closed[0]), 0u);
  const DWORD a = windows.DestroyedAt(e.Closed[0]), b = windows.DestroyedAt(e.Closed[1]);
  EXPECT_GE(std::max(a, b) - std::min(a, b), 100u);
}

TEST(ProgramEntries, ATitlePatternNarrowsThem) {
  TTestWindows windows;
  TExpectation e;
  e.Closed = {windows.Open("Narrowed one", "TarnelUnlistedClass")};
  e.Kept = {windows.Open("Other title", "TarnelUnlistedClass")};
  TTarnel tarnel("E|" + OwnProgramUpper() + "|narrow*\r\n");
  tarnel.Start();
  ExpectClosesOnly(windows, e);
}

} // namespace
