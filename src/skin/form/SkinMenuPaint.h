// Painting and measuring of skinned menu items: the "MenuItem" cells over the cached background
// of the menu window, glyphs, check marks, captions, shortcuts and separators, and the switches
// that make the toolkit's menus (or the items of a raw menu handle) owner-drawn for it.
//
// Every function takes the skin data it paints with; none needs a form skinner. Items of a
// skin without a "MenuItem" element are drawn plainly in the skin's colours.
#pragma once
#include <windows.h>

#include <memory>

class TComponent;
class TMenu;
class TMenuItem;
class TSkinData;

// Draws a toolkit menu item into dc at rect, selected or not. barMenu is the menu of the menu
// bar, used for items that have no parent menu of their own (may be null).
void DrawMenuItem(TSkinData* data, TMenuItem* item, HDC dc, const RECT& rect, bool selected,
                  TMenu* barMenu = nullptr);

// The size of an item of a popup menu: the toolkit's width, grown by the element's left margin
// and the room of the skinned glyph column; the height is the toolkit's.
void MeasurePopupItem(TSkinData* data, TMenuItem* item, HDC dc, int& width, int& height);
// The same for items of menu bar drop-downs, tool-button and toolbar menus.
void MeasureMainItem(TSkinData* data, TMenuItem* item, HDC dc, int& width, int& height);

// A toolkit item standing for item `command` of a raw menu handle: caption (an empty one
// becomes "-"), enabled and checked as the raw item. Null when the menu has no such item.
std::unique_ptr<TMenuItem> MakeRawMenuItem(HMENU menu, UINT command);
// Draws an item of a raw menu handle (built by MakeRawMenuItem) over the background of the
// menu window that shows menu; separators draw an etched line.
void DrawRawItem(TSkinData* data, HMENU menu, const TMenuItem& item, bool selected,
                 const RECT& rect, HDC dc);
// The size of item `command` of a raw menu handle: text width in the menu font + 26 (+ the
// element's left margin), height of the text + 4, or 8 for a separator.
void MeasureRawItem(TSkinData* data, HMENU menu, UINT command, HDC dc, int& width, int& height);

// Owner drawing of every popup menu of owner (and of the forms and frames it owns) switched
// on or off; menus whose Tag is the skin data's DisableTag are left alone.
void OwnerDrawPopups(TSkinData* data, TComponent* owner, bool on);
// Owner drawing of a main menu's drop-down items (depth 2 and deeper) switched on or off.
void OwnerDrawMainMenus(TSkinData* data, TMenu* menu, bool on);
// Owner drawing of one item and every item below it switched on or off.
void OwnerDrawItems(TSkinData* data, TMenuItem* item, bool on);
// Gives (on) or takes away (off) the owner-draw type flag of every item of a raw menu handle
// and its sub-menus; texts and states stay.
void OwnerDrawRawMenu(HMENU menu, bool on);

// WM_MEASUREITEM / WM_DRAWITEM of an item of menu (a toolkit menu tracked with a window that
// is not its owner, such as the skinned system menu) measured or drawn through the item's
// handlers; false, and nothing done, for any other message or item.
bool DispatchMenuOwnItem(TMenu* menu, UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result);

// The offset of the client area of menu window wnd within the window (where item rectangles
// start in the cached background).
POINT MenuClientOffset(HWND wnd);
