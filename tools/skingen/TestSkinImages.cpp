// The test skin's images, painted pixel by pixel from the palette: each cell's parts in their
// colours, the magenta corners where the palette puts them.
#include "TestSkinImages.h"

#include "TestSkinPalette.h"

namespace SkinGen {
namespace {

using namespace TestSkinPalette;

TBitmap24 Strip(TTestImage image) {
  const TImageSpec& s = kImages[image];
  std::vector<TBitmap24> cells;
  for (int cell = 0; cell < s.Cells; ++cell) {
    TBitmap24 c(s.CellWidth, s.CellHeight);
    for (int y = 0; y < s.CellHeight; ++y)
      for (int x = 0; x < s.CellWidth; ++x) {
        const TColour p = PixelColour(image, cell, x, y);
        c.Set(x, y, TRgb{p.R, p.G, p.B});
      }
    cells.push_back(std::move(c));
  }
  return s.Stacked ? JoinVertical(cells) : JoinHorizontal(cells);
}

} // namespace

std::vector<TSkinImage> BuildTestSkin() {
  std::vector<TSkinImage> images;
  for (int i = 0; i < tiImageCount; ++i) {
    const auto image = static_cast<TTestImage>(i);
    images.push_back({kImages[image].File, Strip(image)});
  }
  return images;
}

} // namespace SkinGen
