// The form skinner on real windows of the test process, with the test skin (flat, distinct
// colours; TestSkin.h): the frame it reserves and paints, read back from the screen, the caption
// buttons in their cells, the window region, activation, what unskinning gives back, and the
// lifetime of the skinners of dialogs.
#include "SkinManage.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

#include "Forms.h"
#include "GdiCount.h"
#include "TestSkin.h"
#include "SkinTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace TestSkin;

COLORREF ScreenPixel(int x, int y) {
  TClientDC screen(nullptr);
  return GetPixel(screen.DC(), x, y);
}

// A point of the window in window coordinates, read from the screen.
COLORREF WindowPixel(HWND wnd, int x, int y) {
  RECT r{};
  GetWindowRect(wnd, &r);
  return ScreenPixel(r.left + x, r.top + y);
}

SIZE WindowSize(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  return {r.right - r.left, r.bottom - r.top};
}

SIZE ClientSize(HWND wnd) {
  RECT r{};
  GetClientRect(wnd, &r);
  return {r.right, r.bottom};
}

// The client's offset from the window's top-left corner, and the frame below and right of it.
RECT FrameOf(HWND wnd) {
  RECT w{}, c{};
  GetWindowRect(wnd, &w);
  GetClientRect(wnd, &c);
  MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&c), 2);
  return {c.left - w.left, c.top - w.top, w.right - c.right, w.bottom - c.bottom};
}

BOOL CALLBACK CountChild(HWND, LPARAM p) {
  ++*reinterpret_cast<int*>(p);
  return TRUE;
}

BOOL CALLBACK CountTop(HWND wnd, LPARAM p) {
  ++*reinterpret_cast<int*>(p);
  EnumChildWindows(wnd, CountChild, p);
  return TRUE;
}

// Windows of this thread, children included: a check against leaked windows.
int ThreadWindowCount() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountTop, reinterpret_cast<LPARAM>(&count));
  return count;
}

// What the timer below saw of the message box it closed.
struct TBoxSeen {
  bool Skinned = false;
  std::wstring Text;
};
TBoxSeen* gBoxSeen = nullptr;

void CALLBACK CloseMessageBox(HWND owner, UINT, UINT_PTR id, DWORD) {
  KillTimer(owner, id);
  HWND box = FindWindowA("#32770", nullptr);
  if (!box || !gBoxSeen) return;
  gBoxSeen->Skinned = SendMessageA(box, SKM_QUERY, 0, 0) == 1;
  wchar_t text[64] = {};
  GetWindowTextW(box, text, 64);
  gBoxSeen->Text = text;
  PostMessageA(box, WM_COMMAND, IDOK, 0);
}

// A raw window with a menu bar, recording the commands it gets.
std::vector<UINT> gCommands;

LRESULT CALLBACK MenuWindowProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_COMMAND && lparam == 0) gCommands.push_back(LOWORD(wparam));
  return DefWindowProcA(wnd, msg, wparam, lparam);
}

enum : UINT { cmOpen = 101, cmQuit = 102, cmCopy = 111, cmAbout = 201, cmGray = 301 };

HMENU MakeMenuBar() {
  HMENU file = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, cmOpen, "&Open");
  AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(file, MF_STRING, cmQuit, "&Quit");
  HMENU edit = CreatePopupMenu();
  AppendMenuA(edit, MF_STRING, cmCopy, "&Copy");
  HMENU gray = CreatePopupMenu();
  AppendMenuA(gray, MF_STRING, cmGray, "&Inside");
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit");
  AppendMenuA(bar, MF_STRING, cmAbout, "&About");
  AppendMenuA(bar, MF_POPUP | MF_GRAYED, reinterpret_cast<UINT_PTR>(gray), "&Gray");
  return bar;
}

HWND MakeMenuWindow() {
  static const char* cls = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = MenuWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SkinFormTestMenu";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassA(&wc);
    return "SkinFormTestMenu";
  }();
  return CreateWindowExA(0, cls, "Menus", WS_OVERLAPPEDWINDOW, 150, 120, 360, 240, nullptr,
                         MakeMenuBar(), GetModuleHandleA(nullptr), nullptr);
}

// Keys posted to the open drop-down from inside its modal loop, once one is open.
std::vector<UINT> gMenuKeys;
bool gMenuSeen = false;
bool gMenuOwnerDrawn = false; // the open drop-down's items were drawn by the skin

bool OwnerDrawn(HMENU menu, UINT position) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  return GetMenuItemInfoA(menu, position, TRUE, &info) && (info.fType & MFT_OWNERDRAW);
}

