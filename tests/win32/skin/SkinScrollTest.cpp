// Skinned scroll bars with the test skin: the overlay's geometry and cells read back from the
// screen, the frame and corner of scrollable controls, scrolling by real pointer and keyboard
// input, list view headers, the drop-down list's bar and thumb drag, and handles over many
// skin and unskin cycles.
#include "SkinListView.h"
#include "SkinManage.h"
#include "SkinScrollBar.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

#include "ComCtrls.h"
#include "Forms.h"
#include "GdiCount.h"
#include "SkinTestSupport.h"
#include "StdCtrls.h"
#include "TestSkin.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace TestSkin;

// A list box with a published "FixedColor", as grids have.
class TFixedListBox : public TListBox {
  TK_DECLARE_CLASS(TFixedListBox)
public:
  using TListBox::TListBox;
  int FixedColor() const { return FFixed; }
  void SetFixedColor(int v) { FFixed = v; }
  int FFixed = 0x123456;
};

} // namespace

const TClassInfo& TFixedListBox::StaticClassInfo() {
  static const TClassInfo info{"TFixedListBox",
                               &TListBox::StaticClassInfo(),
                               nullptr,
                               {IntProp<TFixedListBox>("FixedColor", &TFixedListBox::FixedColor,
                                                       &TFixedListBox::SetFixedColor)}};
  return info;
}

namespace {

SCROLLBARINFO BarInfo(HWND wnd, LONG object) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  GetScrollBarInfo(wnd, object, &info);
  return info;
}

// Real pointer input: absolute moves, presses and wheel turns, sent as one batch so that a
// modal tracking loop started by the first press receives the rest.
struct TInput {
  std::vector<INPUT> Events;
  TInput& Move(POINT p) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    Events.push_back(in);
    return *this;
  }
  TInput& Button(DWORD flag) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flag;
    Events.push_back(in);
    return *this;
  }
  TInput& Wheel(int delta) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_WHEEL;
    in.mi.mouseData = static_cast<DWORD>(delta);
    Events.push_back(in);
    return *this;
  }
  TInput& Key(WORD vk) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[0].ki.wScan = in[1].ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in[0].ki.dwFlags = KEYEVENTF_EXTENDEDKEY; // the navigation keys, not the keypad's
    in[1].ki.dwFlags = KEYEVENTF_KEYUP | KEYEVENTF_EXTENDEDKEY;
    Events.push_back(in[0]);
    Events.push_back(in[1]);
    return *this;
  }
  void Send() {
    SendInput(static_cast<UINT>(Events.size()), Events.data(), sizeof(INPUT));
    Events.clear();
  }
};

constexpr int kX = 5; // a column inside the skin's thickness of a vertical bar

COLORREF Arrow(int cell) {
  return Colour(tiScrollArrows, cell - 1);
}

class SkinScrollTest : public ::testing::Test {
protected:
  void SetUp() override {
    App();
    SetCursorPos(2, 2);
    TSkinManage::DestroyManager();
    Host = new TForm(&App());
    Data = LoadTestSkinData(Host);
    ASSERT_TRUE(Data->SkinLoaded());
  }
  void TearDown() override {
    SetCursorPos(2, 2);
    for (TForm* form : Forms)
      delete form;
    delete Host;
    TSkinManage::DestroyManager();
    Pump(10);
  }
  template <class F>
  TForm* SkinnedForm(F fill) {
    auto* form = new TForm(&App());
    Forms.push_back(form);
    form->SetCaption("Scroll");
    form->SetBounds(140, 110, 420, 320);
    fill(form);
    form->Show();
    SetForegroundWindow(form->Handle());
    EXPECT_TRUE(PumpUntil(
        [&] { return Skinner(form->Handle()) && Skinner(form->Handle())->Started(); }, 2000));
    Pump(50);
    return form;
  }
  TWinSkinForm* Skinner(HWND wnd) {
    TSkinManage* manager = TSkinManage::Manager();
    return manager ? manager->FindSkinner(wnd) : nullptr;
  }
  template <class L = TListBox>
  L* AddList(TForm* form, int items, int x = 10, int y = 10, int w = 150, int h = 200) {
    auto* list = new L(form);
    list->SetParent(form);
    list->SetBounds(x, y, w, h);
    std::vector<std::string> rows;
    for (int i = 0; i < items; ++i)
      rows.push_back("Row " + std::to_string(i));
    list->SetItems(rows);
    return list;
  }
  TSkinScrollbar* ScrollSkinner(TForm* form, TControl* control) {
    return dynamic_cast<TSkinScrollbar*>(Skinner(form->Handle())->FindByControl(control));
  }
  static int TopRow(HWND list) {
    return static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  }

  TForm* Host = nullptr;
  TSkinData* Data = nullptr;
  std::vector<TForm*> Forms;
};

// ---------------------------------------------------------------------------------------------
// Geometry

