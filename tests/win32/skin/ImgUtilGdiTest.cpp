#include "Bitmap.h"
#include "BmpFile.h"
#include "ImgUtil.h"
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

using namespace ImgUtil;

namespace {

using TBytes = std::vector<std::uint8_t>;

// Packed RGB (red in the low byte) of a pixel of a 24-bit bitmap.
TColor PixelOf(const TBitmap& bmp, int x, int y) {
  const std::uint8_t* p = bmp.ScanLine(y) + 3 * x;
  return p[2] | (p[1] << 8) | (p[0] << 16);
}

void SetPixelOf(TBitmap& bmp, int x, int y, TColor c) {
  std::uint8_t* p = bmp.ScanLine(y) + 3 * x;
  p[0] = static_cast<std::uint8_t>(c >> 16);
  p[1] = static_cast<std::uint8_t>(c >> 8);
  p[2] = static_cast<std::uint8_t>(c);
}

// Every pixel distinct: red from x, green from y.
TColor Pattern(int x, int y) {
  return (x * 7 + 1) | ((y * 11 + 2) << 8) | (0x40 << 16);
}

TBitmap Patterned(int w, int h) {
  TBitmap bmp(w, h, pf24bit);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      SetPixelOf(bmp, x, y, Pattern(x, y));
  return bmp;
}

void ExpectPixels(const TBitmap& bmp, int w, int h, const std::function<TColor(int, int)>& want) {
  ASSERT_EQ(bmp.Width(), w);
  ASSERT_EQ(bmp.Height(), h);
  ASSERT_EQ(bmp.PixelFormat(), pf24bit);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      ASSERT_EQ(PixelOf(bmp, x, y), want(x, y)) << "at " << x << "," << y;
}

// The colour of (x, y) as the image holds it, whatever its format (decoded independently).
std::uint32_t RgbAt(const TBitmap& bmp, int x, int y) {
  TBytes file;
  bmp.SaveToStream(file);
  BmpFile::TBmpImage image;
  EXPECT_TRUE(BmpFile::Decode(file.data(), file.size(), image));
  return image.PixelRGB(x, y);
}

// A BMP file of the given depth whose pixel (x, y) takes palette entry / value f(x, y).
TBytes MakeFile(int w, int h, int bpp, bool is565 = false) {
  BmpFile::TBmpImage image = BmpFile::Create(w, h, bpp, is565);
  for (std::size_t i = 0; i < image.Palette.size(); ++i)
    image.Palette[i] = static_cast<std::uint32_t>(0x0F0F0F * (i % 16) + (i / 16));
  for (int y = 0; y < h; ++y)
    for (std::size_t i = 0; i < image.RowBytes(); ++i)
      image.Row(y)[i] = static_cast<std::uint8_t>(y * 37 + i * 13 + 5);
  return BmpFile::Encode(image);
}

COLORREF ToColorRef(std::uint32_t rgb) { // 0x00RRGGBB -> COLORREF
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

class Gradient : public ::testing::Test {
protected:
  void SetUp() override { ClearGradientCache(); }
  void TearDown() override { ClearGradientCache(); }
};

// A white 40 x 24 canvas clipped to `clip`.
struct TClippedCanvas {
  TBitmap Bmp{40, 24, pf24bit};
  HDC Dc;
  explicit TClippedCanvas(RECT clip) : Dc(Bmp.CanvasHandle()) {
    HRGN rgn = CreateRectRgnIndirect(&clip);
    SelectClipRgn(Dc, rgn);
    DeleteObject(rgn);
  }
};

constexpr TColor kWhite = 0xFFFFFF;

} // namespace

// ---------------------------------------------------------------------------------------------
// TBitmap

TEST(Bitmap, NewImageIsWhiteTopRowFirstWithDwordAlignedRows) {
  TBitmap bmp(5, 3);
  EXPECT_FALSE(bmp.Empty());
  EXPECT_EQ(bmp.PixelFormat(), pf24bit);
  EXPECT_EQ(bmp.RowBytes(), 16u);
  ExpectPixels(bmp, 5, 3, [](int, int) { return kWhite; });
  // Row 0 is the top row as GDI sees it.
  HDC dc = bmp.CanvasHandle();
  ASSERT_NE(dc, nullptr);
  SetPixel(dc, 1, 0, RGB(10, 20, 30));
  EXPECT_EQ(PixelOf(bmp, 1, 0), 0x1E140A);
  EXPECT_EQ(bmp.ScanLine(0)[3], 30); // blue, green, red bytes
  EXPECT_THROW(bmp.ScanLine(3), std::out_of_range);
  EXPECT_THROW(bmp.ScanLine(-1), std::out_of_range);
  EXPECT_THROW(TBitmap().ScanLine(0), std::out_of_range);
}

TEST(Bitmap, ResizingKeepsTheTopLeftAndWhitensTheRest) {
  TBitmap bmp = Patterned(6, 4);
  bmp.SetWidth(9);
  ExpectPixels(bmp, 9, 4, [](int x, int y) { return x < 6 ? Pattern(x, y) : kWhite; });
  bmp.SetHeight(2);
  ExpectPixels(bmp, 9, 2, [](int x, int y) { return x < 6 ? Pattern(x, y) : kWhite; });
  bmp.SetHeight(0);
  EXPECT_TRUE(bmp.Empty());
  EXPECT_EQ(bmp.Width(), 9);
  EXPECT_EQ(bmp.Handle(), nullptr);
  EXPECT_EQ(bmp.CanvasHandle(), nullptr);
  bmp.SetHeight(3);
  ExpectPixels(bmp, 9, 3, [](int, int) { return kWhite; });
  bmp.SetSize(-5, 2);
  EXPECT_TRUE(bmp.Empty());
  EXPECT_EQ(bmp.Width(), 0);
  EXPECT_THROW(bmp.SetSize(1 << 14, 1 << 13), std::length_error);
}

TEST(Bitmap, ResizingPalettisedImagesKeepsIndicesAtBitLevel) {
  TBitmap bmp;
  const TBytes file = MakeFile(13, 3, 1);
  ASSERT_TRUE(bmp.LoadFromStream(file));
  TBitmap before = bmp;
  bmp.SetWidth(11);
  bmp.SetWidth(20);
  ASSERT_EQ(bmp.PixelFormat(), pf1bit);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 20; ++x)
      EXPECT_EQ(RgbAt(bmp, x, y), x < 11 ? RgbAt(before, x, y) : 0x0F0F0Fu) << x;
}

