// The reading of a skin description into the skin element objects (TSkinContentBuilder).
//
// The description and its images are untrusted: every state count, margin and image size is
// checked before it is used to cut, copy or divide, so that no image is read outside its bounds
// and nothing divides by zero, whatever the skin holds.
#include "SkinElements.h"

#include "ImgUtil.h"
#include "SkinReader.h"
#include "TextCase.h"
#include "WinSkinIni.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>

// ---------------------------------------------------------------------------------------------
// Drawing helpers for the derived elements

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  const TBrushHandle brush(CreateSolidBrush(color));
  FillRect(dc, &rect, brush.Get());
}

// Copies the part of `source` inside `from` to (x, y) of `target`; whatever of `from` lies
// outside the source image is left out (the target keeps its pixels there).
void CopyClipped(TBitmap& source, RECT from, HDC target, int x, int y) {
  const RECT bounds{0, 0, source.Width(), source.Height()};
  RECT clipped;
  if (source.Empty() || !IntersectRect(&clipped, &from, &bounds)) return;
  BitBlt(target, x + (clipped.left - from.left), y + (clipped.top - from.top),
         clipped.right - clipped.left, clipped.bottom - clipped.top, source.CanvasHandle(),
         clipped.left, clipped.top, SRCCOPY);
}

// The same into an image: 24-bit rows are copied as they are, without a device context (the
// target's own canvas is let go after a copy that needs one).
void CopyClipped(TBitmap& source, RECT from, TBitmap& target, int x, int y) {
  if (source.PixelFormat() != pf24bit || target.PixelFormat() != pf24bit) {
    CopyClipped(source, from, target.CanvasHandle(), x, y);
    target.ReleaseCanvas();
    return;
  }
  const RECT bounds{0, 0, source.Width(), source.Height()};
  RECT clipped;
  if (source.Empty() || target.Empty() || !IntersectRect(&clipped, &from, &bounds)) return;
  // Where it lands, cut to the target as a blit is.
  const RECT landing{x + (clipped.left - from.left), y + (clipped.top - from.top),
                     x + (clipped.right - from.left), y + (clipped.bottom - from.top)};
  const RECT targetBounds{0, 0, target.Width(), target.Height()};
  RECT inside;
  if (!IntersectRect(&inside, &landing, &targetBounds)) return;
  const int sx = clipped.left + (inside.left - landing.left);
  const int sy = clipped.top + (inside.top - landing.top);
  const std::size_t bytes = static_cast<std::size_t>(inside.right - inside.left) * 3;
  for (int row = 0; row < inside.bottom - inside.top; ++row)
    std::memcpy(target.ScanLine(inside.top + row) + 3 * inside.left,
                source.ScanLine(sy + row) + 3 * sx, bytes);
}

// The colour of pixel (x, y) as GetPixel gives it; CLR_INVALID outside the image. 24-bit
// images are read without a device context.
COLORREF PixelAt(TBitmap& image, int x, int y) {
  if (image.Empty() || x < 0 || y < 0 || x >= image.Width() || y >= image.Height())
    return CLR_INVALID;
  if (image.PixelFormat() == pf24bit) {
    const std::uint8_t* p = image.ScanLine(y) + 3 * x;
    return RGB(p[2], p[1], p[0]);
  }
  const COLORREF pixel = GetPixel(image.CanvasHandle(), x, y);
  image.ReleaseCanvas();
  return pixel;
}