TEST(ScrollGeometry, HitTestFindsEachPartAlongTheBar) {
  struct TRow {
    int At, Part;
  };
  // A bar 200 long, arrows 16, thumb from 60 to 90.
  const TRow rows[] = {{0, 0},  {15, 0}, {16, 2},  {59, 2},  {60, 5},
                       {89, 5}, {90, 3}, {183, 3}, {184, 1}, {199, 1}};
  for (const TRow& r : rows)
    EXPECT_EQ(ScrollHitTest(r.At, 200, 16, 60, 90), r.Part) << r.At;
}

TEST(ScrollGeometry, ControlThumbFromRangePageAndPosition) {
  struct TRow {
    int Min, Max, Page, Pos, Start, End;
  };
  // Length 232, arrows 16: a track of 200.
  const TRow rows[] = {
      {0, 100, 21, 0, 16, 56},     // page shown: 200 x 20 / 100 = 40
      {0, 100, 21, 50, 116, 156},  // 16 + 200 x 50 / 100
      {0, 1000, 2, 0, 16, 24},     // a thumb of 7 or less becomes 8
      {0, 1000, 2, 500, 112, 120}, // 16 + (200 - 8) x 500 / 1000
      {0, 100, 0, 0, 16, 32},      // no page: an arrow-sized thumb
      {0, 100, 0, 100, 200, 216},  // 16 + (232 - 48) x 100 / 100
  };
  for (const TRow& r : rows) {
    SCROLLINFO info{};
    info.nMin = r.Min;
    info.nMax = r.Max;
    info.nPage = static_cast<UINT>(r.Page);
    info.nPos = r.Pos;
    int start = 0, end = 0;
    ControlThumb(232, 16, info, start, end);
    EXPECT_EQ(start, r.Start) << r.Page << " " << r.Pos;
    EXPECT_EQ(end, r.End) << r.Page << " " << r.Pos;
  }
}

TEST(ScrollGeometry, DragPositionReachesTheLastTopRowAndNeverLeavesTheRange) {
  struct TRow {
    int Offset, Page, Expected;
  };
  // Range 0..49, a track of 200 and a thumb of 40 (free travel 160).
  const TRow rows[] = {
      {-30, 10, 0}, {0, 10, 0},  {80, 10, 20}, {160, 10, 40}, {500, 10, 40}, // max - page + 1
      {0, 0, 0},    {80, 0, 20}, {500, 0, 39},
  };
  for (const TRow& r : rows) {
    SCROLLINFO info{};
    info.nMin = 0;
    info.nMax = 49;
    info.nPage = static_cast<UINT>(r.Page);
    EXPECT_EQ(DragPosition(r.Offset, 200, 40, info), r.Expected) << r.Offset << " " << r.Page;
  }
}

// ---------------------------------------------------------------------------------------------
// The picture, composed into memory

TEST_F(SkinScrollTest, PictureShowsEachPartInTheCellOfItsState) {
  struct TRow {
    const char* Name;
    int Length, ThumbStart, ThumbEnd;
    bool Enabled;
    int Hot;
    bool Pressed;
    int Y; // where to look along the bar
    COLORREF Expected;
  };
  const COLORREF thumb = Colour(tiVertThumb, 0), hotThumb = Colour(tiVertThumb, 2);
  const TRow rows[] = {
      {"first arrow", 120, 40, 80, true, -1, false, 3, Arrow(9)},
      {"first arrow hot", 120, 40, 80, true, 0, false, 3, Arrow(12)},
      {"first arrow pressed", 120, 40, 80, true, 0, true, 3, Arrow(10)},
      {"second arrow hot", 120, 40, 80, true, 1, false, 116, Arrow(16)},
      {"second arrow pressed", 120, 40, 80, true, 1, true, 116, Arrow(14)},
      {"track", 120, 40, 80, true, 3, false, 90, Colour(tiVertScroll, 0)},
      {"thumb", 120, 40, 80, true, -1, false, 50, thumb},
      {"thumb hot", 120, 40, 80, true, 5, false, 50, hotThumb},
      {"thumb pressed", 120, 40, 80, true, 5, true, 50, Colour(tiVertThumb, 1)},
      {"thumb's top margin", 120, 40, 80, true, -1, false, 41, Colour(tiVertThumb, 0, cpTop)},
      {"grip", 120, 40, 80, true, -1, false, 60, Arrow(20)},
      {"grip hot", 120, 40, 80, true, 5, false, 60, Arrow(22)},
      {"grip pressed", 120, 40, 80, true, 5, true, 60, Arrow(21)},
      {"no grip on a short thumb", 120, 40, 57, true, -1, false, 48, thumb},
      {"disabled track", 120, 40, 80, false, -1, false, 60, Colour(tiVertScroll, 2)},
      {"short bar: half-length arrows", 20, 0, 0, true, -1, false, 9, Arrow(9)},
      {"short bar: second arrow", 20, 0, 0, true, -1, false, 10, Arrow(13)},
  };
  HDC screen = GetDC(nullptr);
  for (const TRow& r : rows) {
    SCOPED_TRACE(r.Name);
    TScrollPicture p;
    p.Width = 16;
    p.Height = r.Length;
    p.Vertical = true;
    p.ArrowSize = 16;
    p.ThumbStart = r.ThumbStart;
    p.ThumbEnd = r.ThumbEnd;
    p.Enabled = r.Enabled;
    p.HotPart = r.Hot;
    p.Pressed = r.Pressed;
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 16, r.Length);
    HGDIOBJ old = SelectObject(mem, bmp);
    EXPECT_TRUE(PaintScrollPicture(mem, 0, 0, *Data, p));
    EXPECT_EQ(GetPixel(mem, kX, r.Y), r.Expected) << r.Y;
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
  }
  ReleaseDC(nullptr, screen);
}

