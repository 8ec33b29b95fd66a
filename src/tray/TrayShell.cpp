#include "TrayShell.h"
#include "UtilWindows.h"

#include <algorithm>
#include <utility>

UINT TrayTaskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");

namespace {

std::atomic<int> gRunningTimerThreads{0};

// The short, first form of the shell's record: up to the end of the 64-byte tip (88 bytes in
// 32-bit programs, 104 in 64-bit ones, where the window and icon handles are 8 bytes wide).
constexpr DWORD kNotifyRecordSize = NOTIFYICONDATAA_V1_SIZE;
constexpr size_t kTipBytes = 63;

// The tip: the part of the hint before its first "|", cut to 63 bytes without splitting a
// double-byte character.
std::string TipOf(const std::string& hint) {
  std::string tip = hint.substr(0, hint.find('|'));
  size_t end = 0;
  while (end < tip.size()) {
    size_t step = IsDBCSLeadByte(static_cast<BYTE>(tip[end])) && end + 1 < tip.size() ? 2 : 1;
    if (end + step > kTipBytes) break;
    end += step;
  }
  tip.resize(end);
  return tip;
}

TShiftState KeyboardShift() {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TTimerThread

TTimerThread::TTimerThread(TTrayIcon* owner, bool createSuspended, unsigned interval)
    : TThread(true), Interval(interval), FOwner(owner) {
  FreeOnTerminate = true;
  ++gRunningTimerThreads;
  if (!createSuspended) Resume();
}

int TTimerThread::Running() {
  return gRunningTimerThreads.load();
}

void TTimerThread::Execute() {
  struct TCount {
    ~TCount() { --gRunningTimerThreads; }
  } count;
  const auto ending = [this] { return Terminated() || (Application && Application->Terminated()); };
  while (!ending()) {
    // A period below the system's timer minimum is that minimum, as for SetTimer: an interval
    // of 0 must not turn the loop into a busy one.
    if (!Pause(std::max<unsigned>(Interval.load(), USER_TIMER_MINIMUM)) || ending()) break;
    // The owner detaches (terminates) the thread on the user-interface thread, so checking
    // there, inside the synchronized step, is free of races. A step that cannot be handed over
    // (the user-interface thread's window is gone) ends the thread.
    if (!Synchronize([this] {
          if (!Terminated()) FOwner->AdvanceFrame(this);
        }))
      break;
  }
  std::lock_guard<std::mutex> g(FEndLock);
  if (!FDetached) {
    // Ended before the owner let go: the owner still points here, so it frees the object.
    FEndedAlone = true;
    FreeOnTerminate = false;
  }
}

void TTimerThread::Detach() {
  bool endedAlone = false;
  {
    std::lock_guard<std::mutex> g(FEndLock);
    FDetached = true;
    endedAlone = FEndedAlone;
  }
  if (endedAlone)
    delete this; // Execute has returned; the destructor waits for the thread's last steps
  else
    Release();
}

// ---------------------------------------------------------------------------------------------
// TTrayIcon

const TClassInfo& TTrayIcon::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i{"TTrayIcon",
                 &TComponent::StaticClassInfo(),
                 [](TComponent* o) -> TComponent* { return new TTrayIcon(o); },
                 {}};
    i.Props = {BoolProp("Active", &TTrayIcon::Active, &TTrayIcon::SetActive),
               BoolProp("Enabled", &TTrayIcon::Enabled, &TTrayIcon::SetEnabled),
               StrProp("Hint", &TTrayIcon::Hint, &TTrayIcon::SetHint),
               BoolProp("Animated", &TTrayIcon::Animated, &TTrayIcon::SetAnimated),
               IntProp("Interval", &TTrayIcon::Interval, &TTrayIcon::SetInterval),
               BoolProp("ShowDesign", &TTrayIcon::ShowDesign, &TTrayIcon::SetShowDesign),
               SenderEventProp("OnClick", &TTrayIcon::OnClick),
               EventProp("OnDblClick", &TTrayIcon::OnDblClick),
               SenderEventProp("OnMouseMove", &TTrayIcon::OnMouseMove),
               SenderEventProp("OnMouseDown", &TTrayIcon::OnMouseDown),
               SenderEventProp("OnMouseUp", &TTrayIcon::OnMouseUp)};
    TPropInfo icon;
    icon.Name = "Icon";
    icon.Kind = pkBinary;
    icon.Get = [](const TObject* o) {
      return std::string(static_cast<const TTrayIcon*>(o)->Icon()->Empty() ? "" : "(TIcon)");
    };
    icon.SetBinary = [](TObject* o, const std::vector<uint8_t>& stored) {
      static_cast<TTrayIcon*>(o)->Icon()->ReadStored(stored);
    };
    i.Props.push_back(icon);
    TPropInfo icons;
    icons.Name = "Icons";
    icons.Kind = pkBinary;
    icons.Get = [](const TObject* o) {
      return std::string(static_cast<const TTrayIcon*>(o)->Icons()->Count() ? "(TIconList)" : "");
    };
    icons.SetBinary = [](TObject* o, const std::vector<uint8_t>& stored) {
      static_cast<TTrayIcon*>(o)->Icons()->ReadStored(stored);
    };
    i.Props.push_back(icons);
    TPropInfo popup;
    popup.Name = "PopupMenu";
    popup.Kind = pkComponent;
    popup.Get = [](const TObject* o) {
      TPopupMenu* m = static_cast<const TTrayIcon*>(o)->PopupMenu();
      return m ? m->Name : std::string();
    };
    popup.SetComponent = [](TObject* o, TComponent* c) {
      static_cast<TTrayIcon*>(o)->SetPopupMenu(dynamic_cast<TPopupMenu*>(c));
    };
    i.Props.push_back(popup);
    return i;
  }();
  return info;
}

