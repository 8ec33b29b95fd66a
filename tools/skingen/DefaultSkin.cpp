// The default skin: a calm blue title bar with a soft vertical gradient and rounded top
// corners, light grey-white control faces with one-pixel borders and slightly rounded corners,
// and one accent blue for checked, selected and pressed states.
//
// Anti-aliased edges are blended with the colour the picture will be drawn over (the button
// face, the title bar, the menu background ...), and only pixels the shape does not touch at
// all become the transparent key colour, so that no pink fringe can appear.
#include "DefaultSkin.h"

#include "SkinPaint.h"

#include <array>

namespace SkinGen {
namespace {

// ---------------------------------------------------------------------------------------------
// Palette (the colour table of skin.ini uses the same values where they meet).

constexpr TRgb kWhite{255, 255, 255};
constexpr TRgb kBlack{0, 0, 0};
constexpr TRgb kFace{241, 243, 246};      // ButtonFace
constexpr TRgb kBorder{172, 178, 188};    // control borders
constexpr TRgb kBoxBorder{118, 124, 134}; // check and radio boxes
constexpr TRgb kAccent{46, 120, 204};     // checked, selected
constexpr TRgb kAccentDark{32, 94, 170};  // pressed, outlines of accent shapes
constexpr TRgb kAccentHot{66, 142, 224};  // hot accent shapes
constexpr TRgb kHotBorder{84, 146, 219};
constexpr TRgb kDisabledBorder{206, 209, 214};
constexpr TRgb kDisabledFace{245, 246, 247};
constexpr TRgb kGlyph{74, 80, 90};
constexpr TRgb kGlyphDown{24, 78, 146};
constexpr TRgb kGlyphDisabled{172, 176, 183};
constexpr TRgb kTrack{233, 235, 239};    // scroll bar track ("Scrollbar" colour)
constexpr TRgb kMenuBack{252, 252, 252}; // "Menu" colour
constexpr TRgb kMenuBar{246, 247, 249};  // "Menubar" colour
constexpr TRgb kPaneBorder{180, 186, 195};
constexpr TRgb kCloseHot{224, 64, 52};
constexpr TRgb kClosePressed{176, 40, 34};

TShape Tri(double x0, double y0, double x1, double y1, double x2, double y2) {
  return Polygon({Pt(x0, y0), Pt(x1, y1), Pt(x2, y2)});
}

// ---------------------------------------------------------------------------------------------
// Window frame: one prototype window corner-to-corner is drawn for each look (active,
// inactive) and cut into the four frame sides, so that the rounded corners, the title band
// and the borders meet without seams.

struct TFrameLook {
  TRgb Top, Bottom; // title band ramp; Bottom is also the colour of the side borders
  TRgb Outline;     // outermost pixel ring
  TRgb Sheen;       // light line just inside the top edge
  TRgb Inner;       // one-pixel line around the client area
};

constexpr TFrameLook kActiveFrame{
    {80, 142, 214}, {50, 110, 188}, {30, 78, 142}, {122, 174, 232}, {40, 95, 168}};
constexpr TFrameLook kInactiveFrame{
    {224, 228, 234}, {204, 209, 217}, {150, 157, 168}, {242, 244, 247}, {178, 184, 194}};

constexpr int kFrameProtoWidth = 64;
constexpr int kFrameMiddle = 16; // rows between the title band and the bottom border
constexpr int kFrameProtoHeight = kTitleHeight + kFrameMiddle + kBorderWidth;
constexpr double kCornerRadius = 7;

TRgb TitleColour(const TFrameLook& look, int y) {
  return Ramp(look.Top, look.Bottom, y, kTitleHeight - 1);
}

TBitmap24 FramePrototype(const TFrameLook& look) {
  const int w = kFrameProtoWidth, h = kFrameProtoHeight;
  TBitmap24 img(w, h, look.Bottom);
  for (int y = 0; y < kTitleHeight; ++y)
    img.FillRect(0, y, w, y + 1, TitleColour(look, y));
  // The inner line runs along the title band's last row, both sides and the bottom border.
  const int innerTop = kTitleHeight - 1, innerBottom = h - kBorderWidth;
  const int innerLeft = kBorderWidth - 1, innerRight = w - kBorderWidth;
  img.FillRect(innerLeft, innerTop, innerRight + 1, innerTop + 1, look.Inner);
  img.FillRect(innerLeft, innerBottom, innerRight + 1, innerBottom + 1, look.Inner);
  img.FillRect(innerLeft, innerTop, innerLeft + 1, innerBottom + 1, look.Inner);
  img.FillRect(innerRight, innerTop, innerRight + 1, innerBottom + 1, look.Inner);

  // The window outline has hard edges: its pixels become the window region.
  const TShape outline = RoundRect(0, 0, w, h, kCornerRadius, kCornerRadius, 0, 0);
  auto inside = [&](int x, int y) {
    return img.Inside(x, y) && outline.Contains(static_cast<TFixed>(x) * kUnit + kUnit / 2,
                                                static_cast<TFixed>(y) * kUnit + kUnit / 2);
  };
  auto onEdge = [&](int x, int y) {
    return inside(x, y) &&
           (!inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1));
  };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (onEdge(x, y))
        img.Set(x, y, look.Outline);
      else if (inside(x, y) && y <= 3 &&
               (onEdge(x - 1, y) || onEdge(x + 1, y) || onEdge(x, y - 1)) &&
               x >= kBorderWidth - 2 && x < w - kBorderWidth + 2)
        img.Set(x, y, look.Sheen);
    }
  KeyOutsideHard(img, outline);
  return img;
}

