#include "SkinMenuPaint.h"
#include "SkinDraw.h"
#include "SkinManage.h"
#include "WinSkinData.h"
#include "WinSkinPopMenu.h"

#include "Forms.h"
#include "Graphics.h"
#include "Menus.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

namespace {

// The system's check-mark bitmap (OBM_CHECK).
constexpr int kCheckBitmapId = 32760;
// The frame the system gives a menu window around its items.
constexpr int kMenuFrame = 3;

// Loaded at the first checked item and released at program end.
HBITMAP CheckBitmap() {
  static const TBitmapHandle check(
      LoadBitmapA(nullptr, MAKEINTRESOURCEA(static_cast<ULONG_PTR>(kCheckBitmapId))));
  return check.Get();
}

COLORREF SkinColour(const TSkinData& data, int index) {
  return ColorToRGB(data.Colours[static_cast<std::size_t>(index)]);
}

TDataSkinObject* MenuItemElement(const TSkinData* data) {
  if (!data || !data->SkinLoaded() || !data->MenuItem || data->MenuItem->Image.Empty())
    return nullptr;
  return data->MenuItem.get();
}

int LeftMargin(const TSkinData* data) {
  const TDataSkinObject* e = data && data->MenuItem ? data->MenuItem.get() : nullptr;
  return e ? std::max<int>(0, e->Margins.left) : 0;
}

// The system menu font, selected into dc while the object lives; bold on request.
class TMenuFont {
public:
  TMenuFont(HDC dc, bool bold) : FDC(dc) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return;
    if (bold) metrics.lfMenuFont.lfWeight = FW_BOLD;
    FFont.Reset(CreateFontIndirectA(&metrics.lfMenuFont));
    if (FFont) FOld = SelectObject(dc, FFont.Get());
  }
  ~TMenuFont() {
    if (FOld) SelectObject(FDC, FOld);
  }
  TMenuFont(const TMenuFont&) = delete;
  TMenuFont& operator=(const TMenuFont&) = delete;

private:
  HDC FDC;
  TFontHandle FFont;
  HGDIOBJ FOld = nullptr;
};

// The popup skinner showing menu: one that already knows it, else the first that learns it
// from its window.
TWinSkinPopMenu* PopupShowing(HMENU menu) {
  TSkinManage* manager = TSkinManage::Manager();
  if (!manager || !menu) return nullptr;
  for (TWinSkinPopMenu* popup : manager->PopupSkinners())
    if (popup->MenuHandle() == menu) return popup;
  for (TWinSkinPopMenu* popup : manager->PopupSkinners())
    if (!popup->MenuHandle() && popup->ResolveMenuHandle() == menu) return popup;
  // Windows that cannot tell their menu get it in creation order.
  manager->AssignMenu(menu);
  for (TWinSkinPopMenu* popup : manager->PopupSkinners())
    if (popup->MenuHandle() == menu) return popup;
  return nullptr;
}

// Fills the scratch image with the part of the menu window's background behind rect, or with
// the Menu colour when the window has none (yet).
void FillItemBackground(const TSkinData& data, HMENU menu, const RECT& rect, TBitmap& b) {
  HDC dc = b.CanvasHandle();
  const RECT all{0, 0, b.Width(), b.Height()};
  TWinSkinPopMenu* popup = PopupShowing(menu);
  if (popup && popup->EnsureBackground() && !popup->Background.Empty()) {
    const POINT offset = MenuClientOffset(popup->Handle());
    BitBlt(dc, 0, 0, b.Width(), b.Height(), popup->Background.CanvasHandle(), rect.left + offset.x,
           rect.top + offset.y, SRCCOPY);
    return;
  }
  TBrushHandle brush(CreateSolidBrush(SkinColour(data, scMenu)));
  FillRect(dc, &all, brush.Get());
}

// The check mark bitmap drawn transparent (its white left as it is) in the button-text colour,
// centred horizontally in box and vertically in item.
void DrawCheckMark(HDC dc, const RECT& box, const RECT& item) {
  HBITMAP check = CheckBitmap();
  BITMAP info{};
  if (!check || !GetObjectA(check, sizeof(info), &info)) return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ oldBitmap = SelectObject(source, check);
  const int x = box.left + (box.right - box.left - info.bmWidth) / 2 + 1;
  const int y = item.top + (item.bottom - item.top - info.bmHeight) / 2 + 1;
  const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
  const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
  HBRUSH ink = GetSysColorBrush(COLOR_BTNTEXT);
  HGDIOBJ oldBrush = SelectObject(dc, ink);
  // Where the mask is white the target stays, where it is black the brush colour goes.
  constexpr DWORD kPaintThroughMask = 0x00B8074A;
  BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source, 0, 0, kPaintThroughMask);
  SelectObject(dc, oldBrush);
  SetBkColor(dc, oldBack);
  SetTextColor(dc, oldText);
  SelectObject(source, oldBitmap);
  DeleteDC(source);
}

