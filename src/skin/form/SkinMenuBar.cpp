// The skinned menu bar: the window's menu items as non-client objects in the form's menu-bar
// band, painted from the skin's menu bar image, and the tracking of their drop-downs (a
// message-filter hook lets the arrow keys and the mouse move between the bar's items while a
// drop-down is open).
#include "SkinManage.h"
#include "SkinMenuPaint.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

#include "Forms.h"
#include "Menus.h"

#include <algorithm>

namespace {

// One menu bar tracks its drop-downs at a time (the thread's message-filter hook).
struct TTrackState {
  HHOOK Hook = nullptr;
  TWinSkinForm* Form = nullptr;
  int Current = -1;         // index of the bar item whose drop-down is open
  HMENU Selected = nullptr; // the menu of the selected entry, when it opens a sub-menu
  bool SelectedIsPopup = false;
  bool Entered = false;
  bool Switching = false; // the open drop-down is being closed for another bar item
  int PendingTarget = -1; // the bar item whose drop-down opens once the current one closed
};

TTrackState& Track() {
  static TTrackState state;
  return state;
}

std::wstring MenuText(HMENU menu, UINT position) {
  wchar_t text[81] = {};
  GetMenuStringW(menu, position, text, 80, MF_BYPOSITION);
  return text;
}

// The character after the first single "&" of a caption, upper-cased; 0 without one.
wchar_t Accelerator(const std::wstring& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] == L'&') {
      ++i;
      continue;
    }
    return static_cast<wchar_t>(
        reinterpret_cast<UINT_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(UINT_PTR(caption[i + 1])))));
  }
  return 0;
}

TMenuItem* ItemWithHandle(TMenuItem* parent, HMENU handle) {
  if (!parent) return nullptr;
  for (TMenuItem* item : parent->Items()) {
    if (!item->Items().empty() && item->Handle() == handle) return item;
    if (TMenuItem* inner = ItemWithHandle(item, handle)) return inner;
  }
  return nullptr;
}

