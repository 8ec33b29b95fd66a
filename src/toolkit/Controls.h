// Controls of the toolkit: windowless and windowed controls, their message path and the
// window classes they are registered under.
#pragma once
#include "Classes.h"
#include "Graphics.h"
#include "Handles.h"
#include "Messages.h"
#include "WindowClasses.h"

#include <map>

// ---------------------------------------------------------------------------------------------
// Messages

// A message handler slot: every message of a control passes through its WindowProc.
using TWndMethod = std::function<void(TMessage&)>;
enum TMouseButton { mbLeft, mbRight, mbMiddle };
// Keys held and buttons concerned when a mouse event happens.
enum TShiftStateBit : unsigned {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64
};
using TShiftState = unsigned;
using TMouseEvent =
    std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
// The shift state of a mouse message's MK_ key flags, Alt read from the keyboard.
TShiftState KeysToShiftState(UINT keys);

// The toolkit's own messages.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_DIALOGKEY = 0xB005;
constexpr UINT CM_DIALOGCHAR = 0xB006;
constexpr UINT CM_FOCUSCHANGED = 0xB007;
constexpr UINT CM_VISIBLECHANGED = 0xB00B;
constexpr UINT CM_ENABLEDCHANGED = 0xB00C;
constexpr UINT CM_MOUSEENTER = 0xB013;
constexpr UINT CM_MOUSELEAVE = 0xB014;
constexpr UINT CM_MENUCHANGED = 0xB015;
constexpr UINT CM_EXIT = 0xB01B;
constexpr UINT CM_RELEASE = 0xB021;
constexpr UINT CM_RECREATEWND = 0xB033; // the window is about to be destroyed and made anew
// Notifications reflected from a parent to the child they concern: CN_BASE + the message.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;   // 0xBC4E
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND; // 0xBD11
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL; // 0xBD15
// CN_NOTIFY with this lParam is the skin engine's "skinned" notice to a window it has taken
// over, never a reflected notification: nothing may read it as a notification header.
constexpr LPARAM kSkinnedNoticeParam = 0x41A2;
inline bool IsSkinnedNotice(const TMessage& m) {
  return m.Msg == CN_NOTIFY && m.LParam == kSkinnedNoticeParam;
}

// ---------------------------------------------------------------------------------------------
// Controls

class TWinControl;
class TPopupMenu;

class TControl : public TComponent {
  TK_DECLARE_CLASS(TControl)
public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  // Every message of the control passes through this slot: its window's messages, those sent
  // with Perform and, for windowless controls, the paint and mouse messages routed by the
  // parent. Replace it to watch or change messages; restore the saved one afterwards.
  TWndMethod WindowProc;
  LRESULT Perform(UINT msg, WPARAM wparam = 0, LPARAM lparam = 0);
  // The handler WindowProc starts with; dispatches by message number.
  virtual void WndProc(TMessage& msg);
  // Per-message handlers of this instance, run before the class's own handling. A handler that
  // wants the default processing calls Inherited(msg).
  void SetMessageHandler(UINT msg, TWndMethod handler);
  void Inherited(TMessage& msg) { Dispatch(msg); }

  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* parent);

  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
  void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
  void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
  void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
  virtual RECT ClientRect() const { return {0, 0, FWidth, FHeight}; }
  virtual int ClientWidth() const { return ClientRect().right; }
  virtual int ClientHeight() const { return ClientRect().bottom; }
  virtual void SetClientWidth(int v) { SetWidth(v); }
  virtual void SetClientHeight(int v) { SetHeight(v); }
  POINT ClientToScreen(POINT p) const;

  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool v);

  virtual std::string GetText() const { return FText; }
  virtual void SetText(const std::string& text);
  std::string Caption() const { return GetText(); }
  void SetCaption(const std::string& text) { SetText(text); }

  TColor Color() const { return FColor; }
  virtual void SetColor(TColor c);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool v);
  TFont Font;
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool v);
  std::string Hint;
  bool ShowHint = false;
  bool ParentShowHint = true;
  TPopupMenu* PopupMenu = nullptr;

  TNotifyEvent OnClick;
  virtual void Click();
  TMouseEvent OnMouseDown;
  // A button went down over the control (the window's press, or one routed to a windowless
  // control): runs OnMouseDown.
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void Invalidate();
  bool MouseInControl() const { return FMouseInControl; }
  // A windowless control paints itself when the parent routes WM_PAINT with a DC in WParam.
  virtual bool IsWindowless() const { return true; }

