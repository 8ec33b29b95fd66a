// The input half of the form skinner: the non-client objects, hit testing, the non-client mouse
// on caption buttons, caption-button actions, system commands, the skinned system menu and the
// hover check that shows caption-button hints.
#include "SkinManage.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSubClass.h"
#include "SkinMenuPaint.h"

#include "Forms.h"
#include "Menus.h"

#include <algorithm>

namespace {
POINT PointOf(LPARAM lparam) {
  return {GET_X_LPARAM_(lparam), GET_Y_LPARAM_(lparam)};
}

// Tag of the skinned system menu.
constexpr int kSystemMenuTag = 33333;
} // namespace

// ---------------------------------------------------------------------------------------------
// Non-client objects

const TClassInfo& TNCObject::StaticClassInfo() {
  static const TClassInfo info{"TNCObject", &TObject::StaticClassInfo(), nullptr, {}};
  return info;
}

const TClassInfo& TWinSysButton::StaticClassInfo() {
  static const TClassInfo info{"TWinSysButton", &TNCObject::StaticClassInfo(), nullptr, {}};
  return info;
}

void TNCObject::MouseDown() {
  if (Form->HotObject && Form->HotObject != this) Form->HotObject->MouseLeave();
  if (!Visible) return;
  Form->HotObject = this;
  State = 2;
  Paint();
}

void TNCObject::MouseUp() {
  if (!Visible) return;
  State = 3;
  Paint();
}

void TNCObject::MouseEnter() {
  if (Form->HotObject == this) return;
  if (Form->HotObject) Form->HotObject->MouseLeave();
  if (!Visible) return;
  Form->HotObject = this;
  State = 3;
  Paint();
}

void TNCObject::MouseLeave() {
  // Nothing stays hot, visible or not.
  if (Form->HotObject == this) Form->HotObject = nullptr;
  State = 1;
  if (!Visible) return;
  Paint();
  if (TSkinData* data = Form->SkinData()) {
    data->HideCaptionHint();
    data->HintDelay = 0;
  }
}

int TWinSysButton::Frames() const {
  return std::max(SkinButton->FrameCount, 1);
}

int TWinSysButton::CurrentCell() const {
  int cell = State;
  if (!Enabled) cell = Frames() > 3 ? 4 : 1;
  if (SkinButton->Visibility == 100 && cell == 3) cell = 4;
  return cell;
}

void TWinSysButton::Paint() {
  if (!Visible) return;
  // The window icon stands for the system-icon button; it has no pressed or hot look.
  if (SkinButton->Action == 3 || SkinButton->Action == 11) return;
  Form->PaintCaptionButton(*this);
}

// ---------------------------------------------------------------------------------------------
// Points and hit testing

POINT TWinSkinForm::WindowPoint(POINT screen) const {
  POINT p = screen;
  ScreenToClient(FHandle, &p);
  if (!(FMDIKind == 2 && IsIconic(FHandle))) {
    p.x += FBorderLeft;
    p.y += FTitleHeight + FMenuBarHeight;
  }
  return p;
}

TNCObject* TWinSkinForm::ObjectAt(POINT p) const {
  for (const auto& button : FCaptionButtons)
    if (button->Visible && button->SkinButton->Action >= 0 && PtInRect(&button->BoundsRect, p))
      return button.get();
  return FSkinMenu ? FSkinMenu->ItemAt(p) : nullptr;
}

void TWinSkinForm::PressMenuItem(TMenuBtn* item) {
  if (!item || !FSkinMenu) return;
  item->MouseDown();
  FSkinMenu->OpenItem(item);
  if (!IsWindow(FHandle) || !FSkinMenu) return;
  // Once the drop-down has closed the item is hot, or normal when the pointer has left it.
  POINT cursor{};
  GetCursorPos(&cursor);
  if (HotObject == item && PtInRect(&item->BoundsRect, WindowPoint(cursor))) {
    item->MouseUp();
  } else {
    if (HotObject == item) HotObject = nullptr;
    item->State = 1;
    item->Paint();
  }
}

