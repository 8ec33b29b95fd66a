// One program per session: a second start of the real program brings the running one's main
// window to the front (shown if it was hidden) and ends at once; once the first has ended, a
// start runs as usual.
#include "E2e.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <cstring>

using namespace e2e;

namespace {

int RunningCopies() {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int n = 0;
  for (BOOL more = Process32First(snap, &entry); more; more = Process32Next(snap, &entry))
    if (_stricmp(entry.szExeFile, "tarnel.exe") == 0) ++n;
  CloseHandle(snap);
  return n;
}

TEST(SingleInstance, ASecondStartShowsTheFirstAndEnds) {
  TTarnel tarnel("Listed\r\n");
  tarnel.Start();
  HWND main = tarnel.MainWindow();
  const struct {
    const char* Name;
    bool Hidden; // minimized (hidden) before the second start
  } cases[] = {{"hidden", true}, {"behind another window", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TTestWindows windows;
    if (c.Hidden) {
      PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
      ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, 3000));
    } else {
      HWND other = windows.Open("In front", "TarnelPlainClass");
      SetForegroundWindow(other);
      ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == other; }, 3000));
    }
    EXPECT_EQ(tarnel.StartAgain(15000), 0u);
    EXPECT_TRUE(
        WaitUntil([&] { return IsWindowVisible(main) && GetForegroundWindow() == main; }, 3000));
    EXPECT_EQ(RunningCopies(), 1);
    EXPECT_TRUE(tarnel.Running());
    EXPECT_EQ(ProcessWindows(tarnel.ProcessId(), "TForm_main").size(), 1u);
  }
  // The first one is still the only writer of the list.
  tarnel.SetEntryText("Added after");
  tarnel.Click(tarnel.AddButton());
  EXPECT_TRUE(WaitUntil([&] { return tarnel.CloseDat() == "Listed\r\nAdded after\r\n"; }, 3000));
}

TEST(SingleInstance, AStartAfterTheFirstHasEndedRuns) {
  TTarnel tarnel("");
  tarnel.Start();
  PostMessageA(tarnel.MainWindow(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(tarnel.WaitExit(5000));
  tarnel.Start();
  EXPECT_TRUE(tarnel.Running());
  EXPECT_TRUE(tarnel.Responsive());
  EXPECT_EQ(RunningCopies(), 1);
}

} // namespace
