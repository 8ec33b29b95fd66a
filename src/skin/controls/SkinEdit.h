// Edits with the skin's flat frame in place of their sunken border; their text and client
// painting stay their own. A spin button inside an edit is skinned with it.
#pragma once
#include "WinSubClass.h"

class TSkinUpDown;

// A one-pixel ButtonShadow frame with two white lines inside it, drawn after each paint of the
// edit's border; edits without a border keep their look.
class TSkinEdit : public TSkinControl {
  TK_DECLARE_CLASS(TSkinEdit)
public:
  using TSkinControl::TSkinControl;
  ~TSkinEdit() override;
  // Base unskin; the adopted spin button is given back and freed.
  void Unskin() override;

  // The skinner of the spin button inside the edit (owned by this skinner), none until found.
  TSkinUpDown* UpDown = nullptr;
  // Skins the first child window of the edit that is a spin button ("msctls_updown32", or a
  // class name holding "spin" or "updown").
  void AdoptUpDown();

protected:
  bool BeforeMessage(TMessage& msg) override;
  void AfterMessage(TMessage& msg) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

private:
  // WM_PRINT: the frame drawn into the given context (or the window's) with its brush.
  void PrintFrame(HDC dc);
};
