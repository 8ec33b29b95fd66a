// The test skin's geometry and colours: the one place its generator (TestSkinImages.cpp), its
// description (skins/test/skin.ini, checked against this header by the host test) and the tests
// that read it back take them from. Portable: no Win32 here.
//
// The test skin is made for pixel tests, not for the eye. Every cell of every image is a set of
// flat rectangles: the nine parts of a nine-sliced cell (the centre, the four fixed margins and
// the four corners where two margins meet; only the parts the image's margins create) each have
// a colour of their own. The colour says where it comes from: red names the image, green the
// cell (0-based), blue the part, so a colour read back from the screen tells which image, cell
// and part was drawn there. Magenta (the transparent key) appears only at the outer top corners
// of the Left, Right and Top frame sides; no cell colour is within 1 of it in any channel.
#pragma once
#include <cstdint>

namespace TestSkinPalette {

struct TColour {
  std::uint8_t R = 0, G = 0, B = 0;
  friend constexpr bool operator==(TColour, TColour) = default;
};

// The transparent key colour.
inline constexpr TColour kMagenta{255, 0, 255};

// Every image of the test skin, in archive order. The value is part of each colour (red).
enum TTestImage {
  tiFrameLeft,
  tiFrameRight,
  tiFrameTop,
  tiFrameBottom,
  tiTextBack,
  tiMenuBar,
  tiClose,
  tiMaximize,
  tiRestore,
  tiMinimize,
  tiHelp,
  tiMdiButtons,
  tiButtons,
  tiCheckBox,
  tiRadioButton,
  tiProgress,
  tiProgressChunk,
  tiTabs,
  tiTabBorder,
  tiTabPane,
  tiStatusBar,
  tiComboButton,
  tiExtraImages,
  tiHeader,
  tiMenuBackground,
  tiMenuItem,
  tiScrollArrows,
  tiHorzScroll,
  tiVertScroll,
  tiHorzThumb,
  tiVertThumb,
  tiTrack,
  tiTrackVert,
  tiThumbHorz,
  tiThumbVert,
  tiThumbLeft,
  tiThumbRight,
  tiThumbUp,
  tiThumbDown,
  tiSpinVert,
  tiSpinVertGlyph,
  tiSpinHorz,
  tiSpinHorzGlyph,
  tiGroupBox,
  tiGroupBoxEdge,
  tiToolBars,
  tiImageCount
};

// The nine parts of a cell. The value is part of each colour (blue).
enum TCellPart {
  cpCentre,
  cpLeft,
  cpTop,
  cpRight,
  cpBottom,
  cpTopLeft,
  cpTopRight,
  cpBottomLeft,
  cpBottomRight,
  cpPartCount
};

// One image: its archive entry, its cells (side by side, or stacked for the top and bottom
// frame sides, the title text background and the menu bar) and the fixed margins of each cell.
struct TImageSpec {
  const char* File;
  int Cells;
  bool Stacked;
  int CellWidth, CellHeight;
  int Left, Top, Right, Bottom;
  constexpr int Width() const { return Stacked ? CellWidth : CellWidth * Cells; }
  constexpr int Height() const { return Stacked ? CellHeight * Cells : CellHeight; }
};

// ---------------------------------------------------------------------------------------------
// Frame geometry: sides of different sizes, so that a test notices swapped sides.

inline constexpr int kBorderLeft = 5;                                 // "Left" cell width
inline constexpr int kBorderRight = 6;                                // "Right" cell width
inline constexpr int kBorderBottom = 7;                               // "Bottom" cell height
inline constexpr int kTitleHeight = 30;                               // "Top" cell height
inline constexpr int kSideHeight = kTitleHeight + 10 + kBorderBottom; // "Left", "Right" cells
// Left and right margins of the "Top" cell ("TopTopHeight", "TopBotHeight") and of the
// "Bottom" cell ("BottomTopHeight", "BottomBotHeight").
inline constexpr int kTopLeftMargin = 8, kTopRightMargin = 9;
inline constexpr int kBottomLeftMargin = 4, kBottomRightMargin = 3;
// Magenta at the outer top corners: a triangle of the pixels with dx + dy < kCornerCut (dx, dy
// counted from the window's corner) in each cell of "Left" and "Right", and a square of
// kTopCornerSquare pixels at both top corners of each "Top" cell.
inline constexpr int kCornerCut = 3;
inline constexpr int kTopCornerSquare = 2;

// Title text ("Personality" keys TextShift, TextShiftVert, TextRightClip, TXTBackleft,
// TXTBackRight; TextAlignment 0).
inline constexpr int kTextShift = 26;
inline constexpr int kTextShiftVert = 2;
inline constexpr int kTextRightClip = 88;
inline constexpr int kTextBackLeft = 3, kTextBackRight = 4;
// Menu bar band margins ("TileLeftMenu", "TileRightMenu").
inline constexpr int kMenuBarLeft = 3, kMenuBarRight = 5;

inline constexpr TImageSpec kImages[tiImageCount] = {
    {"frameleft.bmp", 2, false, kBorderLeft, kSideHeight, 0, kTitleHeight, 0, kBorderBottom},
    {"frameright.bmp", 2, false, kBorderRight, kSideHeight, 0, kTitleHeight, 0, kBorderBottom},
    {"frametop.bmp", 2, true, 40, kTitleHeight, kTopLeftMargin, 0, kTopRightMargin, 0},
    {"framebottom.bmp", 2, true, 24, kBorderBottom, kBottomLeftMargin, 0, kBottomRightMargin, 0},
    {"textback.bmp", 2, true, 16, kTitleHeight, kTextBackLeft, 0, kTextBackRight, 0},
    {"menubar.bmp", 2, true, 26, 18, kMenuBarLeft, 0, kMenuBarRight, 0},
    {"closebutton.bmp", 4, false, 24, 20, 0, 0, 0, 0},
    {"maxbutton.bmp", 4, false, 22, 20, 0, 0, 0, 0},
    {"restorebutton.bmp", 4, false, 22, 20, 0, 0, 0, 0},
    {"minbutton.bmp", 4, false, 20, 20, 0, 0, 0, 0},
    {"helpbutton.bmp", 4, false, 18, 20, 0, 0, 0, 0},
    {"mdibutton.bmp", 12, false, 15, 13, 0, 0, 0, 0},
    {"buttons.bmp", 5, false, 24, 22, 4, 3, 5, 6},
    {"checkbox.bmp", 12, false, 13, 13, 0, 0, 0, 0},
    {"radiobutton.bmp", 8, false, 13, 13, 0, 0, 0, 0},
    {"progress.bmp", 2, false, 20, 14, 4, 2, 5, 3},
    {"progresschunk.bmp", 1, false, 8, 14, 0, 0, 0, 0},
    {"tab.bmp", 5, false, 24, 24, 4, 3, 5, 2},
    {"tabborder.bmp", 1, false, 16, 16, 4, 3, 5, 2}, // the "Tabs" margins
    {"tabpane.bmp", 1, false, 16, 16, 4, 3, 2, 4},
    {"statusbar.bmp", 3, false, 16, 20, 2, 4, 3, 1},
    {"comboboxbtn.bmp", 4, false, 16, 18, 0, 0, 0, 0},
    {"extraimages.bmp", 5, false, 12, 12, 0, 0, 0, 0},
    {"header.bmp", 5, false, 20, 22, 2, 1, 3, 2},
    {"menubackground.bmp", 1, false, 16, 16, 3, 2, 4, 5},
    {"menuitem.bmp", 5, false, 24, 22, 6, 4, 5, 3},
    {"scrollbararrow.bmp", 23, false, 16, 16, 0, 0, 0, 0},
    {"scrollbarhbar.bmp", 4, false, 16, 16, 0, 0, 0, 0},
    {"scrollbarvbar.bmp", 4, false, 16, 16, 0, 0, 0, 0},
    {"scrollbarhthumb.bmp", 3, false, 24, 16, 6, 0, 5, 0},
    {"scrollbarvthumb.bmp", 3, false, 16, 24, 0, 6, 0, 5},
    {"trackbar.bmp", 1, false, 18, 5, 3, 0, 4, 0},
    {"trackbarv.bmp", 1, false, 5, 18, 0, 3, 0, 4},
    {"trackthumbhorz.bmp", 5, false, 11, 20, 0, 0, 0, 0},
    {"trackthumbvert.bmp", 5, false, 20, 11, 0, 0, 0, 0},
    {"trackthumbleft.bmp", 5, false, 20, 11, 0, 0, 0, 0},
    {"trackthumbright.bmp", 5, false, 20, 11, 0, 0, 0, 0},
    {"trackthumbup.bmp", 5, false, 11, 20, 0, 0, 0, 0},
    {"trackthumbdown.bmp", 5, false, 11, 20, 0, 0, 0, 0},
    {"spin.bmp", 8, false, 16, 10, 0, 0, 0, 0},
    {"spinarrow.bmp", 8, false, 9, 5, 0, 0, 0, 0},
    {"spinh.bmp", 8, false, 10, 16, 0, 0, 0, 0},
    {"spinharrow.bmp", 8, false, 5, 9, 0, 0, 0, 0},
    {"groupbox.bmp", 1, false, 16, 16, 3, 5, 4, 2},
    {"groupboxedge.bmp", 2, false, 16, 16, 2, 3, 4, 5},
    {"toolbars.bmp", 5, false, 20, 20, 3, 2, 4, 1},
};

// The colour of `part` in cell `cell` (0-based) of `image`.
constexpr TColour CellColour(TTestImage image, int cell, TCellPart part) {
  return {static_cast<std::uint8_t>(10 + 5 * image), static_cast<std::uint8_t>(10 + 10 * cell),
          static_cast<std::uint8_t>(30 + 25 * part)};
}

// The part that pixel (x, y) of a cell (cell coordinates) belongs to.
constexpr TCellPart PartAt(const TImageSpec& spec, int x, int y) {
  const int col = x < spec.Left ? 0 : x >= spec.CellWidth - spec.Right ? 2 : 1;
  const int row = y < spec.Top ? 0 : y >= spec.CellHeight - spec.Bottom ? 2 : 1;
  constexpr TCellPart kParts[3][3] = {{cpTopLeft, cpTop, cpTopRight},
                                      {cpLeft, cpCentre, cpRight},
                                      {cpBottomLeft, cpBottom, cpBottomRight}};
  return kParts[row][col];
}

// Whether pixel (x, y) of a cell of `image` is the transparent key.
constexpr bool IsKeyPixel(TTestImage image, int x, int y) {
  const TImageSpec& s = kImages[image];
  switch (image) {
  case tiFrameLeft:
    return x + y < kCornerCut;
  case tiFrameRight:
    return (s.CellWidth - 1 - x) + y < kCornerCut;
  case tiFrameTop:
    return y < kTopCornerSquare && (x < kTopCornerSquare || x >= s.CellWidth - kTopCornerSquare);
  default:
    return false;
  }
}

// The colour of pixel (x, y) of cell `cell` of `image`, as the generator draws it.
constexpr TColour PixelColour(TTestImage image, int cell, int x, int y) {
  return IsKeyPixel(image, x, y) ? kMagenta : CellColour(image, cell, PartAt(kImages[image], x, y));
}

// ---------------------------------------------------------------------------------------------
// Caption buttons, in description order ("Button0" ...). Right-aligned buttons sit at x =
// window width - XCoord. Cells: 0 normal, 1 pressed, 2 hot, 3 inactive window or disabled.

struct TCaptionButtonSpec {
  const char* Section;
  int Image; // a TTestImage, or -1: no image (the window's own icon shows)
  int Action, Align, XCoord, YCoord, Visibility, Visibility1;
};

inline constexpr int kCaptionButtonTop = 5;
inline constexpr TCaptionButtonSpec kCaptionButtons[] = {
    {"Button0", tiClose, 0, 1, 32, kCaptionButtonTop, 0, 0},
    {"Button1", tiMaximize, 1, 1, 57, kCaptionButtonTop, 2, 6},
    {"Button2", tiMinimize, 2, 1, 81, kCaptionButtonTop, 8, 0},
    {"Button3", tiRestore, 1, 1, 57, kCaptionButtonTop, 1, 0},
    {"Button4", -1, 3, 0, 7, 7, 0, 0},
    // A help button takes the position of the maximize button before it (the engine's rule);
    // the description gives that same position.
    {"Button5", tiHelp, 4, 1, 57, kCaptionButtonTop, 10, 0},
};
inline constexpr int kCaptionButtonCount = sizeof(kCaptionButtons) / sizeof(kCaptionButtons[0]);
// The maximized MDI child's buttons on the menu bar (minimize, restore, close): 4 cells each in
// "MDICONTROLS", at x = window width - XCoord - border - menu bar left margin, XCoord =
// (cell width + 4) x (3 - i).
inline constexpr int kMdiButtonWidth = 15;

// ---------------------------------------------------------------------------------------------
// Colours that are not cells: the colour table and the text colours of the description. Green
// 245 and 250 never occur in a cell, so none of them can be mistaken for an image.

struct TNamedColour {
  const char* Key;
  TColour Colour;
};

constexpr TColour TableColour(int i) {
  return {static_cast<std::uint8_t>(20 + 12 * i), 245, static_cast<std::uint8_t>(200 - 12 * i)};
}

// The "Colours" section, every entry of the colour table.
inline constexpr TNamedColour kColourTable[] = {
    {"WindowText", TableColour(0)},
    {"ButtonFace", TableColour(1)},
    {"Scrollbar", TableColour(2)},
    {"HilightText", TableColour(3)},
    {"Hilight", TableColour(4)},
    {"Menubar", TableColour(5)},
    {"Menu", TableColour(6)},
    {"MenuText", TableColour(7)},
    {"ButtonText", TableColour(8)},
    {"ButtonHilight", TableColour(9)},
    {"Buttonlight", TableColour(10)},
    {"ButtonShadow", TableColour(11)},
    {"ButtonDkShadow", TableColour(12)},
    {"MenuBarText", TableColour(13)},
    {"TitleTextActive", TableColour(14)},
    {"TitleTextNoActive", TableColour(15)},
};
inline constexpr int kColourTableSize = sizeof(kColourTable) / sizeof(kColourTable[0]);

constexpr TColour KeyColour(int i) {
  return {static_cast<std::uint8_t>(20 + 30 * i), 250, static_cast<std::uint8_t>(230 - 30 * i)};
}

// "ActiveTextR/G/B" and "InActiveTextR/G/B" of "Personality": apart from the colour table's
// title text colours, so that a test can tell which of the two a painter used.
inline constexpr TColour kActiveText = KeyColour(0);
inline constexpr TColour kInactiveText = KeyColour(1);
// Text colours of controls: "NormalColour2", "MouseOverColour2", "PressedColour2".
inline constexpr TColour kButtonsNormalText = KeyColour(2);
inline constexpr TColour kButtonsMouseOverText = KeyColour(3);
inline constexpr TColour kButtonsPressedText = KeyColour(4);
inline constexpr TColour kTabsNormalText = KeyColour(5);
inline constexpr TColour kTabsMouseOverText = KeyColour(6);
inline constexpr TColour kStatusBarText = KeyColour(7);

inline constexpr const char* kSkinName = "Tarnel Test";

} // namespace TestSkinPalette
