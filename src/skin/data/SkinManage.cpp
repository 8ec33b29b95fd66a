#include "SkinManage.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSkinPopMenu.h"

#include "ExtCtrls.h"
#include "Forms.h"

#include <algorithm>

namespace {

TSkinManage* gManager = nullptr;

std::string WindowClassName(HWND wnd) {
  char buf[256] = {};
  if (wnd) GetClassNameA(wnd, buf, sizeof buf);
  return buf;
}

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// Only the windows of this thread can be hooked (and asked without waiting).
bool OwnThreadWindow(HWND wnd) {
  return wnd && IsWindow(wnd) && GetWindowThreadProcessId(wnd, nullptr) == GetCurrentThreadId();
}

bool Has(unsigned bits, int member) {
  return (bits & SkinBit(member)) != 0;
}

// The skin units' end: the manager goes with every skinner and its hook.
struct TManagerFinalizer {
  ~TManagerFinalizer() { TSkinManage::DestroyManager(); }
};

} // namespace

struct TSkinManage::TState {
  THookHandle Hook; // removed on destruction
  DWORD Version = 0;
  std::unique_ptr<TTimer> Timer;
  int Pending = 0;
  TSkinData* Current = nullptr;
  TSkinData* Default = nullptr;
  std::vector<TSkinData*> DataList;
  bool Active = false;
  bool ForcedPass = false;
  int ActivationState = asNone; // a TActivationState
  std::vector<TWinSkinForm*> Skinners;
  std::vector<TWinSkinPopMenu*> Popups;
  bool MdiMaximized = false;
  HWND MdiClient = nullptr;
  TCustomForm* MdiForm = nullptr;
};

// ---------------------------------------------------------------------------------------------
// The process's manager

TSkinManage* TSkinManage::Manager() {
  return gManager;
}

TSkinManage* TSkinManage::CreateManager() {
  // Made after the toolkit's window-object atom, so that it goes before it at program end.
  ControlAtom();
  static TManagerFinalizer finalizer;
  if (!gManager) gManager = new TSkinManage;
  return gManager;
}

void TSkinManage::DestroyManager() {
  if (!gManager) return;
  delete gManager; // the hook passes everything on while the manager is being destroyed
  gManager = nullptr;
}

TSkinManage::TSkinManage() : FState(std::make_unique<TState>()) {
  FState->Timer = std::make_unique<TTimer>(nullptr);
  FState->Timer->SetEnabled(false);
  FState->Timer->SetInterval(100);
  FState->Timer->OnTimer = [this](TObject*) { RunRequest(); };
}

TSkinManage::~TSkinManage() {
  TState& s = *FState;
  s.ActivationState = asDestroying;
  s.Active = false;
  s.Timer.reset();
  s.Pending = 0;
  s.Current = s.Default = nullptr;
  std::vector<TWinSkinForm*> skinners;
  skinners.swap(s.Skinners);
  for (TWinSkinForm* skinner : skinners) {
    skinner->Release();
    TSkinWndHook::Dispose(skinner);
  }
  std::vector<TWinSkinPopMenu*> popups;
  popups.swap(s.Popups);
  for (TWinSkinPopMenu* popup : popups) {
    popup->Detach();
    TSkinWndHook::Dispose(popup);
  }
  s.DataList.clear();
  s.MdiClient = nullptr;
  s.MdiForm = nullptr;
  s.Hook.Reset();
}

// ---------------------------------------------------------------------------------------------
// The hook

void TSkinManage::InstallHook() {
  if (FState->Hook) return;
  FState->Version = GetVersion();
  FState->Hook.Reset(
      SetWindowsHookExA(WH_CBT, &TSkinManage::CbtHook, nullptr, GetCurrentThreadId()));
}

bool TSkinManage::HookInstalled() const {
  return static_cast<bool>(FState->Hook);
}

DWORD TSkinManage::SystemVersion() const {
  return FState->Version;
}