// The glyph box, glyph or check mark, caption and shortcut of a non-separator item; a
// separator gets an etched line. rect is in dc's coordinates.
void DrawItemContent(const TSkinData& data, const TMenuItem& item, TMenu* barMenu, HDC dc,
                     const RECT& rect, bool selected, bool withElement) {
  if (item.Caption() == "-") {
    RECT line = rect;
    OffsetRect(&line, 0, 4);
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  const TMenu* menu = item.Menu() ? item.Menu() : barMenu;
  HIMAGELIST images = menu ? menu->Images : nullptr;
  int glyph = 16;
  if (images) {
    int cx = 0, cy = 0;
    if (ImageList_GetIconSize(images, &cx, &cy)) glyph = cx;
  }
  if (item.Checked()) glyph = std::max(glyph, 16);
  const int left = rect.left + 1 + (withElement ? LeftMargin(&data) : 0);
  const RECT box{left, rect.top + 1, left + glyph, rect.top + 1 + glyph};
  const int index = item.ImageIndex();
  if (images && index >= 0 && index < ImageList_GetImageCount(images)) {
    if (item.Checked()) {
      // The pushed look: a 50 % pattern of button face and highlight in a sunken edge.
      const WORD bits[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
      TBitmapHandle pattern(CreateBitmap(8, 8, 1, 1, bits));
      TBrushHandle brush(CreatePatternBrush(pattern.Get()));
      const COLORREF oldText = SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
      const COLORREF oldBack = SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
      FillRect(dc, &box, brush.Get());
      SetBkColor(dc, oldBack);
      SetTextColor(dc, oldText);
      RECT edge = box;
      DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
    }
    if (item.Enabled()) {
      ImageList_Draw(images, index, dc, box.left, box.top, ILD_TRANSPARENT);
    } else if (HICON icon = ImageList_GetIcon(images, index, ILD_TRANSPARENT)) {
      DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, box.left, box.top, 0, 0,
                 DST_ICON | DSS_DISABLED);
      DestroyIcon(icon);
    }
  } else if (item.Checked()) {
    DrawCheckMark(dc, box, rect);
  }

  TMenuFont font(dc, item.Default());
  std::wstring caption = AnsiToWide(item.Caption());
  RECT text{box.right + 3, rect.top, rect.right - 1, rect.bottom};
  RECT measure = text;
  const std::wstring measured = caption.empty() || caption == L"&" ? caption + L" " : caption;
  DrawWideText(dc, measured, measure, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP);
  const int textHeight = measure.bottom - measure.top;
  text.top = rect.top + (rect.bottom - rect.top - textHeight) / 2;
  text.bottom = text.top + textHeight;
  COLORREF colour = SkinColour(data, selected ? scHilightText : scMenuText);
  if (!item.Enabled()) {
    colour = SkinColour(data, scButtonShadow);
    if (colour == SkinColour(data, scMenuText)) colour = GetSysColor(COLOR_BTNSHADOW);
  }
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = SetTextColor(dc, colour);
  DrawWideText(dc, caption, text, DT_LEFT | DT_SINGLELINE | DT_EXPANDTABS);
  if (const std::string shortcut = ShortCutToText(item.ShortCut()); !shortcut.empty()) {
    RECT keys{measure.right, text.top, rect.right - 11, text.bottom};
    DrawWideText(dc, AnsiToWide(shortcut), keys, DT_RIGHT | DT_SINGLELINE);
  }
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

// The separator of the element: the bottom of cell 2 (as high as the item), its margins
// unscaled and its middle stretched, drawn with magenta transparent.
void DrawSeparatorImage(HDC dc, const RECT& rect, TDataSkinObject& element) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  const RECT cell = SkinCellRect(element.Image, false, 5, 2);
  const int cellW = cell.right - cell.left, cellH = cell.bottom - cell.top;
  if (w <= 0 || h <= 0 || cellW <= 0 || cellH <= 0) return;
  TBitmap image(w, h);
  HDC target = image.CanvasHandle();
  TBrushHandle key(CreateSolidBrush(RGB(255, 0, 255)));
  const RECT all{0, 0, w, h};
  FillRect(target, &all, key.Get());
  const int partH = std::min(cellH, h);
  const int top = cell.bottom - partH;
  int ml = std::max<int>(0, element.Margins.left), mr = std::max<int>(0, element.Margins.right);
  if (ml + mr >= cellW || ml + mr >= w) ml = mr = 0;
  HDC source = element.Image.CanvasHandle();
  SetStretchBltMode(target, COLORONCOLOR);
  if (ml) BitBlt(target, 0, 0, ml, partH, source, cell.left, top, SRCCOPY);
  if (mr) BitBlt(target, w - mr, 0, mr, partH, source, cell.right - mr, top, SRCCOPY);
  StretchBlt(target, ml, 0, w - ml - mr, partH, source, cell.left + ml, top, cellW - ml - mr, partH,
             SRCCOPY);
  DrawTransparent(dc, rect, image);
}

// Draws the item through a scratch image of the rectangle's size: the background of menu's
// window, the element's cell and the content; separators of widget items take the element's
// separator image instead of a cell.
void PaintItem(TSkinData& data, HMENU menu, const TMenuItem& item, TMenu* barMenu, HDC dc,
               const RECT& rect, bool selected, bool rawSeparator) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  TDataSkinObject* element = MenuItemElement(&data);
  TBitmap b(w, h);
  HDC bdc = b.CanvasHandle();
  const RECT local{0, 0, w, h};
  if (!element) {
    TBrushHandle brush(CreateSolidBrush(SkinColour(data, selected ? scHilight : scMenu)));
    FillRect(bdc, &local, brush.Get());
    DrawItemContent(data, item, barMenu, bdc, local, selected, false);
    BitBlt(dc, rect.left, rect.top, w, h, bdc, 0, 0, SRCCOPY);
    return;
  }
  FillItemBackground(data, menu, rect, b);
  if (item.Caption() != "-" || rawSeparator) {
    DrawSkinRect(bdc, local, element->Image, false, element->Tile != 0, element->Trans != 0, 5,
                 selected ? 4 : 1, element->Margins);
    DrawItemContent(data, item, barMenu, bdc, local, selected, true);
    BitBlt(dc, rect.left, rect.top, w, h, bdc, 0, 0, SRCCOPY);
    return;
  }
  BitBlt(dc, rect.left, rect.top, w, h, bdc, 0, 0, SRCCOPY);
  DrawSeparatorImage(dc, rect, *element);
}