TEST(Bitmap, LoadsEveryDepthAsItIsAndConvertsTo24) {
  const struct {
    int Bpp;
    bool Is565;
    TPixelFormat Format;
  } cases[] = {{1, false, pf1bit},  {4, false, pf4bit},   {8, false, pf8bit},  {16, false, pf15bit},
               {16, true, pf16bit}, {24, false, pf24bit}, {32, false, pf32bit}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Bpp);
    const TBytes file = MakeFile(7, 5, c.Bpp, c.Is565);
    BmpFile::TBmpImage image;
    ASSERT_TRUE(BmpFile::Decode(file.data(), file.size(), image));
    TBitmap bmp;
    ASSERT_TRUE(bmp.LoadFromStream(file));
    EXPECT_EQ(bmp.PixelFormat(), c.Format);
    EXPECT_EQ(bmp.Palette(), image.Palette);
    for (int y = 0; y < 5; ++y)
      EXPECT_EQ(0, std::memcmp(bmp.ScanLine(y), image.Row(y), image.RowBytes()));
    // GDI reads the same colours out of the DIB section.
    HDC dc = bmp.CanvasHandle();
    EXPECT_EQ(GetPixel(dc, 3, 1), ToColorRef(image.PixelRGB(3, 1)));
    // Saved bytes decode to the same image.
    TBytes saved;
    bmp.SaveToStream(saved);
    BmpFile::TBmpImage back;
    ASSERT_TRUE(BmpFile::Decode(saved.data(), saved.size(), back));
    EXPECT_EQ(back.Pixels, image.Pixels);
    bmp.SetPixelFormat(pf24bit);
    ExpectPixels(bmp, 7, 5, [&](int x, int y) {
      const std::uint32_t rgb = image.PixelRGB(x, y);
      return static_cast<TColor>(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
    });
  }
}

