// The form skinner: takes over one top-level window of the process (a form of the toolkit or a
// raw dialog window) for the skin engine. The skin manager creates one per skinned window,
// keeps it in its list and frees it; the form skinner never decides whether its window is
// skinned.
//
// It puts itself in front of the window's procedure, removes the system-drawn frame, reserves
// its own frame from the skin's frame sides (WM_NCCALCSIZE), paints the borders, the title bar
// with its caption text and caption buttons (SkinFrame.cpp), cuts the window region from the
// transparent pixels of the frame sides, and handles the non-client mouse and keyboard itself:
// caption buttons, hit testing, system commands and a system menu of its own (SkinCaption.cpp).
// Unskinning gives the window back exactly as it was: procedure, region, style and size.
#pragma once
#include "Controls.h"
#include "Handles.h"
#include "SkinDraw.h"
#include "SkinMessages.h"
#include "SkinTypes.h"
#include "SkinWndHook.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class TSkinData;
class TCustomForm;
class TPopupMenu;
class TDataSkinSysButton;
class TWinSkinForm;

// A clickable object of the skinned non-client area: a rectangle in window coordinates (origin
// at the window's top-left corner) with a visibility flag and a hover/press state. The owning
// form skinner keeps the one object that is hot or pressed (HotObject).
class TNCObject : public TObject {
  TK_DECLARE_CLASS(TNCObject)
public:
  explicit TNCObject(TWinSkinForm* form) : Form(form) {}

  TWinSkinForm* Form; // the owner; not owned
  RECT BoundsRect{};
  bool Visible = false; // takes part in hit tests and painting only when set
  int State = 1;        // 1 normal, 2 pressed, 3 hot
  bool Enabled = true;  // caption buttons: acts and is drawn in its normal cells

  // Press: another hot object is left first; the object becomes hot and pressed.
  virtual void MouseDown();
  // Release over the object: back to hot.
  virtual void MouseUp();
  // The pointer came over the object: another hot object is left first.
  virtual void MouseEnter();
  // The pointer left: the object is normal again and nothing is hot.
  virtual void MouseLeave();
  virtual void Paint() {}
};

// A caption button drawn from its caption-button element (which belongs to the skin data).
class TWinSysButton : public TNCObject {
  TK_DECLARE_CLASS(TWinSysButton)
public:
  TWinSysButton(TWinSkinForm* form, TDataSkinSysButton* element)
      : TNCObject(form), SkinButton(element) {}
  TDataSkinSysButton* SkinButton;
  // Cell count of the strip, at least 1.
  int Frames() const;
  // The cell for the current state (1 normal, 2 pressed, 3 hot, 4 disabled).
  int CurrentCell() const;
  void Paint() override;
};

class TMenu;
class TMenuItem;

// An item of the skinned menu bar, drawn over the bar's cached image.
class TMenuBtn : public TNCObject {
  TK_DECLARE_CLASS(TMenuBtn)
public:
  using TNCObject::TNCObject;
  TMenuItem* MenuItem = nullptr; // the toolkit item it stands for, or none
  int Index = 0;                 // position in the bar, from 0
  std::wstring Caption;          // with "&" accelerator marks
  bool ItemEnabled = true;
  HMENU SubMenu = nullptr; // the drop-down, or none for a command item
  UINT Command = 0;
  void Paint() override;
};

// The skinned menu bar of a form: the window's menu taken over (the window keeps none while it
// is skinned), its items drawn in the form's menu-bar band from the skin, their drop-downs
// opened with the keyboard and mouse tracking of a menu bar.
class TWinSkinMenu {
public:
  TWinSkinMenu(TWinSkinForm* form, TSkinData* data);
  ~TWinSkinMenu();
  TWinSkinMenu(const TWinSkinMenu&) = delete;
  TWinSkinMenu& operator=(const TWinSkinMenu&) = delete;