TEST_F(SkinScrollTest, PictureAtTheSystemSizeWhenTheSkinsArrowsAreFarOff) {
  // Arrows of 16 are drawn at the system size when it is more than 2 pixels off.
  struct TRow {
    int ArrowSize, Thick;
  };
  HDC screen = GetDC(nullptr);
  for (const TRow r : {TRow{24, 24}, TRow{18, 16}, TRow{19, 19}, TRow{13, 13}}) {
    TScrollPicture p;
    p.Width = 30;
    p.Height = 100;
    p.Vertical = true;
    p.Thin = true;
    p.ArrowSize = r.ArrowSize;
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 30, 100);
    HGDIOBJ old = SelectObject(mem, bmp);
    const RECT all{0, 0, 30, 100};
    FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    PaintScrollPicture(mem, 0, 0, *Data, p);
    EXPECT_EQ(GetPixel(mem, r.Thick - 1, 2), Arrow(9)) << r.ArrowSize;
    EXPECT_EQ(GetPixel(mem, r.Thick, 2), RGB(0, 0, 0)) << r.ArrowSize;
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
  }
  ReleaseDC(nullptr, screen);
}

// ---------------------------------------------------------------------------------------------
// The overlay on screen

TEST_F(SkinScrollTest, ListBoxOverlayCoversTheBarWithArrowsTrackAndThumbWhereThePlatformHasThem) {
  TListBox* list = nullptr;
  TForm* form = SkinnedForm([&](TForm* f) { list = AddList(f, 60); });
  TSkinScrollbar* s = ScrollSkinner(form, list);
  ASSERT_NE(s, nullptr);
  ASSERT_TRUE(s->VertBar && s->VertBar->Shown);
  EXPECT_FALSE(s->HorzBar->Shown);
  HWND wnd = list->Handle();
  const SCROLLBARINFO bar = BarInfo(wnd, OBJID_VSCROLL);
  RECT over{};
  GetWindowRect(s->VertBar->Window(), &over);
  EXPECT_TRUE(EqualRect(&over, &bar.rcScrollBar))
      << over.left << "," << over.top << " " << over.right << "," << over.bottom;
  EXPECT_TRUE(IsWindowVisible(s->VertBar->Window()));

  const int length = bar.rcScrollBar.bottom - bar.rcScrollBar.top;
  const int a = GetSystemMetrics(SM_CXHSCROLL);
  const TShot shot = Shoot(s->VertBar->Window());
  const int top = bar.xyThumbTop, bottom = bar.xyThumbBottom;
  ASSERT_GT(bottom - top, 18) << "the thumb is long enough for the grip";
  struct TRow {
    const char* Name;
    int Y;
    COLORREF Expected;
  };
  const TRow rows[] = {
      {"first arrow", a / 2, Arrow(9)},
      {"second arrow", length - a / 2, Arrow(13)},
      {"thumb top", top + 1, Colour(tiVertThumb, 0, cpTop)},
      {"thumb bottom", bottom - 2, Colour(tiVertThumb, 0, cpBottom)},
      {"grip", (top + bottom) / 2, Arrow(20)},
      {"track after", (bottom + length - a) / 2, Colour(tiVertScroll, 0)},
  };
  for (const TRow& r : rows)
    EXPECT_EQ(shot.At(kX, r.Y), r.Expected) << r.Name << " at " << r.Y;

  // After scrolling to the end the thumb sits on the second arrow.
  SendMessageW(wnd, WM_VSCROLL, SB_BOTTOM, 0);
  SendMessageW(wnd, WM_VSCROLL, SB_ENDSCROLL, 0);
  const SCROLLBARINFO end = BarInfo(wnd, OBJID_VSCROLL);
  EXPECT_EQ(end.xyThumbBottom, length - a);
  const TShot after = Shoot(s->VertBar->Window());
  EXPECT_EQ(after.At(kX, end.xyThumbBottom - 2), Colour(tiVertThumb, 0, cpBottom));
  EXPECT_EQ(after.At(kX, a + 2), Colour(tiVertScroll, 0));
}