TEST(Bitmap, ConversionsBetweenFormats) {
  TBitmap bmp(4, 2);
  SetPixelOf(bmp, 0, 0, 0x0000FF); // red
  SetPixelOf(bmp, 1, 0, 0xFF00FF); // magenta
  SetPixelOf(bmp, 2, 0, 0x000000);
  SetPixelOf(bmp, 3, 0, 0x123456);
  bmp.SetPixelFormat(pf32bit);
  EXPECT_EQ(bmp.ScanLine(0)[2], 0xFF);
  EXPECT_EQ(bmp.ScanLine(0)[3], 0);
  bmp.SetPixelFormat(pf8bit); // the default table holds the standard colours exactly
  EXPECT_EQ(RgbAt(bmp, 0, 0), 0xFF0000u);
  EXPECT_EQ(RgbAt(bmp, 1, 0), 0xFF00FFu);
  EXPECT_EQ(RgbAt(bmp, 2, 0), 0x000000u);
  EXPECT_EQ(RgbAt(bmp, 0, 1), 0xFFFFFFu);
  bmp.SetPixelFormat(pf24bit);
  EXPECT_EQ(PixelOf(bmp, 1, 0), clMagenta);
  bmp.SetPixelFormat(pf1bit);
  EXPECT_EQ(RgbAt(bmp, 2, 0), 0u);
  EXPECT_EQ(RgbAt(bmp, 0, 1), 0xFFFFFFu);
  // More index bits keep the table and the indices.
  TBitmap four;
  ASSERT_TRUE(four.LoadFromStream(MakeFile(5, 2, 4)));
  TBitmap eight = four;
  eight.SetPixelFormat(pf8bit);
  for (int x = 0; x < 5; ++x)
    EXPECT_EQ(RgbAt(eight, x, 1), RgbAt(four, x, 1));
  EXPECT_EQ(eight.Palette()[15], four.Palette()[15]);
  // An empty image only changes the format of what it will hold.
  TBitmap empty;
  empty.SetPixelFormat(pf8bit);
  empty.SetSize(2, 2);
  EXPECT_EQ(empty.PixelFormat(), pf8bit);
  EXPECT_EQ(empty.Palette().size(), 256u);
  EXPECT_EQ(RgbAt(empty, 1, 1), 0xFFFFFFu);
}

TEST(Bitmap, DamagedFilesGiveAnEmptyImage) {
  TBitmap bmp = Patterned(3, 3);
  TBytes file = MakeFile(8, 8, 24);
  file.resize(file.size() - 10);
  EXPECT_FALSE(bmp.LoadFromStream(file));
  EXPECT_TRUE(bmp.Empty());
  EXPECT_EQ(bmp.Width(), 0);
  EXPECT_EQ(bmp.Height(), 0);
  EXPECT_FALSE(bmp.LoadFromStream(nullptr, 0));
  const TBytes junk(100, 0x42);
  EXPECT_FALSE(bmp.LoadFromStream(junk));
  TBytes saved;
  bmp.SaveToStream(saved);
  EXPECT_TRUE(saved.empty());
}

TEST(Bitmap, CopiesAreDeepAndKeepSettings) {
  TBitmap a = Patterned(4, 3);
  a.TransparentColor = 0x123456;
  a.Transparent = true;
  TBitmap b(a);
  SetPixelOf(b, 0, 0, 0);
  EXPECT_EQ(PixelOf(a, 0, 0), Pattern(0, 0));
  EXPECT_EQ(b.TransparentColor, 0x123456);
  EXPECT_TRUE(b.Transparent);
  EXPECT_NE(a.Handle(), b.Handle());
  TBitmap c;
  c.Assign(a);
  ExpectPixels(c, 4, 3, Pattern);
  c.Assign(TBitmap());
  EXPECT_TRUE(c.Empty());
  TBitmap moved(std::move(a));
  ExpectPixels(moved, 4, 3, Pattern);
  EXPECT_TRUE(a.Empty()); // NOLINT(bugprone-use-after-move): moved-from is empty
}

