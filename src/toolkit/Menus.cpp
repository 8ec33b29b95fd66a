#include "Menus.h"
#include "UtilWindows.h"
#include "Forms.h"

#include <algorithm>
#include <map>

namespace {
std::map<UINT, TMenuItem*>& Commands() {
  static std::map<UINT, TMenuItem*> commands;
  return commands;
}
UINT NextCommand() {
  static UINT next = 100;
  auto& c = Commands();
  while (c.count(next) || next == 0)
    next = next >= 0x7FFF ? 100 : next + 1;
  return next++;
}
} // namespace

const TClassInfo& TMenuItem::StaticClassInfo() {
  static const TClassInfo info{
      "TMenuItem",
      &TComponent::StaticClassInfo(),
      [](TComponent* o) -> TComponent* { return new TMenuItem(o); },
      {StrProp("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption),
       BoolProp("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked),
       BoolProp("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled),
       BoolProp("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible),
       BoolProp("Default", &TMenuItem::Default, &TMenuItem::SetDefault),
       IntProp("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex),
       IntProp("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut),
       EventProp("OnClick", &TMenuItem::OnClick)}};
  return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), FCommand(NextCommand()) {
  Commands()[FCommand] = this;
}

TMenuItem::~TMenuItem() {
  ComponentState |= csDestroying;
  Commands().erase(FCommand);
  if (FParent) FParent->Remove(this);
  for (TMenuItem* i : std::vector<TMenuItem*>(FItems))
    i->FParent = nullptr;
  FItems.clear();
  DestroyHandle();
}

void TMenuItem::DestroyHandle() {
  if (!FHandle) return;
  // Sub-menus are owned by their items: detach them so that each is destroyed once, by its own.
  while (GetMenuItemCount(FHandle.Get()) > 0)
    RemoveMenu(FHandle.Get(), 0, MF_BYPOSITION);
  FHandle.Reset();
}

TMenuItem* TMenuItem::FindByCommand(UINT command) {
  auto it = Commands().find(command);
  return it == Commands().end() ? nullptr : it->second;
}

TMenuItem* TMenuItem::FindBySubMenu(HMENU menu) {
  if (!menu) return nullptr;
  for (const auto& [command, item] : Commands())
    if (item->FHandle && item->FHandle.Get() == menu) return item;
  return nullptr;
}

TMenu* TMenuItem::Menu() const {
  const TMenuItem* root = this;
  while (root->FParent)
    root = root->FParent;
  return root->FMenu;
}

void TMenuItem::Add(TMenuItem* item) {
  if (item->FParent) item->FParent->Remove(item);
  item->FParent = this;
  FItems.push_back(item);
  RebuildHandle();
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  if (it == FItems.end()) return;
  FItems.erase(it);
  item->FParent = nullptr;
  RebuildHandle();
}

UINT TMenuItem::MenuFlags() const {
  UINT f = MF_STRING;
  if (FCaption == "-") f = MF_SEPARATOR;
  if (FChecked) f |= MF_CHECKED;
  if (!FEnabled) f |= MF_GRAYED;
  return f;
}

HMENU TMenuItem::Handle() {
  if (!FHandle) {
    FHandle.Reset(FMenuBar ? CreateMenu() : CreatePopupMenu());
    const HMENU menu = FHandle.Get();
    for (TMenuItem* i : FItems) {
      if (!i->FVisible) continue;
      UINT flags = i->MenuFlags();
      if (!i->FItems.empty())
        AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(i->Handle()),
                    i->MenuText().c_str());
      else
        AppendMenuA(menu, flags, i->FCommand, i->MenuText().c_str());
      if (i->FDefault) SetMenuDefaultItem(menu, i->FCommand, FALSE);
    }
    if (const TMenu* owner = Menu(); owner && owner->OwnerDraw) SetMenuOwnerDrawFlags(menu, true);
  }
  return FHandle.Get();
}

void TMenuItem::ApplyOwnerDraw(bool on) {
  if (FHandle) SetMenuOwnerDrawFlags(FHandle.Get(), on);
}

void TMenuItem::RebuildHandle() {
  DestroyHandle();
  if (FParent)
    FParent->RebuildHandle();
  else
    Changed();
}

void TMenuItem::Changed() {
  if (TMenu* menu = Menu()) menu->MenuChanged();
}

std::string TMenuItem::MenuText() const {
  if (!FShortCut || FCaption.find('\t') != std::string::npos) return FCaption;
  return FCaption + "\t" + ShortCutToText(FShortCut);
}

void TMenuItem::SetShortCut(int v) {
  FShortCut = v;
  UpdateInParent();
}

void TMenuItem::UpdateInParent() {
  if (FParent) FParent->RebuildHandle();
}

void TMenuItem::SetCaption(const std::string& v) {
  FCaption = v;
  UpdateInParent();
}

void TMenuItem::SetChecked(bool v) {
  FChecked = v;
  if (FParent && FParent->FHandle)
    CheckMenuItem(FParent->FHandle.Get(), FCommand, MF_BYCOMMAND | (v ? MF_CHECKED : MF_UNCHECKED));
  Changed();
}

void TMenuItem::SetEnabled(bool v) {
  FEnabled = v;
  if (FParent && FParent->FHandle)
    EnableMenuItem(FParent->FHandle.Get(), FCommand, MF_BYCOMMAND | (v ? MF_ENABLED : MF_GRAYED));
  Changed();
}

void TMenuItem::SetVisible(bool v) {
  FVisible = v;
  UpdateInParent();
}

void TMenuItem::SetDefault(bool v) {
  FDefault = v;
  UpdateInParent();
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

// ---------------------------------------------------------------------------------------------
// Owner drawing

namespace {

// The caption without the shortcut text after a tab, and that text.
std::pair<std::string, std::string> SplitCaption(const std::string& caption) {
  const auto tab = caption.find('\t');
  if (tab == std::string::npos) return {caption, {}};
  return {caption.substr(0, tab), caption.substr(tab + 1)};
}

// The system menu font, selected into dc for the object's life.
class TMenuFontScope {
public:
  explicit TMenuFontScope(HDC dc) : FDC(dc) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
      FFont.Reset(CreateFontIndirectA(&metrics.lfMenuFont));
    if (FFont) FOld = SelectObject(dc, FFont.Get());
  }
  ~TMenuFontScope() {
    if (FOld) SelectObject(FDC, FOld);
  }
  TMenuFontScope(const TMenuFontScope&) = delete;
  TMenuFontScope& operator=(const TMenuFontScope&) = delete;

private:
  HDC FDC;
  TFontHandle FFont;
  HGDIOBJ FOld = nullptr;
};

constexpr int kCheckWidth = 16; // room for the check mark left of the caption

} // namespace

void SetMenuOwnerDrawFlags(HMENU menu, bool on) {
  if (!menu || !IsMenu(menu)) return;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
    if (!GetMenuItemInfoA(menu, UINT(i), TRUE, &info)) continue;
    const UINT type = on ? info.fType | MFT_OWNERDRAW : info.fType & ~UINT(MFT_OWNERDRAW);
    if (type != info.fType) {
      // Only the type flags change: the item keeps its text, so that it reads and shows the
      // same once the flag is taken away again.
      MENUITEMINFOA set{};
      set.cbSize = sizeof(set);
      set.fMask = MIIM_FTYPE;
      set.fType = type;
      SetMenuItemInfoA(menu, UINT(i), TRUE, &set);
    }
    if (info.hSubMenu) SetMenuOwnerDrawFlags(info.hSubMenu, on);
  }
}

void TMenuItem::DefaultMeasureItem(HDC dc, int& width, int& height) const {
  if (FCaption == "-") {
    width = 0;
    height = 8;
    return;
  }
  TMenuFontScope font(dc);
  auto [caption, shortcut] = SplitCaption(FCaption);
  if (shortcut.empty()) shortcut = ShortCutToText(FShortCut);
  SIZE size{};
  const std::string measured = caption.empty() ? std::string(" ") : caption;
  GetTextExtentPoint32A(dc, measured.c_str(), int(measured.size()), &size);
  width = kCheckWidth + 4 + size.cx;
  if (!shortcut.empty()) {
    SIZE s{};
    GetTextExtentPoint32A(dc, shortcut.c_str(), int(shortcut.size()), &s);
    width += 16 + s.cx;
  }
  height = std::max<int>(size.cy + 4, GetSystemMetrics(SM_CYMENUCHECK) + 2);
}

void TMenuItem::DefaultDrawItem(HDC dc, const RECT& rect, UINT state) const {
  const bool selected = (state & ODS_SELECTED) != 0;
  const bool disabled = (state & (ODS_DISABLED | ODS_GRAYED)) != 0 || !FEnabled;
  FillRect(dc, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (FCaption == "-") {
    RECT line = rect;
    line.top += (rect.bottom - rect.top) / 2 - 1;
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  TMenuFontScope font(dc);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = SetTextColor(dc, GetSysColor(disabled   ? COLOR_GRAYTEXT
                                                          : selected ? COLOR_HIGHLIGHTTEXT
                                                                     : COLOR_MENUTEXT));
  if (FChecked || (state & ODS_CHECKED)) {
    RECT box{rect.left, rect.top, rect.left + kCheckWidth + 2, rect.bottom};
    // The check mark glyph of the symbol font, in the text colour.
    LOGFONTA lf{};
    lf.lfHeight = -12;
    lf.lfCharSet = SYMBOL_CHARSET;
    lstrcpynA(lf.lfFaceName, "Marlett", LF_FACESIZE);
    TFontHandle marlett(CreateFontIndirectA(&lf));
    HGDIOBJ old = marlett ? SelectObject(dc, marlett.Get()) : nullptr;
    DrawTextA(dc, "a", 1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    if (old) SelectObject(dc, old);
  }
  auto [caption, shortcut] = SplitCaption(FCaption);
  if (shortcut.empty()) shortcut = ShortCutToText(FShortCut);
  RECT text{rect.left + kCheckWidth + 4, rect.top, rect.right - 8, rect.bottom};
  DrawTextA(dc, caption.c_str(), int(caption.size()), &text,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
  if (!shortcut.empty())
    DrawTextA(dc, shortcut.c_str(), int(shortcut.size()), &text,
              DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

bool DispatchMenuItemMessage(TMessage& msg) {
  if (msg.Msg != WM_MEASUREITEM && msg.Msg != WM_DRAWITEM) return false;
  if (msg.Msg == WM_MEASUREITEM) {
    MEASUREITEMSTRUCT* mis = TWMMeasureItem(msg).MeasureItemStruct;
    if (!mis || mis->CtlType != ODT_MENU) return false;
    TMenuItem* item = TMenuItem::FindByCommand(mis->itemID);
    if (!item) item = TMenuItem::FindBySubMenu(reinterpret_cast<HMENU>(UINT_PTR(mis->itemID)));
    if (!item) return false;
    int width = int(mis->itemWidth), height = int(mis->itemHeight);
    HDC dc = GetDC(nullptr);
    if (item->OnMeasureItem)
      item->OnMeasureItem(item, dc, width, height);
    else
      item->DefaultMeasureItem(dc, width, height);
    ReleaseDC(nullptr, dc);
    mis->itemWidth = UINT(std::max(width, 0));
    mis->itemHeight = UINT(std::max(height, 0));
    msg.Result = 1;
    return true;
  }
  DRAWITEMSTRUCT* dis = TWMDrawItem(msg).DrawItemStruct;
  if (!dis || dis->CtlType != ODT_MENU) return false;
  TMenuItem* item = TMenuItem::FindByCommand(dis->itemID);
  if (!item) item = TMenuItem::FindBySubMenu(reinterpret_cast<HMENU>(UINT_PTR(dis->itemID)));
  if (!item) return false;
  if (item->OnDrawItem)
    item->OnDrawItem(item, dis->hDC, dis->rcItem, dis->itemState);
  else
    item->DefaultDrawItem(dis->hDC, dis->rcItem, dis->itemState);
  msg.Result = 1;
  return true;
}

// ---------------------------------------------------------------------------------------------

const TClassInfo& TMenu::StaticClassInfo() {
  static const TClassInfo info{"TMenu", &TComponent::StaticClassInfo(), nullptr, {}};
  return info;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), FItems(std::make_unique<TMenuItem>(nullptr)) {
  FItems->FMenu = this;
}

HMENU TMenu::Handle() {
  HMENU menu = FItems->Handle();
  // OwnerDraw may have been set after the handle was built.
  if (FAppliedOwnerDraw != OwnerDraw) SetMenuOwnerDrawFlags(menu, OwnerDraw);
  FAppliedOwnerDraw = OwnerDraw;
  return menu;
}

void TMenu::SetOwnerDraw(bool on) {
  OwnerDraw = on;
  if (FItems->FHandle) Handle();
}

TMenu::~TMenu() {
  ComponentState |= csDestroying;
  FItems->FMenu = nullptr;
  FItems.reset();
}

const TClassInfo& TPopupMenu::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i{"TPopupMenu",
                 &TMenu::StaticClassInfo(),
                 [](TComponent* o) -> TComponent* { return new TPopupMenu(o); },
                 {}};
    TPropInfo autoPopup;
    autoPopup.Name = "AutoPopup";
    autoPopup.Get = [](const TObject* o) {
      return std::string(static_cast<const TPopupMenu*>(o)->AutoPopup ? "True" : "False");
    };
    autoPopup.Set = [](TObject* o, const std::string& v) {
      static_cast<TPopupMenu*>(o)->AutoPopup = v == "True";
    };
    i.Props.push_back(autoPopup);
    i.Props.push_back(EventProp("OnPopup", &TPopupMenu::OnPopup));
    return i;
  }();
  return info;
}

const TClassInfo& TMainMenu::StaticClassInfo() {
  static const TClassInfo info{"TMainMenu",
                               &TMenu::StaticClassInfo(),
                               [](TComponent* o) -> TComponent* { return new TMainMenu(o); },
                               {}};
  return info;
}

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {
  FItems->FMenuBar = true;
}

TMainMenu::~TMainMenu() {
  ComponentState |= csDestroying;
  SetWindowHandle(nullptr);
}

void TMainMenu::SetWindowHandle(HWND wnd) {
  // The window would destroy the menu with itself: it lets go of it first.
  if (FWindow && IsWindow(FWindow) && FItems && GetMenu(FWindow) == FItems->FHandle.Get())
    ::SetMenu(FWindow, nullptr);
  FWindow = wnd;
  if (FWindow) ::SetMenu(FWindow, Handle());
}

void TMainMenu::MenuChanged() {
  if (!FWindow) return;
  if (Destroying() || (Owner() && Owner()->Destroying()) || !IsWindow(FWindow)) {
    SetWindowHandle(nullptr);
    return;
  }
  ::SetMenu(FWindow, Handle());
  DrawMenuBar(FWindow);
  SendMessageA(FWindow, CM_MENUCHANGED, 0, 0);
}

namespace {
TMenuItem* FindShortCutIn(const TMenuItem* item, int shortCut) {
  for (TMenuItem* i : item->Items()) {
    if (!i->Visible()) continue;
    if (i->ShortCut() == shortCut && i->Count() == 0) return i;
    if (TMenuItem* found = FindShortCutIn(i, shortCut)) return found;
  }
  return nullptr;
}
} // namespace

TMenuItem* TMainMenu::FindShortCut(int shortCut) const {
  return shortCut ? FindShortCutIn(FItems.get(), shortCut) : nullptr;
}

std::string ShortCutToText(int shortCut) {
  const int key = shortCut & 0xFF;
  if (!key) return {};
  std::string text;
  if (shortCut & scCtrl) text += "Ctrl+";
  if (shortCut & scShift) text += "Shift+";
  if (shortCut & scAlt) text += "Alt+";
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return text + char(key);
  if (key >= VK_F1 && key <= VK_F24) return text + "F" + std::to_string(key - VK_F1 + 1);
  switch (key) {
  case VK_DELETE:
    return text + "Del";
  case VK_INSERT:
    return text + "Ins";
  case VK_RETURN:
    return text + "Enter";
  case VK_ESCAPE:
    return text + "Esc";
  case VK_BACK:
    return text + "BkSp";
  case VK_TAB:
    return text + "Tab";
  case VK_SPACE:
    return text + "Space";
  case VK_HOME:
    return text + "Home";
  case VK_END:
    return text + "End";
  case VK_PRIOR:
    return text + "PgUp";
  case VK_NEXT:
    return text + "PgDn";
  case VK_LEFT:
    return text + "Left";
  case VK_RIGHT:
    return text + "Right";
  case VK_UP:
    return text + "Up";
  case VK_DOWN:
    return text + "Down";
  }
  // Any other key by the name the keyboard layout gives it.
  char name[64] = {};
  const UINT scan = MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
  if (scan && GetKeyNameTextA(static_cast<LONG>(scan << 16), name, sizeof name) > 0)
    return text + name;
  return text + "#" + std::to_string(key);
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

HWND TPopupMenu::PopupWindow() {
  // The hidden owner of the process's popup menus: made on first use, freed at exit.
  struct TOwnerWindow {
    HWND Wnd = nullptr;
    ~TOwnerWindow() {
      if (Wnd && IsWindow(Wnd)) DeallocateHWnd(Wnd);
    }
  };
  static TOwnerWindow owner;
  HWND& wnd = owner.Wnd;
  if (!wnd || !IsWindow(wnd)) {
    wnd = AllocateHWnd(nullptr, [](TMessage& m) {
      if (m.Msg == WM_COMMAND && TWMCommand(m).NotifyCode == 0) {
        // A disabled item never runs, whoever sent the command.
        TMenuItem* item = TMenuItem::FindByCommand(TWMCommand(m).ItemId);
        if (item && item->Enabled()) item->Click();
        return;
      }
      if (DispatchMenuItemMessage(m)) return;
      m.Result = DefWindowProcA(TPopupMenu::PopupWindow(), m.Msg, m.WParam, m.LParam);
    });
  }
  return wnd;
}

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  HWND owner = PopupWindow();
  // The owner must be the foreground window, or the menu will not close on a click outside it.
  SetForegroundWindow(owner);
  TrackPopupMenu(Handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr);
  PostMessageA(owner, WM_NULL, 0, 0);
}
