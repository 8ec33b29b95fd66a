// The link from a window to its object, the toolkit's window classes and the window procedure
// that every toolkit window shares.
#pragma once
#include <windows.h>

#include "WindowLinks.h"

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
// The object in a window's "ControlOfs" property, as any part of any program reads it.
TObject* FindControlObject(HWND wnd);

// The links of this thread's toolkit windows to their objects (controls, the application,
// the owners of utility windows): the lookup the toolkit itself makes, without a round trip
// through the window manager's property table.
TWindowLinks<TObject*>& WindowObjectLinks();

// The object of a toolkit window of this thread if it is a T, else null.
template <class T>
T* FindWindowObject(HWND wnd) {
  if (!wnd) return nullptr;
  TObject** object = WindowObjectLinks().Find(wnd);
  return object ? dynamic_cast<T*>(*object) : nullptr;
}

// Links a window to its object: the "ControlOfs" property and the link the toolkit reads.
// DetachWindowObject drops both.
void AttachWindowObject(HWND wnd, TObject* object);
void DetachWindowObject(HWND wnd);

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