TEST_F(SkinScrollTest, DisabledBarShowsTheDisabledTrackAndNoThumb) {
  TListBox* list = nullptr;
  TForm* form = SkinnedForm([&](TForm* f) { list = AddList(f, 60); });
  list->SetEnabled(false);
  Pump(30);
  TSkinScrollbar* s = ScrollSkinner(form, list);
  ASSERT_NE(s, nullptr);
  s->VertBar->Repaint();
  const TShot shot = Shoot(s->VertBar->Window());
  EXPECT_EQ(shot.At(kX, shot.Height / 2), Colour(tiVertScroll, 2));
  EXPECT_EQ(shot.Count(Colour(tiVertThumb, 0, cpCentre)), 0);
  EXPECT_EQ(shot.Count(Arrow(20)), 0);
  EXPECT_EQ(shot.At(kX, 3), Arrow(9));
}

TEST_F(SkinScrollTest, FrameIsTwoLinesAndTheCornerBetweenTwoBarsIsTheFaceColour) {
  TMemo* memo = nullptr;
  TListBox* list = nullptr;
  TForm* form = SkinnedForm([&](TForm* f) {
    memo = new TMemo(f);
    memo->SetParent(f);
    memo->SetBounds(170, 10, 200, 150);
    memo->SetWordWrap(false);
    memo->SetScrollBars(ssBoth);
    std::vector<std::string> lines;
    for (int i = 0; i < 40; ++i)
      lines.push_back("A long line of the memo that reaches past its right edge " +
                      std::to_string(i));
    memo->SetLines(lines);
    list = AddList(f, 5, 10, 10, 150, 120);
  });
  for (TWinControl* c : std::initializer_list<TWinControl*>{memo, list}) {
    SCOPED_TRACE(c->ClassName());
    RedrawWindow(c->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    const TShot shot = Shoot(c->Handle());
    EXPECT_EQ(shot.At(0, shot.Height / 2), ButtonShadow);
    EXPECT_EQ(shot.At(shot.Width / 3, 0), ButtonShadow);
    EXPECT_EQ(shot.At(shot.Width / 3, shot.Height - 1), ButtonShadow);
    EXPECT_EQ(shot.At(1, shot.Height / 2), ButtonFace);
    EXPECT_EQ(shot.At(shot.Width / 3, 1), ButtonFace);
  }
  TSkinScrollbar* s = ScrollSkinner(form, memo);
  ASSERT_NE(s, nullptr);
  ASSERT_TRUE(s->HorzBar->Shown && s->VertBar->Shown);
  const SCROLLBARINFO v = BarInfo(memo->Handle(), OBJID_VSCROLL);
  const SCROLLBARINFO h = BarInfo(memo->Handle(), OBJID_HSCROLL);
  RECT window{};
  GetWindowRect(memo->Handle(), &window);
  const TShot shot = Shoot(memo->Handle());
  const int cx = (v.rcScrollBar.left + v.rcScrollBar.right) / 2 - window.left;
  const int cy = (h.rcScrollBar.top + h.rcScrollBar.bottom) / 2 - window.top;
  EXPECT_EQ(shot.At(cx, cy), ButtonFace);
  // The horizontal overlay shows its own arrow cells.
  const TShot hs = Shoot(s->HorzBar->Window());
  EXPECT_EQ(hs.At(4, 5), Arrow(1));
  EXPECT_EQ(hs.At(hs.Width - 4, 5), Arrow(5));
}

// ---------------------------------------------------------------------------------------------
// Scrolling by real input

TEST_F(SkinScrollTest, PointerAndKeyboardScrollTheListThroughTheOverlay) {
  TListBox* list = nullptr;
  TForm* form = SkinnedForm([&](TForm* f) { list = AddList(f, 60); });
  TSkinScrollbar* s = ScrollSkinner(form, list);
  ASSERT_NE(s, nullptr);
  HWND wnd = list->Handle();
  const int a = GetSystemMetrics(SM_CXHSCROLL);
  auto bar = [&] { return BarInfo(wnd, OBJID_VSCROLL); };
  const RECT r = bar().rcScrollBar;
  const int cx = (r.left + r.right) / 2;
  TInput input;

  // A click on the second arrow moves the top row by one.
  ASSERT_EQ(TopRow(wnd), 0);
  input.Move({cx, r.bottom - a / 2}).Button(MOUSEEVENTF_LEFTDOWN).Button(MOUSEEVENTF_LEFTUP).Send();
  EXPECT_TRUE(PumpUntil([&] { return TopRow(wnd) != 0; }, 2000));
  EXPECT_EQ(TopRow(wnd), 1);

  // The thumb dragged down by 40 pixels scrolls in proportion, and the overlay shows it there.
  const SCROLLBARINFO before = bar();
  const int grab = r.top + (before.xyThumbTop + before.xyThumbBottom) / 2;
  input.Move({cx, grab}).Button(MOUSEEVENTF_LEFTDOWN);
  for (int dy = 10; dy <= 40; dy += 10)
    input.Move({cx, grab + dy});
  input.Button(MOUSEEVENTF_LEFTUP).Send();
  EXPECT_TRUE(PumpUntil([&] { return TopRow(wnd) > 5; }, 2000));
  const int dragged = TopRow(wnd);
  EXPECT_GT(dragged, 5);
  const SCROLLBARINFO moved = bar();
  EXPECT_GT(moved.xyThumbTop, before.xyThumbTop + 30);
  EXPECT_EQ(Shoot(s->VertBar->Window()).At(kX, moved.xyThumbTop + 1),
            Colour(tiVertThumb, 0, cpTop));

  // The wheel scrolls up.
  SetFocus(wnd);
  input.Move({(r.left - 40), (r.top + r.bottom) / 2}).Wheel(WHEEL_DELTA).Send();
  EXPECT_TRUE(PumpUntil([&] { return TopRow(wnd) < dragged; }, 2000));
  EXPECT_LT(TopRow(wnd), dragged);

  // Page Down pressed until the end; the overlay follows.
  SetForegroundWindow(form->Handle());
  SetFocus(wnd);
  for (int i = 0; i < 6; ++i)
    input.Key(VK_NEXT);
  input.Send();
  EXPECT_TRUE(PumpUntil([&] { return TopRow(wnd) > 40; }, 2000));
  const SCROLLBARINFO end = bar();
  const TShot shot = Shoot(s->VertBar->Window());
  EXPECT_EQ(shot.At(kX, end.xyThumbBottom - 2), Colour(tiVertThumb, 0, cpBottom));
  EXPECT_EQ(shot.At(kX, a + 2), Colour(tiVertScroll, 0));
}

TEST_F(SkinScrollTest, PointerOverThePartsLightsEachAndLeavingClearsIt) {
  TListBox* list = nullptr;
  TForm* form = SkinnedForm([&](TForm* f) { list = AddList(f, 60); });
  TSkinScrollbar* s = ScrollSkinner(form, list);
  ASSERT_NE(s, nullptr);
  const SCROLLBARINFO bar = BarInfo(list->Handle(), OBJID_VSCROLL);
  const int a = GetSystemMetrics(SM_CXHSCROLL);
  const int cx = (bar.rcScrollBar.left + bar.rcScrollBar.right) / 2;
  const int thumb = (bar.xyThumbTop + bar.xyThumbBottom) / 2;
  struct TRow {
    int Y; // along the bar; -1: off the bar
    int Part;
    int LookAt;
    COLORREF Expected;
  };
  const TRow rows[] = {
      {a / 2, 0, a / 2, Arrow(12)}, {thumb, 5, thumb, Arrow(22)}, {-1, -1, a / 2, Arrow(9)}};
  TInput input;
  for (const TRow& r : rows) {
    const POINT at = r.Y < 0 ? POINT{bar.rcScrollBar.left - 60, bar.rcScrollBar.top}
                             : POINT{cx, bar.rcScrollBar.top + r.Y};
    input.Move({at.x, at.y + 1}).Move(at).Send();
    EXPECT_TRUE(PumpUntil([&] { return s->VertBar->HotPart == r.Part; }, 2000)) << r.Y;
    EXPECT_EQ(Shoot(s->VertBar->Window()).At(kX, r.LookAt), r.Expected) << r.Y;
  }
  // Coordinates are signed: a point above the bar (as under capture) is by the first arrow.
  SendMessageW(s->VertBar->Window(), WM_MOUSEMOVE, 0, MAKELPARAM(kX, -3));
  EXPECT_EQ(s->VertBar->HotPart, 0);
}

TEST_F(SkinScrollTest, ScrollRequestsShowTheirPartUntilTheEndRequest) {
  TListBox* list = nullptr;
  TForm* form = SkinnedForm([&](TForm* f) { list = AddList(f, 60); });
  TSkinScrollbar* s = ScrollSkinner(form, list);
  ASSERT_NE(s, nullptr);
  HWND wnd = list->Handle();
  const int a = GetSystemMetrics(SM_CXHSCROLL);
  struct TRow {
    WPARAM Code;
    int Y;          // where the part shows (from the bottom when negative)
    COLORREF Shown; // the part's hot cell
  };
  const TRow rows[] = {
      {SB_LINEUP, a / 2, Arrow(12)},
      {SB_LINEDOWN, -a / 2, Arrow(16)},
  };
  for (const TRow& r : rows) {
    // The high word carries a position: only the low word is the request.
    SendMessageW(wnd, WM_VSCROLL, MAKEWPARAM(r.Code, 3), 0);
    const TShot hot = Shoot(s->VertBar->Window());
    const int y = r.Y < 0 ? hot.Height + r.Y : r.Y;
    EXPECT_EQ(hot.At(kX, y), r.Shown) << r.Code;
    SendMessageW(wnd, WM_VSCROLL, SB_ENDSCROLL, 0);
    EXPECT_EQ(Shoot(s->VertBar->Window()).At(kX, y), r.Y < 0 ? Arrow(13) : Arrow(9)) << r.Code;
  }
}

TEST_F(SkinScrollTest, ScrollBarControlOverlayFollowsItsPositionAndPassesClicksOn) {
  TScrollBar* bar = nullptr;
  TForm* form = SkinnedForm([&](TForm* f) {
    bar = new TScrollBar(f);
    bar->SetParent(f);
    bar->SetKind(sbVertical);
    bar->SetBounds(20, 20, 17, 200);
    bar->SetMax(100);
    bar->SetPageSize(20);
    bar->SetPosition(60);
  });
  auto* s = dynamic_cast<TSkinScControl*>(Skinner(form->Handle())->FindByControl(bar));
  ASSERT_NE(s, nullptr);
  ASSERT_TRUE(s->Overlay && s->Overlay->Shown);
  HWND overlay = s->Overlay->Window();
  RECT over{}, own{};
  GetWindowRect(overlay, &over);
  GetWindowRect(bar->Handle(), &own);
  EXPECT_TRUE(EqualRect(&over, &own));
  const int a = GetSystemMetrics(SM_CXHSCROLL);
  for (int position : {60, 0, 80}) {
    SCOPED_TRACE(position);
    bar->SetPosition(position);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(bar->Handle(), SB_CTL, &info);
    int start = 0, end = 0;
    ControlThumb(200, a, info, start, end);
    const TShot shot = Shoot(overlay);
    EXPECT_EQ(shot.At(kX, start + 1), Colour(tiVertThumb, 0, cpTop));
    EXPECT_EQ(shot.At(kX, end - 1), Colour(tiVertThumb, 0, cpBottom));
    EXPECT_EQ(shot.At(kX, a / 2), Arrow(9));
    EXPECT_EQ(shot.At(kX, 200 - a / 2), Arrow(13));
  }
  // A click on the second arrow reaches the control's own scrolling.
  TInput input;
  input.Move({(own.left + own.right) / 2, own.bottom - a / 2});
  input.Button(MOUSEEVENTF_LEFTDOWN).Button(MOUSEEVENTF_LEFTUP).Send();
  EXPECT_TRUE(PumpUntil([&] { return bar->Position() == 81; }, 2000));
  EXPECT_EQ(bar->Position(), 81);
}

// ---------------------------------------------------------------------------------------------
// Lifetime

TEST_F(SkinScrollTest, FixedColourIsTheFaceWhileSkinnedAndTheOriginalAfterwards) {
  TFixedListBox* grid = nullptr;
  TForm* form = SkinnedForm([&](TForm* f) { grid = AddList<TFixedListBox>(f, 3); });
  TSkinScrollbar* s = ScrollSkinner(form, grid);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(grid->FixedColor(), static_cast<int>(Data->Colours[scButtonFace]));
  // A new skin recolours it; what is given back is still the colour from before skinning.
  s->RefreshSkin();
  EXPECT_EQ(grid->FixedColor(), static_cast<int>(Data->Colours[scButtonFace]));
  s->Unskin();
  EXPECT_EQ(grid->FixedColor(), 0x123456);
}

TEST_F(SkinScrollTest, RawListOverlaysHiddenWhenTheListIsDestroyed) {
  TForm* form = SkinnedForm([](TForm*) {});
  HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 10, 10,
                              150, 120, form->Handle(), nullptr, nullptr, nullptr);
  for (int i = 0; i < 40; ++i)
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Raw row"));
  auto* s = new TSkinScrollbarH(nullptr);
  s->AttachHandle(list, Data, Skinner(form->Handle()));
  ASSERT_TRUE(s->Attached);
  ASSERT_TRUE(s->VertBar->Shown);
  HWND overlay = s->VertBar->Window();
  EXPECT_TRUE(IsWindowVisible(overlay));
  EXPECT_EQ(Shoot(overlay).At(kX, 3), Arrow(9));
  DestroyWindow(list);
  EXPECT_FALSE(IsWindowVisible(overlay));
  EXPECT_FALSE(s->VertBar->Shown);
  EXPECT_EQ(s->LifeState, 6);
}

