// Writes the seed corpora of the INI and BMP fuzz targets: <dir>/ini and <dir>/bmp.
#include "BmpFile.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using TBytes = std::vector<std::uint8_t>;

void Write(const std::filesystem::path& path, const TBytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

void Put16(TBytes& b, std::uint32_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(TBytes& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

BmpFile::TBmpImage Sample(int w, int h, int bpp, bool is565 = false) {
  BmpFile::TBmpImage image = BmpFile::Create(w, h, bpp, is565);
  for (std::size_t i = 0; i < image.Palette.size(); ++i)
    image.Palette[i] = static_cast<std::uint32_t>(i * 0x030507) & 0xFFFFFF;
  for (std::size_t i = 0; i < image.Pixels.size(); ++i)
    image.Pixels[i] = static_cast<std::uint8_t>(i * 29 + 3);
  return image;
}

// A file with a given info header and pixel bytes, offsets computed.
TBytes File(const TBytes& info, const TBytes& pixels) {
  TBytes f{'B', 'M'};
  Put32(f, static_cast<std::uint32_t>(14 + info.size() + pixels.size()));
  Put32(f, 0);
  Put32(f, static_cast<std::uint32_t>(14 + info.size()));
  f.insert(f.end(), info.begin(), info.end());
  f.insert(f.end(), pixels.begin(), pixels.end());
  return f;
}

TBytes InfoHeader(std::uint32_t size, std::int32_t w, std::int32_t h, int bpp,
                  std::uint32_t compression) {
  TBytes b;
  Put32(b, size);
  Put32(b, static_cast<std::uint32_t>(w));
  Put32(b, static_cast<std::uint32_t>(h));
  Put16(b, 1);
  Put16(b, static_cast<std::uint32_t>(bpp));
  Put32(b, compression);
  for (int i = 0; i < 5; ++i)
    Put32(b, 0);
  return b;
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::filesystem::path root = argv[1];
  std::filesystem::create_directories(root / "ini");
  std::filesystem::create_directories(root / "bmp");

  const std::string inis[] = {
      "[Buttons]\r\nimage=buttons.bmp\r\nLeftWidth = 4\r\nTrans=1\r\n\r\n[Form]\r\n"
      "Color=0x00FF00FF\r\n;comment=1\r\n#x=2\r\nKey=a=b\r\n[buttons]\r\nimage=other.bmp\r\n",
      "[a]\nk=\nk=5\nn=-2147483648\nh=$FFFFFFFF\nbad=12px\n[ b ]\n=x\n[]\ne=1",
      std::string("[s]\rv=1\r\n\n[t]\0after=1\n", 24)};
  int n = 0;
  for (const std::string& text : inis)
    Write(root / "ini" / ("seed" + std::to_string(n++)), TBytes(text.begin(), text.end()));

  n = 0;
  auto bmp = [&](const TBytes& bytes) {
    Write(root / "bmp" / ("seed" + std::to_string(n++)), bytes);
  };
  for (int bpp : {1, 4, 8, 16, 24, 32})
    bmp(BmpFile::Encode(Sample(5, 3, bpp)));
  bmp(BmpFile::Encode(Sample(3, 2, 16, true)));

  // Top-down 24 bits.
  bmp(File(InfoHeader(40, 2, -2, 24, 0), TBytes(16, 0x7F)));
  // 32 bits with bit fields in a 108-byte header, red in the low byte.
  TBytes v4 = InfoHeader(108, 2, 1, 32, 3);
  for (std::uint32_t m : {0xFFu, 0xFF00u, 0xFF0000u, 0xFF000000u})
    Put32(v4, m);
  v4.resize(108, 0);
  bmp(File(v4, {1, 2, 3, 4, 5, 6, 7, 8}));
  // 16 bits 4-4-4 with the masks after a 40-byte header.
  TBytes f444 = InfoHeader(40, 2, 1, 16, 3);
  for (std::uint32_t m : {0x0F00u, 0x00F0u, 0x000Fu})
    Put32(f444, m);
  bmp(File(f444, {0x21, 0x03, 0xFF, 0x0F}));
  // Core header, 8 bits with a short 3-byte table would be refused: give all 256 entries.
  TBytes core;
  Put32(core, 12);
  Put16(core, 2);
  Put16(core, 2);
  Put16(core, 1);
  Put16(core, 8);
  for (int i = 0; i < 256; ++i) {
    core.push_back(static_cast<std::uint8_t>(i));
    core.push_back(static_cast<std::uint8_t>(255 - i));
    core.push_back(static_cast<std::uint8_t>(i * 3));
  }
  bmp(File(core, {0, 1, 0, 0, 2, 3, 0, 0}));
  return 0;
}