struct TFrameSides {
  TBitmap24 Left, Right, Top, Bottom;
};

TFrameSides BuildFrameSides() {
  const TBitmap24 active = FramePrototype(kActiveFrame);
  const TBitmap24 inactive = FramePrototype(kInactiveFrame);
  const int w = kFrameProtoWidth, h = kFrameProtoHeight, b = kBorderWidth;
  TFrameSides s;
  // Left and right: cells side by side (active, inactive), each the full prototype height.
  s.Left = JoinHorizontal({active.Crop(0, 0, b, h), inactive.Crop(0, 0, b, h)});
  s.Right = JoinHorizontal({active.Crop(w - b, 0, b, h), inactive.Crop(w - b, 0, b, h)});
  // Top and bottom: cells stacked (active above inactive), between the side borders.
  s.Top = JoinVertical(
      {active.Crop(b, 0, w - 2 * b, kTitleHeight), inactive.Crop(b, 0, w - 2 * b, kTitleHeight)});
  s.Bottom =
      JoinVertical({active.Crop(b, h - b, w - 2 * b, b), inactive.Crop(b, h - b, w - 2 * b, b)});
  return s;
}

// ---------------------------------------------------------------------------------------------
// Caption button glyphs (close, maximize, minimize, restore), size s at (ox, oy).

enum class TCaptionGlyph { Close, Maximize, Minimize, Restore };

TShape CaptionGlyph(TCaptionGlyph kind, double ox, double oy, double s) {
  switch (kind) {
  case TCaptionGlyph::Close:
    return Union(Stroke({Pt(ox + 0.5, oy + 0.5), Pt(ox + s - 0.5, oy + s - 0.5)}, 0.7),
                 Stroke({Pt(ox + s - 0.5, oy + 0.5), Pt(ox + 0.5, oy + s - 0.5)}, 0.7));
  case TCaptionGlyph::Maximize:
    return RoundRectOutline(ox, oy, ox + s, oy + s, 1, 1);
  case TCaptionGlyph::Minimize:
    return Rect(ox, oy + s / 2, ox + s, oy + s / 2 + 1);
  case TCaptionGlyph::Restore: {
    const TShape front = RoundRectOutline(ox, oy + 2, ox + s - 2, oy + s, 1, 1);
    const TShape back = Difference(RoundRectOutline(ox + 2, oy, ox + s, oy + s - 2, 1, 1),
                                   RoundRect(ox, oy + 2, ox + s - 2, oy + s, 1));
    return Union(front, back);
  }
  }
  return Rect(0, 0, 0, 0);
}

