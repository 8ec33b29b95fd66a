#include "SkinListView.h"

#include "SkinDraw.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

#include "Graphics.h"
#include "Messages.h"

#include <commctrl.h>

#include <algorithm>

namespace {
constexpr int kHeaderTextChars = 201;

int HeaderCells(const TDataSkinObject& e) {
  return e.FrameCount > 0 ? e.FrameCount : 5;
}

bool HasHeaderbar(const TSkinData* data) {
  return data && data->Headerbar && !data->Headerbar->Image.Empty();
}
} // namespace

// ---------------------------------------------------------------------------------------------
// TSkinHeader

const TClassInfo& TSkinHeader::StaticClassInfo() {
  static const TClassInfo info{"TSkinHeader", &TSkinControl::StaticClassInfo(), nullptr, {}};
  return info;
}

void TSkinHeader::AttachControl(TWinSkinForm* form, TSkinData* data, bool recolor) {
  TSkinControl::AttachControl(form, data, recolor);
  HotItem = -1;
}

void TSkinHeader::AttachHandle(HWND wnd, TSkinData* data, TWinSkinForm* form) {
  TSkinControl::AttachHandle(wnd, data, form);
  HotItem = -1;
}

std::wstring TSkinHeader::ItemText(int index) const {
  // The buffer is counted in characters and always ends in a terminator.
  wchar_t text[kHeaderTextChars] = {};
  HDITEMW item{};
  item.mask = HDI_TEXT;
  item.pszText = text;
  item.cchTextMax = kHeaderTextChars;
  if (!SendMessageW(Handle, HDM_GETITEMW, static_cast<WPARAM>(index),
                    reinterpret_cast<LPARAM>(&item)))
    return {};
  const wchar_t* got = item.pszText ? item.pszText : text;
  if (got == text) text[kHeaderTextChars - 1] = L'\0';
  return std::wstring(got, wcsnlen(got, kHeaderTextChars - 1));
}

bool TSkinHeader::BeforeMessage(TMessage& msg) {
  switch (msg.Msg) {
  case WM_PAINT:
    PaintWithBeginPaint(msg);
    msg.Result = 0;
    return false;
  case WM_ERASEBKGND:
    if (!HasHeaderbar(SkinData)) return true;
    msg.Result = 1;
    return false;
  }
  return TSkinControl::BeforeMessage(msg);
}

void TSkinHeader::AfterMessage(TMessage& msg) {
  switch (msg.Msg) {
  case WM_MOUSEMOVE: {
    const POINT p{GET_X_LPARAM_(msg.LParam), GET_Y_LPARAM_(msg.LParam)};
    for (size_t i = 0; i < ItemRects.size(); ++i) {
      if (!PtInRect(&ItemRects[i], p) || static_cast<int>(i) == HotItem) continue;
      HotItem = static_cast<int>(i);
      Redraw();
      break;
    }
    if (auto track = SkinUser32().TrackMouseEvent) {
      TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, Handle, 0};
      track(&t);
    }
    return;
  }
  case WM_MOUSELEAVE:
    HotItem = -1;
    Redraw();
    return;
  case WM_PAINT:
    return; // painted by the skinner alone
  }
  TSkinControl::AfterMessage(msg);
}

void TSkinHeader::DrawSkin(HDC dc, const RECT& rect) {
  if (!HasHeaderbar(SkinData)) return;
  const TDataSkinObject& bar = *SkinData->Headerbar;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  TPaintBuffer buffer(dc, w, h);
  if (!buffer.Ready()) return;
  HDC mem = buffer.DC();
  SetStretchBltMode(mem, COLORONCOLOR);
  buffer.SelectFont(reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0)));
  SetBkMode(mem, TRANSPARENT);
  const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(Handle, HDM_GETIMAGELIST, 0, 0));
  const int count = std::max(0, static_cast<int>(SendMessageW(Handle, HDM_GETITEMCOUNT, 0, 0)));
  ItemRects.assign(static_cast<size_t>(count), RECT{});
  int right = 0;
  for (int i = 0; i < count; ++i) {
    RECT item{};
    if (!SendMessageW(Handle, HDM_GETITEMRECT, static_cast<WPARAM>(i),
                      reinterpret_cast<LPARAM>(&item)))
      continue;
    DrawItem(mem, i, item, images);
    ItemRects[static_cast<size_t>(i)] = RECT{item.left + 3, item.top, item.right - 3, item.bottom};
    right = std::max(right, static_cast<int>(item.right));
  }
  if (right < w) DrawElement(mem, RECT{right, 0, w, h}, HeaderCells(bar), 1, bar);
  BitBlt(dc, rect.left, rect.top, w, h, mem, 0, 0, SRCCOPY);
}