TEST(Bitmap, CanvasDrawsIntoTheImageAndBlitsFromIt) {
  TBitmap src = Patterned(8, 8);
  TBitmap dst(8, 8);
  ASSERT_TRUE(BitBlt(dst.CanvasHandle(), 2, 3, 4, 4, src.CanvasHandle(), 1, 1, SRCCOPY));
  EXPECT_EQ(PixelOf(dst, 2, 3), Pattern(1, 1));
  EXPECT_EQ(PixelOf(dst, 5, 6), Pattern(4, 4));
  EXPECT_EQ(PixelOf(dst, 1, 3), kWhite);
  // Handle() frees the canvas so the bitmap can be selected into another context.
  HBITMAP h = dst.Handle();
  HDC other = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(other, h);
  EXPECT_NE(old, nullptr);
  EXPECT_EQ(GetPixel(other, 2, 3), static_cast<COLORREF>(Pattern(1, 1))); // COLORREF order
  SelectObject(other, old);
  DeleteDC(other);
  BITMAP info{};
  ASSERT_EQ(GetObjectA(h, sizeof info, &info), static_cast<int>(sizeof info));
  EXPECT_EQ(info.bmWidth, 8);
  EXPECT_EQ(info.bmHeight, 8);
  EXPECT_EQ(info.bmBitsPixel, 24);
}

TEST(Bitmap, PixelsStayInMemoryUntilGdiNeedsThem) {
  const long baseline = TBitmap::LiveGdiObjects();
  // Loading, copying, resizing, converting and changing rows make no GDI object.
  for (int bpp : {4, 8, 16, 24, 32}) {
    SCOPED_TRACE(bpp);
    TBitmap loaded;
    ASSERT_TRUE(loaded.LoadFromStream(MakeFile(7, 5, bpp)));
    TBitmap copy = loaded;
    copy.SetWidth(9);
    copy.SetPixelFormat(pf24bit);
    MirrorBitmap(copy);
    EXPECT_FALSE(loaded.HasHandle());
    EXPECT_FALSE(copy.HasHandle());
    EXPECT_EQ(TBitmap::LiveGdiObjects(), baseline);
    // The first handle holds the same pixels, top row first as before.
    const TBytes before = [&] {
      TBytes file;
      loaded.SaveToStream(file);
      return file;
    }();
    ASSERT_NE(loaded.Handle(), nullptr);
    EXPECT_TRUE(loaded.HasHandle());
    EXPECT_EQ(TBitmap::LiveGdiObjects(), baseline + 1);
    TBytes after;
    loaded.SaveToStream(after);
    EXPECT_EQ(after, before);
    BmpFile::TBmpImage image;
    ASSERT_TRUE(BmpFile::Decode(before.data(), before.size(), image));
    EXPECT_EQ(GetPixel(loaded.CanvasHandle(), 2, 1), ToColorRef(image.PixelRGB(2, 1)));
    EXPECT_EQ(0, std::memcmp(loaded.ScanLine(0), image.Row(0), image.RowBytes()));
  }
  EXPECT_EQ(TBitmap::LiveGdiObjects(), baseline);
  // Rows written before the canvas is made are what GDI draws from; what GDI draws is what
  // the rows read after; a copy of such an image needs no handle of its own.
  TBitmap src = Patterned(6, 4);
  TBitmap dst(6, 4);
  ASSERT_TRUE(BitBlt(dst.CanvasHandle(), 0, 0, 6, 4, src.CanvasHandle(), 0, 0, SRCCOPY));
  ExpectPixels(dst, 6, 4, Pattern);
  const TBitmap copy = dst;
  EXPECT_FALSE(copy.HasHandle());
  ExpectPixels(copy, 6, 4, Pattern);
}

