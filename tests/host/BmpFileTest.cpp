#include "BmpFile.h"
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

using namespace BmpFile;

namespace {

using TBytes = std::vector<std::uint8_t>;

void Put16(TBytes& b, std::uint32_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(TBytes& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

// The fields of a BMP file to build; pixels are the stored rows, as the file holds them.
struct TFileFields {
  std::uint32_t HeaderSize = 40;
  std::int32_t Width = 0, Height = 0;
  std::uint16_t Planes = 1, Bpp = 24;
  std::uint32_t Compression = 0, ColorsUsed = 0;
  std::vector<std::uint32_t> Masks;   // after a 40-byte header, or inside a longer one
  std::vector<std::uint32_t> Palette; // 0x00RRGGBB
  TBytes Pixels;
  std::optional<std::uint32_t> OffBits, FileSize;
};

TBytes Build(const TFileFields& s) {
  TBytes info;
  if (s.HeaderSize == 12) {
    Put32(info, 12);
    Put16(info, static_cast<std::uint32_t>(s.Width));
    Put16(info, static_cast<std::uint32_t>(s.Height));
    Put16(info, s.Planes);
    Put16(info, s.Bpp);
  } else {
    Put32(info, s.HeaderSize);
    Put32(info, static_cast<std::uint32_t>(s.Width));
    Put32(info, static_cast<std::uint32_t>(s.Height));
    Put16(info, s.Planes);
    Put16(info, s.Bpp);
    Put32(info, s.Compression);
    Put32(info, static_cast<std::uint32_t>(s.Pixels.size()));
    Put32(info, 0);
    Put32(info, 0);
    Put32(info, s.ColorsUsed);
    Put32(info, 0);
    if (s.HeaderSize > 40)
      for (std::size_t i = 0; i < 4 && info.size() < s.HeaderSize; ++i)
        Put32(info, i < s.Masks.size() ? s.Masks[i] : 0);
    info.resize(std::min<std::uint32_t>(s.HeaderSize, 256), 0);
    if (s.HeaderSize == 40)
      for (std::uint32_t m : s.Masks)
        Put32(info, m);
  }
  for (std::uint32_t c : s.Palette) {
    info.push_back(static_cast<std::uint8_t>(c));
    info.push_back(static_cast<std::uint8_t>(c >> 8));
    info.push_back(static_cast<std::uint8_t>(c >> 16));
    if (s.HeaderSize != 12) info.push_back(0);
  }
  TBytes file{'B', 'M'};
  const std::uint32_t off = s.OffBits.value_or(static_cast<std::uint32_t>(14 + info.size()));
  Put32(file, s.FileSize.value_or(static_cast<std::uint32_t>(off + s.Pixels.size())));
  Put32(file, 0);
  Put32(file, off);
  file.insert(file.end(), info.begin(), info.end());
  if (off > file.size() && off < file.size() + 4096) file.resize(off, 0);
  file.insert(file.end(), s.Pixels.begin(), s.Pixels.end());
  return file;
}

// 3 x 2, 24 bits, bottom-up: bottom row blue, green, red; top row white, black, grey.
TFileFields Small24() {
  TFileFields s;
  s.Width = 3;
  s.Height = 2;
  s.Pixels = {255, 0,   0,   0, 255, 0, 0,   0,   255, 0, 0, 0,  // bottom row + pad
              255, 255, 255, 0, 0,   0, 128, 128, 128, 0, 0, 0}; // top row + pad
  return s;
}

TBmpImage MustDecode(const TBytes& file) {
  TBmpImage image;
  EXPECT_TRUE(Decode(file.data(), file.size(), image));
  return image;
}

void ExpectRefused(const TBytes& file, const char* why) {
  TBmpImage image = Create(2, 2, 24);
  EXPECT_FALSE(Decode(file.data(), file.size(), image)) << why;
  EXPECT_TRUE(image.Empty()) << why;
  EXPECT_TRUE(image.Pixels.empty()) << why;
}

std::vector<std::uint32_t> AllPixels(const TBmpImage& image) {
  std::vector<std::uint32_t> out;
  for (int y = 0; y < image.Height; ++y)
    for (int x = 0; x < image.Width; ++x)
      out.push_back(image.PixelRGB(x, y));
  return out;
}

const std::vector<std::uint32_t> kSmallColours{0xFFFFFF, 0x000000, 0x808080,
                                               0x0000FF, 0x00FF00, 0xFF0000};

} // namespace

TEST(BmpDecode, TwentyFourBitsBottomUpAndTopDownGiveTopRowFirst) {
  const TBmpImage up = MustDecode(Build(Small24()));
  EXPECT_EQ(up.Width, 3);
  EXPECT_EQ(up.Height, 2);
  EXPECT_EQ(up.BitsPerPixel, 24);
  EXPECT_EQ(up.RowBytes(), 12u);
  EXPECT_EQ(AllPixels(up), kSmallColours);

  TFileFields down = Small24();
  down.Height = -2;
  std::rotate(down.Pixels.begin(), down.Pixels.begin() + 12, down.Pixels.end());
  EXPECT_EQ(AllPixels(MustDecode(Build(down))), kSmallColours);
}

TEST(BmpDecode, ThirtyTwoBitsPlainStandardFieldsAndOtherFields) {
  TFileFields s;
  s.Width = 2;
  s.Height = 1;
  s.Bpp = 32;
  s.Pixels = {1, 2, 3, 0x44, 0xFF, 0, 0x80, 0x99};
  TBmpImage plain = MustDecode(Build(s));
  EXPECT_EQ(plain.BitsPerPixel, 32);
  EXPECT_EQ(AllPixels(plain), (std::vector<std::uint32_t>{0x030201, 0x8000FF}));
  EXPECT_EQ(plain.Row(0)[3], 0x44); // the fourth byte is kept

  s.Compression = 3;
  s.Masks = {0xFF0000, 0xFF00, 0xFF};
  EXPECT_EQ(MustDecode(Build(s)).Pixels, plain.Pixels);

  // Red in the low byte, blue in the high one, alpha on top of a V4-sized header.
  s.HeaderSize = 108;
  s.Masks = {0xFF, 0xFF00, 0xFF0000, 0xFF000000};
  const TBmpImage swapped = MustDecode(Build(s));
  EXPECT_EQ(swapped.BitsPerPixel, 32);
  EXPECT_EQ(AllPixels(swapped), (std::vector<std::uint32_t>{0x010203, 0xFF0080}));
  EXPECT_EQ(swapped.Row(0)[3], 0x44);
  EXPECT_EQ(swapped.Row(0)[7], 0x99);
}

TEST(BmpDecode, SixteenBitsFiveFiveFiveFiveSixFiveAndOtherFields) {
  TFileFields s;
  s.Width = 3;
  s.Height = 1;
  s.Bpp = 16;
  // 555: pure red, pure green, one step of blue.
  s.Pixels = {0x00, 0x7C, 0xE0, 0x03, 0x01, 0x00, 0, 0};
  TBmpImage rgb555 = MustDecode(Build(s));
  EXPECT_EQ(rgb555.BitsPerPixel, 16);
  EXPECT_FALSE(rgb555.Is565);
  EXPECT_EQ(AllPixels(rgb555), (std::vector<std::uint32_t>{0xFF0000, 0x00FF00, 0x000008}));

  s.Compression = 3;
  s.Masks = {0xF800, 0x07E0, 0x001F};
  s.Pixels = {0x00, 0xF8, 0x20, 0x00, 0x10, 0x84, 0, 0}; // red, lowest green, mid grey
  const TBmpImage rgb565 = MustDecode(Build(s));
  EXPECT_TRUE(rgb565.Is565);
  EXPECT_EQ(AllPixels(rgb565), (std::vector<std::uint32_t>{0xFF0000, 0x000400, 0x848284}));

  s.Masks = {0x0F00, 0x00F0, 0x000F}; // 4-4-4: read into 24 bits
  s.Pixels = {0x00, 0x0F, 0xF0, 0x00, 0x21, 0x03, 0, 0};
  const TBmpImage rgb444 = MustDecode(Build(s));
  EXPECT_EQ(rgb444.BitsPerPixel, 24);
  EXPECT_EQ(AllPixels(rgb444), (std::vector<std::uint32_t>{0xFF0000, 0x00FF00, 0x332211}));
}

TEST(BmpDecode, PalettisedDepthsWithShortTablesAndOddWidths) {
  TFileFields s8;
  s8.Width = 3;
  s8.Height = 1;
  s8.Bpp = 8;
  s8.ColorsUsed = 2;
  s8.Palette = {0x112233, 0xFF00FF};
  s8.Pixels = {1, 0, 200, 0}; // index 200 lies beyond the short table: black
  const TBmpImage i8 = MustDecode(Build(s8));
  EXPECT_EQ(i8.BitsPerPixel, 8);
  EXPECT_EQ(i8.Palette.size(), 256u);
  EXPECT_EQ(AllPixels(i8), (std::vector<std::uint32_t>{0xFF00FF, 0x112233, 0}));

  TFileFields s4;
  s4.Width = 3;
  s4.Height = 2;
  s4.Bpp = 4;
  s4.Palette.assign(16, 0);
  s4.Palette[1] = 0xAA0000;
  s4.Palette[15] = 0x00BB00;
  s4.Pixels = {0xF1, 0x00, 0, 0, 0x1F, 0x10, 0, 0}; // bottom: 15 1 0; top: 1 15 1
  EXPECT_EQ(AllPixels(MustDecode(Build(s4))),
            (std::vector<std::uint32_t>{0xAA0000, 0x00BB00, 0xAA0000, 0x00BB00, 0xAA0000, 0}));

  TFileFields s1;
  s1.Width = 10;
  s1.Height = 1;
  s1.Bpp = 1;
  s1.Palette = {0x000000, 0xFFFFFF};
  s1.Pixels = {0xA5, 0xC0, 0, 0}; // 1010 0101 11
  const TBmpImage i1 = MustDecode(Build(s1));
  EXPECT_EQ(AllPixels(i1), (std::vector<std::uint32_t>{0xFFFFFF, 0, 0xFFFFFF, 0, 0, 0xFFFFFF, 0,
                                                       0xFFFFFF, 0xFFFFFF, 0xFFFFFF}));
}

TEST(BmpDecode, CoreHeaderWithThreeByteColourTable) {
  TFileFields s;
  s.HeaderSize = 12;
  s.Width = 2;
  s.Height = 2;
  s.Bpp = 8;
  s.Palette.assign(256, 0);
  s.Palette[7] = 0x123456;
  s.Pixels = {7, 0, 0, 0, 0, 7, 0, 0};
  EXPECT_EQ(AllPixels(MustDecode(Build(s))),
            (std::vector<std::uint32_t>{0, 0x123456, 0x123456, 0}));
  TFileFields c24 = Small24();
  c24.HeaderSize = 12;
  EXPECT_EQ(AllPixels(MustDecode(Build(c24))), kSmallColours);
}

TEST(BmpDecode, FileSizeFieldAndPixelOffset) {
  TFileFields s = Small24();
  s.FileSize = 0; // unknown: the bytes given count
  EXPECT_EQ(AllPixels(MustDecode(Build(s))), kSmallColours);
  TBytes trailing = Build(Small24());
  trailing.resize(trailing.size() + 100, 0xEE); // bytes past the stated size are ignored
  EXPECT_EQ(AllPixels(MustDecode(trailing)), kSmallColours);
  s.FileSize.reset();
  s.OffBits = 14 + 40 + 30; // a gap between headers and pixels
  EXPECT_EQ(AllPixels(MustDecode(Build(s))), kSmallColours);
}

TEST(BmpDecode, HeadersThatLieAreRefused) {
  const TBytes good = Build(Small24());
  ExpectRefused({}, "empty");
  ExpectRefused(TBytes(good.begin(), good.begin() + 20), "cut in the info header");
  ExpectRefused(TBytes(good.begin(), good.end() - 1), "one pixel byte missing");
  TBytes notBm = good;
  notBm[1] = 'A';
  ExpectRefused(notBm, "signature");

  auto refuse = [](TFileFields s, const char* why) { ExpectRefused(Build(s), why); };
  TFileFields s = Small24();
  s.FileSize = static_cast<std::uint32_t>(good.size() + 1);
  refuse(s, "file size larger than the bytes");
  s = Small24();
  s.FileSize = static_cast<std::uint32_t>(good.size() - 4);
  refuse(s, "pixels past the stated file size");
  s = Small24();
  s.OffBits = 14 + 20;
  refuse(s, "pixel offset inside the info header");
  s = Small24();
  s.OffBits = 10;
  refuse(s, "pixel offset inside the file header");
  s = Small24();
  s.OffBits = 0xFFFFFFF0u;
  s.FileSize = 0;
  refuse(s, "pixel offset past the end");
  s = Small24();
  s.Planes = 2;
  refuse(s, "planes");
  for (std::uint16_t bpp : {0, 2, 7, 15, 48, 64}) {
    s = Small24();
    s.Bpp = bpp;
    refuse(s, "depth");
  }
  for (std::int32_t w : {0, -3}) {
    s = Small24();
    s.Width = w;
    refuse(s, "width");
  }
  for (std::int32_t h : {0, INT32_MIN}) {
    s = Small24();
    s.Height = h;
    refuse(s, "height");
  }
  for (std::uint32_t hs : {0u, 16u, 39u, 64u, 200u, 0xFFFFFFFFu}) {
    s = Small24();
    s.HeaderSize = hs;
    refuse(s, "header size");
  }
  for (std::uint32_t c : {1u, 2u, 4u, 5u, 99u}) {
    s = Small24();
    s.Compression = c;
    refuse(s, "compression");
  }
}

TEST(BmpDecode, AbsurdDimensionsAreRefusedBeforeAnyAllocation) {
  TFileFields s = Small24();
  s.Width = 1 << 14;
  s.Height = (1 << 12) + 1; // just over 64 Mpixel
  ExpectRefused(Build(s), "over 64 Mpixel");
  s.Width = INT32_MAX;
  s.Height = -INT32_MAX;
  ExpectRefused(Build(s), "2^62 pixels");
  s.Width = 1 << 13;
  s.Height = 1 << 13; // within the bound but the bytes are not there
  ExpectRefused(Build(s), "pixels not present");
}

TEST(BmpDecode, PalettesAndMasksThatLieAreRefused) {
  TFileFields s;
  s.Width = 1;
  s.Height = 1;
  s.Bpp = 4;
  s.ColorsUsed = 17;
  s.Palette.assign(17, 0);
  s.Pixels = {0, 0, 0, 0};
  ExpectRefused(Build(s), "more colours than the depth holds");
  s.ColorsUsed = 0;
  s.Palette.assign(4, 0); // a full table of 16 is expected
  s.OffBits = 14 + 40 + 16;
  ExpectRefused(Build(s), "table overlaps the pixels");
  s.OffBits.reset();
  s.FileSize = 0;
  s.Pixels.clear();
  s.Palette.clear();
  ExpectRefused(Build(s), "table past the end");

  TFileFields f;
  f.Width = 1;
  f.Height = 1;
  f.Bpp = 16;
  f.Compression = 3;
  f.Pixels = {0, 0, 0, 0};
  for (const auto& masks :
       std::vector<std::vector<std::uint32_t>>{{0xF800, 0x0FE0, 0x001F}, // overlapping
                                               {0xF800, 0x07E0, 0x0000}, // a colour without bits
                                               {0xF100, 0x07E0, 0x001F}, // not one run of bits
                                               {0x1F0000, 0x07E0, 0x001F}}) { // beyond 16 bits
    f.Masks = masks;
    ExpectRefused(Build(f), "masks");
  }
  f.Masks = {0xF800, 0x07E0, 0x001F};
  f.HeaderSize = 56; // alpha mask overlapping green
  f.Masks.push_back(0x0100);
  ExpectRefused(Build(f), "alpha mask");
  f.HeaderSize = 40;
  f.Masks.resize(2);
  f.FileSize = 0;
  TBytes cut = Build(f);
  cut.resize(14 + 40 + 8); // the third mask is cut off by the end of the data
  ExpectRefused(cut, "masks past the end");
  TFileFields f24 = Small24();
  f24.Compression = 3;
  f24.Masks = {0xFF0000, 0xFF00, 0xFF};
  ExpectRefused(Build(f24), "bit fields on 24 bits");
}

TEST(BmpDecode, EveryTruncationIsRefused) {
  for (TFileFields s : {Small24(), [] {
                          TFileFields p;
                          p.Width = 5;
                          p.Height = 3;
                          p.Bpp = 8;
                          p.Palette.assign(256, 0x010101);
                          p.Pixels.assign(24, 3);
                          return p;
                        }()}) {
    s.FileSize = 0;
    const TBytes file = Build(s);
    for (std::size_t n = 0; n < file.size(); ++n) {
      TBmpImage image;
      EXPECT_FALSE(Decode(file.data(), n, image)) << n;
    }
  }
}

TEST(BmpEncode, RoundTripsEveryCanonicalDepth) {
  for (int bpp : {1, 4, 8, 16, 24, 32}) {
    for (bool is565 : {false, true}) {
      if (is565 && bpp != 16) continue;
      TBmpImage image = Create(7, 3, bpp, is565);
      ASSERT_FALSE(image.Empty());
      for (std::size_t i = 0; i < image.Palette.size(); ++i)
        image.Palette[i] = static_cast<std::uint32_t>(i * 0x010307) & 0xFFFFFF;
      for (int y = 0; y < image.Height; ++y)
        for (std::size_t i = 0; i < image.RowBytes(); ++i)
          image.Row(y)[i] = static_cast<std::uint8_t>(y * 31 + i * 7 + 1);
      const TBytes file = Encode(image);
      TBmpImage back;
      ASSERT_TRUE(Decode(file.data(), file.size(), back)) << bpp;
      EXPECT_EQ(back.BitsPerPixel, bpp);
      EXPECT_EQ(back.Is565, is565);
      EXPECT_EQ(back.Palette, image.Palette);
      EXPECT_EQ(AllPixels(back), AllPixels(image)) << bpp;
      EXPECT_EQ(back.Pixels, image.Pixels) << bpp;
    }
  }
}

TEST(BmpEncode, EmptyOrInconsistentImagesGiveNoBytes) {
  EXPECT_TRUE(Encode(TBmpImage()).empty());
  TBmpImage broken = Create(4, 4, 24);
  broken.Pixels.pop_back();
  EXPECT_TRUE(Encode(broken).empty());
  TBmpImage noPalette = Create(4, 4, 8);
  noPalette.Palette.resize(16);
  EXPECT_TRUE(Encode(noPalette).empty());
  EXPECT_TRUE(Create(0, 4, 24).Empty());
  EXPECT_TRUE(Create(4, 4, 12).Empty());
  EXPECT_TRUE(Create(1 << 16, 1 << 11, 24).Empty());
}

TEST(BmpConvert, AnyDepthTo24KeepsColours) {
  TFileFields s;
  s.Width = 3;
  s.Height = 1;
  s.Bpp = 4;
  s.Palette.assign(16, 0);
  s.Palette[2] = 0xFF00FF;
  s.Palette[3] = 0x102030;
  s.Pixels = {0x23, 0x20, 0, 0};
  const TBmpImage four = MustDecode(Build(s));
  const TBmpImage rgb = ConvertTo24(four);
  EXPECT_EQ(rgb.BitsPerPixel, 24);
  EXPECT_TRUE(rgb.Palette.empty());
  EXPECT_EQ(AllPixels(rgb), (std::vector<std::uint32_t>{0xFF00FF, 0x102030, 0xFF00FF}));
  EXPECT_EQ(rgb.Row(0)[0], 0xFF); // blue, green, red bytes
  EXPECT_EQ(rgb.Row(0)[1], 0x00);
  EXPECT_EQ(rgb.Row(0)[5], 0x10);
  EXPECT_TRUE(ConvertTo24(TBmpImage()).Empty());
}

TEST(BmpDecodeDib, PackedDibFindsPixelsAfterTableAndMasks) {
  TFileFields s;
  s.Width = 2;
  s.Height = 1;
  s.Bpp = 8;
  s.ColorsUsed = 3;
  s.Palette = {0x0000FF, 0x00FF00, 0xFF0000};
  s.Pixels = {2, 1, 0, 0};
  const TBytes file = Build(s);
  TBmpImage image;
  ASSERT_TRUE(DecodeDib(file.data() + 14, file.size() - 14, image));
  EXPECT_EQ(AllPixels(image), (std::vector<std::uint32_t>{0xFF0000, 0x00FF00}));

  TFileFields f;
  f.Width = 1;
  f.Height = 1;
  f.Bpp = 16;
  f.Compression = 3;
  f.Masks = {0xF800, 0x07E0, 0x001F};
  f.Pixels = {0x1F, 0x00, 0, 0};
  const TBytes ff = Build(f);
  ASSERT_TRUE(DecodeDib(ff.data() + 14, ff.size() - 14, image));
  EXPECT_EQ(AllPixels(image), (std::vector<std::uint32_t>{0x0000FF}));
  EXPECT_FALSE(DecodeDib(ff.data() + 14, ff.size() - 15, image));
  EXPECT_TRUE(image.Empty());
  EXPECT_FALSE(DecodeDib(nullptr, 0, image));
}
