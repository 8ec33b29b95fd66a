// The test skin's geometry and colours as Win32 tests compare them: COLORREFs and window
// coordinates over tools/skingen/TestSkinPalette.h, the header its generator draws from, so that
// the two cannot drift. Load the skin with TSkinData::SetSkinFile(TestSkinPath()) (TestSupport.h).
//
// Every cell part is flat: Colour(image, cell, part) is the colour of that part everywhere in
// it, stretched or not. Frame cells: 0 active, 1 inactive. Caption button cells: 0 normal,
// 1 pressed, 2 hot, 3 inactive window or disabled. Magenta marks the outer top corners of the
// Left, Right and Top sides (kCornerCut, kTopCornerSquare), which lie outside the window region.
#pragma once
#include "TestSkinPalette.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace TestSkin {

using namespace TestSkinPalette;

constexpr COLORREF Ref(TColour c) {
  return RGB(c.R, c.G, c.B);
}

// The colour of `part` of cell `cell` (0-based) of `image`.
constexpr COLORREF Colour(TTestImage image, int cell, TCellPart part = cpCentre) {
  return Ref(CellColour(image, cell, part));
}

constexpr COLORREF Magenta = RGB(255, 0, 255);

// Frame sizes in the window: borders 5 (left), 6 (right), 7 (bottom), title bar 30.
constexpr int BorderLeft = kBorderLeft;
constexpr int BorderRight = kBorderRight;
constexpr int BorderBottom = kBorderBottom;
constexpr int TitleHeight = kTitleHeight;
constexpr int ActiveCell = 0, InactiveCell = 1;

// Frame sides by part. Left and Right: the rows beside the title bar (Title), the stretched
// middle, the rows beside the bottom border (Bottom). Top and Bottom: the unstretched left and
// right ends (8 and 9 pixels of the title bar, 4 and 3 of the bottom border) and the middle.
constexpr COLORREF LeftActiveTitle = Colour(tiFrameLeft, ActiveCell, cpTop);
constexpr COLORREF LeftActiveMiddle = Colour(tiFrameLeft, ActiveCell, cpCentre);
constexpr COLORREF LeftActiveBottom = Colour(tiFrameLeft, ActiveCell, cpBottom);
constexpr COLORREF LeftInactiveTitle = Colour(tiFrameLeft, InactiveCell, cpTop);
constexpr COLORREF LeftInactiveMiddle = Colour(tiFrameLeft, InactiveCell, cpCentre);
constexpr COLORREF LeftInactiveBottom = Colour(tiFrameLeft, InactiveCell, cpBottom);
constexpr COLORREF RightActiveTitle = Colour(tiFrameRight, ActiveCell, cpTop);
constexpr COLORREF RightActiveMiddle = Colour(tiFrameRight, ActiveCell, cpCentre);
constexpr COLORREF RightActiveBottom = Colour(tiFrameRight, ActiveCell, cpBottom);
constexpr COLORREF RightInactiveTitle = Colour(tiFrameRight, InactiveCell, cpTop);
constexpr COLORREF RightInactiveMiddle = Colour(tiFrameRight, InactiveCell, cpCentre);
constexpr COLORREF RightInactiveBottom = Colour(tiFrameRight, InactiveCell, cpBottom);
constexpr COLORREF TopActiveLeft = Colour(tiFrameTop, ActiveCell, cpLeft);
constexpr COLORREF TopActiveMiddle = Colour(tiFrameTop, ActiveCell, cpCentre);
constexpr COLORREF TopActiveRight = Colour(tiFrameTop, ActiveCell, cpRight);
constexpr COLORREF TopInactiveLeft = Colour(tiFrameTop, InactiveCell, cpLeft);
constexpr COLORREF TopInactiveMiddle = Colour(tiFrameTop, InactiveCell, cpCentre);
constexpr COLORREF TopInactiveRight = Colour(tiFrameTop, InactiveCell, cpRight);
constexpr COLORREF BottomActiveLeft = Colour(tiFrameBottom, ActiveCell, cpLeft);
constexpr COLORREF BottomActiveMiddle = Colour(tiFrameBottom, ActiveCell, cpCentre);
constexpr COLORREF BottomActiveRight = Colour(tiFrameBottom, ActiveCell, cpRight);
constexpr COLORREF BottomInactiveLeft = Colour(tiFrameBottom, InactiveCell, cpLeft);
constexpr COLORREF BottomInactiveMiddle = Colour(tiFrameBottom, InactiveCell, cpCentre);
constexpr COLORREF BottomInactiveRight = Colour(tiFrameBottom, InactiveCell, cpRight);

// Entries of the colour table ("Colours") the frame uses, and the text colour keys of
// "Personality" (which the colour table's title text colours differ from).
constexpr COLORREF ButtonFace = Ref(kColourTable[1].Colour);
constexpr COLORREF Menubar = Ref(kColourTable[5].Colour);
constexpr COLORREF ButtonShadow = Ref(kColourTable[11].Colour);
constexpr COLORREF TitleTextActive = Ref(kColourTable[14].Colour);
constexpr COLORREF TitleTextNoActive = Ref(kColourTable[15].Colour);
constexpr COLORREF ActiveTextKey = Ref(kActiveText);
constexpr COLORREF InactiveTextKey = Ref(kInactiveText);

// Caption buttons, by their index in kCaptionButtons (the description's order).
constexpr int CloseButton = 0, MaximizeButton = 1, MinimizeButton = 2, RestoreButton = 3,
              IconButton = 4, HelpButton = 5;
constexpr int CaptionButtonCount = kCaptionButtonCount;

// Where caption button `index` (one with an image) sits in a window `windowWidth` wide.
constexpr RECT CaptionButtonRect(int index, int windowWidth) {
  const TCaptionButtonSpec& b = kCaptionButtons[index];
  const TImageSpec& s = kImages[b.Image < 0 ? 0 : b.Image];
  const int x = b.Align == 1 ? windowWidth - b.XCoord : b.XCoord;
  return RECT{x, b.YCoord, x + s.CellWidth, b.YCoord + s.CellHeight};
}

// The colour of cell `cell` of caption button `index` (one with an image).
constexpr COLORREF CaptionButtonColour(int index, int cell) {
  return Colour(static_cast<TTestImage>(kCaptionButtons[index].Image), cell);
}

} // namespace TestSkin
