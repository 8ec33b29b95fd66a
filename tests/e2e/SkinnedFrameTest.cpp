// The skinned frame of the real program, seen from outside and used with the real pointer: hit
// testing, the caption buttons, the title bar (double click, drag, system menu) and the
// program's message boxes in the same frame.
#include "DesktopInput.h"
#include "SkinMessages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

using namespace e2e;

namespace {

// The default skin's frame: side and bottom borders, title bar, and the caption buttons at the
// top right (the *Right sizes run from the window's right edge to the button's left edge).
constexpr int kBorder = 4, kTitle = 28;
constexpr int kButtonTop = 4, kButtonWidth = 26, kButtonHeight = 20;
constexpr int kCloseRight = 32, kMaximizeRight = 58, kMinimizeRight = 84;
constexpr int kClientWidth = 688, kClientHeight = 446;

bool Skinned(HWND wnd) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutA(wnd, SKM_QUERY, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) && answer == 1;
}

// Where the client area sits inside the window: left, top, right and bottom frame widths.
RECT FrameOf(HWND wnd) {
  RECT window{}, client{};
  GetWindowRect(wnd, &window);
  GetClientRect(wnd, &client);
  MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return {client.left - window.left, client.top - window.top, window.right - client.right,
          window.bottom - client.bottom};
}

bool FramedBySkin(HWND wnd) {
  const RECT f = FrameOf(wnd);
  return f.left == kBorder && f.top == kTitle && f.right == kBorder && f.bottom == kBorder;
}

LRESULT HitTest(HWND wnd, POINT screen) {
  DWORD_PTR code = HTERROR;
  SendMessageTimeoutA(wnd, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y), SMTO_ABORTIFHUNG, 2000,
                      &code);
  return static_cast<LRESULT>(code);
}

bool IsBorderCode(LRESULT code) {
  return code == HTBORDER || (code >= HTLEFT && code <= HTBOTTOMRIGHT);
}

std::wstring Widen(const std::string& s) {
  std::wstring w(s.size(), L'\0');
  w.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()),
                                                   w.data(), static_cast<int>(w.size()))));
  return w;
}

// The program started with an empty list, its main window shown, skinned and in front, the
// pointer away from it.
struct TShown {
  TTarnel Tarnel{std::string()};
  HWND Main = nullptr;
  RECT Rect{};

  TShown() {
    MovePointer(10, 10);
    Tarnel.Start();
    Main = Tarnel.MainWindow();
    WaitUntil([&] { return Skinned(Main) && FramedBySkin(Main); }, 5000);
    WaitUntil([&] { return GetForegroundWindow() == Main; }, 3000);
    GetWindowRect(Main, &Rect);
  }
  int Width() const { return Rect.right - Rect.left; }
  int Height() const { return Rect.bottom - Rect.top; }
  // A point given in window coordinates, on the screen.
  POINT At(int x, int y) const { return {Rect.left + x, Rect.top + y}; }
  POINT ButtonCentre(int right) const {
    return At(Width() - right + kButtonWidth / 2, kButtonTop + kButtonHeight / 2);
  }
  // A point of a caption button's plate beside its glyph (the glyph is white in every cell).
  POINT ButtonPlate(int right) const {
    return At(Width() - right + 4, kButtonTop + kButtonHeight / 2);
  }
  POINT Title() const { return At(Width() / 2, kTitle / 2); }
  // Moves the pointer over a caption button and presses the left button there: true once the
  // button has shown its hot look and then a pressed look unlike both the normal and the hot.
  bool PressButton(int right) const {
    const POINT plate = ButtonPlate(right), centre = ButtonCentre(right);
    const COLORREF normal = ScreenPixel(plate);
    if (!MovePointer(centre.x, centre.y)) return false;
    if (!WaitUntil([&] { return ScreenPixel(plate) != normal; }, 1000)) return false;
    const COLORREF hot = ScreenPixel(plate);
    Xdotool("mousedown 1");
    return WaitUntil(
        [&] {
          const COLORREF c = ScreenPixel(plate);
          return c != normal && c != hot;
        },
        1000);
  }
  // A screen point right of the window, level with the title.
  POINT Outside() const { return {Rect.right + 60, Rect.top + kTitle / 2}; }
};

// Whether the main window is skinned, framed by the skin and in front, as the pointer tests
// need it.
testing::AssertionResult Ready(const TShown& s) {
  if (!Skinned(s.Main)) return testing::AssertionFailure() << "the main window is not skinned";
  if (!FramedBySkin(s.Main)) return testing::AssertionFailure() << "no skinned frame";
  if (GetForegroundWindow() != s.Main) return testing::AssertionFailure() << "not in front";
  return testing::AssertionSuccess();
}

