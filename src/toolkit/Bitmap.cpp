#include "Bitmap.h"
#include "BmpFile.h"

#include <atomic>
#include <cstring>
#include <new>
#include <stdexcept>
#include <utility>

namespace {

std::atomic<long> gLiveGdiObjects{0};

// A BITMAPINFO with room for a full colour table (or the three masks of BI_BITFIELDS).
struct TInfo {
  BITMAPINFOHEADER Header;
  std::uint32_t Colors[256];
};

int Bpp(TPixelFormat f) {
  return TBitmap::BitsPerPixel(f);
}

bool IsPalettised(TPixelFormat f) {
  return f == pf1bit || f == pf4bit || f == pf8bit;
}

TPixelFormat FormatOf(const BmpFile::TBmpImage& image) {
  switch (image.BitsPerPixel) {
  case 1:
    return pf1bit;
  case 4:
    return pf4bit;
  case 8:
    return pf8bit;
  case 16:
    return image.Is565 ? pf16bit : pf15bit;
  case 32:
    return pf32bit;
  default:
    return pf24bit;
  }
}

// The colour table a new palettised image gets: black and white; the sixteen standard
// colours; or those sixteen, a 6 x 6 x 6 colour cube and a grey ramp.
std::vector<std::uint32_t> DefaultPalette(int bits) {
  static const std::uint32_t kStandard[16] = {
      0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
      0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  if (bits == 1) return {0x000000, 0xFFFFFF};
  std::vector<std::uint32_t> p(kStandard, kStandard + 16);
  if (bits == 4) return p;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b)
        p.push_back(static_cast<std::uint32_t>((r * 51) << 16 | (g * 51) << 8 | (b * 51)));
  for (int i = 0; p.size() < 256; ++i) {
    const std::uint32_t v = static_cast<std::uint32_t>(8 + i * 10);
    p.push_back(v << 16 | v << 8 | v);
  }
  return p;
}

int NearestIndex(const std::vector<std::uint32_t>& palette, std::uint32_t rgb) {
  int best = 0;
  long bestDistance = -1;
  for (std::size_t i = 0; i < palette.size(); ++i) {
    long d = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
      const long c = static_cast<long>((palette[i] >> shift) & 0xFF) -
                     static_cast<long>((rgb >> shift) & 0xFF);
      d += c * c;
    }
    if (bestDistance < 0 || d < bestDistance) {
      bestDistance = d;
      best = static_cast<int>(i);
    }
  }
  return best;
}

unsigned GetIndex(const std::uint8_t* row, int x, int bits) {
  const int bit = x * bits;
  return (row[bit >> 3] >> (8 - bits - (bit & 7))) & ((1u << bits) - 1);
}

void SetIndex(std::uint8_t* row, int x, int bits, unsigned index) {
  const int bit = x * bits;
  const int shift = 8 - bits - (bit & 7);
  const unsigned mask = ((1u << bits) - 1) << shift;
  row[bit >> 3] = static_cast<std::uint8_t>((row[bit >> 3] & ~mask) | ((index << shift) & mask));
}

// The colour table an image of `format` keeps: none above 8 bits; otherwise `palette` (the
// default table when it is empty) cut or padded with black to 2^bits entries.
std::vector<std::uint32_t> TableFor(TPixelFormat format,
                                    const std::vector<std::uint32_t>& palette) {
  if (!IsPalettised(format)) return {};
  const int bits = Bpp(format);
  std::vector<std::uint32_t> colors = palette.empty() ? DefaultPalette(bits) : palette;
  colors.resize(std::size_t{1} << bits, 0);
  return colors;
}

// Copies the first `pixels` pixels of a row, leaving the rest of the destination alone.
void CopyPixels(std::uint8_t* dst, const std::uint8_t* src, int pixels, int bits) {
  const std::size_t totalBits = static_cast<std::size_t>(pixels) * static_cast<std::size_t>(bits);
  std::memcpy(dst, src, totalBits / 8);
  if (const unsigned rest = totalBits % 8) {
    const std::uint8_t mask = static_cast<std::uint8_t>(0xFF00u >> rest);
    dst[totalBits / 8] =
        static_cast<std::uint8_t>((dst[totalBits / 8] & ~mask) | (src[totalBits / 8] & mask));
  }
}

} // namespace