// Keys go one per tick: a key that switches to another drop-down closes this one first.
void CALLBACK DriveMenu(HWND owner, UINT, UINT_PTR id, DWORD) {
  HWND menu = FindWindowA("#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  gMenuSeen = true;
  auto shown = reinterpret_cast<HMENU>(SendMessageA(menu, 0x01E1 /* MN_GETHMENU */, 0, 0));
  if (shown) gMenuOwnerDrawn = OwnerDrawn(shown, 0);
  if (gMenuKeys.empty()) {
    KillTimer(owner, id);
    return;
  }
  PostMessageA(menu, WM_KEYDOWN, gMenuKeys.front(), 0);
  gMenuKeys.erase(gMenuKeys.begin());
}

class SkinFormTest : public ::testing::Test {
protected:
  void SetUp() override {
    App();
    TSkinManage::DestroyManager();
    Host = new TForm(&App());
    Data = LoadTestSkinData(Host);
    ASSERT_TRUE(Data->SkinLoaded());
  }
  void TearDown() override {
    for (TForm* form : Forms)
      delete form;
    delete Host;
    TSkinManage::DestroyManager();
    Pump(10);
  }

  // A shown, active and skinned form (client 300 x 160) with the given border icons.
  TForm* SkinnedForm(unsigned icons = (1u << biSystemMenu) | (1u << biMinimize) |
                                      (1u << biMaximize),
                     int style = bsSizeable) {
    auto* form = new TForm(&App());
    Forms.push_back(form);
    form->SetBorderStyle(style);
    form->SetBorderIcons(icons);
    form->SetCaption("Skinned");
    form->SetBounds(120, 100, 320, 200);
    form->SetClientWidth(300);
    form->SetClientHeight(160);
    form->Show();
    SetForegroundWindow(form->Handle());
    EXPECT_TRUE(PumpUntil([&] { return Skinner(form) && Skinner(form)->Started(); }, 2000));
    Pump(50);
    return form;
  }
  TWinSkinForm* Skinner(TForm* form) {
    TSkinManage* manager = TSkinManage::Manager();
    return manager ? manager->FindSkinner(form->Handle()) : nullptr;
  }
  void SwitchActive(bool active) {
    Data->SetActive(active);
    TSkinManage* manager = TSkinManage::Manager();
    PumpUntil([&] { return manager->PendingRequest() == 0; }, 2000);
    Pump(30);
  }

  TForm* Host = nullptr;
  TSkinData* Data = nullptr;
  std::vector<TForm*> Forms;
};

// ---------------------------------------------------------------------------------------------
// The frame

TEST_F(SkinFormTest, FrameReservedAndPaintedFromTheSidesActiveAndInactive) {
  TForm* form = SkinnedForm();
  HWND wnd = form->Handle();
  TWinSkinForm* skinner = Skinner(form);
  ASSERT_NE(skinner, nullptr);
  // The client keeps its size inside the skin's borders.
  EXPECT_EQ(ClientSize(wnd).cx, 300);
  EXPECT_EQ(ClientSize(wnd).cy, 160);
  const RECT frame = FrameOf(wnd);
  EXPECT_EQ(frame.left, BorderLeft);
  EXPECT_EQ(frame.top, TitleHeight);
  EXPECT_EQ(frame.right, BorderRight);
  EXPECT_EQ(frame.bottom, BorderBottom);

  const SIZE s = WindowSize(wnd);
  struct TPoint {
    int X, Y;
    COLORREF Active, Inactive;
  };
  const std::vector<TPoint> points = {
      {1, s.cy / 2, LeftActiveMiddle, LeftInactiveMiddle},
      {s.cx - 2, s.cy / 2, RightActiveMiddle, RightInactiveMiddle},
      {s.cx / 2, s.cy - 2, BottomActiveMiddle, BottomInactiveMiddle},
      {1, s.cy - 2, LeftActiveBottom, LeftInactiveBottom},
      {s.cx / 2, 1, TopActiveMiddle, TopInactiveMiddle},
  };
  for (const TPoint& p : points)
    EXPECT_EQ(WindowPixel(wnd, p.X, p.Y), p.Active) << p.X << "," << p.Y;

  SendMessageA(wnd, WM_NCACTIVATE, FALSE, 0);
  Settle();
  EXPECT_FALSE(skinner->Active());
  for (const TPoint& p : points)
    EXPECT_EQ(WindowPixel(wnd, p.X, p.Y), p.Inactive) << p.X << "," << p.Y;
  SendMessageA(wnd, WM_NCACTIVATE, TRUE, 0);
  Settle();
  for (const TPoint& p : points)
    EXPECT_EQ(WindowPixel(wnd, p.X, p.Y), p.Active) << p.X << "," << p.Y;
}

TEST_F(SkinFormTest, TitleTextInTheTitleColours) {
  TForm* form = SkinnedForm();
  HWND wnd = form->Handle();
  TWinSkinForm* skinner = Skinner(form);
  form->SetCaption("WWWWWWWW");
  Pump(30);
  const RECT text = skinner->TextRect();
  ASSERT_GT(text.right, text.left);
  EXPECT_GE(text.top, 0);
  EXPECT_LE(text.bottom, TitleHeight);
  auto holds = [&](COLORREF colour) {
    for (int y = text.top; y < text.bottom; ++y)
      for (int x = text.left; x < text.right; ++x)
        if (WindowPixel(wnd, x, y) == colour) return true;
    return false;
  };
  EXPECT_TRUE(holds(TitleTextActive));
  SendMessageA(wnd, WM_NCACTIVATE, FALSE, 0);
  Settle();
  EXPECT_TRUE(holds(TitleTextNoActive));
  EXPECT_FALSE(holds(TitleTextActive));
}

TEST_F(SkinFormTest, RegionCutWhereTheSidesAreMagenta) {
  TForm* form = SkinnedForm();
  HWND wnd = form->Handle();
  ASSERT_TRUE(Skinner(form)->OwnsRegion());
  TRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(wnd, region.Get()), ERROR);
  const SIZE s = WindowSize(wnd);
  EXPECT_FALSE(PtInRegion(region.Get(), 0, 0));
  EXPECT_FALSE(PtInRegion(region.Get(), s.cx - 1, 0));
  EXPECT_TRUE(PtInRegion(region.Get(), s.cx / 2, s.cy / 2));
  EXPECT_TRUE(PtInRegion(region.Get(), 0, s.cy / 2));
  EXPECT_TRUE(PtInRegion(region.Get(), s.cx - 1, s.cy - 1));
  // The region follows the size.
  SetWindowPos(wnd, nullptr, 0, 0, s.cx + 40, s.cy + 30, SWP_NOMOVE | SWP_NOZORDER);
  Pump(20);
  ASSERT_NE(GetWindowRgn(wnd, region.Get()), ERROR);
  EXPECT_TRUE(PtInRegion(region.Get(), s.cx + 39, s.cy + 29));
  EXPECT_FALSE(PtInRegion(region.Get(), s.cx + 39, 0));
}

