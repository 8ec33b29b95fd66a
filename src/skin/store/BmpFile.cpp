#include "BmpFile.h"

#include <bit>
#include <cstring>
#include <limits>
#include <optional>

namespace BmpFile {

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;

std::uint16_t U16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t U32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::int32_t I32(const std::uint8_t* p) {
  return static_cast<std::int32_t>(U32(p));
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

bool IsKnownDepth(int bpp) {
  return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
}

// One colour channel of a bit-field layout.
struct TChannel {
  std::uint32_t Mask = 0;
  int Shift = 0;
  int Bits = 0;

  static std::optional<TChannel> From(std::uint32_t mask) {
    TChannel c;
    c.Mask = mask;
    if (mask == 0) return c; // absent channel (alpha only)
    c.Shift = std::countr_zero(mask);
    c.Bits = std::popcount(mask);
    if ((mask >> c.Shift) != (c.Bits == 32 ? 0xFFFFFFFFu : ((1u << c.Bits) - 1)))
      return std::nullopt; // not one run of bits
    return c;
  }
  // The channel's value widened or narrowed to 8 bits (bits repeated downwards when widening).
  std::uint8_t Value(std::uint32_t pixel) const {
    if (Bits == 0) return 0;
    const std::uint32_t v = (pixel & Mask) >> Shift;
    if (Bits >= 8) return static_cast<std::uint8_t>(v >> (Bits - 8));
    std::uint32_t r = 0;
    int filled = 0;
    while (filled < 8) {
      r = (r << Bits) | v;
      filled += Bits;
    }
    return static_cast<std::uint8_t>(r >> (filled - 8));
  }
};

struct TLayout {
  TChannel Red, Green, Blue, Alpha;
};

std::uint32_t ReadPixelWord(const std::uint8_t* row, int x, int bpp) {
  if (bpp == 16) return U16(row + 2 * x);
  return U32(row + 4 * x);
}

// Parses an info header and everything after it. `data`/`size` start at the info header;
// `pixelOffset` (relative to `data`) is the file's stated offset, or none for a packed DIB.
bool DecodeBody(const std::uint8_t* data, std::size_t size,
                std::optional<std::uint64_t> pixelOffset, TBmpImage& image) {
  if (size < 4) return false;
  const std::uint32_t headerSize = U32(data);
  std::int64_t width, height;
  int planes, bpp;
  std::uint32_t compression = kBiRgb, colorsUsed = 0;
  std::size_t entrySize = 4;
  std::uint32_t masks[4] = {0, 0, 0, 0};
  bool masksInHeader = false;

  if (headerSize == 12) {
    if (size < 12) return false;
    width = U16(data + 4);
    height = U16(data + 6);
    planes = U16(data + 8);
    bpp = U16(data + 10);
    entrySize = 3;
    if (bpp == 16 || bpp == 32) return false;
  } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 ||
             headerSize == 124) {
    if (size < headerSize) return false;
    width = I32(data + 4);
    height = I32(data + 8);
    planes = U16(data + 12);
    bpp = U16(data + 14);
    compression = U32(data + 16);
    colorsUsed = U32(data + 32);
    if (headerSize >= 52) {
      masksInHeader = true;
      masks[0] = U32(data + 40);
      masks[1] = U32(data + 44);
      masks[2] = U32(data + 48);
      if (headerSize >= 56) masks[3] = U32(data + 52);
    }
  } else {
    return false;
  }

  if (planes != 1 || !IsKnownDepth(bpp)) return false;
  if (width <= 0 || height == 0) return false;
  const bool topDown = height < 0;
  const std::int64_t rows = topDown ? -height : height;
  if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(rows) > kMaxPixels)
    return false;

  std::uint64_t pos = headerSize;
  const bool bitfields = compression == kBiBitfields || compression == kBiAlphaBitfields;
  if (compression != kBiRgb && !bitfields) return false;
  if (bitfields && bpp != 16 && bpp != 32) return false;

  if (bitfields) {
    if (!masksInHeader) {
      const std::uint64_t maskBytes = compression == kBiAlphaBitfields ? 16 : 12;
      if (pos + maskBytes > size) return false;
      for (std::uint64_t i = 0; i < maskBytes / 4; ++i)
        masks[i] = U32(data + pos + 4 * i);
      pos += maskBytes;
    }
  } else if (bpp == 16) {
    masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F, masks[3] = 0;
  } else if (bpp == 32) {
    masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF, masks[3] = 0;
  }

