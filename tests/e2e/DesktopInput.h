// Input the way a user gives it under Wine's X11 driver (pointer moves and key presses through
// xdotool), windows with child controls opened by the test, and the program's notification
// icon seen from outside: the hidden window it belongs to, its menu and the items of that menu.
#pragma once
#include "E2e.h"

#include <memory>
#include <string>

namespace e2e {

// Runs xdotool with arguments on the X display of the session (DISPLAY must be set).
void Xdotool(const std::string& args);
// Moves the X pointer and waits until the system reports it there.
bool MovePointer(int x, int y);
// Moves the X pointer to p and clicks button (1 left, 3 right) count times, 80 ms apart.
void ClickAt(POINT p, int button = 1, int count = 1);
// Runs xdotool pointer steps in one process, so that they reach the display in their order,
// then moves the pointer on to end (where the steps do not leave it) and waits until it is there:
// by then every step has reached the display.
bool PointerSteps(const std::string& steps, POINT end);
// Presses the left button at from, moves the pointer to to in steps, releases it there and then
// moves it one pixel further (down and right) as the mark of the end.
bool DragPointer(POINT from, POINT to, int steps = 6);
// Presses and releases F5 on the X display: it goes to the window under the pointer, whose
// thread turns it into input, and a registered hotkey takes it from there.
void PressF5OnDisplay();
// Presses and releases F5 through the system's input queue (no X window involved).
void PressF5Injected();
POINT Centre(HWND wnd);

// Top-level windows with child controls, owned by a background thread that handles their
// messages.
class TWindowSet {
public:
  TWindowSet();
  ~TWindowSet();
  TWindowSet(const TWindowSet&) = delete;
  TWindowSet& operator=(const TWindowSet&) = delete;
  // A visible top-level window of its own class (registered on first use).
  HWND Top(const std::string& className, const std::string& title, int x, int y, int w, int h);
  // A visible child window (className "BUTTON" or a class registered here).
  HWND Child(HWND parent, const std::string& className, const std::string& text, int x, int y,
             int w, int h);

private:
  struct TState;
  std::unique_ptr<TState> FState;
};

// Whether the shell holds an icon of (wnd, id 0).
bool ShellHasIcon(HWND wnd);
// Takes the icon of (wnd, id 0) out of the shell, as a new taskbar would not know it.
void RemoveShellIcon(HWND wnd);
// The program's hidden window whose icon the shell holds, or none.
HWND TrayWindow(DWORD pid);
// The program's open popup menu window (class "#32768"), or none.
HWND OpenMenu(DWORD pid);
// A mouse message from the shell to the icon's window (callback 0xB054).
void TrayMouse(HWND tray, UINT mouseMessage);
// The rows of the program's tray menu, top to bottom. The separator is kTraySeparatorHeight
// pixels high; the items share the rest of the menu's height inside its frame.
enum TTrayRow { trShow, trAutostart, trPause, trRecent, trSeparator, trQuit, trCount };
constexpr int kTraySeparatorHeight = 8, kTrayMenuFrame = 3;
// A row of the open tray menu, in screen coordinates.
RECT TrayMenuRow(HWND menu, int row);
// Clicks a row of the open tray menu with the real pointer.
void ClickTrayMenuItem(HWND menu, int row);

} // namespace e2e