// Draws state `cell` (0-based) of an element into `dest`: the corners keep their size, the
// edges and the middle are stretched (the middle tiled with Tile 1); through the magenta key
// when `transparent`. Margins that do not fit the cell or the target are dropped.
void PaintElementCell(HDC dc, const RECT& dest, TDataSkinObject& element, int cell,
                      bool transparent) {
  const int W = dest.right - dest.left, H = dest.bottom - dest.top;
  const RECT c = element.CellRect(cell);
  const int cw = c.right - c.left, ch = c.bottom - c.top;
  if (W <= 0 || H <= 0 || cw <= 0 || ch <= 0) return;
  int l = std::clamp<int>(element.Margins.left, 0, cw);
  int r = std::clamp<int>(element.Margins.right, 0, cw - l);
  int t = std::clamp<int>(element.Margins.top, 0, ch);
  int b = std::clamp<int>(element.Margins.bottom, 0, ch - t);
  if (W < l + r) l = r = 0;
  if (H < t + b) t = b = 0;

  TBitmap part(W, H);
  HDC pdc = part.CanvasHandle();
  HDC sdc = element.Image.CanvasHandle();
  SetStretchBltMode(pdc, COLORONCOLOR);
  auto piece = [&](int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh) {
    if (dw > 0 && dh > 0 && sw > 0 && sh > 0)
      StretchBlt(pdc, dx, dy, dw, dh, sdc, c.left + sx, sy, sw, sh, SRCCOPY);
  };
  const int mw = cw - l - r, mh = ch - t - b; // middle of the cell
  const int dw = W - l - r, dh = H - t - b;   // middle of the target
  piece(0, 0, l, t, 0, 0, l, t);
  piece(0, H - b, l, b, 0, ch - b, l, b);
  piece(W - r, 0, r, t, cw - r, 0, r, t);
  piece(0, t, l, dh, 0, t, l, mh);
  piece(l, 0, dw, t, l, 0, mw, t);
  if (element.Tile == 1 && mw > 0 && mh > 0) {
    for (int y = t; y < t + dh; y += mh)
      for (int x = l; x < l + dw; x += mw)
        BitBlt(pdc, x, y, std::min(mw, l + dw - x), std::min(mh, t + dh - y), sdc, c.left + l, t,
               SRCCOPY);
  } else {
    piece(l, t, dw, dh, l, t, mw, mh);
  }
  piece(W - r, H - b, r, b, cw - r, ch - b, r, b);
  piece(W - r, t, r, dh, cw - r, t, r, mh);
  piece(l, H - b, dw, b, l, ch - b, mw, b);

  if (transparent)
    TransparentBlt(dc, dest.left, dest.top, W, H, pdc, 0, 0, W, H, kMagenta);
  else
    BitBlt(dc, dest.left, dest.top, W, H, pdc, 0, 0, SRCCOPY);
}

