// Skin strip drawing into memory device contexts under the real GDI: chosen pixels of
// nine-sliced, tiled and stretched cells, bars, centred cells, the transparent key colour,
// regions cut from images, the parent background and the shared scratch. Damaged skin input
// (cell counts, indexes, margins, sizes) and GDI object leaks are checked as well.
#include "SkinDraw.h"

#include "Forms.h"
#include "TestSupport.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

bool operator==(const RECT& a, const RECT& b) {
  return EqualRect(&a, &b) != 0;
}
void PrintTo(const RECT& r, std::ostream* os) {
  *os << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}

namespace {

bool IsEmpty(const RECT& r) {
  return r.right <= r.left || r.bottom <= r.top;
}

using Color = std::int32_t; // packed RGB, red in the low byte

constexpr Color Rgb(int r, int g, int b) {
  return r | (g << 8) | (b << 16);
}
constexpr Color kMagenta = Rgb(255, 0, 255);
constexpr Color kBack = Rgb(0x12, 0x34, 0x56); // what a target holds before drawing

int Bytes(const TBitmap& bmp) {
  return bmp.PixelFormat() == pf32bit ? 4 : 3;
}

Color PixelAt(const TBitmap& bmp, int x, int y) {
  const std::uint8_t* p = bmp.ScanLine(y) + x * Bytes(bmp);
  return Rgb(p[2], p[1], p[0]);
}

void SetPixelAt(TBitmap& bmp, int x, int y, Color c) {
  std::uint8_t* p = bmp.ScanLine(y) + x * Bytes(bmp);
  p[0] = static_cast<std::uint8_t>(c >> 16);
  p[1] = static_cast<std::uint8_t>(c >> 8);
  p[2] = static_cast<std::uint8_t>(c);
}

TBitmap Filled(int w, int h, TPixelFormat format, Color c) {
  TBitmap bmp(w, h, format);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      SetPixelAt(bmp, x, y, c);
  return bmp;
}

// A strip of `cells` cells of cw x ch pixels; pixel (x, y) of cell k (from 1) is f(k, x, y).
TBitmap Strip(int cells, int cw, int ch, bool vertical,
              const std::function<Color(int, int, int)>& f) {
  TBitmap bmp(vertical ? cw : cw * cells, vertical ? ch * cells : ch, pf24bit);
  for (int k = 1; k <= cells; ++k)
    for (int y = 0; y < ch; ++y)
      for (int x = 0; x < cw; ++x)
        SetPixelAt(bmp, vertical ? x : cw * (k - 1) + x, vertical ? ch * (k - 1) + y : y,
                   f(k, x, y));
  return bmp;
}

// Nine parts of a cell with margin m: 0 1 2 / 3 4 5 / 6 7 8 (corners, edges, centre 4).
enum { TL, T, TR, L, C, R, BL, B, BR };
int PartOf(int x, int y, int w, int h, int m) {
  const int col = x < m ? 0 : x >= w - m ? 2 : 1;
  const int row = y < m ? 0 : y >= h - m ? 2 : 1;
  return row * 3 + col;
}
// Every part of every cell has its own solid colour; green carries the cell.
constexpr Color PartColor(int cell, int part) {
  return Rgb(16 + part * 24, 32 + cell * 40, 0x60);
}
int CellOf(Color c) {
  return (((c >> 8) & 0xFF) - 32) / 40;
}

TBitmap NineStrip(int cells, int cw, int ch, int m, bool vertical = false) {
  return Strip(cells, cw, ch, vertical,
               [=](int k, int x, int y) { return PartColor(k, PartOf(x, y, cw, ch, m)); });
}

RECT Margins(int m) {
  return RECT{m, m, m, m};
}

// Live GDI objects of the process: the system's count where it keeps one, otherwise measured
// as the room left in the process's handle table (regions are made until none can be made).
long GdiObjectsInUse() {
  if (const DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return n;
  std::vector<HRGN> made;
  made.reserve(70000);
  while (made.size() < 200000) {
    HRGN r = CreateRectRgn(0, 0, 1, 1);
    if (!r) break;
    made.push_back(r);
  }
  for (HRGN r : made)
    DeleteObject(r);
  return 200000 - static_cast<long>(made.size());
}

class TargetFormat : public ::testing::TestWithParam<TPixelFormat> {
protected:
  TBitmap Target(int w, int h) { return Filled(w, h, GetParam(), kBack); }
};

INSTANTIATE_TEST_SUITE_P(Depths, TargetFormat, ::testing::Values(pf24bit, pf32bit),
                         [](const auto& info) {
                           return std::string(info.param == pf24bit ? "Dib24" : "Dib32");
                         });

// ---------------------------------------------------------------------------------------------
// Cell geometry

TEST(SkinCell, GeometryAndDamagedCounts) {
  const TBitmap strip = NineStrip(3, 12, 10, 4);
  EXPECT_EQ(SkinCellRect(strip, false, 3, 2), (RECT{12, 0, 24, 10}));
  EXPECT_EQ(SkinCellRect(strip, true, 2, 2), (RECT{0, 5, 36, 10}));
  // Counts below 1 mean one cell; indexes are taken to the nearest cell.
  EXPECT_EQ(SkinCellRect(strip, false, 0, 1), (RECT{0, 0, 36, 10}));
  EXPECT_EQ(SkinCellRect(strip, false, -4, 3), (RECT{0, 0, 36, 10}));
  EXPECT_EQ(SkinCellRect(strip, false, 3, 9), (RECT{24, 0, 36, 10}));
  EXPECT_EQ(SkinCellRect(strip, false, 3, 0), (RECT{0, 0, 12, 10}));
  EXPECT_EQ(SkinCellRect(strip, false, 3, -7), (RECT{0, 0, 12, 10}));
  // More cells than pixels, or no image: no cell.
  EXPECT_TRUE(IsEmpty(SkinCellRect(strip, false, 37, 1)));
  EXPECT_TRUE(IsEmpty(SkinCellRect(strip, true, 11, 1)));
  EXPECT_TRUE(IsEmpty(SkinCellRect(TBitmap(), false, 1, 1)));
}

// ---------------------------------------------------------------------------------------------
// Nine-slice

TEST(StretchSkinBitmap, NineSliceOfTheChosenCellOnly) {
  const TBitmap strip = NineStrip(3, 12, 12, 4);
  const TBitmap out = StretchSkinBitmap(RECT{7, 3, 107, 23}, strip, Margins(4), false, false, 3, 2);
  ASSERT_EQ(out.Width(), 100);
  ASSERT_EQ(out.Height(), 20);
  EXPECT_EQ(out.PixelFormat(), pf24bit);
  EXPECT_EQ(GetStretchBltMode(const_cast<TBitmap&>(out).CanvasHandle()), COLORONCOLOR);
  struct Probe {
    int x, y, part;
  };
  // Corners keep their 4 x 4 size; edges stretch along their length only; the centre fills.
  const Probe probes[] = {{0, 0, TL},  {3, 3, TL},  {4, 0, T},   {50, 3, T},   {95, 0, T},
                          {96, 0, TR}, {99, 3, TR}, {0, 4, L},   {3, 15, L},   {4, 4, C},
                          {50, 10, C}, {95, 15, C}, {96, 4, R},  {99, 15, R},  {0, 16, BL},
                          {3, 19, BL}, {4, 16, B},  {95, 19, B}, {96, 16, BR}, {99, 19, BR},
                          {4, 3, T},   {3, 4, L},   {96, 15, R}, {95, 16, B}};
  for (const Probe& p : probes)
    EXPECT_EQ(PixelAt(out, p.x, p.y), PartColor(2, p.part)) << p.x << "," << p.y;
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x)
      ASSERT_EQ(CellOf(PixelAt(out, x, y)), 2) << "pixel of another cell at " << x << "," << y;
}

TEST(StretchSkinBitmap, VerticalStripPicksTheStackedCell) {
  const TBitmap strip = NineStrip(3, 10, 8, 3, true);
  const TBitmap out = StretchSkinBitmap(RECT{0, 0, 40, 30}, strip, Margins(3), true, false, 3, 3);
  EXPECT_EQ(PixelAt(out, 0, 0), PartColor(3, TL));
  EXPECT_EQ(PixelAt(out, 2, 2), PartColor(3, TL));
  EXPECT_EQ(PixelAt(out, 20, 1), PartColor(3, T));
  EXPECT_EQ(PixelAt(out, 20, 15), PartColor(3, C));
  EXPECT_EQ(PixelAt(out, 37, 27), PartColor(3, BR));
  EXPECT_EQ(PixelAt(out, 36, 26), PartColor(3, C));
  EXPECT_EQ(PixelAt(out, 0, 29), PartColor(3, BL));
}

TEST(StretchSkinBitmap, TiledCentreRepeatsWithoutOverflow) {
  // 12 x 12 cell, margins 4: the 4 x 4 centre has a distinct colour per pixel.
  const auto cellPixel = [](int k, int x, int y) {
    const int part = PartOf(x, y, 12, 12, 4);
    return part == C ? Rgb(200 + (x - 4), 100 + 10 * (y - 4), 30 * k) : PartColor(k, part);
  };
  const TBitmap strip = Strip(2, 12, 12, false, cellPixel);
  // Result 22 x 21: centre (4, 4)-(18, 17) is 14 x 13, not a whole number of pieces.
  const TBitmap tiled = StretchSkinBitmap(RECT{0, 0, 22, 21}, strip, Margins(4), false, true, 2, 2);
  for (int y = 4; y < 17; ++y)
    for (int x = 4; x < 18; ++x)
      ASSERT_EQ(PixelAt(tiled, x, y), cellPixel(2, 4 + (x - 4) % 4, 4 + (y - 4) % 4))
          << x << "," << y;
  // The last partial tile is cut off: right and bottom edges show where the tiles end.
  EXPECT_EQ(PixelAt(tiled, 18, 4), PartColor(2, R));
  EXPECT_EQ(PixelAt(tiled, 18, 16), PartColor(2, R));
  EXPECT_EQ(PixelAt(tiled, 17, 17), PartColor(2, B));
  EXPECT_EQ(PixelAt(tiled, 4, 17), PartColor(2, B));
  EXPECT_EQ(PixelAt(tiled, 21, 20), PartColor(2, BR));
  EXPECT_EQ(PixelAt(tiled, 3, 3), PartColor(2, TL));

  // Stretched, the centre's first and last pixels land at the first and last centre pixels.
  const TBitmap stretched =
      StretchSkinBitmap(RECT{0, 0, 22, 21}, strip, Margins(4), false, false, 2, 2);
  EXPECT_EQ(PixelAt(stretched, 4, 4), cellPixel(2, 4, 4));
  EXPECT_EQ(PixelAt(stretched, 17, 16), cellPixel(2, 7, 7));
  EXPECT_EQ(PixelAt(stretched, 18, 16), PartColor(2, R));
}

TEST(StretchSkinBitmap, NarrowTargetDropsTheSideMarginsOnly) {
  const TBitmap strip = NineStrip(1, 12, 12, 4);
  // 6 wide < 4 + 4: no fixed sides; the cell is stretched across. Top and bottom stay fixed.
  const TBitmap out = StretchSkinBitmap(RECT{0, 0, 6, 20}, strip, Margins(4), false, false, 1, 1);
  EXPECT_EQ(PixelAt(out, 0, 10), PartColor(1, L));
  EXPECT_EQ(PixelAt(out, 3, 10), PartColor(1, C)); // a fixed left side would be 4 wide
  EXPECT_EQ(PixelAt(out, 5, 10), PartColor(1, R));
  EXPECT_EQ(PixelAt(out, 3, 0), PartColor(1, T));
  EXPECT_EQ(PixelAt(out, 3, 3), PartColor(1, T));
  EXPECT_EQ(PixelAt(out, 3, 4), PartColor(1, C));
  EXPECT_EQ(PixelAt(out, 3, 16), PartColor(1, B));
  // Low target: the same for top and bottom.
  const TBitmap low = StretchSkinBitmap(RECT{0, 0, 30, 7}, strip, Margins(4), false, false, 1, 1);
  EXPECT_EQ(PixelAt(low, 0, 0), PartColor(1, TL));
  EXPECT_EQ(PixelAt(low, 3, 3), PartColor(1, L));
  EXPECT_EQ(PixelAt(low, 4, 3), PartColor(1, C));
  EXPECT_EQ(PixelAt(low, 26, 6), PartColor(1, BR));
}

TEST(StretchSkinBitmap, MarginsBeyondTheCellAreDroppedNotReadOutside) {
  const TBitmap strip = NineStrip(3, 12, 12, 4);
  // Margins of 20 on a 12-pixel cell: as wide as the target allows, but not the cell.
  const TBitmap out =
      StretchSkinBitmap(RECT{0, 0, 100, 60}, strip, Margins(20), false, false, 3, 2);
  EXPECT_EQ(PixelAt(out, 0, 0), PartColor(2, TL));
  EXPECT_EQ(PixelAt(out, 50, 30), PartColor(2, C));
  EXPECT_EQ(PixelAt(out, 99, 59), PartColor(2, BR));
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x)
      ASSERT_EQ(CellOf(PixelAt(out, x, y)), 2) << x << "," << y;
  // Negative margins count as none; huge ones neither overflow nor read outside.
  const TBitmap neg =
      StretchSkinBitmap(RECT{0, 0, 24, 24}, strip, RECT{-5, 4, 4, -9}, false, false, 3, 3);
  EXPECT_EQ(PixelAt(neg, 0, 0), PartColor(3, TL));
  EXPECT_EQ(PixelAt(neg, 0, 12), PartColor(3, L));
  EXPECT_EQ(PixelAt(neg, 23, 0), PartColor(3, TR));
  const TBitmap huge =
      StretchSkinBitmap(RECT{0, 0, 24, 24}, strip,
                        RECT{0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF}, false, true, 3, 1);
  EXPECT_EQ(PixelAt(huge, 6, 6), PartColor(1, C)); // the whole cell, tiled
  EXPECT_EQ(PixelAt(huge, 12, 12), PartColor(1, TL));
}