LRESULT TWinSkinForm::NCHitTest(WPARAM wparam, LPARAM lparam) {
  LRESULT r = Default(WM_NCHITTEST, wparam, lparam);
  if (r != HTNOWHERE && r != HTCAPTION && r != HTBORDER) return r;
  const POINT p = WindowPoint(PointOf(lparam));
  RECT window{};
  GetWindowRect(FHandle, &window);
  const int w = window.right - window.left, h = window.bottom - window.top;
  const bool inLeft = p.x < FBorderLeft, inRight = p.x >= w - FBorderRight;
  const bool inBottom = p.y >= h - FBorderBottom;
  // The system knows only its own, thinner frame: the rest of the skinned borders answers
  // like a border, not like the caption.
  if (p.y >= FTitleHeight + FMenuBarHeight && (inLeft || inRight || inBottom)) {
    if (!FSizeable || FShowState != 0) return HTBORDER;
    if (inBottom) return inLeft ? HTBOTTOMLEFT : inRight ? HTBOTTOMRIGHT : HTBOTTOM;
    return inLeft ? HTLEFT : HTRIGHT;
  }
  if (r == HTBORDER) return r;
  if (FMenuBarHeight > 0 && p.y > FTitleHeight) return HTMENU;
  if (p.y > 3) return HTCAPTION;
  return r;
}

// ---------------------------------------------------------------------------------------------
// Mouse

