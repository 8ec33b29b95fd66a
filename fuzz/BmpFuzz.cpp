// Fuzzes the BMP decoder with whole files and with packed DIBs: whatever it accepts must be a
// consistent image that survives conversion and a write-read round trip unchanged.
#include "BmpFile.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void Exercise(const BmpFile::TBmpImage& image) {
  Check(image.IsConsistent());
  const BmpFile::TBmpImage rgb = BmpFile::ConvertTo24(image);
  Check(rgb.IsConsistent() && rgb.Width == image.Width && rgb.Height == image.Height);
  for (int y = 0; y < image.Height; ++y)
    for (int x = 0; x < image.Width; ++x)
      Check(rgb.PixelRGB(x, y) == image.PixelRGB(x, y));
  const std::vector<std::uint8_t> file = BmpFile::Encode(image);
  BmpFile::TBmpImage back;
  Check(BmpFile::Decode(file.data(), file.size(), back));
  Check(back.Width == image.Width && back.Height == image.Height &&
        back.BitsPerPixel == image.BitsPerPixel && back.Is565 == image.Is565 &&
        back.Palette == image.Palette && back.Pixels == image.Pixels);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  BmpFile::TBmpImage image;
  if (BmpFile::Decode(data, size, image))
    Exercise(image);
  else
    Check(image.Empty() && image.Pixels.empty());
  if (size > 14 && BmpFile::DecodeDib(data + 14, size - 14, image)) Exercise(image);
  return 0;
}