int TBitmap::BitsPerPixel(TPixelFormat format) {
  switch (format) {
  case pf1bit:
    return 1;
  case pf4bit:
    return 4;
  case pf8bit:
    return 8;
  case pf15bit:
  case pf16bit:
    return 16;
  case pf32bit:
    return 32;
  case pf24bit:
    break;
  }
  return 24;
}

long TBitmap::LiveGdiObjects() {
  return gLiveGdiObjects.load();
}

TBitmap::TBitmap(int width, int height, TPixelFormat format) : FPixelFormat(format) {
  SetSize(width, height);
}

TBitmap::TBitmap(const TBitmap& other)
    : TransparentColor(other.TransparentColor), Transparent(other.Transparent) {
  FPixelFormat = other.FPixelFormat;
  FPalette = other.FPalette;
  if (other.Empty()) {
    FWidth = other.FWidth;
    FHeight = other.FHeight;
    return;
  }
  Create(other.FWidth, other.FHeight, other.FPixelFormat, other.FPalette);
  if (other.FBitmap) GdiFlush();
  for (int y = 0; y < FHeight; ++y)
    std::memcpy(Row(y), other.Row(y), RowBytes());
}

TBitmap::TBitmap(TBitmap&& other) noexcept {
  Adopt(std::move(other));
}

TBitmap& TBitmap::operator=(const TBitmap& other) {
  if (this != &other) {
    TBitmap copy(other);
    *this = std::move(copy);
  }
  return *this;
}

TBitmap& TBitmap::operator=(TBitmap&& other) noexcept {
  if (this != &other) {
    Release();
    Adopt(std::move(other));
  }
  return *this;
}

TBitmap::~TBitmap() {
  Release();
}

void TBitmap::Adopt(TBitmap&& other) noexcept {
  FWidth = std::exchange(other.FWidth, 0);
  FHeight = std::exchange(other.FHeight, 0);
  FPixelFormat = other.FPixelFormat;
  FPalette = std::move(other.FPalette);
  other.FPalette.clear();
  FMemory = std::move(other.FMemory); // the bytes stay where they are
  other.FMemory.clear();
  FBitmap = std::move(other.FBitmap);
  FBits = std::exchange(other.FBits, nullptr);
  FCanvas = std::move(other.FCanvas);
  FCanvasOld = std::exchange(other.FCanvasOld, nullptr);
  TransparentColor = other.TransparentColor;
  Transparent = other.Transparent;
}

void TBitmap::ReleaseCanvas() {
  if (!FCanvas) return;
  // The canvas is kept across calls (no scope to tie a selection to): the bitmap is selected
  // out by hand before the context goes.
  SelectObject(FCanvas.Get(), FCanvasOld);
  FCanvas.Reset();
  --gLiveGdiObjects;
  FCanvasOld = nullptr;
}

void TBitmap::Release() {
  ReleaseCanvas();
  if (FBitmap) {
    FBitmap.Reset();
    --gLiveGdiObjects;
  }
  FBits = nullptr;
  std::vector<std::uint8_t>().swap(FMemory);
}

void TBitmap::Clear() {
  Release();
  FWidth = FHeight = 0;
}

std::size_t TBitmap::RowBytes() const {
  return BmpFile::TBmpImage::RowBytesFor(FWidth, Bpp(FPixelFormat));
}

void TBitmap::Create(int width, int height, TPixelFormat format,
                     const std::vector<std::uint32_t>& palette) {
  if (width <= 0 || height <= 0 ||
      static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > BmpFile::kMaxPixels)
    throw std::length_error("Bitmap size out of range");
  std::vector<std::uint32_t> colors = TableFor(format, palette);
  std::vector<std::uint8_t> memory;
  try {
    memory.assign(
        BmpFile::TBmpImage::RowBytesFor(width, Bpp(format)) * static_cast<std::size_t>(height), 0);
  } catch (const std::bad_alloc&) {
    throw std::runtime_error("Out of system resources");
  }
  Release();
  FMemory = std::move(memory);
  FBits = FMemory.data();
  FWidth = width;
  FHeight = height;
  FPixelFormat = format;
  FPalette = std::move(colors);
}