TEST(StretchSkinBitmap, DamagedCellsAndTargets) {
  const TBitmap strip = NineStrip(3, 12, 12, 4);
  // Index beyond the count: the last cell; count 0: the whole image as one cell.
  EXPECT_EQ(
      PixelAt(StretchSkinBitmap(RECT{0, 0, 30, 30}, strip, Margins(4), false, false, 3, 8), 15, 15),
      PartColor(3, C));
  const TBitmap whole =
      StretchSkinBitmap(RECT{0, 0, 36, 12}, strip, RECT{0, 0, 0, 0}, false, false, 0, 1);
  EXPECT_EQ(PixelAt(whole, 0, 0), PartColor(1, TL));
  EXPECT_EQ(PixelAt(whole, 35, 11), PartColor(3, BR));
  // No cell (more cells than pixels, empty image): a target-sized bitmap of the key colour.
  const TBitmap none = StretchSkinBitmap(RECT{0, 0, 9, 5}, strip, Margins(1), false, false, 100, 1);
  ASSERT_EQ(none.Width(), 9);
  EXPECT_EQ(PixelAt(none, 4, 2), kMagenta);
  EXPECT_EQ(
      PixelAt(StretchSkinBitmap(RECT{0, 0, 3, 3}, TBitmap(), Margins(1), false, true, 1, 1), 1, 1),
      kMagenta);
  // Empty or inverted targets: an empty bitmap.
  EXPECT_TRUE(StretchSkinBitmap(RECT{5, 5, 5, 9}, strip, Margins(4), false, false, 3, 1).Empty());
  EXPECT_TRUE(StretchSkinBitmap(RECT{9, 9, 5, 5}, strip, Margins(4), false, false, 3, 1).Empty());
}

