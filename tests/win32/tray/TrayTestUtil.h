// Helpers of the tray tests: icon files made on the spot and icons drawn to read a pixel (the
// application, the pump and the shell's icons are in TestSupport.h).
#pragma once
#include "TestSupport.h"

#include <cstdint>
#include <string>
#include <vector>

namespace traytest {

inline void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}
inline void Put32(std::vector<uint8_t>& v, uint32_t x) {
  Put16(v, x & 0xFFFF);
  Put16(v, x >> 16);
}

// An icon file of one w x h image of 32 bits per pixel, every pixel the colour 0xAARRGGBB.
inline std::vector<uint8_t> MakeIconFile(int w, int h, uint32_t argb) {
  const uint32_t xorSize = static_cast<uint32_t>(w * 4 * h);
  const uint32_t andSize = static_cast<uint32_t>(((w + 31) / 32) * 4 * h);
  const uint32_t imageSize = 40 + xorSize + andSize;
  std::vector<uint8_t> f;
  Put16(f, 0);
  Put16(f, 1);
  Put16(f, 1);
  f.push_back(static_cast<uint8_t>(w));
  f.push_back(static_cast<uint8_t>(h));
  f.push_back(0);
  f.push_back(0);
  Put16(f, 1);
  Put16(f, 32);
  Put32(f, imageSize);
  Put32(f, 22);
  Put32(f, 40);
  Put32(f, static_cast<uint32_t>(w));
  Put32(f, static_cast<uint32_t>(2 * h));
  Put16(f, 1);
  Put16(f, 32);
  for (int i = 0; i < 6; ++i)
    Put32(f, 0);
  for (int i = 0; i < w * h; ++i)
    Put32(f, argb);
  f.insert(f.end(), andSize, 0);
  return f;
}

// The stored form of a binary property holding one block: a 32-bit length, then the bytes.
inline std::vector<uint8_t> Stored(const std::vector<uint8_t>& bytes) {
  const auto n = static_cast<uint32_t>(bytes.size());
  std::vector<uint8_t> s{static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                         static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 24)};
  s.insert(s.end(), bytes.begin(), bytes.end());
  return s;
}

inline std::string Hex(const std::vector<uint8_t>& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string s;
  for (uint8_t b : bytes) {
    s += digits[b >> 4];
    s += digits[b & 15];
  }
  return s;
}

// The colour of the icon's centre pixel when drawn on black, as 0x00RRGGBB.
inline uint32_t IconCentre(HICON icon, int size) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = size;
  bi.bmiHeader.biHeight = -size;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bmp);
  DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  GdiFlush();
  uint32_t c = static_cast<uint32_t*>(bits)[(size / 2) * size + size / 2] & 0xFFFFFF;
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  return c;
}

} // namespace traytest