  // Takes the items over from the window's menu (and the form's main menu, when there is one)
  // and removes the menu from the window.
  void BuildItems(TMenu* menu);
  // The band's item rectangles, without painting.
  void Layout();
  // Paints the band (window coordinates) into dc.
  void PaintBar(HDC dc, const RECT& band);
  // The first item with a caption under a window point.
  TMenuBtn* ItemAt(POINT windowPoint) const;
  // The first enabled visible item whose caption has `ch` as its accelerator.
  TMenuBtn* ItemByAccel(wchar_t ch) const;
  // Opens the item's drop-down (a command item posts its command); whether one was shown.
  bool OpenItem(TMenuBtn* item);
  // Presses the item as a click would, through the window's own press handling.
  void PressItem(TMenuBtn* item);
  // Gives the window its menu back.
  void RestoreMenu();
  // WM_MEASUREITEM / WM_DRAWITEM of an item of the bar's drop-downs, measured or drawn from the
  // skin; false for anything else (the window's own handling then runs).
  bool MeasureItem(MEASUREITEMSTRUCT& mis);
  bool DrawItem(const DRAWITEMSTRUCT& dis);

  HMENU MenuHandle() const { return FMenuHandle; }
  TMenu* Menu() const { return FMenu; }
  const std::vector<std::unique_ptr<TMenuBtn>>& Buttons() const { return FButtons; }
  const TBitmap& BarImage() const { return FBarImage; }
  const RECT& BarRect() const { return FBarRect; }
  HFONT MenuFont() const { return FFont.Get(); }

private:
  friend LRESULT CALLBACK MenuBarFilter(int code, WPARAM wparam, LPARAM lparam);
  int StartOffset(int bandWidth) const;
  TWinSkinForm* FForm;
  TSkinData* FSkinData;
  TMenu* FMenu = nullptr;
  HMENU FMenuHandle = nullptr;
  std::vector<std::unique_ptr<TMenuBtn>> FButtons;
  RECT FBarRect{};
  TBitmap FBarImage;
  TFontHandle FFont;
};

// The menu-select notices of a drop-down opened from the skinned menu bar.
void TrackMenuSelect(TWinSkinForm& form, WPARAM wparam, LPARAM lparam);

// ---------------------------------------------------------------------------------------------
// Child controls: which skinner each child control of a skinned window gets (SkinClassify.cpp)

class TSkinControl;
class TWinControl;

// The skinner kinds the classification chooses among. Kinds that walk children or only touch
// the control (containers, tool buttons, cool bars, frames) have no skinner of their own.
enum TControlSkinKind {
  ckNone,
  ckButton,
  ckBitButton,
  ckSpeedButton,
  ckMenuButton,
  ckCheckBox,
  ckRadioButton,
  ckComboBox,
  ckComboBoxEx,
  ckEdit,
  ckEditByHandle,
  ckDateTime,
  ckTab,
  ckTabBtn,
  ckTab31,
  ckTabSheet,
  ckAdvPage,
  ckHeader,
  ckTrackBar,
  ckUpDown,
  ckMediaPlayer,
  ckGroupBox,
  ckRadioGroup,
  ckCheckGroup,
  ckBox,
  ckBoxH,
  ckToolBar,
  ckStatusBar,
  ckProgress,
  ckScControl,
  ckScrollbar,
  ckSingleScrollbar,
  ckEmbedScrollbar,
  ckListView,
  ckObjImage,
  ckSizer,
  ckContainer,
  ckToolButton,
  ckCoolBar,
  ckFrame,
  ckEmbeddedForm,
  ckDialog,
  ckRawPanel
};

// The decision for one control or raw window.
struct TControlClass {
  TControlSkinKind Kind = ckNone;
  bool Recolor = false;       // the skinner sets the control's colour to the skin's face
  int Variant = 0;            // the skinner's Mode, PageKind or GlyphKind
  bool ChildrenFirst = false; // the control's children are classified before it is attached
  bool ChildrenAfter = false; // ... after it
  bool BySkin3rd = false;     // a Skin3rd line decided
  std::string ImageProperty;  // "PngImage" for the image-property button kinds
};

// The rules for a toolkit control after its Tag, OnSkinControl and the already-skinned test:
// the Skin3rd lines, the excluded classes, then the built-in rules, first match wins.
// skinNC: the form skinner paints the frame (tool buttons owner-draw their menus then).
TControlClass DecideControlClass(const TControl& control, const TSkinData& data, bool skinNC);
// The rules for a raw child window by its lower-case class name and style.
TControlClass DecideWindowClass(const std::string& lowerClass, DWORD style, const TSkinData& data);
// A readable name of a kind (for test output and diagnostics).
const char* ControlSkinKindName(TControlSkinKind kind);

