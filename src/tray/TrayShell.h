// TTrayIcon: one icon in the notification area of the taskbar. It turns the shell's callback
// messages into mouse events, opens its popup menu on a right click, comes back when the
// taskbar restarts, and can animate the icon through a list of icons with a background thread.
#pragma once
#include "Forms.h"
#include "Menus.h"
#include "Threads.h"
#include "TrayIconList.h"

#include <shellapi.h>

#include <atomic>
#include <memory>

// The message the shell sends the icon's window; its second parameter is the mouse message.
constexpr UINT WM_TRAYNOTIFY = 0xB054;
// The number of the registered window message "TaskbarCreated" (0 if registering failed).
extern UINT TrayTaskbarCreatedMessage;

class TTrayIcon;

// Advances a tray icon's animation every Interval milliseconds. The advance itself runs on the
// user-interface thread (Synchronize), so it never races the component's other changes.
class TTimerThread : public TThread {
public:
  TTimerThread(TTrayIcon* owner, bool createSuspended, unsigned interval);
  // The owner lets go: the thread ends and frees itself (or, when it has already ended on its
  // own, is freed here). Called on the user-interface thread; the object may be gone after it.
  void Detach();
  std::atomic<unsigned> Interval;
  // Threads of this class now running (for checking that they end).
  static int Running();

protected:
  void Execute() override;

private:
  TTrayIcon* FOwner;
  // Set under FEndLock: whether the owner has let go, and whether Execute returned before it
  // did (the program ending, or its step refused by the user-interface thread). A thread that
  // ended on its own stays allocated, so that the owner's pointer to it stays valid.
  std::mutex FEndLock;
  bool FDetached = false;
  bool FEndedAlone = false;
};

class TTrayIcon : public TComponent {
  TK_DECLARE_CLASS(TTrayIcon)
public:
  explicit TTrayIcon(TComponent* owner);
  ~TTrayIcon() override;

  bool Active() const { return FActive; }
  void SetActive(bool v);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v) { FEnabled = v; }
  std::string Hint() const { return FHint; }
  void SetHint(const std::string& v);
  TIcon* Icon() const { return FIcon.get(); }
  void SetIcon(const TIcon* icon) { FIcon->Assign(icon); }
  TIconList* Icons() const { return FIcons.get(); }
  void SetIcons(const TIconList* icons) { FIcons->Assign(icons); }
  bool Animated() const { return FAnimated; }
  void SetAnimated(bool v);
  int Interval() const { return FInterval; }
  void SetInterval(int ms);
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* menu);
  bool ShowDesign() const { return FShowDesign; }
  void SetShowDesign(bool v) { FShowDesign = v; }

  TMouseEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;

  // The hidden top-level window that receives the shell's callback messages.
  HWND WindowHandle() const { return FWindow; }
  // Whether the shell accepted the icon (the last add succeeded).
  bool Added() const { return FAdded; }
  int FrameIndex() const { return FFrameIndex; }
  const NOTIFYICONDATAA& NotifyRecord() const { return FNotifyRecord; }
  // The icon shown: while animating with icons, the current frame; otherwise Icon.
  const TIcon* CurrentIcon() const;

  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  // Fills NotifyRecord for the shell.
  virtual void FillNotifyRecord();

  // Brings a window to the foreground (when enabled), optionally restoring it.
  static void RaiseWindow(HWND wnd, bool restore);

protected:
  virtual void DblClick();
  virtual void Click(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  // Opens the popup menu at a screen point; false when it was not shown.
  virtual bool Popup(int x, int y);

  void Activate();
  void Deactivate();
  // Brings the shell's icon up to date after any change.
  void Refresh();

private:
  friend class TTimerThread;
  void WndProc(TMessage& msg);
  void HandleCallback(UINT mouseMessage);
  void StopAnimation();
  void AdvanceFrame(TTimerThread* thread);

  enum : unsigned { kClickedLeft = 1, kClickedRight = 2 };

  HWND FWindow = nullptr;
  bool FActive = true;
  bool FAdded = false;
  bool FAnimated = false;
  bool FEnabled = true;
  unsigned FClicked = 0;
  int FFrameIndex = -1;
  uint16_t FInterval = 150;
  NOTIFYICONDATAA FNotifyRecord{};
  std::unique_ptr<TIcon> FIcon;
  std::unique_ptr<TIconList> FIcons;
  TTimerThread* FThread = nullptr;
  std::string FHint;
  bool FShowDesign = false;
  TPopupMenu* FPopupMenu = nullptr;
};

// Registers the tray classes with the stored-description reader.
void RegisterTrayClasses();