  TLayout layout;
  if (bpp == 16 || bpp == 32) {
    const std::uint32_t limit = bpp == 16 ? 0xFFFFu : 0xFFFFFFFFu;
    std::optional<TChannel> ch[4];
    for (int i = 0; i < 4; ++i) {
      ch[i] = TChannel::From(masks[i]);
      if (!ch[i] || (masks[i] & ~limit) != 0) return false;
    }
    if (masks[0] == 0 || masks[1] == 0 || masks[2] == 0) return false;
    if ((masks[0] & masks[1]) || (masks[0] & masks[2]) || (masks[1] & masks[2]) ||
        ((masks[0] | masks[1] | masks[2]) & masks[3]))
      return false;
    layout = {*ch[0], *ch[1], *ch[2], *ch[3]};
  }

  // Colour table: required below 16 bits, optional (and skipped) above.
  std::vector<std::uint32_t> palette;
  if (bpp <= 8) {
    const std::uint32_t full = 1u << bpp;
    const std::uint32_t count = colorsUsed == 0 ? full : colorsUsed;
    if (count > full) return false;
    if (pos + std::uint64_t{count} * entrySize > size) return false;
    palette.assign(full, 0);
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::uint8_t* e = data + pos + std::uint64_t{i} * entrySize;
      palette[i] = static_cast<std::uint32_t>(e[0]) | (static_cast<std::uint32_t>(e[1]) << 8) |
                   (static_cast<std::uint32_t>(e[2]) << 16);
    }
    pos += std::uint64_t{count} * entrySize;
  } else if (!pixelOffset) {
    pos += std::uint64_t{colorsUsed} * entrySize;
  }

  std::uint64_t offset = pos;
  if (pixelOffset) {
    if (*pixelOffset < pos) // the pixels would overlap the headers or the colour table
      return false;
    offset = *pixelOffset;
  }
  const std::uint64_t rowBytes = TBmpImage::RowBytesFor(static_cast<int>(width), bpp);
  if (offset > size || rowBytes * static_cast<std::uint64_t>(rows) > size - offset) return false;

  // Canonical depth of the result.
  int outBpp = bpp;
  bool is565 = false;
  bool convert = false;
  if (bpp == 16) {
    if (masks[0] == 0x7C00 && masks[1] == 0x03E0 && masks[2] == 0x001F) {
    } else if (masks[0] == 0xF800 && masks[1] == 0x07E0 && masks[2] == 0x001F) {
      is565 = true;
    } else {
      outBpp = 24;
      convert = true;
    }
  } else if (bpp == 32) {
    convert = !(masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF &&
                (masks[3] == 0 || masks[3] == 0xFF000000u));
  }

  TBmpImage out = Create(static_cast<int>(width), static_cast<int>(rows), outBpp, is565);
  if (out.Empty()) return false;
  out.Palette = std::move(palette);
  const std::uint8_t* pixels = data + offset;
  for (std::int64_t y = 0; y < rows; ++y) {
    const std::uint8_t* src = pixels + (topDown ? y : rows - 1 - y) * rowBytes;
    std::uint8_t* dst = out.Row(static_cast<int>(y));
    if (!convert) {
      std::memcpy(dst, src, rowBytes);
      continue;
    }
    for (std::int64_t x = 0; x < width; ++x) {
      const std::uint32_t w = ReadPixelWord(src, static_cast<int>(x), bpp);
      std::uint8_t* d = dst + x * (outBpp / 8);
      d[0] = layout.Blue.Value(w);
      d[1] = layout.Green.Value(w);
      d[2] = layout.Red.Value(w);
      if (outBpp == 32) d[3] = layout.Alpha.Value(w);
    }
  }
  image = std::move(out);
  return true;
}

} // namespace

std::uint32_t TBmpImage::PixelRGB(int x, int y) const {
  const std::uint8_t* row = Row(y);
  switch (BitsPerPixel) {
  case 1:
  case 4:
  case 8: {
    const int bit = x * BitsPerPixel;
    const int shift = 8 - BitsPerPixel - (bit & 7);
    const unsigned index = (row[bit >> 3] >> shift) & ((1u << BitsPerPixel) - 1);
    return Palette[index];
  }
  case 16: {
    const std::uint32_t w = U16(row + 2 * x);
    static const TChannel r555 = *TChannel::From(0x7C00), g555 = *TChannel::From(0x03E0);
    static const TChannel r565 = *TChannel::From(0xF800), g565 = *TChannel::From(0x07E0);
    static const TChannel b = *TChannel::From(0x001F);
    const TChannel& r = Is565 ? r565 : r555;
    const TChannel& g = Is565 ? g565 : g555;
    return (static_cast<std::uint32_t>(r.Value(w)) << 16) |
           (static_cast<std::uint32_t>(g.Value(w)) << 8) | b.Value(w);
  }
  case 24:
  case 32: {
    const std::uint8_t* p = row + x * (BitsPerPixel / 8);
    return (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[1]) << 8) |
           p[0];
  }
  }
  return 0;
}