// ---------------------------------------------------------------------------------------------
// Caption buttons

TEST_F(SkinFormTest, CaptionButtonsInTheirCells) {
  TForm* form = SkinnedForm();
  HWND wnd = form->Handle();
  TWinSkinForm* skinner = Skinner(form);
  const int width = WindowSize(wnd).cx;
  auto centre = [&](int index) {
    const RECT r = CaptionButtonRect(index, width);
    return WindowPixel(wnd, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  };
  for (int index : {CloseButton, MaximizeButton, MinimizeButton})
    EXPECT_EQ(centre(index), CaptionButtonColour(index, 0)) << index;
  // The restore and help buttons do not show on a normal window with both boxes.
  EXPECT_FALSE(skinner->CaptionButtons()[RestoreButton]->Visible);
  EXPECT_FALSE(skinner->CaptionButtons()[HelpButton]->Visible);

  TWinSysButton& close = *skinner->CaptionButtons()[CloseButton];
  TWinSysButton& minimize = *skinner->CaptionButtons()[MinimizeButton];
  // The pointer rests where the buttons are driven, so that the hover check keeps them hot.
  auto pointTo = [&](const TWinSysButton& b) {
    RECT w{};
    GetWindowRect(wnd, &w);
    SetCursorPos(w.left + (b.BoundsRect.left + b.BoundsRect.right) / 2,
                 w.top + (b.BoundsRect.top + b.BoundsRect.bottom) / 2);
  };
  pointTo(close);
  close.MouseEnter();
  Settle();
  EXPECT_EQ(skinner->HotObject, &close);
  EXPECT_EQ(centre(CloseButton), CaptionButtonColour(CloseButton, 2));
  close.MouseDown();
  Settle();
  EXPECT_EQ(centre(CloseButton), CaptionButtonColour(CloseButton, 1));
  close.MouseUp();
  Settle();
  EXPECT_EQ(centre(CloseButton), CaptionButtonColour(CloseButton, 2));
  // Straight onto the next button: the first is normal again before the second is hot.
  pointTo(minimize);
  minimize.MouseEnter();
  Settle();
  EXPECT_EQ(skinner->HotObject, &minimize);
  EXPECT_EQ(close.State, 1);
  EXPECT_EQ(centre(CloseButton), CaptionButtonColour(CloseButton, 0));
  EXPECT_EQ(centre(MinimizeButton), CaptionButtonColour(MinimizeButton, 2));
  minimize.MouseLeave();
  Settle();
  EXPECT_EQ(skinner->HotObject, nullptr);
  EXPECT_EQ(centre(MinimizeButton), CaptionButtonColour(MinimizeButton, 0));

  // An inactive window draws every button in its fourth cell.
  SendMessageA(wnd, WM_NCACTIVATE, FALSE, 0);
  Settle();
  for (int index : {CloseButton, MaximizeButton, MinimizeButton})
    EXPECT_EQ(centre(index), CaptionButtonColour(index, 3)) << index;
}

TEST_F(SkinFormTest, ButtonsShownAndEnabledByTheWindowsBoxes) {
  struct TCase {
    unsigned Icons;
    bool Zoom;
    bool MaxVisible, MaxEnabled, RestoreVisible, MinEnabled, CloseVisible;
  };
  const unsigned sys = 1u << biSystemMenu, min = 1u << biMinimize, max = 1u << biMaximize;
  const TCase cases[] = {
      {sys | min | max, false, true, true, false, true, true},
      {sys | min | max, true, false, true, true, true, true},
      {sys | min, false, true, false, false, true, true}, // a disabled maximize, as Tarnel's
      {sys, false, false, false, false, false, true},
  };
  for (const TCase& c : cases) {
    TForm* form = SkinnedForm(c.Icons);
    HWND wnd = form->Handle();
    if (c.Zoom) {
      ShowWindow(wnd, SW_MAXIMIZE);
      Pump(30);
    }
    TWinSkinForm* skinner = Skinner(form);
    SendMessageA(wnd, SKM_NCPAINT, 0, 0);
    Settle();
    const auto& buttons = skinner->CaptionButtons();
    SCOPED_TRACE(testing::Message() << "icons " << c.Icons << " zoom " << c.Zoom);
    EXPECT_EQ(buttons[MaximizeButton]->Visible, c.MaxVisible);
    EXPECT_EQ(buttons[MaximizeButton]->Enabled, c.MaxEnabled);
    EXPECT_EQ(buttons[RestoreButton]->Visible, c.RestoreVisible);
    EXPECT_EQ(buttons[MinimizeButton]->Enabled, c.MinEnabled);
    EXPECT_EQ(buttons[CloseButton]->Visible, c.CloseVisible);
    if (c.MaxVisible && !c.MaxEnabled) {
      const RECT r = CaptionButtonRect(MaximizeButton, WindowSize(wnd).cx);
      EXPECT_EQ(WindowPixel(wnd, (r.left + r.right) / 2, (r.top + r.bottom) / 2),
                CaptionButtonColour(MaximizeButton, 3));
    }
    form->Hide();
  }
}

TEST_F(SkinFormTest, EventsAndTheEnginesMessages) {
  std::vector<std::string> events;
  Data->OnBeforeSkinForm = [&](TObject*, HWND wnd, const std::string& name) {
    events.push_back("before " + name + (IsWindow(wnd) ? "" : " no window"));
  };
  Data->OnAfterSkinForm = [&](TObject*, HWND wnd, const std::string& name) {
    events.push_back("after " + name + (IsWindow(wnd) ? "" : " no window"));
  };
  TForm* form = SkinnedForm();
  EXPECT_EQ(events, (std::vector<std::string>{"before TForm", "after TForm"}));
  HWND wnd = form->Handle();
  EXPECT_EQ(SendMessageA(wnd, SKM_QUERY, 0, 0), 1);
  EXPECT_EQ(form->Perform(SKM_HANDSHAKE, 0, SKM_SKINNED_MAGIC), SKM_SKINNED_MAGIC);
  EXPECT_EQ(form->Perform(SKM_HANDSHAKE, 0, 0), 1);
  EXPECT_EQ(form->Perform(SKM_PAINTFRAME, 0, SKM_SKINNED_MAGIC), SKM_SKINNED_MAGIC);
}

// ---------------------------------------------------------------------------------------------
// Input and activation

TEST_F(SkinFormTest, CaptionDoubleClickMaximizesOnlyWithAMaximizeBox) {
  const unsigned sys = 1u << biSystemMenu, min = 1u << biMinimize, max = 1u << biMaximize;
  for (bool box : {false, true}) {
    TForm* form = SkinnedForm(box ? sys | min | max : sys | min, box ? bsSizeable : bsSingle);
    HWND wnd = form->Handle();
    RECT r{};
    GetWindowRect(wnd, &r);
    const LPARAM at = MAKELPARAM(r.left + 60, r.top + TitleHeight / 2);
    ASSERT_EQ(SendMessageA(wnd, WM_NCHITTEST, 0, at), HTCAPTION);
    SendMessageA(wnd, WM_NCLBUTTONDBLCLK, HTCAPTION, at);
    Pump(50);
    EXPECT_EQ(IsZoomed(wnd) != 0, box);
    EXPECT_EQ(Skinner(form)->ShowState(), box ? 1 : 0);
    if (box) {
      // And back: the system's own double-click command carries low bits (0xF122).
      SendMessageA(wnd, WM_SYSCOMMAND, SC_RESTORE | 2, 0);
      Pump(30);
      EXPECT_FALSE(IsZoomed(wnd));
      EXPECT_EQ(Skinner(form)->ShowState(), 0);
    }
    form->Hide();
  }
}

TEST_F(SkinFormTest, ADeactivationIsNeverRefused) {
  auto* form = new TForm(&App());
  Forms.push_back(form);
  form->SetBounds(100, 100, 200, 150);
  form->Show();
  SetForegroundWindow(form->Handle());
  // Skinned, but the finish notice not handled yet: nothing is painted, yet the window lets
  // itself be deactivated.
  TWinSkinForm* skinner = Skinner(form);
  ASSERT_NE(skinner, nullptr);
  ASSERT_EQ(skinner->SkinState(), stNew);
  EXPECT_NE(SendMessageA(form->Handle(), WM_NCACTIVATE, FALSE, 0), 0);
  EXPECT_EQ(SendMessageA(form->Handle(), WM_NCPAINT, 1, 0), 0);
}

// ---------------------------------------------------------------------------------------------
// The menu bar

TEST_F(SkinFormTest, MenuBarTakenOverDrawnAndGivenBack) {
  TTestWindow wnd(MakeMenuWindow());
  const HMENU original = GetMenu(wnd);
  ShowWindow(wnd, SW_SHOW);
  SetForegroundWindow(wnd);
  TSkinManage* manager = TSkinManage::Manager();
  ASSERT_TRUE(PumpUntil(
      [&] { return manager->FindSkinner(wnd) && manager->FindSkinner(wnd)->Started(); }, 2000));
  Settle();
  TWinSkinForm* skinner = manager->FindSkinner(wnd);
  ASSERT_NE(skinner->SkinMenu(), nullptr);
  EXPECT_EQ(GetMenu(wnd), nullptr);
  EXPECT_EQ(FrameOf(wnd).top, TitleHeight + GetSystemMetrics(SM_CYMENU));
  const auto& items = skinner->SkinMenu()->Buttons();
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(items[0]->Caption, L"&File");
  EXPECT_FALSE(items[3]->ItemEnabled);
  // The band right of the items is the skin's menu bar image.
  const int y = TitleHeight + GetSystemMetrics(SM_CYMENU) / 2;
  EXPECT_EQ(WindowPixel(wnd, WindowSize(wnd).cx - BorderRight - 20, y),
            Colour(tiMenuBar, 0, cpCentre));

  struct TCase {
    const char* Name;
    WPARAM Key;             // SC_KEYMENU's character (0: Alt alone)
    std::vector<UINT> Keys; // keys for the drop-down, when one opens
    bool Opens;
    std::vector<UINT> Commands;
  };
  const TCase cases[] = {
      {"Alt alone, Enter", 0, {VK_RETURN}, true, {cmOpen}},
      {"Alt+F, Esc", 'f', {VK_ESCAPE, VK_ESCAPE}, true, {}},
      {"Alt+F, down twice wraps over the separator, Enter",
       'f',
       {VK_DOWN, VK_RETURN},
       true,
       {cmQuit}},
      {"Alt+F, Right to the next drop-down, Enter", 'f', {VK_RIGHT, VK_RETURN}, true, {cmCopy}},
      {"Alt+F, Left wraps past the command and disabled items",
       'f',
       {VK_LEFT, VK_RETURN},
       true,
       {cmCopy}},
      {"a command item", 'a', {}, false, {cmAbout}},
      {"a disabled drop-down", 'g', {}, false, {}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    gCommands.clear();
    gMenuKeys = c.Keys;
    gMenuSeen = false;
    gMenuOwnerDrawn = false;
    SetTimer(wnd, 5, 30, DriveMenu);
    SendMessageA(wnd, WM_SYSCOMMAND, SC_KEYMENU, c.Key);
    Pump(100);
    KillTimer(wnd, 5);
    EXPECT_EQ(gMenuSeen, c.Opens);
    EXPECT_EQ(gMenuOwnerDrawn, c.Opens);
    EXPECT_FALSE(OwnerDrawn(GetSubMenu(original, 0), 0)); // plain again once closed
    EXPECT_EQ(gCommands, c.Commands);
    EXPECT_FALSE(skinner->MenuTracking());
  }

  // Skin off: the window has its menu back, texts intact, nothing owner-drawn.
  SwitchActive(false);
  ASSERT_EQ(manager->FindSkinner(wnd), nullptr);
  EXPECT_EQ(GetMenu(wnd), original);
  char text[32] = {};
  GetMenuStringA(original, 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "&File");
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoA(GetSubMenu(original, 0), 0, TRUE, &info);
  EXPECT_FALSE(info.fType & MFT_OWNERDRAW);
}

// ---------------------------------------------------------------------------------------------
// Giving the window back

TEST_F(SkinFormTest, ActiveOffAndOnGivesTheWindowBackEveryTime) {
  TForm* form = SkinnedForm();
  HWND wnd = form->Handle();
  const SIZE client = ClientSize(wnd);
  auto cycle = [&] {
    SwitchActive(false);
    EXPECT_EQ(Skinner(form), nullptr);
    SwitchActive(true);
    EXPECT_NE(Skinner(form), nullptr);
  };
  for (int i = 0; i < 3; ++i)
    cycle();
  const long gdi = GdiCount::Count();
  const int windows = ThreadWindowCount();
  const size_t hooked = TSkinWndHook::HookedWindowCount();

  // Off: the standard frame, no region, the system menu bit and the toolkit's procedure back.
  SwitchActive(false);
  ASSERT_EQ(Skinner(form), nullptr);
  TRegion region(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetWindowRgn(wnd, region.Get()), ERROR);
  EXPECT_TRUE(GetWindowLongPtrA(wnd, GWL_STYLE) & WS_SYSMENU);
  EXPECT_EQ(ClientSize(wnd).cx, client.cx);
  EXPECT_EQ(ClientSize(wnd).cy, client.cy);
  EXPECT_NE(FrameOf(wnd).top, TitleHeight);
  EXPECT_EQ(SendMessageA(wnd, SKM_QUERY, 0, 0), 0);
  SwitchActive(true);

  for (int i = 0; i < 50; ++i) {
    cycle();
    ASSERT_EQ(ClientSize(wnd).cx, client.cx) << i;
    ASSERT_EQ(ClientSize(wnd).cy, client.cy) << i;
  }
  EXPECT_EQ(FrameOf(wnd).top, TitleHeight);
  EXPECT_EQ(ThreadWindowCount(), windows);
  EXPECT_EQ(TSkinWndHook::HookedWindowCount(), hooked);
  // A leak per cycle would show as 50 objects or more; a cache made once may show as one.
  if (gdi >= 0) {
    EXPECT_LT(GdiCount::Count(), gdi + 5);
  }
}

TEST_F(SkinFormTest, DialogSkinnersGoWithTheirWindows) {
  TForm* form = SkinnedForm();
  TSkinManage* manager = TSkinManage::Manager();
  const size_t before = manager->Skinners().size();
  // Message boxes opened and closed from inside their own modal loop.
  for (int i = 0; i < 3; ++i) {
    TBoxSeen seen;
    gBoxSeen = &seen;
    SetTimer(form->Handle(), 77, 50, CloseMessageBox);
    MessageBoxW(form->Handle(), L"\x8be5\x7a97\x53e3", L"\x63d0\x793a", MB_OK | MB_ICONINFORMATION);
    EXPECT_TRUE(seen.Skinned);
    EXPECT_EQ(seen.Text, L"\x63d0\x793a");
    gBoxSeen = nullptr;
    EXPECT_EQ(manager->Skinners().size(), before) << "after box " << i;
  }
}

} // namespace