void RegisterTrayClasses() {
  RegisterClassInfo(&TTrayIcon::StaticClassInfo());
}

TTrayIcon::TTrayIcon(TComponent* owner)
    : TComponent(owner), FIcon(std::make_unique<TIcon>()), FIcons(std::make_unique<TIconList>()) {
  // A hidden top-level window (not a message-only one): the "TaskbarCreated" broadcast reaches
  // only top-level windows.
  FWindow = AllocateHWnd(this, [this](TMessage& m) { WndProc(m); });
  FNotifyRecord.cbSize = kNotifyRecordSize;
  FNotifyRecord.hWnd = FWindow;
  FIcon->OnChange = [this] { Refresh(); };
  FIcons->OnChange = [this] { Refresh(); };
}

TTrayIcon::~TTrayIcon() {
  FEnabled = false;
  FIcon->OnChange = nullptr;
  FIcons->OnChange = nullptr;
  StopAnimation();
  Deactivate();
  if (FPopupMenu) RemoveFreeNotification(FPopupMenu);
  DeallocateHWnd(FWindow);
  FWindow = nullptr;
}

void TTrayIcon::Loaded() {
  TComponent::Loaded();
  if (FActive) Activate();
}

void TTrayIcon::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FPopupMenu) FPopupMenu = nullptr;
}

void TTrayIcon::SetPopupMenu(TPopupMenu* menu) {
  if (menu == FPopupMenu) return;
  if (FPopupMenu) RemoveFreeNotification(FPopupMenu);
  FPopupMenu = menu;
  if (menu) FreeNotification(menu);
}

void TTrayIcon::SetActive(bool v) {
  if (v == FActive) return;
  FActive = v;
  if (Loading()) return;
  if (v)
    Activate();
  else
    Deactivate();
}

void TTrayIcon::SetHint(const std::string& v) {
  FHint = v;
  Refresh();
}

void TTrayIcon::SetInterval(int ms) {
  FInterval = static_cast<uint16_t>(std::clamp(ms, 0, 0xFFFF));
  if (FThread) FThread->Interval = FInterval;
}

const TIcon* TTrayIcon::CurrentIcon() const {
  if (FAnimated && FIcons->Count() > 0)
    return FIcons->Item(std::clamp(FFrameIndex, 0, FIcons->Count() - 1));
  return FIcon.get();
}

void TTrayIcon::FillNotifyRecord() {
  NOTIFYICONDATAA& r = FNotifyRecord;
  r = {};
  r.cbSize = kNotifyRecordSize;
  r.hWnd = FWindow;
  r.uID = 0;
  r.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  r.uCallbackMessage = WM_TRAYNOTIFY;
  const TIcon* icon = CurrentIcon();
  HICON handle = icon ? icon->Handle() : nullptr;
  r.hIcon = handle ? handle : reinterpret_cast<HICON>(static_cast<intptr_t>(-1));
  const std::string tip = TipOf(FHint);
  std::copy(tip.begin(), tip.end(), r.szTip);
  r.szTip[tip.size()] = '\0';
}

void TTrayIcon::Activate() {
  Deactivate();
  const TIcon* icon = CurrentIcon();
  if (!icon || icon->Empty() || !icon->Handle()) return;
  FClicked = 0;
  FillNotifyRecord();
  FAdded = Shell_NotifyIconA(NIM_ADD, &FNotifyRecord) != 0;
  if (FNotifyRecord.szTip[0] == '\0' && FAdded) Shell_NotifyIconA(NIM_MODIFY, &FNotifyRecord);
  if (FAnimated && FThread)
    while (FThread->Suspended())
      FThread->Resume();
}

void TTrayIcon::Deactivate() {
  Shell_NotifyIconA(NIM_DELETE, &FNotifyRecord);
  FAdded = false;
  FClicked = 0;
  if (FAnimated && FThread && !FThread->Suspended()) FThread->Suspend();
}

void TTrayIcon::Refresh() {
  if (FIcons->Count() == 0) StopAnimation();
  if (FAdded) {
    const TIcon* icon = CurrentIcon();
    if (!icon || icon->Empty() || !icon->Handle()) {
      Deactivate();
    } else {
      FillNotifyRecord();
      Shell_NotifyIconA(NIM_MODIFY, &FNotifyRecord);
    }
  } else if (FActive && !Loading() && !Destroying()) {
    Activate();
  }
}

