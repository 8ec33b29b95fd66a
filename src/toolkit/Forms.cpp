#include "Forms.h"
#include "FormReader.h"
#include "Menus.h"

#include <algorithm>

TApplication* Application = nullptr;

static const std::vector<const char*> kBorderStyles{"bsNone",   "bsSingle",     "bsSizeable",
                                                    "bsDialog", "bsToolWindow", "bsSizeToolWin"};
static const std::vector<const char*> kBorderIcons{"biSystemMenu", "biMinimize", "biMaximize",
                                                   "biHelp"};
static const std::vector<const char*> kFormStyles{"fsNormal", "fsMDIChild", "fsMDIForm",
                                                  "fsStayOnTop"};
static const std::vector<const char*> kPositions{
    "poDesigned",     "poDefault",       "poDefaultPosOnly", "poDefaultSizeOnly",
    "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"};

namespace {
// The menu identifiers an MDI client gives its children's entries in the window menu: above
// every command the toolkit's menu items take.
constexpr UINT kFirstMDIChildId = 0xFF00;

bool IsMDIStyle(int style) {
  return style == fsMDIForm || style == fsMDIChild;
}
} // namespace

const TClassInfo& TCustomForm::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i{"TCustomForm", &TWinControl::StaticClassInfo(), nullptr, {}};
    i.Props = {
        EnumProp("BorderStyle", &kBorderStyles, &TCustomForm::BorderStyle,
                 &TCustomForm::SetBorderStyle),
        EnumProp("FormStyle", &kFormStyles, &TCustomForm::FormStyle, &TCustomForm::SetFormStyle),
        EnumProp("Position", &kPositions, &TCustomForm::Position, &TCustomForm::SetPosition),
        EventProp("OnCreate", &TCustomForm::OnCreate),
        EventProp("OnDestroy", &TCustomForm::OnDestroy)};
    TPropInfo icons;
    icons.Name = "BorderIcons";
    icons.Get = [](const TObject* o) {
      return SetToString(kBorderIcons, static_cast<const TCustomForm*>(o)->BorderIcons());
    };
    icons.Set = [](TObject* o, const std::string& v) {
      static_cast<TCustomForm*>(o)->SetBorderIcons(StringToSet(kBorderIcons, v));
    };
    i.Props.push_back(icons);
    TPropInfo onClose;
    onClose.Name = "OnClose";
    onClose.Kind = pkEvent;
    onClose.Get = [](const TObject* o) {
      return std::string(static_cast<const TCustomForm*>(o)->OnClose ? "(bound)" : "");
    };
    // Close handlers are bound through the form's method table with a close action.
    onClose.SetEvent = [](TObject* o, TNotifyEvent e) {
      static_cast<TCustomForm*>(o)->OnClose = [e](TObject* s, TCloseAction&) { e(s); };
    };
    i.Props.push_back(onClose);
    TPropInfo menu;
    menu.Name = "Menu";
    menu.Kind = pkComponent;
    menu.Get = [](const TObject* o) {
      const TMainMenu* m = static_cast<const TCustomForm*>(o)->Menu();
      return m ? m->Name : std::string();
    };
    menu.SetComponent = [](TObject* o, TComponent* c) {
      static_cast<TCustomForm*>(o)->SetMenu(dynamic_cast<TMainMenu*>(c));
    };
    i.Props.push_back(menu);
    return i;
  }();
  return info;
}

const TClassInfo& TForm::StaticClassInfo() {
  static const TClassInfo info{"TForm", &TCustomForm::StaticClassInfo(), nullptr, {}};
  return info;
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  FVisible = false;
  FParentColor = false;
  FParentFont = false;
  FColor = clBtnFace;
  if (Application) Application->AddForm(this);
}

TCustomForm::~TCustomForm() {
  ComponentState |= csDestroying;
  if (OnDestroy) GuardedCall([this] { OnDestroy(this); });
  // Owned components (menus, timers, controls) go while the form is still a form.
  DestroyComponents();
  if (FHandle) DestroyHandle();
  if (Application) Application->RemoveForm(this);
}

void TCustomForm::ReadStoredDescription() {
  ReadComponentResource(this, ClassName());
}