// One caption button strip: cell 1 normal, 2 pressed, 3 hot, 4 inactive window or disabled.
TBitmap24 CaptionButton(TCaptionGlyph kind) {
  const int w = kCaptionButtonWidth, h = kCaptionButtonHeight;
  const double glyphSize = 10;
  const double ox = (w - glyphSize) / 2, oy = (h - glyphSize) / 2;
  const TShape glyph = CaptionGlyph(kind, ox, oy, glyphSize);
  const TShape plate = RoundRect(0, 0, w, h, 3);
  const bool close = kind == TCaptionGlyph::Close;
  auto activeBack = [](int, int y) { return TitleColour(kActiveFrame, y + kCaptionButtonTop); };
  auto inactiveBack = [](int, int y) { return TitleColour(kInactiveFrame, y + kCaptionButtonTop); };

  std::vector<TBitmap24> cells;
  {
    TBitmap24 c(w, h);
    FillAll(c, activeBack);
    Fill(c, glyph, kWhite);
    KeyOutside(c, glyph);
    cells.push_back(c);
  }
  for (int hot = 0; hot <= 1; ++hot) { // pressed, then hot
    TBitmap24 c(w, h);
    FillAll(c, activeBack);
    if (close)
      Fill(c, plate, hot ? kCloseHot : kClosePressed);
    else if (hot)
      Fill(c, plate, [&](int x, int y) { return Mix(kWhite, activeBack(x, y), 22, 100); });
    else
      Fill(c, plate, [&](int x, int y) { return Mix(kBlack, activeBack(x, y), 20, 100); });
    Fill(c, glyph, kWhite);
    KeyOutside(c, plate);
    cells.push_back(c);
  }
  {
    TBitmap24 c(w, h);
    FillAll(c, inactiveBack);
    Fill(c, glyph, TRgb{146, 156, 170});
    KeyOutside(c, glyph);
    cells.push_back(c);
  }
  return JoinHorizontal(cells);
}

// The three buttons of a maximized MDI child on the menu bar: minimize, restore, close, each
// with 4 cells (normal, pressed, hot, hot again: the menu bar shows cell 4 for hot).
TBitmap24 MdiButtons() {
  const int w = 16, h = 14;
  const double s = 8, ox = (w - s) / 2, oy = (h - s) / 2;
  const TShape plate = RoundRect(0, 0, w, h, 2);
  std::vector<TBitmap24> cells;
  for (TCaptionGlyph kind :
       {TCaptionGlyph::Minimize, TCaptionGlyph::Restore, TCaptionGlyph::Close}) {
    const TShape glyph = CaptionGlyph(kind, ox, oy, s);
    const bool close = kind == TCaptionGlyph::Close;
    for (int state = 1; state <= 4; ++state) {
      TBitmap24 c(w, h, kMenuBar);
      if (state == 1) {
        Fill(c, glyph, TRgb{70, 76, 86});
        KeyOutside(c, glyph);
      } else {
        const bool pressed = state == 2;
        const TRgb back = close ? (pressed ? kClosePressed : kCloseHot)
                                : (pressed ? TRgb{196, 212, 234} : TRgb{222, 232, 246});
        Fill(c, plate, back);
        Fill(c, glyph, close ? kWhite : TRgb{40, 46, 56});
        KeyOutside(c, plate);
      }
      cells.push_back(c);
    }
  }
  return JoinHorizontal(cells);
}

// Menu bar band ("menuBar"): cells stacked, active above inactive.
TBitmap24 MenuBarBand() {
  TBitmap24 active(24, 19), inactive(24, 19, TRgb{243, 244, 246});
  FillAll(active, VerticalRamp(TRgb{249, 250, 251}, TRgb{243, 244, 247}, 0, 19));
  return JoinVertical({active, inactive});
}

// ---------------------------------------------------------------------------------------------
// Push buttons: 1 normal, 2 down, 3 disabled, 4 hot, 5 focused or default.

TBitmap24 PushButtonCell(TRgb top, TRgb bottom, TRgb border, const TRgb* ring) {
  const int w = 24, h = 24;
  TBitmap24 c(w, h, kFace);
  const TShape outer = RoundRect(0, 0, w, h, 3.5);
  Fill(c, outer, border);
  Fill(c, RoundRect(1, 1, w - 1, h - 1, 2.5), VerticalRamp(top, bottom, 1, h - 1));
  if (ring) Fill(c, RoundRectOutline(1, 1, w - 1, h - 1, 2.5, 1), *ring);
  KeyOutside(c, outer);
  return c;
}

TBitmap24 PushButtons() {
  const TRgb focusRing{190, 215, 245};
  return JoinHorizontal({
      PushButtonCell({253, 253, 254}, {238, 240, 243}, kBorder, nullptr),
      PushButtonCell({212, 228, 247}, {200, 219, 243}, kAccentDark, nullptr),
      PushButtonCell(kDisabledFace, kDisabledFace, kDisabledBorder, nullptr),
      PushButtonCell({242, 248, 254}, {222, 236, 251}, kHotBorder, nullptr),
      PushButtonCell({253, 253, 254}, {238, 240, 243}, kAccent, &focusRing),
  });
}

// ---------------------------------------------------------------------------------------------
// Check boxes: 12 cells, rows of four states (normal, hot, pressed, disabled) for unchecked,
// checked and indeterminate. Radio buttons: 8 cells, unchecked and checked.

