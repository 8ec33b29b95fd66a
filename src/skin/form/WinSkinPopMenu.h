// The popup menu skinner: one per popup menu window (class "#32768") of the process, made by
// the skin manager when the menu window is created and freed when it is destroyed.
//
// It puts itself in front of the menu window's procedure, answers the engine's query message,
// paints the window's frame and background from the skin's "MenuBackground" element and keeps
// that image (Background) for the owner-drawn items to be painted over. Without a loaded skin
// or a "MenuBackground" image the window keeps the system look.
#pragma once
#include "Bitmap.h"
#include "Classes.h"
#include "WinSkinForm.h"

class TSkinData;

class TWinSkinPopMenu : public TObject, public TSkinWndHook {
  TK_DECLARE_CLASS(TWinSkinPopMenu)
public:
  TWinSkinPopMenu() = default;
  ~TWinSkinPopMenu() override;

  // Takes over the menu window wnd with the skin data; menu may be none (it is learnt from the
  // first item drawn). False when the window cannot be taken.
  bool Attach(HWND wnd, TSkinData* data, HMENU menu);
  // Gives the window its procedure back and empties the background.
  void Detach();

  HWND Handle() const { return FHandle; }
  TSkinData* SkinData() const { return FSkinData; }
  HMENU MenuHandle() const { return FMenuHandle; }
  void SetMenuHandle(HMENU menu) { FMenuHandle = menu; }
  // The menu handle, asked of the window itself (MN_GETHMENU) while none is known.
  HMENU ResolveMenuHandle();
  // Cached image of the whole menu window, drawn behind the items.
  TBitmap Background;
  // Builds Background at the window's size from "MenuBackground" unless it is already that
  // size; false (and Background empty) without a loaded skin or a background image.
  bool EnsureBackground();
  // Rebuilds Background at the window's size.
  bool BuildBackground();

protected:
  LRESULT HookMessage(UINT msg, WPARAM wparam, LPARAM lparam) override;

private:
  LRESULT NonClientPaint(WPARAM wparam, LPARAM lparam);
  LRESULT PrintPaint(WPARAM wparam, LPARAM lparam);
  LRESULT ClientPaint(WPARAM wparam, LPARAM lparam);
  void PaintFrame(HDC windowDC);
  HWND FHandle = nullptr;
  TSkinData* FSkinData = nullptr;
  HMENU FMenuHandle = nullptr;
};