TEST_F(SkinScrollTest, ControlMadeAnewGetsANewSkinnerOverItsNewWindow) {
  TMemo* memo = nullptr;
  TForm* form = SkinnedForm([&](TForm* f) {
    memo = new TMemo(f);
    memo->SetParent(f);
    memo->SetBounds(10, 10, 200, 120);
    std::vector<std::string> lines(40, "Line");
    memo->SetLines(lines);
  });
  TWinSkinForm* skinner = Skinner(form->Handle());
  const HWND before = memo->Handle();
  memo->SetScrollBars(ssVertical); // the memo makes its window anew
  ASSERT_NE(memo->Handle(), before);
  Pump(50);
  auto* s = dynamic_cast<TSkinScrollbar*>(skinner->FindByControl(memo));
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Handle, memo->Handle());
  EXPECT_TRUE(s->Active);
  EXPECT_EQ(skinner->FindByHandle(before), nullptr);
  ASSERT_TRUE(s->VertBar && s->VertBar->Shown);
  EXPECT_EQ(Shoot(s->VertBar->Window()).At(kX, 3), Arrow(9));
}

TEST_F(SkinScrollTest, FiftySkinAndUnskinCyclesLeaveNoHandlesBehind) {
  TForm* form = SkinnedForm([](TForm*) {});
  TWinSkinForm* skinner = Skinner(form->Handle());
  ASSERT_NE(skinner, nullptr);
  auto children = [&] {
    int n = 0;
    for (HWND c = GetTopWindow(form->Handle()); c; c = GetWindow(c, GW_HWNDNEXT))
      ++n;
    return n;
  };
  auto cycle = [&] {
    TListBox* list = AddList(form, 40);
    auto* view = new TListView(form);
    view->SetParent(form);
    view->SetBounds(170, 10, 200, 120);
    view->SetViewStyle(vsReport);
    view->SetColumns({{"Name", 60}, {"", 50}});
    skinner->ClassifyControl(list, form);
    skinner->ClassifyControl(view, form);
    TSkinControl* s = skinner->FindByControl(list);
    EXPECT_NE(s, nullptr);
    UpdateWindow(form->Handle());
    if (s) {
      s->Unskin();
      TSkinControl::Free(s);
    }
    delete view;
    delete list;
  };
  for (int i = 0; i < 5; ++i)
    cycle();
  Pump(20);
  const long before = GdiCount::Count();
  const int windows = children();
  const size_t skinners = skinner->Controls().size();
  for (int i = 0; i < 50; ++i)
    cycle();
  Pump(20);
  ASSERT_GE(before, 0L);
  EXPECT_LE(GdiCount::Count() - before, 2L);
  EXPECT_EQ(children(), windows);
  EXPECT_EQ(skinner->Controls().size(), skinners);
}

