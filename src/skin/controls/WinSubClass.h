// Control skinners: the base every skinner of a child control derives from, and the push-button
// skinner.
//
// A control skinner puts itself in front of one child control's message handling (the
// toolkit control's WindowProc slot, or the procedure of a raw child window), lets the control
// do its own work and paints it again from the skin. Giving the control back restores the
// slot or procedure last in, first out; the form skinner that made the skinner keeps it in its
// Controls list and frees it when it unskins or lets its window go.
#pragma once
#include "Controls.h"
#include "Handles.h"
#include "SkinMessages.h"
#include "SkinWndHook.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

// A memory context with a bitmap of the target's size selected, and the font and colours set
// on it; everything is put back and released on every path.
class TPaintBuffer {
public:
  TPaintBuffer(HDC target, int width, int height) {
    FDC = CreateCompatibleDC(target);
    if (FDC) FBitmap = CreateCompatibleBitmap(target, std::max(width, 1), std::max(height, 1));
    if (FBitmap) FOldBitmap = SelectObject(FDC, FBitmap);
  }
  ~TPaintBuffer() {
    if (FDC) {
      if (FOldFont) SelectObject(FDC, FOldFont);
      if (FOldBitmap) SelectObject(FDC, FOldBitmap);
      DeleteDC(FDC);
    }
    if (FBitmap) DeleteObject(FBitmap);
  }
  TPaintBuffer(const TPaintBuffer&) = delete;
  TPaintBuffer& operator=(const TPaintBuffer&) = delete;

  bool Ready() const { return FDC && FBitmap; }
  HDC DC() const { return FDC; }
  void SelectFont(HFONT font) {
    if (!font) return;
    HGDIOBJ old = SelectObject(FDC, font);
    if (!FOldFont) FOldFont = old;
  }

private:
  HDC FDC = nullptr;
  HBITMAP FBitmap = nullptr;
  HGDIOBJ FOldBitmap = nullptr;
  HGDIOBJ FOldFont = nullptr;
};

class TSkinData;
class TWinSkinForm;
class TDataSkinObject;

// The skinner in front of a child control.
class TSkinControl : public TComponent, public TSkinWndHook {
  TK_DECLARE_CLASS(TSkinControl)
public:
  // owner: the toolkit control to skin (it frees the skinner with itself), or, for a raw
  // window, the form skinner.
  explicit TSkinControl(TComponent* owner);
  ~TSkinControl() override;

  // Takes over the owner (a toolkit control): its WindowProc slot, its window. Joins the form
  // skinner's Controls list. A second attach does nothing.
  virtual void AttachControl(TWinSkinForm* form, TSkinData* data, bool recolor);
  // Takes over a raw child window through its procedure. A second attach does nothing.
  virtual void AttachHandle(HWND wnd, TSkinData* data, TWinSkinForm* form);
  // Gives the control its look back (skin painting off; the saved colour restored). The
  // procedure or slot is given back when the skinner is freed.
  virtual void Unskin();
  // After a skin change: recolour and repaint.
  virtual void RefreshSkin();

  BYTE MouseFlags = 0; // bit 0: the pointer is over the control; bit 1: it is held down
  bool Enabled = true; // recomputed by painters from WS_DISABLED
  bool Focused = false;
  std::wstring Caption;
  bool Active = true; // skin painting is on
  bool IsUnicode = false;
  TSkinData* SkinData = nullptr;
  HWND Handle = nullptr;
  TControl* Control = nullptr; // none for a raw window
  RECT WindowRect{};           // screen coordinates, refreshed at each full paint
  // A windowless control painted through this skinner instead of Handle (speed buttons);
  // Redraw invalidates it.
  TControl* PaintTarget = nullptr;
  bool Recolor = false;
  TColor SavedColor = 0;
  bool Attached = false;
  int LifeState = 0; // 0 created, 1 attached, 2 given back, 6 window destroyed
  TWinSkinForm* Form = nullptr;
  BYTE Mode = 0;

  static constexpr BYTE mfHot = 1, mfDown = 2;

  // Frees a skinner now, or, while one of its control's messages is being handled, once that
  // message returns (it paints no more meanwhile).
  static void Free(TSkinControl* skinner);

  // The replacement message handler: every message of the control comes here.
  void SkinWndProc(TMessage& msg);
  // Whether the WindowProc slot (toolkit) or the procedure (raw window) is ours now.
  bool SlotHeld() const { return FSlotHeld || WindowHooked(); }

protected:
  // True lets the previous handler run and then AfterMessage; false consumes the message.
  virtual bool BeforeMessage(TMessage& msg);
  virtual void AfterMessage(TMessage& msg);
  // Full paint of the window into dc (the window's own context when null).
  virtual void PaintNow(HDC dc);
  // Draws the skinned look into dc over rect; nothing in the base.
  virtual void DrawSkin(HDC dc, const RECT& rect);

