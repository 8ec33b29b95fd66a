// The popup menu skinner: one per popup menu window (class "#32768") of the process, made by
// the skin manager when the menu window is created and freed when it is destroyed.
//
// This first form puts itself in front of the menu window's procedure, answers the engine's
// query message and gives the window back when it is destroyed; the frame and background are
// not painted from the skin yet (the menu keeps the system look).
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
  // Cached image of the whole menu window, drawn behind the items.
  TBitmap Background;

protected:
  LRESULT HookMessage(UINT msg, WPARAM wparam, LPARAM lparam) override;

private:
  HWND FHandle = nullptr;
  TSkinData* FSkinData = nullptr;
  HMENU FMenuHandle = nullptr;
};
