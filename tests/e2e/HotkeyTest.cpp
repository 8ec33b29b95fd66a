// The capture hotkey on the real program: F5 pressed over other programs' windows fills the
// entry box and brings the program to the front, and never touches the list.
#include "DesktopInput.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

// The entry box once it holds the expected text (or what it holds after a while).
std::string Entry(TTarnel& tarnel, const std::string& expected) {
  WaitUntil([&] { return tarnel.EntryText() == expected; }, 8000);
  return tarnel.EntryText();
}

bool OnTop(HWND wnd) {
  return (GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// Started with a list of two entries, its window shown.
struct TStarted {
  TTarnel Tarnel{std::string("first\r\nsecond\r\n")};
  TStarted() {
    Tarnel.Start();
    WaitUntil([&] { return IsWindowVisible(Tarnel.MainWindow()) != 0; }, 3000);
  }
};

TEST(Hotkey, F5OverAWindowTakesItsTitle) {
  TTestWindows windows;
  HWND target = windows.Open("Capture target", "TarnelPlainClass");
  TStarted s;
  const POINT p = Centre(target);
  ASSERT_TRUE(MovePointer(p.x, p.y));
  PressF5OnDisplay();
  EXPECT_EQ(Entry(s.Tarnel, "Capture target"), "Capture target");
  // The list and its file stay as they were.
  EXPECT_EQ(s.Tarnel.Rows(), (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(s.Tarnel.CloseDat(), "first\r\nsecond\r\n");

  // A second press replaces the text.
  TWindowSet more;
  HWND other = more.Top("TarnelE2eTop", "Another window", 40, 200, 240, 140);
  const POINT q = Centre(other);
  ASSERT_TRUE(MovePointer(q.x, q.y));
  PressF5OnDisplay();
  EXPECT_EQ(Entry(s.Tarnel, "Another window"), "Another window");
}

TEST(Hotkey, F5OverATitledChildTakesTheChildsText) {
  TWindowSet set;
  HWND top = set.Top("TarnelE2eTop", "Top-level title", 40, 200, 300, 160);
  HWND button = set.Child(top, "BUTTON", "Child button text", 10, 10, 180, 50);
  TStarted s;
  const POINT p = Centre(button);
  ASSERT_TRUE(MovePointer(p.x, p.y));
  PressF5OnDisplay();
  EXPECT_EQ(Entry(s.Tarnel, "Child button text"), "Child button text");
}

TEST(Hotkey, F5OverAnUntitledChildOfAnUntitledWindowTakesTheTopLevelClass) {
  TWindowSet set;
  HWND top = set.Top("TarnelE2eUntitledTop", "", 40, 200, 300, 160);
  HWND child = set.Child(top, "TarnelE2eUntitledChild", "", 10, 10, 180, 80);
  TStarted s;
  const POINT p = Centre(child);
  ASSERT_TRUE(MovePointer(p.x, p.y));
  PressF5OnDisplay();
  EXPECT_EQ(Entry(s.Tarnel, "C|TarnelE2eUntitledTop"), "C|TarnelE2eUntitledTop");
  // An untitled child of a titled window takes the window's title.
  HWND titled = set.Top("TarnelE2eTop", "Titled parent", 380, 200, 300, 160);
  HWND inner = set.Child(titled, "TarnelE2eUntitledChild", "", 10, 10, 180, 80);
  const POINT q = Centre(inner);
  ASSERT_TRUE(MovePointer(q.x, q.y));
  PressF5OnDisplay();
  EXPECT_EQ(Entry(s.Tarnel, "Titled parent"), "Titled parent");
}

TEST(Hotkey, TheHiddenWindowComesBackOnTop) {
  TTestWindows windows;
  HWND target = windows.Open("Behind the program", "TarnelPlainClass");
  TStarted s;
  HWND main = s.Tarnel.MainWindow();
  PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, 3000));
  const POINT p = Centre(target);
  ASSERT_TRUE(MovePointer(p.x, p.y));
  PressF5OnDisplay();
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != 0; }, 8000));
  EXPECT_EQ(s.Tarnel.EntryText(), "Behind the program");
  EXPECT_FALSE(IsIconic(main));
  EXPECT_TRUE(OnTop(main));
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main; }, 2000));
}

TEST(Hotkey, OverTheProgramItself) {
  TStarted s;
  HWND main = s.Tarnel.MainWindow();
  RECT r{};
  GetWindowRect(s.Tarnel.AddButton(), &r);
  ASSERT_TRUE(MovePointer((r.left + r.right) / 2, (r.top + r.bottom) / 2));
  PressF5OnDisplay();
  EXPECT_EQ(Entry(s.Tarnel, "添加"), "添加");
  GetWindowRect(main, &r);
  ASSERT_TRUE(MovePointer((r.left + r.right) / 2, r.top + 8)); // the title bar
  PressF5OnDisplay();
  EXPECT_EQ(Entry(s.Tarnel, "Tarnel"), "Tarnel");
}

TEST(Hotkey, AHungUntitledWindowGivesItsClassWithoutFreezingTheProgram) {
  TTestWindows windows;
  HWND hung = windows.Open("", "TarnelHungClass", TTestWindows::wbHang);
  TStarted s;
  const POINT p = Centre(hung);
  // The hung window's thread reads no X input, so the key goes in through the input queue.
  ASSERT_TRUE(MovePointer(p.x, p.y));
  PressF5Injected();
  EXPECT_EQ(Entry(s.Tarnel, "C|TarnelHungClass"), "C|TarnelHungClass");
  EXPECT_TRUE(s.Tarnel.Responsive(1500));
}

TEST(Hotkey, ReleasedWhenTheProgramEnds) {
  {
    TStarted s;
    // While the program runs, nobody else gets F5.
    HWND probe =
        CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    EXPECT_FALSE(RegisterHotKey(probe, 1, 0, VK_F5));
    DestroyWindow(probe);
    PostMessageA(s.Tarnel.MainWindow(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(s.Tarnel.WaitExit(5000));
  }
  HWND probe =
      CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  EXPECT_TRUE(RegisterHotKey(probe, 1, 0, VK_F5));
  UnregisterHotKey(probe, 1);
  DestroyWindow(probe);
}

} // namespace