  // Runs the previous handler: the saved toolkit handler, else the raw window's procedure.
  void CallPrevious(TMessage& msg);
  // Invalidates and updates the window (or the PaintTarget's part of its parent) at once.
  void Redraw();
  // Puts SkinWndProc in front of a control's WindowProc slot without a window of its own
  // (windowless controls); ReleaseSlot gives it back, as the destructor does.
  void HoldSlot(TControl* control);
  void ReleaseSlot() { GiveBackSlot(); }
  // Cell `cell` (from 1) of a horizontal strip of `cells` of the element, nine-sliced to rect.
  void DrawElement(HDC dc, const RECT& rect, int cells, int cell, const TDataSkinObject& element);
  // Solid fills: the skin's ButtonFace colour, a given colour.
  void FillFace(HDC dc, const RECT& rect);
  void FillColor(HDC dc, const RECT& rect, COLORREF colour);
  // The parent's colour (its published Color), else the skin's ButtonFace.
  void FillParentColor(HDC dc, const RECT& rect);
  // WM_ERASEBKGND: the parent's image behind a toolkit control, the parent's colour behind a
  // raw window; the result is 1.
  void EraseWithParent(TMessage& msg);
  // The text format with DT_RTLREADING added for a right-to-left control.
  UINT BiDiFlags(UINT format) const;
  // Runs the toolkit control's mouse-down handling for a press the skinner consumed (signed
  // coordinates; a control over 0x8000 wide or high reads the pointer instead).
  void ForwardMouseDown(const TMessage& msg);
  // Focus frame around Caption as drawn with format inside rect.
  void DrawFocusFrame(HDC dc, UINT format, const RECT& rect);
  // GetWindowLongW for a Unicode window, else GetWindowLongA.
  LONG ReadStyle(HWND wnd, int index) const;
  // The window's text (raw windows) or the control's caption.
  std::wstring ReadCaption() const;
  // WM_PAINT: wParam as the context, else BeginPaint/EndPaint; DrawSkin over the whole window.
  void PaintWithBeginPaint(TMessage& msg);

  LRESULT HookMessage(UINT msg, WPARAM wparam, LPARAM lparam) override;

private:
  // Gives the toolkit slot or the raw procedure back (only while it is still ours).
  void GiveBackSlot();
  void Dispatch(TMessage& msg);
  // Draws into a foreign context with its state saved and restored around the drawing.
  void DrawInto(HDC dc, const RECT& rect);

  // What our handler in a toolkit control's slot leads to: this skinner, or (once the
  // skinner is gone while someone else's handler still calls ours) the saved handler alone.
  struct TSlotLink {
    TSkinControl* Owner = nullptr;
    TWndMethod Old;
  };
  struct TSlot {
    std::shared_ptr<TSlotLink> Link;
    void operator()(TMessage& msg) const;
  };
  std::shared_ptr<TSlotLink> FSlot;
  int FBusy = 0; // messages of the control being handled now
  bool FFreePending = false;
  bool FSlotHeld = false; // the control's WindowProc was replaced by our handler
};

// Plain push buttons (toolkit buttons and raw "Button" windows) painted from the skin's
// "Buttons" element: normal, down, disabled, hot and focused or default cells, the caption
// centred in the element's text colours.
class TSkinButton : public TSkinControl {
  TK_DECLARE_CLASS(TSkinButton)
public:
  using TSkinControl::TSkinControl;
  void AttachControl(TWinSkinForm* form, TSkinData* data, bool recolor) override;
  void RefreshSkin() override;
  bool ParentLook = false; // the background is the parent's image instead of the face colour

  // The cell of the "Buttons" element for the current state: 3 disabled, 2 down, 4 hot,
  // 5 focused or default, 1 normal.
  int StateCell() const;

protected:
  bool BeforeMessage(TMessage& msg) override;
  void AfterMessage(TMessage& msg) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  // Draws Caption centred (alignment 1) or left in rect, with the focus frame when focused.
  void DrawCaption(HDC dc, const RECT& rect, UINT alignment);

private:
  bool IsDefault() const;
  void Clicked();
  // Copies the face (face colour and the element's cell) at w x h into dc, made once per cell
  // and size; false when it cannot be made.
  bool DrawFace(HDC dc, int w, int h, int cell);

  // Faces already composed, by cell, for the size they were made at (the skin's images are
  // stretched and keyed once instead of at every paint).
  struct TFaceCache {
    int Width = 0, Height = 0;
    std::vector<TBitmapHandle> Cells;
    TMemoryDCHandle DC; // selects a face while it is copied
  } FFaces;
  // The off-screen bitmap the button is composed in, kept with the skinner and resized with
  // the button: its context, and the bitmap the context held at first.
  struct TBuffer {
    TMemoryDCHandle DC;
    TBitmapHandle Bitmap;
    HGDIOBJ First = nullptr;
    int Width = 0, Height = 0;
    ~TBuffer() {
      if (DC && First) SelectObject(DC.Get(), First);
    }
  } FBuffer;
  // FBuffer's context at w x h, null when it cannot be made.
  HDC Buffer(HDC target, int w, int h);
};

// The "||" of a caption (its first occurrence) turned into a line break.
std::wstring CaptionLines(std::wstring text);