TEST(Bitmap, ReadsBitmapResources) {
  TBitmap bmp;
  HMODULE user32 = GetModuleHandleA("user32.dll");
  ASSERT_TRUE(bmp.LoadFromResourceName(user32, MAKEINTRESOURCEA(32760))); // OBM_CHECK
  EXPECT_FALSE(bmp.Empty());
  EXPECT_GT(bmp.Width(), 4);
  EXPECT_FALSE(bmp.LoadFromResourceName(user32, "NO SUCH BITMAP"));
  EXPECT_TRUE(bmp.Empty());
}

TEST(Bitmap, GdiObjectsAreFreedAfterManyLoadsAndOperations) {
  const long baseline = TBitmap::LiveGdiObjects();
  const DWORD guiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  std::vector<HBITMAP> handles;
  const TBytes files[] = {MakeFile(16, 16, 8), MakeFile(9, 7, 24), MakeFile(5, 5, 4),
                          MakeFile(3, 33, 32)};
  for (int i = 0; i < 500; ++i) {
    TBitmap bmp;
    ASSERT_TRUE(bmp.LoadFromStream(files[i % 4]));
    bmp.CanvasHandle();
    TBitmap copy = bmp;
    copy.SetWidth(copy.Width() + 3);
    MirrorBitmap(copy);
    RotateLeft(copy);
    ReplaceMagenta(bmp, 0);
    bmp.LoadFromStream(files[(i + 1) % 4]);
    bmp.LoadFromStream(nullptr, 0);
    if (i % 100 == 0) handles.push_back(copy.Handle());
    EXPECT_LE(TBitmap::LiveGdiObjects(), baseline + 4);
  }
  EXPECT_EQ(TBitmap::LiveGdiObjects(), baseline);
  for (HBITMAP h : handles)
    EXPECT_EQ(GetObjectType(h), 0u) << "bitmap still alive";
  const DWORD guiAfter = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (guiBefore != 0) { // the count is not kept by every system
    EXPECT_LE(guiAfter, guiBefore + 2);
  }
}

// ---------------------------------------------------------------------------------------------
// Mirror, flip, rotate, magenta

TEST(ImgUtilGdi, MirrorAndFlipPixelByPixel) {
  TBitmap bmp = Patterned(5, 3);
  MirrorBitmap(bmp);
  ExpectPixels(bmp, 5, 3, [](int x, int y) { return Pattern(4 - x, y); });
  bmp = Patterned(5, 3);
  FlipBitmap(bmp);
  ExpectPixels(bmp, 5, 3, [](int x, int y) { return Pattern(x, 2 - y); });
  bmp = Patterned(4, 4);
  FlipBitmap(bmp);
  ExpectPixels(bmp, 4, 4, [](int x, int y) { return Pattern(x, 3 - y); });
  TBitmap empty;
  MirrorBitmap(empty);
  FlipBitmap(empty);
  RotateLeft(empty);
  EXPECT_TRUE(empty.Empty());
}

TEST(ImgUtilGdi, RotationsTurnAQuarterAndUndoEachOther) {
  TBitmap bmp = Patterned(5, 3);
  bmp.TransparentColor = 0x010203;
  RotateLeft(bmp); // old right column becomes the new top row
  ExpectPixels(bmp, 3, 5, [](int x, int y) { return Pattern(4 - y, x); });
  EXPECT_EQ(bmp.TransparentColor, 0x010203);
  RotateRight(bmp);
  ExpectPixels(bmp, 5, 3, Pattern);
  RotateRight(bmp); // old left column, bottom to top, becomes the new top row
  ExpectPixels(bmp, 3, 5, [](int x, int y) { return Pattern(y, 2 - x); });
  RotateLeft(bmp);
  ExpectPixels(bmp, 5, 3, Pattern);
  TBitmap one = Patterned(1, 7);
  RotateLeft(one);
  ExpectPixels(one, 7, 1, [](int x, int) { return Pattern(0, x); });
}