enum TBoxState { bsNormal, bsHot, bsPressed, bsDisabled };

struct TBoxColours {
  TRgb Border, Fill;
};

TBoxColours OpenBox(TBoxState s) {
  switch (s) {
  case bsHot:
    return {kAccent, {235, 244, 253}};
  case bsPressed:
    return {kAccentDark, {210, 226, 245}};
  case bsDisabled:
    return {kDisabledBorder, kDisabledFace};
  default:
    return {kBoxBorder, kWhite};
  }
}

TBoxColours MarkedBox(TBoxState s) {
  switch (s) {
  case bsHot:
    return {{50, 126, 210}, kAccentHot};
  case bsPressed:
    return {{24, 76, 142}, kAccentDark};
  case bsDisabled:
    return {{188, 194, 202}, {196, 201, 208}};
  default:
    return {{36, 104, 186}, kAccent};
  }
}

TBitmap24 CheckCell(int kind, TBoxState state) { // kind: 0 unchecked, 1 checked, 2 mixed
  const int n = 13;
  TBitmap24 c(n, n, kFace);
  const TShape box = RoundRect(0, 0, n, n, 2.5);
  const TBoxColours col = kind == 0 ? OpenBox(state) : MarkedBox(state);
  Fill(c, box, col.Border);
  Fill(c, RoundRect(1, 1, n - 1, n - 1, 1.5), col.Fill);
  if (kind == 1)
    Fill(c, Stroke({Pt(3.25, 6.75), Pt(5.5, 9), Pt(9.75, 4)}, 0.85), kWhite);
  else if (kind == 2)
    Fill(c, RoundRect(3, 5.75, 10, 7.25, 0.5), kWhite);
  KeyOutside(c, box);
  return c;
}

TBitmap24 CheckBoxes() {
  std::vector<TBitmap24> cells;
  for (int kind = 0; kind < 3; ++kind)
    for (TBoxState s : {bsNormal, bsHot, bsPressed, bsDisabled})
      cells.push_back(CheckCell(kind, s));
  return JoinHorizontal(cells);
}

TBitmap24 RadioCell(bool checked, TBoxState state) {
  const int n = 13;
  const double m = n / 2.0;
  TBitmap24 c(n, n, kFace);
  const TShape disc = Circle(m, m, m);
  const TBoxColours col = checked ? MarkedBox(state) : OpenBox(state);
  Fill(c, disc, col.Border);
  Fill(c, Circle(m, m, m - 1), col.Fill);
  if (checked) Fill(c, Circle(m, m, 2.5), kWhite);
  KeyOutside(c, disc);
  return c;
}

TBitmap24 RadioButtons() {
  std::vector<TBitmap24> cells;
  for (bool checked : {false, true})
    for (TBoxState s : {bsNormal, bsHot, bsPressed, bsDisabled})
      cells.push_back(RadioCell(checked, s));
  return JoinHorizontal(cells);
}

// ---------------------------------------------------------------------------------------------
// Progress bar: cell 1 the empty track, cell 2 the filled bar (nine-sliced over the track).

constexpr TRgb kProgressTrackTop{222, 225, 230}, kProgressTrackBottom{234, 236, 240};

TBitmap24 Progress() {
  const int w = 20, h = 14;
  const TShape outer = RoundRect(0, 0, w, h, 3);
  TBitmap24 track(w, h, kFace);
  Fill(track, outer, TRgb{184, 190, 199});
  Fill(track, RoundRect(1, 1, w - 1, h - 1, 2),
       VerticalRamp(kProgressTrackTop, kProgressTrackBottom, 1, h - 1));
  KeyOutside(track, outer);

  TBitmap24 bar(w, h, Mix(kProgressTrackTop, kProgressTrackBottom, 1, 2));
  Fill(bar, outer, TRgb{34, 98, 178});
  Fill(bar, RoundRect(1, 1, w - 1, h - 1, 2),
       VerticalRamp({104, 170, 240}, {44, 120, 206}, 1, h - 1));
  Fill(bar, Rect(3, 1, w - 3, 2), TRgb{146, 196, 248});
  KeyOutside(bar, outer);
  return JoinHorizontal({track, bar});
}

// One block of the segmented look, with a transparent gap on its right.
TBitmap24 ProgressChunk() {
  const int w = 10, h = 14;
  TBitmap24 c(w, h, Mix(kProgressTrackTop, kProgressTrackBottom, 1, 2));
  const TShape block = RoundRect(0, 1, w - 2, h - 1, 1.5);
  Fill(c, block, VerticalRamp({104, 170, 240}, {44, 120, 206}, 1, h - 1));
  KeyOutside(c, block);
  return c;
}