TEST(SkinnedFrameHitTest, CaptionButtonsAndTitleAreCaptionInsideIsClient) {
  TShown s;
  ASSERT_TRUE(Ready(s));
  const int w = s.Width(), h = s.Height();
  struct TCase {
    const char* Where;
    POINT At;
    LRESULT Code;
  } const cases[] = {
      {"close button, centre", s.ButtonCentre(kCloseRight), HTCAPTION},
      {"close button, top left", s.At(w - kCloseRight, kButtonTop), HTCAPTION},
      {"close button, bottom right",
       s.At(w - kCloseRight + kButtonWidth - 1, kButtonTop + kButtonHeight - 1), HTCAPTION},
      {"maximize button (disabled)", s.ButtonCentre(kMaximizeRight), HTCAPTION},
      {"minimize button", s.ButtonCentre(kMinimizeRight), HTCAPTION},
      {"window icon", s.At(16, kTitle / 2), HTCAPTION},
      {"title, middle", s.Title(), HTCAPTION},
      {"title, last row", s.At(w / 2, kTitle - 1), HTCAPTION},
      {"client, first pixel", s.At(kBorder, kTitle), HTCLIENT},
      {"client, centre", s.At(w / 2, (kTitle + h) / 2), HTCLIENT},
      {"client, last pixel", s.At(w - kBorder - 1, h - kBorder - 1), HTCLIENT},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(HitTest(s.Main, c.At), c.Code) << c.Where;
}

TEST(SkinnedFrameHitTest, BordersAreBordersAcrossTheirWholeWidth) {
  TShown s;
  ASSERT_TRUE(Ready(s));
  const int w = s.Width(), h = s.Height();
  // Each border at the middle of its length, from the outer pixel inwards.
  struct TCase {
    const char* Side;
    std::function<POINT(int)> At;
  } const cases[] = {
      {"left", [&](int i) { return s.At(i, h / 2); }},
      {"right", [&](int i) { return s.At(w - 1 - i, h / 2); }},
      {"bottom", [&](int i) { return s.At(w / 2, h - 1 - i); }},
  };
  for (const TCase& c : cases) {
    // The frame is fixed: whatever code the system gives its border, it is one of the border
    // codes, the same across the width, never the title's or the client's.
    const LRESULT outer = HitTest(s.Main, c.At(0));
    EXPECT_TRUE(IsBorderCode(outer)) << c.Side << " border gives " << outer;
    for (int i = 1; i < kBorder; ++i)
      EXPECT_EQ(HitTest(s.Main, c.At(i)), outer) << c.Side << " border, pixel " << i;
    EXPECT_EQ(HitTest(s.Main, c.At(kBorder)), HTCLIENT) << c.Side << ", first client pixel";
  }
}

TEST(CaptionButtons, CloseTurnsHotUnderThePointerAndBackOnceItLeaves) {
  TShown s;
  ASSERT_TRUE(Ready(s));
  const POINT plate = s.ButtonPlate(kCloseRight);
  const COLORREF normal = ScreenPixel(plate);
  ASSERT_TRUE(MovePointer(s.ButtonCentre(kCloseRight).x, s.ButtonCentre(kCloseRight).y));
  ASSERT_TRUE(WaitUntil([&] { return ScreenPixel(plate) != normal; }, 1000))
      << "the close button did not turn hot";
  // Out of the window: no mouse message reaches it any more, only its hover timer sees this.
  ASSERT_TRUE(MovePointer(s.Outside().x, s.Outside().y));
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(plate) == normal; }, 1000))
      << std::hex << "still 0x" << ScreenPixel(plate) << ", normal 0x" << normal;
}

TEST(CaptionButtons, PressAndReleaseOnCloseEndsTheProgram) {
  TShown s;
  ASSERT_TRUE(Ready(s));
  ASSERT_TRUE(s.PressButton(kCloseRight));
  EXPECT_TRUE(s.Tarnel.Running()) << "ended on the press already";
  Xdotool("mouseup 1");
  ASSERT_TRUE(s.Tarnel.WaitExit(5000));
  EXPECT_EQ(s.Tarnel.ExitCode(), 0u);
}

TEST(CaptionButtons, PressOnCloseReleasedOutsideTheWindowDoesNothing) {
  TShown s;
  ASSERT_TRUE(Ready(s));
  const POINT plate = s.ButtonPlate(kCloseRight);
  const COLORREF normal = ScreenPixel(plate);
  ASSERT_TRUE(MovePointer(s.ButtonCentre(kCloseRight).x, s.ButtonCentre(kCloseRight).y));
  ASSERT_TRUE(WaitUntil([&] { return ScreenPixel(plate) != normal; }, 1000));
  ASSERT_TRUE(DragPointer(s.ButtonCentre(kCloseRight), s.Outside()));
  // Whatever the release started would be under way by now.
  Sleep(1000);
  EXPECT_TRUE(s.Tarnel.Running());
  EXPECT_TRUE(IsWindowVisible(s.Main));
  EXPECT_TRUE(s.Tarnel.Responsive());
  RECT now{};
  GetWindowRect(s.Main, &now);
  EXPECT_TRUE(EqualRect(&now, &s.Rect));
}

