// Window messages as the toolkit hands them to handlers: the raw message (TMessage) and records
// that read its parameters under their names, so that no handler unpacks a WPARAM or an LPARAM
// by hand. A record is made from the message where it is handled: TWMMouse mouse(msg).
#pragma once
#include <windows.h>

#include <commctrl.h>

struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// The signed coordinates packed in an LPARAM (negative on a monitor left of or above the
// primary one).
inline int GET_X_LPARAM_(LPARAM l) {
  return static_cast<short>(LOWORD(l));
}
inline int GET_Y_LPARAM_(LPARAM l) {
  return static_cast<short>(HIWORD(l));
}

// WM_MOUSEMOVE, the button messages: the key and button state, and the point in client
// coordinates.
struct TWMMouse {
  UINT Keys;
  int X, Y;
  explicit TWMMouse(const TMessage& m)
      : Keys(static_cast<UINT>(m.WParam)), X(GET_X_LPARAM_(m.LParam)), Y(GET_Y_LPARAM_(m.LParam)) {}
  POINT Pos() const { return {X, Y}; }
};

// WM_CONTEXTMENU: the window clicked and the point in screen coordinates; FromKeyboard when the
// menu was asked for from the keyboard (no point given).
struct TWMContextMenu {
  HWND Wnd;
  int X, Y;
  bool FromKeyboard;
  explicit TWMContextMenu(const TMessage& m)
      : Wnd(reinterpret_cast<HWND>(m.WParam)), X(GET_X_LPARAM_(m.LParam)),
        Y(GET_Y_LPARAM_(m.LParam)), FromKeyboard(m.LParam == -1) {}
  POINT Pos() const { return {X, Y}; }
};

// WM_KEYDOWN, WM_KEYUP, WM_CHAR and their system variants: the key (or character) and the
// repeat count, scan code and flags.
struct TWMKey {
  UINT CharCode;
  LPARAM KeyData;
  explicit TWMKey(const TMessage& m) : CharCode(static_cast<UINT>(m.WParam)), KeyData(m.LParam) {}
  UINT RepeatCount() const { return LOWORD(KeyData); }
  bool WasDown() const { return (KeyData & (1 << 30)) != 0; }
};

// WM_SYSCOMMAND: the command without the low four bits the system uses itself (a caption double
// click sends 0xF032 for SC_MAXIMIZE), and the point in screen coordinates for mouse commands.
struct TWMSysCommand {
  UINT CmdType;
  int X, Y;
  explicit TWMSysCommand(const TMessage& m)
      : CmdType(static_cast<UINT>(m.WParam) & 0xFFF0), X(GET_X_LPARAM_(m.LParam)),
        Y(GET_Y_LPARAM_(m.LParam)) {}
};

// WM_SIZE: the kind of change (SIZE_RESTORED, SIZE_MINIMIZED, ...) and the new client size.
struct TWMSize {
  UINT SizeType;
  int Width, Height;
  explicit TWMSize(const TMessage& m)
      : SizeType(static_cast<UINT>(m.WParam)), Width(LOWORD(m.LParam)), Height(HIWORD(m.LParam)) {}
};

// WM_PAINT (and WM_PRINTCLIENT, WM_ERASEBKGND): the device context given with the message, or
// null when the window must get its own (WM_PAINT sent by the system).
struct TWMPaint {
  HDC DC;
  explicit TWMPaint(const TMessage& m) : DC(reinterpret_cast<HDC>(m.WParam)) {}
};

// WM_COMMAND (and CN_COMMAND): the item or control identifier, the notification code (0 for a
// menu, 1 for an accelerator) and the control that sent it (null for menus and accelerators).
struct TWMCommand {
  UINT ItemId;
  UINT NotifyCode;
  HWND Ctl;
  explicit TWMCommand(const TMessage& m)
      : ItemId(LOWORD(m.WParam)), NotifyCode(HIWORD(m.WParam)),
        Ctl(reinterpret_cast<HWND>(m.LParam)) {}
};

// WM_NOTIFY (and CN_NOTIFY): the control identifier and the notification's header.
struct TWMNotify {
  UINT IdCtrl;
  NMHDR* NMHdr;
  explicit TWMNotify(const TMessage& m)
      : IdCtrl(static_cast<UINT>(m.WParam)), NMHdr(reinterpret_cast<NMHDR*>(m.LParam)) {}
};

// WM_CTLCOLOR* (and their CN_ reflections): the child's device context and window.
struct TWMCtlColor {
  HDC ChildDC;
  HWND ChildWnd;
  explicit TWMCtlColor(const TMessage& m)
      : ChildDC(reinterpret_cast<HDC>(m.WParam)), ChildWnd(reinterpret_cast<HWND>(m.LParam)) {}
};

// WM_HSCROLL, WM_VSCROLL: the scroll request, the thumb position it carries (for SB_THUMB*),
// and the scroll bar control that sent it (null for a window's own scroll bars).
struct TWMScroll {
  UINT ScrollCode;
  int Pos;
  HWND ScrollBar;
  explicit TWMScroll(const TMessage& m)
      : ScrollCode(LOWORD(m.WParam)), Pos(HIWORD(m.WParam)),
        ScrollBar(reinterpret_cast<HWND>(m.LParam)) {}
};

// WM_DRAWITEM: the control identifier and what to draw.
struct TWMDrawItem {
  UINT Ctl;
  DRAWITEMSTRUCT* DrawItemStruct;
  explicit TWMDrawItem(const TMessage& m)
      : Ctl(static_cast<UINT>(m.WParam)),
        DrawItemStruct(reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)) {}
};

// WM_MEASUREITEM: the control identifier and what to measure.
struct TWMMeasureItem {
  UINT IdCtl;
  MEASUREITEMSTRUCT* MeasureItemStruct;
  explicit TWMMeasureItem(const TMessage& m)
      : IdCtl(static_cast<UINT>(m.WParam)),
        MeasureItemStruct(reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam)) {}
};

// WM_SETTEXT: the new text (null taken as empty).
struct TWMSetText {
  const char* Text;
  explicit TWMSetText(const TMessage& m)
      : Text(m.LParam ? reinterpret_cast<const char*>(m.LParam) : "") {}
};

// WM_SHOWWINDOW: whether the window is being shown, and why (0 when ShowWindow was called).
struct TWMShowWindow {
  bool Show;
  UINT Status;
  explicit TWMShowWindow(const TMessage& m)
      : Show(m.WParam != 0), Status(static_cast<UINT>(m.LParam)) {}
};

// WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED: the position, size and flags.
struct TWMWindowPos {
  WINDOWPOS* WindowPos;
  explicit TWMWindowPos(const TMessage& m) : WindowPos(reinterpret_cast<WINDOWPOS*>(m.LParam)) {}
};