LRESULT CALLBACK TSkinManage::CbtHook(int code, WPARAM wparam, LPARAM lparam) {
  TSkinManage* self = gManager;
  HHOOK hook = self ? self->FState->Hook.Get() : nullptr;
  if (!self || self->FState->ActivationState == asDestroying || code < 0)
    return CallNextHookEx(hook, code, wparam, lparam);
  try {
    auto wnd = reinterpret_cast<HWND>(wparam);
    switch (code) {
    case HCBT_CREATEWND: {
      const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lparam)->lpcs;
      LONG style = cs ? cs->style : static_cast<LONG>(GetWindowLongPtrA(wnd, GWL_STYLE));
      DWORD exStyle = cs ? cs->dwExStyle : static_cast<DWORD>(GetWindowLongPtrA(wnd, GWL_EXSTYLE));
      HWND parent = cs ? cs->hwndParent : GetParent(wnd);
      std::string cls = WindowClassName(wnd);
      if (Lower(cls) == "scrollbar" && (style & SBS_SIZEGRIP))
        if (TWinSkinForm* skinner = self->FindSkinner(parent)) skinner->SizeGripCreated(wnd);
      if (!(style & WS_CHILD) && cls == "#32768") self->SkinPopupMenu(wnd);
      if (exStyle & WS_EX_MDICHILD) self->SkinWindow(wnd);
      break;
    }
    case HCBT_DESTROYWND:
      self->UnskinPopupMenu(wnd);
      break;
    case HCBT_ACTIVATE:
      if (self->FState->ActivationState == asNone) self->FState->ActivationState = asActivated;
      self->SkinWindow(wnd);
      break;
    }
  } catch (...) {
    ReportCurrentException();
  }
  // The manager may have gone during the call; the handle was read before.
  return CallNextHookEx(hook, code, wparam, lparam);
}

// ---------------------------------------------------------------------------------------------
// Skin data components

void TSkinManage::RegisterSkinData(TSkinData* data) {
  if (!data) return;
  auto& list = FState->DataList;
  if (std::find(list.begin(), list.end(), data) != list.end()) return;
  list.push_back(data);
  if (!FState->Default && data->SkinFormtype() == sfMainform) FState->Default = data;
}

void TSkinManage::UnregisterSkinData(TSkinData* data) {
  if (!data) return;
  TState& s = *FState;
  auto& list = s.DataList;
  list.erase(std::remove(list.begin(), list.end(), data), list.end());
  if (s.Default == data) {
    s.Default = nullptr;
    for (TSkinData* other : list)
      if (other->SkinFormtype() == sfMainform) {
        s.Default = other;
        break;
      }
  }
  if (s.Current == data) {
    s.Current = nullptr;
    s.Pending = 0;
    if (s.Timer) s.Timer->SetEnabled(false);
  }
  // Skinners that use the component give their windows back now.
  std::vector<TWinSkinForm*> users;
  for (TWinSkinForm* skinner : s.Skinners)
    if (skinner->SkinData() == data) users.push_back(skinner);
  for (TWinSkinForm* skinner : users)
    FreeSkinner(skinner, true);
  std::vector<TWinSkinPopMenu*> popups;
  for (TWinSkinPopMenu* popup : s.Popups)
    if (popup->SkinData() == data) popups.push_back(popup);
  for (TWinSkinPopMenu* popup : popups) {
    s.Popups.erase(std::remove(s.Popups.begin(), s.Popups.end(), popup), s.Popups.end());
    popup->Detach();
    TSkinWndHook::Dispose(popup);
  }
}

const std::vector<TSkinData*>& TSkinManage::SkinDataList() const {
  return FState->DataList;
}
TSkinData* TSkinManage::DefaultSkinData() const {
  return FState->Default;
}
TSkinData* TSkinManage::CurrentSkinData() const {
  return FState->Current;
}
void TSkinManage::SetCurrentSkinData(TSkinData* data) {
  FState->Current = data;
}