void TCustomForm::DoCreate() {
  if (OnCreate) GuardedCall([this] { OnCreate(this); });
}

void TCustomForm::SetMenu(TMainMenu* menu) {
  if (menu == FMenu) return;
  if (FMenu) {
    FMenu->SetWindowHandle(nullptr);
    RemoveFreeNotification(FMenu);
  }
  FMenu = menu;
  if (FMenu) FreeNotification(FMenu);
  // A child window has no menu bar: its menu stays unshown.
  if (FHandle && FWindowFormStyle != fsMDIChild) {
    if (FMenu)
      FMenu->SetWindowHandle(FHandle);
    else
      ::SetMenu(FHandle, nullptr);
    SendMessageA(FHandle, CM_MENUCHANGED, 0, 0);
  }
}

bool TCustomForm::IsShortCut(const MSG& msg) {
  if (!FMenu) return false;
  int shortCut = static_cast<int>(msg.wParam & 0xFF);
  if (GetKeyState(VK_SHIFT) < 0) shortCut |= scShift;
  if (GetKeyState(VK_CONTROL) < 0) shortCut |= scCtrl;
  if (GetKeyState(VK_MENU) < 0) shortCut |= scAlt;
  TMenuItem* item = FMenu->FindShortCut(shortCut);
  for (TMenuItem* i = item; i; i = i->Parent())
    if (!i->Enabled()) return false;
  if (!item) return false;
  item->Click();
  return true;
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove && component == FMenu) FMenu = nullptr;
}

