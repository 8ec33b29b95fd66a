// A 24-bit RGB picture in memory and its encoding as a Windows BMP file (uncompressed,
// bottom-up rows padded to four bytes), the format every image of a skin archive uses.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace SkinGen {

struct TRgb {
  std::uint8_t R = 0, G = 0, B = 0;
  friend bool operator==(const TRgb&, const TRgb&) = default;
};

// The transparent key colour of skin images.
inline constexpr TRgb kMagenta{255, 0, 255};

// Weighted mix of two colours: `a` with weight num/den, `b` with the rest, rounded to nearest.
TRgb Mix(TRgb a, TRgb b, int num, int den);
// Linear ramp from `a` (at step 0) to `b` (at step `last`).
inline TRgb Ramp(TRgb a, TRgb b, int step, int last) {
  return last <= 0 ? a : Mix(b, a, step, last);
}

class TBitmap24 {
public:
  TBitmap24() = default;
  TBitmap24(int width, int height, TRgb fill = {});

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < FWidth && y < FHeight; }
  TRgb Get(int x, int y) const { return FPixels[Index(x, y)]; }
  // Writes one pixel; points outside the picture are ignored.
  void Set(int x, int y, TRgb c) {
    if (Inside(x, y)) FPixels[Index(x, y)] = c;
  }
  void FillRect(int x0, int y0, int x1, int y1, TRgb c); // [x0, x1) x [y0, y1), clipped
  // Copies the w x h block at (sx, sy) of `src` to (dx, dy); both sides are clipped.
  void Blit(const TBitmap24& src, int sx, int sy, int w, int h, int dx, int dy);
  // The w x h block at (x, y).
  TBitmap24 Crop(int x, int y, int w, int h) const;

  // The complete BMP file: "BM" header, 40-byte info header, 24 bits per pixel.
  std::vector<std::uint8_t> EncodeBmp() const;

private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(FWidth) +
           static_cast<std::size_t>(x);
  }
  int FWidth = 0, FHeight = 0;
  std::vector<TRgb> FPixels;
};

// One image of a skin and the archive entry it goes to.
struct TSkinImage {
  std::string Name; // archive entry name, lower case, with ".bmp"
  TBitmap24 Image;
};

// Pictures of equal height side by side (a horizontal strip of state cells).
TBitmap24 JoinHorizontal(const std::vector<TBitmap24>& cells);
// Pictures of equal width stacked top to bottom (a vertical strip).
TBitmap24 JoinVertical(const std::vector<TBitmap24>& cells);

} // namespace SkinGen
