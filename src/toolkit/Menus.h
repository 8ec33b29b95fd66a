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
  int ShortCut() const { return FShortCut; }
  void SetShortCut(int v) { FShortCut = v; }
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
  void UpdateInParent();
  void DestroyHandle();
  UINT MenuFlags() const;
  std::string FCaption;
  bool FChecked = false, FEnabled = true, FVisible = true, FDefault = false;
  int FImageIndex = -1;
  int FShortCut = 0;
  UINT FCommand = 0;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr; // set on a menu's root item
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

// Modifier bits of a shortcut value, over the virtual key in the low byte.
constexpr int scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
// The text of a shortcut value, as "Ctrl+S"; empty for 0.
std::string ShortCutToText(int shortCut);

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

class TMainMenu : public TMenu {
  TK_DECLARE_CLASS(TMainMenu)
public:
  using TMenu::TMenu;
};