void TBitmap::NeedHandle() {
  if (FBitmap || !FBits) return;
  TInfo info{};
  info.Header.biSize = sizeof(BITMAPINFOHEADER);
  info.Header.biWidth = FWidth;
  info.Header.biHeight = FHeight; // bottom-up
  info.Header.biPlanes = 1;
  info.Header.biBitCount = static_cast<WORD>(Bpp(FPixelFormat));
  info.Header.biCompression = BI_RGB;
  if (IsPalettised(FPixelFormat)) {
    for (std::size_t i = 0; i < FPalette.size(); ++i)
      info.Colors[i] = FPalette[i] & 0xFFFFFF; // RGBQUAD: blue, green, red, 0
  } else if (FPixelFormat == pf16bit) {
    info.Header.biCompression = BI_BITFIELDS;
    info.Colors[0] = 0xF800;
    info.Colors[1] = 0x07E0;
    info.Colors[2] = 0x001F;
  }
  void* bitsPtr = nullptr;
  TBitmapHandle bitmap(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info),
                                        DIB_RGB_COLORS, &bitsPtr, nullptr, 0));
  if (!bitmap || !bitsPtr) throw std::runtime_error("Out of system resources");
  ++gLiveGdiObjects;
  auto* dib = static_cast<std::uint8_t*>(bitsPtr);
  const std::size_t rowBytes = RowBytes();
  for (int y = 0; y < FHeight; ++y)
    std::memcpy(dib + static_cast<std::size_t>(FHeight - 1 - y) * rowBytes,
                FMemory.data() + static_cast<std::size_t>(y) * rowBytes, rowBytes);
  FBitmap = std::move(bitmap);
  FBits = dib;
  std::vector<std::uint8_t>().swap(FMemory);
}

void TBitmap::SetSize(int width, int height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (width == FWidth && height == FHeight) return;
  if (width == 0 || height == 0) {
    Release();
    FWidth = width;
    FHeight = height;
    return;
  }
  TBitmap resized;
  resized.Create(width, height, FPixelFormat, FPalette);
  // New pixels are white: every bit set, or the palette's entry nearest to white.
  std::uint8_t fill = 0xFF;
  if (IsPalettised(FPixelFormat)) {
    const int bits = Bpp(FPixelFormat);
    const unsigned index = static_cast<unsigned>(NearestIndex(resized.FPalette, 0xFFFFFF));
    fill = 0;
    for (int i = 0; i < 8; i += bits)
      fill = static_cast<std::uint8_t>((fill << bits) | index);
  }
  std::memset(resized.FBits, fill, resized.RowBytes() * static_cast<std::size_t>(height));
  if (!Empty()) {
    const int rows = FHeight < height ? FHeight : height;
    const int columns = FWidth < width ? FWidth : width;
    for (int y = 0; y < rows; ++y)
      CopyPixels(resized.ScanLine(y), ScanLine(y), columns, Bpp(FPixelFormat));
  }
  resized.TransparentColor = TransparentColor;
  resized.Transparent = Transparent;
  *this = std::move(resized);
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == FPixelFormat) return;
  if (Empty()) {
    FPixelFormat = format;
    FPalette.clear();
    return;
  }
  const int fromBits = Bpp(FPixelFormat), toBits = Bpp(format);
  TBitmap converted;
  converted.TransparentColor = TransparentColor;
  converted.Transparent = Transparent;
  if (IsPalettised(FPixelFormat) && IsPalettised(format) && toBits > fromBits) {
    // More index bits: same colour table, same indices.
    converted.Create(FWidth, FHeight, format, FPalette);
    for (int y = 0; y < FHeight; ++y) {
      const std::uint8_t* src = ScanLine(y);
      std::uint8_t* dst = converted.ScanLine(y);
      for (int x = 0; x < FWidth; ++x)
        SetIndex(dst, x, toBits, GetIndex(src, x, fromBits));
    }
  } else {
    const BmpFile::TBmpImage rgb = BmpFile::ConvertTo24(ToImage());
    converted.Create(FWidth, FHeight, format, {});
    if (format == pf24bit || format == pf32bit) {
      for (int y = 0; y < FHeight; ++y) {
        const std::uint8_t* src = rgb.Row(y);
        std::uint8_t* dst = converted.ScanLine(y);
        if (format == pf24bit) {
          std::memcpy(dst, src, static_cast<std::size_t>(FWidth) * 3);
        } else {
          for (int x = 0; x < FWidth; ++x, src += 3, dst += 4) {
            dst[0] = src[0];
            dst[1] = src[1];
            dst[2] = src[2];
            dst[3] = 0;
          }
        }
      }
    } else {
      // Fewer bits: the system matches the colours to the target's palette or depth.
      converted.NeedHandle();
      BITMAPINFO info{};
      info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
      info.bmiHeader.biWidth = FWidth;
      info.bmiHeader.biHeight = -FHeight; // rgb holds the top row first
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 24;
      info.bmiHeader.biCompression = BI_RGB;
      const TClientDC screen(nullptr);
      const int done =
          SetDIBits(screen.DC(), converted.FBitmap.Get(), 0, static_cast<UINT>(FHeight),
                    rgb.Pixels.data(), &info, DIB_RGB_COLORS);
      if (done != FHeight) throw std::runtime_error("Bitmap conversion failed");
    }
  }
  *this = std::move(converted);
}