void TCustomForm::SetBorderStyle(int v) {
  FBorderStyle = v;
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(unsigned v) {
  FBorderIcons = v;
  RecreateWnd();
}

void TCustomForm::SetFormStyle(int v) {
  const int old = FFormStyle;
  FFormStyle = v;
  if (FHandle && (IsMDIStyle(v) || IsMDIStyle(old))) {
    if (v != old) RecreateWnd();
    return;
  }
  if (FHandle)
    SetWindowPos(FHandle, v == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  p.ExStyle = 0;
  p.ClassStyle = CS_DBLCLKS;
  p.WndParent = nullptr;
  if (Application && Application->MainForm() && Application->MainForm() != this)
    p.WndParent = Application->MainForm()->Handle();
  switch (FBorderStyle) {
  case bsNone:
    p.Style |= WS_POPUP;
    break;
  case bsSingle:
  case bsToolWindow:
    p.Style |= WS_CAPTION | WS_BORDER;
    break;
  case bsDialog:
    p.Style |= WS_POPUP | WS_CAPTION;
    p.ExStyle |= WS_EX_DLGMODALFRAME;
    break;
  default:
    p.Style |= WS_CAPTION | WS_THICKFRAME;
    break;
  }
  if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin) p.ExStyle |= WS_EX_TOOLWINDOW;
  if (FBorderStyle != bsNone && (FBorderIcons & (1u << biSystemMenu))) {
    p.Style |= WS_SYSMENU;
    if (FBorderStyle != bsDialog && FBorderStyle != bsToolWindow && FBorderStyle != bsSizeToolWin) {
      if (FBorderIcons & (1u << biMinimize)) p.Style |= WS_MINIMIZEBOX;
      if (FBorderIcons & (1u << biMaximize)) p.Style |= WS_MAXIMIZEBOX;
    }
  }
  if (FFormStyle == fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
  if (FFormStyle == fsMDIChild) {
    // A child window of the MDI frame's client, which keeps the style as given.
    TCustomForm* frame = Application ? Application->MDIForm() : nullptr;
    HWND client = frame && frame != this && frame->Handle() ? frame->ClientHandle() : nullptr;
    if (!client) throw Exception("Cannot create form " + Name + ": no MDI form is open");
    p.WndParent = client;
    p.Style = (p.Style & ~WS_POPUP) | WS_CHILD;
    p.ExStyle |= WS_EX_MDICHILD;
  }
  if (FVisible) p.Style |= WS_VISIBLE;
  if (!FEnabled) p.Style |= WS_DISABLED;
  if (FMenu && FFormStyle != fsMDIChild) p.Menu = FMenu->Handle();
  if (FClientWidth >= 0 || FClientHeight >= 0) {
    RECT r{0, 0, FClientWidth >= 0 ? FClientWidth : 0, FClientHeight >= 0 ? FClientHeight : 0};
    AdjustWindowRectEx(&r, p.Style, p.Menu != nullptr, p.ExStyle);
    if (FClientWidth >= 0) p.Width = FWidth = r.right - r.left;
    if (FClientHeight >= 0) p.Height = FHeight = r.bottom - r.top;
  }
}

void TCustomForm::CreateWnd() {
  FWindowFormStyle = FFormStyle;
  TWinControl::CreateWnd();
  if (FMenu && FFormStyle != fsMDIChild) FMenu->SetWindowHandle(FHandle);
  if (FFormStyle != fsMDIForm) return;
  CLIENTCREATESTRUCT ccs{WindowMenu ? WindowMenu->Handle() : nullptr, kFirstMDIChildId};
  RECT r{};
  GetClientRect(FHandle, &r);
  // All child styles: each child form's own border and caption buttons stay as it asks.
  FClientHandle =
      CreateWindowExA(WS_EX_CLIENTEDGE, "MDIClient", nullptr,
                      WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_HSCROLL |
                          WS_VSCROLL | MDIS_ALLCHILDSTYLES,
                      0, 0, r.right, r.bottom, FHandle, nullptr, GetModuleHandleA(nullptr), &ccs);
  if (!FClientHandle) {
    DestroyWindow(FHandle); // a frame without its client is no frame
    FHandle = nullptr;
    throw Exception("Cannot create the MDI client window of " + Name);
  }
}

void TCustomForm::DestroyWnd() {
  if (FMenu && FMenu->WindowHandle() == FHandle) FMenu->SetWindowHandle(nullptr);
  HWND client = GetParent(FHandle);
  if (FWindowFormStyle == fsMDIChild && client &&
      (GetWindowLongA(FHandle, GWL_EXSTYLE) & WS_EX_MDICHILD))
    SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(FHandle), 0);
  else
    TWinControl::DestroyWnd();
}

std::vector<TCustomForm*> TCustomForm::MDIChildren() const {
  std::vector<TCustomForm*> children;
  if (!FClientHandle || !Application) return children;
  for (TCustomForm* f : Application->Forms())
    if (f->FFormStyle == fsMDIChild && f->FHandle && GetParent(f->FHandle) == FClientHandle)
      children.push_back(f);
  return children;
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
  if (!FClientHandle) return nullptr;
  auto active = reinterpret_cast<HWND>(SendMessageA(FClientHandle, WM_MDIGETACTIVE, 0, 0));
  return FindWindowObject<TCustomForm>(active);
}

void TCustomForm::CreateHandle() {
  TWinControl::CreateHandle();
  RECT r;
  GetWindowRect(FHandle, &r);
  FWidth = r.right - r.left;
  FHeight = r.bottom - r.top;
  FClientWidth = FClientHeight = -1;
}

int TCustomForm::ClientWidth() const {
  if (FHandle) return ClientRect().right;
  return FClientWidth >= 0 ? FClientWidth : FWidth;
}

int TCustomForm::ClientHeight() const {
  if (FHandle) return ClientRect().bottom;
  return FClientHeight >= 0 ? FClientHeight : FHeight;
}

void TCustomForm::SetClientWidth(int v) {
  if (!FHandle) {
    FClientWidth = v;
    return;
  }
  SetWidth(FWidth + v - ClientWidth());
}

void TCustomForm::SetClientHeight(int v) {
  if (!FHandle) {
    FClientHeight = v;
    return;
  }
  SetHeight(FHeight + v - ClientHeight());
}

void TCustomForm::PlaceOnScreen() {
  if (FPlaced) return;
  FPlaced = true;
  if (FPosition != poScreenCenter && FPosition != poDesktopCenter &&
      FPosition != poMainFormCenter && FPosition != poOwnerFormCenter)
    return;
  // Centred on the whole screen, the parts a taskbar covers included.
  const RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  int w = FWidth, h = FHeight;
  SetBounds(area.left + (area.right - area.left - w) / 2,
            area.top + (area.bottom - area.top - h) / 2, w, h);
}

void TCustomForm::SetVisible(bool v) {
  if (v) {
    HandleNeeded();
    PlaceOnScreen();
  }
  TWinControl::SetVisible(v);
  // Showing a child window activates nothing: the client is asked to make the child active.
  if (v && FWindowFormStyle == fsMDIChild && FHandle)
    SendMessageA(GetParent(FHandle), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(FHandle), 0);
}

void TCustomForm::BringToFront() {
  Show();
  if (IsIconic(FHandle)) ShowWindow(FHandle, SW_RESTORE);
  SetWindowPos(FHandle, FFormStyle == fsStayOnTop ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(FHandle);
}

void TCustomForm::Close() {
  bool isMain = Application && Application->MainForm() == this;
  TCloseAction action = isMain || FFormStyle == fsMDIChild ? caFree : caHide;
  if (OnClose) OnClose(this, action);
  if (action == caNone) return;
  if (isMain) {
    if (Application) Application->Terminate();
  } else if (action == caHide) {
    Hide();
  } else if (action == caMinimize) {
    if (FHandle) ShowWindow(FHandle, SW_MINIMIZE);
  } else {
    Release();
  }
}

void TCustomForm::Release() {
  if (FHandle) PostMessageA(FHandle, CM_RELEASE, 0, 0);
}

void TCustomForm::Dispatch(TMessage& msg) {
  switch (msg.Msg) {
  case WM_CLOSE:
    Close();
    return;
  case CM_RELEASE:
    delete this;
    return;
  case WM_COMMAND:
    // A command of a menu (notify code 0) or of an accelerator (1): the item's OnClick.
    if (TWMCommand(msg).Ctl == nullptr && TWMCommand(msg).NotifyCode <= 1)
      if (TMenuItem* item = TMenuItem::FindByCommand(TWMCommand(msg).ItemId)) {
        item->Click();
        msg.Result = 0;
        return;
      }
    break;
  case CM_MENUCHANGED:
    // An MDI frame's client keeps its window menu, whose handle a rebuild replaced.
    if (FMenu && FClientHandle && FWindowFormStyle == fsMDIForm) {
      SendMessageA(FClientHandle, WM_MDISETMENU, reinterpret_cast<WPARAM>(FMenu->Handle()),
                   reinterpret_cast<LPARAM>(WindowMenu ? WindowMenu->Handle() : nullptr));
      DrawMenuBar(FHandle);
    }
    break;
  case WM_NCDESTROY:
    FClientHandle = nullptr; // the client went with the frame
    break;
  case WM_SHOWWINDOW:
    if (const TWMShowWindow show(msg); show.Show && show.Status == 0) FVisible = true;
    break;
  case WM_WINDOWPOSCHANGED: {
    const WINDOWPOS* wp = TWMWindowPos(msg).WindowPos;
    if (!(wp->flags & SWP_NOMOVE)) {
      FLeft = wp->x;
      FTop = wp->y;
    }
    if (!(wp->flags & SWP_NOSIZE)) {
      FWidth = wp->cx;
      FHeight = wp->cy;
    }
    if (wp->flags & SWP_HIDEWINDOW) FVisible = false;
    if (wp->flags & SWP_SHOWWINDOW) FVisible = true;
    break;
  }
  }
  TWinControl::Dispatch(msg);
}

void TCustomForm::DefaultHandler(TMessage& msg) {
  if (FHandle && (msg.Msg < CM_BASE || msg.Msg >= 0xC000)) {
    if (FWindowFormStyle == fsMDIForm) {
      msg.Result = DefFrameProcA(FHandle, FClientHandle, msg.Msg, msg.WParam, msg.LParam);
      return;
    }
    if (FWindowFormStyle == fsMDIChild) {
      msg.Result = DefMDIChildProcA(FHandle, msg.Msg, msg.WParam, msg.LParam);
      return;
    }
  }
  TWinControl::DefaultHandler(msg);
}

// ---------------------------------------------------------------------------------------------
// TApplication

const TClassInfo& TApplication::StaticClassInfo() {
  static const TClassInfo info{"TApplication", &TComponent::StaticClassInfo(), nullptr, {}};
  return info;
}

static LRESULT CALLBACK AppWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_NCDESTROY) DetachWindowObject(wnd);
  auto* app = FindWindowObject<TApplication>(wnd);
  if (!app) return DefWindowProcA(wnd, msg, wparam, lparam);
  switch (msg) {
  case WM_GETICON:
    return reinterpret_cast<LRESULT>(LoadIconA(GetModuleHandleA(nullptr), "MAINICON"));
  case WM_CLOSE:
    if (app->MainForm()) app->MainForm()->Close();
    return 0;
  }
  return DefWindowProcA(wnd, msg, wparam, lparam);
}