// ---------------------------------------------------------------------------------------------
// Drawing at a target

TEST_P(TargetFormat, DrawSkinRectOpaqueAndTransparent) {
  // Cell 2's centre is magenta: transparent drawing shows the target through it.
  const auto cellPixel = [](int k, int x, int y) {
    const int part = PartOf(x, y, 10, 10, 3);
    return part == C && k == 2 ? kMagenta : PartColor(k, part);
  };
  const TBitmap strip = Strip(2, 10, 10, false, cellPixel);
  TBitmap target = Target(60, 40);
  const RECT where{10, 5, 50, 35};
  DrawSkinRect(target.CanvasHandle(), where, strip, false, false, true, 2, 2, Margins(3));
  EXPECT_EQ(PixelAt(target, 9, 5), kBack);
  EXPECT_EQ(PixelAt(target, 10, 4), kBack);
  EXPECT_EQ(PixelAt(target, 10, 5), PartColor(2, TL));
  EXPECT_EQ(PixelAt(target, 12, 7), PartColor(2, TL));
  EXPECT_EQ(PixelAt(target, 30, 5), PartColor(2, T));
  EXPECT_EQ(PixelAt(target, 30, 20), kBack); // magenta centre
  EXPECT_EQ(PixelAt(target, 13, 8), kBack);
  EXPECT_EQ(PixelAt(target, 49, 34), PartColor(2, BR));
  EXPECT_EQ(PixelAt(target, 50, 34), kBack);
  EXPECT_EQ(PixelAt(target, 49, 35), kBack);

  // Opaque: the magenta is copied like any colour.
  TBitmap opaque = Target(60, 40);
  DrawSkinRect(opaque.CanvasHandle(), where, strip, false, false, false, 2, 2, Margins(3));
  EXPECT_EQ(PixelAt(opaque, 30, 20), kMagenta);
  EXPECT_EQ(PixelAt(opaque, 47, 32), PartColor(2, BR));
  EXPECT_EQ(PixelAt(opaque, 9, 20), kBack);
}

TEST_P(TargetFormat, DrawSkinRectLeavesTheTargetAloneForBadInput) {
  const TBitmap strip = NineStrip(3, 12, 12, 4);
  const TBitmap narrow = NineStrip(1, 2, 12, 0); // 2 pixels wide, 3 cells asked for
  TBitmap target = Target(30, 30);
  HDC dc = target.CanvasHandle();
  DrawSkinRect(dc, RECT{20, 20, 5, 5}, strip, false, false, false, 3, 1, Margins(4));
  DrawSkinRect(dc, RECT{5, 5, 5, 25}, strip, false, false, false, 3, 1, Margins(4));
  DrawSkinRect(dc, RECT{0, 0, 30, 30}, narrow, false, true, false, 3, 1, Margins(4));
  DrawSkinRect(dc, RECT{0, 0, 30, 30}, TBitmap(), false, false, false, 1, 1, Margins(4));
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x)
      ASSERT_EQ(PixelAt(target, x, y), kBack) << x << "," << y;
}

