// resgen: draws the bitmaps the program carries as its own resources and writes them as BMP
// files into a folder, for the resource script to embed:
//
//   TRACK.bmp        a horizontal track-bar channel (sunken, 3-pixel edges, one cell)
//   TRACKVERT.bmp    the same channel standing up
//   TARPAULMENU.bmp  16 x 16 system-menu glyphs on white: restore, maximize, minimize, close
//
//   resgen <out-folder>
//
// The output is the same byte for byte on every run.
#include "BmpFile.h"

#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct TRgb {
  std::uint8_t R, G, B;
};

constexpr TRgb kWhite{255, 255, 255};
constexpr TRgb kGlyph{0, 0, 0};
constexpr TRgb kChannelOuterShadow{160, 166, 176};
constexpr TRgb kChannelInnerShadow{118, 124, 134};
constexpr TRgb kChannelLight{255, 255, 255};
constexpr TRgb kChannelInnerLight{226, 229, 234};
constexpr TRgb kChannelFill{208, 212, 219};

class TImage {
public:
  TImage(int width, int height, TRgb fill) : FImage(BmpFile::Create(width, height, 24)) {
    if (FImage.Empty()) throw std::runtime_error("cannot make an image");
    FillRect(0, 0, width, height, fill);
  }
  int Width() const { return FImage.Width; }
  int Height() const { return FImage.Height; }
  void Set(int x, int y, TRgb c) {
    if (x < 0 || y < 0 || x >= FImage.Width || y >= FImage.Height) return;
    std::uint8_t* p = FImage.Row(y) + x * 3;
    p[0] = c.B;
    p[1] = c.G;
    p[2] = c.R;
  }
  // Fills [left, right) x [top, bottom).
  void FillRect(int left, int top, int right, int bottom, TRgb c) {
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x)
        Set(x, y, c);
  }
  void Frame(int left, int top, int right, int bottom, TRgb c) {
    FillRect(left, top, right, top + 1, c);
    FillRect(left, bottom - 1, right, bottom, c);
    FillRect(left, top, left + 1, bottom, c);
    FillRect(right - 1, top, right, bottom, c);
  }
  // The image turned a quarter: pixel (x, y) goes to (y, x).
  TImage Transposed() const {
    TImage t(Height(), Width(), kWhite);
    for (int y = 0; y < Height(); ++y)
      for (int x = 0; x < Width(); ++x) {
        const std::uint8_t* p = FImage.Row(y) + x * 3;
        t.Set(y, x, TRgb{p[2], p[1], p[0]});
      }
    return t;
  }
  std::vector<std::uint8_t> Encode() const { return BmpFile::Encode(FImage); }

private:
  BmpFile::TBmpImage FImage;
};

// A sunken channel, 3 pixels of edge on each side (the element's margins) around a flat middle.
TImage TrackChannel() {
  const int w = 16, h = 8;
  TImage c(w, h, kChannelFill);
  // Outer edge: shadow on top and left, light on bottom and right.
  c.FillRect(0, 0, w, 1, kChannelOuterShadow);
  c.FillRect(0, 0, 1, h, kChannelOuterShadow);
  c.FillRect(0, h - 1, w, h, kChannelLight);
  c.FillRect(w - 1, 0, w, h, kChannelLight);
  // Inner edge.
  c.FillRect(1, 1, w - 1, 2, kChannelInnerShadow);
  c.FillRect(1, 1, 2, h - 1, kChannelInnerShadow);
  c.FillRect(1, h - 2, w - 1, h - 1, kChannelInnerLight);
  c.FillRect(w - 2, 1, w - 1, h - 1, kChannelInnerLight);
  // Third ring: a softer shadow that fades into the middle.
  c.FillRect(2, 2, w - 2, 3, kChannelInnerLight);
  c.FillRect(2, 2, 3, h - 2, kChannelInnerLight);
  return c;
}

// The system-menu glyphs, one 16 x 16 cell each, black on white.
TImage MenuGlyphs() {
  TImage g(64, 16, kWhite);
  // 0: restore, two windows, the front one lower left.
  g.Frame(6, 3, 13, 9, kGlyph);
  g.FillRect(6, 4, 13, 5, kGlyph);
  g.FillRect(3, 6, 10, 13, kWhite);
  g.Frame(3, 6, 10, 13, kGlyph);
  g.FillRect(3, 7, 10, 8, kGlyph);
  // 1: maximize, one window with a thick title bar.
  g.Frame(16 + 3, 3, 16 + 13, 13, kGlyph);
  g.FillRect(16 + 3, 4, 16 + 13, 5, kGlyph);
  // 2: minimize, a bar at the bottom.
  g.FillRect(32 + 4, 10, 32 + 11, 12, kGlyph);
  // 3: close, a cross two pixels wide.
  for (int i = 0; i < 8; ++i) {
    g.FillRect(48 + 4 + i, 4 + i, 48 + 6 + i, 5 + i, kGlyph);
    g.FillRect(48 + 10 - i, 4 + i, 48 + 12 - i, 5 + i, kGlyph);
  }
  return g;
}

void Write(const fs::path& path, const TImage& image) {
  const std::vector<std::uint8_t> bytes = image.Encode();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: resgen <out-folder>\n");
    return 2;
  }
  try {
    const fs::path dir = argv[1];
    fs::create_directories(dir);
    const TImage track = TrackChannel();
    Write(dir / "TRACK.bmp", track);
    Write(dir / "TRACKVERT.bmp", track.Transposed());
    Write(dir / "TARPAULMENU.bmp", MenuGlyphs());
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "resgen: %s\n", e.what());
    return 1;
  }
}