void TTrayIcon::SetAnimated(bool v) {
  if (v) {
    if (FIcons->Count() > 0 && !FAnimated) {
      FThread = new TTimerThread(this, !FAdded, FInterval);
      FAnimated = true;
    }
  } else {
    StopAnimation();
  }
  FFrameIndex = 0;
  Refresh();
}

void TTrayIcon::StopAnimation() {
  FAnimated = false;
  if (TTimerThread* thread = std::exchange(FThread, nullptr)) thread->Detach();
}

void TTrayIcon::AdvanceFrame(TTimerThread* thread) {
  // A step already on its way when the thread was suspended (the icon left the shell) is
  // dropped: a suspended animation stands still.
  if (thread != FThread || !FAnimated || FIcons->Count() == 0 || thread->Suspended()) return;
  FFrameIndex = FFrameIndex + 1 >= FIcons->Count() ? 0 : FFrameIndex + 1;
  Refresh();
}

// ---------------------------------------------------------------------------------------------
// Messages and events

void TTrayIcon::WndProc(TMessage& msg) {
  if (msg.Msg == TrayTaskbarCreatedMessage && TrayTaskbarCreatedMessage != 0) {
    // The taskbar was made anew: the icon goes into the new one.
    SetActive(false);
    SetActive(true);
  } else if (msg.Msg == WM_TRAYNOTIFY && FEnabled) {
    HandleCallback(static_cast<UINT>(msg.LParam));
    return;
  }
  msg.Result = DefWindowProcA(FWindow, msg.Msg, msg.WParam, msg.LParam);
}

void TTrayIcon::HandleCallback(UINT mouseMessage) {
  POINT p{};
  GetCursorPos(&p);
  const TShiftState shift = KeyboardShift();
  switch (mouseMessage) {
  case WM_MOUSEMOVE:
    MouseMove(shift, p.x, p.y);
    break;
  case WM_LBUTTONDOWN:
    MouseDown(mbLeft, shift | ssLeft, p.x, p.y);
    FClicked |= kClickedLeft;
    break;
  case WM_LBUTTONUP:
    if (FClicked & kClickedLeft) {
      FClicked &= ~kClickedLeft;
      Click(mbLeft, shift, p.x, p.y);
    }
    MouseUp(mbLeft, shift | ssLeft, p.x, p.y);
    break;
  case WM_LBUTTONDBLCLK:
    DblClick();
    MouseDown(mbLeft, shift | ssDouble, p.x, p.y);
    break;
  case WM_RBUTTONDOWN:
    MouseDown(mbRight, shift | ssRight, p.x, p.y);
    FClicked |= kClickedRight;
    break;
  case WM_RBUTTONUP:
    if (FClicked & kClickedRight) {
      FClicked &= ~kClickedRight;
      Click(mbRight, shift, p.x, p.y);
    }
    MouseUp(mbRight, shift | ssRight, p.x, p.y);
    break;
  case WM_RBUTTONDBLCLK:
    MouseDown(mbRight, shift | ssDouble, p.x, p.y);
    break;
  case WM_MBUTTONDOWN:
    MouseDown(mbMiddle, shift | ssMiddle, p.x, p.y);
    break;
  case WM_MBUTTONUP:
    MouseUp(mbMiddle, shift | ssMiddle, p.x, p.y);
    break;
  case WM_MBUTTONDBLCLK:
    MouseDown(mbMiddle, shift | ssDouble, p.x, p.y);
    break;
  }
}

void TTrayIcon::DblClick() {
  if (FPopupMenu) {
    for (TMenuItem* item : FPopupMenu->Items()->Items())
      if (item->Default() && item->Enabled()) {
        item->Click();
        return;
      }
  }
  if (OnDblClick) OnDblClick(this);
}

void TTrayIcon::Click(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbRight && Popup(x, y)) return;
  if (OnClick) OnClick(this, button, shift, x, y);
}

void TTrayIcon::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TTrayIcon::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TTrayIcon::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TTrayIcon::RaiseWindow(HWND wnd, bool restore) {
  if (!IsWindowEnabled(wnd)) return;
  SetForegroundWindow(wnd);
  if (restore && IsWindowVisible(wnd)) {
    if (!IsZoomed(wnd)) SendMessageA(wnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    SetFocus(wnd);
  }
}

bool TTrayIcon::Popup(int x, int y) {
  if (!FActive || !FPopupMenu || !FPopupMenu->AutoPopup) return false;
  FPopupMenu->PopupComponent = this;
  // A mouse capture or drag in progress in this program ends first.
  if (HWND capture = GetCapture()) {
    DWORD pid = 0;
    GetWindowThreadProcessId(capture, &pid);
    if (pid == GetCurrentProcessId()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
  }
  RaiseWindow(FWindow, false);
  if (Application) Application->ProcessMessages();
  struct TRaiseAfter {
    HWND Wnd;
    ~TRaiseAfter() { RaiseWindow(Wnd, false); }
  } raiseAfter{FWindow};
  FPopupMenu->Popup(x, y);
  return true;
}