TEST_P(TargetFormat, DrawTransparentKeepsKeyPixelsOfTheTarget) {
  // 8 x 6 image: left half magenta, right half red, one near-magenta pixel.
  TBitmap image =
      Strip(1, 8, 6, false, [](int, int x, int) { return x < 4 ? kMagenta : Rgb(200, 10, 10); });
  SetPixelAt(image, 5, 2, Rgb(254, 0, 255));
  for (const bool byRop : {false, true}) {
    SCOPED_TRACE(byRop ? "three raster passes" : "masked transfer");
    TBitmap target = Target(20, 20);
    SetBkColor(target.CanvasHandle(), RGB(1, 2, 3));
    SetTextColor(target.CanvasHandle(), RGB(4, 5, 6));
    const RECT where{3, 4, 20, 20}; // larger than the image: only the image's size is drawn
    if (byRop)
      DrawTransparentByRop(target.CanvasHandle(), where, image);
    else
      DrawTransparent(target.CanvasHandle(), where, image);
    EXPECT_EQ(PixelAt(target, 3, 4), kBack);
    EXPECT_EQ(PixelAt(target, 6, 9), kBack);
    EXPECT_EQ(PixelAt(target, 7, 4), Rgb(200, 10, 10));
    EXPECT_EQ(PixelAt(target, 10, 9), Rgb(200, 10, 10));
    EXPECT_EQ(PixelAt(target, 8, 6), Rgb(254, 0, 255)); // not the key: drawn
    EXPECT_EQ(PixelAt(target, 11, 4), kBack);           // right of the image
    EXPECT_EQ(PixelAt(target, 7, 10), kBack);           // below the image
    EXPECT_EQ(PixelAt(target, 2, 4), kBack);
    // The target keeps its colours for later text drawing.
    EXPECT_EQ(GetBkColor(target.CanvasHandle()), RGB(1, 2, 3));
    EXPECT_EQ(GetTextColor(target.CanvasHandle()), RGB(4, 5, 6));
  }
  // A smaller target draws only its own size; an inverted one nothing.
  TBitmap target = Target(20, 20);
  DrawTransparent(target.CanvasHandle(), RECT{0, 0, 6, 2}, image);
  EXPECT_EQ(PixelAt(target, 5, 1), Rgb(200, 10, 10));
  EXPECT_EQ(PixelAt(target, 5, 2), kBack);
  EXPECT_EQ(PixelAt(target, 6, 0), kBack);
  DrawTransparent(target.CanvasHandle(), RECT{10, 10, 2, 2}, image);
  EXPECT_EQ(PixelAt(target, 5, 5), kBack);
}

TEST_P(TargetFormat, DrawTransparentFromOtherDepths) {
  const TBitmap checker = Strip(
      1, 6, 4, false, [](int, int x, int y) { return (x + y) % 2 ? kMagenta : Rgb(0, 0, 255); });
  TBitmap paletted = checker;
  paletted.SetPixelFormat(pf8bit);
  ASSERT_EQ(paletted.PixelFormat(), pf8bit);
  // 32 bits with the fourth byte set, as images read from 32-bit files have it.
  TBitmap withAlpha = checker;
  withAlpha.SetPixelFormat(pf32bit);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x)
      withAlpha.ScanLine(y)[4 * x + 3] = 0xFF;
  for (const TBitmap* image : {&paletted, &withAlpha}) {
    SCOPED_TRACE(TBitmap::BitsPerPixel(image->PixelFormat()));
    for (const bool byRop : {false, true}) {
      TBitmap target = Target(10, 10);
      if (byRop)
        DrawTransparentByRop(target.CanvasHandle(), RECT{1, 1, 10, 10}, *image);
      else
        DrawTransparent(target.CanvasHandle(), RECT{1, 1, 10, 10}, *image);
      EXPECT_EQ(PixelAt(target, 1, 1), Rgb(0, 0, 255));
      EXPECT_EQ(PixelAt(target, 2, 1), kBack);
      EXPECT_EQ(PixelAt(target, 6, 4), Rgb(0, 0, 255));
      EXPECT_EQ(PixelAt(target, 5, 4), kBack);
    }
  }
}

// A 20 x 8 cell: 3-pixel caps, a 14-pixel middle whose columns differ, magenta at column 5.
Color BarPixel(int k, int x, int) {
  if (x < 3) return Rgb(10, 20 * k, 1);
  if (x >= 17) return Rgb(30, 20 * k, 2);
  if (x == 8) return kMagenta;
  return Rgb(100 + x, 20 * k, 3);
}

TEST_P(TargetFormat, DrawSkinBarTilesTheMiddleBetweenCaps) {
  const TBitmap strip = Strip(2, 20, 8, true, BarPixel); // vertical strip, like the title's
  TBitmap target = Target(70, 30);
  const RECT where{5, 3, 65, 19};   // 60 x 16: twice the cell's height
  const RECT margins{3, 99, 3, 99}; // top and bottom are not used
  DrawSkinBar(target.CanvasHandle(), where, strip, true, false, 2, 2, margins);
  for (const int y : {3, 10, 18}) {
    EXPECT_EQ(PixelAt(target, 5, y), BarPixel(2, 0, 0));
    EXPECT_EQ(PixelAt(target, 7, y), BarPixel(2, 2, 0));
    EXPECT_EQ(PixelAt(target, 8, y), BarPixel(2, 3, 0));   // middle column 0
    EXPECT_EQ(PixelAt(target, 21, y), BarPixel(2, 16, 0)); // middle column 13
    EXPECT_EQ(PixelAt(target, 22, y), BarPixel(2, 3, 0));  // second copy
    EXPECT_EQ(PixelAt(target, 61, y), BarPixel(2, 14, 0)); // last copy, cut by the right cap
    EXPECT_EQ(PixelAt(target, 62, y), BarPixel(2, 17, 0));
    EXPECT_EQ(PixelAt(target, 64, y), BarPixel(2, 19, 0));
    EXPECT_EQ(PixelAt(target, 13, y), kMagenta); // opaque
  }
  EXPECT_EQ(PixelAt(target, 65, 10), kBack);
  EXPECT_EQ(PixelAt(target, 30, 19), kBack);
  EXPECT_EQ(PixelAt(target, 30, 2), kBack);

  TBitmap clear = Target(70, 30);
  DrawSkinBar(clear.CanvasHandle(), where, strip, true, true, 2, 1, margins);
  EXPECT_EQ(PixelAt(clear, 13, 10), kBack); // magenta column left out
  EXPECT_EQ(PixelAt(clear, 27, 10), kBack);
  EXPECT_EQ(PixelAt(clear, 12, 10), BarPixel(1, 7, 0));
  EXPECT_EQ(PixelAt(clear, 5, 10), BarPixel(1, 0, 0));
}

