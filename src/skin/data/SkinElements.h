// The skin element objects and the content of a loaded skin: every element built from the skin
// description (frame sides, title, push buttons, bars, scroll bar parts, caption buttons ...),
// the colour table and the derived elements, together with the reading of the description.
//
// An element holds a strip of equally wide state images cut from one archive bitmap, its
// margins and drawing flags; state image k (0-based) is the slice from k x (width div
// FrameCount), that wide and the full height. Elements are named by the section they come from.
#pragma once
#include "Bitmap.h"
#include "Controls.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TQuickIni;
class TSkinReader;

// ---------------------------------------------------------------------------------------------
// Elements

class TDataSkinObject {
public:
  explicit TDataSkinObject(std::string name) : Name(std::move(name)) {}
  virtual ~TDataSkinObject() = default;
  TDataSkinObject(const TDataSkinObject&) = delete;
  TDataSkinObject& operator=(const TDataSkinObject&) = delete;
  TDataSkinObject(TDataSkinObject&&) = default;
  TDataSkinObject& operator=(TDataSkinObject&&) = default;

  RECT Margins{}; // widths of the fixed edges: left, top, right, bottom
  TBitmap Image;  // the state strip
  int Trans = 0;  // non-zero: magenta pixels are transparent
  int Tile = 0;   // 1: the middle is tiled; 0: stretched
  std::string Name;
  int FrameCount = 0;
  int Style = 0;
  TColor NormalColour = 0, MouseOverColour = 0, PressedColour = 0;
  TColor NormalColour2 = 0, MouseOverColour2 = 0, PressedColour2 = 0;

  // Width of one state image: image width div FrameCount (a FrameCount below 1 counts as 1).
  int CellWidth() const;
  int CellHeight() const { return Image.Height(); }
  // State image `index` (0-based; clamped to the strip) in image coordinates.
  RECT CellRect(int index) const;
};

// An element with a second image.
class TDataSkinBorder : public TDataSkinObject {
public:
  using TDataSkinObject::TDataSkinObject;
  TBitmap Image2;
};

// The title-bar text settings.
class TDataSkinTitle : public TDataSkinObject {
public:
  using TDataSkinObject::TDataSkinObject;
  int TextAlignment = 0;
  int TextBackground = 0;
  int FontHeight = 0;
  int TextBackLeft = 0;
  int TextBackRight = 0;
  TColor ActiveTextColour = clNone; // clNone (0x1FFFFFFF): not set by the skin
  TColor InactiveTextColour = clNone;
};

// The push-button face with the check-box and radio-button images.
class TDataSkinButton : public TDataSkinObject {
public:
  using TDataSkinObject::TDataSkinObject;
  TBitmap CheckImage;
  TBitmap RadioImage;
  int RadioFrameCount = 0;
  int CheckFrameCount = 0;
  // Whether the description gave NormalColour2, MouseOverColour2, PressedColour2.
  bool HasNormalColour2 = false;
  bool HasMouseOverColour2 = false;
  bool HasPressedColour2 = false;
};

// One caption button.
class TDataSkinSysButton : public TDataSkinObject {
public:
  using TDataSkinObject::TDataSkinObject;
  int Action = 0;
  int Align = 0;
  int XCoord = 0;
  int YCoord = 0;
  int CombineOp = 0;
  int Visibility = 0;
  int Visibility1 = 0;
};

// The group-box element.
class TDataSkinBoxLabel : public TDataSkinObject {
public:
  using TDataSkinObject::TDataSkinObject;
  int BackgroundLeftShift = 0;
  int BackgroundRightShift = 0;
  int BackgroundAlignment = 0;
};

// ---------------------------------------------------------------------------------------------
// Colours

// Entries of the colour table.
enum TSkinColourIndex {
  scWindowText = 0,
  scTitleTextActive = 1,
  scTitleTextNoActive = 2,
  scButtonFace = 3,
  scButtonText = 4,
  scButtonHilight = 5,
  scButtonlight = 6,
  scButtonShadow = 7,
  scButtonDkShadow = 8,
  scHilightText = 11,
  scHilight = 12,
  scMenubar = 13,
  scMenuBarText = 14,
  scMenuText = 15,
  scMenu = 16,
  scReference = 17,
  scScrollbar = 18,
  scColourCount = 19
};

// A colour text of the description: three decimal numbers (red, green, blue) separated by any
// other characters, as "227 226 236". Each number keeps its low 8 bits, however long its digit
// run; numbers beyond the third are ignored; missing numbers are 0.
TColor StrToColour(std::string_view text);

// ---------------------------------------------------------------------------------------------
// Content of a loaded skin

class TSkinContent {
public:
  TSkinContent();
  virtual ~TSkinContent();
  TSkinContent(const TSkinContent&) = delete;
  TSkinContent& operator=(const TSkinContent&) = delete;

  // Reads the whole description into this content: skin name, frame sides, colours, caption
  // buttons, push buttons, title, every element, the fixed state counts, and the derived
  // elements (combined edit frame, "ComboxArrow", "Toolbar", the reference colour). Images are
  // taken from `archive` (none: every image is empty); the fallback track images from the
  // bitmap resources of `resources` (null: the executable).
  void ReadDescription(const TQuickIni& ini, const TSkinReader* archive,
                       HINSTANCE resources = nullptr);
  // Puts the content of `other` in place of this one's. The frame sides, "Buttons" and "Title"
  // keep their identity (their contents are replaced); every other element, the caption
  // buttons, the colours and the brush are those of `other`. What this content held before is
  // released with `other`.
  void TakeOver(TSkinContent& other);

  std::string SkinName;