class TWinSkinForm : public TComponent, public TSkinWndHook {
  TK_DECLARE_CLASS(TWinSkinForm)
public:
  // A skinner for wnd, whose class name is className; attached by AttachForm / AttachWindow.
  TWinSkinForm(HWND wnd, std::string className);
  ~TWinSkinForm() override;

  // Takes over a toolkit form (its window is Handle()). False when the window cannot be
  // taken (gone, or taken already).
  bool AttachForm(TSkinData* data, TCustomForm* form);
  // Takes over a raw window (a dialog of class "#32770").
  bool AttachWindow(TSkinData* data);
  // Undoes everything and gives the window back as it was (the skin is switched off).
  void Unskin();
  // Gives the window's procedure back without restoring the window (window destruction, end of
  // the manager).
  void Release();
  // The skin data changed: reread the frame and caption buttons, re-frame, re-apply colours.
  void ReloadSkin();
  // Redraws the whole window with the current skin.
  void Redraw();
  // Re-applies the skin's colours to the form and re-frames it.
  void ReskinColors();
  // A size grip (scroll bar with SBS_SIZEGRIP) was made inside the window.
  void SizeGripCreated(HWND grip);
  // The manager's MDI-child-maximized state changed: an MDI child redraws for it.
  void MdiStateChanged(bool maximized);

  // Frame painting (SkinFrame.cpp).
  // Frame sizes and caption buttons from the skin.
  void ReadFrame();
  // Resizes the window so that its client keeps its size inside the skinned frame.
  void Reframe(bool reread);
  // Paints the whole non-client area into dc (null: the window's own context).
  void PaintNonClient(HDC dc = nullptr);
  // The window region from the transparent pixels of the frame sides.
  void MakeRegion();
  // Removes the region this skinner set (the window is redrawn only for MDI children).
  void DropRegion();
  // Whether caption button index shows now; sets its Visible and Enabled.
  bool ButtonVisible(int index);
  void BuildIconImage();
  // Repaints one caption button in its current cell over the title bar behind it.
  void PaintCaptionButton(TWinSysButton& button);

  // Caption interaction (SkinCaption.cpp).
  // A screen point in window coordinates.
  POINT WindowPoint(POINT screen) const;
  // The caption button or menu-bar item under a window point, or null.
  TNCObject* ObjectAt(POINT windowPoint) const;
  // Opens the skinned system menu at a screen point (a second request within the double-click
  // time closes the window when a caption object is hot).
  void ShowSystemMenu(POINT screen);
  void Maximize();
  void Minimize();
  void Restore();

  // The skinned menu bar, or null.
  TWinSkinMenu* SkinMenu() const { return FSkinMenu.get(); }
  // True while a drop-down of the skinned menu bar is open.
  bool MenuTracking() const { return FMenuTracking; }
  const RECT& WindowRect() const { return FWindowRect; }
  bool RightToLeft() const { return FRightToLeft; }

  HWND Handle() const { return FHandle; }
  // The window's class name (handed to the skin events).
  const std::string& WindowName() const { return FWindowName; }
  TSkinData* SkinData() const { return FSkinData; }
  TCustomForm* Form() const { return FForm; }
  // A TSkinState.
  int SkinState() const { return FSkinState; }
  // The window has gone or was let go: the manager drops the skinner on its next pass.
  bool Released() const { return FSkinState == stReleased || !IsWindow(FHandle); }
  bool IsMdiChild() const;
  bool Started() const { return FStarted; }
  bool SkinNC() const { return FSkinNC; }
  bool Active() const { return FActive; }
  int BorderLeft() const { return FBorderLeft; }
  int BorderRight() const { return FBorderRight; }
  int BorderBottom() const { return FBorderBottom; }
  int TitleHeight() const { return FTitleHeight; }
  int MenuBarHeight() const { return FMenuBarHeight; }
  // 0 sizeable, 1 fixed, 2 no caption, 3 dialog frame.
  int FrameKind() const { return FFrameKind; }
  // Bit 1 maximize box, 2 minimize box, 4 context help, 8 system menu, 16 keep caption style.
  int CaptionFlags() const { return FCaptionFlags; }
  // 0 normal, 1 maximized, 2 minimized.
  int ShowState() const { return FShowState; }
  // 0 plain window, 1 MDI frame, 2 MDI child.
  int MDIKind() const { return FMDIKind; }
  const RECT& TextRect() const { return FTextRect; }
  const std::vector<std::unique_ptr<TWinSysButton>>& CaptionButtons() const {
    return FCaptionButtons;
  }
  TNCObject* HotObject = nullptr;
  // Whether the window region now in place was set by this skinner.
  bool OwnsRegion() const { return FOwnsRegion; }
  bool HoverTimerRunning() const { return FHoverTimer; }