static std::string ExecutableStem() {
  const std::string path = ExecutablePath();
  std::string name = path.substr(FileNameStart(path));
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
  Application = this;
  RegisterStandardClasses();
  Title = ExecutableStem();
  WNDCLASSA wc{};
  wc.lpfnWndProc = AppWndProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hIcon = LoadIconA(wc.hInstance, "MAINICON");
  wc.lpszClassName = "TApplication";
  RegisterClassA(&wc);
  FHandle = CreateWindowExA(0, "TApplication", Title.c_str(),
                            WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                            0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
  if (FHandle) AttachWindowObject(FHandle, this);
}

TApplication::~TApplication() {
  ComponentState |= csDestroying;
  DestroyComponents(); // forms first, while the application still exists
  if (FHandle) {
    DetachWindowObject(FHandle);
    DestroyWindow(FHandle);
  }
  if (Application == this) Application = nullptr;
}

void TApplication::AddForm(TCustomForm* form) {
  FForms.push_back(form);
  if (!FMainForm) FMainForm = form;
}

void TApplication::RemoveForm(TCustomForm* form) {
  FForms.erase(std::remove(FForms.begin(), FForms.end(), form), FForms.end());
  if (FMainForm == form) FMainForm = nullptr;
}

TCustomForm* TApplication::MDIForm() const {
  for (TCustomForm* f : FForms)
    if (f->FormStyle() == fsMDIForm) return f;
  return nullptr;
}

bool TApplication::ProcessMessage(MSG& msg) {
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  HWND active = GetActiveWindow();
  auto* form = FindWindowObject<TCustomForm>(active);
  // An MDI frame's keys for its children (Ctrl+F4, Ctrl+F6) come first.
  if (form && form->ClientHandle() && TranslateMDISysAccel(form->ClientHandle(), &msg)) return true;
  if (form && (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && form->IsShortCut(msg))
    return true;
  // Alt with a character goes to the active form first, wherever the focus is (a menu bar drawn
  // by the form itself opens the item with that accelerator); unanswered, it goes on as usual.
  if (form && msg.message == WM_SYSCHAR &&
      form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0)
    return true;
  if (form && IsDialogMessageA(active, &msg)) return true;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
  return true;
}

bool TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg)) {
    if (FTerminated) return false;
    WaitMessage();
  }
  return !FTerminated;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
}