void SetItemHandlers(TSkinData* data, TMenuItem* item, bool main) {
  item->OnDrawItem = [data](TMenuItem* i, HDC dc, const RECT& r, UINT state) {
    DrawMenuItem(data, i, dc, r, (state & ODS_SELECTED) != 0);
  };
  if (main)
    item->OnMeasureItem = [data](TMenuItem* i, HDC dc, int& w, int& h) {
      MeasureMainItem(data, i, dc, w, h);
    };
  else
    item->OnMeasureItem = [data](TMenuItem* i, HDC dc, int& w, int& h) {
      MeasurePopupItem(data, i, dc, w, h);
    };
}

void PopupItems(TSkinData* data, TMenuItem* parent, bool on) {
  for (TMenuItem* item : parent->Items()) {
    if (on) {
      const bool ownMeasure = static_cast<bool>(item->OnMeasureItem);
      auto measure = item->OnMeasureItem;
      SetItemHandlers(data, item, false);
      if (ownMeasure) item->OnMeasureItem = measure;
    } else {
      item->OnDrawItem = nullptr;
      item->OnMeasureItem = nullptr;
    }
    PopupItems(data, item, on);
  }
}

void MainItems(TSkinData* data, TMenuItem* parent, int depth, bool on) {
  for (TMenuItem* item : parent->Items()) {
    if (!on) {
      item->OnDrawItem = nullptr;
      item->OnMeasureItem = nullptr;
    } else if (depth >= 2 && !item->OnDrawItem) {
      SetItemHandlers(data, item, true);
    }
    MainItems(data, item, depth + 1, on);
  }
}

} // namespace

POINT MenuClientOffset(HWND wnd) {
  RECT window{};
  POINT client{0, 0};
  if (!wnd || !GetWindowRect(wnd, &window) || !ClientToScreen(wnd, &client))
    return {kMenuFrame, kMenuFrame};
  return {client.x - window.left, client.y - window.top};
}

void DrawMenuItem(TSkinData* data, TMenuItem* item, HDC dc, const RECT& rect, bool selected,
                  TMenu* barMenu) {
  if (!data || !item || !dc) return;
  HMENU menu = item->Parent() ? item->Parent()->Handle() : nullptr;
  PaintItem(*data, menu, *item, barMenu, dc, rect, selected, false);
}

void MeasurePopupItem(TSkinData* data, TMenuItem* item, HDC dc, int& width, int& height) {
  if (!item) return;
  item->DefaultMeasureItem(dc, width, height);
  if (data && data->MenuItem) width += LeftMargin(data);
  width += 12;
  const TMenu* menu = item->Menu();
  if (!menu || !menu->Images) width += 23;
}

