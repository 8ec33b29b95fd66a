#include "PausedIcon.h"
#include "Handles.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// A colour turned grey and moved halfway to white; its transparency stays.
uint32_t Faded(uint32_t bgra) {
  const uint32_t b = bgra & 0xFF, g = (bgra >> 8) & 0xFF, r = (bgra >> 16) & 0xFF;
  const uint32_t grey = (r * 30 + g * 59 + b * 11) / 100;
  const uint32_t light = 255 - (255 - grey) / 2;
  return (bgra & 0xFF000000u) | (light << 16) | (light << 8) | light;
}

} // namespace

void MakePausedIcon(const TIcon& source, TIcon& paused) {
  paused.Clear();
  HICON icon = source.Handle();
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return;
  // GetIconInfo hands over copies of the icon's bitmaps.
  TBitmapHandle colour(info.hbmColor), mask(info.hbmMask);
  BITMAP bm{};
  if (!colour || !GetObjectA(colour.Get(), sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
    return;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = bm.bmWidth;
  bi.bmiHeader.biHeight = -bm.bmHeight; // top-down rows
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> pixels(static_cast<size_t>(bm.bmWidth) * static_cast<size_t>(bm.bmHeight));
  TMemoryDCHandle dc(CreateCompatibleDC(nullptr));
  if (!dc || !GetDIBits(dc.Get(), colour.Get(), 0, static_cast<UINT>(bm.bmHeight), pixels.data(),
                        &bi, DIB_RGB_COLORS))
    return;
  for (uint32_t& p : pixels)
    p = Faded(p);
  void* bits = nullptr;
  TBitmapHandle faded(CreateDIBSection(dc.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!faded || !bits) return;
  std::copy(pixels.begin(), pixels.end(), static_cast<uint32_t*>(bits));
  ICONINFO made{};
  made.fIcon = TRUE;
  made.hbmColor = faded.Get();
  made.hbmMask = mask.Get();
  paused.SetHandle(CreateIconIndirect(&made)); // the icon copies the bitmaps
}
