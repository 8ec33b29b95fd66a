// Tab controls, page controls and their pages in skinned windows: the tab strip from the "Tabs"
// cells (1 normal, 2 selected) in any of the four tab positions, the page frame from the
// "Tabs" border image or "Tab.Pane", page controls whose tabs look like buttons from the
// "Buttons" cells, and page backgrounds in the face colour. Page controls tagged for it get a
// close box on each tab.
#pragma once
#include "WinSubClass.h"

#include "Bitmap.h"

#include <commctrl.h>

#include <string>
#include <vector>

// The Tag that gives a page control with tabs on top a close box on each tab.
constexpr int kCloseBoxTag = 7777;

// An image-list icon (when the list exists, the index is not -1 and the icon is narrower than
// rect) followed by the text, aligned 0 left, 1 centred, 2 right, centred vertically.
void DrawImageAndText(HDC dc, const RECT& rect, int alignment, const std::wstring& text, int image,
                      HIMAGELIST images, bool enabled, UINT extraFlags);

// What the tab skinners share: reading one tab's text and image.
class TSkinTabBase : public TSkinControl {
  TK_DECLARE_CLASS(TSkinTabBase)
public:
  using TSkinControl::TSkinControl;

protected:
  // The text and image index of tab `index`; false when the control has no such tab.
  bool ReadTab(int index, std::wstring& text, int& image) const;
};

// Tab strips and page frames of tab and page controls (and raw tab windows).
class TSkinTab : public TSkinTabBase {
  TK_DECLARE_CLASS(TSkinTab)
public:
  using TSkinTabBase::TSkinTabBase;
  void AttachControl(TWinSkinForm* form, TSkinData* data, bool recolor) override;
  void AttachHandle(HWND wnd, TSkinData* data, TWinSkinForm* form) override;
  void RefreshSkin() override;

  // The close boxes of the last paint, one per tab (empty rectangles without close boxes).
  std::vector<RECT> TabRects;
  int Orientation = 0; // 0 top, 1 bottom, 2 left, 3 right
  bool CloseButtons = false;

protected:
  bool BeforeMessage(TMessage& msg) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

private:
  void Prepare();
  // Asks the form about closing tab `index` and frees its page when the form agrees.
  void CloseTab(int index);
  TBitmap FTabImage, FPaneImage; // copies of the skin's images turned for the orientation
  bool FWideText = false;
};

// Page controls whose tabs look like buttons: the tabs from the "Buttons" cells.
class TSkinTabBtn : public TSkinTabBase {
  TK_DECLARE_CLASS(TSkinTabBtn)
public:
  using TSkinTabBase::TSkinTabBase;

protected:
  bool BeforeMessage(TMessage& msg) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
};

// Pages of page controls: the background in the skin's face colour.
class TSkinTabSheet : public TSkinControl {
  TK_DECLARE_CLASS(TSkinTabSheet)
public:
  using TSkinControl::TSkinControl;

protected:
  bool BeforeMessage(TMessage& msg) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
};