// ---------------------------------------------------------------------------------------------
// Tabs: 1 normal, 2 selected, 3 hot, 4 disabled, 5 focused. The page frame is one cell.

TBitmap24 TabCell(TRgb top, TRgb bottom, TRgb border, bool selected) {
  const int w = 24, h = 24;
  TBitmap24 c(w, h, kFace);
  const TShape outer = RoundRect(0, 0, w, h, 3, 3, 0, 0);
  Fill(c, outer, border);
  // A selected tab opens into the page below it; the others close with a border line.
  Fill(c, RoundRect(1, 1, w - 1, selected ? h : h - 1, 2, 2, 0, 0),
       VerticalRamp(top, bottom, 1, h));
  if (selected) Fill(c, RoundRect(1, 1, w - 1, 3, 2, 2, 0, 0), kAccent);
  KeyOutside(c, outer);
  return c;
}

TBitmap24 Tabs() {
  return JoinHorizontal({
      TabCell({236, 238, 242}, {226, 229, 234}, kPaneBorder, false),
      TabCell({253, 253, 254}, kFace, kPaneBorder, true),
      TabCell({244, 248, 253}, {230, 238, 248}, kHotBorder, false),
      TabCell(kDisabledFace, kDisabledFace, kDisabledBorder, false),
      TabCell({253, 253, 254}, kFace, kAccent, true),
  });
}

TBitmap24 TabSheet() {
  TBitmap24 c(12, 12, kPaneBorder);
  c.FillRect(1, 1, 11, 11, kFace);
  return c;
}

// ---------------------------------------------------------------------------------------------
// Status bar panels: 1 lowered, 2 raised, 3 no bevel. Flat, with a thin separator on the right.

TBitmap24 StatusBar() {
  auto cell = [](const TRgb* separator) {
    TBitmap24 c(16, 20, kFace);
    if (separator) {
      c.FillRect(13, 4, 14, 16, *separator);
      c.FillRect(14, 4, 15, 16, kWhite);
    }
    return c;
  };
  const TRgb lowered{200, 205, 212}, raised{214, 218, 224};
  return JoinHorizontal({cell(&lowered), cell(&raised), cell(nullptr)});
}

// Header items: 1 normal, 2 hot, 3 pressed, 4 disabled, 5 normal.
TBitmap24 Header() {
  auto cell = [](TRgb top, TRgb bottom) {
    const int w = 20, h = 22;
    TBitmap24 c(w, h);
    FillAll(c, VerticalRamp(top, bottom, 0, h - 1));
    c.FillRect(0, h - 1, w, h, TRgb{208, 213, 220});
    c.FillRect(w - 1, 4, w, h - 4, TRgb{218, 222, 228});
    return c;
  };
  return JoinHorizontal({cell(kWhite, {245, 246, 248}), cell({240, 246, 253}, {226, 237, 250}),
                         cell({214, 228, 246}, {206, 222, 243}), cell(kDisabledFace, kDisabledFace),
                         cell(kWhite, {245, 246, 248})});
}

// ---------------------------------------------------------------------------------------------
// Scroll bars. The arrow strip has 23 cells of 16 x 16:
//   1-4 left arrow, 5-8 right arrow, 9-12 up arrow, 13-16 down arrow (each: normal, pressed,
//   disabled, hot), 17-19 grip of a horizontal thumb, 20-22 grip of a vertical thumb (each:
//   normal, pressed, hot), 23 spare (track colour).

constexpr int kScroll = 16;
enum TArrow { arLeft, arRight, arUp, arDown };

TShape ArrowTriangle(TArrow a, double cx, double cy, double half, double depth) {
  switch (a) {
  case arLeft:
    return Tri(cx - depth / 2, cy, cx + depth / 2, cy - half, cx + depth / 2, cy + half);
  case arRight:
    return Tri(cx + depth / 2, cy, cx - depth / 2, cy - half, cx - depth / 2, cy + half);
  case arUp:
    return Tri(cx, cy - depth / 2, cx - half, cy + depth / 2, cx + half, cy + depth / 2);
  default:
    return Tri(cx, cy + depth / 2, cx - half, cy - depth / 2, cx + half, cy - depth / 2);
  }
}