// ---------------------------------------------------------------------------------------------
// Headers

TEST_F(SkinScrollTest, ListViewHeaderPaintedFromTheSkinWithItsHotItem) {
  TListView* view = nullptr;
  const std::string longText(300, 'W');
  TForm* form = SkinnedForm([&](TForm* f) {
    view = new TListView(f);
    view->SetParent(f);
    view->SetBounds(10, 10, 360, 200);
    view->SetViewStyle(vsReport);
    view->SetColumns({{longText, 80}, {"", 60}});
    view->SetItems({"one|1", "two|2"});
  });
  auto* s = dynamic_cast<TSkinListView*>(Skinner(form->Handle())->FindByControl(view));
  ASSERT_NE(s, nullptr);
  ASSERT_NE(s->Header, nullptr);
  HWND header = s->Header->Handle;
  // The text is read into a buffer of 201 characters, cut and terminated.
  EXPECT_EQ(s->Header->ItemText(0), std::wstring(200, L'W'));
  RECT second{};
  SendMessageW(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
  RedrawWindow(header, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  TShot shot = Shoot(header);
  const int y = shot.Height / 2, mid = (second.left + second.right) / 2;
  EXPECT_EQ(shot.At(mid, y), Colour(tiHeader, 0));
  EXPECT_EQ(shot.At(shot.Width - 8, y), Colour(tiHeader, 0)) << "the strip past the items";
  EXPECT_EQ(shot.At(shot.Width - 8, shot.Height - 1), Colour(tiHeader, 0, cpBottom));

  RECT hr{};
  GetWindowRect(header, &hr);
  TInput input;
  input.Move({hr.left + mid, hr.top + y}).Move({hr.left + mid + 1, hr.top + y}).Send();
  EXPECT_TRUE(PumpUntil([&] { return s->Header->HotItem == 1; }, 2000));
  EXPECT_EQ(Shoot(header).At(mid, y), Colour(tiHeader, 1));
  input.Move({hr.left + mid, hr.bottom + 80}).Send();
  EXPECT_TRUE(PumpUntil([&] { return s->Header->HotItem == -1; }, 2000));
  EXPECT_EQ(Shoot(header).At(mid, y), Colour(tiHeader, 0));
}

// ---------------------------------------------------------------------------------------------
// The drop-down list of a combo box

HWND gDragList = nullptr;
HWND gDragCombo = nullptr;
int gDragAction = 0; // 0 capture taken away, 1 quit requested, 2 the combo destroyed

void CALLBACK DragInterrupt(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  switch (gDragAction) {
  case 0:
    ReleaseCapture();
    break;
  case 1:
    PostQuitMessage(7);
    break;
  case 2:
    DestroyWindow(gDragCombo);
    break;
  }
}

class ComboListTest : public SkinScrollTest {
protected:
  // A drop-down list combo with 40 rows on a skinned form, its list skinned and dropped down.
  TComboxScrollBar* Dropped(TForm*& form, HWND& combo, HWND& list) {
    form = SkinnedForm([](TForm*) {});
    combo =
        CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST,
                        10, 10, 150, 200, form->Handle(), nullptr, nullptr, nullptr);
    for (int i = 0; i < 40; ++i)
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Combo row"));
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(combo, &info);
    list = info.hwndList;
    auto* s = new TComboxScrollBar(nullptr);
    s->AttachHandle(list, Data, Skinner(form->Handle()));
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    Pump(50);
    return s;
  }
};

TEST_F(ComboListTest, ListKindIsToldByItsParentNotByAFixedHandle) {
  TForm* form = SkinnedForm([](TForm*) {});
  struct TRow {
    DWORD Style;
    bool Child;
  };
  const TRow rows[] = {{CBS_SIMPLE, true}, {CBS_DROPDOWNLIST, false}, {CBS_DROPDOWN, false}};
  for (const TRow& r : rows) {
    HWND combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | r.Style, 10, 10, 150,
                                 120, form->Handle(), nullptr, nullptr, nullptr);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    EXPECT_EQ(IsChildListWindow(info.hwndList), r.Child) << r.Style;
    DestroyWindow(combo);
  }
  EXPECT_FALSE(IsChildListWindow(nullptr));
}

