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
    FHandle.Reset(CreatePopupMenu());
    const HMENU menu = FHandle.Get();
    for (TMenuItem* i : FItems) {
      if (!i->FVisible) continue;
      UINT flags = i->MenuFlags();
      if (!i->FItems.empty())
        AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(i->Handle()),
                    i->FCaption.c_str());
      else
        AppendMenuA(menu, flags, i->FCommand, i->FCaption.c_str());
      if (i->FDefault) SetMenuDefaultItem(menu, i->FCommand, FALSE);
    }
  }
  return FHandle.Get();
}

void TMenuItem::RebuildHandle() {
  DestroyHandle();
  if (FParent) FParent->RebuildHandle();
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
}

void TMenuItem::SetEnabled(bool v) {
  FEnabled = v;
  if (FParent && FParent->FHandle)
    EnableMenuItem(FParent->FHandle.Get(), FCommand, MF_BYCOMMAND | (v ? MF_ENABLED : MF_GRAYED));
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

const TClassInfo& TMenu::StaticClassInfo() {
  static const TClassInfo info{"TMenu", &TComponent::StaticClassInfo(), nullptr, {}};
  return info;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), FItems(std::make_unique<TMenuItem>(nullptr)) {}

TMenu::~TMenu() {
  ComponentState |= csDestroying;
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
        if (TMenuItem* item = TMenuItem::FindByCommand(TWMCommand(m).ItemId)) item->Click();
        return;
      }
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