void TSkinHeader::DrawItem(HDC dc, int index, const RECT& item, HIMAGELIST images) {
  const TDataSkinObject& bar = *SkinData->Headerbar;
  const int w = item.right - item.left, h = item.bottom - item.top;
  if (w <= 0 || h <= 0) return;
  wchar_t text[kHeaderTextChars] = {};
  HDITEMW info{};
  info.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
  info.pszText = text;
  info.cchTextMax = kHeaderTextChars;
  SendMessageW(Handle, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&info));
  text[kHeaderTextChars - 1] = L'\0';
  const std::wstring caption =
      info.pszText && info.pszText != text ? std::wstring(info.pszText) : std::wstring(text);

  TPaintBuffer cell(dc, w, h);
  if (!cell.Ready()) return;
  HDC mem = cell.DC();
  SetStretchBltMode(mem, COLORONCOLOR);
  const RECT r{0, 0, w, h};
  FillFace(mem, r);
  DrawElement(mem, r, HeaderCells(bar), index == HotItem ? 2 : 1, bar);
  if (!caption.empty()) {
    cell.SelectFont(static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT)));
    SetBkMode(mem, TRANSPARENT);
    const int align = info.fmt & 0xFF;
    const bool withImage = (info.fmt & (HDF_IMAGE | HDF_OWNERDRAW)) != 0;
    int iconW = 0, iconH = 0;
    if (images && withImage && info.iImage >= 0 && ImageList_GetIconSize(images, &iconW, &iconH) &&
        iconW < w) {
    } else {
      iconW = 0;
    }
    RECT t{0, 0, w, h};
    DrawTextW(mem, caption.c_str(), -1, &t, DT_END_ELLIPSIS | DT_EXPANDTABS | DT_CALCRECT);
    const int tw = t.right - t.left, th = t.bottom - t.top;
    if (iconW) t.right += iconW + 2;
    int x = 3;
    if (align == HDF_CENTER)
      x = (w - tw - iconW) / 2;
    else if (align == HDF_RIGHT)
      x = w - tw - iconW - 2;
    if (x < 2) x = 1;
    if (iconW) ImageList_Draw(images, info.iImage, mem, x, (h - iconW) / 2, ILD_TRANSPARENT);
    RECT box{x + iconW, (h - th) / 2, std::min(x + iconW + tw, w), (h - th) / 2 + th};
    box.right = std::max(box.right, box.left);
    COLORREF colour = GetTextColor(dc);
    if (SkinData->ColourDefined[scWindowText]) colour = ColorToRGB(SkinData->Colours[scWindowText]);
    SetTextColor(mem, colour);
    box.right = std::min(box.right, static_cast<LONG>(w));
    DrawTextW(mem, caption.c_str(), -1, &box, DT_END_ELLIPSIS | DT_EXPANDTABS | DT_SINGLELINE);
  }
  BitBlt(dc, item.left, item.top, w, h, mem, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------------------------
// TSkinListView

const TClassInfo& TSkinListView::StaticClassInfo() {
  static const TClassInfo info{"TSkinListView", &TSkinScrollbar::StaticClassInfo(), nullptr, {}};
  return info;
}

void TSkinListView::AttachControl(TWinSkinForm* form, TSkinData* data, bool recolor) {
  if (Attached) return;
  TSkinScrollbar::AttachControl(form, data, recolor);
  if (!Attached) return;
  HWND header = reinterpret_cast<HWND>(SendMessageW(Handle, LVM_GETHEADER, 0, 0));
  if (!header || !IsWindow(header)) return;
  auto* skinner = new TSkinHeader(Owner());
  skinner->AttachHandle(header, data, form);
  if (!skinner->Attached) {
    delete skinner;
    return;
  }
  Header = skinner;
}