TEST(ImgUtilGdi, OtherDepthsAreConvertedTo24BitsFirst) {
  for (int bpp : {1, 4, 8, 16, 32}) {
    SCOPED_TRACE(bpp);
    const TBytes file = MakeFile(6, 3, bpp);
    BmpFile::TBmpImage image;
    ASSERT_TRUE(BmpFile::Decode(file.data(), file.size(), image));
    auto at = [&](int x, int y) {
      const std::uint32_t rgb = image.PixelRGB(x, y);
      return static_cast<TColor>(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
    };
    TBitmap bmp;
    ASSERT_TRUE(bmp.LoadFromStream(file));
    MirrorBitmap(bmp);
    ExpectPixels(bmp, 6, 3, [&](int x, int y) { return at(5 - x, y); });
    ASSERT_TRUE(bmp.LoadFromStream(file));
    FlipBitmap(bmp);
    ExpectPixels(bmp, 6, 3, [&](int x, int y) { return at(x, 2 - y); });
    ASSERT_TRUE(bmp.LoadFromStream(file));
    RotateLeft(bmp);
    ExpectPixels(bmp, 3, 6, [&](int x, int y) { return at(5 - y, x); });
    ASSERT_TRUE(bmp.LoadFromStream(file));
    RotateRight(bmp);
    ExpectPixels(bmp, 3, 6, [&](int x, int y) { return at(y, 2 - x); });
  }
}

TEST(ImgUtilGdi, ReplaceMagentaTouchesOnlyExactMagenta) {
  TBitmap bmp(5, 1);
  const TColor nearMagenta[] = {clMagenta, 0xFF00FE, 0xFE00FF, 0xFF01FF, clMagenta};
  for (int x = 0; x < 5; ++x)
    SetPixelOf(bmp, x, 0, nearMagenta[x]);
  ReplaceMagenta(bmp, 0x00332211 | 0x7F000000); // bits above 23 are not used
  EXPECT_EQ(PixelOf(bmp, 0, 0), 0x332211);
  EXPECT_EQ(PixelOf(bmp, 1, 0), 0xFF00FE); // (254, 0, 255)
  EXPECT_EQ(PixelOf(bmp, 2, 0), 0xFE00FF);
  EXPECT_EQ(PixelOf(bmp, 3, 0), 0xFF01FF);
  EXPECT_EQ(PixelOf(bmp, 4, 0), 0x332211);

  TBitmap pal(3, 1, pf4bit); // white, in the standard table
  ReplaceMagenta(pal, 0x0000FF);
  EXPECT_EQ(pal.PixelFormat(), pf24bit);
  EXPECT_EQ(PixelOf(pal, 0, 0), kWhite);
  pal.SetPixelFormat(pf8bit);
  HDC dc = pal.CanvasHandle();
  SetPixel(dc, 1, 0, RGB(255, 0, 255));
  ReplaceMagenta(pal, 0x0000FF);
  EXPECT_EQ(PixelOf(pal, 1, 0), 0x0000FF);
  EXPECT_EQ(PixelOf(pal, 2, 0), kWhite);
}

// ---------------------------------------------------------------------------------------------
// Gradient fill

TEST_F(Gradient, VerticalFillPaintsOnlyStripsInsideTheClipBoxWithFullGradientColours) {
  TClippedCanvas canvas({0, 10, 40, 24});
  const RECT rect{5, 3, 35, 18}; // 15 steps, steps 7..14 visible
  FillGradient(canvas.Dc, rect, 0x0000FF, true, 0xFF0000);
  const std::vector<TColor> full = GradientRamp(GetGradient(15, 0x0000FF, 0xFF0000));
  ExpectPixels(canvas.Bmp, 40, 24, [&](int x, int y) {
    if (x < 5 || x >= 35 || y < 10 || y >= 18) return kWhite;
    return full[static_cast<std::size_t>(y - 3)];
  });
  EXPECT_NE(full[7], full[14]);
}

TEST_F(Gradient, HorizontalFillClippedAtBothEnds) {
  TClippedCanvas canvas({12, 0, 20, 24});
  const RECT rect{2, 4, 32, 8};
  FillGradient(canvas.Dc, rect, 0x00FF00, false, 0x0000FF);
  const std::vector<TColor> full = GradientRamp(GetGradient(30, 0x00FF00, 0x0000FF));
  ExpectPixels(canvas.Bmp, 40, 24, [&](int x, int y) {
    if (x < 12 || x >= 20 || y < 4 || y >= 8) return kWhite;
    return full[static_cast<std::size_t>(x - 2)];
  });
}

TEST_F(Gradient, InvisibleOrEmptyRectanglesPaintNothingAndTakeNoSlot) {
  TClippedCanvas canvas({0, 0, 10, 10});
  FillGradient(canvas.Dc, RECT{20, 20, 30, 30}, 0, true, 0xFFFFFF);
  FillGradient(canvas.Dc, RECT{5, 5, 5, 9}, 0, false, 0xFFFFFF);
  FillGradient(canvas.Dc, RECT{5, 9, 8, 5}, 0, true, 0xFFFFFF);
  ExpectPixels(canvas.Bmp, 40, 24, [](int, int) { return kWhite; });
  EXPECT_EQ(GetGradient(3, 1, 2), 0);
}

TEST_F(Gradient, SystemColoursAreResolvedThroughGetSysColor) {
  TBitmap bmp(4, 4);
  const TColor btnFace = static_cast<TColor>(0x80000000 | COLOR_BTNFACE);
  FillGradient(bmp.CanvasHandle(), RECT{0, 0, 4, 4}, btnFace, true, btnFace);
  const TColor face = static_cast<TColor>(GetSysColor(COLOR_BTNFACE));
  ExpectPixels(bmp, 4, 4, [&](int, int) { return face; });
  EXPECT_EQ(MixColors(btnFace, 0, 1000), face);
  EXPECT_EQ(ColorToRGB(static_cast<TColor>(0xFF000000 | COLOR_WINDOWTEXT)),
            static_cast<TColor>(GetSysColor(COLOR_WINDOWTEXT)));
}

TEST_F(Gradient, VeryLongGradientsArePaintedWithoutCaching) {
  TClippedCanvas canvas({0, 0, 40, 24});
  const RECT rect{0, -200000, 40, 200000};
  FillGradient(canvas.Dc, rect, 0, true, 0xFFFFFF);
  ExpectPixels(canvas.Bmp, 40, 24,
               [&](int, int y) { return GradientEntry(400000, 0, 0xFFFFFF, 200000 + y); });
  EXPECT_TRUE(GradientRamp(0).empty());
}

TEST_F(Gradient, FillingAnImageGivesTheCanvasFillsPixels) {
  // Inside, across the edges, outside, empty, very long; both directions; a system colour.
  const RECT rects[] = {{0, 0, 40, 24},   {3, 2, 31, 20}, {-5, -4, 12, 30},        {30, 10, 60, 40},
                        {50, 50, 60, 60}, {5, 5, 5, 20},  {0, -200000, 40, 200000}};
  const TColor system = static_cast<TColor>(0x80000000u | COLOR_BTNFACE);
  for (bool vertical : {true, false})
    for (const RECT& r : rects) {
      SCOPED_TRACE(testing::Message() << vertical << " " << r.left << "," << r.top);
      TBitmap viaCanvas(40, 24, pf24bit), direct(40, 24, pf24bit);
      FillGradient(viaCanvas.CanvasHandle(), r, system, vertical, 0xF0E0D0);
      FillGradient(direct, r, system, vertical, 0xF0E0D0);
      EXPECT_FALSE(direct.HasHandle()); // 24 bits: written into the rows
      ExpectPixels(direct, 40, 24, [&](int x, int y) { return PixelOf(viaCanvas, x, y); });
    }
  // Other depths are painted through the image's canvas, which is let go after.
  TBitmap viaCanvas(9, 7, pf8bit), direct(9, 7, pf8bit);
  FillGradient(viaCanvas.CanvasHandle(), RECT{0, 0, 9, 7}, 0x0000FF, false, 0xFF0000);
  viaCanvas.ReleaseCanvas();
  FillGradient(direct, RECT{0, 0, 9, 7}, 0x0000FF, false, 0xFF0000);
  TBytes a, b;
  viaCanvas.SaveToStream(a);
  direct.SaveToStream(b);
  EXPECT_EQ(a, b);
  EXPECT_EQ(RgbAt(direct, 0, 3), 0xFF0000u);
}