  // Present for the content's whole life.
  TDataSkinBorder Left{"Left"}, Right{"Right"}, Top{"Top"}, Bottom{"Bottom"};
  TDataSkinButton Buttons{"Buttons"};
  TDataSkinTitle Title{"Title"};

  // Present when the description holds the section's image key (absent otherwise).
  std::unique_ptr<TDataSkinBorder> Progress;           // "Progress"
  std::unique_ptr<TDataSkinObject> ProgressChunk;      // "Progress.Chunk"
  std::unique_ptr<TDataSkinObject> MenuBar;            // "menuBar" of "Personality"
  std::unique_ptr<TDataSkinObject> GroupBoxEdge;       // "GroupBoxEdge"
  std::unique_ptr<TDataSkinBoxLabel> GroupBox;         // "GroupBox"
  std::unique_ptr<TDataSkinBorder> Tabs;               // "Tabs", second image "Border"
  std::unique_ptr<TDataSkinObject> StatusBarEdges;     // "StatusBarEdges"
  std::unique_ptr<TDataSkinObject> TabPane;            // "Tab.Pane"
  std::unique_ptr<TDataSkinObject> ToolBars;           // "ToolBars"
  std::unique_ptr<TDataSkinBorder> ComboButton;        // "ComboButton", second image mirrored
  std::unique_ptr<TDataSkinObject> SunkEdge;           // "SunkEdge"
  std::unique_ptr<TDataSkinObject> ExtraImages;        // "ExtraImages"
  std::unique_ptr<TDataSkinObject> Headerbar;          // "Headerbar"
  std::unique_ptr<TDataSkinObject> MenuItem;           // "MenuItem"
  std::unique_ptr<TDataSkinObject> MenuBackground;     // "MenuBackground"
  std::unique_ptr<TDataSkinObject> Scrollbar;          // "Scrollbar"
  std::unique_ptr<TDataSkinObject> HorzScroll;         // "HorzScroll"
  std::unique_ptr<TDataSkinObject> VertScroll;         // "VertScroll"
  std::unique_ptr<TDataSkinObject> HorzScrollThumb;    // "HorzScrollThumb"
  std::unique_ptr<TDataSkinObject> VertScrollThumb;    // "VertScrollThumb"
  std::unique_ptr<TDataSkinObject> TrackbarThumbHorz;  // "Trackbar.ThumbHorz"
  std::unique_ptr<TDataSkinObject> TrackbarThumbVert;  // "Trackbar.ThumbVert"
  std::unique_ptr<TDataSkinObject> TrackbarThumbLeft;  // "Trackbar.ThumbLeft"
  std::unique_ptr<TDataSkinObject> TrackbarThumbRight; // "Trackbar.ThumbRight"
  std::unique_ptr<TDataSkinObject> TrackbarThumbUp;    // "Trackbar.ThumbUp"
  std::unique_ptr<TDataSkinObject> TrackbarThumbDown;  // "Trackbar.ThumbDown"
  std::unique_ptr<TDataSkinBorder> UpDownHorz;         // "UpDown.Horz", second image "GlyphImage"
  std::unique_ptr<TDataSkinBorder> UpDownVert;         // "UpDown.Vert", second image "GlyphImage"
  std::unique_ptr<TDataSkinObject> Track;              // "Track", else the resource "TRACK"
  std::unique_ptr<TDataSkinObject> TrackVert;          // "TRACKVERT", else the resource "TRACKVERT"
  // Derived elements, present after every load.
  std::unique_ptr<TDataSkinObject> ComboxArrow; // "ComboxArrow": the drop-down arrow cells
  std::unique_ptr<TDataSkinObject> Toolbar;     // "Toolbar": the tool bar background gradient

  // The caption buttons in description order, then the three MDI child buttons (Action 7, 8,
  // 9) cut from "MDICONTROLS".
  std::vector<std::unique_ptr<TDataSkinSysButton>> CaptionButtons;

  // The colour table (indices TSkinColourIndex) and whether the skin defined each entry.
  std::array<TColor, scColourCount> Colours{};
  std::array<bool, scColourCount> ColourDefined{};
  // One colour per "Colour..." section, in description order.
  std::vector<TColor> ExtraColours;
  // "Color0" ... "Color9" of "Customcolors".
  std::array<TColor, 10> CustomColours{};
  // The reference colour: a pixel of the "Top" frame side (or ButtonFace), as packed RGB.
  TColor ReferenceColour() const { return Colours[scReference]; }
  // A solid brush of the ButtonFace colour (null before the first load).
  HBRUSH ButtonFaceBrush() const { return FButtonFaceBrush.Get(); }

  // Every element present, the permanent ones first, caption buttons excluded.
  std::vector<TDataSkinObject*> Elements() const;
  // The element of a section name (letter case ignored; "Left", "Title", "menuBar",
  // "ComboxArrow" and so on), or null when absent.
  TDataSkinObject* FindElement(std::string_view name) const;

private:
  friend class TSkinContentBuilder;
  TBrushHandle FButtonFaceBrush;
};

// Expands a stored skin (32-bit expanded size + LZH stream), reads its description (the first
// entry whose name contains ".ini") and builds `content` from it. False when the archive is not
// readable (an unknown format has been reported to the user by the reader). `content` is
// changed only on success. ElzhException passes through.
bool LoadSkinContent(std::span<const std::uint8_t> storedSkin, TSkinContent& content,
                     HINSTANCE resources = nullptr);
// The same through `reader`, which keeps its buffer for the next load (a component that loads
// skins again and again spares the allocation of the expanded archive).
bool LoadSkinContent(std::span<const std::uint8_t> storedSkin, TSkinContent& content,
                     TSkinReader& reader, HINSTANCE resources = nullptr);
