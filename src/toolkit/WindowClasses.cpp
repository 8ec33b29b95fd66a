#include "WindowClasses.h"
#include "Controls.h"
#include "Forms.h"

#include <cstdio>
#include <map>
#include <utility>

// ---------------------------------------------------------------------------------------------
// The window-object atom

namespace {
struct TControlAtom {
  std::string Name;
  ATOM Atom = 0;
  UINT Message = 0;
  TControlAtom() {
    char buf[64];
    std::snprintf(buf, sizeof buf, "ControlOfs%.8X%.8X",
                  static_cast<unsigned>(reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr))),
                  static_cast<unsigned>(GetCurrentThreadId()));
    Name = buf;
    Atom = GlobalAddAtomA(buf);
    Message = RegisterWindowMessageA(buf);
  }
  ~TControlAtom() {
    if (Atom) GlobalDeleteAtom(Atom);
  }
};
TControlAtom& TheAtom() {
  static TControlAtom atom;
  return atom;
}
} // namespace

ATOM ControlAtom() {
  return TheAtom().Atom;
}
UINT ControlMessage() {
  return TheAtom().Message;
}
const std::string& ControlAtomName() {
  return TheAtom().Name;
}

TObject* FindControlObject(HWND wnd) {
  if (!wnd || !ControlAtom()) return nullptr;
  return static_cast<TObject*>(GetPropA(wnd, MAKEINTATOM(ControlAtom())));
}

TWindowLinks<TObject*>& WindowObjectLinks() {
  // Never freed: windows may still get messages while the thread's objects go at exit.
  thread_local auto* links = new TWindowLinks<TObject*>;
  return *links;
}

void AttachWindowObject(HWND wnd, TObject* object) {
  SetPropA(wnd, MAKEINTATOM(ControlAtom()), object);
  WindowObjectLinks().Link(wnd, object);
}

void DetachWindowObject(HWND wnd) {
  RemovePropA(wnd, MAKEINTATOM(ControlAtom()));
  WindowObjectLinks().Unlink(wnd);
}

// ---------------------------------------------------------------------------------------------
// Window classes and the window procedure shared by every toolkit window

namespace {
struct TClassRecord {
  WNDPROC DefProc;
};
std::map<std::string, TClassRecord>& ClassRecords() {
  static std::map<std::string, TClassRecord> records;
  return records;
}
} // namespace

// The object of a toolkit window is kept twice: in the "ControlOfs" property, where every part
// of every program can find it, and in the window links, which the window procedure reads on
// every message. A window of a toolkit class is only ever linked to a TWinControl (see
// CreateControlWindow), so the link is cast without a check.
LRESULT CALLBACK StdWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto& links = WindowObjectLinks();
  TObject** object = links.Find(wnd);
  if (!object) {
    object = links.FindOrClaim(wnd); // the window being made by CreateControlWindow
    if (!object) return DefWindowProcA(wnd, msg, wparam, lparam);
    auto* created = static_cast<TWinControl*>(*object);
    created->FHandle = wnd;
    SetPropA(wnd, MAKEINTATOM(ControlAtom()), *object);
  }
  auto* control = static_cast<TWinControl*>(*object);
  TMessage m{msg, wparam, lparam, 0};
  GuardedCall([&] { control->WindowProc(m); });
  if (msg == WM_NCDESTROY) links.Unlink(wnd); // a reused handle must not reach the control
  return m.Result;
}

WNDPROC EnsureWindowClass(const TCreateParams& p) {
  auto& records = ClassRecords();
  auto it = records.find(p.WinClassName);
  if (it != records.end()) return it->second.DefProc;
  HINSTANCE inst = GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  WNDPROC def = DefWindowProcA;
  if (p.SysClassName) {
    WNDCLASSEXA sys{};
    sys.cbSize = sizeof sys;
    if (!GetClassInfoExA(nullptr, p.SysClassName, &sys))
      throw Exception("Cannot find window class " + std::string(p.SysClassName));
    wc = sys;
    wc.cbSize = sizeof wc;
    def = sys.lpfnWndProc;
  } else {
    wc.style = p.ClassStyle;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hIcon = LoadIconA(inst, "MAINICON");
  }
  wc.hInstance = inst;
  wc.lpfnWndProc = StdWndProc;
  wc.lpszClassName = p.WinClassName.c_str();
  wc.lpszMenuName = nullptr;
  if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw Exception("Cannot register window class " + p.WinClassName);
  records[p.WinClassName] = {def};
  return def;
}

HWND CreateControlWindow(TWinControl* control, const TCreateParams& p) {
  WindowObjectLinks().Expect(control);
  HWND wnd =
      CreateWindowExA(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y,
                      p.Width, p.Height, p.WndParent, p.Menu, GetModuleHandleA(nullptr), nullptr);
  WindowObjectLinks().CancelExpect();
  // A window whose class is not the toolkit's never reached the shared procedure.
  if (wnd && !WindowObjectLinks().Find(wnd)) AttachWindowObject(wnd, control);
  return wnd;
}
