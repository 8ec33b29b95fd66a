// The notification icon's menu of the real program drawn from the default skin: its menu
// window is skinned, its frame comes from the skin's "MenuBackground" image (not the system's
// menu look), the start-at-logon item shows its check mark, and its items still work.
#include "DesktopInput.h"
#include "SkinDraw.h"
#include "SkinElements.h"
#include "SkinMessages.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

using namespace e2e;

namespace {

constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

void SetRun(const std::string& path) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kRun, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return;
  if (path.empty())
    RegDeleteValueA(key, "popreap");
  else
    RegSetValueExA(key, "popreap", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   DWORD(path.size() + 1));
  RegCloseKey(key);
}

bool Skinned(HWND wnd) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutA(wnd, SKM_QUERY, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) && answer == 1;
}

// The default skin, read the way the program reads its own copy.
TSkinContent& DefaultSkin() {
  static TSkinContent content;
  static bool loaded = [] {
    std::ifstream file(TARNEL_DEFAULT_SKIN_FILE, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                    std::istreambuf_iterator<char>());
    return !bytes.empty() && LoadSkinContent(bytes, content);
  }();
  EXPECT_TRUE(loaded);
  return content;
}

// Screen pixels of colour c in r.
int CountColour(const RECT& r, COLORREF c) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (ScreenPixel({x, y}) == c) ++n;
  return n;
}

class TrayMenu : public ::testing::Test {
protected:
  void TearDown() override { SetRun(""); }
  HWND Open(TTarnel& tarnel) {
    HWND tray = nullptr;
    WaitUntil([&] { return (tray = TrayWindow(tarnel.ProcessId())) != nullptr; }, 10000);
    if (!tray) return nullptr;
    MovePointer(500, 300);
    TrayMouse(tray, WM_RBUTTONDOWN);
    TrayMouse(tray, WM_RBUTTONUP);
    HWND menu = nullptr;
    WaitUntil([&] { return (menu = OpenMenu(tarnel.ProcessId())) != nullptr; }, 8000);
    WaitUntil([] { return false; }, 300); // let the painted menu reach the screen
    return menu;
  }
};

TEST_F(TrayMenu, OpensSkinnedWithTheSkinFrameAndTheCheckMark) {
  TTarnel tarnel;
  SetRun(tarnel.Folder() + "\\tarnel.exe"); // start at logon on: "开机启动" is checked
  tarnel.Start();
  HWND menu = Open(tarnel);
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(Skinned(menu));

  TSkinContent& skin = DefaultSkin();
  ASSERT_TRUE(skin.MenuBackground && !skin.MenuBackground->Image.Empty());
  RECT w{};
  GetWindowRect(menu, &w);
  const TDataSkinObject& bg = *skin.MenuBackground;
  TBitmap expected = StretchSkinBitmap(RECT{0, 0, w.right - w.left, w.bottom - w.top}, bg.Image,
                                       bg.Margins, false, bg.Tile != 0, 1, 1);
  HDC image = expected.CanvasHandle();
  const POINT points[] = {{1, 1}, {1, (w.bottom - w.top) / 2}, {(w.right - w.left) / 2, 1}};
  for (POINT p : points) {
    const COLORREF seen = ScreenPixel({w.left + p.x, w.top + p.y});
    EXPECT_EQ(seen, GetPixel(image, p.x, p.y)) << p.x << "," << p.y;
    EXPECT_NE(seen, GetSysColor(COLOR_MENU)) << p.x << "," << p.y;
  }
  // The check mark of "开机启动" (row 1) in its glyph column; none beside "显示窗口" (row 0).
  auto glyphColumn = [&](int row) {
    RECT r = TrayMenuRow(menu, row);
    r.right = r.left + 30;
    return r;
  };
  const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
  const int checked = CountColour(glyphColumn(trAutostart), ink);
  const int unchecked = CountColour(glyphColumn(trShow), ink);
  EXPECT_GT(checked, unchecked + 5);
  PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  keybd_event(VK_ESCAPE, 0, 0, 0);
  keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
  WaitUntil([&] { return OpenMenu(tarnel.ProcessId()) == nullptr; }, 3000);
}

TEST_F(TrayMenu, ItemsStillWorkWhenSkinned) {
  TTarnel tarnel;
  tarnel.Start();
  HWND main = tarnel.MainWindow();
  PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, 3000));
  HWND menu = Open(tarnel);
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(Skinned(menu));
  ClickTrayMenuItem(menu, trShow);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != 0; }, 8000));
  menu = Open(tarnel);
  ASSERT_NE(menu, nullptr);
  ClickTrayMenuItem(menu, trQuit);
  EXPECT_TRUE(tarnel.WaitExit(8000));
}

TEST_F(TrayMenu, PauseKeepsListedWindowsOpenUntilItIsUnchecked) {
  TTarnel tarnel("Pause victim\r\n");
  tarnel.Start();
  HWND menu = Open(tarnel);
  ASSERT_NE(menu, nullptr);
  ClickTrayMenuItem(menu, trPause); // "暂停自动关闭"
  ASSERT_TRUE(WaitUntil([&] { return OpenMenu(tarnel.ProcessId()) == nullptr; }, 8000));
  ASSERT_TRUE(tarnel.Responsive(5000));
  TTestWindows windows;
  HWND victim = windows.Open("Pause victim", "TarnelPlainClass");
  Sleep(1500); // five ticks
  EXPECT_TRUE(IsWindow(victim));
  EXPECT_EQ(windows.CloseRequests(victim), 0);
  // The item is checked while paused; choosing it again resumes at the next tick.
  menu = Open(tarnel);
  ASSERT_NE(menu, nullptr);
  auto glyphColumn = [&](int row) {
    RECT r = TrayMenuRow(menu, row);
    r.right = r.left + 30;
    return r;
  };
  const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
  EXPECT_GT(CountColour(glyphColumn(trPause), ink), CountColour(glyphColumn(trShow), ink) + 5);
  ClickTrayMenuItem(menu, trPause);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(victim); }, 3000));
  EXPECT_EQ(windows.CloseRequests(victim), 1);
}

} // namespace