TBitmap24 ScrollArrowCell(TArrow a, int state) { // 1 normal, 2 pressed, 3 disabled, 4 hot
  TBitmap24 c(kScroll, kScroll, kTrack);
  TRgb glyph{96, 102, 112};
  if (state == 2 || state == 4) {
    Fill(c, RoundRect(1, 1, kScroll - 1, kScroll - 1, 2),
         state == 2 ? TRgb{192, 198, 207} : TRgb{218, 222, 228});
    glyph = state == 2 ? TRgb{36, 40, 46} : TRgb{60, 64, 72};
  } else if (state == 3) {
    glyph = TRgb{196, 199, 204};
  }
  Fill(c, ArrowTriangle(a, kScroll / 2.0, kScroll / 2.0, 3.5, 4), glyph);
  return c;
}

// Thumbs: 3 cells (normal, pressed, hot), a pill inset from the track edges.
constexpr std::array<TRgb, 3> kThumb{TRgb{190, 195, 203}, TRgb{120, 127, 138}, TRgb{160, 166, 176}};
constexpr int kThumbLength = 24;

TBitmap24 ThumbCell(bool vertical, int state) {
  const int w = vertical ? kScroll : kThumbLength, h = vertical ? kThumbLength : kScroll;
  TBitmap24 c(w, h, kTrack);
  const TShape pill = vertical ? RoundRect(4, 1, 12, h - 1, 4) : RoundRect(1, 4, w - 1, 12, 4);
  Fill(c, pill, kThumb[static_cast<std::size_t>(state)]);
  KeyOutside(c, pill);
  return c;
}

TBitmap24 Thumbs(bool vertical) {
  return JoinHorizontal({ThumbCell(vertical, 0), ThumbCell(vertical, 1), ThumbCell(vertical, 2)});
}

// A grip cell repeats the thumb's cross-section (with the track where the thumb is
// transparent), so that it looks the same whether it is drawn keyed or opaque, and adds three
// light ridges.
TBitmap24 GripCell(bool vertical, int state) {
  const TBitmap24 thumb = ThumbCell(vertical, state);
  TBitmap24 c(kScroll, kScroll);
  for (int a = 0; a < kScroll; ++a)     // along the bar
    for (int t = 0; t < kScroll; ++t) { // across the bar
      TRgb p = vertical ? thumb.Get(t, kThumbLength / 2) : thumb.Get(kThumbLength / 2, t);
      if (p == kMagenta) p = kTrack;
      if (vertical)
        c.Set(t, a, p);
      else
        c.Set(a, t, p);
    }
  const TRgb ridge = Mix(kWhite, kThumb[static_cast<std::size_t>(state)], 40, 100);
  for (int i = 0; i < 3; ++i) {
    const int a = 5 + 2 * i;
    for (int t = 6; t < 10; ++t)
      if (vertical)
        c.Set(t, a, ridge);
      else
        c.Set(a, t, ridge);
  }
  return c;
}

TBitmap24 ScrollArrows() {
  std::vector<TBitmap24> cells;
  for (TArrow a : {arLeft, arRight, arUp, arDown})
    for (int state = 1; state <= 4; ++state)
      cells.push_back(ScrollArrowCell(a, state));
  for (bool vertical : {false, true})
    for (int state = 0; state < 3; ++state)
      cells.push_back(GripCell(vertical, state));
  cells.emplace_back(kScroll, kScroll, kTrack);
  return JoinHorizontal(cells);
}

// Tracks: 4 cells (normal, pressed, disabled, hot), flat.
TBitmap24 ScrollTrack() {
  std::vector<TBitmap24> cells;
  for (TRgb c : {kTrack, TRgb{228, 231, 235}, TRgb{245, 246, 247}, TRgb{232, 235, 239}})
    cells.emplace_back(kScroll, kScroll, c);
  return JoinHorizontal(cells);
}

// ---------------------------------------------------------------------------------------------
// Menus: the popup background (its outer 3 pixels are the menu frame) and the item strip:
// 1 normal (transparent), 2 separator, 3 normal, 4 selected, 5 selected (lighter).

TBitmap24 MenuBackground() {
  TBitmap24 c(16, 16, TRgb{166, 172, 182});
  c.FillRect(1, 1, 15, 15, kMenuBack);
  return c;
}

TBitmap24 MenuItems() {
  const int w = 24, h = 22;
  TBitmap24 empty(w, h, kMagenta);
  TBitmap24 separator(w, h, kMagenta);
  separator.FillRect(2, h - 3, w - 2, h - 2, TRgb{218, 221, 226});
  auto selected = [&](TRgb top, TRgb bottom) {
    TBitmap24 c(w, h, kMenuBack);
    const TShape plate = RoundRect(2, 1, w - 2, h - 1, 3);
    Fill(c, plate, VerticalRamp(top, bottom, 1, h - 1));
    KeyOutside(c, plate);
    return c;
  };
  return JoinHorizontal({empty, separator, empty, selected({62, 136, 216}, {44, 116, 200}),
                         selected({86, 154, 226}, {62, 136, 216})});
}

