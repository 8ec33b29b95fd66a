// The close scan on real windows: which window a watch entry asks to close, and that a window
// that does not answer is left alone without hiding another window of its title.
#include "CloseScan.h"
#include "Handles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr char kClass[] = "TarnelCloseScanTest";

// Windows of the test class close on WM_CLOSE unless their user data says they refuse.
LRESULT CALLBACK TestProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_CLOSE && GetWindowLongPtrA(wnd, GWLP_USERDATA)) return 0;
  return DefWindowProcA(wnd, msg, wparam, lparam);
}

HWND MakeWindow(const std::string& title, bool refuses) {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = TestProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    return RegisterClassA(&wc) != 0;
  }();
  if (!registered) return nullptr;
  HWND wnd = CreateWindowExA(0, kClass, title.c_str(), WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  if (wnd) SetWindowLongPtrA(wnd, GWLP_USERDATA, refuses ? 1 : 0);
  return wnd;
}

enum class TKind { Closes, Refuses, Hung };

// A window of the test class; a hung one belongs to a thread that handles no messages until
// the window goes.
class TTestWindow {
public:
  TTestWindow(TKind kind, const std::string& title) {
    if (kind != TKind::Hung) {
      FWnd = MakeWindow(title, kind == TKind::Refuses);
      return;
    }
    TKernelHandle made(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    FRelease.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    FThread = std::thread([this, title, event = made.Get()] {
      FWnd = MakeWindow(title, false);
      SetEvent(event);
      WaitForSingleObject(FRelease.Get(), INFINITE);
      DestroyWindow(FWnd);
    });
    WaitForSingleObject(made.Get(), INFINITE);
  }
  ~TTestWindow() {
    if (FThread.joinable()) {
      SetEvent(FRelease.Get());
      FThread.join();
    } else if (IsWindow(FWnd)) {
      DestroyWindow(FWnd);
    }
  }
  TTestWindow(const TTestWindow&) = delete;
  TTestWindow& operator=(const TTestWindow&) = delete;
  HWND Wnd() const { return FWnd; }

private:
  HWND FWnd = nullptr;
  TKernelHandle FRelease;
  std::thread FThread;
};

TEST(CloseScan, WhichWindowsEachEntryClosesAndWhichItLeavesAlone) {
  const std::string title = "TarnelCloseScan window";
  const std::string byClass = std::string("C|") + kClass;
  struct TWindowCase {
    TKind Kind;
    bool Gone;      // closed after the visits
    bool LeftAlone; // remembered as not having answered
  };
  const struct {
    const char* Name;
    std::string Entry;
    std::vector<TWindowCase> Windows;
    int Visits;
  } cases[] = {
      {"title entry", title, {{TKind::Closes, true, false}}, 1},
      {"class entry", byClass, {{TKind::Closes, true, false}}, 1},
      {"refused, then asked again", title, {{TKind::Refuses, false, false}}, 2},
      {"class entry without a class", "C|", {{TKind::Closes, false, false}}, 1},
      // Whichever of the two comes first, the hung one is left alone and the other is closed.
      {"hung window beside another",
       title,
       {{TKind::Hung, false, true}, {TKind::Closes, true, false}},
       2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TCloseScan scan;
    std::vector<std::unique_ptr<TTestWindow>> windows;
    for (const auto& w : c.Windows) {
      windows.push_back(std::make_unique<TTestWindow>(w.Kind, c.Entry == "C|" ? "" : title));
      ASSERT_NE(windows.back()->Wnd(), nullptr);
    }
    for (int i = 0; i < c.Visits; ++i) {
      HWND asked = scan.Visit(c.Entry);
      EXPECT_EQ(asked != nullptr, c.Entry != "C|") << "visit " << i;
    }
    scan.EndPass();
    for (size_t i = 0; i < windows.size(); ++i) {
      HWND wnd = windows[i]->Wnd();
      EXPECT_EQ(!IsWindow(wnd), c.Windows[i].Gone) << "window " << i;
      EXPECT_EQ(scan.LeftAlone(wnd, GetTickCount()), c.Windows[i].LeftAlone) << "window " << i;
    }
    // A window left alone is not given again (here it is the only one left), and is forgotten
    // once it is gone.
    const bool anyLeftAlone = std::any_of(c.Windows.begin(), c.Windows.end(),
                                          [](const TWindowCase& w) { return w.LeftAlone; });
    if (anyLeftAlone) {
      EXPECT_EQ(scan.FindTarget(c.Entry, GetTickCount()), nullptr);
    }
    windows.clear();
    scan.EndPass();
    EXPECT_EQ(scan.UnansweredCount(), 0u);
  }
}

} // namespace
