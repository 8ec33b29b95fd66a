#include "ImgUtil.h"
#include "StoreAssert.h"

#include <algorithm>
#include <array>

namespace ImgUtil {

namespace {

constexpr int kSearchAssertLine = 304;
constexpr int kBuildAssertLine = 323;

#ifdef _WIN32
// Referencing GdiSysColor also links ImgUtilGdi into every program that uses ImgUtil.
constexpr TSysColorResolver kDefaultResolver = &GdiSysColor;
#else
std::uint32_t NoSysColor(int) {
  return 0;
}
constexpr TSysColorResolver kDefaultResolver = &NoSysColor;
#endif

TSysColorResolver gResolver = kDefaultResolver;

struct TGradientCache {
  std::array<std::vector<TColor>, kGradientSlots> Slots;
  int Next = 0;
};

TGradientCache& Cache() {
  static TGradientCache cache;
  return cache;
}

[[noreturn]] void AssertionFailure(int line) {
  throw TarnelStore::EAssertionFailed("Assertion failure", "ImgUtil", line);
}

int Channel(TColor c, int shift) {
  return (c >> shift) & 0xFF;
}

void BuildRamp(std::vector<TColor>& ramp, int count, TColor startColor, TColor endColor) {
  if (count <= 0) AssertionFailure(kBuildAssertLine);
  ramp.resize(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i)
    ramp[static_cast<std::size_t>(i)] = GradientEntry(count, startColor, endColor, i);
}

} // namespace

TSysColorResolver SetSysColorResolver(TSysColorResolver resolver) {
  const TSysColorResolver previous = gResolver;
  gResolver = resolver ? resolver : kDefaultResolver;
  return previous;
}

TColor ColorToRGB(TColor color) {
  if (color >= 0) return color;
  return static_cast<TColor>(gResolver(color & 0xFF));
}

TColor MixColors(TColor c1, TColor c2, int weight) {
  c1 = ColorToRGB(c1);
  c2 = ColorToRGB(c2);
  const std::int64_t s = weight < 100 ? 100 : 1000;
  const std::int64_t w = weight;
  // The third channel is everything from bit 16 up, as the colour holds it.
  auto mix = [&](std::int64_t ch1, std::int64_t ch2) {
    return static_cast<TColor>(((ch2 * (s - w) + ch1 * w + s / 2) / s) & 0xFF);
  };
  const TColor r = mix(c1 & 0xFF, c2 & 0xFF);
  const TColor g = mix((c1 >> 8) & 0xFF, (c2 >> 8) & 0xFF);
  const TColor b = mix(c1 >> 16, c2 >> 16);
  return r | (g << 8) | (b << 16);
}

int ColorSaturation(TColor color) {
  const int r = Channel(color, 0), g = Channel(color, 8), b = Channel(color, 16);
  if (r < 160 && g < 160 && b < 160) return 200;
  const int mx = std::max(r, std::max(g, b));
  const int mn = std::min(r, std::min(g, b));
  // (mx - mn) / mx x 255, rounded half to even, in exact integer arithmetic (mx >= 160 here).
  const int num = (mx - mn) * 255;
  int q = num / mx;
  const int twiceRest = 2 * (num % mx);
  if (twiceRest > mx || (twiceRest == mx && (q & 1))) ++q;
  return q;
}

TColor GradientEntry(std::int64_t count, TColor startColor, TColor endColor, std::int64_t index) {
  TColor packed = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const std::int64_t from = Channel(startColor, shift);
    const std::int64_t d = Channel(endColor, shift) - from;
    std::int64_t ch;
    if (count == 1) {
      ch = from + d / 2;
    } else {
      const std::int64_t m = count - 1;
      ch = from + (index * d + m / 2) / m; // C++ division truncates toward zero
    }
    packed |= static_cast<TColor>(ch & 0xFF) << shift;
  }
  return packed;
}

int GetGradient(int count, TColor startColor, TColor endColor) {
  if (count <= 0) AssertionFailure(kSearchAssertLine);
  TGradientCache& cache = Cache();
  for (int slot = kGradientSlots - 1; slot >= 0; --slot) {
    const std::vector<TColor>& ramp = cache.Slots[static_cast<std::size_t>(slot)];
    if (ramp.size() == static_cast<std::size_t>(count) && ramp.front() == startColor &&
        ramp.back() == endColor)
      return slot;
  }
  const int slot = cache.Next;
  cache.Next = (cache.Next + 1) % kGradientSlots;
  BuildRamp(cache.Slots[static_cast<std::size_t>(slot)], count, startColor, endColor);
  return slot;
}

const std::vector<TColor>& GradientRamp(int slot) {
  return Cache().Slots.at(static_cast<std::size_t>(slot));
}

void ClearGradientCache() {
  TGradientCache& cache = Cache();
  for (auto& ramp : cache.Slots)
    ramp.clear();
  cache.Next = 0;
}

} // namespace ImgUtil