LRESULT TWinSkinForm::NCMouse(UINT msg, WPARAM wparam, LPARAM lparam) {
  const POINT screen = PointOf(lparam);
  const POINT p = WindowPoint(screen);
  TNCObject* object = ObjectAt(p);
  switch (msg) {
  case WM_NCMOUSEMOVE:
    if (!FActive) return 0;
    if (object) {
      object->MouseEnter();
      return 0;
    }
    if (HotObject) HotObject->MouseLeave();
    HotObject = nullptr;
    return Default(msg, wparam, lparam);
  case WM_NCLBUTTONDOWN:
    HideHint();
    if (object) {
      if (!FActive) SetForegroundWindow(FHandle);
      if (auto* item = dynamic_cast<TMenuBtn*>(object))
        PressMenuItem(item);
      else
        object->MouseDown();
      return 0;
    }
    if (wparam == HTCAPTION && FShowState == 1 && FActive)
      return Default(msg, HTMENU, lparam); // a maximized window is not dragged
    return Default(msg, wparam, lparam);
  case WM_NCLBUTTONUP:
    HideHint();
    if (object && object == HotObject) {
      if (auto* button = dynamic_cast<TWinSysButton*>(object)) {
        button->MouseUp();
        ButtonAction(button, screen);
      }
      return 0;
    }
    if (object) return 0;
    return Default(msg, wparam, lparam);
  case WM_NCLBUTTONDBLCLK:
    if (auto* button = dynamic_cast<TWinSysButton*>(object)) {
      const int action = button->SkinButton->Action;
      if (action == 3 || action == 11) {
        SetHoverTimer(false);
        PostMessageA(FHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      return 0;
    }
    if (wparam == HTCAPTION || (wparam >= HTLEFT && wparam <= HTBOTTOMRIGHT) ||
        wparam == HTBORDER) {
      if (FShowState != 0) {
        Restore();
        return 0;
      }
      if (FCaptionFlags & 1) {
        Maximize();
        return 0;
      }
      return 0; // no maximize box: a double click does nothing
    }
    return Default(msg, wparam, lparam);
  case WM_NCRBUTTONDOWN:
    HideHint();
    if (wparam == HTCAPTION && FMDIKind != 2) {
      ShowSystemMenu(screen);
      return 0;
    }
    return Default(msg, wparam, lparam);
  }
  return Default(msg, wparam, lparam);
}

// ---------------------------------------------------------------------------------------------
// Actions

void TWinSkinForm::Maximize() {
  if (FShowState == 1) {
    Restore();
    return;
  }
  if (FMDIKind == 2)
    if (TSkinManage* m = TSkinManage::Manager()) m->SetMdiMaximized(true);
  FShowState = 1;
  HotObject = nullptr;
  PostMessageA(FHandle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
}

void TWinSkinForm::Restore() {
  FShowState = 0;
  PostMessageA(FHandle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TWinSkinForm::Minimize() {
  if (FShowState == 2) {
    Restore();
    return;
  }
  FShowState = 2;
  RestoreSysMenuStyle();
  PostMessageA(FHandle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TWinSkinForm::ButtonAction(TWinSysButton* button, POINT screen) {
  const int action = button->SkinButton->Action;
  auto toActiveChild = [&](UINT command) {
    if (FMDIKind != 1 || !FMDIClient) return;
    HWND child = reinterpret_cast<HWND>(SendMessageA(FMDIClient, WM_MDIGETACTIVE, 0, 0));
    if (child) PostMessageA(child, WM_SYSCOMMAND, command, 0);
  };
  switch (action) {
  case 0: {
    const HMENU sys = GetSystemMenu(FHandle, FALSE);
    if (!sys || GetMenuState(sys, SC_CLOSE, MF_BYCOMMAND) != UINT(-1)) {
      SetHoverTimer(false);
      PostMessageA(FHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    break;
  }
  case 1:
  case 22:
    if (button->Enabled) Maximize();
    break;
  case 2:
  case 23:
    if (button->Enabled) Minimize();
    break;
  case 3:
  case 11:
  case 12:
    ShowSystemMenu({screen.x + 1, screen.y + 1});
    break;
  case 4:
    PostMessageA(FHandle, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
    break;
  case 7:
  case 60:
    toActiveChild(SC_MINIMIZE);
    break;
  case 8:
  case 61:
    toActiveChild(SC_RESTORE);
    break;
  case 9:
  case 62:
    toActiveChild(SC_CLOSE);
    break;
  default:
    PostMessageA(FHandle, SKM_CAPTIONACTION, WPARAM(action), 0);
  }
}

LRESULT TWinSkinForm::SysCommand(WPARAM wparam, LPARAM lparam) {
  // The low four bits are the system's own (a caption double click sends 0xF032).
  const UINT command = UINT(wparam) & 0xFFF0;
  if (!FMenuTracking) {
    if (command == SC_KEYMENU && lparam != ' ' && lparam != '-' && !GetCapture()) {
      // Alt with a character opens the bar item with that accelerator; Alt alone the first item.
      // Alt alone is taken even without a bar, so that the system draws no menu of its own over
      // the skinned frame.
      TMenuBtn* item = nullptr;
      if (FSkinMenu) {
        if (lparam)
          item = FSkinMenu->ItemByAccel(static_cast<wchar_t>(lparam));
        else
          for (const auto& b : FSkinMenu->Buttons())
            if (b->Visible && !b->Caption.empty()) {
              item = b.get();
              break;
            }
      }
      if (item) {
        PressMenuItem(item);
        return 1;
      }
      if (lparam == 0) return 1;
    } else if (command == SC_KEYMENU && lparam == ' ') {
      POINT origin{0, 0};
      ClientToScreen(FHandle, &origin);
      ShowSystemMenu(origin);
      return 0;
    }
  }
  switch (command) {
  case SC_MINIMIZE:
    FShowState = 2;
    RestoreSysMenuStyle();
    break;
  case SC_MAXIMIZE:
    FShowState = 1;
    break;
  case SC_RESTORE:
    FShowState = 0;
    if (FMDIKind == 2)
      if (TSkinManage* m = TSkinManage::Manager()) m->SetMdiMaximized(false);
    break;
  }
  return Default(WM_SYSCOMMAND, wparam, lparam);
}

// ---------------------------------------------------------------------------------------------
// The system menu

void TWinSkinForm::BuildSystemMenu() {
  FSystemMenu = std::make_unique<TPopupMenu>(nullptr);
  TPopupMenu& menu = *FSystemMenu;
  menu.Tag = kSystemMenuTag;
  menu.OwnerDraw = true;
  menu.Images = FSkinData ? FSkinData->MenuGlyphs() : nullptr; // popup menus: skin glyphs
  const bool maxBox = (FCaptionFlags & 1) != 0, minBox = (FCaptionFlags & 2) != 0;
  HWND wnd = FHandle;
  auto add = [&](const std::string& caption, int tag, int glyph, bool enabled, bool checked) {
    auto* item = new TMenuItem(&menu);
    item->SetCaption(caption);
    item->Tag = tag;
    item->SetImageIndex(glyph);
    item->SetEnabled(enabled);
    item->SetChecked(checked);
    if (caption != "-")
      item->OnClick = [wnd, tag](TObject*) { PostMessageA(wnd, WM_SYSCOMMAND, WPARAM(tag), 0); };
    menu.Items()->Add(item);
    OwnerDrawItems(FSkinData, item, true); // popup menus: skinned item drawing
  };
  const DWORD version = GetVersion();
  const bool nt4 = SkinUser32().IsNT && LOBYTE(LOWORD(version)) < 5;
  if (nt4) {
    add(" Restore ", SC_RESTORE, 0, FShowState != 0, false);
    if (maxBox) add(" Maximize ", SC_MAXIMIZE, 1, FShowState != 1, false);
    if (minBox) add(" Minimize ", SC_MINIMIZE, 2, FShowState != 2, false);
    add("-", 0, -1, true, false);
    add(" Close\tALT+F4", SC_CLOSE, 3, true, false);
    return;
  }
  const HMENU sys = FSysMenuHandle ? FSysMenuHandle : GetSystemMenu(FHandle, FALSE);
  const int count = sys ? GetMenuItemCount(sys) : 0;
  for (int i = 0; i < count; ++i) {
    char text[81] = {};
    GetMenuStringA(sys, UINT(i), text, 80, MF_BYPOSITION);
    const UINT id = GetMenuItemID(sys, i);
    const UINT state = GetMenuState(sys, UINT(i), MF_BYPOSITION);
    std::string caption = text[0] ? text : "-";
    int glyph = -1;
    bool enabled = (state & (MF_GRAYED | MF_DISABLED)) != (MF_GRAYED | MF_DISABLED);
    switch (id & 0xFFF0) {
    case SC_SIZE:
    case SC_MOVE:
      enabled = FShowState != 1;
      break;
    case SC_MINIMIZE:
      glyph = 2;
      enabled = FShowState != 2 && minBox;
      break;
    case SC_MAXIMIZE:
      glyph = 1;
      enabled = FShowState != 1 && maxBox;
      break;
    case SC_CLOSE:
      glyph = 3;
      break;
    case SC_RESTORE:
      glyph = 0;
      enabled = FShowState != 0;
      break;
    }
    add(caption, int(id), glyph, enabled, (state & MF_CHECKED) != 0);
  }
}

void TWinSkinForm::ShowSystemMenu(POINT screen) {
  const DWORD now = GetTickCount();
  if (now - FLastSysMenuTick > FDoubleClickTime) {
    if (TSkinManage* m = TSkinManage::Manager()) m->PopupKind = mkSystemMenu;
    FLastSysMenuTick = now;
    BuildSystemMenu();
    // Tracked with the skinned window as owner: the window stays active while the menu is open.
    HMENU handle = FSystemMenu->Handle();
    const UINT chosen = UINT(TrackPopupMenu(handle, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                            screen.x, screen.y, 0, FHandle, nullptr));
    if (chosen && FSystemMenu)
      for (TMenuItem* item : FSystemMenu->Items()->Items())
        if (item->Command() == chosen) {
          item->Click();
          break;
        }
    FLastSysMenuTick = GetTickCount();
  } else if (HotObject) {
    SetHoverTimer(false);
    PostMessageA(FHandle, WM_CLOSE, 0, 0);
  }
}

// ---------------------------------------------------------------------------------------------
// Hover check

void TWinSkinForm::HoverCheck() {
  if (FMenuTracking || !FSkinData) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  // Raw child windows have no toolkit to tell them the pointer left: their skinners are told.
  std::vector<HWND> left;
  for (TSkinControl* s : FControls)
    if (!s->Control && (s->MouseFlags & TSkinControl::mfHot) && !PtInRect(&s->WindowRect, cursor))
      left.push_back(s->Handle);
  for (HWND wnd : left)
    if (IsWindow(wnd)) SendMessageW(wnd, CM_MOUSELEAVE, 0, 0);
  if (!HotObject) return;
  const POINT p = WindowPoint(cursor);
  if (!PtInRect(&HotObject->BoundsRect, p) || WindowFromPoint(cursor) != FHandle) {
    HotObject->MouseLeave();
    HotObject = nullptr;
    HideHint();
    return;
  }
  auto* button = dynamic_cast<TWinSysButton*>(HotObject);
  if (!button) return;
  TSkinData& s = *FSkinData;
  s.HintDelay += 250;
  const int pause = Application ? Application->HintPause : 500;
  const int hidePause = Application ? Application->HintHidePause : 2500;
  const char* text = nullptr;
  switch (button->SkinButton->Action) {
  case 0:
  case 9:
  case 62:
    text = "Close";
    break;
  case 1:
  case 22:
    text = "Maximize";
    break;
  case 2:
  case 7:
  case 23:
  case 60:
    text = "Minimize";
    break;
  case 8:
  case 61:
    text = "Restore";
    break;
  }
  if (!text) return;
  if (s.HintDelay >= 2 * pause && s.HintDelay <= 2 * pause + hidePause) {
    const RECT at{button->BoundsRect.left + FWindowRect.left, cursor.y + 24, 0, 0};
    s.ShowCaptionHint(at, text);
  } else if (s.HintDelay > 2 * pause + hidePause) {
    s.HideCaptionHint();
  }
}
