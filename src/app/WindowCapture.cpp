#include "WindowCapture.h"
#include "WatchListFile.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace WindowCapture {

namespace {

// Parent chains are short; the bound only guards the walk against a chain that keeps changing.
constexpr int kMaxChain = 4096;

std::string UpToZero(const char* buffer, size_t limit) {
  return std::string(buffer, strnlen(buffer, limit));
}

std::string ReadTitle(HWND wnd, int length) {
  if (length <= 0) return {};
  const int len = std::min(length, kMaxTextLength);
  std::vector<char> buffer(static_cast<size_t>(len) + 1, '\0');
  GetWindowTextA(wnd, buffer.data(), len + 1);
  buffer[static_cast<size_t>(len)] = '\0'; // whatever the window wrote or answered
  return UpToZero(buffer.data(), static_cast<size_t>(len));
}

} // namespace

HWND WindowUnderPointer() {
  POINT p{};
  if (!GetCursorPos(&p)) return nullptr;
  return WindowFromPoint(p);
}

std::string WindowGetText(HWND wnd) {
  if (!wnd) return {};
  char buffer[kGetTextLimit + 1] = {};
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(wnd, WM_GETTEXT, kGetTextLimit, reinterpret_cast<LPARAM>(buffer),
                           SMTO_NORMAL | SMTO_ABORTIFHUNG, kGetTextTimeoutMs, &copied))
    return {};
  buffer[kGetTextLimit] = '\0';
  // The answer's count may be anything; the text is what lies before the terminating zero.
  if (static_cast<LRESULT>(copied) <= 0) return {};
  return UpToZero(buffer, kGetTextLimit);
}

std::string WindowClassName(HWND wnd) {
  char buffer[255] = {};
  if (!wnd || GetClassNameA(wnd, buffer, 255) <= 0) return {};
  buffer[254] = '\0';
  return UpToZero(buffer, 254);
}

std::string TextOf(HWND wnd) {
  if (!wnd) return {};
  const int len = GetWindowTextLengthA(wnd);
  if (len > 0) return ReadTitle(wnd, len);
  return WindowGetText(wnd);
}

std::string TextUnderPointer() {
  return TextOf(WindowUnderPointer());
}

static std::string Walk(HWND under, std::string text) {
  if (!text.empty()) return text;
  HWND last = under;
  if (under) {
    HWND w = under;
    for (int step = 0; step < kMaxChain; ++step) {
      w = GetParent(w);
      if (!w) break;
      last = w;
      const int len = GetWindowTextLengthA(w);
      if (len <= 0) continue;
      text = ReadTitle(w, len);
      if (!text.empty()) return text;
    }
  }
  return WatchListFile::ClassEntry(WindowClassName(last));
}

std::string EntryFor(HWND wnd) {
  return Walk(wnd, TextOf(wnd));
}

std::string CaptureEntry() {
  std::string text = TextUnderPointer();
  if (!text.empty()) return text;
  return Walk(WindowUnderPointer(), std::move(text));
}

} // namespace WindowCapture
