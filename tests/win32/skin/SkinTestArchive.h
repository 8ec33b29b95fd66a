// Building skins for tests: BMP images of chosen colours and stored skins (archive + LZH) made
// with the packer's writer and encoder.
#pragma once
#include "BmpFile.h"
#include "SkinArchiveWriter.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace SkinTest {

// A 24-bit BMP file whose pixel (x, y) has colour(x, y) (a COLORREF).
inline std::vector<std::uint8_t> Bmp(int width, int height,
                                     const std::function<COLORREF(int, int)>& colour) {
  BmpFile::TBmpImage image = BmpFile::Create(width, height, 24);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const COLORREF c = colour(x, y);
      std::uint8_t* p = image.Row(y) + 3 * x;
      p[0] = GetBValue(c);
      p[1] = GetGValue(c);
      p[2] = GetRValue(c);
    }
  return BmpFile::Encode(image);
}

inline std::vector<std::uint8_t> Solid(int width, int height, COLORREF colour) {
  return Bmp(width, height, [colour](int, int) { return colour; });
}

// The stored property form of a stored skin: a signed 32-bit length, then the bytes.
inline std::vector<std::uint8_t> Property(const std::vector<std::uint8_t>& stored) {
  std::vector<std::uint8_t> p(4 + stored.size());
  const std::uint32_t n = static_cast<std::uint32_t>(stored.size());
  for (int i = 0; i < 4; ++i)
    p[i] = static_cast<std::uint8_t>(n >> (8 * i));
  std::copy(stored.begin(), stored.end(), p.begin() + 4);
  return p;
}

// A skin archive in the making: images by name, then the description.
class TSkinBuilder {
public:
  TSkinBuilder& Image(const std::string& name, std::vector<std::uint8_t> bytes) {
    FEntries.push_back({name, std::move(bytes)});
    return *this;
  }
  // The stored skin (layer 2) with the description as entry "skin.ini" after the images.
  std::vector<std::uint8_t> Stored(const std::string& ini) const {
    std::vector<TSkinArchiveEntry> entries = FEntries;
    entries.push_back({"skin.ini", std::vector<std::uint8_t>(ini.begin(), ini.end())});
    return BuildStoredSkin(BuildSkinArchive(entries));
  }

private:
  std::vector<TSkinArchiveEntry> FEntries;
};

} // namespace SkinTest
