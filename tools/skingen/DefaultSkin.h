// The pictures of the program's default skin, drawn from code so that the skin can be rebuilt
// from source. The description text that names them is skins/default/skin.ini; the geometry
// constants below are the ones that text relies on (strip cell counts, cell sizes, margins).
#pragma once
#include "SkinBitmap.h"

#include <vector>

namespace SkinGen {

// Every image of the default skin, in archive order.
std::vector<TSkinImage> BuildDefaultSkin();

// Title bar and frame geometry.
inline constexpr int kTitleHeight = 28; // "Top" cell height
inline constexpr int kBorderWidth = 4;  // "Left", "Right" cell width, "Bottom" cell height
// Caption buttons sit at this y in the title bar ("Ycoord" of Button0..Button3).
inline constexpr int kCaptionButtonTop = 4;
inline constexpr int kCaptionButtonWidth = 26;
inline constexpr int kCaptionButtonHeight = 20;

} // namespace SkinGen