std::uint8_t* TBitmap::Row(int y) const {
  const int stored = FBitmap ? FHeight - 1 - y : y;
  return FBits + static_cast<std::size_t>(stored) * RowBytes();
}

std::uint8_t* TBitmap::ScanLine(int y) {
  if (Empty() || y < 0 || y >= FHeight) throw std::out_of_range("Scan line index out of range");
  if (FBitmap) GdiFlush();
  return Row(y);
}

const std::uint8_t* TBitmap::ScanLine(int y) const {
  return const_cast<TBitmap*>(this)->ScanLine(y);
}

HBITMAP TBitmap::Handle() {
  ReleaseCanvas();
  NeedHandle();
  return FBitmap.Get();
}

HDC TBitmap::CanvasHandle() {
  if (Empty()) return nullptr;
  if (!FCanvas) {
    NeedHandle();
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) throw std::runtime_error("Out of system resources");
    ++gLiveGdiObjects;
    FCanvasOld = SelectObject(dc, FBitmap.Get());
    FCanvas.Reset(dc);
  }
  return FCanvas.Get();
}

void TBitmap::FromImage(BmpFile::TBmpImage&& image) {
  if (!image.IsConsistent()) throw std::runtime_error("Inconsistent image");
  TBitmap loaded;
  loaded.FWidth = image.Width;
  loaded.FHeight = image.Height;
  loaded.FPixelFormat = FormatOf(image);
  loaded.FPalette = TableFor(loaded.FPixelFormat, image.Palette);
  loaded.FMemory = std::move(image.Pixels); // top row first, as the memory keeps them
  loaded.FBits = loaded.FMemory.data();
  loaded.TransparentColor = TransparentColor;
  loaded.Transparent = Transparent;
  *this = std::move(loaded);
}

BmpFile::TBmpImage TBitmap::ToImage() const {
  if (Empty()) return BmpFile::TBmpImage();
  BmpFile::TBmpImage image =
      BmpFile::Create(FWidth, FHeight, Bpp(FPixelFormat), FPixelFormat == pf16bit);
  image.Palette = FPalette;
  if (FBitmap) GdiFlush();
  for (int y = 0; y < FHeight; ++y)
    std::memcpy(image.Row(y), Row(y), RowBytes());
  return image;
}

bool TBitmap::LoadFromStream(const void* data, std::size_t size) {
  // A file the decoder refuses, or one the system cannot hold, leaves an empty image.
  try {
    BmpFile::TBmpImage image;
    if (BmpFile::Decode(data, size, image)) {
      FromImage(std::move(image));
      return true;
    }
  } catch (const std::exception&) {
  }
  Clear();
  return false;
}

bool TBitmap::LoadFromResourceName(HINSTANCE instance, const char* name) {
  BmpFile::TBmpImage image;
  HRSRC resource = FindResourceA(instance, name, MAKEINTRESOURCEA(2)); // RT_BITMAP
  HGLOBAL global = resource ? LoadResource(instance, resource) : nullptr;
  const void* data = global ? LockResource(global) : nullptr;
  try {
    if (data && BmpFile::DecodeDib(data, SizeofResource(instance, resource), image)) {
      FromImage(std::move(image));
      return true;
    }
  } catch (const std::exception&) {
  }
  Clear();
  return false;
}

void TBitmap::SaveToStream(std::vector<std::uint8_t>& out) const {
  const std::vector<std::uint8_t> bytes = BmpFile::Encode(ToImage());
  out.insert(out.end(), bytes.begin(), bytes.end());
}