void MeasureMainItem(TSkinData* data, TMenuItem* item, HDC dc, int& width, int& height) {
  if (!item) return;
  item->DefaultMeasureItem(dc, width, height);
  if (data && data->MenuItem) width += LeftMargin(data);
  width += 10;
  const TMenu* menu = item->Menu();
  if (!menu || !menu->Images) width += 25;
}

std::unique_ptr<TMenuItem> MakeRawMenuItem(HMENU menu, UINT command) {
  if (!menu || !IsMenu(menu)) return nullptr;
  const UINT state = GetMenuState(menu, command, MF_BYCOMMAND);
  if (state == UINT(-1)) return nullptr;
  char text[81] = {};
  GetMenuStringA(menu, command, text, 80, MF_BYCOMMAND);
  auto item = std::make_unique<TMenuItem>(nullptr);
  item->SetCaption(text[0] ? text : "-");
  item->SetEnabled((state & (MF_GRAYED | MF_DISABLED)) == 0);
  item->SetChecked((state & MF_CHECKED) != 0);
  return item;
}

void DrawRawItem(TSkinData* data, HMENU menu, const TMenuItem& item, bool selected,
                 const RECT& rect, HDC dc) {
  if (!data || !dc) return;
  PaintItem(*data, menu, item, nullptr, dc, rect, selected, true);
}

void MeasureRawItem(TSkinData* data, HMENU menu, UINT command, HDC dc, int& width, int& height) {
  char text[81] = {};
  if (menu && IsMenu(menu)) GetMenuStringA(menu, command, text, 80, MF_BYCOMMAND);
  if (!text[0]) {
    width = 26 + (data && data->MenuItem ? LeftMargin(data) : 0);
    height = 8;
    return;
  }
  HDC screen = dc ? nullptr : GetDC(nullptr);
  HDC use = dc ? dc : screen;
  SIZE size{};
  {
    TMenuFont font(use, false);
    const std::wstring wide = AnsiToWide(text);
    RECT r{0, 0, 0, 0};
    DrawWideText(use, wide, r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    size = {r.right - r.left, r.bottom - r.top};
  }
  if (screen) ReleaseDC(nullptr, screen);
  width = size.cx + 26 + (data && data->MenuItem ? LeftMargin(data) : 0);
  height = size.cy + 4;
  if (!SkinUser32().IsNT) height += 4;
}

void OwnerDrawPopups(TSkinData* data, TComponent* owner, bool on) {
  if (!owner || (on && !data)) return;
  if (std::string(owner->ClassName()) == "TwwRichEditForm") return;
  for (TComponent* c : owner->Components()) {
    if (auto* popup = dynamic_cast<TPopupMenu*>(c)) {
      if (data && popup->Tag == data->DisableTag()) continue;
      popup->SetOwnerDraw(on);
      PopupItems(data, popup->Items(), on);
    } else if (dynamic_cast<TWinControl*>(c) && !c->Components().empty()) {
      // Forms and frames the owner holds bring their own popup menus.
      OwnerDrawPopups(data, c, on);
    }
  }
}

void OwnerDrawMainMenus(TSkinData* data, TMenu* menu, bool on) {
  if (!menu || (on && !data)) return;
  menu->SetOwnerDraw(on);
  MainItems(data, menu->Items(), 1, on);
}

void OwnerDrawItems(TSkinData* data, TMenuItem* item, bool on) {
  if (!item || (on && !data)) return;
  if (on) {
    SetItemHandlers(data, item, true);
  } else {
    item->OnDrawItem = nullptr;
  }
  for (TMenuItem* sub : item->Items())
    OwnerDrawItems(data, sub, on);
}

void OwnerDrawRawMenu(HMENU menu, bool on) {
  SetMenuOwnerDrawFlags(menu, on);
}

bool DispatchMenuOwnItem(TMenu* menu, UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  if (!menu || wparam != 0 || !lparam) return false;
  UINT command = 0;
  if (msg == WM_MEASUREITEM) {
    const auto* mis = reinterpret_cast<const MEASUREITEMSTRUCT*>(lparam);
    if (mis->CtlType != ODT_MENU) return false;
    command = mis->itemID;
  } else if (msg == WM_DRAWITEM) {
    const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
    if (dis->CtlType != ODT_MENU) return false;
    command = dis->itemID;
  } else {
    return false;
  }
  const TMenuItem* item = TMenuItem::FindByCommand(command);
  if (!item || item->Menu() != menu) return false;
  TMessage m{msg, wparam, lparam, 0};
  if (!DispatchMenuItemMessage(m)) return false;
  result = m.Result;
  return true;
}
