// Skinned scroll bars. The platform keeps scrolling: a small overlay window (TWScrollbar) is
// laid exactly over a native scroll bar and paints the skin's picture of it, handing every
// press on to the host, whose own scroll tracking runs underneath. The skinners here create
// the overlays and keep them in place: window scroll bars of scrollable controls (with their
// two-line frame), scroll bars of raw windows, scroll bar controls, size boxes, and the
// drop-down list of a combo box, whose bar is painted straight into its non-client area.
#pragma once
#include "WinSubClass.h"

#include <memory>

class TSkinContent;

// What the painter needs to know of one scroll bar.
struct TScrollPicture {
  int Width = 0, Height = 0; // the bar's extent (the image is composed at this size)
  bool Vertical = false;
  bool Thin = false;  // compose only the skin's thickness across the bar (scroll bar controls)
  int ArrowSize = 16; // the platform's arrow size
  int ThumbStart = 0, ThumbEnd = 0; // along the bar, from its first pixel
  bool Enabled = true;
  int HotPart = -1; // 0, 1 arrows, 2, 3 track, 5 thumb; anything else highlights nothing
  bool Pressed = false;
};

// Composes the skin's picture of a scroll bar off screen and copies it to dc at (x, y) in one
// transfer. False (nothing drawn) when the skin has no "Scrollbar" image or the bar is empty.
bool PaintScrollPicture(HDC dc, int x, int y, const TSkinContent& skin, const TScrollPicture& p);

// The part of a bar under a point `at` pixels along it: 0 first arrow, 2 track before the thumb,
// 5 thumb, 3 track after it, 1 second arrow.
int ScrollHitTest(int at, int length, int arrowSize, int thumbStart, int thumbEnd);

// The thumb of a scroll bar control `length` pixels long with the given scroll information:
// start and end along the bar (an 8-pixel thumb at least when the page is shown).
void ControlThumb(int length, int arrowSize, const SCROLLINFO& info, int& start, int& end);

// The scroll position a drag of a drop-down list's thumb to `offset` pixels past the first
// arrow gives: track is the bar length without both arrows, thumb the thumb's length.
int DragPosition(int offset, int track, int thumb, const SCROLLINFO& info);

// Whether a combo box's list is a child window of its own (a simple combo) rather than a
// pop-up over the desktop.
bool IsChildListWindow(HWND list);

// The overlay over one native scroll bar.
class TWScrollbar {
public:
  // Made for the skinner that owns it (it reaches the skin through it); no window yet.
  explicit TWScrollbar(TSkinControl* skinner);
  ~TWScrollbar();
  TWScrollbar(const TWScrollbar&) = delete;
  TWScrollbar& operator=(const TWScrollbar&) = delete;

  // Covers the scroll bar of a toolkit control: kind 0 its horizontal window bar, 1 its
  // vertical one, 2 the control itself (a scroll bar control, orientation from "Kind").
  void AttachControl(TControl* host, int kind);
  // Covers a window scroll bar (kind 0 or 1) of a window known only by its handle.
  void AttachWindow(HWND host, int kind);
  // Reads the bar; shows the overlay over it, or hides it when the host or bar is invisible.
  void Place();
  void Hide();
  // Paints again at once (when shown).
  void Repaint();
  void SetEnabled(bool enabled);
  // Reads the bar from the platform: its rectangle (screen coordinates; a control's bounds in
  // its parent for kind 2), thumb and state. False when it cannot be read.
  bool ReadBar(RECT& bar, DWORD& state);

  HWND Window() const { return FWnd; }
  HWND Host() const { return FHost; }

  int Length = 0;
  int ThumbStart = 0, ThumbEnd = 0;
  POINT BarOrigin{};
  POINT PressPoint{};
  int ThumbStartAtPress = 0;
  bool Pressed = false;
  int Orientation = 0; // 0 horizontal, 1 vertical
  int HotPart = -1;
  int ArrowSize = 16;
  TControl* HostControl = nullptr;
  TSkinControl* Skinner = nullptr;
  int Kind = 0;
  RECT BarRect{}; // in the host's client coordinates at the last placement
  bool Shown = false;

private:
  static LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam);
  void Create(HWND parent);
  void Paint(HDC dc);
  void Press(LPARAM lparam);
  void Release(LPARAM lparam);
  int HitAt(LPARAM lparam) const;

  HWND FWnd = nullptr;
  HWND FHost = nullptr;
};

