// Bit buttons, speed buttons and menu buttons of skinned windows with the test skin: the glyph
// layout, glyph slices and the engraved disabled glyph, speed-button cells read back from the
// screen, clicks through the real windows, giving speed buttons back, and many skinners made and
// freed.
#include "SkinButtons.h"
#include "SkinManage.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

#include "Buttons.h"
#include "Forms.h"
#include "GdiCount.h"
#include "SkinTestSupport.h"
#include "StdCtrls.h"
#include "TestSkin.h"

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>
#include <vector>

namespace {

using namespace TestSkin;

COLORREF ButtonCell(int cell) {
  return Colour(tiButtons, cell - 1, cpCentre);
}

constexpr COLORREF kKey = RGB(255, 0, 255);
// Slice colours of the test glyphs: normal, disabled, down, Down.
const COLORREF kSlices[] = {RGB(0, 160, 0), RGB(120, 0, 0), RGB(0, 0, 160), RGB(160, 160, 0)};

// A strip of `slices` solid 16 x 16 glyphs in the colours above; every bottom-left pixel is the
// key, and so is the top-left one (transparent, the face shows through).
TBitmap SolidGlyph(int slices) {
  TBitmap glyph(16 * slices, 16);
  for (int i = 0; i < slices; ++i)
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const bool key = x == 0 && (y == 0 || y == 15);
        const COLORREF c = key ? kKey : kSlices[i];
        uint8_t* px = glyph.ScanLine(y) + 3 * (16 * i + x);
        px[0] = GetBValue(c);
        px[1] = GetGValue(c);
        px[2] = GetRValue(c);
      }
  return glyph;
}

// The screen pixel at a point of a control (its own coordinates).
COLORREF ScreenPixel(const TControl* control, int x, int y) {
  const POINT p = control->ClientToScreen({x, y});
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  return c;
}

// The text size a painter measures for caption in an area `width` wide with the control's font.
SIZE MeasuredText(TControl* control, const char* caption, int width, int height) {
  HDC dc = GetDC(nullptr);
  const TSelectObject font(dc, control->Font.Handle());
  RECT r{0, 0, width, height};
  std::wstring text;
  for (const char* c = caption; *c; ++c)
    text += static_cast<wchar_t>(*c);
  DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK);
  ReleaseDC(nullptr, dc);
  return {r.right - r.left, r.bottom - r.top};
}

// A control's pixels as the screen shows them (its own coordinates), read in one go.
struct TShot {
  int Width = 0, Height = 0;
  std::vector<COLORREF> Pixels;
  COLORREF At(int x, int y) const { return Pixels[static_cast<size_t>(y * Width + x)]; }
};

TShot Shoot(const TControl* control) {
  TShot shot;
  shot.Width = control->Width();
  shot.Height = control->Height();
  const POINT origin = control->ClientToScreen({0, 0});
  HDC screen = GetDC(nullptr);
  TBitmap copy(shot.Width, shot.Height);
  BitBlt(copy.CanvasHandle(), 0, 0, shot.Width, shot.Height, screen, origin.x, origin.y, SRCCOPY);
  ReleaseDC(nullptr, screen);
  for (int y = 0; y < shot.Height; ++y)
    for (int x = 0; x < shot.Width; ++x) {
      const uint8_t* px = copy.ScanLine(y) + 3 * x;
      shot.Pixels.push_back(RGB(px[2], px[1], px[0]));
    }
  return shot;
}

// The first x in row y of the control whose screen pixel is `colour`; -1 when none.
int FirstX(const TControl* control, int y, COLORREF colour) {
  const TShot shot = Shoot(control);
  for (int x = 0; x < shot.Width; ++x)
    if (shot.At(x, y) == colour) return x;
  return -1;
}

int gClicks = 0;
void CountClick(TObject*) {
  ++gClicks;
}

