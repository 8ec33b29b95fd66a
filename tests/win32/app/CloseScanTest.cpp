// The close scan on real windows: which window a watch entry asks to close, and that a window
// that does not answer is left alone without hiding another window of its title.
#include "CloseScan.h"
#include "Handles.h"
#include "WatchListFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr char kClass[] = "TarnelCloseScanTest";

constexpr char kOtherClass[] = "TarnelCloseScanOther";

// Runs inside every close request a test window handles, when set.
std::function<void()> OnCloseRequest;

// User data of a test window that hides itself on a close request instead of closing.
constexpr LONG_PTR kHidesOnClose = 2;

// Windows of the test classes close on WM_CLOSE unless their user data says they refuse (or
// hide themselves instead).
LRESULT CALLBACK TestProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_CLOSE && OnCloseRequest) OnCloseRequest();
  if (msg == WM_CLOSE && GetWindowLongPtrA(wnd, GWLP_USERDATA) == kHidesOnClose)
    ShowWindow(wnd, SW_HIDE);
  if (msg == WM_CLOSE && GetWindowLongPtrA(wnd, GWLP_USERDATA)) return 0;
  return DefWindowProcA(wnd, msg, wparam, lparam);
}

HWND MakeWindowOf(const char* cls, const std::string& title, bool refuses, DWORD style = WS_POPUP,
                  HWND parent = nullptr) {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = TestProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    const bool one = RegisterClassA(&wc) != 0;
    wc.lpszClassName = kOtherClass;
    return one && RegisterClassA(&wc) != 0;
  }();
  if (!registered) return nullptr;
  HWND wnd = CreateWindowExA(0, cls, title.c_str(), style, 0, 0, 10, 10, parent, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  if (wnd) SetWindowLongPtrA(wnd, GWLP_USERDATA, refuses ? 1 : 0);
  return wnd;
}

