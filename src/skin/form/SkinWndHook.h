// Window-procedure hooks of the skin engine: an object put in front of a window's procedure
// (given back last in, first out), and the record of what the skinners were asked.
#pragma once
#include "SkinTypes.h"

#include <windows.h>

#include <cstdint>
#include <deque>

class TSkinData;

// Puts an object in front of a window's procedure and gives the window its procedure back.
//
// One window procedure serves every hooked window; it finds the object through a table keyed
// by window handle, so nothing executable is made per object. Unhooking restores the previous
// procedure when the window still runs ours (last in, first out). When someone else has put a
// procedure in front of ours meanwhile, ours stays in their chain as a plain pass-through to
// the saved procedure until the window is destroyed, so their chain keeps working.
//
// An object may be freed while one of its window's messages is being handled (a timer tick in
// a modal loop inside the handler): Dispose() then defers the deletion until that message
// returns.
class TSkinWndHook {
public:
  TSkinWndHook() = default;
  TSkinWndHook(const TSkinWndHook&) = delete;
  TSkinWndHook& operator=(const TSkinWndHook&) = delete;
  virtual ~TSkinWndHook();

  // Frees hook now, or once the message of its window being handled now returns.
  static void Dispose(TSkinWndHook* hook);

  bool WindowHooked() const { return FHookedWnd != nullptr; }
  HWND HookedWindow() const { return FHookedWnd; }
  // The procedure the window had before this object hooked it.
  WNDPROC OldWndProc() const { return FOldProc; }
  bool UnicodeWindow() const { return FUnicode; }
  // True while one of the window's messages is being handled by this object.
  bool InMessage() const { return FDepth > 0; }

  // Number of windows hooked by any object now (pass-through entries included).
  static size_t HookedWindowCount();

protected:
  // Hooks wnd (wide or ANSI, as the window is); false when it cannot be hooked (no window,
  // or another object of ours has it).
  bool HookWindow(HWND wnd);
  void UnhookWindow();
  // Passes a message to the procedure the window had before this object hooked it (also after
  // unhooking, for the message being handled when the object let go).
  LRESULT CallOldProc(UINT msg, WPARAM wparam, LPARAM lparam);
  // Every message of the hooked window arrives here.
  virtual LRESULT HookMessage(UINT msg, WPARAM wparam, LPARAM lparam) = 0;

private:
  static LRESULT Route(bool unicode, HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK HookProcA(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK HookProcW(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);

  HWND FHookedWnd = nullptr;
  HWND FProcWnd = nullptr; // the window FOldProc belongs to; kept after unhooking
  WNDPROC FOldProc = nullptr;
  bool FUnicode = false;
  int FDepth = 0;
  bool FDisposePending = false;
};

// What a skinner was asked, as kept in the process-wide record of skinners.
enum TSkinnerEventKind {
  skAttachForm,   // form skinner attached to a toolkit form
  skAttachWindow, // form skinner attached to a raw window
  skFinish,       // form skinner took the finish notice
  skUnskin,       // form skinner undid its work (skin switched off)
  skRelease,      // form skinner let its window go without restoring (destruction, manager end)
  skReload,       // form skinner reloaded its skin and layout
  skRedraw,       // form skinner redrew its window
  skSizeGrip,     // form skinner was told about a size grip
  skMdiState,     // form skinner redrew for a new MDI-child-maximized state
  skFormFreed,    // form skinner freed
  skPopupAttach,  // popup menu skinner attached
  skPopupDetach,  // popup menu skinner gave the window back
  skPopupFreed    // popup menu skinner freed
};

struct TSkinnerEvent {
  TSkinnerEventKind Kind;
  HWND Window;
  const TSkinData* SkinData;
};

// The last events of every form and popup menu skinner of the process, oldest first; a fixed
// number of the newest is kept.
const std::deque<TSkinnerEvent>& SkinnerEvents();
void RecordSkinnerEvent(TSkinnerEventKind kind, HWND wnd, const TSkinData* data);
// Number of events of a kind for a window (any window when wnd is null) in the record.
int CountSkinnerEvents(TSkinnerEventKind kind, HWND wnd = nullptr);
void ClearSkinnerEvents();
