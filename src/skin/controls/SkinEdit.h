// Edits with the skin's flat frame in place of their sunken border; their text and client
// painting stay their own.
#pragma once
#include "WinSubClass.h"

// A one-pixel ButtonShadow frame with two white lines inside it, drawn after each paint of the
// edit's border; edits without a border keep their look.
class TSkinEdit : public TSkinControl {
  TK_DECLARE_CLASS(TSkinEdit)
public:
  using TSkinControl::TSkinControl;

protected:
  bool BeforeMessage(TMessage& msg) override;
  void AfterMessage(TMessage& msg) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

private:
  // WM_PRINT: the frame drawn into the given context (or the window's) with its brush.
  void PrintFrame(HDC dc);
};