TEST_P(TargetFormat, DrawSkinBarWithDamagedCaps) {
  const TBitmap strip = Strip(1, 20, 8, false, BarPixel);
  // Caps wider than the cell: dropped, the whole cell repeats.
  TBitmap target = Target(50, 8);
  DrawSkinBar(target.CanvasHandle(), RECT{0, 0, 50, 8}, strip, false, false, 1, 1,
              RECT{15, 0, 15, 0});
  EXPECT_EQ(PixelAt(target, 0, 0), BarPixel(1, 0, 0));
  EXPECT_EQ(PixelAt(target, 20, 0), BarPixel(1, 0, 0));
  EXPECT_EQ(PixelAt(target, 39, 0), BarPixel(1, 19, 0));
  EXPECT_EQ(PixelAt(target, 49, 0), BarPixel(1, 9, 0));
  // A target narrower than both caps: caps overlap, the right one on top; nothing outside.
  TBitmap small = Target(20, 8);
  DrawSkinBar(small.CanvasHandle(), RECT{2, 0, 6, 8}, strip, false, false, 1, 1, RECT{3, 0, 3, 0});
  EXPECT_EQ(PixelAt(small, 2, 0), BarPixel(1, 0, 0));
  EXPECT_EQ(PixelAt(small, 3, 0), BarPixel(1, 17, 0));
  EXPECT_EQ(PixelAt(small, 5, 0), BarPixel(1, 19, 0));
  EXPECT_EQ(PixelAt(small, 6, 0), kBack);
  EXPECT_EQ(PixelAt(small, 1, 0), kBack);
}

TEST_P(TargetFormat, StretchSkinBarKeepsCapsAndStretchesTheMiddle) {
  const TBitmap strip = Strip(3, 20, 8, false, BarPixel);
  TBitmap target = Target(80, 20);
  const RECT margins{3, 0, 3, 0};
  StretchSkinBar(target.CanvasHandle(), RECT{10, 2, 70, 18}, strip, false, 3, 3, margins);
  for (const int y : {2, 9, 17}) {
    EXPECT_EQ(PixelAt(target, 10, y), BarPixel(3, 0, 0));
    EXPECT_EQ(PixelAt(target, 12, y), BarPixel(3, 2, 0));
    EXPECT_EQ(PixelAt(target, 13, y), BarPixel(3, 3, 0));  // first middle column
    EXPECT_EQ(PixelAt(target, 66, y), BarPixel(3, 16, 0)); // last middle column
    EXPECT_EQ(PixelAt(target, 67, y), BarPixel(3, 17, 0));
    EXPECT_EQ(PixelAt(target, 69, y), BarPixel(3, 19, 0));
  }
  EXPECT_EQ(PixelAt(target, 70, 9), kBack);
  EXPECT_EQ(PixelAt(target, 40, 18), kBack);
  EXPECT_EQ(GetStretchBltMode(target.CanvasHandle()), BLACKONWHITE); // given back

  // Narrower than one cell: the whole cell scaled down, caps included.
  TBitmap narrow = Target(30, 10);
  StretchSkinBar(narrow.CanvasHandle(), RECT{0, 0, 10, 8}, strip, false, 3, 2, margins);
  EXPECT_EQ(PixelAt(narrow, 0, 0), BarPixel(2, 0, 0));
  EXPECT_EQ(PixelAt(narrow, 9, 7), BarPixel(2, 18, 0));
  EXPECT_EQ(PixelAt(narrow, 10, 0), kBack);
}

TEST_P(TargetFormat, DrawSkinCellStretchesTheWholeCell) {
  // 8 x 8 cells: a 2-pixel red ring around a cell-coloured inside with a magenta middle.
  const auto pixel = [](int k, int x, int y) {
    if (x < 2 || y < 2 || x >= 6 || y >= 6) return Rgb(220, 0, 20 * k);
    if (x >= 3 && x < 5 && y >= 3 && y < 5) return kMagenta;
    return Rgb(40, 40 * k, 0);
  };
  const TBitmap strip = Strip(3, 8, 8, false, pixel);
  TBitmap target = Target(40, 40);
  DrawSkinCell(target.CanvasHandle(), RECT{4, 4, 36, 36}, strip, true, 3, 2); // 4 x larger
  EXPECT_EQ(PixelAt(target, 4, 4), pixel(2, 0, 0));
  EXPECT_EQ(PixelAt(target, 11, 11), pixel(2, 1, 1)); // the ring is 8 pixels thick now
  EXPECT_EQ(PixelAt(target, 12, 12), pixel(2, 2, 2));
  EXPECT_EQ(PixelAt(target, 16, 16), kBack); // magenta left out
  EXPECT_EQ(PixelAt(target, 23, 23), kBack);
  EXPECT_EQ(PixelAt(target, 24, 24), pixel(2, 5, 5));
  EXPECT_EQ(PixelAt(target, 35, 35), pixel(2, 7, 7));
  EXPECT_EQ(PixelAt(target, 36, 36), kBack);

  TBitmap opaque = Target(40, 40);
  DrawSkinCell(opaque.CanvasHandle(), RECT{0, 0, 8, 8}, strip, false, 3, 3);
  EXPECT_EQ(PixelAt(opaque, 3, 3), kMagenta);
  EXPECT_EQ(PixelAt(opaque, 2, 2), pixel(3, 2, 2));
  DrawSkinCell(opaque.CanvasHandle(), RECT{30, 30, 20, 20}, strip, false, 3, 3);  // inverted
  DrawSkinCell(opaque.CanvasHandle(), RECT{20, 20, 30, 30}, strip, false, 30, 1); // no cell
  EXPECT_EQ(PixelAt(opaque, 25, 25), kBack);
}

