// Menus: items with captions, check marks and handlers; popup menus.
#pragma once
#include "Controls.h"

class TMenu;

class TMenuItem : public TComponent {
  TK_DECLARE_CLASS(TMenuItem)
public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  std::string Caption() const { return FCaption; }
  void SetCaption(const std::string& v);
  bool Checked() const { return FChecked; }
  void SetChecked(bool v);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v);
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  bool Default() const { return FDefault; }
  void SetDefault(bool v);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v) { FImageIndex = v; }
  // Key and modifiers (scShift, scCtrl, scAlt) shown after the caption, as "Ctrl+S"; 0 for none.
  int ShortCut() const { return FShortCut; }
  void SetShortCut(int v);
  UINT Command() const { return FCommand; }

  // Sub-items, and the menu handle that holds them (made on demand).
  const std::vector<TMenuItem*>& Items() const { return FItems; }
  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Item(int i) const { return FItems.at(static_cast<size_t>(i)); }
  void Add(TMenuItem* item);
  void Remove(TMenuItem* item);
  TMenuItem* Parent() const { return FParent; }
  // The menu this item belongs to (through its parents), or null for a loose item.
  TMenu* Menu() const;
  HMENU Handle();
  void RebuildHandle();
  // The text the menu shows: the caption ("&" accelerators kept), a tab and the shortcut text
  // when the item has a shortcut and its caption holds no tab of its own.
  std::string MenuText() const;
  // Gives every item of this item's menu handle, and of the sub-menus below it, the owner-draw
  // type flag (on) or takes it away (off); texts, states and identifiers stay.
  void ApplyOwnerDraw(bool on);

  TNotifyEvent OnClick;
  // Owner-draw hooks for whoever paints the menu.
  std::function<void(TMenuItem*, HDC, const RECT&, UINT state)> OnDrawItem;
  std::function<void(TMenuItem*, HDC, int& width, int& height)> OnMeasureItem;
  virtual void Click();
  // The toolkit's own measure and paint of an owner-drawn item (system menu colours and font,
  // check mark, caption and shortcut text), used when the item has no handler.
  void DefaultMeasureItem(HDC dc, int& width, int& height) const;
  void DefaultDrawItem(HDC dc, const RECT& rect, UINT state) const;

  static TMenuItem* FindByCommand(UINT command);
  // The item whose sub-menu handle is menu (as built), or null.
  static TMenuItem* FindBySubMenu(HMENU menu);

private:
  friend class TMenu;
  friend class TMainMenu;
  void UpdateInParent();
  // Tells the menu above this item that its items changed.
  void Changed();
  void DestroyHandle();
  UINT MenuFlags() const;
  std::string FCaption;
  bool FChecked = false, FEnabled = true, FVisible = true, FDefault = false;
  int FImageIndex = -1;
  int FShortCut = 0;
  UINT FCommand = 0;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr; // set on a menu's root item only
  bool FMenuBar = false;  // a root item whose handle is a menu bar
  std::vector<TMenuItem*> FItems;
  TMenuHandle FHandle;
  friend class TMenu;
};

// Sets (on) or clears (off) the owner-draw type flag of every item of a menu handle and of its
// sub-menus, by position; texts, states and identifiers stay. Null is ignored.
void SetMenuOwnerDrawFlags(HMENU menu, bool on);

// WM_MEASUREITEM / WM_DRAWITEM of a menu item (CtlType ODT_MENU) sent to a window: the toolkit
// item is found by command (or by sub-menu handle) and measured or drawn through its
// OnMeasureItem / OnDrawItem, or by default. False (message untouched) for anything else.
bool DispatchMenuItemMessage(TMessage& msg);

class TMenu : public TComponent {
  TK_DECLARE_CLASS(TMenu)
public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;
  TMenuItem* Items() const { return FItems.get(); }
  // The menu handle; its items carry the owner-draw type flag while OwnerDraw is set.
  HMENU Handle();
  // Items are drawn by their OnDrawItem / OnMeasureItem handlers (or by default) while set.
  bool OwnerDraw = false;
  // An item below this menu changed (caption, state, items added or removed).
  virtual void MenuChanged() {}
  // Sets OwnerDraw and brings the flags of a menu handle already built in line with it.
  void SetOwnerDraw(bool on);
  // Glyphs of the items (ImageIndex), not owned; none by default.
  HIMAGELIST Images = nullptr;

protected:
  std::unique_ptr<TMenuItem> FItems; // the root item, whose sub-items are the menu's items
  bool FAppliedOwnerDraw = false;    // the flag state of the built handle
};

class TPopupMenu : public TMenu {
  TK_DECLARE_CLASS(TPopupMenu)
public:
  explicit TPopupMenu(TComponent* owner);
  bool AutoPopup = true;
  TComponent* PopupComponent = nullptr;
  TNotifyEvent OnPopup;
  // Opens the menu at a screen point and returns when it closes; the chosen item's OnClick
  // runs through the menu window's WM_COMMAND.
  virtual void Popup(int x, int y);
  // The hidden window that owns popup menus while they are open.
  static HWND PopupWindow();
};

// A form's menu bar. While a form shows it, a change of its items rebuilds the window's menu and
// sends the form CM_MENUCHANGED.
class TMainMenu : public TMenu {
  TK_DECLARE_CLASS(TMainMenu)
public:
  explicit TMainMenu(TComponent* owner);
  ~TMainMenu() override;
  // The window whose menu bar this menu is (null for none); set by the form.
  HWND WindowHandle() const { return FWindow; }
  void SetWindowHandle(HWND wnd);
  void MenuChanged() override;
  // The item whose shortcut is the key with the current modifier state, or null.
  TMenuItem* FindShortCut(int shortCut) const;

private:
  HWND FWindow = nullptr;
};

// Shortcut modifiers, or-ed with a virtual-key code.
constexpr int scShift = 0x2000;
constexpr int scCtrl = 0x4000;
constexpr int scAlt = 0x8000;
// "Ctrl+S", "Shift+F5", "Ctrl+Alt+Del"; "" for 0.
std::string ShortCutToText(int shortCut);