class SkinButtonsTest : public ::testing::Test {
protected:
  void SetUp() override {
    App();
    SetCursorPos(2, 2);
    TSkinManage::DestroyManager();
    Host = new TForm(&App());
    Data = LoadTestSkinData(Host);
    ASSERT_TRUE(Data->SkinLoaded());
    gClicks = 0;
  }
  void TearDown() override {
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
    form->SetCaption("Buttons");
    form->SetBounds(140, 110, 420, 300);
    fill(form);
    form->Show();
    SetForegroundWindow(form->Handle());
    EXPECT_TRUE(PumpUntil(
        [&] { return Skinner(form->Handle()) && Skinner(form->Handle())->Started(); }, 2000));
    Pump(50);
    return form;
  }
  template <class C>
  C* Add(TForm* form, const char* caption, int x, int y, int w = 100, int h = 30) {
    auto* c = new C(form);
    c->SetParent(form);
    c->SetBounds(x, y, w, h);
    c->SetCaption(caption);
    return c;
  }
  TWinSkinForm* Skinner(HWND wnd) {
    TSkinManage* manager = TSkinManage::Manager();
    return manager ? manager->FindSkinner(wnd) : nullptr;
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
// Layout

TEST(GlyphLayout, MarginSpacingAndPositionsByLayout) {
  struct TRow {
    const char* Name;
    TGlyphLayoutInput In;
    int Margin, Spacing, GlyphMain, TextMain;
    UINT Format;
  };
  auto in = [](int margin, int spacing, int layout, bool speed = false, bool centre = false,
               SIZE text = {40, 14}) {
    TGlyphLayoutInput i;
    i.Client = {100, 60};
    i.Glyph = {16, 16};
    i.Text = text;
    i.Margin = margin;
    i.Spacing = spacing;
    i.Layout = layout;
    i.Speed = speed;
    i.AlignCentre = centre;
    return i;
  };
  const TRow rows[] = {
      {"auto left", in(-1, -1, 0), 14, 14, 14, 44, DT_WORDBREAK},
      {"auto right", in(-1, -1, 1), 14, 14, 70, 16, DT_WORDBREAK | DT_RIGHT},
      {"bit spacing 4", in(-1, 4, 0), 20, 4, 20, 40, DT_WORDBREAK},
      {"speed spacing 4", in(-1, 4, 0, true), 21, 4, 21, 41, DT_WORDBREAK},
      {"margin 5 auto spacing", in(5, -1, 0), 5, 19, 5, 40, DT_WORDBREAK},
      {"centre alignment wins over margin", in(5, 4, 0, false, true), 20, 4, 20, 40, DT_WORDBREAK},
      {"speed ignores alignment", in(5, 4, 0, true, true), 5, 4, 5, 25, DT_WORDBREAK},
      {"no caption: no spacing", in(-1, 8, 0, false, false, {0, 0}), 42, 0, 42, 58, DT_WORDBREAK},
      // top/bottom: main axis y (60): (60 - 16 - 14) div 3 = 10
      {"auto top", in(-1, -1, 2), 10, 10, 10, 36, DT_WORDBREAK | DT_CENTER},
      {"auto bottom", in(-1, -1, 3), 10, 10, 34, 10, DT_WORDBREAK | DT_CENTER},
      {"unknown layout as left", in(-1, -1, 7), 14, 14, 14, 44, DT_WORDBREAK},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const TGlyphPlacement p = PlaceGlyph(row.In);
    EXPECT_EQ(p.Margin, row.Margin);
    EXPECT_EQ(p.Spacing, row.Spacing);
    const bool across = row.In.Layout != 2 && row.In.Layout != 3;
    EXPECT_EQ(across ? p.Glyph.x : p.Glyph.y, row.GlyphMain);
    EXPECT_EQ(across ? p.Text.x : p.Text.y, row.TextMain);
    EXPECT_EQ(p.Format, row.Format);
    // Cross axis centred.
    if (across) {
      EXPECT_EQ(p.Glyph.y, (60 - 16 + 1) / 2);
    } else {
      EXPECT_EQ(p.Glyph.x, (100 - 16 + 1) / 2);
    }
  }
}

TEST(GlyphLayout, MenuArrowStaysInsideTheButton) {
  struct TRow {
    int Margin, Spacing, ExpectMargin, ExpectSpacing;
  };
  // Client 100 x 24, glyph 16 wide, caption 40 wide, arrow 8.
  const TRow rows[] = {{-1, -1, 9, 9}, {-1, 4, 14, 4}, {4, -1, 4, 9}, {4, 4, 4, 4}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(testing::Message() << row.Margin << "/" << row.Spacing);
    const TMenuPlacement p = PlaceMenuGlyph({100, 24}, {16, 16}, {40, 14}, row.Margin, row.Spacing);
    EXPECT_EQ(p.Margin, row.ExpectMargin);
    EXPECT_EQ(p.Spacing, row.ExpectSpacing);
    EXPECT_EQ(p.Text.x, p.Margin + 16 + p.Spacing);
    EXPECT_EQ(p.Arrow.x, p.Text.x + 40 + 2 * p.Spacing);
    EXPECT_EQ(p.Arrow.y, (24 - 3) / 2);
    EXPECT_GT(p.Arrow.x - 3, p.Text.x + 40 - 1); // after the caption
    EXPECT_LT(p.Arrow.x + 3, 100);               // inside the button
  }
}

// ---------------------------------------------------------------------------------------------
// Glyph slices into memory

TEST(GlyphDrawing, SliceChoiceTransparencyAndEngravedSingleSlice) {
  struct TRow {
    int Slices, Strip, Slice;
    COLORREF Expect; // at (8, 8) of the glyph
  };
  const TRow rows[] = {
      {3, 3, 1, kSlices[0]}, {3, 3, 2, kSlices[1]},
      {3, 3, 3, kSlices[2]}, {3, 3, 5, kSlices[0]}, // beyond the count: the first slice
      {4, 4, 4, kSlices[3]}, {1, 1, 1, kSlices[0]},
      {0, 1, 1, kSlices[0]}, // no slice count: the whole strip, no division by zero
  };
  const COLORREF ground = RGB(1, 2, 3);
  for (const TRow& row : rows) {
    SCOPED_TRACE(testing::Message() << row.Slices << " slices, slice " << row.Slice);
    TBitmap target(32, 32);
    HDC dc = target.CanvasHandle();
    const TBrushHandle brush(CreateSolidBrush(ground));
    const RECT all{0, 0, 32, 32};
    FillRect(dc, &all, brush.Get());
    TBitmap glyph = SolidGlyph(row.Strip);
    DrawGlyph(dc, {4, 4}, row.Slices, row.Slice, glyph);
    EXPECT_EQ(GetPixel(dc, 4 + 8, 4 + 8), row.Expect);
    EXPECT_EQ(GetPixel(dc, 4, 4), ground);      // key pixel: transparent
    EXPECT_EQ(GetPixel(dc, 4 + 16, 4), ground); // one slice wide only
  }

  // Slice 2 of a one-slice glyph: the shape (an 8 x 8 block at the top left) in the shadow
  // colour with a highlight edge one pixel right and down, never its own colour; the rest is
  // transparent.
  TBitmap target(32, 32);
  HDC dc = target.CanvasHandle();
  const TBrushHandle brush(CreateSolidBrush(ground));
  const RECT all{0, 0, 32, 32};
  FillRect(dc, &all, brush.Get());
  TBitmap glyph(16, 16);
  HDC g = glyph.CanvasHandle();
  const TBrushHandle key(CreateSolidBrush(kKey)), shape(CreateSolidBrush(kSlices[0]));
  const RECT whole{0, 0, 16, 16}, block{0, 0, 8, 8};
  FillRect(g, &whole, key.Get());
  FillRect(g, &block, shape.Get());
  glyph.ReleaseCanvas();
  DrawGlyph(dc, {4, 4}, 1, 2, glyph);
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  EXPECT_EQ(GetPixel(dc, 4 + 3, 4 + 3), shadow);
  EXPECT_EQ(GetPixel(dc, 4 + 8, 4 + 4), highlight);
  EXPECT_EQ(GetPixel(dc, 4 + 4, 4 + 8), highlight);
  EXPECT_EQ(GetPixel(dc, 4 + 12, 4 + 12), ground);
  int own = 0;
  for (int y = 4; y < 21; ++y)
    for (int x = 4; x < 21; ++x)
      own += GetPixel(dc, x, y) == kSlices[0];
  EXPECT_EQ(own, 0);
}

// ---------------------------------------------------------------------------------------------
// Bit buttons on the screen

TEST_F(SkinButtonsTest, BitButtonGlyphAtItsPlaceInEachStateSlice) {
  TButton* focus = nullptr;
  TBitBtn *bit = nullptr, *single = nullptr;
  SkinnedForm([&](TForm* f) {
    focus = Add<TButton>(f, "Focus", 10, 10);
    bit = Add<TBitBtn>(f, "OK", 10, 60, 100, 30);
    bit->SetGlyph(SolidGlyph(3));
    bit->SetNumGlyphs(3);
    bit->SetMargin(-1);
    bit->SetSpacing(-1);
    bit->OnClick = CountClick;
    single = Add<TBitBtn>(f, "Off", 120, 60, 100, 30);
    single->SetGlyph(SolidGlyph(1));
    single->SetEnabled(false);
  });
  focus->SetFocus();
  Pump(30);
  // Margin = Spacing = (C - G - S) div 3 along x, glyph centred across.
  const SIZE s = MeasuredText(bit, "OK", 100 - 4 - 18, 30 - 4);
  const int glyphX = (100 - 16 - s.cx) / 3;
  const int glyphY = (30 - 16 + 1) / 2;
  struct TRow {
    const char* Name;
    std::function<void()> Enter;
    COLORREF Slice;
    int Cell;
  };
  HWND wnd = bit->Handle();
  const TRow rows[] = {
      {"normal", [] {}, kSlices[0], 1},
      {"down", [&] { SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); }, kSlices[2],
       2},
      {"released", [&] { SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5)); }, kSlices[0], 5},
      {"disabled",
       [&] {
         focus->SetFocus();
         bit->SetEnabled(false);
       },
       kSlices[1], 3},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    row.Enter();
    Settle();
    EXPECT_EQ(ScreenPixel(bit, 7, 3 + 1), ButtonCell(row.Cell)); // face left of the glyph
    EXPECT_EQ(FirstX(bit, glyphY + 8, row.Slice), glyphX);
    EXPECT_EQ(ScreenPixel(bit, glyphX + 8, glyphY + 15), row.Slice);
    EXPECT_EQ(ScreenPixel(bit, glyphX, glyphY + 15), ButtonCell(row.Cell)); // key: transparent
  }
  EXPECT_EQ(gClicks, 1); // the release after the press clicked once

  // One slice, disabled: engraved grey, none of the glyph's own colour.
  // Its own Spacing (4) with Margin -1: centred, (C - (G + 4 + S)) div 2.
  const SIZE s2 = MeasuredText(single, "Off", 100 - 4 - 18, 30 - 4);
  const int x2 = (100 - (16 + 4 + s2.cx)) / 2;
  int own = 0, shadow = 0;
  const TShot shot = Shoot(single);
  for (int y = glyphY; y < glyphY + 16; ++y)
    for (int x = x2; x < x2 + 16; ++x) {
      const COLORREF c = shot.At(x, y);
      own += c == kSlices[0];
      shadow += c == GetSysColor(COLOR_BTNSHADOW);
    }
  EXPECT_EQ(own, 0);
  EXPECT_GT(shadow, 150);
}