void TApplication::Run() {
  if (FMainForm && !FTerminated) FMainForm->Show();
  while (HandleMessage()) {
  }
}

void TApplication::Terminate() {
  // Terminated from now on, so that work in progress (a scan, a loop over windows) can stop at
  // once; the quit message ends any message loop that is waiting.
  if (!FTerminated) PostQuitMessage(0);
  FTerminated = true;
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
  HWND owner = FHandle;
  if (FMainForm && FMainForm->HandleAllocated() && IsWindowVisible(FMainForm->WindowHandle()))
    owner = FMainForm->WindowHandle();
  return ::MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
}

void TApplication::ShowError(const std::string& message) {
  std::string text = message;
  if (!text.empty() && text.back() != '.') text += '.';
  MessageBox(text, Title, MB_ICONERROR | MB_OK);
}

void ReportCurrentException() noexcept {
  try {
    try {
      throw;
    } catch (const std::exception& e) {
      if (Application) Application->HandleException(e);
    } catch (...) {
      if (Application) Application->HandleException(Exception("Unknown error"));
    }
  } catch (...) {
    // The report itself failed (no memory for the box): nothing more can be done here.
  }
}

void TApplication::HandleException(const std::exception& e) {
  if (OnException) {
    OnException(this);
    return;
  }
  ShowError(e.what());
}
