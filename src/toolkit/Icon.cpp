#include "Icon.h"
#include "Handles.h"

#include <cstring>
#include <utility>

namespace {

constexpr size_t kDirSize = 6;
constexpr size_t kEntrySize = 16;
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint16_t Get16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t Get32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
uint32_t GetBig32(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}
void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

bool IsPng(const uint8_t* p, size_t size) {
  return size >= 24 && std::memcmp(p, kPngSignature, sizeof kPngSignature) == 0;
}

// Checks one image of an icon file and gives its size.
bool CheckImage(const uint8_t* p, size_t size, int& width, int& height, int& bits) {
  if (IsPng(p, size)) {
    // The IHDR chunk comes first: its width and height are big-endian.
    uint32_t w = GetBig32(p + 16), h = GetBig32(p + 20);
    if (w == 0 || h == 0 || w > 1024 || h > 1024) return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    bits = 32;
    return true;
  }
  if (size < sizeof(BITMAPINFOHEADER)) return false;
  uint32_t headerSize = Get32(p);
  int32_t w = static_cast<int32_t>(Get32(p + 4));
  int32_t h2 = static_cast<int32_t>(Get32(p + 8));
  uint16_t planes = Get16(p + 12), bitCount = Get16(p + 14);
  uint32_t compression = Get32(p + 16), clrUsed = Get32(p + 32);
  if (headerSize < sizeof(BITMAPINFOHEADER) || headerSize > size) return false;
  // The height counts the colour image and the mask.
  if (w < 1 || w > 256 || h2 < 2 || h2 > 512 || h2 % 2) return false;
  if (planes != 1 || compression != BI_RGB) return false;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
      bitCount != 32)
    return false;
  uint64_t colours = 0;
  if (bitCount <= 8) {
    colours = clrUsed ? clrUsed : (1u << bitCount);
    if (colours > (1u << bitCount)) return false;
  }
  const uint64_t h = static_cast<uint64_t>(h2 / 2);
  const uint64_t xorStride = ((static_cast<uint64_t>(w) * bitCount + 31) / 32) * 4;
  const uint64_t andStride = ((static_cast<uint64_t>(w) + 31) / 32) * 4;
  const uint64_t need = headerSize + colours * 4 + xorStride * h + andStride * h;
  if (need > size) return false;
  width = w;
  height = static_cast<int>(h);
  bits = bitCount;
  return true;
}