// The rows of a control that hold caption pixels (the test skin's text colours have green 250).
int TextRows(const TControl* control) {
  const TShot shot = Shoot(control);
  int rows = 0;
  for (int y = 0; y < shot.Height; ++y)
    for (int x = 0; x < shot.Width; ++x)
      if (GetGValue(shot.At(x, y)) > 200) {
        ++rows;
        break;
      }
  return rows;
}

TEST_F(SkinButtonsTest, BitButtonCaptionBreaksAtItsFirstDoubleBar) {
  TButton* focus = nullptr;
  TBitBtn *one = nullptr, *two = nullptr, *three = nullptr;
  SkinnedForm([&](TForm* f) {
    focus = Add<TButton>(f, "Focus", 10, 10);
    one = Add<TBitBtn>(f, "One  Two", 10, 60, 120, 60);
    two = Add<TBitBtn>(f, "One||Two", 140, 60, 120, 60);
    three = Add<TBitBtn>(f, "A||B||C", 270, 60, 120, 60);
  });
  focus->SetFocus();
  Pump(30);
  Settle();
  const int single = TextRows(one);
  ASSERT_GT(single, 4);
  EXPECT_GT(TextRows(two), single * 3 / 2);
  // Only the first "||" breaks: two lines, the second one reading "B||C".
  EXPECT_GT(TextRows(three), single * 3 / 2);
  EXPECT_LT(TextRows(three), single * 5 / 2);
}

