#include "SkinToolBar.h"

#include "SkinDraw.h"
#include "WinSkinData.h"

#include "ComCtrls.h"
#include "Graphics.h"

#include <commctrl.h>

namespace {
struct TBackgroundPainter {
  std::shared_ptr<TSkinToolBar*> Link;
  void operator()(TToolBar*, HDC dc, const RECT& rect, bool&) const {
    if (*Link) (*Link)->PaintBackground(dc, rect);
  }
};

struct TButtonPainter {
  std::shared_ptr<TSkinToolBar*> Link;
  void operator()(TToolBar*, TToolButton*, HDC dc, const RECT& rect, UINT state,
                  UINT& flags) const {
    if (*Link) flags |= (*Link)->PaintButton(dc, rect, state);
  }
};
} // namespace

const TClassInfo& TSkinToolBar::StaticClassInfo() {
  static const TClassInfo info{"TSkinToolBar", &TSkinBox::StaticClassInfo(), nullptr, {}};
  return info;
}

TSkinToolBar::~TSkinToolBar() {
  GiveBack();
}

TToolBar* TSkinToolBar::Bar() const {
  return dynamic_cast<TToolBar*>(Owner());
}

void TSkinToolBar::AttachControl(TWinSkinForm* form, TSkinData* data, bool recolor) {
  if (Attached || !data) return;
  TToolBar* bar = Bar();
  if (!bar) return;
  if (!bar->Flat()) {
    bar->SetFlat(true);
    FFlatSet = true;
  }
  FLink = std::make_shared<TSkinToolBar*>(this);
  if (!bar->OnCustomDrawButton) bar->OnCustomDrawButton = TButtonPainter{FLink};
  if (!bar->OnCustomDraw) bar->OnCustomDraw = TBackgroundPainter{FLink};
  TSkinBox::AttachControl(form, data, recolor);
  if (bar->HandleAllocated()) InvalidateRect(bar->Handle(), nullptr, TRUE);
}

void TSkinToolBar::GiveBack() {
  if (!FLink) return;
  *FLink = nullptr; // a painter still in an event draws nothing more
  FLink.reset();
  TToolBar* bar = Bar();
  if (!bar || (bar->ComponentState & csDestroying)) return;
  // Only the painters this skinner put there are taken out.
  if (bar->OnCustomDrawButton.target<TButtonPainter>()) bar->OnCustomDrawButton = nullptr;
  if (bar->OnCustomDraw.target<TBackgroundPainter>()) bar->OnCustomDraw = nullptr;
  if (FFlatSet) bar->SetFlat(false);
  FFlatSet = false;
}

void TSkinToolBar::Unskin() {
  const bool wasActive = Active;
  TSkinBox::Unskin();
  if (wasActive) GiveBack();
}

void TSkinToolBar::PaintBackground(HDC dc, const RECT& rect) {
  if (!Active || !SkinData || !SkinData->Toolbar || SkinData->Toolbar->Image.Empty()) return;
  if (SkinData->Options() & SkinBit(xoToolbarBK)) return;
  TBitmap& image = SkinData->Toolbar->Image;
  HDC src = image.CanvasHandle();
  if (!src) return;
  const int mode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, src, 0, 0,
             image.Width(), image.Height(), SRCCOPY);
  SetStretchBltMode(dc, mode);
}

UINT TSkinToolBar::PaintButton(HDC dc, const RECT& rect, UINT state) {
  if (!Active || !SkinData || SkinData->Buttons.Image.Empty()) return 0;
  if (SkinData->Options() & SkinBit(xoToolbarButton)) return 0;
  const TDataSkinButton& element = SkinData->Buttons;
  int cell = 0;
  if (state & CDIS_SELECTED)
    cell = 2;
  else if (state & (CDIS_FOCUS | CDIS_HOT))
    cell = 4;
  else if ((state & CDIS_DEFAULT) && !(state & (CDIS_GRAYED | CDIS_DISABLED)))
    cell = 1;
  if (!cell) return 0;
  if (cell == 1 && element.HasNormalColour2) SetTextColor(dc, ColorToRGB(element.NormalColour2));
  if (cell == 4 && element.HasMouseOverColour2)
    SetTextColor(dc, ColorToRGB(element.MouseOverColour2));
  if (cell == 2 && element.HasPressedColour2) SetTextColor(dc, ColorToRGB(element.PressedColour2));
  RECT r = rect;
  InflateRect(&r, -1, -1);
  DrawSkinRect(dc, r, element.Image, false, false, element.Trans == 1, 5, cell, element.Margins);
  // The bar draws the button's content over the cell, without its own plate and edges.
  return TBCDRF_NOEDGES | TBCDRF_NOBACKGROUND;
}