// The icon file of one 32-bit image built from a system icon.
std::vector<uint8_t> ImageFromHandle(HICON icon) {
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return {};
  const TBitmapHandle colourBits(info.hbmColor), maskBits(info.hbmMask);
  BITMAP mask{};
  if (!info.hbmMask || !GetObjectA(info.hbmMask, sizeof mask, &mask)) return {};
  const int w = mask.bmWidth;
  // A monochrome icon keeps its AND mask and its XOR image one above the other in the mask.
  const int h = info.hbmColor ? mask.bmHeight : mask.bmHeight / 2;
  if (w < 1 || w > 256 || h < 1 || h > 256) return {};

  const TClientDC screen(nullptr);
  HDC dc = screen.DC();

  const size_t xorStride = static_cast<size_t>(w) * 4;
  const size_t andStride = ((static_cast<size_t>(w) + 31) / 32) * 4;
  std::vector<uint8_t> colour(xorStride * h);
  std::vector<uint8_t> andBits(andStride * h * 2);

  struct {
    BITMAPINFOHEADER H;
    RGBQUAD Palette[2];
  } bi{};
  bi.H.biSize = sizeof(BITMAPINFOHEADER);
  bi.H.biWidth = w;
  bi.H.biPlanes = 1;
  bi.H.biCompression = BI_RGB;
  // The mask: bottom-up rows, 1 bit per pixel (for a monochrome icon the XOR half too).
  bi.H.biHeight = info.hbmColor ? h : 2 * h;
  bi.H.biBitCount = 1;
  if (!GetDIBits(dc, info.hbmMask, 0, static_cast<UINT>(bi.H.biHeight), andBits.data(),
                 reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS))
    return {};
  if (info.hbmColor) {
    BITMAPINFOHEADER ch{};
    ch.biSize = sizeof ch;
    ch.biWidth = w;
    ch.biHeight = h;
    ch.biPlanes = 1;
    ch.biBitCount = 32;
    ch.biCompression = BI_RGB;
    if (!GetDIBits(dc, info.hbmColor, 0, static_cast<UINT>(h), colour.data(),
                   reinterpret_cast<BITMAPINFO*>(&ch), DIB_RGB_COLORS))
      return {};
  } else {
    // Bottom-up: rows 0..h-1 are the XOR half, rows h..2h-1 the AND half.
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        bool set = andBits[y * andStride + x / 8] & (0x80 >> (x % 8));
        uint32_t c = set ? 0x00FFFFFF : 0;
        std::memcpy(&colour[y * xorStride + x * 4], &c, 4);
      }
    std::memmove(andBits.data(), andBits.data() + andStride * h, andStride * h);
  }
  andBits.resize(andStride * h);

  const uint32_t imageSize =
      static_cast<uint32_t>(sizeof(BITMAPINFOHEADER) + colour.size() + andBits.size());
  std::vector<uint8_t> out;
  out.reserve(kDirSize + kEntrySize + imageSize);
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, 1);
  out.push_back(static_cast<uint8_t>(w == 256 ? 0 : w));
  out.push_back(static_cast<uint8_t>(h == 256 ? 0 : h));
  out.push_back(0);
  out.push_back(0);
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, imageSize);
  Put32(out, kDirSize + kEntrySize);
  Put32(out, sizeof(BITMAPINFOHEADER));
  Put32(out, static_cast<uint32_t>(w));
  Put32(out, static_cast<uint32_t>(2 * h));
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, BI_RGB);
  Put32(out, static_cast<uint32_t>(colour.size() + andBits.size()));
  for (int i = 0; i < 4; ++i)
    Put32(out, 0);
  out.insert(out.end(), colour.begin(), colour.end());
  out.insert(out.end(), andBits.begin(), andBits.end());
  return out;
}

} // namespace

bool TIcon::IsIconFile(const uint8_t* data, size_t size) {
  if (!data || size < kDirSize) return false;
  if (Get16(data) != 0 || Get16(data + 2) != 1) return false;
  const size_t count = Get16(data + 4);
  if (count == 0) return false;
  const size_t dirEnd = kDirSize + count * kEntrySize;
  if (dirEnd > size) return false;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = data + kDirSize + i * kEntrySize;
    const uint64_t bytes = Get32(e + 8), offset = Get32(e + 12);
    if (bytes == 0 || offset < dirEnd || offset + bytes > size) return false;
    int w, h, bits;
    if (!CheckImage(data + offset, static_cast<size_t>(bytes), w, h, bits)) return false;
  }
  return true;
}

void TIcon::Changed() {
  if (OnChange) OnChange();
}

bool TIcon::BestImage(size_t& offset, size_t& size) const {
  if (FImage.empty()) return false;
  const size_t count = Get16(FImage.data() + 4);
  long best = -1;
  int bestArea = -1, bestBits = -1;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = FImage.data() + kDirSize + i * kEntrySize;
    size_t bytes = Get32(e + 8), at = Get32(e + 12);
    int w = 0, h = 0, bits = 0;
    if (!CheckImage(FImage.data() + at, bytes, w, h, bits)) continue;
    if (w * h > bestArea || (w * h == bestArea && bits > bestBits)) {
      best = static_cast<long>(i);
      bestArea = w * h;
      bestBits = bits;
      offset = at;
      size = bytes;
    }
  }
  return best >= 0;
}

int TIcon::Width() const {
  size_t at, bytes;
  int w = 0, h = 0, bits = 0;
  if (BestImage(at, bytes)) CheckImage(FImage.data() + at, bytes, w, h, bits);
  return w;
}

int TIcon::Height() const {
  size_t at, bytes;
  int w = 0, h = 0, bits = 0;
  if (BestImage(at, bytes)) CheckImage(FImage.data() + at, bytes, w, h, bits);
  return h;
}

HICON TIcon::Handle() const {
  if (!FHandle) {
    size_t at, bytes;
    if (BestImage(at, bytes))
      FHandle.Reset(CreateIconFromResourceEx(const_cast<uint8_t*>(FImage.data() + at),
                                             static_cast<DWORD>(bytes), TRUE, 0x00030000, 0, 0,
                                             LR_DEFAULTCOLOR));
  }
  return FHandle.Get();
}

