// skingen: writes every image of the default skin (or, with --test, of the test skin) as a BMP
// file into a folder and copies the skin description next to them, ready for the skin packer.
//
//   skingen [--test] <out-folder> [<skin.ini>]
//
// Without a description argument it is the skins/default/skin.ini (skins/test/skin.ini) of the
// source tree this tool was built from. The output is the same byte for byte on every run.
#include "DefaultSkin.h"
#include "TestSkinImages.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifndef TARNEL_DEFAULT_SKIN_INI
#define TARNEL_DEFAULT_SKIN_INI "skins/default/skin.ini"
#endif
#ifndef TARNEL_TEST_SKIN_INI
#define TARNEL_TEST_SKIN_INI "skins/test/skin.ini"
#endif

namespace {

namespace fs = std::filesystem;

std::vector<char> ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path.string());
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw std::runtime_error("cannot read " + path.string());
  return bytes;
}

void WriteAll(const fs::path& path, const void* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

} // namespace

int main(int argc, char** argv) {
  const bool test = argc > 1 && std::string(argv[1]) == "--test";
  const int first = test ? 2 : 1; // index of the folder argument
  if (argc < first + 1 || argc > first + 2) {
    std::fprintf(stderr, "usage: skingen [--test] <out-folder> [<skin.ini>]\n");
    return 2;
  }
  try {
    const fs::path outDir = argv[first];
    const fs::path iniPath = argc == first + 2 ? fs::path(argv[first + 1])
                             : test            ? fs::path(TARNEL_TEST_SKIN_INI)
                                               : fs::path(TARNEL_DEFAULT_SKIN_INI);
    const std::vector<char> ini = ReadAll(iniPath);
    fs::create_directories(outDir);
    for (const SkinGen::TSkinImage& img :
         test ? SkinGen::BuildTestSkin() : SkinGen::BuildDefaultSkin()) {
      const std::vector<std::uint8_t> bmp = img.Image.EncodeBmp();
      WriteAll(outDir / img.Name, bmp.data(), bmp.size());
    }
    WriteAll(outDir / iniPath.filename(), ini.data(), ini.size());
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skingen: %s\n", e.what());
    return 1;
  }
}
