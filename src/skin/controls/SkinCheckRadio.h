// Check boxes and radio buttons painted from the skin: the box (or circle) is a cell of the
// "Buttons" element's check or radio strip. A toolkit control with a strip is painted whole
// (background, box, caption, focus frame); a raw window is painted by the system and gets the
// skin's box drawn over its own.
#pragma once
#include "WinSubClass.h"

class TBitmap;

// What check boxes and radio buttons share: attach, messages and the painting; the two
// differ in their strip and in how the state picks a cell.
class TSkinCheckControl : public TSkinControl {
  TK_DECLARE_CLASS(TSkinCheckControl)
public:
  using TSkinControl::TSkinControl;
  // Base attach; Mode 1 (whole painting) for a toolkit control when the strip has pixels.
  void AttachControl(TWinSkinForm* form, TSkinData* data, bool recolor) override;
  bool ParentLook = false; // the background is the parent's image instead of the face colour

  // The cell of the strip (from 1) for the control's state now; 0 without a strip.
  virtual int StateCell() = 0;

protected:
  bool BeforeMessage(TMessage& msg) override;
  void AfterMessage(TMessage& msg) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  // The strip and its cell count (null without one).
  virtual const TBitmap* Strip(int& cells) const = 0;
  // Pixels the box keeps from the right edge when the text is on its left.
  virtual int RightInset() const { return 0; }
  // Maps a cell of a four-cell strip to the long strip (12 or 8 cells).
  static int LongStripCell(int cell);
  bool IsRightToLeft() const;
  // Text and focus frame right of (or left of) the box.
  void DrawText(HDC dc, RECT area, UINT format);
};

// Check boxes: unchecked, checked and grayed, each also disabled.
class TSkinCheckBox : public TSkinCheckControl {
  TK_DECLARE_CLASS(TSkinCheckBox)
public:
  using TSkinCheckControl::TSkinCheckControl;
  void AttachControl(TWinSkinForm* form, TSkinData* data, bool recolor) override;
  // 0 until the control reports a check change, then 1 unchecked, 2 checked, 3 grayed.
  int CheckState = 0;
  int StateCell() override;

protected:
  void AfterMessage(TMessage& msg) override;
  const TBitmap* Strip(int& cells) const override;
};

// Radio buttons: unchecked and checked, each also disabled.
class TSkinRadioButton : public TSkinCheckControl {
  TK_DECLARE_CLASS(TSkinRadioButton)
public:
  using TSkinCheckControl::TSkinCheckControl;
  int StateCell() override;

protected:
  const TBitmap* Strip(int& cells) const override;
  int RightInset() const override { return 1; }
};
