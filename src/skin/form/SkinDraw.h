// Drawing of skin image strips: cells cut from a strip and nine-sliced, tiled, stretched or
// centred into a target rectangle, magenta as the transparent key colour, window regions cut
// out of an image, and the scratch bitmap the skinners share.
//
// A strip holds `cellCount` equally sized cells, side by side (horizontal strip: cell width =
// image width div count) or stacked (vertical strip: cell height = image height div count).
// Cells are numbered from 1. Margins are a RECT of four widths (left, top, right, bottom)
// that keep their size while the rest of the cell is stretched or tiled.
//
// Skin images are untrusted, so every painter here is defensive: a cell count below 1 counts
// as 1, a cell index outside 1..count is taken to the nearest cell, negative margins count
// as 0, a pair of margins wider (or higher) than the cell is dropped like a pair wider than
// the target, an empty cell (empty image, or an image narrower than its cell count) draws
// nothing, and no source rectangle ever reaches outside the image. Every temporary GDI object
// is released on every path, exceptions included.
#pragma once
#include "Bitmap.h"
#include "Handles.h"
#include "ImgUtil.h"

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

class TControl;

// The key colour of every skin image (packed RGB, red in the low byte).
constexpr ImgUtil::TColor clSkinKey = ImgUtil::clMagenta;

// The rectangle of cell `cellIndex` (from 1) in the strip, after the corrections above; an
// empty rectangle (0, 0, 0, 0) when the cell has no pixels.
RECT SkinCellRect(const TBitmap& image, bool vertical, int cellCount, int cellIndex);

// The cell nine-sliced into a new bitmap of the target's size (24 bits per pixel, its canvas
// stretching colour-on-colour): corners at their own size, edges stretched along their length,
// the centre stretched or, with `tileCentre`, tiled. When the target is narrower than left +
// right (or lower than top + bottom) that pair of margins is dropped and the cell is stretched
// across. Parts that have no pixels to draw are left in the key colour. An empty or inverted
// target gives an empty bitmap.
TBitmap StretchSkinBitmap(const RECT& target, const TBitmap& image, const RECT& margins,
                          bool vertical, bool tileCentre, int cellCount, int cellIndex);

// StretchSkinBitmap drawn at the target: through DrawTransparent (key colour) when
// `transparent`, else copied opaque. Nothing for an empty or inverted target or an empty cell.
void DrawSkinRect(HDC dc, const RECT& target, const TBitmap& image, bool vertical, bool tileCentre,
                  bool transparent, int cellCount, int cellIndex, const RECT& margins);

// A three-part bar built at the target's size: the cell's leftmost margins.left columns as the
// left cap, copies of its middle side by side, its rightmost margins.right columns as the
// right cap, every part stretched to the target's height. Drawn with the key colour
// transparent when `transparent`, else opaque.
void DrawSkinBar(HDC dc, const RECT& target, const TBitmap& image, bool vertical, bool transparent,
                 int cellCount, int cellIndex, const RECT& margins);

// Left and right caps at their own width and the middle stretched between them, all stretched
// to the target's height, drawn opaque straight into dc. A target narrower than the cell gets
// the whole cell stretched to it.
void StretchSkinBar(HDC dc, const RECT& target, const TBitmap& image, bool vertical, int cellCount,
                    int cellIndex, const RECT& margins);

// Cell `cellIndex` of a horizontal strip stretched to the target, transparent or opaque.
void DrawSkinCell(HDC dc, const RECT& target, const TBitmap& image, bool transparent, int cellCount,
                  int cellIndex);

// Cell `cellIndex` of a horizontal strip at its own size, centred in the target (offsets are
// half the size difference, rounded toward zero), transparent or opaque.
void DrawSkinCellCentered(HDC dc, const RECT& target, const TBitmap& image, bool transparent,
                          int cellCount, int cellIndex);

// Draws the image's top-left part, as wide and high as the target, at the target's top-left,
// leaving the target's pixels where the image has the key colour. A target larger than the
// image draws only the image's size. Nothing for an empty or inverted target.
void DrawTransparent(HDC dc, const RECT& target, const TBitmap& image,
                     ImgUtil::TColor key = clSkinKey);
// The same result by three raster passes (XOR, AND with the mask, XOR), for devices without
// masked transfers; DrawTransparent falls back to it by itself.
void DrawTransparentByRop(HDC dc, const RECT& target, const TBitmap& image,
                          ImgUtil::TColor key = clSkinKey);

// Repeats the `source` piece of the image over the target, from its top-left corner, in whole
// pieces: the last column and row reach past the target's right and bottom edges (callers
// draw over the overflow). Nothing when the piece is empty or inverted.
void TileBitmap(HDC dc, const RECT& target, const TBitmap& image, const RECT& source);

using TRegion = TRegionHandle;

// The region of every pixel whose colour is outside the key range (per channel: key value to
// key value + tolerance, at most 255), moved by the offsets. An empty image, or one of key
// colour only, gives an empty region. Null only when the system cannot make a region.
TRegion BitmapToRegion(const TBitmap& image, int xOffset, int yOffset, int blueTolerance,
                       int greenTolerance, int redTolerance, ImgUtil::TColor key = clSkinKey);

// Paints the part of the control's parent that lies behind the control into dc (whose origin
// is the control's top-left): the parent gets an erase-background and a paint message with dc,
// clipped to the control's bounds. Nothing without a parent. dc's state is given back.
void DrawParentImage(TControl* control, HDC dc);

// The scratch bitmap and string list the skinners share (the menu bar composes into it). They
// exist while at least one user holds them: the first AcquireSkinScratch creates them, the
// last ReleaseSkinScratch frees them. A release without an acquire is ignored.
void AcquireSkinScratch();
void ReleaseSkinScratch();
int SkinScratchUsers();
// Null while there is no user.
TBitmap* SkinScratchBitmap();
std::vector<std::string>* SkinScratchList();
// The scratch bitmap's device context, stretching colour-on-colour; null while there is no
// user or the bitmap is empty. Valid until the bitmap changes size.
HDC SkinScratchCanvas();

// Holds the scratch for as long as it lives.
class TSkinScratchUser {
public:
  TSkinScratchUser() { AcquireSkinScratch(); }
  ~TSkinScratchUser() { ReleaseSkinScratch(); }
  TSkinScratchUser(const TSkinScratchUser&) = delete;
  TSkinScratchUser& operator=(const TSkinScratchUser&) = delete;
};
