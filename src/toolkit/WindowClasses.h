// The link from a window to its object, the toolkit's window classes and the window procedure
// that every toolkit window shares.
#pragma once
#include <windows.h>

#include <string>

class TObject;
class TWinControl;
struct TCreateParams;

// The window-object atom and message: "ControlOfs" followed by the module instance handle and
// the thread identifier, each as 8 upper-case hexadecimal digits. Every toolkit window carries a
// property under this atom that holds its TObject*.
ATOM ControlAtom();
UINT ControlMessage();
const std::string& ControlAtomName();
TObject* FindControlObject(HWND wnd);

// Links a control's window to the control: the "ControlOfs" property and the window's user data,
// which the shared window procedure reads on every message.
void AttachWindowObject(HWND wnd, TWinControl* control);

// Registers the class the parameters name, once: a superclass of their system class (or a class
// of its own), with the shared window procedure. Returns the procedure the toolkit's default
// handling ends in: the system class's, or DefWindowProcA.
WNDPROC EnsureWindowClass(const TCreateParams& params);

// Creates a control's window; the control receives every message of the window from the first
// one on (WM_NCCREATE included). Null when the window cannot be made.
HWND CreateControlWindow(TWinControl* control, const TCreateParams& params);

// The window procedure of every toolkit window: hands each message to the object's WindowProc
// slot, and reports any exception through the application's error box.
LRESULT CALLBACK StdWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);