TEST_F(ComboListTest, DroppedListShowsTheSkinnedBarAndItsThumbDragsToTheLastPage) {
  TForm* form = nullptr;
  HWND combo = nullptr, list = nullptr;
  Dropped(form, combo, list);
  ASSERT_TRUE(IsWindowVisible(list));
  const SCROLLBARINFO bar = BarInfo(list, OBJID_VSCROLL);
  RECT window{};
  GetWindowRect(list, &window);
  const TShot shot = Shoot(list, false);
  const int x = bar.rcScrollBar.left - window.left + kX;
  const int top = bar.rcScrollBar.top - window.top;
  const int length = bar.rcScrollBar.bottom - bar.rcScrollBar.top;
  EXPECT_EQ(shot.At(x, top + 3), Arrow(9));
  EXPECT_EQ(shot.At(x, top + length - 3), Arrow(13));
  EXPECT_EQ(shot.At(x, top + bar.xyThumbTop + 1), Colour(tiVertThumb, 0, cpTop));

  // Pressed on the thumb and released far below: the last page.
  const POINT grab{(bar.rcScrollBar.left + bar.rcScrollBar.right) / 2,
                   bar.rcScrollBar.top + (bar.xyThumbTop + bar.xyThumbBottom) / 2};
  SetCursorPos(grab.x, grab.y);
  TInput input;
  input.Move({grab.x, grab.y + 100}).Move({grab.x, grab.y + 400}).Button(MOUSEEVENTF_LEFTUP);
  input.Send();
  SendMessageW(list, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(grab.x, grab.y));
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(list, SB_VERT, &info);
  EXPECT_EQ(info.nPos, info.nMax - static_cast<int>(info.nPage) + 1);
  EXPECT_NE(GetCapture(), list);
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
  DestroyWindow(combo);
}