// ---------------------------------------------------------------------------------------------
// Extra images: 1-4 the drop-down arrow (normal, down, disabled, hot), 5 the size grip.

TBitmap24 ExtraImages() {
  const int n = 12;
  std::vector<TBitmap24> cells;
  const TShape chevron = Stroke({Pt(3, 4.5), Pt(6, 7.5), Pt(9, 4.5)}, 0.8);
  for (TRgb g : {kGlyph, kGlyphDown, kGlyphDisabled, kAccentDark}) {
    TBitmap24 c(n, n, kWhite);
    Fill(c, chevron, g);
    KeyOutside(c, chevron);
    cells.push_back(c);
  }
  TBitmap24 grip(n, n, kFace);
  TShape dots = Rect(0, 0, 0, 0);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      if (i + j >= 2)
        dots = Union(dots, RoundRect(2 + 3 * i, 2 + 3 * j, 4 + 3 * i, 4 + 3 * j, 0.5));
  Fill(grip, dots, TRgb{160, 166, 176});
  KeyOutside(grip, dots);
  cells.push_back(grip);
  return JoinHorizontal(cells);
}

// Combo box button (flat look): 1 normal, 2 down, 3 disabled, 4 hot. Opaque.
TBitmap24 ComboButton() {
  const int w = 16, h = 18;
  const TShape chevron = Stroke({Pt(4.5, 7.5), Pt(8, 11), Pt(11.5, 7.5)}, 0.85);
  const TShape plate = RoundRect(1, 1, w - 1, h - 1, 2);
  auto cell = [&](TRgb back, const TRgb* plateColour, TRgb glyph) {
    TBitmap24 c(w, h, back);
    if (plateColour) Fill(c, plate, *plateColour);
    Fill(c, chevron, glyph);
    return c;
  };
  const TRgb down{204, 226, 248}, hot{229, 241, 252};
  return JoinHorizontal({cell(kWhite, nullptr, kGlyph), cell(kWhite, &down, kGlyphDown),
                         cell(kDisabledFace, nullptr, kGlyphDisabled),
                         cell(kWhite, &hot, kAccentDark)});
}

// ---------------------------------------------------------------------------------------------
// Spin buttons: faces of 8 cells (first half: normal, down, disabled, hot; then the second
// half), and arrow glyphs of 8 cells in the same order, drawn centred on the faces.

constexpr std::array<TRgb, 4> kSpinFace{TRgb{226, 230, 235}, TRgb{196, 212, 234},
                                        TRgb{240, 241, 243}, TRgb{214, 228, 246}};
constexpr std::array<TRgb, 4> kSpinGlyph{kGlyph, kGlyphDown, kGlyphDisabled, kAccentDark};

TBitmap24 SpinFaces(bool horizontal) {
  const int w = horizontal ? 10 : 16, h = horizontal ? 16 : 10;
  std::vector<TBitmap24> cells;
  for (int half = 0; half < 2; ++half) {
    // A one-pixel transparent gap separates the two halves.
    TShape face = horizontal ? (half == 0 ? RoundRect(0, 0, w - 1, h, 2, 1, 1, 2)
                                          : RoundRect(1, 0, w, h, 1, 2, 2, 1))
                             : (half == 0 ? RoundRect(0, 0, w, h - 1, 2, 2, 1, 1)
                                          : RoundRect(0, 1, w, h, 1, 1, 2, 2));
    for (std::size_t s = 0; s < 4; ++s) {
      TBitmap24 c(w, h, kFace);
      Fill(c, face, kSpinFace[s]);
      KeyOutside(c, face);
      cells.push_back(c);
    }
  }
  return JoinHorizontal(cells);
}

TBitmap24 SpinGlyphs(bool horizontal) {
  const int w = horizontal ? 5 : 9, h = horizontal ? 9 : 5;
  std::vector<TBitmap24> cells;
  for (int half = 0; half < 2; ++half) {
    const TShape arrow =
        ArrowTriangle(horizontal ? (half == 0 ? arLeft : arRight) : (half == 0 ? arUp : arDown),
                      w / 2.0, h / 2.0, 3.5, 4);
    for (std::size_t s = 0; s < 4; ++s) {
      TBitmap24 c(w, h, kSpinFace[s]);
      Fill(c, arrow, kSpinGlyph[s]);
      KeyOutside(c, arrow);
      cells.push_back(c);
    }
  }
  return JoinHorizontal(cells);
}