// ---------------------------------------------------------------------------------------------
// Requests

void TSkinManage::Request(int kind, int ms) {
  if (kind != srActivate && kind != srDeactivate && kind != srRefresh) return;
  TState& s = *FState;
  if (s.ActivationState == asDestroying) return;
  if (s.ActivationState == asNone) {
    // Before the first activation the forms are skinned as they are activated: only the flag.
    if (kind == srActivate) s.Active = true;
    if (kind == srDeactivate) s.Active = false;
    return;
  }
  s.Pending = kind;
  s.Timer->SetInterval(std::max(ms, 1)); // restarts a running timer
  s.Timer->SetEnabled(true);
}

int TSkinManage::PendingRequest() const {
  return FState->Pending;
}
bool TSkinManage::Active() const {
  return FState->Active;
}
void TSkinManage::SetActive(bool active) {
  FState->Active = active;
}
int TSkinManage::ActivationState() const {
  return FState->ActivationState;
}
bool TSkinManage::ForcedPass() const {
  return FState->ForcedPass;
}

void TSkinManage::MarkActivatedAtRunTime() {
  if (FState->ActivationState == asNone) FState->ActivationState = asActivated;
}

void TSkinManage::RunRequest() {
  TState& s = *FState;
  s.Timer->SetEnabled(false);
  int kind = s.Pending;
  s.Pending = 0;
  TSkinData* data = s.Current;
  if (!data) return;
  auto uses = [data](TWinSkinForm* skinner) { return skinner->SkinData() == data; };
  if (data->SkinFormtype() == sfOnlyThisForm) {
    switch (kind) {
    case srActivate:
      s.Active = true;
      s.ForcedPass = true;
      if (Application) {
        std::vector<TCustomForm*> forms = Application->Forms();
        for (auto it = forms.rbegin(); it != forms.rend(); ++it)
          if (static_cast<TComponent*>(*it) == data->Owner()) {
            SkinForm(*it);
            break;
          }
      }
      s.ForcedPass = false;
      break;
    case srDeactivate: {
      s.Active = false;
      Purge();
      auto it = std::find_if(s.Skinners.rbegin(), s.Skinners.rend(), uses);
      if (it != s.Skinners.rend()) FreeSkinner(*it, true);
      break;
    }
    case srRefresh: {
      Purge();
      auto it = std::find_if(s.Skinners.begin(), s.Skinners.end(), uses);
      if (it != s.Skinners.end()) {
        (*it)->ReloadSkin();
        (*it)->Redraw();
      }
      break;
    }
    }
  } else {
    switch (kind) {
    case srActivate:
      s.Active = true;
      s.ForcedPass = true;
      Purge();
      if (Application) {
        std::vector<TCustomForm*> forms = Application->Forms();
        for (auto it = forms.rbegin(); it != forms.rend(); ++it)
          SkinForm(*it);
      }
      s.ForcedPass = false;
      break;
    case srDeactivate: {
      s.Active = false;
      Purge();
      std::vector<TWinSkinForm*> all = s.Skinners;
      for (TWinSkinForm* skinner : all)
        FreeSkinner(skinner, true);
      break;
    }
    case srRefresh: {
      Purge();
      std::vector<TWinSkinForm*> users;
      std::copy_if(s.Skinners.begin(), s.Skinners.end(), std::back_inserter(users), uses);
      for (TWinSkinForm* skinner : users)
        skinner->ReloadSkin();
      for (TWinSkinForm* skinner : users)
        skinner->Redraw();
      break;
    }
    }
  }
  // Cleared first: the event may make a new request of its own.
  s.Current = nullptr;
  if (std::find(s.DataList.begin(), s.DataList.end(), data) != s.DataList.end())
    data->SkinChanged();
}