bool TBmpImage::IsConsistent() const {
  if (Empty() || !IsKnownDepth(BitsPerPixel)) return false;
  if (static_cast<std::uint64_t>(Width) * static_cast<std::uint64_t>(Height) > kMaxPixels)
    return false;
  const std::size_t paletteSize = BitsPerPixel <= 8 ? (std::size_t{1} << BitsPerPixel) : 0;
  return Palette.size() == paletteSize && Pixels.size() == RowBytes() * Height;
}

TBmpImage Create(int width, int height, int bitsPerPixel, bool is565) {
  TBmpImage image;
  if (width <= 0 || height <= 0 || !IsKnownDepth(bitsPerPixel) ||
      static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > kMaxPixels)
    return image;
  image.Width = width;
  image.Height = height;
  image.BitsPerPixel = bitsPerPixel;
  image.Is565 = bitsPerPixel == 16 && is565;
  if (bitsPerPixel <= 8) image.Palette.assign(std::size_t{1} << bitsPerPixel, 0);
  image.Pixels.assign(image.RowBytes() * static_cast<std::size_t>(height), 0);
  return image;
}

bool Decode(const void* data, std::size_t size, TBmpImage& image) {
  image = TBmpImage();
  const auto* p = static_cast<const std::uint8_t*>(data);
  if (p == nullptr || size < kFileHeaderSize + 12 || p[0] != 'B' || p[1] != 'M') return false;
  const std::uint32_t fileSize = U32(p + 2);
  const std::uint32_t offBits = U32(p + 10);
  // The stated file size may be 0 (unknown) or less than the bytes given (trailing bytes are
  // ignored), but never more: such a file is truncated or its header lies.
  std::size_t limit = size;
  if (fileSize != 0) {
    if (fileSize > size || fileSize < kFileHeaderSize + 12) return false;
    limit = fileSize;
  }
  if (offBits < kFileHeaderSize) return false;
  return DecodeBody(p + kFileHeaderSize, limit - kFileHeaderSize, offBits - kFileHeaderSize, image);
}

bool DecodeDib(const void* data, std::size_t size, TBmpImage& image) {
  image = TBmpImage();
  if (data == nullptr) return false;
  return DecodeBody(static_cast<const std::uint8_t*>(data), size, std::nullopt, image);
}

std::vector<std::uint8_t> Encode(const TBmpImage& image) {
  std::vector<std::uint8_t> out;
  if (!image.IsConsistent()) return out;
  const bool bitfields = image.BitsPerPixel == 16 && image.Is565;
  const std::size_t headers =
      kFileHeaderSize + kInfoHeaderSize + (bitfields ? 12 : 0) + image.Palette.size() * 4;
  const std::size_t imageSize = image.Pixels.size();
  const std::uint64_t total = headers + static_cast<std::uint64_t>(imageSize);
  if (total > std::numeric_limits<std::uint32_t>::max()) return out;
  out.reserve(static_cast<std::size_t>(total));
  out.push_back('B');
  out.push_back('M');
  Put32(out, static_cast<std::uint32_t>(total));
  Put32(out, 0);
  Put32(out, static_cast<std::uint32_t>(headers));
  Put32(out, kInfoHeaderSize);
  Put32(out, static_cast<std::uint32_t>(image.Width));
  Put32(out, static_cast<std::uint32_t>(image.Height));
  Put16(out, 1);
  Put16(out, static_cast<std::uint32_t>(image.BitsPerPixel));
  Put32(out, bitfields ? kBiBitfields : kBiRgb);
  Put32(out, static_cast<std::uint32_t>(imageSize));
  Put32(out, 2835); // 72 dpi
  Put32(out, 2835);
  Put32(out, 0); // colours used: the whole table
  Put32(out, 0);
  if (bitfields) {
    Put32(out, 0xF800);
    Put32(out, 0x07E0);
    Put32(out, 0x001F);
  }
  for (std::uint32_t c : image.Palette)
    Put32(out, c & 0x00FFFFFF);
  const std::size_t rowBytes = image.RowBytes();
  for (int y = image.Height - 1; y >= 0; --y) {
    const std::uint8_t* row = image.Row(y);
    out.insert(out.end(), row, row + rowBytes);
  }
  return out;
}

TBmpImage ConvertTo24(const TBmpImage& image) {
  if (!image.IsConsistent()) return TBmpImage();
  if (image.BitsPerPixel == 24) return image;
  TBmpImage out = Create(image.Width, image.Height, 24);
  for (int y = 0; y < image.Height; ++y) {
    std::uint8_t* d = out.Row(y);
    for (int x = 0; x < image.Width; ++x, d += 3) {
      const std::uint32_t c = image.PixelRGB(x, y);
      d[0] = static_cast<std::uint8_t>(c);
      d[1] = static_cast<std::uint8_t>(c >> 8);
      d[2] = static_cast<std::uint8_t>(c >> 16);
    }
  }
  return out;
}

} // namespace BmpFile