// ---------------------------------------------------------------------------------------------
// Speed buttons

TEST_F(SkinButtonsTest, SpeedButtonCellsAndSlicesByState) {
  TSpeedButton *speed = nullptr, *flat = nullptr;
  TForm* form = SkinnedForm([&](TForm* f) {
    speed = Add<TSpeedButton>(f, "", 10, 60, 60, 30);
    speed->SetGlyph(SolidGlyph(4));
    speed->SetNumGlyphs(4);
    speed->SetGroupIndex(1);
    speed->SetAllowAllUp(true);
    flat = Add<TSpeedButton>(f, "Flat", 80, 60, 60, 30);
    flat->SetFlat(true);
  });
  TWinSkinForm* skinner = Skinner(form->Handle());
  ASSERT_NE(skinner, nullptr);
  ASSERT_NE(skinner->FindByControl(speed), nullptr);
  ASSERT_NE(skinner->FindByControl(flat), nullptr);
  // The glyph alone (no caption, so no spacing): Margin = (60 - 16) div 2 + 1, centred across.
  const POINT g{(60 - 16) / 2 + 1 + 8, (30 - 16 + 1) / 2 + 8};
  struct TRow {
    const char* Name;
    TSpeedButton* Button;
    std::function<void(TSpeedButton*)> Enter;
    COLORREF Face; // at (7, 4)
    COLORREF Glyph;
  };
  const COLORREF face = Data->Colours[scButtonFace];
  const TRow rows[] = {
      {"normal", speed, [](TSpeedButton*) {}, ButtonCell(1), kSlices[0]},
      {"hot", speed, [](TSpeedButton* b) { b->Perform(CM_MOUSEENTER); }, ButtonCell(4), kSlices[0]},
      {"pressed", speed,
       [](TSpeedButton* b) { b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4)); },
       ButtonCell(2), kSlices[2]},
      {"Down after the click", speed,
       [](TSpeedButton* b) {
         b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
         b->Perform(CM_MOUSELEAVE);
       },
       ButtonCell(2), kSlices[3]},
      {"up again", speed, [](TSpeedButton* b) { b->SetDown(false); }, ButtonCell(1), kSlices[0]},
      {"disabled", speed, [](TSpeedButton* b) { b->SetEnabled(false); }, ButtonCell(3), kSlices[1]},
      {"flat normal", flat, [](TSpeedButton*) {}, ColorToRGB(face), 0},
      {"flat hot", flat, [](TSpeedButton* b) { b->Perform(CM_MOUSEENTER); }, ButtonCell(4), 0},
      {"flat left", flat, [](TSpeedButton* b) { b->Perform(CM_MOUSELEAVE); }, ColorToRGB(face), 0},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    row.Enter(row.Button);
    Pump(20);
    Settle();
    EXPECT_EQ(ScreenPixel(row.Button, 7, 4), row.Face);
    if (row.Glyph) {
      EXPECT_EQ(ScreenPixel(row.Button, g.x, g.y), row.Glyph);
    }
  }
  EXPECT_EQ(gClicks, 0); // no OnClick was set; the group click made it Down
}

