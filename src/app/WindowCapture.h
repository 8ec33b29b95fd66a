// Reading the window under the mouse pointer: its text, or that of its parents, or "C|" and a
// class name, as a ready-made watch entry.
#pragma once
#include <windows.h>

#include <string>

namespace WindowCapture {

// Window texts are read up to this many bytes, whatever length a window reports.
constexpr int kMaxTextLength = 1 << 20;
// The text limit of the WM_GETTEXT request to a window without a title.
constexpr int kGetTextLimit = 254;
// How long a window may take to answer WM_GETTEXT before its text counts as empty.
constexpr UINT kGetTextTimeoutMs = 500;

// The window under the mouse pointer (GetCursorPos, then WindowFromPoint).
HWND WindowUnderPointer();
// The text a window copies for WM_GETTEXT (limit 254, buffer 255 bytes), sent with a time-out:
// empty when the window does not answer in time or copies nothing.
std::string WindowGetText(HWND wnd);
// The class name (at most 254 characters), empty when it cannot be read.
std::string WindowClassName(HWND wnd);

// The text of a window: its title (GetWindowTextLengthA and GetWindowTextA, the length clamped
// to kMaxTextLength, the text ending at its first zero byte), or else what it answers to
// WM_GETTEXT.
std::string TextOf(HWND wnd);
// The text of the window under the pointer.
std::string TextUnderPointer();

// The watch entry for a window: its text; else the title of the first titled window up its
// chain of parents (owners for pop-up windows); else "C|" and the class name of the outermost
// window of that chain.
std::string EntryFor(HWND wnd);
// The watch entry for the window under the pointer (the pointer is read once for the text and
// again for the walk up the parents).
std::string CaptureEntry();

} // namespace WindowCapture