void TSkinManage::ReloadSkinData() {
  TSkinData* data = FState->Current;
  if (!data) return;
  std::vector<TWinSkinForm*> users;
  for (TWinSkinForm* skinner : FState->Skinners)
    if (skinner->SkinData() == data && !skinner->Released()) users.push_back(skinner);
  for (TWinSkinForm* skinner : users)
    skinner->ReloadSkin();
}

// ---------------------------------------------------------------------------------------------
// Form skinners

void TSkinManage::FreeSkinner(TWinSkinForm* skinner, bool unskin) {
  auto& list = FState->Skinners;
  list.erase(std::remove(list.begin(), list.end(), skinner), list.end());
  HWND wnd = skinner->Handle();
  if (unskin && !skinner->Released()) {
    skinner->Unskin();
    if (IsWindow(wnd))
      RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  } else {
    skinner->Release();
  }
  if (FState->MdiForm && skinner->Form() == FState->MdiForm) {
    FState->MdiClient = nullptr;
    FState->MdiForm = nullptr;
  }
  TSkinWndHook::Dispose(skinner);
}

void TSkinManage::Purge() {
  std::vector<TWinSkinForm*> gone;
  for (TWinSkinForm* skinner : FState->Skinners)
    if (skinner->Released()) gone.push_back(skinner);
  for (TWinSkinForm* skinner : gone)
    FreeSkinner(skinner, false);
}

void TSkinManage::SkinnerWindowDestroyed(TWinSkinForm* skinner) {
  auto& list = FState->Skinners;
  if (std::find(list.begin(), list.end(), skinner) == list.end()) return;
  FreeSkinner(skinner, false);
}

bool TSkinManage::WindowQualifies(HWND wnd, TCustomForm* form, const std::string& className) const {
  if (!wnd || !IsWindow(wnd)) return false;
  auto style = static_cast<DWORD>(GetWindowLongPtrA(wnd, GWL_STYLE));
  auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(wnd, GWL_EXSTYLE));
  bool mdiChild = (exStyle & WS_EX_MDICHILD) != 0;
  // Windows inside an MDI client other than its MDI children are left to their frame.
  if (!FState->ForcedPass && (style & WS_CHILD) && !mdiChild &&
      Lower(WindowClassName(GetParent(wnd))) == "mdiclient")
    return false;
  auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(wnd, GWLP_HINSTANCE));
  if (!form && instance != GetModuleHandleA(nullptr) && className != "#32770") return false;
  RECT r{};
  GetWindowRect(wnd, &r);
  if (IsRectEmpty(&r) && !mdiChild) return false;
  if (form && form->Tag == 99) return false;
  if (className.find("TcxPopupEditPopupWindow") != std::string::npos ||
      className.find("TTERenderWindow") != std::string::npos || className == "TApplication")
    return false;
  return true;
}

bool TSkinManage::ClassAllowed(const std::string& className, DWORD style, bool previewAllowed) {
  std::string lower = Lower(className);
  if (!previewAllowed && lower.find("preview") != std::string::npos) return false;
  if (className == "#32770" && (style & 0x200)) return false;
  if (lower == "tpopupdbtreeview") return false;
  return true;
}

bool TSkinManage::SkinDecision(HWND wnd, const std::string& className) const {
  TSkinData* def = FState->Default;
  bool previewAllowed = !def || Has(def->Options(), xoPreview);
  auto style = static_cast<DWORD>(GetWindowLongPtrA(wnd, GWL_STYLE));
  bool doSkin = ClassAllowed(className, style, previewAllowed);
  if (def) def->ShouldSkinForm(wnd, className, doSkin);
  return doSkin;
}

