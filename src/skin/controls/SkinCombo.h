// Combo boxes and spin buttons in the skin's look. Both keep their own client painting (the
// combo's text, the list); the skin replaces the combo's sunken border and drop button, and
// paints each half of a spin button from the skin's "UpDown.Horz" / "UpDown.Vert" cells, or as
// plain boxes with line arrows when the skin has no such element.
#pragma once
#include "WinSubClass.h"

#include "SkinWndHook.h"

#include <memory>

class TSkinComBox;

// Line arrow of the spin buttons without skin cells: direction 0 up, 1 down, 2 left, 3 right,
// drawn with dc's current pen around (x, y).
void DrawArrowLines(HDC dc, int x, int y, int direction);

// Spin buttons (toolkit up-downs, and raw spin windows found inside a skinned edit).
class TSkinUpDown : public TSkinControl {
  TK_DECLARE_CLASS(TSkinUpDown)
public:
  using TSkinControl::TSkinControl;
  bool InEdit = false; // sits inside a skinned edit: keeps 3 pixels from the edit's border
  int Horizontal = 0;  // 1 forces the left/right layout

  // The cell (1..8) each half shows now: first (up or left) and second (down or right).
  void HalfCells(int& first, int& second);

protected:
  bool BeforeMessage(TMessage& msg) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

private:
  bool IsHorizontal() const;
};

// Makes the skinner of a combo's list window (the list of a simple combo when `simple`, else
// the drop-down list), attached to `list` by handle without a form skinner: the combo owns it
// and frees it. MakeComboListSkinner (the scroll-bar skinners of the list) unless replaced;
// while null, lists keep the system's scroll bars.
using TComboListSkinnerFactory = TSkinControl* (*)(TSkinComBox* combo, HWND list, bool simple);
TSkinControl* MakeComboListSkinner(TSkinComBox* combo, HWND list, bool simple);
extern TComboListSkinnerFactory ComboListSkinnerFactory;

// Combo boxes (plain and extended): the frame and the drop button drawn from "ComboButton"
// (flat look, whole-face image, or sunken edge plus button), with "SunkEdge" and
// "ExtraImages"; extended combos get the "ComboxArrow" cell. A skin without a "ComboButton"
// image leaves the combo in the system's look.
class TSkinComBox : public TSkinControl {
  TK_DECLARE_CLASS(TSkinComBox)
public:
  using TSkinControl::TSkinControl;
  ~TSkinComBox() override;

  void AttachControl(TWinSkinForm* form, TSkinData* data, bool recolor) override;
  void AttachHandle(HWND wnd, TSkinData* data, TWinSkinForm* form) override;
  // Base unskin; the edit child gets its procedure back, the list skinners are freed.
  void Unskin() override;

  LONG Style = 0, ExStyle = 0; // re-read at each paint
  HWND ListHandle = nullptr;   // the list of a simple combo
  HWND EditHandle = nullptr;   // the combo's first child window (its edit)
  // The list skinners (made through ComboListSkinnerFactory): simple combo, drop-down list.
  TSkinControl* ListScroller = nullptr;
  TSkinControl* DropScroller = nullptr;
  COMBOBOXINFO ComboInfo{}; // as last read
  RECT ButtonRect{};        // where the drop button was last drawn, in window coordinates
  bool Extended = false;    // set by the classifier for extended combos

  // The state cell the painter uses now: 2 down, 4 focused or hot, 1 normal, 3 disabled.
  int StateCell();
  // Whether the skin paints this combo: "ComboButton" has an image and the combo has a drop
  // button (not a simple combo).
  bool PaintsButton() const;
  // Whether the edit child's procedure is ours now.
  bool EditHooked() const;

protected:
  void AfterMessage(TMessage& msg) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

private:
  // The edit child's hook: the edit's own handling first, then the combo repaints.
  class TEditHook : public TSkinWndHook {
  public:
    explicit TEditHook(TSkinComBox* combo) : FCombo(combo) {}
    bool Hook(HWND wnd) { return HookWindow(wnd); }
    void Unhook() { UnhookWindow(); }
    TSkinComBox* FCombo;

  protected:
    LRESULT HookMessage(UINT msg, WPARAM wparam, LPARAM lparam) override;
  };
  friend class TEditHook;

  void AttachParts(bool scrollers);
  void HookEdit();
  void ReleaseParts();
  bool ReadComboInfo();
  void DrawFlat(HDC dc, const RECT& rect);
  void DrawExtended(HDC dc, const RECT& rect, int state);

  TEditHook* FEditHook = nullptr;
};