HWND MakeWindow(const std::string& title, bool refuses) {
  return MakeWindowOf(kClass, title, refuses);
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

// The window the system's own lookup gives an entry, searching after `after`.
HWND SystemPick(const std::string& entry, HWND after) {
  if (!WatchListFile::IsLookedUp(entry)) return nullptr;
  if (WatchListFile::IsClassEntry(entry))
    return FindWindowExA(nullptr, after, std::string(WatchListFile::ClassNameOf(entry)).c_str(),
                         nullptr);
  return FindWindowExA(nullptr, after, nullptr, entry.c_str());
}

TEST(CloseScan, EveryEntryFindsTheWindowTheSystemLookupFinds) {
  const std::string long255(255, 'M'), long300(300, 'L'), long1000(1000, 'K');
  const struct {
    const char* Class;
    std::string Title;
    DWORD Style;
  } windows[] = {
      {kClass, "Diff twin", WS_POPUP},
      {kClass, "Diff twin", WS_POPUP | WS_VISIBLE},
      {kOtherClass, "DIFF Twin", WS_POPUP},
      {kOtherClass, "今日广告 - ABC", WS_POPUP},
      {kClass, "今日广告", WS_POPUP | WS_VISIBLE},
      {kClass, long255, WS_POPUP},
      {kOtherClass, long300, WS_POPUP},
      {kClass, long1000, WS_POPUP | WS_VISIBLE},
      {kOtherClass, "", WS_POPUP},
  };
  const std::string entries[] = {
      "Diff twin",
      "diff TWIN",
      "Diff twi",
      "Diff twin ",
      "今日广告 - abc",
      "今日广告",
      "今日",
      long255,
      long255 + "M",
      long300,
      long300.substr(1),
      long1000,
      "C|" + std::string(kClass),
      "C|tarnelclosescanother",
      "C|TarnelCloseScan",
      "",
      "C|",
      "Absent anywhere",
      "AC|" + std::string(kClass),
  };
  std::vector<HWND> wnds;
  for (const auto& w : windows) {
    wnds.push_back(MakeWindowOf(w.Class, w.Title, false, w.Style));
    ASSERT_NE(wnds.back(), nullptr);
  }
  // A message-only window is never found, by title or by class.
  wnds.push_back(MakeWindowOf(kOtherClass, "Diff message only", false, WS_POPUP, HWND_MESSAGE));
  ASSERT_NE(wnds.back(), nullptr);
  // The hung window comes first in the window order: its title's entries find it first.
  TTestWindow hung(TKind::Hung, "Diff twin");
  ASSERT_EQ(FindWindowA(nullptr, "Diff twin"), hung.Wnd());
  TCloseScan scan;
  for (const std::string& e : entries)
    EXPECT_EQ(scan.FindTarget(e, GetTickCount()), SystemPick(e, nullptr)) << e.substr(0, 40);
  // Once it has not answered, the entries that found it find what a search after it finds.
  scan.RequestClose(hung.Wnd());
  ASSERT_TRUE(scan.LeftAlone(hung.Wnd(), GetTickCount()));
  for (const std::string& e : entries) {
    HWND first = SystemPick(e, nullptr);
    HWND expected = first == hung.Wnd() ? SystemPick(e, hung.Wnd()) : first;
    EXPECT_EQ(scan.FindTarget(e, GetTickCount()), expected) << e.substr(0, 40);
  }
  for (HWND w : wnds)
    DestroyWindow(w);
}

// A pass asks each entry at most once a tick: a pass that a new window starts asks only for
// entries quiet for a tick, and its request stands for the next tick's; ticks keep their rhythm.
TEST(CloseScan, NewWindowPassesAndTicksAskEachEntryOncePerTick) {
  const std::string title = "Pass rhythm window";
  TWatchIndex list;
  list.Assign({title});
  TCloseScan scan;
  const struct {
    TCloseScan::TPassKind Kind;
    DWORD WaitMs; // before the pass
    int Asked;
  } steps[] = {
      {TCloseScan::psTick, 0, 1},    {TCloseScan::psEvent, 0, 0}, {TCloseScan::psTick, 0, 1},
      {TCloseScan::psEvent, 310, 1}, {TCloseScan::psTick, 0, 0},  {TCloseScan::psTick, 310, 1},
  };
  int step = 0;
  for (const auto& s : steps) {
    SCOPED_TRACE(step++);
    HWND wnd = MakeWindow(title, false);
    Sleep(s.WaitMs);
    EXPECT_EQ(scan.Pass(list, s.Kind).Asked, s.Asked);
    EXPECT_EQ(IsWindow(wnd) == FALSE, s.Asked == 1);
    DestroyWindow(wnd);
  }
}

// A list changed while a close request is handled ends the pass: the next entries are left to
// the next pass.
TEST(CloseScan, AListChangedDuringARequestEndsThePass) {
  TWatchIndex list;
  list.Assign({"Change first", "Change second"});
  HWND first = MakeWindow("Change first", false), second = MakeWindow("Change second", false);
  OnCloseRequest = [&] { list.Add("Added meanwhile"); };
  const TCloseScan::TPassResult result = TCloseScan().Pass(list, TCloseScan::psTick);
  OnCloseRequest = nullptr;
  EXPECT_EQ(result.Asked, 1);
  EXPECT_TRUE(result.Stopped);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_TRUE(IsWindow(second));
  DestroyWindow(second);
}

// Pattern entries find the first window of the snapshot whose title they match, compared as
// titles are (case-insensitive, a double-byte character as one); program entries never find a
// window of this process.
TEST(CloseScan, PatternAndProgramEntriesFindTheirWindows) {
  const struct {
    const char* Class;
    const char* Title;
    DWORD Style;
  } windows[] = {
      {kClass, "今日广告 - 123", WS_POPUP},
      {kClass, "今日广 告 - 123", WS_POPUP},
      {kOtherClass, "Setup 2.1 Wizard", WS_POPUP | WS_VISIBLE},
      {kOtherClass, "Setup 2.1 Wizard", WS_CAPTION | WS_VISIBLE}, // found first: made last
      {kClass, "", WS_POPUP},
  };
  const struct {
    std::string Entry;
    int Window; // index into windows, -1 for none
  } cases[] = {
      {"T|*广告*", 0},
      {"T|*广 告*", 1},
      {"T|今日广告 - ???", 0},
      {"T|今日广告 - ??", -1},
      {"T|今日?告 - 123", 0},
      {"T|今日??告 - 123", 1},
      {"T|*SETUP ?.? wizard", 3},
      {"T|*zzz-absent*", -1},
      {"T|", -1},
      {"E|test_closescan_win32.exe", -1},
      {"E|TEST_CLOSESCAN_WIN32.EXE|*Wizard", -1},
  };
  std::vector<HWND> wnds;
  for (const auto& w : windows) {
    wnds.push_back(MakeWindowOf(w.Class, w.Title, false, w.Style));
    ASSERT_NE(wnds.back(), nullptr);
  }
  TCloseScan scan;
  for (const auto& c : cases)
    EXPECT_EQ(scan.FindTarget(c.Entry, GetTickCount()),
              c.Window < 0 ? nullptr : wnds[static_cast<size_t>(c.Window)])
        << c.Entry;
  for (HWND w : wnds)
    DestroyWindow(w);
}

// A pattern entry asks one window a tick, like any entry.
TEST(CloseScan, APatternEntryClosesOneWindowPerTick) {
  TWatchIndex list;
  list.Assign({"T|Pattern rhythm *"});
  HWND one = MakeWindow("Pattern rhythm 1", false), two = MakeWindow("Pattern rhythm 2", false);
  TCloseScan scan;
  EXPECT_EQ(scan.Pass(list, TCloseScan::psTick).Asked, 1);
  EXPECT_EQ(scan.Pass(list, TCloseScan::psEvent).Asked, 0);
  EXPECT_NE(IsWindow(one), IsWindow(two));
  Sleep(TCloseScan::kTickMs + 10);
  EXPECT_EQ(scan.Pass(list, TCloseScan::psTick).Asked, 1);
  EXPECT_FALSE(IsWindow(one) || IsWindow(two));
}

// Every request the window accepted is reported, with the window as it was: it closed, or it
// hid itself. A window that stays as it was is not reported.
TEST(CloseScan, AcceptedRequestsAreReportedWithTheWindowAsItWas) {
  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  const std::wstring program = std::wstring(exe).substr(std::wstring(exe).find_last_of(L"\\/") + 1);
  const struct {
    const char* Title;
    LONG_PTR Behaviour; // user data: 0 closes, 1 refuses, kHidesOnClose
    DWORD Style;
    const char* Entry;
    bool Reported;
  } cases[] = {
      {"Report closes", 0, WS_POPUP, "Report closes", true},
      {"Report refuses", 1, WS_POPUP | WS_VISIBLE, "T|Report refus*", false},
      {"Report hides", kHidesOnClose, WS_POPUP | WS_VISIBLE, "T|report HIDES", true},
      {"Report hidden hides", kHidesOnClose, WS_POPUP, "T|Report hidden*", false},
  };
  TWatchIndex list;
  std::vector<HWND> wnds;
  for (const auto& c : cases) {
    wnds.push_back(MakeWindowOf(kClass, c.Title, false, c.Style));
    SetWindowLongPtrA(wnds.back(), GWLP_USERDATA, c.Behaviour);
    list.Add(c.Entry);
  }
  std::vector<TClosedWindow> reported;
  TCloseScan scan;
  scan.OnClosed = [&](const TClosedWindow& closed) { reported.push_back(closed); };
  SYSTEMTIME before{};
  GetLocalTime(&before);
  EXPECT_EQ(scan.Pass(list, TCloseScan::psTick).Asked, 4);
  size_t next = 0;
  for (const auto& c : cases) {
    if (!c.Reported) continue;
    ASSERT_LT(next, reported.size()) << c.Title;
    const TClosedWindow& r = reported[next++];
    EXPECT_EQ(r.Entry, c.Entry);
    const std::wstring title(c.Title, c.Title + std::strlen(c.Title));
    EXPECT_EQ(r.Title, title);
    EXPECT_EQ(r.ClassName, L"TarnelCloseScanTest");
    EXPECT_EQ(_wcsicmp(r.Program.c_str(), program.c_str()), 0);
    EXPECT_EQ(r.Time.wYear, before.wYear);
    EXPECT_EQ(r.Time.wDay, before.wDay);
  }
  EXPECT_EQ(reported.size(), next);
  for (HWND w : wnds)
    if (IsWindow(w)) DestroyWindow(w);
}

// The side list of pattern and program entries follows additions and deletions in list order.
TEST(WatchIndex, SideEntriesFollowEveryChangeOfTheList) {
  TWatchIndex list;
  list.Assign({"T|a*", "Title", "E|x.exe", "T|", "C|Cls", "E|y.exe|*b"});
  EXPECT_EQ(list.Side(), (std::vector<int>{0, 2, 5}));
  EXPECT_EQ(list.Entry(0).Kind, TWatchIndex::lkPattern);
  EXPECT_EQ(list.Entry(3).Kind, TWatchIndex::lkNone);
  EXPECT_EQ(list.Entry(5).Kind, TWatchIndex::lkProgram);
  EXPECT_EQ(list.Entry(5).Key, L"y.exe");
  EXPECT_TRUE(list.Entry(5).Narrowed);
  EXPECT_EQ(list.Entry(5).Pattern, L"*b");
  EXPECT_FALSE(list.Entry(2).Narrowed);
  list.Delete(1);
  EXPECT_EQ(list.Side(), (std::vector<int>{0, 1, 4}));
  list.Delete(0);
  EXPECT_EQ(list.Side(), (std::vector<int>{0, 3}));
  list.Add("T|*C|*");
  EXPECT_EQ(list.Side(), (std::vector<int>{0, 3, 4}));
  EXPECT_EQ(list.Entry(4).Key, L"*c|*");
  EXPECT_TRUE(list.Searches());
  list.Assign({"", "T|", "E|"});
  EXPECT_FALSE(list.Searches());
}

// The index follows additions and deletions: every key finds exactly the entries that name it.
TEST(WatchIndex, LookupsFollowEveryChangeOfTheList) {
  TWatchIndex list;
  std::vector<std::string> model;
  auto check = [&](const char* step) {
    SCOPED_TRACE(step);
    ASSERT_EQ(list.Texts(), model);
    for (int i = 0; i < static_cast<int>(model.size()); ++i) {
      const TWatchIndex::TEntry& e = list.Entry(i);
      EXPECT_EQ(list.Occurrences(model[static_cast<size_t>(i)]),
                std::count(model.begin(), model.end(), model[static_cast<size_t>(i)]));
      if (e.Kind == TWatchIndex::lkNone) {
        EXPECT_FALSE(WatchListFile::IsLookedUp(e.Text)) << e.Text;
        continue;
      }
      std::vector<int> expected;
      for (int j = 0; j < static_cast<int>(model.size()); ++j)
        if (list.Entry(j).Kind == e.Kind && list.Entry(j).Key == e.Key) expected.push_back(j);
      const std::vector<int>* found = list.Lookup(e.Kind, e.Key);
      ASSERT_NE(found, nullptr) << e.Text;
      EXPECT_EQ(*found, expected) << e.Text;
    }
  };
  model = {"Alpha", "C|Alpha", "alpha", "", "C|", "ALPHA", "Beta", "C|alpha"};
  list.Assign(model);
  check("assigned");
  EXPECT_EQ(list.Entry(0).Key, list.Entry(2).Key);
  EXPECT_EQ(list.Entry(1).Key, list.Entry(7).Key);
  for (int index : {2, 0, 4}) {
    list.Delete(index);
    model.erase(model.begin() + index);
    check("deleted");
  }
  for (const char* text : {"alpha", "Gamma", "C|beta", "Alpha"}) {
    list.Add(text);
    model.push_back(text);
    check("added");
  }
  EXPECT_EQ(list.Lookup(TWatchIndex::lkTitle, WindowKey(std::string_view("absent"))), nullptr);
}

} // namespace
