// Status bars, group boxes, panels, progress bars and track bars of skinned windows: status
// panels framed from the "StatusBarEdges" cells, group boxes with a thin rounded frame and an
// opaque caption, panels and raw containers recoloured to the skin's face, progress bars from
// the "Progress" strip and track bars through the system's custom-draw notices.
#pragma once
#include "WinSubClass.h"

#include <commctrl.h>

#include <string>

// A control's published "Transparent" set to true for as long as it is skinned, and put back
// as it was afterwards (controls without the property are left alone).
class TTransparentSetting {
public:
  void Set(TControl* control);
  void Restore(TControl* control);
  bool Changed() const { return !FSaved.empty(); }

private:
  std::string FSaved; // the value before Set; empty: nothing changed
};

// Text drawn in rect with alignment (DT_LEFT, DT_CENTER or DT_RIGHT): transparent, centred
// vertically (centred text also one pixel up), in the button shadow colour when disabled.
void DrawTabText(HDC dc, const RECT& rect, UINT alignment, bool enabled, const std::wstring& text,
                 UINT extraFlags = 0);

// Status bars: the simple text or every panel framed from the "StatusBarEdges" cells (1 lowered,
// 2 raised, 3 no bevel), the size grip from cell 5 of "ExtraImages". Owner-drawn panels get
// their frame and then their parent's WM_DRAWITEM; text panels are drawn by the skinner alone.
class TSkinStatusBar : public TSkinControl {
  TK_DECLARE_CLASS(TSkinStatusBar)
public:
  using TSkinControl::TSkinControl;

protected:
  bool BeforeMessage(TMessage& msg) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

private:
  // Cell k of "StatusBarEdges" over r, else a one-pixel 3-D frame (1 lowered, 2 raised).
  void DrawPanelFrame(HDC dc, const RECT& r, int cell);
};

// Group boxes (and radio groups): the frame a thin rounded rectangle in the shadow colour, the
// caption over it on the face colour. Toolkit groups are painted whole (Mode 1); raw ones are
// painted over the system's drawing, covering its etched frame.
class TSkinGroupBox : public TSkinControl {
  TK_DECLARE_CLASS(TSkinGroupBox)
public:
  using TSkinControl::TSkinControl;
  // Base attach; Mode 1 for a toolkit control.
  void AttachControl(TWinSkinForm* form, TSkinData* data, bool recolor) override;

protected:
  bool BeforeMessage(TMessage& msg) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
};

// Panels: only recoloured to the skin's face (and, when asked, made "Transparent"); no message
// handler is installed. Giving the panel back restores both as they were.
class TSkinBox : public TSkinControl {
  TK_DECLARE_CLASS(TSkinBox)
public:
  using TSkinControl::TSkinControl;
  // Keeps the control (answering the skin's question for it) and joins the form skinner's list;
  // recolours when asked.
  void AttachControl(TWinSkinForm* form, TSkinData* data, bool recolor) override;
  void Unskin() override;
  // The control's "Transparent" set to true (when it has one) until Unskin.
  TTransparentSetting Transparent;

protected:
  void AfterMessage(TMessage&) override {}
};

// Raw container windows (tool bar windows): the background and the static children's
// background in the skin's face colour.
class TSkinBoxH : public TSkinControl {
  TK_DECLARE_CLASS(TSkinBoxH)
public:
  using TSkinControl::TSkinControl;
  ~TSkinBoxH() override;

protected:
  bool BeforeMessage(TMessage& msg) override;

private:
  HBRUSH FaceBrush();
  HBRUSH FBrush = nullptr;
  COLORREF FBrushColour = 0;
};

// The filled width of a bar `width` pixels wide at pos between low and high:
// width x (pos - low) / (high - low), 0 for an empty or inverted range, at most width.
int ProgressFill(int width, int pos, int low, int high);

// Progress bars from the "Progress" strip (cell 1 the track, cell 2 the filled part), or with
// its Style 1 from the "Progress.Chunk" image; a vertical bar is composed lying down and turned.
class TSkinProgress : public TSkinControl {
  TK_DECLARE_CLASS(TSkinProgress)
public:
  using TSkinControl::TSkinControl;

protected:
  bool BeforeMessage(TMessage& msg) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
};

// Track bars through the system's custom draw: the thumb from cell 2 of 5 of the thumb image,
// the channel from the "Track" or "TRACKVERT" image; tick marks stay the system's.
class TSkinTrackBar : public TSkinControl {
  TK_DECLARE_CLASS(TSkinTrackBar)
public:
  using TSkinControl::TSkinControl;
  // Repaints the bar with the new skin; focus and activation stay where they are.
  void RefreshSkin() override;
  // Base, and the "Transparent" setting put back.
  void Unskin() override;
  // The control's "Transparent" set to true (when it has one) until Unskin.
  TTransparentSetting Transparent;

protected:
  bool BeforeMessage(TMessage& msg) override;

private:
  LRESULT CustomDraw(const NMCUSTOMDRAW& cd);
  void DrawThumb(HDC dc);
  void DrawChannel(HDC dc);
};