TEST_F(ComboListTest, ThumbDragEndsWhenCaptureIsLostQuitIsAskedOrTheListGoes) {
  struct TRow {
    const char* Name;
    int Action;
  };
  const TRow rows[] = {{"capture lost", 0}, {"quit", 1}, {"list destroyed", 2}};
  for (const TRow& r : rows) {
    SCOPED_TRACE(r.Name);
    TForm* form = nullptr;
    HWND combo = nullptr, list = nullptr;
    Dropped(form, combo, list);
    const SCROLLBARINFO bar = BarInfo(list, OBJID_VSCROLL);
    const POINT grab{(bar.rcScrollBar.left + bar.rcScrollBar.right) / 2,
                     bar.rcScrollBar.top + (bar.xyThumbTop + bar.xyThumbBottom) / 2};
    SetCursorPos(grab.x, grab.y);
    gDragList = list;
    gDragCombo = combo;
    gDragAction = r.Action;
    SetTimer(nullptr, 0, 80, DragInterrupt);
    SendMessageW(list, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(grab.x, grab.y));
    if (r.Action == 1) {
      MSG m{};
      EXPECT_TRUE(PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
      EXPECT_EQ(m.wParam, 7u);
    }
    if (IsWindow(combo)) {
      EXPECT_NE(GetCapture(), list);
      SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
      DestroyWindow(combo);
    }
  }
}

} // namespace
