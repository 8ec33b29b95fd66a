// The pictures of the test skin, a skin made for pixel tests: every cell a set of flat
// rectangles whose colours and sizes TestSkinPalette.h declares. The description that names the
// pictures is skins/test/skin.ini.
#pragma once
#include "SkinBitmap.h"

#include <vector>

namespace SkinGen {

// Every image of the test skin, in the order of TestSkinPalette::TTestImage.
std::vector<TSkinImage> BuildTestSkin();

} // namespace SkinGen