TEST_P(TargetFormat, DrawSkinCellCenteredKeepsTheCellSize) {
  const auto pixel = [](int k, int x, int y) {
    return x == 0 && y == 0 ? kMagenta : Rgb(10 + 20 * x, 10 + 30 * y, 50 * k);
  };
  const TBitmap strip = Strip(2, 8, 6, false, pixel);
  TBitmap target = Target(40, 40);
  // 11 x 9 target: offsets (11 - 8) div 2 = 1 and (9 - 6) div 2 = 1.
  DrawSkinCellCentered(target.CanvasHandle(), RECT{10, 10, 21, 19}, strip, true, 2, 2);
  EXPECT_EQ(PixelAt(target, 11, 11), kBack); // the cell's magenta corner
  EXPECT_EQ(PixelAt(target, 12, 11), pixel(2, 1, 0));
  EXPECT_EQ(PixelAt(target, 18, 16), pixel(2, 7, 5));
  EXPECT_EQ(PixelAt(target, 19, 16), kBack);
  EXPECT_EQ(PixelAt(target, 18, 17), kBack);
  EXPECT_EQ(PixelAt(target, 10, 12), kBack);
  // A target smaller than the cell: (5 - 8) div 2 = -1 and (2 - 6) div 2 = -2, toward zero.
  DrawSkinCellCentered(target.CanvasHandle(), RECT{30, 30, 35, 32}, strip, false, 2, 1);
  EXPECT_EQ(PixelAt(target, 29, 28), kMagenta);
  EXPECT_EQ(PixelAt(target, 36, 33), pixel(1, 7, 5));
  EXPECT_EQ(PixelAt(target, 37, 33), kBack);
  EXPECT_EQ(PixelAt(target, 28, 28), kBack);
}

TEST_P(TargetFormat, TileBitmapRepeatsWholePieces) {
  const auto pixel = [](int, int x, int y) { return Rgb(7 * x, 11 * y, 99); };
  const TBitmap image = Strip(1, 20, 20, false, pixel);
  TBitmap target = Target(40, 40);
  HDC dc = target.CanvasHandle();
  TileBitmap(dc, RECT{5, 5, 16, 12}, image, RECT{4, 6, 7, 8}); // a 3 x 2 piece over 11 x 7
  EXPECT_EQ(PixelAt(target, 5, 5), pixel(1, 4, 6));
  EXPECT_EQ(PixelAt(target, 8, 5), pixel(1, 4, 6));
  EXPECT_EQ(PixelAt(target, 15, 11), pixel(1, 4 + 10 % 3, 6 + 6 % 2));
  EXPECT_EQ(PixelAt(target, 14, 10), pixel(1, 4 + 9 % 3, 6 + 5 % 2));
  // The last column (x 14 to 16) and row (y 11 and 12) are whole pieces, past the target.
  EXPECT_EQ(PixelAt(target, 16, 5), pixel(1, 6, 6));
  EXPECT_EQ(PixelAt(target, 5, 12), pixel(1, 4, 7));
  EXPECT_EQ(PixelAt(target, 16, 12), pixel(1, 6, 7));
  EXPECT_EQ(PixelAt(target, 17, 5), kBack);
  EXPECT_EQ(PixelAt(target, 5, 13), kBack);
  // Inverted or empty pieces draw nothing; a piece reaching past the image is cut to it.
  TileBitmap(dc, RECT{20, 0, 40, 20}, image, RECT{7, 6, 4, 8});
  TileBitmap(dc, RECT{20, 0, 40, 20}, image, RECT{4, 6, 4, 8});
  EXPECT_EQ(PixelAt(target, 25, 5), kBack);
  TileBitmap(dc, RECT{20, 20, 40, 22}, image, RECT{18, 0, 30, 1});
  EXPECT_EQ(PixelAt(target, 20, 20), pixel(1, 18, 0));
  EXPECT_EQ(PixelAt(target, 21, 21), pixel(1, 19, 0));
  EXPECT_EQ(PixelAt(target, 22, 20), pixel(1, 18, 0));
  EXPECT_EQ(PixelAt(target, 39, 21), pixel(1, 19, 0));
  // One-pixel pieces over a wide target.
  TBitmap wide = Filled(700, 9, GetParam(), kBack);
  TileBitmap(wide.CanvasHandle(), RECT{1, 1, 699, 8}, image, RECT{3, 3, 4, 4});
  for (int x = 1; x < 699; x += 37)
    EXPECT_EQ(PixelAt(wide, x, 1 + x % 7), pixel(1, 3, 3)) << x;
  EXPECT_EQ(PixelAt(wide, 698, 7), pixel(1, 3, 3));
  EXPECT_EQ(PixelAt(wide, 699, 7), kBack);
  EXPECT_EQ(PixelAt(wide, 698, 8), kBack);
  // Repeated through a block of copies: the last piece is still whole (x 99 to 105).
  TBitmap blocks = Filled(120, 3, GetParam(), kBack);
  TileBitmap(blocks.CanvasHandle(), RECT{1, 1, 100, 2}, image, RECT{0, 0, 7, 1});
  EXPECT_EQ(PixelAt(blocks, 99, 1), pixel(1, 98 % 7, 0));
  EXPECT_EQ(PixelAt(blocks, 105, 1), pixel(1, 6, 0));
  EXPECT_EQ(PixelAt(blocks, 106, 1), kBack);
}

// ---------------------------------------------------------------------------------------------
// Regions

