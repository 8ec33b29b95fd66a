// gallery.exe from outside: its windows with their classes and captions, side by side; a child
// window of every windowed kind of control on the main form; the MDI child inside its frame's
// client, maximized there and restored; the menu form's menu bar and its commands; the program's
// end when the main form closes.
#include "DesktopInput.h"
#include "E2e.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#ifndef GALLERY_EXE
#error GALLERY_EXE must name the built gallery.exe
#endif

using namespace e2e;

namespace {

// gallery.exe, running; ended at the end of the scope if it still runs.
class TGallery {
public:
  TGallery() {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string cmd = "\"" GALLERY_EXE "\"";
    if (!CreateProcessA(GALLERY_EXE, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &FInfo))
      throw std::runtime_error("cannot start " GALLERY_EXE);
  }
  ~TGallery() {
    if (!WaitExit(0)) TerminateProcess(FInfo.hProcess, 1);
    CloseHandle(FInfo.hProcess);
    CloseHandle(FInfo.hThread);
  }
  TGallery(const TGallery&) = delete;
  TGallery& operator=(const TGallery&) = delete;

  bool WaitExit(int ms) const {
    return WaitForSingleObject(FInfo.hProcess, static_cast<DWORD>(ms)) == WAIT_OBJECT_0;
  }
  DWORD ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(FInfo.hProcess, &code);
    return code;
  }
  // The program's top-level window of a class once it is shown; null when none is within 15 s.
  HWND Window(const char* className) const {
    HWND found = nullptr;
    WaitUntil(
        [&] {
          auto windows = ProcessWindows(FInfo.dwProcessId, className);
          found = windows.empty() ? nullptr : windows.front();
          return found && IsWindowVisible(found);
        },
        15000);
    return found;
  }

private:
  PROCESS_INFORMATION FInfo{};
};

// The first child window (at any depth) of a class.
HWND ChildOfClass(HWND parent, const char* className) {
  struct TCtx {
    const char* Class;
    HWND Found;
  } ctx{className, nullptr};
  struct TEnum {
    static BOOL CALLBACK Visit(HWND w, LPARAM l) {
      auto* c = reinterpret_cast<TCtx*>(l);
      if (ClassNameOf(w) != c->Class) return TRUE;
      c->Found = w;
      return FALSE;
    }
  };
  EnumChildWindows(parent, TEnum::Visit, reinterpret_cast<LPARAM>(&ctx));
  return ctx.Found;
}