TEST(CaptionButtons, PressAndReleaseOnMinimizeHidesTheWindow) {
  TShown s;
  ASSERT_TRUE(Ready(s));
  ASSERT_TRUE(s.PressButton(kMinimizeRight));
  EXPECT_TRUE(IsWindowVisible(s.Main)) << "hidden on the press already";
  Xdotool("mouseup 1");
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(s.Main); }, 3000));
  EXPECT_FALSE(IsIconic(s.Main));
  EXPECT_TRUE(s.Tarnel.Running());
}

TEST(TitleBar, DoubleClickDoesNotMaximize) {
  TShown s;
  ASSERT_TRUE(Ready(s));
  ClickAt(s.Title(), 1, 2);
  // The last click has arrived once a move after it has.
  ASSERT_TRUE(PointerSteps("sleep 0.3", {s.Title().x + 1, s.Title().y}));
  Sleep(700);
  RECT now{};
  GetWindowRect(s.Main, &now);
  EXPECT_TRUE(EqualRect(&now, &s.Rect));
  EXPECT_FALSE(IsZoomed(s.Main));
  EXPECT_TRUE(IsWindowVisible(s.Main));
  EXPECT_TRUE(s.Tarnel.Responsive());
}

TEST(TitleBar, DragMovesTheWindowByThePointersPath) {
  TShown s;
  ASSERT_TRUE(Ready(s));
  const POINT from = s.Title();
  ASSERT_TRUE(DragPointer(from, {from.x + 60, from.y + 40}));
  RECT now{};
  WaitUntil(
      [&] {
        GetWindowRect(s.Main, &now);
        return std::abs(now.left - s.Rect.left - 60) <= 2 &&
               std::abs(now.top - s.Rect.top - 40) <= 2;
      },
      2000);
  EXPECT_NEAR(now.left - s.Rect.left, 60, 2);
  EXPECT_NEAR(now.top - s.Rect.top, 40, 2);
  RECT client{};
  GetClientRect(s.Main, &client);
  EXPECT_EQ(client.right, kClientWidth);
  EXPECT_EQ(client.bottom, kClientHeight);
  EXPECT_TRUE(FramedBySkin(s.Main));
  EXPECT_TRUE(s.Tarnel.Responsive());
}

TEST(TitleBar, RightClickOpensTheSystemMenuAndEscapeClosesIt) {
  TShown s;
  ASSERT_TRUE(Ready(s));
  ClickAt(s.Title(), 3);
  HWND menu = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (menu = OpenMenu(s.Tarnel.ProcessId())) != nullptr; }, 3000));
  EXPECT_EQ(ClassNameOf(menu), "#32768");
  Xdotool("key Escape");
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }, 3000));
  EXPECT_TRUE(IsWindowVisible(s.Main));
  EXPECT_TRUE(s.Tarnel.Responsive());
}

TEST(SkinnedMessageBoxes, FramedByTheSkinWithTheirTexts) {
  struct TCase {
    const char* Name;
    bool FolderForList;  // a folder in place of close.dat: the error box at start
    const char* Caption; // the box's caption as the program's code page has it
    std::wstring WideCaption;
    std::function<std::wstring(TTarnel&)> Text;
  } const cases[] = {
      {"duplicate entry", false, "提示", L"提示", [](TTarnel&) { return L"该窗口已经在列表中"; }},
      {"error", true, "tarnel", L"tarnel",
       [](TTarnel& t) { return L"不能打开文件 " + Widen(t.CloseDatPath()) + L"."; }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TTarnel tarnel(c.FolderForList ? std::nullopt : std::optional<std::string>(""));
    if (c.FolderForList) {
      ASSERT_TRUE(CreateDirectoryA(tarnel.CloseDatPath().c_str(), nullptr));
      tarnel.Start(false);
    } else {
      tarnel.Start();
      tarnel.SetEntryText("Twice");
      tarnel.Click(tarnel.AddButton());
      ASSERT_TRUE(WaitUntil([&] { return tarnel.Rows().size() == 1; }, 3000));
      tarnel.SetEntryText("Twice"); // refused the second time
      tarnel.Click(tarnel.AddButton());
    }
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (box = FindMessageBox(tarnel.ProcessId(), c.Caption)) != nullptr; }, 8000));
    EXPECT_EQ(ClassNameOf(box), "#32770");
    EXPECT_TRUE(WaitUntil([&] { return Skinned(box) && FramedBySkin(box); }, 3000));
    const RECT f = FrameOf(box);
    EXPECT_EQ(f.left, kBorder);
    EXPECT_EQ(f.top, kTitle);
    EXPECT_EQ(f.right, kBorder);
    EXPECT_EQ(f.bottom, kBorder);
    // The caption comes from the system's copy; the message through the static control.
    wchar_t caption[64] = {};
    GetWindowTextW(box, caption, 64);
    EXPECT_EQ(std::wstring(caption), c.WideCaption);
    HWND text = GetDlgItem(box, 0xFFFF);
    ASSERT_NE(text, nullptr);
    wchar_t message[512] = {};
    DWORD_PTR got = 0;
    SendMessageTimeoutW(text, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(message), SMTO_ABORTIFHUNG,
                        2000, &got);
    EXPECT_EQ(std::wstring(message), c.Text(tarnel));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 3000));
  }
}

} // namespace