COLORREF Rgb(TColor c) {
  return ColorToRGB(c);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Items

const TClassInfo& TMenuBtn::StaticClassInfo() {
  static const TClassInfo info{"TMenuBtn", &TNCObject::StaticClassInfo(), nullptr, {}};
  return info;
}

void TMenuBtn::Paint() {
  TWinSkinMenu* bar = Form->SkinMenu();
  HWND wnd = Form->Handle();
  if (!bar || !Visible || !IsWindow(wnd)) return;
  const RECT band = bar->BarRect();
  const int w = BoundsRect.right - BoundsRect.left, h = band.bottom - band.top;
  if (w <= 0 || h <= 0) return;
  TBitmap piece(w, h, pf24bit);
  HDC dc = piece.CanvasHandle();
  if (!dc) return;
  // The item's column of the bar as it was painted, without highlight.
  TBitmap& image = const_cast<TBitmap&>(bar->BarImage());
  if (HDC src = image.Empty() ? nullptr : image.CanvasHandle())
    BitBlt(dc, 0, 0, w, h, src, BoundsRect.left - band.left, 0, SRCCOPY);
  RECT item{0, BoundsRect.top - band.top, w, BoundsRect.bottom - band.top};
  TSkinData& data = *Form->SkinData();
  if (State == 2 || State == 3) {
    TBrushHandle frame(CreateSolidBrush(Rgb(data.Colours[scButtonHilight])));
    FrameRect(dc, &item, frame.Get());
  }
  TSelectObject font(dc, bar->MenuFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ItemEnabled ? Rgb(data.Colours[scMenuBarText]) : GetSysColor(COLOR_BTNSHADOW));
  std::wstring text = Caption;
  DrawTextW(dc, text.c_str(), int(text.size()), &item,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
  TWindowDC window(wnd);
  BitBlt(window.DC(), BoundsRect.left, band.top, w, h, dc, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------------------------
// The bar

TWinSkinMenu::TWinSkinMenu(TWinSkinForm* form, TSkinData* data) : FForm(form), FSkinData(data) {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    FFont.Reset(CreateFontIndirectA(&metrics.lfMenuFont));
}

TWinSkinMenu::~TWinSkinMenu() {
  if (FForm->HotObject && dynamic_cast<TMenuBtn*>(FForm->HotObject)) FForm->HotObject = nullptr;
  FButtons.clear();
}

void TWinSkinMenu::BuildItems(TMenu* menu) {
  HWND wnd = FForm->Handle();
  if (HMENU current = GetMenu(wnd)) FMenuHandle = current;
  if (!FMenuHandle) return;
  FMenu = menu;
  if (FForm->HotObject && dynamic_cast<TMenuBtn*>(FForm->HotObject)) FForm->HotObject = nullptr;
  FButtons.clear();
  const int count = GetMenuItemCount(FMenuHandle);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
    if (!GetMenuItemInfoW(FMenuHandle, UINT(i), TRUE, &info)) continue;
    auto button = std::make_unique<TMenuBtn>(FForm);
    button->Index = i;
    button->SubMenu = info.hSubMenu;
    button->ItemEnabled = !(info.fState & (MFS_GRAYED | MFS_DISABLED));
    button->Visible = true;
    button->Command = info.hSubMenu ? 0 : info.wID;
    button->Caption = MenuText(FMenuHandle, UINT(i));
    if (menu) {
      TMenuItem* item = info.hSubMenu ? ItemWithHandle(menu->Items(), info.hSubMenu)
                                      : TMenuItem::FindByCommand(info.wID);
      if (item) {
        button->MenuItem = item;
        button->Caption = AnsiToWide(item->Caption());
        button->ItemEnabled = item->Enabled();
        button->Command = item->Items().empty() ? item->Command() : 0;
        button->SubMenu = item->Items().empty() ? nullptr : item->Handle();
      }
    }
    FButtons.push_back(std::move(button));
  }
  SetMenu(wnd, nullptr);
}

void TWinSkinMenu::RestoreMenu() {
  HWND wnd = FForm->Handle();
  if (FMenuHandle && IsWindow(wnd) && IsMenu(FMenuHandle)) SetMenu(wnd, FMenuHandle);
}

int TWinSkinMenu::StartOffset(int bandWidth) const {
  int a = 6;
  if (const TDataSkinObject* e = FSkinData->MenuBar.get())
    a = FForm->RightToLeft() ? e->Margins.right + 8 : e->Margins.left + 4;
  if (bandWidth < a) a = 12;
  return a;
}

void TWinSkinMenu::Layout() {
  const int w = FForm->FWindowWidth;
  const RECT band{FForm->BorderLeft(), FForm->TitleHeight(), w - FForm->BorderRight(),
                  FForm->TitleHeight() + FForm->MenuBarHeight()};
  if (band.right <= band.left || band.bottom <= band.top) return;
  FBarRect = band;
  HWND wnd = FForm->Handle();
  TWindowDC window(wnd);
  HDC dc = window.DC();
  TSelectObject font(dc, FFont.Get());
  int x = FForm->RightToLeft() ? band.right - StartOffset(band.right - band.left)
                               : band.left + StartOffset(band.right - band.left);
  for (const auto& b : FButtons) {
    if (!b->Visible) {
      b->BoundsRect = {};
      continue;
    }
    int width = 0;
    if (!b->Caption.empty()) {
      RECT r{0, 0, 0, 0};
      DrawTextW(dc, b->Caption.c_str(), int(b->Caption.size()), &r,
                DT_SINGLELINE | DT_CALCRECT | DT_NOCLIP);
      width = r.right - r.left + 10;
    }
    if (FForm->RightToLeft()) {
      b->BoundsRect = {x - width, band.top, x, band.bottom - 1};
      x -= width;
    } else {
      b->BoundsRect = {x, band.top, x + width, band.bottom - 1};
      x += width;
    }
  }
}

void TWinSkinMenu::PaintBar(HDC dc, const RECT& band) {
  const int w = band.right - band.left, h = band.bottom - band.top;
  if (w <= 0 || h <= 0) return;
  TBitmap* scratch = SkinScratchBitmap();
  if (!scratch) return;
  if (scratch->Width() != w || scratch->Height() != h) scratch->SetSize(w, h);
  HDC sdc = scratch->CanvasHandle();
  if (!sdc) return;
  SetStretchBltMode(sdc, COLORONCOLOR);
  const RECT local{0, 0, w, h};
  if (const TDataSkinObject* e = FSkinData->MenuBar.get(); e && !e->Image.Empty()) {
    const int cell = FForm->Active() ? 1 : 2;
    if (e->Tile == 1)
      DrawSkinRect(sdc, local, e->Image, true, false, false, 2, cell, e->Margins);
    else
      DrawSkinBar(sdc, local, e->Image, true, false, 2, cell, e->Margins);
  } else {
    TBrushHandle brush(CreateSolidBrush(Rgb(FSkinData->Colours[scMenubar])));
    FillRect(sdc, &local, brush.Get());
  }
  FBarRect = band;
  FBarImage = *scratch;
  Layout();
  TSelectObject font(sdc, FFont.Get());
  SetBkMode(sdc, TRANSPARENT);
  for (const auto& b : FButtons) {
    if (!b->Visible || b->Caption.empty()) continue;
    RECT r = b->BoundsRect;
    OffsetRect(&r, -band.left, -band.top);
    SetTextColor(sdc, b->ItemEnabled ? Rgb(FSkinData->Colours[scMenuBarText])
                                     : GetSysColor(COLOR_BTNSHADOW));
    DrawTextW(sdc, b->Caption.c_str(), int(b->Caption.size()), &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
  }
  // An MDI frame whose active child is maximized shows the child's buttons in its bar.
  const auto& captionButtons = FForm->CaptionButtons();
  for (size_t i = 0; i < captionButtons.size(); ++i) {
    TWinSysButton& b = *captionButtons[i];
    if (b.SkinButton->Visibility != 100 || b.SkinButton->Image.Empty()) continue;
    if (!FForm->ButtonVisible(int(i))) continue;
    RECT r = b.BoundsRect;
    OffsetRect(&r, -band.left, -band.top);
    DrawSkinCell(sdc, r, b.SkinButton->Image, true, b.Frames(), 1);
  }
  BitBlt(dc, band.left, band.top, w, h, sdc, 0, 0, SRCCOPY);
}

TMenuBtn* TWinSkinMenu::ItemAt(POINT p) const {
  for (const auto& b : FButtons)
    if (b->Visible && !b->Caption.empty() && PtInRect(&b->BoundsRect, p)) return b.get();
  return nullptr;
}

TMenuBtn* TWinSkinMenu::ItemByAccel(wchar_t ch) const {
  const wchar_t wanted = static_cast<wchar_t>(
      reinterpret_cast<UINT_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(UINT_PTR(ch)))));
  for (const auto& b : FButtons)
    if (b->Visible && b->ItemEnabled && Accelerator(b->Caption) == wanted) return b.get();
  return nullptr;
}

void TWinSkinMenu::PressItem(TMenuBtn* item) {
  if (!item) return;
  const RECT& wr = FForm->WindowRect();
  PostMessageA(FForm->Handle(), WM_NCLBUTTONDOWN, HTMENU,
               MAKELPARAM(wr.left + item->BoundsRect.left + 1, wr.top + item->BoundsRect.top + 1));
}

// ---------------------------------------------------------------------------------------------
// Drop-downs

LRESULT CALLBACK MenuBarFilter(int code, WPARAM wparam, LPARAM lparam) {
  TTrackState& t = Track();
  LRESULT next = CallNextHookEx(t.Hook, code, wparam, lparam);
  if (next || code != MSGF_MENU || !t.Form || !t.Form->SkinMenu()) return next;
  auto* msg = reinterpret_cast<MSG*>(lparam);
  TWinSkinForm& form = *t.Form;
  TWinSkinMenu& bar = *form.SkinMenu();
  if (!t.Entered) {
    t.Entered = true;
    PostMessageA(msg->hwnd, WM_KEYDOWN, VK_DOWN, 0);
  }
  const auto& buttons = bar.Buttons();
  const int count = static_cast<int>(buttons.size());
  // The neighbouring bar item that has a drop-down to show, wrapping around the bar.
  auto step = [&](int from, int by) -> TMenuBtn* {
    for (int k = 1; k < count; ++k) {
      const TMenuBtn* b = buttons[size_t(((from + by * k) % count + count) % count)].get();
      if (b->Visible && !b->Caption.empty() && b->ItemEnabled && b->SubMenu)
        return const_cast<TMenuBtn*>(b);
    }
    return nullptr;
  };
  TMenuBtn* target = nullptr;
  switch (msg->message) {
  case WM_KEYDOWN: {
    UINT key = UINT(msg->wParam);
    if (form.RightToLeft() && (key == VK_LEFT || key == VK_RIGHT))
      key = key == VK_LEFT ? VK_RIGHT : VK_LEFT;
    if (key == VK_RETURN || key == VK_ESCAPE) t.Switching = false;
    // Left leaves a drop-down's top level only; Right leaves from an entry without a sub-menu.
    if (key == VK_LEFT && count > 0 && (!t.Selected || t.Selected == form.FTrackedMenu))
      target = step(t.Current, -1);
    if (key == VK_RIGHT && !t.SelectedIsPopup && count > 0) target = step(t.Current, 1);
    break;
  }
  case WM_SYSKEYDOWN:
    if (msg->wParam == VK_MENU) form.FMenuTracking = false;
    break;
  case WM_MOUSEMOVE: {
    // The message's own point is on the screen, whichever window has the capture.
    target = bar.ItemAt(form.WindowPoint(msg->pt));
    break;
  }
  }
  // One switch per target: the open drop-down is closed once, however often the pointer moves,
  // and the target's opens when it has gone.
  if (target && target->Index != t.Current && target->Index != t.PendingTarget &&
      target->ItemEnabled && target->SubMenu) {
    t.Switching = true;
    t.PendingTarget = target->Index;
    EndMenu();
    return 1;
  }
  return next;
}

bool TWinSkinMenu::OpenItem(TMenuBtn* item) {
  TTrackState& t = Track();
  t.Switching = false;
  if (!item) return false;
  HWND wnd = FForm->Handle();
  // A command item runs its command; a drop-down or disabled item posts nothing.
  if (!item->SubMenu) {
    if (item->ItemEnabled && item->Command) PostMessageA(wnd, WM_COMMAND, item->Command, 0);
    return false;
  }
  if (TSkinManage* m = TSkinManage::Manager()) m->PopupKind = mkMenuBarDropDown;
  if (!t.Hook)
    t.Hook = SetWindowsHookExA(WH_MSGFILTER, MenuBarFilter, nullptr, GetCurrentThreadId());
  t.Form = FForm;
  FForm->FMenuTracking = true;
  for (TMenuBtn* current = item; current && IsWindow(wnd);) {
    t.Current = current->Index;
    t.Entered = false;
    t.Selected = nullptr;
    t.SelectedIsPopup = false;
    t.PendingTarget = -1;
    GetWindowRect(wnd, &FForm->FWindowRect);
    const RECT& wr = FForm->FWindowRect;
    const POINT at{
        wr.left + (FForm->RightToLeft() ? current->BoundsRect.right : current->BoundsRect.left),
        wr.top + current->BoundsRect.bottom};
    FForm->FTrackedMenu = current->SubMenu;
    if (current->ItemEnabled) {
      // The drop-down's items are drawn from the skin while it is open, and given back plain
      // when it has closed (a toolkit menu that draws its own items keeps its flags).
      const bool ownFlags = !(FMenu && FMenu->OwnerDraw);
      if (ownFlags) OwnerDrawRawMenu(current->SubMenu, true);
      // The window gets the menu's notices and its command, as from a menu bar of its own.
      const UINT flags = TPM_RIGHTBUTTON | (FForm->RightToLeft() ? TPM_RIGHTALIGN : TPM_LEFTALIGN);
      TrackPopupMenu(current->SubMenu, flags, at.x, at.y, 0, wnd, nullptr);
      if (ownFlags && IsMenu(current->SubMenu)) OwnerDrawRawMenu(current->SubMenu, false);
    }
    TMenuBtn* next = nullptr;
    if (t.PendingTarget >= 0 && size_t(t.PendingTarget) < FButtons.size() && FForm->SkinMenu())
      next = FButtons[size_t(t.PendingTarget)].get();
    if (next) {
      // The press moves from this item to the next.
      if (FForm->HotObject == current) FForm->HotObject = nullptr;
      current->State = 1;
      current->Paint();
      next->MouseDown();
    }
    current = next;
  }
  if (t.Hook) UnhookWindowsHookEx(t.Hook);
  t.Hook = nullptr;
  t.Current = -1;
  t.PendingTarget = -1;
  t.Entered = false;
  t.Selected = nullptr;
  t.Switching = false;
  FForm->FMenuTracking = false;
  return true;
}

// The menu-select notices of the open drop-down: which entry is selected, and the close.
void TrackMenuSelect(TWinSkinForm& form, WPARAM wparam, LPARAM lparam) {
  TTrackState& t = Track();
  if (t.Form != &form) return;
  if (HIWORD(wparam) == 0xFFFF && lparam == 0) { // the menu closed
    if (!t.Switching) form.FMenuTracking = false;
    return;
  }
  t.Switching = false;
  t.SelectedIsPopup = (HIWORD(wparam) & MF_POPUP) != 0;
  t.Selected = reinterpret_cast<HMENU>(lparam);
}

// ---------------------------------------------------------------------------------------------
// Items of the bar's drop-downs

bool TWinSkinMenu::MeasureItem(MEASUREITEMSTRUCT& mis) {
  if (mis.CtlType != ODT_MENU) return false;
  HWND wnd = FForm->Handle();
  TWindowDC window(wnd);
  TSelectObject font(window.DC(), FFont.Get());
  int width = int(mis.itemWidth), height = int(mis.itemHeight);
  if (TMenuItem* item = FMenu ? TMenuItem::FindByCommand(mis.itemID) : nullptr;
      item && item->Menu() == FMenu) {
    MeasureMainItem(FSkinData, item, window.DC(), width, height);
  } else if (FMenu && mis.itemID >= 1 && mis.itemID <= 4095) {
    return false; // a command of the program's own that the bar's menu does not hold
  } else {
    MeasureRawItem(FSkinData, FForm->FTrackedMenu, mis.itemID, window.DC(), width, height);
  }
  mis.itemWidth = UINT(std::max(width, 0));
  mis.itemHeight = UINT(std::max(height, 0));
  return true;
}

bool TWinSkinMenu::DrawItem(const DRAWITEMSTRUCT& dis) {
  if (dis.CtlType != ODT_MENU) return false;
  const bool selected = (dis.itemState & ODS_SELECTED) != 0;
  auto menu = reinterpret_cast<HMENU>(dis.hwndItem);
  if (TMenuItem* item = FMenu ? TMenuItem::FindByCommand(dis.itemID) : nullptr;
      item && item->Menu() == FMenu) {
    DrawMenuItem(FSkinData, item, dis.hDC, dis.rcItem, selected, FMenu);
    return true;
  }
  if (FMenu && dis.itemID >= 1 && dis.itemID <= 4095) return false;
  std::unique_ptr<TMenuItem> raw = MakeRawMenuItem(menu, dis.itemID);
  if (!raw) return false;
  DrawRawItem(FSkinData, menu, *raw, selected, dis.rcItem, dis.hDC);
  return true;
}