  // ---- Child controls (SkinClassify.cpp) ----------------------------------------------------
  // The control skinners of the window in creation order. The form skinner frees them when it
  // unskins or lets its window go; a skinner leaves the list when it is freed.
  const std::vector<TSkinControl*>& Controls() const { return FControls; }
  // The form walk: destroyed skinners dropped, the owned controls, then the windowed controls
  // in tab order (recursively), each classified with the form as "Form".
  void SkinChildren(TCustomForm* form);
  // Classifies every control the owner owns, in ownership order.
  void SkinOwned(TComponent* owner);
  // Classifies every control whose parent is `parent`, in child order.
  void SkinContained(TWinControl* parent);
  // Decides and attaches the skinner of one toolkit control reached from `form`.
  void ClassifyControl(TControl* control, TControl* form);
  // Decides and attaches the skinner of one raw child window.
  void ClassifyWindow(HWND wnd);
  // ClassifyWindow for each WS_CHILD child window of wnd, in z-order.
  void SkinChildWindows(HWND wnd);
  // Adds a skinner unless present; answers whether it was present.
  bool AddControl(TSkinControl* skinner);
  // Takes a skinner out of the list (searching from the end).
  void RemoveControl(TSkinControl* skinner);
  TSkinControl* FindByHandle(HWND wnd) const;
  TSkinControl* FindByControl(const TControl* control) const;
  // Frees every skinner whose window was destroyed.
  void PurgeDestroyed();
  // After a control made its window anew: the scroll-bar skinner of its old window `wnd` is
  // freed and a new one of the same kind attached to the control's new window.
  void ReplaceScrollSkinner(HWND wnd);
  // Takes the skinners from the list until it is empty: each gives its control back (unless
  // the window is being destroyed or the control's window is gone) and is freed.
  void FreeAll();
  // ---- end of child controls ------------------------------------------------------------

protected:
  LRESULT HookMessage(UINT msg, WPARAM wparam, LPARAM lparam) override;

private:
  friend class TMdiClientHook;
  friend class TWinSkinMenu;
  friend LRESULT CALLBACK MenuBarFilter(int code, WPARAM wparam, LPARAM lparam);
  friend void TrackMenuSelect(TWinSkinForm& form, WPARAM wparam, LPARAM lparam);
  // Opens a bar item's drop-down from a press; it is the hot object once the drop-down closes.
  void PressMenuItem(TMenuBtn* item);
  bool Attach(TSkinData* data, TCustomForm* form);
  void AttachSteps();
  void Finish();
  void FreeCaptionButtons();
  void RestoreForm(bool releasing);
  void UnhookAll();
  LRESULT Default(UINT msg, WPARAM wparam, LPARAM lparam) {
    return CallOldProc(msg, wparam, lparam);
  }
  LRESULT Stage2(UINT msg, WPARAM wparam, LPARAM lparam, bool& handled);
  LRESULT Stage3(UINT msg, WPARAM wparam, LPARAM lparam);
  void FormHook(TMessage& msg);
  void OnSize(WPARAM wparam);
  void ReadShowState();
  bool DialogClass() const;
  void SetHoverTimer(bool on);
  void HoverCheck();
  void HideHint();
  void RemoveSysMenuStyle();
  void RestoreSysMenuStyle();

