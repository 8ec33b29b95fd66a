#include "SkinBitmap.h"

#include <algorithm>
#include <stdexcept>

namespace SkinGen {

TRgb Mix(TRgb a, TRgb b, int num, int den) {
  auto channel = [&](int ca, int cb) {
    return static_cast<std::uint8_t>((ca * num + cb * (den - num) + den / 2) / den);
  };
  return {channel(a.R, b.R), channel(a.G, b.G), channel(a.B, b.B)};
}

TBitmap24::TBitmap24(int width, int height, TRgb fill)
    : FWidth(width), FHeight(height),
      FPixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {
  if (width <= 0 || height <= 0) throw std::invalid_argument("bitmap size must be positive");
}

void TBitmap24::FillRect(int x0, int y0, int x1, int y1, TRgb c) {
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, FWidth);
  y1 = std::min(y1, FHeight);
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
      FPixels[Index(x, y)] = c;
}

void TBitmap24::Blit(const TBitmap24& src, int sx, int sy, int w, int h, int dx, int dy) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (src.Inside(sx + x, sy + y)) Set(dx + x, dy + y, src.Get(sx + x, sy + y));
}

TBitmap24 TBitmap24::Crop(int x, int y, int w, int h) const {
  TBitmap24 out(w, h);
  out.Blit(*this, x, y, w, h, 0, 0);
  return out;
}

namespace {
void PutLe(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
} // namespace

std::vector<std::uint8_t> TBitmap24::EncodeBmp() const {
  const std::uint32_t stride = (static_cast<std::uint32_t>(FWidth) * 3 + 3) & ~3u;
  const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(FHeight);
  const std::uint32_t dataOffset = 14 + 40;
  std::vector<std::uint8_t> out;
  out.reserve(dataOffset + imageSize);
  // File header.
  out.push_back('B');
  out.push_back('M');
  PutLe(out, dataOffset + imageSize, 4);
  PutLe(out, 0, 4); // two reserved words
  PutLe(out, dataOffset, 4);
  // Info header: positive height = bottom-up rows.
  PutLe(out, 40, 4);
  PutLe(out, static_cast<std::uint32_t>(FWidth), 4);
  PutLe(out, static_cast<std::uint32_t>(FHeight), 4);
  PutLe(out, 1, 2);  // planes
  PutLe(out, 24, 2); // bits per pixel
  PutLe(out, 0, 4);  // no compression
  PutLe(out, imageSize, 4);
  PutLe(out, 3780, 4); // 96 dots per inch, in pixels per metre
  PutLe(out, 3780, 4);
  PutLe(out, 0, 4); // colours used
  PutLe(out, 0, 4); // important colours
  for (int y = FHeight - 1; y >= 0; --y) {
    std::uint32_t written = 0;
    for (int x = 0; x < FWidth; ++x) {
      const TRgb c = Get(x, y);
      out.push_back(c.B);
      out.push_back(c.G);
      out.push_back(c.R);
      written += 3;
    }
    for (; written < stride; ++written)
      out.push_back(0);
  }
  return out;
}

TBitmap24 JoinHorizontal(const std::vector<TBitmap24>& cells) {
  if (cells.empty()) throw std::invalid_argument("no cells to join");
  int width = 0;
  for (const auto& c : cells) {
    if (c.Height() != cells.front().Height())
      throw std::invalid_argument("cells of a horizontal strip differ in height");
    width += c.Width();
  }
  TBitmap24 out(width, cells.front().Height());
  int x = 0;
  for (const auto& c : cells) {
    out.Blit(c, 0, 0, c.Width(), c.Height(), x, 0);
    x += c.Width();
  }
  return out;
}

TBitmap24 JoinVertical(const std::vector<TBitmap24>& cells) {
  if (cells.empty()) throw std::invalid_argument("no cells to join");
  int height = 0;
  for (const auto& c : cells) {
    if (c.Width() != cells.front().Width())
      throw std::invalid_argument("cells of a vertical strip differ in width");
    height += c.Height();
  }
  TBitmap24 out(cells.front().Width(), height);
  int y = 0;
  for (const auto& c : cells) {
    out.Blit(c, 0, 0, c.Width(), c.Height(), 0, y);
    y += c.Height();
  }
  return out;
}

} // namespace SkinGen