TEST_F(SkinButtonsTest, PostedClickOnSkinnedSpeedButtonRunsOnClickOnce) {
  TSpeedButton* speed = nullptr;
  TForm* form = SkinnedForm([&](TForm* f) {
    speed = Add<TSpeedButton>(f, "Go", 40, 60, 60, 30);
    speed->OnClick = CountClick;
  });
  ASSERT_NE(Skinner(form->Handle())->FindByControl(speed), nullptr);
  HWND wnd = form->Handle();
  const LPARAM at = MAKELPARAM(40 + 10, 60 + 10); // client coordinates of the form
  const POINT screen = speed->ClientToScreen({10, 10});
  SetCursorPos(screen.x, screen.y); // the pointer over the button, as for a real click
  PostMessageW(wnd, WM_MOUSEMOVE, 0, at);
  PostMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  Pump(30);
  Settle();
  EXPECT_EQ(ScreenPixel(speed, 7, 4), ButtonCell(2));
  EXPECT_EQ(gClicks, 0);
  PostMessageW(wnd, WM_LBUTTONUP, 0, at);
  Pump(30);
  Settle();
  EXPECT_EQ(gClicks, 1);
  EXPECT_EQ(ScreenPixel(speed, 7, 4), ButtonCell(4)); // released, the pointer still over it
}

