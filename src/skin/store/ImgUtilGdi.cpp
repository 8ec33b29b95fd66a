// The image helpers that work on bitmaps and device contexts (Windows only).
#include "ImgUtil.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "../../toolkit/Bitmap.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace ImgUtil {

namespace {

// Longest gradient kept in the ramp cache; longer ones are painted entry by entry.
constexpr int kMaxCachedRamp = 1 << 16;

void Ensure24(TBitmap& image) {
  if (image.PixelFormat() != pf24bit) image.SetPixelFormat(pf24bit);
}

// Puts `turned` in place of the image's content, keeping the image's own settings.
void Replace(TBitmap& image, TBitmap&& turned) {
  turned.TransparentColor = image.TransparentColor;
  turned.Transparent = image.Transparent;
  image = std::move(turned);
}

} // namespace

std::uint32_t GdiSysColor(int index) {
  return GetSysColor(index);
}

void ReplaceMagenta(TBitmap& image, TColor color) {
  const std::uint8_t r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
  Ensure24(image);
  if (image.Empty()) return;
  for (int y = 0; y < image.Height(); ++y) {
    std::uint8_t* p = image.ScanLine(y);
    for (int x = 0; x < image.Width(); ++x, p += 3) {
      if (p[0] == 0xFF && p[1] == 0 && p[2] == 0xFF) {
        p[0] = b;
        p[1] = g;
        p[2] = r;
      }
    }
  }
}

void MirrorBitmap(TBitmap& image) {
  if (image.Empty()) return;
  Ensure24(image);
  const int w = image.Width();
  for (int y = 0; y < image.Height(); ++y) {
    std::uint8_t* row = image.ScanLine(y);
    for (int x = 0; x < w / 2; ++x)
      for (int c = 0; c < 3; ++c)
        std::swap(row[3 * x + c], row[3 * (w - 1 - x) + c]);
  }
}

void FlipBitmap(TBitmap& image) {
  if (image.Empty()) return;
  Ensure24(image);
  const std::size_t bytes = static_cast<std::size_t>(image.Width()) * 3;
  for (int y = 0, z = image.Height() - 1; y < z; ++y, --z)
    std::swap_ranges(image.ScanLine(y), image.ScanLine(y) + bytes, image.ScanLine(z));
}

namespace {
// Turns a 24-bit copy of the image a quarter round: to the left, old (x, y) goes to column y of
// new row (w - 1 - x); to the right, to column (h - 1 - y) of new row x.
void Rotate(TBitmap& image, bool left) {
  if (image.Empty()) return;
  Ensure24(image);
  const int w = image.Width(), h = image.Height();
  TBitmap turned(h, w, pf24bit);
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* src = image.ScanLine(y);
    for (int x = 0; x < w; ++x)
      std::copy_n(src + 3 * x, 3,
                  left ? turned.ScanLine(w - 1 - x) + 3 * y : turned.ScanLine(x) + 3 * (h - 1 - y));
  }
  Replace(image, std::move(turned));
}
} // namespace

void RotateLeft(TBitmap& image) {
  Rotate(image, true);
}

void RotateRight(TBitmap& image) {
  Rotate(image, false);
}

void FillGradient(HDC dc, const RECT& rect, TColor startColor, bool vertical, TColor endColor) {
  if (!RectVisible(dc, &rect)) return;
  startColor = ColorToRGB(startColor);
  endColor = ColorToRGB(endColor);
  RECT clip;
  GetClipBox(dc, &clip);
  const std::int64_t from = vertical ? rect.top : rect.left;
  const std::int64_t to = vertical ? rect.bottom : rect.right;
  const std::int64_t clipFrom = vertical ? clip.top : clip.left;
  const std::int64_t clipTo = vertical ? clip.bottom : clip.right;
  const std::int64_t n = to - from;
  if (n <= 0) return;
  const std::int64_t first = clipFrom > from ? clipFrom - from : 0;
  const std::int64_t last = clipTo < to ? clipTo - from - 1 : n - 1;
  const std::vector<TColor>* ramp = nullptr;
  if (n <= kMaxCachedRamp)
    ramp = &GradientRamp(GetGradient(static_cast<int>(n), startColor, endColor));
  for (std::int64_t step = first; step <= last; ++step) {
    const TColor color = ramp ? (*ramp)[static_cast<std::size_t>(step)]
                              : GradientEntry(n, startColor, endColor, step);
    RECT strip = rect;
    if (vertical) {
      strip.top = static_cast<LONG>(from + step);
      strip.bottom = strip.top + 1;
    } else {
      strip.left = static_cast<LONG>(from + step);
      strip.right = strip.left + 1;
    }
    const TBrushHandle brush(CreateSolidBrush(static_cast<COLORREF>(color)));
    FillRect(dc, &strip, brush.Get());
  }
}

void FillGradient(TBitmap& image, const RECT& rect, TColor startColor, bool vertical,
                  TColor endColor) {
  if (image.Empty()) return;
  if (image.PixelFormat() != pf24bit) {
    FillGradient(image.CanvasHandle(), rect, startColor, vertical, endColor);
    image.ReleaseCanvas();
    return;
  }
  RECT area;
  const RECT bounds{0, 0, image.Width(), image.Height()};
  if (!IntersectRect(&area, &rect, &bounds)) return;
  startColor = ColorToRGB(startColor);
  endColor = ColorToRGB(endColor);
  const std::int64_t from = vertical ? rect.top : rect.left;
  const std::int64_t n = (vertical ? rect.bottom : rect.right) - from;
  const std::vector<TColor>* ramp = nullptr;
  if (n <= kMaxCachedRamp)
    ramp = &GradientRamp(GetGradient(static_cast<int>(n), startColor, endColor));
  // Step `step` of the ramp, as the three bytes of a 24-bit pixel.
  auto pixel = [&](std::int64_t step, std::uint8_t* p) {
    const TColor color = ramp ? (*ramp)[static_cast<std::size_t>(step)]
                              : GradientEntry(n, startColor, endColor, step);
    p[0] = static_cast<std::uint8_t>(color >> 16);
    p[1] = static_cast<std::uint8_t>(color >> 8);
    p[2] = static_cast<std::uint8_t>(color);
  };
  for (int y = area.top; y < area.bottom; ++y) {
    std::uint8_t* row = image.ScanLine(y);
    if (vertical) {
      std::uint8_t first[3];
      pixel(y - from, first);
      for (int x = area.left; x < area.right; ++x)
        std::copy_n(first, 3, row + 3 * x);
    } else {
      for (int x = area.left; x < area.right; ++x)
        pixel(x - from, row + 3 * x);
    }
  }
}

} // namespace ImgUtil
