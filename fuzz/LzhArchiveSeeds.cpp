// Writes the seed corpora of the LZH and skin archive fuzzers into <folder>/lzh and
// <folder>/archive.
#include "SkinArchiveWriter.h"
#include "SkinLzhEncoder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes B(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

void Save(const fs::path& p, const Bytes& b) {
  std::ofstream(p, std::ios::binary)
      .write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

Bytes LzhSeed(const Bytes& data) {
  Bytes s = {uint8_t(data.size()), uint8_t(data.size() >> 8)};
  const Bytes stream = TLZHEncoder().Encode(data);
  s.insert(s.end(), stream.begin(), stream.end());
  return s;
}

Bytes Gradient(std::size_t n) {
  Bytes b = B("BM");
  for (std::size_t i = 2; i < n; ++i)
    b.push_back(uint8_t(i % 3 == 1 ? 0 : i / 7));
  return b;
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  const fs::path root = argv[1];
  fs::create_directories(root / "lzh");
  fs::create_directories(root / "archive");

  Save(root / "lzh" / "text", LzhSeed(B("[Buttons]\r\nImage=buttons.bmp\r\nTrans=1\r\n"
                                        "[Tab]\r\nImage=tab.bmp\r\nTrans=1\r\n")));
  Save(root / "lzh" / "image", LzhSeed(Gradient(1500)));
  Save(root / "lzh" / "run", LzhSeed(Bytes(700, 0)));

  const std::vector<TSkinArchiveEntry> entries = {
      {"buttons.bmp", Gradient(200)},
      {"tab.bmp", Gradient(90)},
      {"skin.ini", B("[Buttons]\r\nImage=Buttons.bmp\r\n")}};
  int n = 0;
  for (uint32_t format : {20000u, 30000u, 70000u}) {
    const Bytes archive = BuildSkinArchive(entries, format);
    Bytes clear = {1};
    clear.insert(clear.end(), archive.begin(), archive.end());
    Save(root / "archive" / ("clear" + std::to_string(n)), clear);
    Bytes stored = {0};
    const Bytes packed = BuildStoredSkin(archive);
    stored.insert(stored.end(), packed.begin(), packed.end());
    Save(root / "archive" / ("stored" + std::to_string(n)), stored);
    ++n;
  }
  return 0;
}
