// Hidden windows of the toolkit's own, for objects that need messages but no control (timers,
// menus, tray icons).
#pragma once
#include "Controls.h"

// A hidden top-level window whose messages go to method. It carries the "ControlOfs" property
// leading to owner.
HWND AllocateHWnd(TObject* owner, TWndMethod method);
void DeallocateHWnd(HWND wnd);
