// Anti-aliased shape painting on TBitmap24 with integer arithmetic only, so that the pictures
// come out identical byte for byte on every host. Geometry is given in pixels (a pixel x covers
// [x, x + 1)) and held in fixed point: kUnit steps per pixel. Each pixel is sampled on a
// kSamples x kSamples grid; its coverage decides how much of the paint colour it takes.
#pragma once
#include "SkinBitmap.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace SkinGen {

inline constexpr int kSamples = 8;         // samples per pixel and axis
inline constexpr int kUnit = 2 * kSamples; // fixed-point steps per pixel
inline constexpr int kFullCoverage = kSamples * kSamples;

using TFixed = std::int64_t;
// Pixels (exact binary fractions such as 0.5 or 0.25 stay exact) to fixed point.
TFixed Fx(double pixels);

struct TPoint {
  TFixed X = 0, Y = 0;
};
inline TPoint Pt(double x, double y) {
  return {Fx(x), Fx(y)};
}

// Bounding box in whole pixels, [X0, X1) x [Y0, Y1).
struct TPixelBox {
  int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
};

// A region of the plane: a membership test at fixed-point sample positions plus the pixels
// that can contain members.
struct TShape {
  std::function<bool(TFixed, TFixed)> Contains;
  TPixelBox Box;
};

// Rectangle [x0, x1) x [y0, y1) with its corners rounded by the given radii (0: square).
TShape RoundRect(double x0, double y0, double x1, double y1, double rTopLeft, double rTopRight,
                 double rBottomRight, double rBottomLeft);
inline TShape RoundRect(double x0, double y0, double x1, double y1, double r) {
  return RoundRect(x0, y0, x1, y1, r, r, r, r);
}
inline TShape Rect(double x0, double y0, double x1, double y1) {
  return RoundRect(x0, y0, x1, y1, 0);
}
TShape Circle(double cx, double cy, double r);
// The points within halfWidth of the polyline through `points` (round caps and joins).
TShape Stroke(const std::vector<TPoint>& points, double halfWidth);
// A convex polygon, corners in either winding order.
TShape Polygon(const std::vector<TPoint>& corners);
// Set operations.
TShape Union(const TShape& a, const TShape& b);
TShape Difference(const TShape& a, const TShape& b);
// The band of width `width` just inside the border of a rounded rectangle.
TShape RoundRectOutline(double x0, double y0, double x1, double y1, double r, double width);

// Number of samples of pixel (x, y) inside the shape, 0..kFullCoverage.
int Coverage(const TShape& shape, int x, int y);

using TColourAt = std::function<TRgb(int x, int y)>;
inline TColourAt Solid(TRgb c) {
  return [c](int, int) { return c; };
}
// Vertical ramp from `top` at row y0 to `bottom` at row y1 - 1.
TColourAt VerticalRamp(TRgb top, TRgb bottom, int y0, int y1);
// Horizontal ramp from `left` at column x0 to `right` at column x1 - 1.
TColourAt HorizontalRamp(TRgb left, TRgb right, int x0, int x1);

// Paints the shape: every pixel takes the colour in proportion to its coverage.
void Fill(TBitmap24& img, const TShape& shape, const TColourAt& colour);
inline void Fill(TBitmap24& img, const TShape& shape, TRgb colour) {
  Fill(img, shape, Solid(colour));
}
// Fills the whole picture from a colour function.
void FillAll(TBitmap24& img, const TColourAt& colour);
// Turns every pixel that the silhouette does not touch at all into the transparent key colour.
void KeyOutside(TBitmap24& img, const TShape& silhouette);
// Turns every pixel whose centre lies outside the shape into the key colour (hard edge, for
// outlines that become a window region).
void KeyOutsideHard(TBitmap24& img, const TShape& shape);

} // namespace SkinGen