TEST_F(SkinButtonsTest, UnskinAndReleaseGiveTheSpeedButtonItsHandlerAndLookBack) {
  TSpeedButton *speed = nullptr, *released = nullptr;
  const std::type_info* own = nullptr;
  TForm* form = SkinnedForm([&](TForm* f) {
    speed = Add<TSpeedButton>(f, "Back", 10, 60, 60, 30);
    released = Add<TSpeedButton>(f, "Rel", 80, 60, 60, 30);
    own = &speed->WindowProc.target_type();
  });
  TWinSkinForm* skinner = Skinner(form->Handle());
  ASSERT_NE(skinner, nullptr);
  ASSERT_NE(skinner->FindByControl(speed), nullptr);
  EXPECT_NE(speed->WindowProc.target_type(), *own);
  EXPECT_EQ(speed->Perform(SKM_QUERY), 1);
  EXPECT_EQ(ScreenPixel(speed, 7, 4), ButtonCell(1));

  // The release notice gives the handler back while the skinner stays in the list.
  released->Perform(CM_RELEASE);
  EXPECT_EQ(released->WindowProc.target_type(), *own);
  EXPECT_NE(skinner->FindByControl(released), nullptr);

  SwitchActive(false);
  EXPECT_EQ(speed->WindowProc.target_type(), *own);
  EXPECT_NE(speed->Perform(SKM_QUERY), 1);
  Settle();
  EXPECT_NE(ScreenPixel(speed, 7, 4), ButtonCell(1)); // its own raised look
}

TEST_F(SkinButtonsTest, WindowedControlSkinnedAsSpeedButtonIsValidatedByItsPaint) {
  Data->SetSkin3rd({"TButton=speedbutton"});
  TButton* button = nullptr;
  TForm* form = SkinnedForm([&](TForm* f) { button = Add<TButton>(f, "Win", 10, 60, 80, 30); });
  ASSERT_NE(Skinner(form->Handle())->FindByControl(button), nullptr);
  InvalidateRect(button->Handle(), nullptr, TRUE);
  Pump(30);
  Settle();
  RECT pending{};
  EXPECT_FALSE(GetUpdateRect(button->Handle(), &pending, FALSE));
  EXPECT_EQ(ScreenPixel(button, 7, 4), ButtonCell(1));
}

// ---------------------------------------------------------------------------------------------
// Menu buttons

TEST_F(SkinButtonsTest, MenuButtonDrawsItsArrowAfterTheCaption) {
  Data->SetSkin3rd({"TButton=menubtn"});
  TButton *focus = nullptr, *menu = nullptr;
  SkinnedForm([&](TForm* f) {
    focus = Add<TButton>(f, "Focus", 10, 10);
    menu = Add<TButton>(f, "Menu", 10, 60, 100, 24);
  });
  focus->SetFocus();
  Pump(30);
  const SIZE s = MeasuredText(menu, "Menu", 100 - kMenuArrow.cx - 4, 24 - 4);
  const TMenuPlacement p = PlaceMenuGlyph({100, 24}, {0, 0}, s, -1, -1);
  Settle();
  const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
  EXPECT_EQ(ScreenPixel(menu, p.Arrow.x, p.Arrow.y), ink);
  EXPECT_EQ(ScreenPixel(menu, p.Arrow.x, p.Arrow.y - 1), ink);
  EXPECT_NE(ScreenPixel(menu, p.Arrow.x + 5, p.Arrow.y), ink); // the arrow is 7 pixels wide
  EXPECT_EQ(ScreenPixel(menu, 7, 4), ButtonCell(1));
}

// ---------------------------------------------------------------------------------------------
// Many skinners

TEST_F(SkinButtonsTest, ManyGlyphButtonsSkinnedAndDestroyedLeaveNoGdiObjects) {
  TForm* form = SkinnedForm([](TForm*) {});
  TWinSkinForm* skinner = Skinner(form->Handle());
  ASSERT_NE(skinner, nullptr);
  const size_t start = skinner->Controls().size();
  auto cycle = [&] {
    auto* bit = Add<TBitBtn>(form, "Bit", 10, 10);
    bit->SetGlyph(SolidGlyph(1));
    bit->SetEnabled(false);
    auto* speed = Add<TSpeedButton>(form, "Speed", 10, 60, 60, 30);
    speed->SetGlyph(SolidGlyph(4));
    speed->SetNumGlyphs(4);
    skinner->ClassifyControl(bit, form);
    skinner->ClassifyControl(speed, form);
    EXPECT_EQ(skinner->Controls().size(), start + 2);
    UpdateWindow(form->Handle());
    UpdateWindow(bit->Handle());
    speed->Perform(CM_MOUSEENTER);
    delete speed;
    delete bit;
    EXPECT_EQ(skinner->Controls().size(), start);
  };
  for (int i = 0; i < 5; ++i)
    cycle();
  Pump(20);
  const long before = GdiCount::Count();
  for (int i = 0; i < 50; ++i)
    cycle();
  Pump(20);
  const long after = GdiCount::Count();
  ASSERT_GE(before, 0L);
  EXPECT_LE(after - before, 2L) << before << " -> " << after;
}

} // namespace
