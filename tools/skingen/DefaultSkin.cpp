// The default skin: a calm blue title bar with a soft vertical gradient and rounded top
// corners, light grey-white control faces with one-pixel borders and slightly rounded corners,
// and one accent blue for checked, selected and pressed states.
//
// Anti-aliased edges are blended with the colour the picture will be drawn over (the button
// face, the title bar, the menu background ...), and only pixels the shape does not touch at
// all become the transparent key colour, so that no pink fringe can appear.
#include "DefaultSkin.h"

#include "DefaultSkinParts.h"
#include "SkinPaint.h"

#include <array>

namespace SkinGen {
namespace {

using namespace Parts;

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
// Caption button glyphs (close, maximize, minimize, restore, context help), size s at (ox, oy).

enum class TCaptionGlyph { Close, Maximize, Minimize, Restore, Help };

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
  case TCaptionGlyph::Help: {
    // A question mark in the close cross's stroke: a hook over the upper half, a short stem
    // and a dot; the points are fixed so that the picture is the same on every host.
    const double k = s / 10;
    auto p = [&](double x, double y) { return Pt(ox + x * k, oy + y * k); };
    const TShape hook = Stroke({p(2.6, 3.1), p(3.1, 1.6), p(4.3, 0.8), p(5.8, 0.8), p(7.0, 1.5),
                                p(7.4, 2.8), p(6.9, 4.0), p(5.9, 4.8), p(5.2, 5.6), p(5.1, 6.6)},
                               0.7);
    return Union(hook, Circle(ox + 5.1 * k, oy + 9.0 * k, 0.9 * k));
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

} // namespace

std::vector<TSkinImage> BuildDefaultSkin() {
  using namespace Parts;
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
  add("helpbutton.bmp", CaptionButton(TCaptionGlyph::Help));
  add("frameleft.bmp", std::move(frame.Left));
  add("frameright.bmp", std::move(frame.Right));
  add("frametop.bmp", std::move(frame.Top));
  add("framebottom.bmp", std::move(frame.Bottom));
  add("mincaption.bmp", MenuBarBand());
  return images;
}

} // namespace SkinGen