bool TSkinManage::SkinWindow(HWND wnd) {
  TState& s = *FState;
  if (!s.Active || s.ActivationState == asDestroying || !OwnThreadWindow(wnd)) return false;
  Purge();
  if (SendMessageA(wnd, SKM_QUERY, 0, 0) == 1 || FindSkinner(wnd)) return false;
  TCustomForm* form = FindForm(wnd);
  std::string cls = WindowClassName(wnd);
  if (!WindowQualifies(wnd, form, cls)) return false;
  if (!SkinDecision(wnd, cls)) return false;
  // The decision may have run code of the program's own: look again.
  if (!IsWindow(wnd) || !s.Active || FindSkinner(wnd)) return false;
  TSkinData* data = ChooseSkinData(wnd);
  if (!data || !data->SkinLoaded()) return false;
  auto* skinner = new TWinSkinForm(wnd, cls);
  bool attached = form ? skinner->AttachForm(data, form) : skinner->AttachWindow(data);
  if (!attached) {
    TSkinWndHook::Dispose(skinner);
    return false;
  }
  s.Skinners.push_back(skinner);
  PostMessageA(wnd, SKM_FINISH, 0, 1000);
  return true;
}

bool TSkinManage::SkinForm(TCustomForm* form) {
  if (!form || !form->HandleAllocated()) return false;
  HWND wnd = form->WindowHandle();
  if (!IsWindowVisible(wnd) || (GetWindowLongPtrA(wnd, GWL_STYLE) & WS_CHILD)) return false;
  return SkinWindow(wnd);
}

TWinSkinForm* TSkinManage::FindSkinner(HWND wnd) const {
  if (!wnd) return nullptr;
  for (TWinSkinForm* skinner : FState->Skinners)
    if (skinner->Handle() == wnd && !skinner->Released()) return skinner;
  return nullptr;
}

void TSkinManage::RemoveSkinner(HWND wnd) {
  if (FState->ActivationState == asDestroying || !wnd) return;
  auto& list = FState->Skinners;
  auto it = std::find_if(list.begin(), list.end(),
                         [wnd](TWinSkinForm* skinner) { return skinner->Handle() == wnd; });
  if (it != list.end()) list.erase(it);
}

void TSkinManage::RemoveSkinner(TWinSkinForm* skinner) {
  if (FState->ActivationState == asDestroying) return;
  auto& list = FState->Skinners;
  list.erase(std::remove(list.begin(), list.end(), skinner), list.end());
}

const std::vector<TWinSkinForm*>& TSkinManage::Skinners() const {
  return FState->Skinners;
}

TCustomForm* TSkinManage::FindForm(HWND wnd) const {
  if (!wnd) return nullptr;
  if (Application)
    for (TCustomForm* form : Application->Forms())
      if (form->WindowHandle() == wnd) return form;
  return FindWindowObject<TCustomForm>(wnd);
}

TSkinData* TSkinManage::ChooseSkinData(HWND wnd) const {
  const auto& list = FState->DataList;
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    if ((*it)->SkinFormtype() != sfOnlyThisForm) continue;
    auto* owner = dynamic_cast<TWinControl*>((*it)->Owner());
    if (owner && owner->WindowHandle() && owner->WindowHandle() == wnd) return *it;
  }
  std::string cls = Lower(WindowClassName(wnd));
  if (cls == "tmessageform" || cls == "#32770")
    for (auto it = list.rbegin(); it != list.rend(); ++it)
      if ((*it)->SkinFormtype() == sfDialog) return *it;
  for (auto it = list.rbegin(); it != list.rend(); ++it)
    if ((*it)->SkinFormtype() == sfMainform) return *it;
  return list.empty() ? nullptr : list.front();
}

// ---------------------------------------------------------------------------------------------
// Popup menus

void TSkinManage::PurgePopups() {
  auto& popups = FState->Popups;
  std::vector<TWinSkinPopMenu*> gone;
  for (TWinSkinPopMenu* popup : popups)
    if (!popup->WindowHooked() || !IsWindow(popup->Handle())) gone.push_back(popup);
  for (TWinSkinPopMenu* popup : gone) {
    popups.erase(std::remove(popups.begin(), popups.end(), popup), popups.end());
    popup->Detach();
    TSkinWndHook::Dispose(popup);
  }
}

