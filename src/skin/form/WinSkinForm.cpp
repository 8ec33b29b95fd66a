#include "WinSkinForm.h"
#include "SkinMenuPaint.h"
#include "SkinManage.h"
#include "WinSkinData.h"
#include "WinSubClass.h"

#include "Forms.h"
#include "Menus.h"

#include <algorithm>

namespace {
// The hover check runs on a timer of the skinned window itself, so that its ticks arrive
// through the window's procedure like every other message.
constexpr UINT_PTR kHoverTimerId = 0x534B;
constexpr UINT kHoverInterval = 250;

DWORD StyleOf(HWND wnd) {
  return static_cast<DWORD>(GetWindowLongPtrA(wnd, GWL_STYLE));
}
DWORD ExStyleOf(HWND wnd) {
  return static_cast<DWORD>(GetWindowLongPtrA(wnd, GWL_EXSTYLE));
}

std::string ClassNameOf(HWND wnd) {
  char buf[256] = {};
  GetClassNameA(wnd, buf, sizeof buf);
  return buf;
}

bool Has(unsigned bits, int member) {
  return (bits & SkinBit(member)) != 0;
}
} // namespace

// The MDI client window of a skinned MDI frame: scroll bars filtered, the MDI-child-maximized
// state kept, frame redraws carried out.
class TMdiClientHook : public TSkinWndHook {
public:
  explicit TMdiClientHook(TWinSkinForm* owner) : FOwner(owner) {}
  bool Hook(HWND client) { return HookWindow(client); }
  void Unhook() { UnhookWindow(); }

protected:
  LRESULT HookMessage(UINT msg, WPARAM wparam, LPARAM lparam) override {
    TWinSkinForm& f = *FOwner;
    TSkinManage* manager = TSkinManage::Manager();
    switch (msg) {
    case WM_NCDESTROY: {
      LRESULT r = CallOldProc(msg, wparam, lparam);
      UnhookWindow();
      return r;
    }
    case WM_NCCALCSIZE:
      if (f.FSkinNC && f.FSkinData && !Has(f.FSkinData->Options(), xoMDIScrollbar)) {
        HWND wnd = HookedWindow();
        SetWindowLongPtrA(wnd, GWL_STYLE, StyleOf(wnd) & ~(WS_HSCROLL | WS_VSCROLL));
      }
      return CallOldProc(msg, wparam, lparam);
    case WM_MDICREATE:
      if (f.FSkinData) f.FSkinData->SetMenuUpdate(false);
      return CallOldProc(msg, wparam, lparam);
    case WM_MDIDESTROY: {
      LRESULT r = CallOldProc(msg, wparam, lparam);
      if (f.FSkinNC && manager) {
        BOOL maximized = FALSE;
        HWND active = reinterpret_cast<HWND>(
            SendMessageA(HookedWindow(), WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
        manager->SetMdiMaximized(active && maximized);
        if (!active && f.FSkinData) f.FSkinData->SetMenuUpdate(f.FMenuUpdate);
      }
      return r;
    }
    case WM_MDITILE:
    case WM_MDICASCADE:
      if (f.FSkinNC && manager) manager->SetMdiMaximized(false);
      return CallOldProc(msg, wparam, lparam);
    case WM_MDISETMENU: {
      LRESULT r = CallOldProc(msg, wparam, lparam);
      if (f.FSkinNC && wparam) f.MenuChanged();
      return r;
    }
    case SKM_REDRAWFRAME:
      RedrawWindow(f.FHandle, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
      return 0;
    }
    return CallOldProc(msg, wparam, lparam);
  }

private:
  TWinSkinForm* FOwner;
};

// ---------------------------------------------------------------------------------------------
// Creation and attachment

const TClassInfo& TWinSkinForm::StaticClassInfo() {
  static const TClassInfo info{"TWinSkinForm", &TComponent::StaticClassInfo(), nullptr, {}};
  return info;
}

TWinSkinForm::TWinSkinForm(HWND wnd, std::string className)
    : TComponent(nullptr), FHandle(wnd), FWindowName(std::move(className)) {
  FDoubleClickTime = GetDoubleClickTime();
}

TWinSkinForm::~TWinSkinForm() {
  ComponentState |= csDestroying;
  Release();
  FreeCaptionButtons();
  RecordSkinnerEvent(skFormFreed, FHandle, FSkinData);
  if (TSkinManage* manager = TSkinManage::Manager()) manager->RemoveSkinner(this);
}

bool TWinSkinForm::IsMdiChild() const {
  return IsWindow(FHandle) && (ExStyleOf(FHandle) & WS_EX_MDICHILD) != 0;
}

bool TWinSkinForm::DialogClass() const {
  return FWindowName == "#32770" || FWindowName == "TMessageForm";
}

bool TWinSkinForm::AttachForm(TSkinData* data, TCustomForm* form) {
  return Attach(data, form);
}

bool TWinSkinForm::AttachWindow(TSkinData* data) {
  return Attach(data, nullptr);
}

bool TWinSkinForm::Attach(TSkinData* data, TCustomForm* form) {
  if (WindowHooked() || FSkinState == stReleased || !data || !IsWindow(FHandle)) return false;
  FSkinData = data;
  FForm = form;
  if (form) {
    if (data->OnBeforeSkinForm) data->OnBeforeSkinForm(form, FHandle, FWindowName);
    if (Has(data->SkinControls(), xcMenuItem) && IsPublishedProp(form, "AutoScroll"))
      SetPropValue(form, "AutoScroll", "False");
  }
  // The event may have run code of the program's own.
  if (!IsWindow(FHandle) || !HookWindow(FHandle)) return false;
  FSkinState = stNew;
  AttachSteps();
  if (form) {
    if (FSkinNC) {
      FOldFormProc = form->WindowProc;
      form->WindowProc = [this](TMessage& m) { FormHook(m); };
      FFormHooked = true;
    }
    FSavedColor = form->Color();
    form->SetColor(data->Colours[scButtonFace]);
  }
  RecordSkinnerEvent(form ? skAttachForm : skAttachWindow, FHandle, data);
  return true;
}

void TWinSkinForm::AttachSteps() {
  TSkinManage* manager = TSkinManage::Manager();
  if (manager) manager->MarkActivatedAtRunTime();
  FHooked = true;
  FSkinNC = Has(FSkinData->SkinControls(), xcMainMenu);
  const DWORD style = StyleOf(FHandle), exStyle = ExStyleOf(FHandle);
  FRightToLeft = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;
  FIsChild = (style & WS_CHILD) != 0;
  FOwnerWindow = GetWindow(FHandle, GW_OWNER);
  FSysMenuHandle = GetSystemMenu(FHandle, FALSE);
  FCaptionFlags = 0;
  if ((style & WS_SYSMENU) || FSysMenuHandle) FCaptionFlags |= 8;
  if (style & WS_MINIMIZEBOX) FCaptionFlags |= 2;
  if (style & WS_MAXIMIZEBOX) FCaptionFlags |= 1;
  if (exStyle & WS_EX_CONTEXTHELP) FCaptionFlags |= 4;
  ReadShowState();
  FSizeable = (style & WS_THICKFRAME) != 0;

  // MDI: a frame holds a window of class "MDIClient"; a child has WS_EX_MDICHILD.
  FMDIKind = 0;
  for (HWND child = GetWindow(FHandle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (lstrcmpiA(ClassNameOf(child).c_str(), "MDIClient") == 0) {
      FMDIKind = 1;
      FMDIClient = child;
      if (manager) manager->SetMdiClient(child, FForm);
      break;
    }
  if (exStyle & WS_EX_MDICHILD) {
    FMDIKind = 2;
    if (Has(FSkinData->Options(), xoMDIChildBorder)) FSkinNC = false;
  }

  if ((style & WS_CAPTION) != WS_CAPTION)
    FFrameKind = 2;
  else if (style & WS_THICKFRAME)
    FFrameKind = 0;
  else if (style & DS_MODALFRAME)
    FFrameKind = 3;
  else
    FFrameKind = 1;
  if ((exStyle & WS_EX_DLGMODALFRAME) || DialogClass()) FFrameKind = 3;

  const DWORD version = GetVersion();
  if (LOBYTE(LOWORD(version)) == 5 && HIBYTE(LOWORD(version)) == 0 &&
      ((exStyle & WS_EX_APPWINDOW) || (!FOwnerWindow && FMDIKind != 2)))
    FCaptionFlags |= 16;
  if (version & 0x80000000u)
    FSkinData->SetSkinControls(FSkinData->SkinControls() & ~SkinBit(xcSystemMenu));

  if (FMDIKind == 1) {
    FMenuUpdate = FSkinData->MenuUpdate();
    auto hook = std::make_unique<TMdiClientHook>(this);
    if (hook->Hook(FMDIClient)) FClientHook = std::move(hook);
  }

  if (FSkinNC) {
    FMenuHandle = GetMenu(FHandle);
    FMenuBarHeight = 0;
    if (FMenuHandle && FMDIKind != 2) {
      FSkinMenu = std::make_unique<TWinSkinMenu>(this, FSkinData);
      FMenuBarHeight = GetSystemMetrics(SM_CYMENU);
      FSkinMenu->BuildItems(FForm ? FForm->Menu() : nullptr);
    }
    ReadFrame();
  } else {
    FSkinState = stActive;
  }
  if (FMDIKind == 2 && FSkinNC) {
    const int wanted = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME);
    if (FTitleHeight < wanted) FMenuBarHeight = wanted - FTitleHeight;
    if (FShowState == 1 && manager) manager->SetMdiMaximized(true);
  }
}

void TWinSkinForm::MenuChanged() {
  HMENU menu = GetMenu(FHandle);
  if (!menu || !FSkinNC || FMDIKind == 2) return;
  if (FSkinMenu && !FSkinData->MenuUpdate()) {
    SetMenu(FHandle, nullptr);
    return;
  }
  const bool added = !FSkinMenu;
  if (added) {
    // A menu given to the window after it was skinned gets a skinned bar as well.
    FSkinMenu = std::make_unique<TWinSkinMenu>(this, FSkinData);
    FMenuBarHeight = GetSystemMetrics(SM_CYMENU);
  }
  FSkinMenu->BuildItems(FForm ? FForm->Menu() : nullptr);
  if (added)
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  else
    PaintNonClient();
}

void TWinSkinForm::ReadShowState() {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if (!GetWindowPlacement(FHandle, &wp)) return;
  switch (wp.showCmd) {
  case SW_SHOWMINIMIZED:
  case SW_MINIMIZE:
  case SW_SHOWMINNOACTIVE:
    FShowState = 2;
    break;
  case SW_SHOWMAXIMIZED:
    FShowState = 1;
    break;
  default:
    FShowState = 0;
  }
}

void TWinSkinForm::Finish() {
  FStarted = true;
  FSysMenuHandle = GetSystemMenu(FHandle, FALSE);
  BuildIconImage();
  RECT wr{}, cr{};
  GetWindowRect(FHandle, &wr);
  GetClientRect(FHandle, &cr);
  FClientRect = cr;
  FFrameExtra = {(wr.right - wr.left) - cr.right, (wr.bottom - wr.top) - cr.bottom};
  RecordSkinnerEvent(skFinish, FHandle, FSkinData);
  if (FSkinState == stNew && FSkinNC) {
    if (FMDIKind == 2) {
      if (FShowState == 1) {
        if (TSkinManage* m = TSkinManage::Manager(); m && m->MdiClient())
          PostMessageA(m->MdiClient(), SKM_REDRAWFRAME, reinterpret_cast<WPARAM>(FHandle), 0);
      } else if (FShowState == 0) {
        FSkinState = stReframing;
        Reframe(false);
        FSkinState = stActive;
        MakeRegion();
      }
    } else if (!FIsChild && FFrameKind != 2 && FShowState != 2) {
      FSkinState = stReframing;
      Reframe(false);
      FSkinState = stActive;
      if (FShowState == 0)
        MakeRegion();
      else
        SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
  }
  FSkinState = stActive;
  if (FSkinNC) {
    // Paint now: a window that was already shown has had its frame painting held back.
    RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  }
  // Popup menus: the form's popup menus (and those of the forms and frames it owns) drawn
  // from the skin.
  if (FForm && (FSkinData->SkinControls() & SkinBit(xcPopupMenu)))
    OwnerDrawPopups(FSkinData, FForm, true);
  // The child controls: each gets the skinner its kind calls for.
  if (FForm)
    SkinChildren(FForm);
  else
    SkinChildWindows(FHandle);
  SendMessageA(FHandle, SKM_SKINNED, 0, SKM_SKINNED_MAGIC);
  if (FForm && FSkinData->OnAfterSkinForm) FSkinData->OnAfterSkinForm(FForm, FHandle, FWindowName);
  SetHoverTimer(FActive);
}

// ---------------------------------------------------------------------------------------------
// Giving the window back

void TWinSkinForm::FreeCaptionButtons() {
  HotObject = nullptr; // never left pointing at a freed button
  FCaptionButtons.clear();
}

void TWinSkinForm::UnhookAll() {
  if (FFormHooked && FForm) {
    FForm->WindowProc = FOldFormProc;
    FFormHooked = false;
  }
  FOldFormProc = nullptr;
  UnhookWindow();
  if (FClientHook) {
    static_cast<TMdiClientHook*>(FClientHook.get())->Unhook();
    TSkinWndHook::Dispose(FClientHook.release());
  }
}

void TWinSkinForm::RestoreForm(bool releasing) {
  SetHoverTimer(false);
  HideHint();
  FSystemMenu.reset();
  // Popup menus: back to the system's drawing (a form being destroyed frees them itself).
  if (FForm && !(FForm->ComponentState & csDestroying)) OwnerDrawPopups(FSkinData, FForm, false);
  UnhookAll();
  if (FForm && !releasing && !(FForm->ComponentState & csDestroying)) FForm->SetColor(FSavedColor);
}

void TWinSkinForm::Unskin() {
  if (!WindowHooked()) return;
  RecordSkinnerEvent(skUnskin, FHandle, FSkinData);
  FreeAll();
  const bool wasNC = FSkinNC && FHooked;
  RestoreForm(false);
  int menuHeight = 0;
  if (FSkinMenu) {
    FSkinMenu->RestoreMenu();
    if (GetMenu(FHandle)) menuHeight = GetSystemMetrics(SM_CYMENU);
    FSkinMenu.reset();
  }
  if (wasNC && IsWindow(FHandle)) {
    RestoreSysMenuStyle();
    if (FStarted && (FMDIKind == 2 || !FIsChild) && FSkinState != stNew) {
      RECT wr{};
      GetWindowRect(FHandle, &wr);
      POINT pos{wr.left, wr.top};
      if (FMDIKind == 2) ScreenToClient(GetParent(FHandle), &pos);
      const int w = (wr.right - wr.left) + FFrameExtra.cx - FBorderLeft - FBorderRight;
      const int h = (wr.bottom - wr.top) + FFrameExtra.cy - FTitleHeight - FBorderBottom -
                    FMenuBarHeight + menuHeight;
      if (FShowState == 0)
        SetWindowPos(FHandle, nullptr, pos.x, pos.y, w, h,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      else
        SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    DropRegion();
  }
  FreeCaptionButtons();
  FSkinState = stReleased;
}

void TWinSkinForm::Release() {
  if (!WindowHooked() && !FFormHooked) return;
  RecordSkinnerEvent(skRelease, FHandle, FSkinData);
  FreeAll();
  RestoreForm(true);
  if (FSkinMenu) {
    // The window goes with its menu, as it came.
    if (IsWindow(FHandle) && FSkinState != stReleasing) FSkinMenu->RestoreMenu();
    FSkinMenu.reset();
  }
  FSkinState = stReleased;
}

void TWinSkinForm::ReloadSkin() {
  if (!WindowHooked()) return;
  RecordSkinnerEvent(skReload, FHandle, FSkinData);
  for (TSkinControl* skinner : std::vector<TSkinControl*>(FControls))
    skinner->RefreshSkin();
  if (!FSkinNC || !FStarted) return;
  ReadFrame();
  ReskinColors();
}

void TWinSkinForm::Redraw() {
  if (!WindowHooked()) return;
  RecordSkinnerEvent(skRedraw, FHandle, FSkinData);
  RedrawWindow(FHandle, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TWinSkinForm::ReskinColors() {
  if (!WindowHooked()) return;
  // Popup menus: drawn from the reloaded skin.
  if (FForm && FStarted && (FSkinData->SkinControls() & SkinBit(xcPopupMenu)))
    OwnerDrawPopups(FSkinData, FForm, true);
  if (FForm) {
    const TColor face = FSkinData->Colours[scButtonFace];
    FForm->SetColor(face);
    for (TComponent* owned : FForm->Components())
      if (auto* f = dynamic_cast<TCustomForm*>(owned)) f->SetColor(face);
  }
  FSkinState = stRefreshing;
  if (FSkinNC && FStarted) {
    Reframe(true);
    FRegionWidth = FRegionHeight = 0;
    MakeRegion();
    PaintNonClient();
  }
  SendMessageA(FHandle, SKM_SKINNED, 0, SKM_SKINNED_MAGIC);
  if (FForm && FSkinData->OnAfterSkinForm) FSkinData->OnAfterSkinForm(FForm, FHandle, FWindowName);
  FSkinState = stActive;
}

void TWinSkinForm::SizeGripCreated(HWND grip) {
  if (!WindowHooked() || !grip) return;
  RecordSkinnerEvent(skSizeGrip, FHandle, FSkinData);
}

void TWinSkinForm::MdiStateChanged(bool maximized) {
  if (!WindowHooked() || !IsMdiChild()) return;
  RecordSkinnerEvent(skMdiState, FHandle, FSkinData);
  if (!maximized) PaintNonClient();
}

// ---------------------------------------------------------------------------------------------
// Hover timer and system-menu style bit

void TWinSkinForm::SetHoverTimer(bool on) {
  on = on && FSkinNC && FStarted && IsWindow(FHandle) && WindowHooked();
  if (on == FHoverTimer) return;
  FHoverTimer = on;
  if (on)
    SetTimer(FHandle, kHoverTimerId, kHoverInterval, nullptr);
  else if (IsWindow(FHandle))
    KillTimer(FHandle, kHoverTimerId);
}

void TWinSkinForm::HideHint() {
  if (!FSkinData) return;
  FSkinData->HideCaptionHint();
  FSkinData->HintDelay = 0;
}

void TWinSkinForm::RemoveSysMenuStyle() {
  if (FCaptionFlags & 16) return;
  const DWORD style = StyleOf(FHandle);
  if (style & WS_SYSMENU) SetWindowLongPtrA(FHandle, GWL_STYLE, style & ~WS_SYSMENU);
}

void TWinSkinForm::RestoreSysMenuStyle() {
  if (!FSysMenuHandle || !IsWindow(FHandle)) return;
  const DWORD style = StyleOf(FHandle);
  if (!(style & WS_SYSMENU)) SetWindowLongPtrA(FHandle, GWL_STYLE, style | WS_SYSMENU);
}

// ---------------------------------------------------------------------------------------------
// The window procedure

LRESULT TWinSkinForm::HookMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
  // Stage 1: every message.
  switch (msg) {
  case WM_MEASUREITEM:
  case WM_DRAWITEM: // popup menus: the skinned system menu's items
    if (LRESULT r = 0; DispatchMenuOwnItem(FSystemMenu.get(), msg, wparam, lparam, r)) return r;
    break;
  case WM_NCPAINT:
    if (FSkinState == stNew && FSkinNC) return 0;
    break;
  case SKM_QUERY:
    PostMessageA(FHandle, SKM_SKINNED, 0, SKM_SKINNED_MAGIC);
    return 1;
  case 0x00AE: // the system's caption-button repaint (themes): nothing of it shows
    if (FSkinNC) return 0;
    break;
  case WM_NCDESTROY: {
    FSkinState = stReleasing;
    SetHoverTimer(false);
    Release();
    LRESULT r = Default(msg, wparam, lparam);
    FSkinState = stReleased;
    // The window is gone: the manager lets go of this skinner now (freed once this message
    // returns), so that no entry is left for a handle the system may hand out again.
    if (TSkinManage* manager = TSkinManage::Manager()) manager->SkinnerWindowDestroyed(this);
    return r;
  }
  case WM_TIMER:
    if (wparam == kHoverTimerId) {
      if (FHoverTimer) HoverCheck();
      return 0;
    }
    break;
  case WM_ERASEBKGND:
    if (!FForm && FSkinData) {
      RECT r{};
      GetClientRect(FHandle, &r);
      FillRect(reinterpret_cast<HDC>(wparam), &r, FSkinData->ButtonFaceBrush());
      return 1;
    }
    break;
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLORBTN: {
    LRESULT r = Default(msg, wparam, lparam);
    if (!FForm && FSkinData) {
      SetBkMode(reinterpret_cast<HDC>(wparam), TRANSPARENT);
      if (msg == WM_CTLCOLORSTATIC) return reinterpret_cast<LRESULT>(FSkinData->ButtonFaceBrush());
    }
    return r;
  }
  case WM_INITMENUPOPUP:
    if (TSkinManage* manager = TSkinManage::Manager())
      manager->PopupKind =
          reinterpret_cast<HMENU>(wparam) == FSysMenuHandle ||
                  (FSystemMenu && reinterpret_cast<HMENU>(wparam) == FSystemMenu->Handle())
              ? mkSystemMenu
              : mkMenuBarDropDown;
    break;
  case WM_NCACTIVATE:
    if (FSkinState == stNew && FMDIKind != 2 && FSkinNC) {
      // Nothing is painted before the skin is in place; a deactivation is still let through.
      FActive = wparam != 0;
      return 1;
    }
    break;
  case SKM_RESKINSCROLL:
    ReplaceScrollSkinner(reinterpret_cast<HWND>(wparam));
    return 0;
  case SKM_FINISH:
    if (!FStarted) Finish();
    return 0;
  }
  if (!FSkinNC || !FHooked) return Default(msg, wparam, lparam);
  if (FIsChild && FMDIKind != 2) return Default(msg, wparam, lparam);

  bool handled = false;
  LRESULT r = Stage2(msg, wparam, lparam, handled);
  if (handled) return r;
  TSkinManage* manager = TSkinManage::Manager();
  const bool mdiMaxState = manager && manager->MdiMaximized();
  if (FSkinState == stNew || (FMDIKind == 2 && mdiMaxState)) return Default(msg, wparam, lparam);
  return Stage3(msg, wparam, lparam);
}

void TWinSkinForm::OnSize(WPARAM wparam) {
  switch (wparam) {
  case SIZE_RESTORED:
    FShowState = 0;
    break;
  case SIZE_MINIMIZED:
    FShowState = 2;
    break;
  case SIZE_MAXIMIZED:
    FShowState = 1;
    break;
  }
  if (FShowState == 2) return;
  TSkinManage* manager = TSkinManage::Manager();
  if (FMDIKind == 2 && (FShowState != 0 || (manager && manager->MdiMaximized()))) return;
  if (FSkinState == stActive || FSkinState == stRefreshing) MakeRegion();
}

LRESULT TWinSkinForm::Stage2(UINT msg, WPARAM wparam, LPARAM lparam, bool& handled) {
  handled = true;
  switch (msg) {
  case WM_COMMAND: {
    const UINT id = LOWORD(wparam) & 0xFFF0;
    if (HIWORD(wparam) == 0 && lparam == 0 &&
        (id == SC_SIZE || id == SC_MOVE || id == SC_MINIMIZE || id == SC_MAXIMIZE ||
         id == SC_NEXTWINDOW || id == SC_PREVWINDOW || id == SC_CLOSE || id == SC_RESTORE)) {
      PostMessageA(FHandle, WM_SYSCOMMAND, LOWORD(wparam), 0);
      return 0;
    }
    return Default(msg, wparam, lparam);
  }
  case WM_WINDOWPOSCHANGED:
    ReadShowState();
    return Default(msg, wparam, lparam);
  case WM_SIZE: {
    LRESULT r = Default(msg, wparam, lparam);
    OnSize(wparam);
    return r;
  }
  case WM_ACTIVATE:
    FActive = LOWORD(wparam) != WA_INACTIVE;
    handled = false;
    return 0;
  case WM_NCACTIVATE:
    FActive = wparam != 0;
    handled = false;
    return 0;
  case WM_GETMINMAXINFO: {
    LRESULT r = Default(msg, wparam, lparam);
    ReadShowState();
    return r;
  }
  case WM_SETICON: {
    LRESULT r = Default(msg, wparam, lparam);
    BuildIconImage();
    FSmallIcon.Reset();
    FSmallIconRead = false;
    if (FSkinState == stActive && IsWindowVisible(FHandle)) PaintNonClient();
    return r;
  }
  case WM_SETTEXT: {
    // The system's own handling may draw its caption straight away: paint ours over it.
    LRESULT r = Default(msg, wparam, lparam);
    if (FSkinState == stActive && IsWindowVisible(FHandle)) PaintNonClient();
    return r;
  }
  case WM_SYSCOMMAND:
    return SysCommand(wparam, lparam);
  case SKM_MENUBUTTON: {
    const POINT p = WindowPoint({GET_X_LPARAM_(lparam), GET_Y_LPARAM_(lparam)});
    if (TNCObject* object = ObjectAt(p))
      if (auto* item = dynamic_cast<TMenuBtn*>(object); item && FSkinMenu)
        FSkinMenu->OpenItem(item);
    return 0;
  }
  case WM_MENUSELECT:
    TrackMenuSelect(*this, wparam, lparam);
    return Default(msg, wparam, lparam);
  case CM_MENUCHANGED: {
    FNCPaintHeld = true;
    LRESULT r = Default(msg, wparam, lparam);
    FNCPaintHeld = false;
    MenuChanged();
    return r;
  }
  }
  handled = false;
  return 0;
}

LRESULT TWinSkinForm::Stage3(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
  case WM_NCACTIVATE:
    return NCActivate(wparam, lparam);
  case WM_NCCALCSIZE:
    return NCCalcSize(wparam, lparam);
  case WM_NCPAINT:
    RemoveSysMenuStyle();
    if (FNCPaintHeld) return 0;
    if (FFrameKind == 2 || (FMDIKind == 2 && FShowState == 1)) return Default(msg, wparam, lparam);
    PaintNonClient();
    return 0;
  case WM_NCHITTEST:
    return NCHitTest(wparam, lparam);
  case WM_NCMOUSEMOVE:
  case WM_NCLBUTTONDOWN:
  case WM_NCLBUTTONUP:
  case WM_NCLBUTTONDBLCLK:
  case WM_NCRBUTTONDOWN:
    return NCMouse(msg, wparam, lparam);
  case SKM_NCPAINT:
    PaintNonClient();
    return 0;
  case WM_MEASUREITEM:
    if (FSkinMenu && lparam &&
        FSkinMenu->MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lparam)))
      return TRUE;
    break;
  case WM_DRAWITEM:
    if (FSkinMenu && lparam && FSkinMenu->DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lparam)))
      return TRUE;
    break;
  }
  return Default(msg, wparam, lparam);
}

// The toolkit form's message slot: messages sent to the form object itself.
void TWinSkinForm::FormHook(TMessage& msg) {
  auto previous = [&] {
    if (FOldFormProc) FOldFormProc(msg);
  };
  switch (msg.Msg) {
  case WM_SETTEXT:
    previous();
    if (IsWindowVisible(FHandle) && FSkinState == stActive) {
      TSkinManage* manager = TSkinManage::Manager();
      if (FShowState == 1 && FMDIKind == 2 && manager && manager->MdiClient())
        PostMessageA(manager->MdiClient(), SKM_REDRAWFRAME, reinterpret_cast<WPARAM>(FHandle), 0);
      else if (FShowState != 0)
        PaintNonClient();
      else
        SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    return;
  case SKM_RESKIN:
    ReskinColors();
    return;
  case CM_DIALOGCHAR:
    previous();
    if (msg.Result == 0 && FSkinMenu && (GetKeyState(VK_MENU) & 0x8000) &&
        !(GetKeyState(VK_CONTROL) & 0x8000) && !(GetKeyState(VK_SHIFT) & 0x8000))
      if (TMenuBtn* item = FSkinMenu->ItemByAccel(static_cast<wchar_t>(msg.WParam))) {
        PressMenuItem(item);
        msg.Result = 1;
      }
    return;
  case SKM_PAINTFRAME:
    if (msg.LParam == SKM_SKINNED_MAGIC) {
      PaintNonClient(reinterpret_cast<HDC>(msg.WParam));
      msg.Result = SKM_SKINNED_MAGIC;
      return;
    }
    break;
  case SKM_HANDSHAKE:
    msg.Result = msg.LParam == SKM_SKINNED_MAGIC ? SKM_SKINNED_MAGIC : 1;
    return;
  }
  previous();
}