TEST(BitmapToRegion, MagentaCornersAreCutOut) {
  // 20 x 10, 2 x 2 magenta squares in every corner.
  const TBitmap image = Strip(1, 20, 10, false, [](int, int x, int y) {
    const bool cornerX = x < 2 || x >= 18, cornerY = y < 2 || y >= 8;
    return cornerX && cornerY ? kMagenta : Rgb(90, 90, 90);
  });
  const TRegion at0 = BitmapToRegion(image, 0, 0, 1, 1, 1, clSkinKey);
  ASSERT_TRUE(at0);
  EXPECT_FALSE(PtInRegion(at0.Get(), 0, 0));
  EXPECT_FALSE(PtInRegion(at0.Get(), 1, 1));
  EXPECT_TRUE(PtInRegion(at0.Get(), 2, 0));
  EXPECT_TRUE(PtInRegion(at0.Get(), 0, 2));
  EXPECT_TRUE(PtInRegion(at0.Get(), 10, 5));
  EXPECT_FALSE(PtInRegion(at0.Get(), 18, 0));
  EXPECT_TRUE(PtInRegion(at0.Get(), 17, 1));
  EXPECT_FALSE(PtInRegion(at0.Get(), 19, 9));
  EXPECT_TRUE(PtInRegion(at0.Get(), 19, 7));
  EXPECT_FALSE(PtInRegion(at0.Get(), 20, 5));
  EXPECT_FALSE(PtInRegion(at0.Get(), 10, 10));
  RECT box;
  EXPECT_EQ(GetRgnBox(at0.Get(), &box), COMPLEXREGION);
  EXPECT_EQ(box, (RECT{0, 0, 20, 10}));

  const TRegion moved = BitmapToRegion(image, 100, 50, 1, 1, 1, clSkinKey);
  EXPECT_TRUE(PtInRegion(moved.Get(), 102, 50));
  EXPECT_FALSE(PtInRegion(moved.Get(), 101, 51));
  EXPECT_FALSE(PtInRegion(moved.Get(), 2, 0));
  EXPECT_TRUE(PtInRegion(moved.Get(), 119, 57));
  EXPECT_FALSE(PtInRegion(moved.Get(), 119, 58));
}

TEST(BitmapToRegion, EmptyFullAndTolerance) {
  RECT box;
  const TRegion none = BitmapToRegion(Filled(16, 16, pf24bit, kMagenta), 0, 0, 1, 1, 1, clSkinKey);
  ASSERT_TRUE(none);
  EXPECT_EQ(GetRgnBox(none.Get(), &box), NULLREGION);
  const TRegion empty = BitmapToRegion(TBitmap(), 3, 3, 1, 1, 1, clSkinKey);
  ASSERT_TRUE(empty);
  EXPECT_EQ(GetRgnBox(empty.Get(), &box), NULLREGION);
  const TRegion full =
      BitmapToRegion(Filled(16, 9, pf32bit, Rgb(1, 2, 3)), 5, 7, 1, 1, 1, clSkinKey);
  EXPECT_EQ(GetRgnBox(full.Get(), &box), SIMPLEREGION);
  EXPECT_EQ(box, (RECT{5, 7, 21, 16}));

  // Key range per channel: key value up to value + tolerance, capped at 255.
  TBitmap row = Filled(5, 1, pf24bit, kMagenta);
  SetPixelAt(row, 0, 0, Rgb(255, 1, 255)); // inside the range: cut out
  SetPixelAt(row, 1, 0, Rgb(255, 2, 255)); // green beyond the tolerance: kept
  SetPixelAt(row, 2, 0, Rgb(254, 0, 255)); // red below the key: kept
  SetPixelAt(row, 3, 0, Rgb(255, 0, 254)); // blue below the key: kept
  const TRegion r = BitmapToRegion(row, 0, 0, 1, 1, 1, clSkinKey);
  EXPECT_FALSE(PtInRegion(r.Get(), 0, 0));
  EXPECT_TRUE(PtInRegion(r.Get(), 1, 0));
  EXPECT_TRUE(PtInRegion(r.Get(), 2, 0));
  EXPECT_TRUE(PtInRegion(r.Get(), 3, 0));
  EXPECT_FALSE(PtInRegion(r.Get(), 4, 0));
  // A wider green tolerance takes the second pixel in too.
  const TRegion wider = BitmapToRegion(row, 0, 0, 1, 2, 1, clSkinKey);
  EXPECT_FALSE(PtInRegion(wider.Get(), 1, 0));
  EXPECT_TRUE(PtInRegion(wider.Get(), 2, 0));
}

TEST(BitmapToRegion, ManyRunsAcrossSeveralBatchesAndDepths) {
  // Every other pixel magenta: 60 runs a row, 6000 rectangles over 100 rows.
  const auto pixel = [](int, int x, int y) { return (x + y) % 2 ? kMagenta : Rgb(0, 128, 0); };
  TBitmap image = Strip(1, 120, 100, false, pixel);
  for (const TPixelFormat format : {pf24bit, pf32bit, pf8bit}) {
    TBitmap copy = image;
    copy.SetPixelFormat(format);
    const TRegion region = BitmapToRegion(copy, -3, 4, 1, 1, 1, clSkinKey);
    ASSERT_TRUE(region);
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 120; ++x)
        ASSERT_EQ(PtInRegion(region.Get(), x - 3, y + 4) != 0, (x + y) % 2 == 0)
            << x << "," << y << " depth " << TBitmap::BitsPerPixel(format);
    EXPECT_EQ(copy.PixelFormat(), format); // the caller's image is not converted
  }
}

// ---------------------------------------------------------------------------------------------
// Parent background

// A windowless child of the parent that paints a solid block.
class TBlock : public TGraphicControl {
public:
  using TGraphicControl::TGraphicControl;

protected:
  void Paint(HDC dc) override {
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 200));
    RECT r{0, 0, Width(), Height()};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  }
};

TEST(DrawParentImage, PaintsWhatLiesBehindTheControl) {
  App();
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 150);
  form.SetParentColor(false);
  form.SetColor(Rgb(0, 150, 0));
  auto* block = new TBlock(&form);
  block->SetParent(&form);
  block->SetBounds(30, 20, 10, 10);
  auto* button = new TButton(&form);
  button->SetParent(&form);
  button->SetBounds(25, 15, 40, 30);
  form.HandleNeeded();

  TBitmap buffer = Filled(60, 40, pf24bit, kBack);
  HDC dc = buffer.CanvasHandle();
  DrawParentImage(button, dc);
  EXPECT_EQ(PixelAt(buffer, 0, 0), Rgb(0, 150, 0)); // the form's face at (25, 15)
  EXPECT_EQ(PixelAt(buffer, 4, 4), Rgb(0, 150, 0));
  EXPECT_EQ(PixelAt(buffer, 5, 5), Rgb(0, 0, 200)); // the block at (30, 20)
  EXPECT_EQ(PixelAt(buffer, 14, 14), Rgb(0, 0, 200));
  EXPECT_EQ(PixelAt(buffer, 15, 15), Rgb(0, 150, 0));
  EXPECT_EQ(PixelAt(buffer, 39, 29), Rgb(0, 150, 0));
  EXPECT_EQ(PixelAt(buffer, 40, 29), kBack); // clipped to the button's size
  EXPECT_EQ(PixelAt(buffer, 39, 30), kBack);
  // The context comes back as it was.
  POINT origin{-1, -1};
  GetViewportOrgEx(dc, &origin);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
  RECT clip;
  EXPECT_EQ(GetClipBox(dc, &clip), SIMPLEREGION);
  EXPECT_EQ(clip, (RECT{0, 0, 60, 40}));

  // Without a parent nothing happens.
  TButton orphan(nullptr);
  TBitmap untouched = Filled(4, 4, pf24bit, kBack);
  DrawParentImage(&orphan, untouched.CanvasHandle());
  DrawParentImage(nullptr, untouched.CanvasHandle());
  EXPECT_EQ(PixelAt(untouched, 1, 1), kBack);
}