protected:
  friend class TWinControl;
  // Class handling by message number; ends in DefaultHandler.
  virtual void Dispatch(TMessage& msg);
  virtual void DefaultHandler(TMessage& msg) {}
  virtual void FontChanged();
  virtual void ParentFontChanged();
  virtual void ParentColorChanged();
  void Notification(TComponent* component, TOperation operation) override;

  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  bool FVisible = true, FEnabled = true;
  std::string FText;
  TColor FColor = clBtnFace;
  bool FParentColor = true, FParentFont = true;
  bool FMouseInControl = false;
  std::map<UINT, TWndMethod> FMessageHandlers;
};

struct TCreateParams {
  std::string Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  std::string WinClassName;           // the class registered for the window
  const char* SysClassName = nullptr; // the system class it is a superclass of, or none
  UINT ClassStyle = CS_DBLCLKS;
  HMENU Menu = nullptr;
};

class TWinControl : public TControl {
  TK_DECLARE_CLASS(TWinControl)
public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  HWND Handle();
  HWND WindowHandle() const { return FHandle; }
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded() { Handle(); }
  // Destroys the window and makes it anew (the object and its state stay).
  void RecreateWnd();

  // Children: all, and the windowed ones in tab order.
  const std::vector<TControl*>& Controls() const { return FControls; }
  const std::vector<TWinControl*>& TabList() const { return FTabList; }
  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop = false;
  // Paints the windowless children onto dc (client coordinates of this control).
  void PaintControls(HDC dc);
  TControl* ControlAtPos(POINT p) const; // windowless child under a client point

  bool Focused() const;
  void SetFocus();

  void SetBounds(int left, int top, int width, int height) override;
  RECT ClientRect() const override;
  void SetVisible(bool v) override;
  void SetEnabled(bool v) override;
  std::string GetText() const override;
  void SetText(const std::string& text) override;
  void Invalidate() override;
  bool IsWindowless() const override { return false; }

  // Brush of the control's colour, for backgrounds.
  HBRUSH Brush();

protected:
  friend class TControl;
  friend LRESULT CALLBACK StdWndProc(HWND, UINT, WPARAM, LPARAM);
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateWnd();
  virtual void CreateHandle();
  virtual void DestroyHandle();
  // Destroys the window itself (its child windows go with it); DestroyHandle calls it.
  virtual void DestroyWnd();
  // Saves state held by the window before it goes (list rows, text), and gives it back.
  virtual void SaveWindowState() {}
  virtual void RestoreWindowState() {}
  void Dispatch(TMessage& msg) override;
  void DefaultHandler(TMessage& msg) override;
  void FontChanged() override;
  void ParentColorChanged() override;
  virtual void PaintWindow(HDC dc) {}
  void InsertControl(TControl* c);
  void RemoveControl(TControl* c);
  void UpdateMouseInControl(const TMessage& msg);

  HWND FHandle = nullptr;
  WNDPROC FDefWndProc = nullptr;
  std::vector<TControl*> FControls;
  std::vector<TWinControl*> FTabList;
  TBrushHandle FBrush;
  TColor FBrushColor = clNone;
  TControl* FMouseControl = nullptr; // windowless child the pointer is over
  bool FDestroyingHandle = false;
};

// A windowless control drawn by its parent (labels, speed buttons).
class TGraphicControl : public TControl {
  TK_DECLARE_CLASS(TGraphicControl)
public:
  using TControl::TControl;

protected:
  void Dispatch(TMessage& msg) override;
  virtual void Paint(HDC dc) {}
};

// A windowed control that paints itself.
class TCustomControl : public TWinControl {
  TK_DECLARE_CLASS(TCustomControl)
public:
  using TWinControl::TWinControl;

protected:
  void PaintWindow(HDC dc) override { Paint(dc); }
  virtual void Paint(HDC dc) {}
};

// Registers the toolkit's standard classes with the stored-description reader.
void RegisterStandardClasses();
