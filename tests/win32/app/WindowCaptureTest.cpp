// The capture of the window under the pointer: titles, texts answered to WM_GETTEXT, the walk
// up the parents, the class-name entry, and windows that report absurd lengths or hang.
#include "TestSupport.h"
#include "WindowCapture.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

using namespace WindowCapture;

namespace {

HINSTANCE Instance() {
  return GetModuleHandleA(nullptr);
}

// Window classes whose answers to the text messages are chosen by the test.
struct TAnswers {
  LRESULT Length = 0; // answer to WM_GETTEXTLENGTH
  std::string Text;   // copied for WM_GETTEXT (without a terminating zero when Fill)
  char Fill = 0;      // fill the whole buffer with this byte, no zero
  LRESULT Copied = 0; // answer to WM_GETTEXT
};
thread_local TAnswers gAnswers;

LRESULT CALLBACK OddProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_GETTEXTLENGTH) return gAnswers.Length;
  if (m == WM_GETTEXT) {
    char* buf = reinterpret_cast<char*>(lp);
    if (gAnswers.Fill) {
      std::fill(buf, buf + wp, gAnswers.Fill);
    } else {
      size_t n = std::min<size_t>(gAnswers.Text.size(), wp ? wp - 1 : 0);
      std::copy_n(gAnswers.Text.data(), n, buf);
      if (wp) buf[n] = 0;
    }
    return gAnswers.Copied;
  }
  return DefWindowProcA(w, m, wp, lp);
}

void RegisterClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = Instance();
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  for (const char* name : {"TarnelCaptureTop", "TarnelCaptureChild"}) {
    wc.lpszClassName = name;
    RegisterClassA(&wc);
  }
  wc.lpfnWndProc = OddProc;
  wc.lpszClassName = "TarnelCaptureOdd";
  RegisterClassA(&wc);
}

// A window of the test's classes (or of a system class), destroyed with the object.
struct TWindow : TTestWindow {
  TWindow(const char* cls, const char* title, DWORD style, HWND parent = nullptr, int x = 0,
          int y = 0, int w = 200, int h = 100, DWORD exStyle = 0)
      : TTestWindow((RegisterClasses(), CreateWindowExA(exStyle, cls, title, style, x, y, w, h,
                                                        parent, nullptr, Instance(), nullptr))) {}
};

constexpr DWORD kTop = WS_OVERLAPPEDWINDOW;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

TEST(WindowCapture, TitlesAndControlTexts) {
  TWindow top("TarnelCaptureTop", "Titled window", kTop);
  TWindow button("BUTTON", "Press me", kChild, top);
  EXPECT_EQ(EntryFor(top), "Titled window");
  // A control's own text wins over its window's title.
  EXPECT_EQ(EntryFor(button), "Press me");
  EXPECT_EQ(TextOf(button), "Press me");
  // Text in the program's code page comes through byte for byte.
  TWindow chinese("TarnelCaptureTop", "\xB2\xE2\xCA\xD4", kTop);
  EXPECT_EQ(EntryFor(chinese), "\xB2\xE2\xCA\xD4");
}

TEST(WindowCapture, UntitledWindowsTakeTheTitleUpTheirParents) {
  TWindow top("TarnelCaptureTop", "Outer title", kTop);
  TWindow middle("TarnelCaptureChild", "", kChild, top);
  TWindow inner("TarnelCaptureChild", "", kChild, middle);
  EXPECT_EQ(EntryFor(inner), "Outer title");
  EXPECT_EQ(EntryFor(middle), "Outer title");
  // A pop-up window's parent is its owner.
  TWindow popup("TarnelCaptureChild", "", WS_POPUP, top);
  EXPECT_EQ(EntryFor(popup), "Outer title");
}

TEST(WindowCapture, WithoutAnyTitleTheOutermostClassName) {
  TWindow top("TarnelCaptureTop", "", kTop);
  TWindow middle("TarnelCaptureChild", "", kChild, top);
  TWindow inner("TarnelCaptureChild", "", kChild, middle);
  EXPECT_EQ(EntryFor(inner), "C|TarnelCaptureTop");
  EXPECT_EQ(EntryFor(top), "C|TarnelCaptureTop");
  TWindow lone("TarnelCaptureChild", "", WS_POPUP);
  EXPECT_EQ(EntryFor(lone), "C|TarnelCaptureChild");
  EXPECT_EQ(EntryFor(nullptr), "C|");
  EXPECT_EQ(WindowClassName(reinterpret_cast<HWND>(0x12345678)), "");
}

