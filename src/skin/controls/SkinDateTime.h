// Date-time pickers in calendar mode: a small button of our own over the picker's drop-down
// button paints the skin's combo arrow and passes every click on to the picker, so that the
// picker's own calendar opens; the picker gets the flat two-line frame.
#pragma once
#include "WinSubClass.h"

class TSkinDateTime;

// The arrow button laid over a picker's drop-down button.
class TArrowButton : public TCustomControl {
  TK_DECLARE_CLASS(TArrowButton)
public:
  explicit TArrowButton(TComponent* owner);
  // Sits on the picker from now on (a child of its window, at its button's place); the picker
  // clips it out of its own painting.
  void Attach(TSkinDateTime* skinner, TWinControl* picker);
  // Moves to the button's place for a picker `width` pixels wide.
  void MoveFor(int width);
  bool Hot() const { return (FHot & 1) != 0; }
  int ArrowWidth() const { return FArrowWidth; }

  void WndProc(TMessage& msg) override;

protected:
  void Paint(HDC dc) override;

private:
  bool PickerEnabled() const;

  int FArrowWidth = 0;
  TWinControl* FPicker = nullptr;
  TSkinDateTime* FSkinner = nullptr;
  HWND FPickerHandle = nullptr;
  BYTE FHot = 0; // bit 0: the pointer is over the button
};

// The skinner of a date-time picker in calendar mode.
class TSkinDateTime : public TSkinControl {
  TK_DECLARE_CLASS(TSkinDateTime)
public:
  using TSkinControl::TSkinControl;
  // Base attach, then the arrow button on the picker. A second attach does nothing.
  void AttachControl(TWinSkinForm* form, TSkinData* data, bool recolor) override;
  // Base unskin; the arrow button is hidden, the picker's own button shows again.
  void Unskin() override;
  TArrowButton* Arrow() const { return FArrow; }

protected:
  void AfterMessage(TMessage& msg) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

private:
  TArrowButton* FArrow = nullptr; // owned by this skinner
};
