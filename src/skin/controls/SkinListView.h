// List views and header controls: a list view's scroll bars and frame skinned as any scrollable
// control's, and its column header (or a header control of its own) painted from the skin's
// "Headerbar" cells, the item under the pointer in the hot cell.
#pragma once
#include "SkinScrollBar.h"

#include <vector>

// A header control painted item by item into one off-screen image.
class TSkinHeader : public TSkinControl {
  TK_DECLARE_CLASS(TSkinHeader)
public:
  using TSkinControl::TSkinControl;
  void AttachControl(TWinSkinForm* form, TSkinData* data, bool recolor) override;
  void AttachHandle(HWND wnd, TSkinData* data, TWinSkinForm* form) override;

  std::vector<RECT> ItemRects; // hit rectangles, one per item (empty: the item is not drawn)
  int HotItem = -1;

  // The text of item `index` as the header holds it (at most 200 characters).
  std::wstring ItemText(int index) const;

protected:
  bool BeforeMessage(TMessage& msg) override;
  void AfterMessage(TMessage& msg) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

private:
  void DrawItem(HDC dc, int index, const RECT& item, HIMAGELIST images);
};

// A list view: scroll bars and frame as TSkinScrollbar, and its header skinned.
class TSkinListView : public TSkinScrollbar {
  TK_DECLARE_CLASS(TSkinListView)
public:
  using TSkinScrollbar::TSkinScrollbar;
  void AttachControl(TWinSkinForm* form, TSkinData* data, bool recolor) override;

  TSkinHeader* Header = nullptr; // owned by the list view's owner
};
