#include "SkinPaint.h"

#include <algorithm>
#include <cmath>

namespace SkinGen {

TFixed Fx(double pixels) {
  return static_cast<TFixed>(std::llround(pixels * kUnit));
}

namespace {

int FloorPixel(TFixed v) {
  return static_cast<int>(v >= 0 ? v / kUnit : -((-v + kUnit - 1) / kUnit));
}
int CeilPixel(TFixed v) {
  return -FloorPixel(-v);
}

TPixelBox BoxOf(TFixed x0, TFixed y0, TFixed x1, TFixed y1) {
  return {FloorPixel(x0), FloorPixel(y0), CeilPixel(x1), CeilPixel(y1)};
}

bool WithinRadius(TFixed dx, TFixed dy, TFixed r) {
  return dx * dx + dy * dy <= r * r;
}

// Squared distance test between a point and a segment, exact in integers.
bool NearSegment(TPoint p, TPoint a, TPoint b, TFixed r) {
  const TFixed abx = b.X - a.X, aby = b.Y - a.Y;
  const TFixed apx = p.X - a.X, apy = p.Y - a.Y;
  const TFixed len2 = abx * abx + aby * aby;
  const TFixed dot = apx * abx + apy * aby;
  if (len2 == 0 || dot <= 0) return WithinRadius(apx, apy, r);
  if (dot >= len2) return WithinRadius(p.X - b.X, p.Y - b.Y, r);
  const TFixed cross = abx * apy - aby * apx;
  // cross^2 / len2 <= r^2; the values stay far below 2^63 for pictures of skin size.
  return cross * cross <= r * r * len2;
}

} // namespace

TShape RoundRect(double x0, double y0, double x1, double y1, double rTopLeft, double rTopRight,
                 double rBottomRight, double rBottomLeft) {
  const TFixed l = Fx(x0), t = Fx(y0), r = Fx(x1), b = Fx(y1);
  const TFixed tl = Fx(rTopLeft), tr = Fx(rTopRight), br = Fx(rBottomRight), bl = Fx(rBottomLeft);
  TShape s;
  s.Box = BoxOf(l, t, r, b);
  s.Contains = [=](TFixed x, TFixed y) {
    if (x < l || x >= r || y < t || y >= b) return false;
    if (x < l + tl && y < t + tl) return WithinRadius(x - (l + tl), y - (t + tl), tl);
    if (x >= r - tr && y < t + tr) return WithinRadius(x - (r - tr), y - (t + tr), tr);
    if (x >= r - br && y >= b - br) return WithinRadius(x - (r - br), y - (b - br), br);
    if (x < l + bl && y >= b - bl) return WithinRadius(x - (l + bl), y - (b - bl), bl);
    return true;
  };
  return s;
}

TShape Circle(double cx, double cy, double r) {
  const TFixed x = Fx(cx), y = Fx(cy), rr = Fx(r);
  TShape s;
  s.Box = BoxOf(x - rr, y - rr, x + rr, y + rr);
  s.Contains = [=](TFixed px, TFixed py) { return WithinRadius(px - x, py - y, rr); };
  return s;
}

TShape Stroke(const std::vector<TPoint>& points, double halfWidth) {
  const TFixed r = Fx(halfWidth);
  TFixed x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const TPoint p = points[i];
    if (i == 0 || p.X < x0) x0 = p.X;
    if (i == 0 || p.Y < y0) y0 = p.Y;
    if (i == 0 || p.X > x1) x1 = p.X;
    if (i == 0 || p.Y > y1) y1 = p.Y;
  }
  TShape s;
  s.Box = BoxOf(x0 - r, y0 - r, x1 + r, y1 + r);
  s.Contains = [points, r](TFixed x, TFixed y) {
    const TPoint p{x, y};
    if (points.size() == 1) return NearSegment(p, points[0], points[0], r);
    for (std::size_t i = 1; i < points.size(); ++i)
      if (NearSegment(p, points[i - 1], points[i], r)) return true;
    return false;
  };
  return s;
}

