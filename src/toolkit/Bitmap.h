// TBitmap: an image with row access, a memory device context to draw into it and blit from
// it, and BMP file reading and writing. The pixels are kept in plain memory until GDI first
// needs them (a handle or the canvas is asked for); from then on a DIB section holds them, so
// images that are only read, copied or changed row by row cost no GDI object.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "Handles.h"

namespace BmpFile {
struct TBmpImage;
}

enum TPixelFormat { pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };

class TBitmap {
public:
  TBitmap() = default;
  // A blank (white) image of the given size and format.
  TBitmap(int width, int height, TPixelFormat format = pf24bit);
  TBitmap(const TBitmap& other);
  TBitmap(TBitmap&& other) noexcept;
  TBitmap& operator=(const TBitmap& other);
  TBitmap& operator=(TBitmap&& other) noexcept;
  ~TBitmap();

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Changing the size keeps the part of the old image that still fits, anchored at the top
  // left; new pixels are white. A width or height of 0 (or less) leaves an empty image that
  // remembers the other dimension. Sizes beyond 64 Mpixel raise std::length_error; a failed
  // allocation of the system raises std::runtime_error.
  void SetWidth(int width) { SetSize(width, FHeight); }
  void SetHeight(int height) { SetSize(FWidth, height); }
  void SetSize(int width, int height);

  bool Empty() const { return FBits == nullptr; }
  // Releases the image: width and height become 0. The pixel format stays.
  void Clear();

  TPixelFormat PixelFormat() const { return FPixelFormat; }
  // Converts the image (pixels and palette) to another format: exactly to 24 and 32 bits;
  // to fewer bits through the system's colour matching. On an empty image only the format
  // for the next size changes.
  void SetPixelFormat(TPixelFormat format);
  static int BitsPerPixel(TPixelFormat format);
  // Bytes of one row (a multiple of 4).
  std::size_t RowBytes() const;

  // Row y (0 = top row) in the DIB's own layout. Raises std::out_of_range outside the image.
  // Pending drawing through CanvasHandle() is flushed first.
  std::uint8_t* ScanLine(int y);
  const std::uint8_t* ScanLine(int y) const;

  // The palette of 1/4/8-bit images as 0x00RRGGBB (2^bits entries); empty for other formats.
  const std::vector<std::uint32_t>& Palette() const { return FPalette; }

  // The DIB section (null when empty), made on the first request. Asking for it takes the
  // bitmap out of the canvas's device context, so that the caller may select it elsewhere;
  // CanvasHandle() puts it back. Raises std::runtime_error when the system cannot make it.
  HBITMAP Handle();
  // A memory device context with the bitmap selected, for drawing into it and blitting from
  // it; null when the image is empty. Valid until the image changes size or format, Handle()
  // is asked for, or ReleaseCanvas() is called. Raises std::runtime_error as Handle() does.
  HDC CanvasHandle();
  // Whether a DIB section holds the pixels (GDI has needed them).
  bool HasHandle() const { return static_cast<bool>(FBitmap); }
  void ReleaseCanvas();

  // Reads a BMP file. Unreadable or damaged data leaves the image empty and gives false.
  bool LoadFromStream(const void* data, std::size_t size);
  bool LoadFromStream(const std::vector<std::uint8_t>& bytes) {
    return LoadFromStream(bytes.data(), bytes.size());
  }
  // Reads a bitmap resource (RT_BITMAP) of a module. False and empty when absent or damaged.
  bool LoadFromResourceName(HINSTANCE instance, const char* name);
  // Appends the image as a BMP file; an empty image appends nothing.
  void SaveToStream(std::vector<std::uint8_t>& out) const;

  void Assign(const TBitmap& source) { *this = source; }

  // Key colour for transparent drawing (packed RGB) and whether it is used.
  std::int32_t TransparentColor = 0x00FF00FF;
  bool Transparent = false;

  // GDI objects (bitmaps and device contexts) made by TBitmap and not yet deleted, over all
  // instances: a check against leaks.
  static long LiveGdiObjects();

private:
  // Makes the image (every byte zero) in plain memory. Raises std::length_error for sizes
  // out of range and std::runtime_error when the memory cannot be had.
  void Create(int width, int height, TPixelFormat format,
              const std::vector<std::uint32_t>& palette);
  // Moves the pixels into a DIB section, unless one holds them already.
  void NeedHandle();
  void Release();
  void Adopt(TBitmap&& other) noexcept;
  // Takes over a decoded image's pixels and palette (no copy).
  void FromImage(BmpFile::TBmpImage&& image);
  BmpFile::TBmpImage ToImage() const;
  // Row y without flushing GDI.
  std::uint8_t* Row(int y) const;

  int FWidth = 0;
  int FHeight = 0;
  TPixelFormat FPixelFormat = pf24bit;
  std::vector<std::uint32_t> FPalette;
  std::vector<std::uint8_t> FMemory; // the pixels while no DIB section holds them, top row first
  TBitmapHandle FBitmap;
  std::uint8_t* FBits = nullptr; // FMemory's bytes, or the DIB's memory (bottom row first)
  TMemoryDCHandle FCanvas;
  HGDIOBJ FCanvasOld = nullptr; // what the canvas held before the bitmap
};