// ---------------------------------------------------------------------------------------------
// Shared scratch

TEST(SkinScratch, LivesFromTheFirstUserToTheLast) {
  ASSERT_EQ(SkinScratchUsers(), 0);
  EXPECT_EQ(SkinScratchBitmap(), nullptr);
  EXPECT_EQ(SkinScratchList(), nullptr);
  EXPECT_EQ(SkinScratchCanvas(), nullptr);
  ReleaseSkinScratch(); // without a user: ignored
  EXPECT_EQ(SkinScratchUsers(), 0);
  {
    TSkinScratchUser first;
    ASSERT_NE(SkinScratchBitmap(), nullptr);
    TBitmap* bitmap = SkinScratchBitmap();
    EXPECT_EQ(SkinScratchCanvas(), nullptr); // still empty
    bitmap->SetSize(30, 12);
    HDC dc = SkinScratchCanvas();
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetStretchBltMode(dc), COLORONCOLOR);
    SkinScratchList()->push_back("item");
    {
      TSkinScratchUser second;
      EXPECT_EQ(SkinScratchUsers(), 2);
      EXPECT_EQ(SkinScratchBitmap(), bitmap);
    }
    EXPECT_EQ(SkinScratchUsers(), 1);
    EXPECT_EQ(SkinScratchBitmap(), bitmap);
    EXPECT_EQ(SkinScratchList()->size(), 1u);
    bitmap->SetSize(50, 50); // a new size gives a new canvas, stretching the same way
    EXPECT_EQ(GetStretchBltMode(SkinScratchCanvas()), COLORONCOLOR);
  }
  EXPECT_EQ(SkinScratchUsers(), 0);
  EXPECT_EQ(SkinScratchBitmap(), nullptr);
  AcquireSkinScratch(); // and again from nothing
  EXPECT_TRUE(SkinScratchList()->empty());
  EXPECT_TRUE(SkinScratchBitmap()->Empty());
  ReleaseSkinScratch();
}

// ---------------------------------------------------------------------------------------------
// Resources

// Every painter with good and damaged input, once.
void PaintEverything(HDC dc, const TBitmap& strip, const TBitmap& paletted) {
  const RECT big{0, 0, 64, 40}, inverted{20, 20, 3, 3};
  for (const RECT& r : {big, inverted}) {
    DrawSkinRect(dc, r, strip, false, true, true, 3, 2, Margins(4));
    DrawSkinRect(dc, r, strip, true, false, false, 0, 9, Margins(40));
    DrawSkinRect(dc, r, paletted, false, true, true, 1, 1, Margins(2));
    DrawSkinRect(dc, r, TBitmap(), false, true, true, 1, 1, Margins(2));
    DrawSkinBar(dc, r, strip, false, true, 3, 1, Margins(3));
    DrawSkinBar(dc, r, strip, true, false, -1, 1, Margins(30));
    StretchSkinBar(dc, r, strip, false, 3, 3, Margins(3));
    StretchSkinBar(dc, RECT{0, 0, 5, 5}, strip, false, 3, 3, Margins(3));
    DrawSkinCell(dc, r, strip, true, 3, 1);
    DrawSkinCell(dc, r, paletted, false, 99, 1);
    DrawSkinCellCentered(dc, r, strip, true, 3, 3);
    DrawTransparent(dc, r, strip);
    DrawTransparentByRop(dc, r, paletted);
    TileBitmap(dc, r, strip, RECT{1, 1, 3, 2});
    (void)StretchSkinBitmap(r, strip, Margins(4), false, true, 3, 1);
    (void)BitmapToRegion(strip, 1, 1, 1, 1, 1, clSkinKey);
    (void)BitmapToRegion(paletted, 0, 0, 1, 1, 1, clSkinKey);
  }
}

TEST(SkinDrawResources, NoGdiObjectOutlivesTheCalls) {
  TBitmap strip = NineStrip(3, 12, 12, 4);
  SetPixelAt(strip, 5, 5, kMagenta);
  TBitmap paletted = strip;
  paletted.SetPixelFormat(pf8bit);
  TBitmap target = Filled(64, 40, pf32bit, kBack);
  HDC dc = target.CanvasHandle();
  SetBkColor(dc, RGB(7, 8, 9));
  strip.CanvasHandle();
  paletted.CanvasHandle();
  PaintEverything(dc, strip, paletted); // anything made once per process is made now

  const long toolkitBefore = TBitmap::LiveGdiObjects();
  const long before = GdiObjectsInUse();
  for (int i = 0; i < 300; ++i)
    PaintEverything(dc, strip, paletted);
  const long after = GdiObjectsInUse();
  EXPECT_EQ(TBitmap::LiveGdiObjects(), toolkitBefore);
  EXPECT_EQ(after, before) << "GDI objects left behind by the painters";
  // The target's state survives too.
  EXPECT_EQ(GetStretchBltMode(dc), BLACKONWHITE);
  EXPECT_EQ(GetBkColor(dc), RGB(7, 8, 9));
}

TEST(SkinDrawResources, TheLeakCounterSeesALeak) {
  const long before = GdiObjectsInUse();
  HBRUSH kept[3] = {CreateSolidBrush(1), CreateSolidBrush(2), CreateSolidBrush(3)};
  EXPECT_EQ(GdiObjectsInUse(), before + 3);
  for (HBRUSH b : kept)
    DeleteObject(b);
  EXPECT_EQ(GdiObjectsInUse(), before);
}

} // namespace
