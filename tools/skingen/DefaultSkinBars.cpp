// The default skin's scroll bars, menus, combo box button, spin buttons and track bar, in the
// same palette and manner as DefaultSkin.cpp.
#include "DefaultSkinParts.h"

#include <array>

namespace SkinGen::Parts {

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

} // namespace SkinGen::Parts
