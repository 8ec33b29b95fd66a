// Image and colour helpers of the skin engine.
//
// Colours are signed 32-bit values: 0 or more is packed RGB (red in bits 0-7, green 8-15,
// blue 16-23); a negative value is a system colour whose low 8 bits index the system colour
// table. The colour maths and the gradient ramps are portable; the routines that work on
// bitmaps and device contexts (declared at the end, Windows only) live in ImgUtilGdi.cpp.
#pragma once
#include <cstdint>
#include <vector>

#ifdef _WIN32
// Declared as the Windows headers declare them, so that this header does not need them.
struct HDC__;
typedef HDC__* HDC;
struct tagRECT;
class TBitmap;
#endif

namespace ImgUtil {

using TColor = std::int32_t;

constexpr TColor clMagenta = 0x00FF00FF;
constexpr int kGradientSlots = 16;

// Resolves a system colour index (0..255) to packed RGB. On Windows the default resolver is
// GetSysColor; elsewhere it answers black until one is installed.
using TSysColorResolver = std::uint32_t (*)(int index);
// Installs a resolver (null restores the default) and returns the previous one.
TSysColorResolver SetSysColorResolver(TSysColorResolver resolver);

// A negative colour replaced by the system colour of its low 8 bits; others unchanged.
TColor ColorToRGB(TColor color);

// Mixes two colours channel by channel: weights 0..99 are percent and weights of 100 or more
// per mille of `c1` (150 means 15 %, 100 means 10 %); the rest is `c2`, rounded half up.
TColor MixColors(TColor c1, TColor c2, int weight);

// Saturation of a packed RGB colour scaled to 0..255 (rounded half to even), or 200 when
// every channel is below 160.
int ColorSaturation(TColor color);

// A colour ramp of `count` entries from `startColor` towards `endColor`, kept in one of 16
// cache slots. Returns the slot: an existing ramp of the same length, first and last entry,
// or the next slot in turn (0..15, wrapping) rebuilt. Raises TarnelStore::EAssertionFailed
// when `count` is 0 or less.
int GetGradient(int count, TColor startColor, TColor endColor);
// The ramp held by a cache slot (empty before first use).
const std::vector<TColor>& GradientRamp(int slot);
// Entry `index` of the ramp GetGradient builds for `count`, `startColor` and `endColor`.
TColor GradientEntry(std::int64_t count, TColor startColor, TColor endColor, std::int64_t index);
// Empties every slot and restarts the slot counter at 0.
void ClearGradientCache();

#ifdef _WIN32
// Converts the image to 24 bits per pixel if needed, then gives every pixel that is exactly
// magenta (255, 0, 255) the colour's three channels (taken from bits 0-23 as they are).
void ReplaceMagenta(TBitmap& image, TColor color);
// Reverse every row / the order of the rows / turn a quarter turn counter-clockwise or
// clockwise (width and height swap). Images of another depth are converted to 24 bits first.
void MirrorBitmap(TBitmap& image);
void FlipBitmap(TBitmap& image);
void RotateLeft(TBitmap& image);
void RotateRight(TBitmap& image);
// Fills `rect` with a one-pixel-step gradient (rows when `vertical`, columns otherwise) from
// `startColor` to `endColor`, painting only the steps inside the clip box of `dc`.
void FillGradient(HDC dc, const tagRECT& rect, TColor startColor, bool vertical, TColor endColor);
// The same painted into an image's own canvas, whose clip box is the whole image; a 24-bit
// image gets the colours written into its rows, without a device context.
void FillGradient(TBitmap& image, const tagRECT& rect, TColor startColor, bool vertical,
                  TColor endColor);
// The resolver ColorToRGB uses on Windows by default (GetSysColor).
std::uint32_t GdiSysColor(int index);
#endif

} // namespace ImgUtil