// ---------------------------------------------------------------------------------------------
// Track bars: channels (drawn opaque, so their ends are blended with the face colour) and
// thumbs of 5 cells: 1 normal, 2 normal (the cell the track bar draws), 3 disabled, 4 hot,
// 5 pressed.

TBitmap24 TrackChannel(bool vertical) {
  const int w = vertical ? 4 : 16, h = vertical ? 16 : 4;
  TBitmap24 c(w, h, kFace);
  Fill(c, RoundRect(0, 0, w, h, 2), TRgb{168, 175, 186});
  Fill(c, RoundRect(1, 1, w - 1, h - 1, 1), TRgb{214, 218, 225});
  return c;
}

TBitmap24 TrackThumbs(bool lying) {
  const int w = lying ? 20 : 11, h = lying ? 11 : 20;
  struct TLook {
    TRgb Border, Top, Bottom;
  };
  const TLook normal{{30, 90, 166}, {82, 152, 230}, {46, 120, 204}};
  const std::array<TLook, 5> looks{normal, normal,
                                   TLook{{180, 185, 192}, {216, 219, 224}, {202, 206, 212}},
                                   TLook{{40, 104, 184}, {108, 172, 242}, {66, 142, 224}},
                                   TLook{{24, 74, 140}, {46, 120, 204}, {32, 94, 170}}};
  const TShape outer = RoundRect(0, 0, w, h, 3);
  std::vector<TBitmap24> cells;
  for (const TLook& l : looks) {
    TBitmap24 c(w, h, kFace);
    Fill(c, outer, l.Border);
    Fill(c, RoundRect(1, 1, w - 1, h - 1, 2), VerticalRamp(l.Top, l.Bottom, 1, h - 1));
    KeyOutside(c, outer);
    cells.push_back(c);
  }
  return JoinHorizontal(cells);
}

} // namespace

std::vector<TSkinImage> BuildDefaultSkin() {
  TFrameSides frame = BuildFrameSides();
  std::vector<TSkinImage> images;
  auto add = [&](const char* name, TBitmap24 img) { images.push_back({name, std::move(img)}); };
  add("buttons.bmp", PushButtons());
  add("checkbox.bmp", CheckBoxes());
  add("radiobutton.bmp", RadioButtons());
  add("progress.bmp", Progress());
  add("progresschunk.bmp", ProgressChunk());
  add("tab.bmp", Tabs());
  add("tabsheet.bmp", TabSheet());
  add("comboboxbtn.bmp", ComboButton());
  add("statusbar.bmp", StatusBar());
  add("header.bmp", Header());
  add("scrollbararrow.bmp", ScrollArrows());
  add("scrollbarhthumb.bmp", Thumbs(false));
  add("scrollbarvthumb.bmp", Thumbs(true));
  add("scrollbarhbar.bmp", ScrollTrack());
  add("scrollbarvbar.bmp", ScrollTrack());
  add("menubackground.bmp", MenuBackground());
  add("menuitem.bmp", MenuItems());
  add("extraimages.bmp", ExtraImages());
  add("trackthumbh.bmp", TrackThumbs(false));
  add("trackbot.bmp", TrackThumbs(true));
  add("trackbar.bmp", TrackChannel(false));
  add("trackbarv.bmp", TrackChannel(true));
  add("mdibutton.bmp", MdiButtons());
  add("spin.bmp", SpinFaces(false));
  add("spinarrow.bmp", SpinGlyphs(false));
  add("spinh.bmp", SpinFaces(true));
  add("spinharrow.bmp", SpinGlyphs(true));
  add("closebutton.bmp", CaptionButton(TCaptionGlyph::Close));
  add("maxbutton.bmp", CaptionButton(TCaptionGlyph::Maximize));
  add("minbutton.bmp", CaptionButton(TCaptionGlyph::Minimize));
  add("restrorebutton.bmp", CaptionButton(TCaptionGlyph::Restore));
  add("frameleft.bmp", std::move(frame.Left));
  add("frameright.bmp", std::move(frame.Right));
  add("frametop.bmp", std::move(frame.Top));
  add("framebottom.bmp", std::move(frame.Bottom));
  add("mincaption.bmp", MenuBarBand());
  return images;
}

} // namespace SkinGen
