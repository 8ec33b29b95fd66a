// The palette and the drawing pieces the default skin's two source files share: the frame,
// caption buttons and control faces are drawn in DefaultSkin.cpp, the scroll bars, menus, combo
// box, spin and track bar pictures in DefaultSkinBars.cpp.
#pragma once
#include "SkinBitmap.h"
#include "SkinPaint.h"

namespace SkinGen::Parts {

// ---------------------------------------------------------------------------------------------
// Palette (the colour table of skin.ini uses the same values where they meet).

inline constexpr TRgb kWhite{255, 255, 255};
inline constexpr TRgb kBlack{0, 0, 0};
inline constexpr TRgb kFace{241, 243, 246};      // ButtonFace
inline constexpr TRgb kBorder{172, 178, 188};    // control borders
inline constexpr TRgb kBoxBorder{118, 124, 134}; // check and radio boxes
inline constexpr TRgb kAccent{46, 120, 204};     // checked, selected
inline constexpr TRgb kAccentDark{32, 94, 170};  // pressed, outlines of accent shapes
inline constexpr TRgb kAccentHot{66, 142, 224};  // hot accent shapes
inline constexpr TRgb kHotBorder{84, 146, 219};
inline constexpr TRgb kDisabledBorder{206, 209, 214};
inline constexpr TRgb kDisabledFace{245, 246, 247};
inline constexpr TRgb kGlyph{74, 80, 90};
inline constexpr TRgb kGlyphDown{24, 78, 146};
inline constexpr TRgb kGlyphDisabled{172, 176, 183};
inline constexpr TRgb kTrack{233, 235, 239};    // scroll bar track ("Scrollbar" colour)
inline constexpr TRgb kMenuBack{252, 252, 252}; // "Menu" colour
inline constexpr TRgb kMenuBar{246, 247, 249};  // "Menubar" colour
inline constexpr TRgb kPaneBorder{180, 186, 195};
inline constexpr TRgb kCloseHot{224, 64, 52};
inline constexpr TRgb kClosePressed{176, 40, 34};

inline TShape Tri(double x0, double y0, double x1, double y1, double x2, double y2) {
  return Polygon({Pt(x0, y0), Pt(x1, y1), Pt(x2, y2)});
}

// Pictures drawn in DefaultSkinBars.cpp.
TBitmap24 ScrollArrows();
TBitmap24 Thumbs(bool vertical);
TBitmap24 ScrollTrack();
TBitmap24 MenuBackground();
TBitmap24 MenuItems();
TBitmap24 ExtraImages();
TBitmap24 ComboButton();
TBitmap24 SpinFaces(bool horizontal);
TBitmap24 SpinGlyphs(bool horizontal);
TBitmap24 TrackChannel(bool vertical);
TBitmap24 TrackThumbs(bool lying);

} // namespace SkinGen::Parts