// Window scroll bars and the frame of a scrollable toolkit control: both bars covered by
// overlays, a one-pixel ButtonShadow line with a ButtonFace line inside it as the frame, the
// corner between two bars in ButtonFace, a grid's "FixedColor" in ButtonFace while skinned.
class TSkinScrollbar : public TSkinControl {
  TK_DECLARE_CLASS(TSkinScrollbar)
public:
  using TSkinControl::TSkinControl;
  ~TSkinScrollbar() override;
  void AttachControl(TWinSkinForm* form, TSkinData* data, bool recolor) override;
  void Unskin() override;
  void RefreshSkin() override;

  int Flag = 1;
  std::unique_ptr<TWScrollbar> HorzBar, VertBar;
  bool PlatformNT = false;
  bool OwnsBorder = true;
  bool SingleBar = false; // made for a "singlescrollbar" control: the frame stays its own

protected:
  bool BeforeMessage(TMessage& msg) override;
  void AfterMessage(TMessage& msg) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  // Repaints an overlay whose bar moved without a scroll message (keyboard, new text).
  void FollowScrollInfo();

private:
  void PaintFrame(HDC dc, const RECT& rect);
  bool FFixedReplaced = false;
  SCROLLINFO FLastInfo[2]{};
};

// Window scroll bars of a raw window (the list of a simple combo box).
class TSkinScrollbarH : public TSkinControl {
  TK_DECLARE_CLASS(TSkinScrollbarH)
public:
  using TSkinControl::TSkinControl;
  ~TSkinScrollbarH() override;
  void AttachHandle(HWND wnd, TSkinData* data, TWinSkinForm* form) override;
  void Unskin() override;

  std::unique_ptr<TWScrollbar> HorzBar, VertBar;

protected:
  bool BeforeMessage(TMessage& msg) override;
  void AfterMessage(TMessage& msg) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

private:
  bool FAddedClip = false; // WS_CLIPSIBLINGS was added so the native bar stays under the overlay
};

// A scroll bar control covered by an overlay.
class TSkinScControl : public TSkinControl {
  TK_DECLARE_CLASS(TSkinScControl)
public:
  using TSkinControl::TSkinControl;
  ~TSkinScControl() override;
  void AttachControl(TWinSkinForm* form, TSkinData* data, bool recolor) override;
  void Unskin() override;

  std::unique_ptr<TWScrollbar> Overlay;

protected:
  bool BeforeMessage(TMessage& msg) override;
  void AfterMessage(TMessage& msg) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
};

// A raw size box: filled with ButtonFace after it painted itself.
class TSkinSizer : public TSkinControl {
  TK_DECLARE_CLASS(TSkinSizer)
public:
  using TSkinControl::TSkinControl;

protected:
  void DrawSkin(HDC dc, const RECT& rect) override;
};

// The vertical scroll bar of a combo box's drop-down list, painted into the list's non-client
// area (normal cells only, the thumb where the platform has it), and its thumb dragged by a
// loop of its own. Attached to the list's window by handle (AttachHandle).
class TComboxScrollBar : public TSkinControl {
  TK_DECLARE_CLASS(TComboxScrollBar)
public:
  explicit TComboxScrollBar(TComponent* owner);

  int ArrowSize = 16;
  int Length = 0;
  int ThumbStart = 0, ThumbEnd = 0;

protected:
  bool BeforeMessage(TMessage& msg) override;
  void AfterMessage(TMessage& msg) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

private:
  // The drag of the thumb from a press at screen point `at`; false when the press is not on the
  // thumb.
  bool DragThumb(POINT at);
  SCROLLINFO FLastInfo{}; // the scroll state the bar was last painted for
};