void TSkinManage::SkinPopupMenu(HWND wnd) {
  TState& s = *FState;
  if (!s.Active || s.ActivationState == asDestroying || !OwnThreadWindow(wnd)) return;
  PurgePopups();
  if (FindPopupSkinner(wnd) || SendMessageA(wnd, SKM_QUERY, 0, 0) == 1) return;
  TSkinData* data = ChooseSkinData(wnd);
  if (!data || !data->SkinLoaded()) return;
  unsigned controls = data->SkinControls();
  bool allowed = PopupKind == mkMenuBarDropDown
                     ? Has(controls, xcMainMenu) || Has(controls, xcMenuItem)
                 : PopupKind == mkSystemMenu ? Has(controls, xcSystemMenu)
                                             : Has(controls, xcPopupMenu);
  if (!allowed) return;
  auto* popup = new TWinSkinPopMenu;
  if (!popup->Attach(wnd, data, nullptr)) {
    TSkinWndHook::Dispose(popup);
    return;
  }
  s.Popups.push_back(popup);
}

void TSkinManage::UnskinPopupMenu(HWND wnd) {
  auto& popups = FState->Popups;
  auto it = std::find_if(popups.begin(), popups.end(),
                         [wnd](TWinSkinPopMenu* popup) { return popup->Handle() == wnd; });
  if (it != popups.end()) {
    TWinSkinPopMenu* popup = *it;
    popups.erase(it);
    popup->Detach();
    TSkinWndHook::Dispose(popup);
    if (popups.empty()) PopupKind = mkPopupMenu;
  }
}

const std::vector<TWinSkinPopMenu*>& TSkinManage::PopupSkinners() const {
  return FState->Popups;
}

TWinSkinPopMenu* TSkinManage::FindPopupSkinner(HWND wnd) const {
  for (TWinSkinPopMenu* popup : FState->Popups)
    if (popup->Handle() == wnd) return popup;
  return nullptr;
}

void TSkinManage::AssignMenu(HMENU menu) {
  if (!menu) return;
  auto& popups = FState->Popups;
  for (TWinSkinPopMenu* popup : popups)
    if (popup->MenuHandle() == menu) return; // already shown by a window of its own
  for (auto it = popups.rbegin(); it != popups.rend(); ++it)
    if (!(*it)->MenuHandle()) {
      (*it)->SetMenuHandle(menu);
      return;
    }
}

TBitmap* TSkinManage::BackgroundOf(HMENU menu) const {
  if (!menu) return nullptr;
  for (TWinSkinPopMenu* popup : FState->Popups)
    if (popup->MenuHandle() == menu) return &popup->Background;
  return nullptr;
}

// ---------------------------------------------------------------------------------------------
// MDI

void TSkinManage::SetMdiClient(HWND client, TCustomForm* form) {
  FState->MdiClient = client;
  FState->MdiForm = client ? form : nullptr;
}

HWND TSkinManage::MdiClient() const {
  return FState->MdiClient;
}
TCustomForm* TSkinManage::MdiForm() const {
  return FState->MdiForm;
}
bool TSkinManage::MdiMaximized() const {
  return FState->MdiMaximized;
}

void TSkinManage::SetMdiMaximized(bool maximized) {
  if (FState->MdiMaximized == maximized) return;
  FState->MdiMaximized = maximized;
  TSkinData* def = FState->Default;
  if (def && Has(def->Options(), xoMDIChildBorder)) return;
  std::vector<TWinSkinForm*> children;
  for (TWinSkinForm* skinner : FState->Skinners)
    if (!skinner->Released() && skinner->IsMdiChild()) children.push_back(skinner);
  for (TWinSkinForm* skinner : children)
    skinner->MdiStateChanged(maximized);
  // The frame shows the maximized child's buttons in its menu bar, or stops showing them.
  if (FState->MdiClient && IsWindow(FState->MdiClient))
    PostMessageA(FState->MdiClient, SKM_REDRAWFRAME, 0, 0);
}