TShape Polygon(const std::vector<TPoint>& corners) {
  TFixed x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  for (std::size_t i = 0; i < corners.size(); ++i) {
    const TPoint p = corners[i];
    if (i == 0 || p.X < x0) x0 = p.X;
    if (i == 0 || p.Y < y0) y0 = p.Y;
    if (i == 0 || p.X > x1) x1 = p.X;
    if (i == 0 || p.Y > y1) y1 = p.Y;
  }
  TShape s;
  s.Box = BoxOf(x0, y0, x1, y1);
  s.Contains = [corners](TFixed x, TFixed y) {
    bool anyPositive = false, anyNegative = false;
    for (std::size_t i = 0; i < corners.size(); ++i) {
      const TPoint a = corners[i], b = corners[(i + 1) % corners.size()];
      const TFixed cross = (b.X - a.X) * (y - a.Y) - (b.Y - a.Y) * (x - a.X);
      anyPositive |= cross > 0;
      anyNegative |= cross < 0;
    }
    return !(anyPositive && anyNegative);
  };
  return s;
}

TShape Union(const TShape& a, const TShape& b) {
  TShape s;
  s.Box = {std::min(a.Box.X0, b.Box.X0), std::min(a.Box.Y0, b.Box.Y0), std::max(a.Box.X1, b.Box.X1),
           std::max(a.Box.Y1, b.Box.Y1)};
  s.Contains = [a, b](TFixed x, TFixed y) { return a.Contains(x, y) || b.Contains(x, y); };
  return s;
}

TShape Difference(const TShape& a, const TShape& b) {
  TShape s;
  s.Box = a.Box;
  s.Contains = [a, b](TFixed x, TFixed y) { return a.Contains(x, y) && !b.Contains(x, y); };
  return s;
}

TShape RoundRectOutline(double x0, double y0, double x1, double y1, double r, double width) {
  return Difference(RoundRect(x0, y0, x1, y1, r), RoundRect(x0 + width, y0 + width, x1 - width,
                                                            y1 - width, std::max(0.0, r - width)));
}

int Coverage(const TShape& shape, int x, int y) {
  int n = 0;
  const TFixed baseX = static_cast<TFixed>(x) * kUnit, baseY = static_cast<TFixed>(y) * kUnit;
  for (int j = 0; j < kSamples; ++j)
    for (int i = 0; i < kSamples; ++i)
      if (shape.Contains(baseX + 2 * i + 1, baseY + 2 * j + 1)) ++n;
  return n;
}

TColourAt VerticalRamp(TRgb top, TRgb bottom, int y0, int y1) {
  return [=](int, int y) {
    return Ramp(top, bottom, std::clamp(y - y0, 0, y1 - 1 - y0), y1 - 1 - y0);
  };
}

TColourAt HorizontalRamp(TRgb left, TRgb right, int x0, int x1) {
  return [=](int x, int) {
    return Ramp(left, right, std::clamp(x - x0, 0, x1 - 1 - x0), x1 - 1 - x0);
  };
}

void Fill(TBitmap24& img, const TShape& shape, const TColourAt& colour) {
  const int x0 = std::max(shape.Box.X0, 0), y0 = std::max(shape.Box.Y0, 0);
  const int x1 = std::min(shape.Box.X1, img.Width()), y1 = std::min(shape.Box.Y1, img.Height());
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      const int n = Coverage(shape, x, y);
      if (n > 0) img.Set(x, y, Mix(colour(x, y), img.Get(x, y), n, kFullCoverage));
    }
}

void FillAll(TBitmap24& img, const TColourAt& colour) {
  for (int y = 0; y < img.Height(); ++y)
    for (int x = 0; x < img.Width(); ++x)
      img.Set(x, y, colour(x, y));
}

void KeyOutside(TBitmap24& img, const TShape& silhouette) {
  for (int y = 0; y < img.Height(); ++y)
    for (int x = 0; x < img.Width(); ++x)
      if (Coverage(silhouette, x, y) == 0) img.Set(x, y, kMagenta);
}

void KeyOutsideHard(TBitmap24& img, const TShape& shape) {
  for (int y = 0; y < img.Height(); ++y)
    for (int x = 0; x < img.Width(); ++x)
      if (!shape.Contains(static_cast<TFixed>(x) * kUnit + kUnit / 2,
                          static_cast<TFixed>(y) * kUnit + kUnit / 2))
        img.Set(x, y, kMagenta);
}

} // namespace SkinGen