// Draws state `cell` of an element at its own size, centred in `area`, through the magenta key.
void PaintCellCentred(HDC dc, const RECT& area, TDataSkinObject& element, int cell) {
  const RECT c = element.CellRect(cell);
  const int cw = c.right - c.left, ch = c.bottom - c.top;
  if (cw <= 0 || ch <= 0) return;
  const int x = area.left + (area.right - area.left - cw) / 2;
  const int y = area.top + (area.bottom - area.top - ch) / 2;
  TransparentBlt(dc, x, y, cw, ch, element.Image.CanvasHandle(), c.left, c.top, cw, ch, kMagenta);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Reading the description

class TSkinContentBuilder {
public:
  TSkinContentBuilder(TSkinContent& content, const TQuickIni& ini, const TSkinReader* archive,
                      HINSTANCE resources)
      : C(content), FIni(ini), FArchive(archive),
        FResources(resources ? resources : GetModuleHandleA(nullptr)) {}

  void Run() {
    C.SkinName = FIni.ReadString("TitlebarSkin", "SkinName", "");
    ReadFrameSides();
    ReadColours();
    ReadCaptionButtons();
    ReadButtons();
    ReadTitle();
    ReadElements();
    FixFrameCounts();
    BuildCombinedEditFrame();
    BuildComboArrow();
    BuildToolbar();
    Normalize();
  }

private:
  using TObj = std::unique_ptr<TDataSkinObject>;
  using TBorder = std::unique_ptr<TDataSkinBorder>;

  int Int(std::string_view section, std::string_view key, int def) const {
    return FIni.ReadInteger(section, key, def);
  }
  std::string Str(std::string_view section, std::string_view key) const {
    return FIni.ReadString(section, key, "");
  }
  TColor Colour(std::string_view section, std::string_view key, TColor def) const {
    const std::string text = Str(section, key);
    return text.empty() ? def : StrToColour(text);
  }
  // The image loading rule: the file-name part of the value, with the extension ".bmp"
  // exactly, names the archive entry; anything else gives an empty image.
  void LoadImage(std::string_view value, TBitmap& image) {
    image.Clear();
    if (!FArchive) return;
    const std::optional<std::string> entry = SkinImageEntryName(value);
    if (!entry) return;
    const int index = FArchive->FindEntry(*entry);
    if (index < 0) return;
    const std::span<const std::uint8_t> bytes = FArchive->EntryData(index);
    if (bytes.empty()) return;
    image.LoadFromStream(bytes.data(), bytes.size());
  }
  void ReadMargins(TDataSkinObject& e, std::string_view s) {
    e.Margins.left = Int(s, "LeftWidth", 0);
    e.Margins.top = Int(s, "TopHeight", 0);
    e.Margins.right = Int(s, "RightWidth", 0);
    e.Margins.bottom = Int(s, "BottomHeight", 0);
  }
  void ReadColourKeys(TDataSkinObject& e, std::string_view s) {
    e.NormalColour = Int(s, "NormalColour", -1);
    e.MouseOverColour = Int(s, "MouseOverColour", -1);
    e.PressedColour = Int(s, "PressedColour", -1);
    const TColor text = C.Colours[scButtonText];
    e.NormalColour2 = Colour(s, "NormalColour2", text);
    e.MouseOverColour2 = Colour(s, "MouseOverColour2", text);
    e.PressedColour2 = Colour(s, "PressedColour2", text);
  }
  // The keys ReadElement and its variants share.
  void ReadPlain(TDataSkinObject& e, std::string_view s, bool frame) {
    e.Style = Int(s, "Style", 0);
    ReadMargins(e, s);
    if (frame) e.FrameCount = Int(s, "Frame", 0);
    e.Trans = Int(s, "Trans", 0);
    e.Tile = Int(s, "Tile", 0);
    ReadColourKeys(e, s);
    if (e.Tile > 1) e.Tile = 0;
  }

  void ReadElement(std::string_view s, TObj& slot) {
    slot.reset();
    const std::string image = Str(s, "Image");
    if (image.empty()) return;
    auto e = std::make_unique<TDataSkinObject>(std::string(s));
    LoadImage(image, e->Image);
    ReadPlain(*e, s, true);
    slot = std::move(e);
  }
  void ReadElement2(std::string_view s, std::string_view key2, TBorder& slot) {
    slot.reset();
    const std::string image = Str(s, "Image");
    if (image.empty()) return;
    auto e = std::make_unique<TDataSkinBorder>(std::string(s));
    LoadImage(image, e->Image);
    LoadImage(Str(s, key2), e->Image2);
    ReadPlain(*e, s, false);
    slot = std::move(e);
  }
  void ReadBitmapElement(std::string_view s, TBorder& slot) {
    slot.reset();
    const std::string image = Str(s, "Bitmap");
    if (image.empty()) return;
    auto e = std::make_unique<TDataSkinBorder>(std::string(s));
    LoadImage(image, e->Image);
    e->Style = Int(s, "Style", 0);
    ReadMargins(*e, s);
    e->Trans = Int(s, "Trans", 0);
    e->Tile = Int(s, "Tile", 0);
    if (e->Tile > 1) e->Tile = 1;
    slot = std::move(e);
  }
  void ReadBoxLabel(std::string_view s, std::unique_ptr<TDataSkinBoxLabel>& slot) {
    slot.reset();
    const std::string image = Str(s, "Image");
    if (image.empty()) return;
    auto e = std::make_unique<TDataSkinBoxLabel>(std::string(s));
    LoadImage(image, e->Image);
    ReadPlain(*e, s, false);
    e->BackgroundAlignment = Int(s, "BackgroundAlignment", 0);
    e->BackgroundLeftShift = Int(s, "BackgroundLeftShift", 0);
    e->BackgroundRightShift = Int(s, "BackgroundRightShift", 0);
    slot = std::move(e);
  }
  void ReadMenuBar(std::string_view s, TObj& slot) {
    slot.reset();
    const std::string image = Str(s, "menuBar");
    if (image.empty()) return;
    auto e = std::make_unique<TDataSkinObject>("MenuBar");
    LoadImage(image, e->Image);
    e->Tile = Int(s, "TileMenu", 1);
    e->Margins.left = Int(s, "TileLeftMenu", 1);
    e->Margins.right = Int(s, "TileRightMenu", 1);
    if (e->Tile > 1) e->Tile = 1;
    slot = std::move(e);
  }
  void ReadResourceElement(const char* name, TObj& slot) {
    auto e = std::make_unique<TDataSkinObject>(name);
    e->Image.LoadFromResourceName(FResources, name);
    e->Margins = RECT{3, 3, 3, 3};
    e->Tile = 0;
    e->FrameCount = 1;
    slot = std::move(e);
  }

  // Step: the four frame sides of "Personality".
  void ReadFrameSides() {
    const std::string_view p = "Personality";
    for (TDataSkinBorder* side : {&C.Left, &C.Right, &C.Top, &C.Bottom}) {
      const std::string n = side->Name;
      LoadImage(Str(p, n), side->Image);
      const int first = Int(p, n + "TopHeight", 0), second = Int(p, n + "BotHeight", 0);
      if (side == &C.Left || side == &C.Right)
        side->Margins = RECT{0, first, 0, second};
      else
        side->Margins = RECT{first, 0, second, 0};
      side->FrameCount = Int(p, n + "Frame", 1);
      side->Tile = std::min(Int(p, n + "Stretch", 1), 1);
      side->Trans = Int(p, n + "Trans", 1);
    }
  }

  // Step: the colour table, the extra colours and the custom colours.
  void ReadColours() {
    struct TKey {
      int Index;
      const char* Key;
      int SysIndex; // -1: the ButtonFace entry just read
    };
    static constexpr TKey kKeys[] = {
        {scWindowText, "WindowText", COLOR_WINDOWTEXT},
        {scButtonFace, "ButtonFace", COLOR_BTNFACE},
        {scScrollbar, "Scrollbar", COLOR_SCROLLBAR},
        {scHilightText, "HilightText", COLOR_HIGHLIGHTTEXT},
        {scHilight, "Hilight", COLOR_HIGHLIGHT},
        {scMenubar, "Menubar", -1},
        {scMenu, "Menu", COLOR_MENU},
        {scMenuText, "MenuText", COLOR_MENUTEXT},
        {scButtonText, "ButtonText", COLOR_BTNTEXT},
        {scButtonHilight, "ButtonHilight", COLOR_BTNHIGHLIGHT},
        {scButtonlight, "Buttonlight", COLOR_BTNHIGHLIGHT},
        {scButtonShadow, "ButtonShadow", COLOR_BTNSHADOW},
        {scButtonDkShadow, "ButtonDkShadow", COLOR_3DDKSHADOW},
        {scMenuBarText, "MenuBarText", COLOR_MENUTEXT},
        {scTitleTextActive, "TitleTextActive", COLOR_CAPTIONTEXT},
        {scTitleTextNoActive, "TitleTextNoActive", COLOR_INACTIVECAPTIONTEXT},
    };
    for (const TKey& k : kKeys) {
      const std::string text = Str("Colours", k.Key);
      C.ColourDefined[k.Index] = !text.empty();
      if (!text.empty())
        C.Colours[k.Index] = StrToColour(text);
      else
        C.Colours[k.Index] = k.SysIndex < 0 ? C.Colours[scButtonFace] : SysColor(k.SysIndex);
    }
    std::vector<std::string> sections;
    FIni.ReadSections(&sections);
    for (const std::string& s : sections) {
      const std::string upper = TextCase::Upper(s);
      if (upper.rfind("COLOUR", 0) == 0 && upper != "COLOURS")
        C.ExtraColours.push_back(Colour(s, "color", SysColor(COLOR_WINDOWTEXT)));
    }
    for (int d = 0; d < 10; ++d)
      C.CustomColours[d] = Colour("Customcolors", "Color" + std::to_string(d), clWhite);
  }

  // Step: the caption buttons, then the three MDI child buttons.
  void ReadCaptionButtons() {
    std::vector<std::string> sections;
    FIni.ReadSections(&sections);
    bool havePosition = false;
    int rememberedX = 0, rememberedY = 0;
    for (const std::string& s : sections) {
      const std::string upper = TextCase::Upper(s);
      if (upper.rfind("BUTTON", 0) != 0 || upper == "BUTTON" || upper == "BUTTONS" ||
          upper == "BUTTON.RADIO" || upper == "BUTTON.CHECKBOX")
        continue;
      if (Int(s, "Action", 0) == -1 && Int(s, "Visibility", -1) != 0) continue;

      auto b = std::make_unique<TDataSkinSysButton>(upper);
      b->Action = Int(s, "Action", 0);
      b->Align = Int(s, "Align", 0);
      b->XCoord = Int(s, "Xcoord", 0);
      b->YCoord = Int(s, "Ycoord", 0);
      b->Visibility = Int(s, "Visibility", 0);
      b->Visibility1 = Int(s, "Visibility1", b->Action == -1 ? -1 : 0);
      b->CombineOp = Int(s, "CombineOp", -1);
      b->FrameCount = Int(s, "frame", 0);
      LoadImage(Str(s, "ButtonImage"), b->Image);

      if (b->Action == 1 && b->Visibility == 2) {
        havePosition = true;
        rememberedX = b->XCoord;
        rememberedY = b->YCoord;
      } else if (b->Action == 4 && havePosition) {
        b->XCoord = rememberedX;
        b->YCoord = rememberedY;
      }
      // No state count given: judged from the image's shape. (A negative count becomes one
      // state when the elements are normalized.)
      if (b->FrameCount == 0) {
        b->FrameCount = 6;
        if (!b->Image.Empty()) // width / height at most 3.8
          b->FrameCount = 5 * b->Image.Width() <= 19 * b->Image.Height() ? 3 : 6;
        if (b->Action < 0) b->FrameCount = 6;
        if (b->Action == 3 || b->Action == 11) b->Image.Clear();
      }
      C.CaptionButtons.push_back(std::move(b));
    }

    TBitmap mdi;
    LoadImage(Str("MDICONTROLS", "Image"), mdi);
    const int c = mdi.Width() / 12;
    for (int i = 0; i < 3; ++i) {
      auto b = std::make_unique<TDataSkinSysButton>("MDICONTROLS");
      b->Action = 7 + i;
      b->Align = 100;
      b->Visibility = b->Visibility1 = 100;
      b->FrameCount = 4;
      b->XCoord = (c + 4) * (3 - i);
      if (c > 0) {
        b->Image = TBitmap(4 * c, mdi.Height(), mdi.PixelFormat() == pf32bit ? pf32bit : pf24bit);
        CopyClipped(mdi, RECT{4 * c * i, 0, 4 * c * (i + 1), mdi.Height()}, b->Image, 0, 0);
      }
      C.CaptionButtons.push_back(std::move(b));
    }
  }

  // Step: the push buttons with the check-box and radio-button images.
  void ReadButtons() {
    const std::string_view s = "Buttons";
    TDataSkinButton& b = C.Buttons;
    ReadMargins(b, s);
    b.Trans = Int(s, "Trans", 0);
    LoadImage(Str(s, "Bitmap"), b.Image);
    b.Tile = Int(s, "Tile", 0);
    if (b.Tile > 1) b.Tile = 0;
    LoadImage(Str(s, "CheckButton"), b.CheckImage);
    LoadImage(Str(s, "RadioButton"), b.RadioImage);
    b.NormalColour = Int(s, "NormalColour", -1);
    b.MouseOverColour = Int(s, "MouseOverColour", -1);
    b.PressedColour = Int(s, "PressedColour", -1);
    b.RadioFrameCount = Int(s, "RadioButtonFrame", 0);
    b.CheckFrameCount = Int(s, "CheckButtonFrame", 0);
    const TColor text = C.Colours[scButtonText];
    b.HasNormalColour2 = !Str(s, "NormalColour2").empty();
    b.HasMouseOverColour2 = !Str(s, "MouseOverColour2").empty();
    b.HasPressedColour2 = !Str(s, "PressedColour2").empty();
    b.NormalColour2 = Colour(s, "NormalColour2", text);
    b.MouseOverColour2 = Colour(s, "MouseOverColour2", text);
    b.PressedColour2 = Colour(s, "PressedColour2", text);
  }

  // Step: the title-bar text settings.
  void ReadTitle() {
    const std::string_view p = "Personality";
    TDataSkinTitle& t = C.Title;
    LoadImage(Str(p, "TextBack"), t.Image);
    t.Margins =
        RECT{Int(p, "TextShift", 0), Int(p, "TextShiftVert", 0), Int(p, "TextRightClip", 0), 0};
    t.TextAlignment = Int(p, "TextAlignment", 0);
    t.TextBackground = Int(p, "Textbackground", 0);
    t.FontHeight = Int("Fonts", "FontHeight", 14);
    t.TextBackLeft = Int(p, "TXTBackleft", 0);
    t.TextBackRight = Int(p, "TXTBackRight", 0);
    auto rgb = [&](const char* prefix) -> TColor {
      const std::string k = prefix;
      const int r = Int(p, k + "R", -1), g = Int(p, k + "G", -1), b = Int(p, k + "B", -1);
      if (r < 0 || g < 0 || b < 0) return clNone;
      return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
    };
    t.ActiveTextColour = rgb("ActiveText");
    t.InactiveTextColour = rgb("InActiveText");
  }

  // Step: every other element, in description order of the skin format.
  void ReadElements() {
    ReadBitmapElement("Progress", C.Progress);
    ReadElement("Progress.Chunk", C.ProgressChunk);
    ReadMenuBar("Personality", C.MenuBar);
    ReadElement("GroupBoxEdge", C.GroupBoxEdge);
    ReadBoxLabel("GroupBox", C.GroupBox);
    ReadElement2("Tabs", "Border", C.Tabs);
    ReadElement("StatusBarEdges", C.StatusBarEdges);
    ReadElement("Tab.Pane", C.TabPane);
    if (C.TabPane) {
      RECT& m = C.TabPane->Margins;
      m.left = std::min<LONG>(m.left, 4);
      m.top = std::min<LONG>(m.top, 4);
      m.right = std::min<LONG>(m.right, 4);
      m.bottom = std::min<LONG>(m.bottom, 4);
    }
    ReadElement("ToolBars", C.ToolBars);
    ReadElement2("ComboButton", "****", C.ComboButton);
    ReadElement("SunkEdge", C.SunkEdge);
    if (C.ComboButton && !C.ComboButton->Image.Empty()) {
      TBitmap mirrored(C.ComboButton->Image);
      mirrored.SetPixelFormat(pf24bit);
      ImgUtil::MirrorBitmap(mirrored);
      C.ComboButton->Image2 = std::move(mirrored);
    }
    ReadElement("ExtraImages", C.ExtraImages);
    ReadElement("Headerbar", C.Headerbar);
    ReadElement("MenuItem", C.MenuItem);
    ReadElement("MenuBackground", C.MenuBackground);
    ReadElement("Scrollbar", C.Scrollbar);
    ReadElement("HorzScroll", C.HorzScroll);
    ReadElement("VertScroll", C.VertScroll);
    ReadElement("HorzScrollThumb", C.HorzScrollThumb);
    ReadElement("VertScrollThumb", C.VertScrollThumb);
    ReadElement("Trackbar.ThumbHorz", C.TrackbarThumbHorz);
    ReadElement("Trackbar.ThumbVert", C.TrackbarThumbVert);
    ReadElement("Trackbar.ThumbLeft", C.TrackbarThumbLeft);
    ReadElement("Trackbar.ThumbRight", C.TrackbarThumbRight);
    ReadElement("Trackbar.ThumbUp", C.TrackbarThumbUp);
    ReadElement("Trackbar.ThumbDown", C.TrackbarThumbDown);
    ReadElement2("UpDown.Horz", "GlyphImage", C.UpDownHorz);
    ReadElement2("UpDown.Vert", "GlyphImage", C.UpDownVert);
    ReadElement("Track", C.Track);
    ReadElement("TRACKVERT", C.TrackVert);
    if (!C.Track) ReadResourceElement("TRACK", C.Track);
    if (!C.TrackVert) ReadResourceElement("TRACKVERT", C.TrackVert);
  }

  // Step: the state counts the skinners rely on, whatever the description gave.
  void FixFrameCounts() {
    auto set = [](TDataSkinObject* e, int count) {
      if (e) e->FrameCount = count;
    };
    set(&C.Buttons, 5);
    set(&C.Title, 2);
    if (C.Progress) C.Progress->FrameCount = C.Progress->Style != 0 ? 1 : 2;
    set(C.MenuBar.get(), 2);
    set(C.GroupBoxEdge.get(), 2);
    for (TDataSkinObject* e : {C.ToolBars.get(), static_cast<TDataSkinObject*>(C.Tabs.get()),
                               C.ExtraImages.get(), C.MenuItem.get()})
      set(e, 5);
    for (TDataSkinObject* e :
         {C.TabPane.get(), static_cast<TDataSkinObject*>(C.GroupBox.get()), C.MenuBackground.get()})
      set(e, 1);
    set(C.StatusBarEdges.get(), 3);
    for (TDataSkinObject* e : {static_cast<TDataSkinObject*>(C.ComboButton.get()), C.SunkEdge.get(),
                               C.HorzScroll.get(), C.VertScroll.get()})
      set(e, 4);
    if (C.Headerbar && C.Headerbar->FrameCount == 0) C.Headerbar->FrameCount = 5;
    set(C.Scrollbar.get(), 23);
    set(C.UpDownHorz.get(), 8);
    set(C.UpDownVert.get(), 8);
    for (TDataSkinObject* e :
         {C.TrackbarThumbHorz.get(), C.TrackbarThumbVert.get(), C.TrackbarThumbLeft.get(),
          C.TrackbarThumbRight.get(), C.TrackbarThumbUp.get(), C.TrackbarThumbDown.get()})
      set(e, 5);
    if (C.HorzScrollThumb) C.HorzScrollThumb->FrameCount = Int("HorzScrollThumb", "FrameCount", 3);
    if (C.VertScrollThumb) C.VertScrollThumb->FrameCount = Int("VertScrollThumb", "FrameCount", 3);

    // Check and radio cells: 13 pixels wide in images under 16 pixels high, else 16.
    auto cells = [](const TBitmap& image, int given) {
      if (given > 0) return given;
      const int n = image.Width() / (image.Height() < 16 ? 13 : 16);
      return n < 4 ? 4 : n;
    };
    C.Buttons.RadioFrameCount = cells(C.Buttons.RadioImage, C.Buttons.RadioFrameCount);
    C.Buttons.CheckFrameCount = cells(C.Buttons.CheckImage, C.Buttons.CheckFrameCount);
  }

  // Step: the edit frame with the combo button built in. Each state of "SunkEdge" becomes a
  // 50 x 21 cell: the sunk edge over the whole cell, the combo button (with the arrow glyph of
  // "ExtraImages") at its right, the inside left transparent. "ComboButton" takes the strip
  // (drop-down at the right), "SunkEdge" its mirror image (drop-down at the left).
  void BuildCombinedEditFrame() {
    if (!C.SunkEdge || !C.ComboButton) return;
    constexpr int kCell = 50, kHeight = 21;
    const int n = std::max(C.SunkEdge->FrameCount, 1);
    const int w = GetSystemMetrics(SM_CXHSCROLL) + 2;

    TBitmap strip(n * kCell, kHeight, pf24bit);
    FillSolid(strip.CanvasHandle(), RECT{0, 0, n * kCell, kHeight}, kMagenta);
    TBitmap work(kCell, kHeight, pf24bit);
    HDC wdc = work.CanvasHandle();
    for (int b = 1; b <= n; ++b) {
      FillSolid(wdc, RECT{0, 0, kCell, kHeight}, kMagenta);
      PaintElementCell(wdc, RECT{0, 0, kCell, kHeight}, *C.SunkEdge, b - 1, C.SunkEdge->Trans != 0);
      const RECT button{kCell - w, 0, kCell, kHeight};
      PaintElementCell(wdc, button, *C.ComboButton, b - 1, C.ComboButton->Trans != 0);
      if (C.ExtraImages && !C.ExtraImages->Image.Empty())
        PaintCellCentred(wdc, button, *C.ExtraImages, b - 1);
      FillSolid(wdc, RECT{2, 2, kCell - 1 - w, kHeight - 3}, kMagenta);
      BitBlt(strip.CanvasHandle(), (b - 1) * kCell, 0, kCell, kHeight, wdc, 0, 0, SRCCOPY);
    }
    strip.ReleaseCanvas();

    C.ComboButton->Style = 2;
    C.ComboButton->Margins = C.SunkEdge->Margins;
    C.ComboButton->Margins.right = w + 2;
    C.ComboButton->Margins.left = 2;
    C.ComboButton->Image = strip;
    ImgUtil::MirrorBitmap(strip);
    C.SunkEdge->Image = std::move(strip);
    C.SunkEdge->Margins.left = w + 2;
    C.SunkEdge->Margins.right = 2;
  }

  // Step: "ComboxArrow", the drop-down button cells on their own.
  void BuildComboArrow() {
    C.ComboxArrow = std::make_unique<TDataSkinObject>("ComboxArrow");
    TDataSkinObject& arrow = *C.ComboxArrow;
    if (!C.SunkEdge) {
      if (!C.ComboButton) return;
      arrow.Image = C.ComboButton->Image;
      // The colour table may hold a system colour: the image needs its RGB value.
      ImgUtil::ReplaceMagenta(arrow.Image, ImgUtil::ColorToRGB(C.Colours[scButtonFace]));
      arrow.FrameCount = C.ComboButton->FrameCount;
    } else if (C.ComboButton && C.ComboButton->Style == 2) {
      constexpr int kSize = 17;
      const int n = std::max(C.SunkEdge->FrameCount, 1);
      TBitmap& source = C.ComboButton->Image;
      const int p = source.Width() / n;
      arrow.Image = TBitmap(n * kSize, kSize, pf24bit);
      HDC dc = arrow.Image.CanvasHandle();
      FillSolid(dc, RECT{0, 0, n * kSize, kSize}, kMagenta);
      for (int i = 0; i < n; ++i)
        CopyClipped(source, RECT{p * (i + 1) - 19, 2, p * (i + 1) - 2, 19}, dc, kSize * i, 0);
      arrow.Image.ReleaseCanvas();
      arrow.FrameCount = n;
    }
  }

  // Steps: the "Toolbar" gradient from the reference colour, the reference colour itself and
  // the ButtonFace brush.
  void BuildToolbar() {
    const TColor face = C.Colours[scButtonFace];
    TColor reference = ImgUtil::ColorToRGB(face);
    if (!C.Top.Image.Empty()) {
      const int count = std::max(C.Top.FrameCount, 1);
      const COLORREF pixel =
          PixelAt(C.Top.Image, C.Top.Image.Width() / 3, (C.Top.Image.Height() / count) / 3);
      if (pixel != CLR_INVALID) reference = static_cast<TColor>(pixel);
    }
    TColor bottom = ImgUtil::MixColors(0x808080, reference, 150);
    const int saturation = ImgUtil::ColorSaturation(reference);
    if (saturation > 110)
      bottom = ImgUtil::MixColors(reference, clWhite, (5625 - saturation * 25) / 140 + 50);

    C.Toolbar = std::make_unique<TDataSkinObject>("Toolbar");
    C.Toolbar->Image = TBitmap(10, 40, pf24bit);
    ImgUtil::FillGradient(C.Toolbar->Image, RECT{0, 0, 10, 40},
                          ImgUtil::MixColors(face, clWhite, 150), true, bottom);
    C.Toolbar->FrameCount = 1;

    C.Colours[scReference] = reference;
    C.FButtonFaceBrush.Reset(CreateSolidBrush(static_cast<COLORREF>(ImgUtil::ColorToRGB(face))));
  }

  // Every element has at least one state, and no image margin is negative (the title's
  // "margins" are text offsets and stay as given).
  void Normalize() {
    for (TDataSkinObject* e : C.Elements()) {
      if (e->FrameCount < 1) e->FrameCount = 1;
      if (e == &C.Title) continue;
      RECT& m = e->Margins;
      m.left = std::max<LONG>(m.left, 0);
      m.top = std::max<LONG>(m.top, 0);
      m.right = std::max<LONG>(m.right, 0);
      m.bottom = std::max<LONG>(m.bottom, 0);
    }
    for (auto& b : C.CaptionButtons)
      if (b->FrameCount < 1) b->FrameCount = 1;
  }

  TSkinContent& C;
  const TQuickIni& FIni;
  const TSkinReader* FArchive;
  HINSTANCE FResources;
};

// ---------------------------------------------------------------------------------------------
// TSkinContent

TSkinContent::TSkinContent() = default;
TSkinContent::~TSkinContent() = default;

void TSkinContent::ReadDescription(const TQuickIni& ini, const TSkinReader* archive,
                                   HINSTANCE resources) {
  TSkinContent fresh;
  TSkinContentBuilder(fresh, ini, archive, resources).Run();
  TakeOver(fresh);
}

bool LoadSkinContent(std::span<const std::uint8_t> storedSkin, TSkinContent& content,
                     HINSTANCE resources) {
  TSkinReader reader;
  return LoadSkinContent(storedSkin, content, reader, resources);
}

bool LoadSkinContent(std::span<const std::uint8_t> storedSkin, TSkinContent& content,
                     TSkinReader& reader, HINSTANCE resources) {
  if (!reader.OpenArchive(storedSkin)) return false;
  const int description = reader.FindEntryLike(".ini");
  const std::span<const std::uint8_t> text =
      description < 0 ? std::span<const std::uint8_t>() : reader.EntryData(description);
  TQuickIni ini;
  ini.LoadFromStream(text.data(), text.size());
  content.ReadDescription(ini, &reader, resources);
  return true;
}
