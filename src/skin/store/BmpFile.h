// Reading and writing BMP files (device-independent bitmaps). Portable: no Win32 here.
//
// The decoder takes untrusted bytes: every size, depth, palette, mask and offset of a header
// is checked against the bytes actually present before anything is read, and images of more
// than kMaxPixels pixels are refused. A refused file leaves an empty image.
//
// Read: BITMAPCOREHEADER (12 bytes) and BITMAPINFOHEADER with its longer versions (40, 52, 56,
// 108, 124 bytes); 1, 4 and 8 bits with a colour table; 16 and 32 bits uncompressed or with
// bit fields; 24 bits; bottom-up and top-down rows. Compressed (RLE, JPEG, PNG) data is
// refused.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace BmpFile {

constexpr std::uint64_t kMaxPixels = 64ull << 20;

// A decoded image in a canonical layout that a DIB section holds as it is: rows top row
// first, each RowBytes() long (a multiple of 4), pixels as in a DIB:
//   1/4/8 bits: palette indices, the most significant bits first, with a palette of exactly
//               2^bits entries (entries a file leaves out are black);
//   16 bits:    5-5-5 (Is565 false) or 5-6-5 little-endian words, red highest;
//   24 bits:    blue, green, red bytes;
//   32 bits:    blue, green, red and a fourth byte kept as the file holds it.
// Other bit-field layouts are converted on reading (16 bits to 24, 32 bits to this 32).
struct TBmpImage {
  int Width = 0;
  int Height = 0;
  int BitsPerPixel = 0;
  bool Is565 = false;
  std::vector<std::uint32_t> Palette; // 0x00RRGGBB
  std::vector<std::uint8_t> Pixels;

  bool Empty() const { return Width <= 0 || Height <= 0; }
  std::size_t RowBytes() const { return RowBytesFor(Width, BitsPerPixel); }
  std::uint8_t* Row(int y) { return Pixels.data() + static_cast<std::size_t>(y) * RowBytes(); }
  const std::uint8_t* Row(int y) const {
    return Pixels.data() + static_cast<std::size_t>(y) * RowBytes();
  }
  // The colour of pixel (x, y) as 0x00RRGGBB.
  std::uint32_t PixelRGB(int x, int y) const;
  // Whether the fields agree with each other (depth, palette and buffer sizes, bounds).
  bool IsConsistent() const;

  static std::size_t RowBytesFor(int width, int bitsPerPixel) {
    return ((static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel) + 31) / 32) *
           4;
  }
};

// An image of the given size and depth, every byte zero (palette black); empty when the size
// or depth is not one this module handles.
TBmpImage Create(int width, int height, int bitsPerPixel, bool is565 = false);

// Decodes a whole BMP file (file header first). False, and `image` empty, when refused.
bool Decode(const void* data, std::size_t size, TBmpImage& image);
// Decodes a packed DIB (info header, colour table, pixels; as a bitmap resource holds it).
bool DecodeDib(const void* data, std::size_t size, TBmpImage& image);

// The image as a BMP file: BITMAPINFOHEADER, bottom-up rows, bit fields for 5-6-5.
// An empty or inconsistent image gives no bytes.
std::vector<std::uint8_t> Encode(const TBmpImage& image);

// A 24-bit copy of any consistent image (an empty image gives an empty one).
TBmpImage ConvertTo24(const TBmpImage& image);

} // namespace BmpFile
