// Tool bars on skinned forms: made flat, their buttons' hot, pressed and default looks drawn
// from the skin's "Buttons" cells through the bar's custom-draw events (and the background from
// the "Toolbar" element when the skin asks for it). Events the application assigned itself are
// left in place; the bar gets its flatness and events back when skinning ends.
#pragma once
#include "SkinPanels.h"

#include <memory>

class TToolBar;
class TToolButton;

class TSkinToolBar : public TSkinBox {
  TK_DECLARE_CLASS(TSkinToolBar)
public:
  using TSkinBox::TSkinBox;
  ~TSkinToolBar() override;
  // Flat on, the painters into the events that are free, then the box's attach.
  void AttachControl(TWinSkinForm* form, TSkinData* data, bool recolor) override;
  // The events and the flatness given back, then the box's unskin.
  void Unskin() override;

  // The background painter: the "Toolbar" image stretched over the bar, unless the skin's
  // options keep the bar's own background.
  void PaintBackground(HDC dc, const RECT& rect);
  // The button painter: cell 2 pressed, 4 hot or focused, 1 default (not grayed or disabled);
  // other buttons are left to the bar. Answers the flags for the bar.
  UINT PaintButton(HDC dc, const RECT& rect, UINT state);

private:
  void GiveBack();
  TToolBar* Bar() const;
  // What the painters put in the bar's events lead to: this skinner while it lives.
  std::shared_ptr<TSkinToolBar*> FLink;
  bool FFlatSet = false;
};
