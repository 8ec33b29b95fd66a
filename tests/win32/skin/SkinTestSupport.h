// What the skin engine's window tests share: the test skin loaded into a skin data component the
// way a form's stored description completes one, the wait until drawing reaches the screen, and
// a window's pixels read back from the screen.
#pragma once
#include "WinSkinData.h"

#include "TestSupport.h"

#include <windows.h>

#include <vector>

// Lets the window system put what was drawn on the screen (windows are drawn into surfaces that
// reach the screen a moment later).
inline void Settle() {
  GdiFlush();
  Pump(60);
}

// A skin data component of owner with the test skin, switched on: its loading completes as at
// program start (the skin manager made, its hook installed).
inline TSkinData* LoadTestSkinData(TComponent* owner) {
  auto* data = new TSkinData(owner);
  data->ComponentState |= csLoading;
  SetPropValue(data, "SkinFile", TestSkinPath());
  SetPropValue(data, "Active", "True");
  data->Loaded();
  return data;
}

// A window's pixels (window coordinates); CLR_INVALID outside them.
struct TShot {
  int Width = 0, Height = 0;
  std::vector<COLORREF> Pixels;
  COLORREF At(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width || y >= Height) return CLR_INVALID;
    return Pixels[static_cast<size_t>(y * Width + x)];
  }
  COLORREF At(POINT p) const { return At(p.x, p.y); }
  int Count(COLORREF c) const {
    int n = 0;
    for (COLORREF p : Pixels)
      n += p == c;
    return n;
  }
};

// The window's pixels as the screen shows them (window coordinates), or as its own surface
// holds them (pop-up windows the screen read may not reach).
inline TShot Shoot(HWND wnd, bool screenRead = true) {
  Settle();
  RECT r{};
  GetWindowRect(wnd, &r);
  TShot shot;
  shot.Width = r.right - r.left;
  shot.Height = r.bottom - r.top;
  HDC screen = screenRead ? GetDC(nullptr) : GetWindowDC(wnd);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = shot.Width;
  bi.bmiHeader.biHeight = -shot.Height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, shot.Width, shot.Height, screen, screenRead ? r.left : 0,
         screenRead ? r.top : 0, SRCCOPY);
  GdiFlush();
  const auto* p = static_cast<const DWORD*>(bits);
  for (int i = 0; i < shot.Width * shot.Height; ++i)
    shot.Pixels.push_back(RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF));
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(screenRead ? nullptr : wnd, screen);
  return shot;
}