  // SkinFrame.cpp
  LRESULT NCCalcSize(WPARAM wparam, LPARAM lparam);
  LRESULT NCActivate(WPARAM wparam, LPARAM lparam);
  // Frame side (1 left, 2 right, 3 top, 4 bottom) drawn for rect's size, in the active or
  // inactive cell.
  TBitmap SidePiece(int side, const RECT& rect) const;
  // The title bar composed in the title buffer (the top parts of left and right are its
  // corners) and copied to dc in one transfer.
  void PaintTitle(HDC dc, TBitmap& left, TBitmap& right);
  void PaintCaptionText(HDC dc, const RECT& r);
  void LayoutCaptionButtons();
  void DrawWindowIcon(HDC dc, const RECT& buttonRect);
  HICON WindowIcon() const;

  // SkinCaption.cpp
  LRESULT NCHitTest(WPARAM wparam, LPARAM lparam);
  LRESULT NCMouse(UINT msg, WPARAM wparam, LPARAM lparam);
  LRESULT SysCommand(WPARAM wparam, LPARAM lparam);
  void ButtonAction(TWinSysButton* button, POINT screen);
  void BuildSystemMenu();

  HWND FHandle;
  std::string FWindowName;
  TSkinData* FSkinData = nullptr;
  TCustomForm* FForm = nullptr;
  int FSkinState = stNew;
  bool FStarted = false;
  bool FSkinNC = false;
  bool FActive = true;
  bool FHooked = false; // the attach steps ran
  TWndMethod FOldFormProc;
  bool FFormHooked = false;
  std::unique_ptr<TSkinWndHook> FClientHook; // the MDI client's procedure, for an MDI frame
  HWND FMDIClient = nullptr;
  int FMDIKind = 0;
  int FFrameKind = 0;
  int FCaptionFlags = 0;
  int FShowState = 0;
  bool FRightToLeft = false, FSizeable = false, FIsChild = false;
  HWND FOwnerWindow = nullptr;
  HMENU FMenuHandle = nullptr, FSysMenuHandle = nullptr, FTrackedMenu = nullptr;
  bool FMenuTracking = false;
  std::unique_ptr<TWinSkinMenu> FSkinMenu;
  bool FNCPaintHeld = false; // the system's own menu handling runs: no frame painting meanwhile
  // The window's menu changed (toolkit notice or a new MDI frame menu): the bar takes it over.
  void MenuChanged();
  bool FMenuUpdate = true;
  TColor FSavedColor = 0;
  int FBorderLeft = 0, FTitleHeight = 0, FBorderRight = 0, FBorderBottom = 0;
  int FMenuBarHeight = 0;
  RECT FClientRect{};
  SIZE FFrameExtra{};
  RECT FWindowRect{};
  int FWindowWidth = 0, FWindowHeight = 0, FRegionWidth = 0, FRegionHeight = 0;
  bool FOwnsRegion = false;
  RECT FTextRect{}, FCaptionTextArea{};
  int FCaptionRightSpace = 0;
  int FCaptionTextWidth = 0;
  std::wstring FCaption;
  std::wstring FCaptionPrefix = L" ", FCaptionSuffix = L"  ";
  int FSmallIconWidth = 16;
  TBitmap FIconImage;
  TBitmap FTitleBuffer;
  TBitmap FTitleBack; // the title bar of the last paint before its caption buttons were drawn
  // The frame sides drawn for the last window size and activation, kept until either changes
  // or the skin is read again (index: side - 1).
  struct TSideCache {
    int Width = -1, Height = -1;
    bool Active = false;
    TBitmap Sides[4];
  } FSideCache;
  // The window icon at the small-icon size, made on first use and dropped by WM_SETICON.
  TIconHandle FSmallIcon;
  bool FSmallIconRead = false;
  std::vector<std::unique_ptr<TWinSysButton>> FCaptionButtons;
  std::unique_ptr<TPopupMenu> FSystemMenu;
  DWORD FLastSysMenuTick = 0;
  DWORD FDoubleClickTime = 500;
  bool FHoverTimer = false;
  TSkinScratchUser FScratch;
  std::vector<TSkinControl*> FControls; // the control skinners (SkinClassify.cpp)
};