RECT WindowRect(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

// A window's client area in screen coordinates.
RECT ScreenClientRect(HWND w) {
  RECT r{};
  GetClientRect(w, &r);
  MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool SameRect(const RECT& a, const RECT& b) {
  return EqualRect(&a, &b) != 0;
}

TEST(Gallery, OpensItsWindowsAndItsMdiChildMaximizesInsideTheFrame) {
  TGallery gallery;
  struct TTopLevel {
    const char* Class;
    const char* Caption;
    HWND Wnd;
  } windows[] = {{"TForm_gallery", "Tarnel Gallery", nullptr},
                 {"TForm_galleryDialog", "Gallery Dialog", nullptr},
                 {"TForm_galleryMdi", "Gallery MDI", nullptr},
                 {"TForm_galleryMenu", "Gallery Menu", nullptr}};
  for (TTopLevel& t : windows) {
    t.Wnd = gallery.Window(t.Class);
    ASSERT_NE(t.Wnd, nullptr) << t.Class;
    EXPECT_EQ(WindowText(t.Wnd), t.Caption);
  }
  const LONG mainStyle = GetWindowLongA(windows[0].Wnd, GWL_STYLE);
  EXPECT_EQ(mainStyle & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
            WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  // Side by side on a 1280 x 1024 screen.
  const RECT screen{0, 0, 1280, 1024};
  for (size_t i = 0; i < std::size(windows); ++i) {
    RECT r = WindowRect(windows[i].Wnd), both{};
    EXPECT_TRUE(IntersectRect(&both, &r, &screen) && SameRect(both, r)) << windows[i].Class;
    for (size_t j = i + 1; j < std::size(windows); ++j) {
      RECT other = WindowRect(windows[j].Wnd);
      EXPECT_FALSE(IntersectRect(&both, &r, &other)) << windows[i].Class << windows[j].Class;
    }
  }

  // The main form holds a window of each windowed kind of control.
  for (const char* kind :
       {"TEdit",           "TMemo",      "TButton",        "TListBox",    "TCheckBox",
        "TRadioButton",    "TGroupBox",  "TRadioGroup",    "TPanel",      "TBitBtn",
        "TComboBox",       "TListView",  "THeaderControl", "TTabControl", "TPageControl",
        "TTabSheet",       "TStatusBar", "TProgressBar",   "TTrackBar",   "TScrollBar",
        "TDateTimePicker", "TUpDown",    "TToolBar"})
    EXPECT_NE(ChildOfClass(windows[0].Wnd, kind), nullptr) << kind;
  // Every control window of the main form is skinned: each answers the skin's question (labels
  // have no window; the skin's own scroll-bar overlays and arrow buttons are not controls).
  // Asked from this process, across the boundary.
  struct TAsk {
    std::vector<std::string> Unskinned;
    static BOOL CALLBACK Visit(HWND w, LPARAM l) {
      auto* ask = reinterpret_cast<TAsk*>(l);
      const std::string cls = ClassNameOf(w);
      if (cls == "TWScrollbar" || cls == "TArrowButton" || cls.rfind("T", 0) != 0)
        return TRUE; // the skin's own windows, raw parts of common controls
      DWORD_PTR answer = 0;
      SendMessageTimeoutA(w, 0x3523, 0, 0, SMTO_ABORTIFHUNG, 3000, &answer);
      if (answer != 1) ask->Unskinned.push_back(cls);
      return TRUE;
    }
  } ask;
  WaitUntil(
      [&] {
        ask.Unskinned.clear();
        EnumChildWindows(windows[0].Wnd, TAsk::Visit, reinterpret_cast<LPARAM>(&ask));
        return ask.Unskinned.empty();
      },
      5000);
  EXPECT_TRUE(ask.Unskinned.empty()) << ::testing::PrintToString(ask.Unskinned);

  // The child lives in the frame's MDI client.
  HWND frame = windows[2].Wnd;
  HWND child = ChildOfClass(frame, "TForm_galleryChild");
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(WindowText(child), "Gallery Child");
  HWND client = GetParent(child);
  EXPECT_EQ(ClassNameOf(client), "MDIClient");
  EXPECT_EQ(GetParent(client), frame);
  EXPECT_TRUE(GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_MDICHILD);
  EXPECT_TRUE(IsWindowVisible(child));

  // Maximized inside the frame: its client area is the MDI client's; then restored.
  const RECT normal = WindowRect(child);
  DWORD_PTR r = 0;
  SendMessageTimeoutA(child, WM_SYSCOMMAND, SC_MAXIMIZE, 0, SMTO_ABORTIFHUNG, 5000, &r);
  EXPECT_TRUE(WaitUntil([&] { return IsZoomed(child) != 0; }, 3000));
  EXPECT_TRUE(SameRect(ScreenClientRect(child), ScreenClientRect(client)));
  SendMessageTimeoutA(child, WM_SYSCOMMAND, SC_RESTORE, 0, SMTO_ABORTIFHUNG, 5000, &r);
  EXPECT_TRUE(WaitUntil([&] { return !IsZoomed(child); }, 3000));
  EXPECT_TRUE(SameRect(WindowRect(child), normal));

  // The frame and the menu form have menu bars, drawn by the skin: the skinned bar holds the menu
  // (the window has none of its own meanwhile) and takes a band as high as the system's above the
  // client. Ctrl+N typed on the menu form runs its New command, which writes its name into the
  // form's edit.
  HWND menuForm = windows[3].Wnd;
  for (HWND wnd : {frame, menuForm}) {
    EXPECT_EQ(GetMenu(wnd), nullptr);
    RECT w{}, c{};
    GetWindowRect(wnd, &w);
    GetClientRect(wnd, &c);
    MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&c), 2);
    EXPECT_EQ(c.top - w.top, 28 + GetSystemMetrics(SM_CYMENU));
  }
  HWND edit = ChildOfClass(menuForm, "TEdit");
  ASSERT_NE(edit, nullptr);
  ClickAt(Centre(edit));
  Xdotool("key ctrl+n");
  EXPECT_TRUE(WaitUntil([&] { return WindowText(edit) == "New"; }, 3000)) << WindowText(edit);

  // The skinned menu bar from the real keyboard: Alt+E opens Edit's drop-down with its first item
  // selected, Enter runs it; the same for Alt+H and Help's drop-down.
  struct TKeys {
    const char* Keys;
    const char* Expected;
  };
  for (const TKeys& k : {TKeys{"alt+e", "Copy"}, TKeys{"alt+h", "About"}}) {
    ClickAt(Centre(edit));
    Xdotool(std::string("key ") + k.Keys);
    DWORD process = 0;
    GetWindowThreadProcessId(menuForm, &process);
    ASSERT_TRUE(WaitUntil([&] { return OpenMenu(process) != nullptr; }, 3000)) << k.Keys;
    Xdotool("key Return");
    EXPECT_TRUE(WaitUntil([&] { return WindowText(edit) == k.Expected; }, 3000))
        << k.Keys << ": " << WindowText(edit);
  }

  // Closing the main form ends the program, cleanly.
  PostMessageA(windows[0].Wnd, WM_CLOSE, 0, 0);
  ASSERT_TRUE(gallery.WaitExit(10000));
  EXPECT_EQ(gallery.ExitCode(), 0u);
}

} // namespace