void TIcon::SetHandle(HICON icon) {
  if (icon && icon == FHandle.Get()) return; // already this icon's own handle
  TIconHandle taken(icon);                   // owned from here on, kept only when it can be read
  FHandle.Reset();
  FImage = ImageFromHandle(icon);
  if (!FImage.empty()) FHandle = std::move(taken);
  Changed();
}

void TIcon::Assign(const TIcon* source) {
  if (source == this) return;
  FHandle.Reset();
  if (source)
    FImage = source->FImage;
  else
    FImage.clear();
  Changed();
}

void TIcon::Clear() {
  FHandle.Reset();
  FImage.clear();
  Changed();
}

bool TIcon::LoadFromBytes(const uint8_t* data, size_t size) {
  FHandle.Reset();
  const bool ok = IsIconFile(data, size);
  if (ok)
    FImage.assign(data, data + size);
  else
    FImage.clear();
  Changed();
  return ok;
}

bool TIcon::LoadFromFile(const std::string& path) {
  TMemoryStream s;
  if (!s.LoadFromFile(path)) return false;
  return LoadFromBytes(s.Data());
}

bool TIcon::SaveToFile(const std::string& path) const {
  return TMemoryStream(FImage).SaveToFile(path);
}

bool TIcon::LoadFromResourceName(HINSTANCE instance, const char* name) {
  auto resource = [instance](LPCSTR id, LPCSTR type, DWORD& size) -> const uint8_t* {
    HRSRC res = FindResourceA(instance, id, type);
    if (!res) return nullptr;
    HGLOBAL h = LoadResource(instance, res);
    size = SizeofResource(instance, res);
    return h ? static_cast<const uint8_t*>(LockResource(h)) : nullptr;
  };
  DWORD groupSize = 0;
  const uint8_t* group = resource(name, reinterpret_cast<LPCSTR>(RT_GROUP_ICON), groupSize);
  std::vector<uint8_t> file;
  // The group directory: like the file's, but each 14-byte entry names an icon resource.
  if (group && groupSize >= kDirSize && Get16(group + 2) == 1) {
    const size_t count = Get16(group + 4);
    if (count > 0 && kDirSize + count * 14 <= groupSize) {
      std::vector<std::pair<const uint8_t*, DWORD>> images;
      for (size_t i = 0; i < count; ++i) {
        const uint8_t* e = group + kDirSize + i * 14;
        DWORD size = 0;
        const uint8_t* img =
            resource(MAKEINTRESOURCEA(Get16(e + 12)), reinterpret_cast<LPCSTR>(RT_ICON), size);
        if (!img || size == 0) {
          images.clear();
          break;
        }
        images.emplace_back(img, size);
      }
      if (!images.empty()) {
        Put16(file, 0);
        Put16(file, 1);
        Put16(file, static_cast<uint32_t>(count));
        uint32_t offset = static_cast<uint32_t>(kDirSize + count * kEntrySize);
        for (size_t i = 0; i < count; ++i) {
          const uint8_t* e = group + kDirSize + i * 14;
          file.insert(file.end(), e, e + 8); // width, height, colours, reserved, planes, bits
          Put32(file, images[i].second);
          Put32(file, offset);
          offset += images[i].second;
        }
        for (const auto& [img, size] : images)
          file.insert(file.end(), img, img + size);
      }
    }
  }
  return LoadFromBytes(file);
}

bool TIcon::ReadStored(const std::vector<uint8_t>& stored) {
  if (stored.size() >= 4) {
    const int32_t len = static_cast<int32_t>(Get32(stored.data()));
    if (len == 0) {
      Clear();
      return true;
    }
    if (len > 0 && static_cast<uint64_t>(len) <= stored.size() - 4)
      return LoadFromBytes(stored.data() + 4, static_cast<size_t>(len));
  }
  Clear();
  return false;
}

std::vector<uint8_t> TIcon::WriteStored() const {
  std::vector<uint8_t> out;
  Put32(out, static_cast<uint32_t>(FImage.size()));
  out.insert(out.end(), FImage.begin(), FImage.end());
  return out;
}