TEST(WindowCapture, ATextAnsweredOnlyToGetText) {
  gAnswers = {};
  gAnswers.Length = 0;
  gAnswers.Text = "answered text";
  gAnswers.Copied = 13;
  TWindow odd("TarnelCaptureOdd", "", WS_POPUP);
  EXPECT_EQ(EntryFor(odd), "answered text");
  // Copying nothing is an empty text, whatever the buffer holds.
  gAnswers.Copied = 0;
  EXPECT_EQ(WindowGetText(odd), "");
  // The window is given 254 bytes: 253 characters and the terminating zero.
  gAnswers.Text = std::string(400, 't');
  gAnswers.Copied = 253;
  EXPECT_EQ(WindowGetText(odd), std::string(253, 't'));
}

TEST(WindowCapture, LongTitlesAreReadAsFarAsTheWindowReportsThem) {
  std::string title(70000, 'a');
  title += "end";
  TWindow top("TarnelCaptureTop", title.c_str(), kTop);
  // The system may keep less of a title this long than it was given; whatever it reports is
  // read, and nothing beyond the title.
  const int reported = GetWindowTextLengthA(top);
  ASSERT_GT(reported, 0);
  const std::string read = EntryFor(top);
  EXPECT_EQ(read.size(), std::min<size_t>(static_cast<size_t>(reported), title.size()));
  EXPECT_TRUE(title.compare(0, read.size(), read) == 0);
  // A title of 60000 bytes is kept whole.
  const std::string shorter(60000, 'b');
  SetWindowTextA(top, shorter.c_str());
  EXPECT_TRUE(EntryFor(top) == shorter);
}

TEST(WindowCapture, AbsurdLengthsAreClampedAndTheTextTerminated) {
  TWindow odd("TarnelCaptureOdd", "", WS_POPUP);
  // A length near 2^31 and a buffer filled to the brim with no terminating zero.
  gAnswers = {};
  gAnswers.Length = 0x7FFFFFFE;
  gAnswers.Fill = 'g';
  gAnswers.Copied = 0x7FFFFFFF;
  const std::string text = EntryFor(odd);
  EXPECT_EQ(text.size(), static_cast<size_t>(kMaxTextLength));
  EXPECT_TRUE(text.find_first_not_of('g') == std::string::npos);
  // A negative length sends WM_GETTEXT, whose 254-byte buffer is filled and whose count lies.
  gAnswers.Length = -5;
  gAnswers.Fill = 'h';
  gAnswers.Copied = 100000;
  EXPECT_TRUE(EntryFor(odd) == std::string(254, 'h'));
  // A negative count is nothing copied: the walk goes on to the class name.
  gAnswers.Copied = -1;
  EXPECT_EQ(EntryFor(odd), "C|TarnelCaptureOdd");
}

TEST(WindowCapture, AHungWindowGivesAnEmptyTextAfterTheTimeOut) {
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HWND hung = nullptr;
  HANDLE made = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  std::thread owner([&] {
    gAnswers = {};
    gAnswers.Text = "never seen";
    gAnswers.Copied = 10;
    hung = CreateWindowExA(0, "TarnelCaptureOdd", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           Instance(), nullptr);
    SetEvent(made);
    WaitForSingleObject(release, INFINITE); // handles no messages meanwhile
    DestroyWindow(hung);
  });
  RegisterClasses();
  WaitForSingleObject(made, INFINITE);
  const DWORD start = GetTickCount();
  EXPECT_EQ(WindowGetText(hung), "");
  const DWORD took = GetTickCount() - start;
  EXPECT_LT(took, kGetTextTimeoutMs + 2000);
  SetEvent(release);
  owner.join();
  CloseHandle(release);
  CloseHandle(made);
}

TEST(WindowCapture, TheWindowUnderThePointer) {
  TWindow top("TarnelCaptureTop", "Pointer target", kTop | WS_VISIBLE, nullptr, 300, 300, 300, 200,
              WS_EX_TOPMOST);
  TWindow button("BUTTON", "Under the pointer", kChild, top, 10, 10, 150, 40);
  TWindow blank("TarnelCaptureChild", "", kChild, top, 10, 80, 150, 40);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    DispatchMessageA(&msg);
  RECT r;
  GetWindowRect(button, &r);
  SetCursorPos(r.left + 20, r.top + 20);
  EXPECT_EQ(WindowUnderPointer(), button.Handle());
  EXPECT_EQ(TextUnderPointer(), "Under the pointer");
  EXPECT_EQ(CaptureEntry(), "Under the pointer");
  GetWindowRect(blank, &r);
  SetCursorPos(r.left + 20, r.top + 20);
  EXPECT_EQ(TextUnderPointer(), "");
  EXPECT_EQ(CaptureEntry(), "Pointer target");
}

} // namespace
