// TTrayIcon on the real shell of the test session: the record it hands over, adding and
// removing the icon, the callback messages of each mouse action turned into events, the popup
// menu, the return after "TaskbarCreated", the stored description, and the animation thread.
#include "FormReader.h"
#include "TrayShell.h"
#include "TrayTestUtil.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>

using namespace traytest;

namespace {

// A popup menu that records where it was asked to open instead of opening.
class TRecordingMenu : public TPopupMenu {
public:
  using TPopupMenu::TPopupMenu;
  void Popup(int x, int y) override { Shown.push_back({x, y}); }
  std::vector<POINT> Shown;
};

// A tray icon whose events are written down in order.
class TRecordingTray : public TTrayIcon {
public:
  explicit TRecordingTray(TComponent* owner = nullptr) : TTrayIcon(owner) {
    auto name = [](TMouseButton b) { return b == mbLeft ? "L" : b == mbRight ? "R" : "M"; };
    auto flags = [](TShiftState s) {
      std::string f;
      if (s & ssShift) f += "s";
      if (s & ssCtrl) f += "c";
      if (s & ssAlt) f += "a";
      if (s & ssLeft) f += "L";
      if (s & ssRight) f += "R";
      if (s & ssMiddle) f += "M";
      if (s & ssDouble) f += "D";
      return f;
    };
    OnMouseDown = [=, this](TObject*, TMouseButton b, TShiftState s, int x, int y) {
      Events.push_back(std::string("down ") + name(b) + " " + flags(s));
      Where = {x, y};
    };
    OnMouseUp = [=, this](TObject*, TMouseButton b, TShiftState s, int, int) {
      Events.push_back(std::string("up ") + name(b) + " " + flags(s));
    };
    OnClick = [=, this](TObject*, TMouseButton b, TShiftState, int, int) {
      Events.push_back(std::string("click ") + name(b));
    };
    OnDblClick = [this](TObject*) { Events.push_back("dblclick"); };
    OnMouseMove = [this](TObject*, TShiftState, int x, int y) {
      Events.push_back("move");
      Where = {x, y};
    };
  }
  void FillNotifyRecord() override {
    FilledOn.insert(GetCurrentThreadId());
    TTrayIcon::FillNotifyRecord();
  }
  void Send(UINT mouseMessage) {
    SendMessageA(WindowHandle(), WM_TRAYNOTIFY, 0, static_cast<LPARAM>(mouseMessage));
  }
  std::vector<std::string> Take() { return std::exchange(Events, {}); }
  std::vector<std::string> Events;
  POINT Where{};
  std::set<DWORD> FilledOn;
};

using Events = std::vector<std::string>;

class TrayIcon : public ::testing::Test {
protected:
  void SetUp() override {
    App();
    Icon.LoadFromBytes(MakeIconFile(16, 16, 0xFF3060A0));
  }
  TIcon Icon;
};

TEST_F(TrayIcon, TheRecordHandedToTheShell) {
  TTrayIcon tray(nullptr);
  tray.SetIcon(&Icon);
  tray.SetHint("Short tip|and the long part");
  const NOTIFYICONDATAA& r = tray.NotifyRecord();
  EXPECT_EQ(r.cbSize, sizeof(void*) == 8 ? 104u : 88u); // the shell refuses any other size
  EXPECT_EQ(r.hWnd, tray.WindowHandle());
  EXPECT_EQ(r.uID, 0u);
  EXPECT_EQ(r.uFlags, 7u);
  EXPECT_EQ(r.uCallbackMessage, 0xB054u);
  EXPECT_EQ(r.hIcon, tray.Icon()->Handle());
  EXPECT_STREQ(r.szTip, "Short tip");

  tray.SetHint(std::string(100, 'x'));
  EXPECT_EQ(std::string(tray.NotifyRecord().szTip), std::string(63, 'x'));
  // Double-byte text is cut before a character that would not fit whole.
  std::string wide;
  for (int i = 0; i < 40; ++i)
    wide += "\xB2\xE2"; // "测" in code page 936
  tray.SetHint(wide);
  EXPECT_EQ(std::string(tray.NotifyRecord().szTip), wide.substr(0, 62));
  tray.SetHint("");
  EXPECT_STREQ(tray.NotifyRecord().szTip, "");

  // Without an icon the record carries -1, and the icon leaves the shell.
  tray.FillNotifyRecord();
  tray.Icon()->Clear();
  tray.FillNotifyRecord();
  EXPECT_EQ(tray.NotifyRecord().hIcon, reinterpret_cast<HICON>(static_cast<intptr_t>(-1)));
  EXPECT_FALSE(tray.Added());
  EXPECT_FALSE(ShellHasIcon(tray.WindowHandle()));
}

TEST_F(TrayIcon, AddsAndRemovesTheIcon) {
  HWND wnd;
  {
    TTrayIcon tray(nullptr);
    wnd = tray.WindowHandle();
    EXPECT_TRUE(tray.Active());
    EXPECT_FALSE(tray.Added()); // no icon yet
    EXPECT_FALSE(ShellHasIcon(wnd));
    tray.SetIcon(&Icon);
    EXPECT_TRUE(tray.Added());
    EXPECT_TRUE(ShellHasIcon(wnd));
    tray.SetActive(false);
    EXPECT_FALSE(tray.Added());
    EXPECT_FALSE(ShellHasIcon(wnd));
    tray.SetIcon(&Icon); // a change while inactive does not add it
    EXPECT_FALSE(ShellHasIcon(wnd));
    tray.SetActive(true);
    EXPECT_TRUE(ShellHasIcon(wnd));
  }
  EXPECT_FALSE(ShellHasIcon(wnd));
  EXPECT_FALSE(IsWindow(wnd));
}

TEST_F(TrayIcon, TheHiddenWindowIsARealTopLevelWindow) {
  TTrayIcon tray(nullptr);
  HWND wnd = tray.WindowHandle();
  ASSERT_TRUE(IsWindow(wnd));
  EXPECT_FALSE(IsWindowVisible(wnd));
  EXPECT_EQ(GetParent(wnd), nullptr);
  // A message-only window would have the message window as its parent, not the desktop.
  EXPECT_EQ(GetAncestor(wnd, GA_PARENT), GetDesktopWindow());
}

TEST_F(TrayIcon, ComesBackAfterTaskbarCreated) {
  TTrayIcon tray(nullptr);
  tray.SetIcon(&Icon);
  ASSERT_TRUE(ShellHasIcon(tray.WindowHandle()));
  ASSERT_NE(TrayTaskbarCreatedMessage, 0u);
  // A new taskbar knows nothing of the icon; then the message goes to every top-level window.
  RemoveFromShell(tray.WindowHandle());
  ASSERT_FALSE(ShellHasIcon(tray.WindowHandle()));
  PostMessageA(HWND_BROADCAST, TrayTaskbarCreatedMessage, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return ShellHasIcon(tray.WindowHandle()); }, 3000));
  EXPECT_TRUE(tray.Added());
  EXPECT_TRUE(tray.Active());
}

TEST_F(TrayIcon, AFailedRegistrationDoesNotMakeEveryNullMessageARestart) {
  TTrayIcon tray(nullptr);
  tray.SetIcon(&Icon);
  const UINT saved = TrayTaskbarCreatedMessage;
  TrayTaskbarCreatedMessage = 0;
  RemoveFromShell(tray.WindowHandle());
  SendMessageA(tray.WindowHandle(), WM_NULL, 0, 0);
  TrayTaskbarCreatedMessage = saved;
  EXPECT_FALSE(ShellHasIcon(tray.WindowHandle()));
}

TEST_F(TrayIcon, MouseMessagesBecomeEvents) {
  TRecordingTray tray;
  tray.SetIcon(&Icon);
  SetCursorPos(123, 77);
  tray.Send(WM_MOUSEMOVE);
  EXPECT_EQ(tray.Take(), Events{"move"});
  EXPECT_EQ(tray.Where.x, 123);
  EXPECT_EQ(tray.Where.y, 77);

  // A click needs a press on the icon first.
  tray.Send(WM_LBUTTONDOWN);
  tray.Send(WM_LBUTTONUP);
  EXPECT_EQ(tray.Take(), (Events{"down L L", "click L", "up L L"}));
  tray.Send(WM_LBUTTONUP);
  EXPECT_EQ(tray.Take(), Events{"up L L"});

  // A double click: one click on the first release, a double click, no second click.
  tray.Send(WM_LBUTTONDOWN);
  tray.Send(WM_LBUTTONUP);
  tray.Send(WM_LBUTTONDBLCLK);
  tray.Send(WM_LBUTTONUP);
  EXPECT_EQ(tray.Take(),
            (Events{"down L L", "click L", "up L L", "dblclick", "down L D", "up L L"}));

  // Right button, without a popup menu: a click event. Pressed elsewhere and released over
  // the icon: no click.
  tray.Send(WM_RBUTTONDOWN);
  tray.Send(WM_RBUTTONUP);
  EXPECT_EQ(tray.Take(), (Events{"down R R", "click R", "up R R"}));
  tray.Send(WM_RBUTTONUP);
  EXPECT_EQ(tray.Take(), Events{"up R R"});
  tray.Send(WM_RBUTTONDBLCLK);
  EXPECT_EQ(tray.Take(), Events{"down R D"});

  tray.Send(WM_MBUTTONDOWN);
  tray.Send(WM_MBUTTONUP);
  tray.Send(WM_MBUTTONDBLCLK);
  EXPECT_EQ(tray.Take(), (Events{"down M M", "up M M", "down M D"}));

  // The presses pending when the icon is removed are forgotten.
  tray.Send(WM_LBUTTONDOWN);
  tray.SetActive(false);
  tray.SetActive(true);
  tray.Send(WM_LBUTTONUP);
  EXPECT_EQ(tray.Take(), (Events{"down L L", "up L L"}));

  // Keys held down.
  BYTE keys[256];
  GetKeyboardState(keys);
  BYTE held[256];
  std::copy(keys, keys + 256, held);
  held[VK_SHIFT] = held[VK_CONTROL] = held[VK_MENU] = 0x80;
  SetKeyboardState(held);
  tray.Send(WM_MBUTTONDOWN);
  SetKeyboardState(keys);
  EXPECT_EQ(tray.Take(), Events{"down M scaM"});

  // Other messages and a disabled component: nothing.
  tray.Send(WM_KEYDOWN);
  tray.SetEnabled(false);
  tray.Send(WM_LBUTTONDOWN);
  tray.Send(WM_LBUTTONUP);
  EXPECT_TRUE(tray.Take().empty());
}

TEST_F(TrayIcon, ARightClickOpensThePopupMenuAtThePointer) {
  TComponent root(nullptr);
  auto* menu = new TRecordingMenu(&root);
  TRecordingTray tray(&root);
  tray.SetIcon(&Icon);
  tray.SetPopupMenu(menu);
  SetCursorPos(200, 150);
  tray.Send(WM_RBUTTONDOWN);
  tray.Send(WM_RBUTTONUP);
  ASSERT_EQ(menu->Shown.size(), 1u);
  EXPECT_EQ(menu->Shown[0].x, 200);
  EXPECT_EQ(menu->Shown[0].y, 150);
  EXPECT_EQ(menu->PopupComponent, &tray);
  EXPECT_EQ(tray.Take(), (Events{"down R R", "up R R"})); // the popup replaces the click event

  // Left clicks never open it.
  tray.Send(WM_LBUTTONDOWN);
  tray.Send(WM_LBUTTONUP);
  EXPECT_EQ(menu->Shown.size(), 1u);

  // A menu that does not pop up by itself lets the click event through.
  menu->AutoPopup = false;
  tray.Take();
  tray.Send(WM_RBUTTONDOWN);
  tray.Send(WM_RBUTTONUP);
  EXPECT_EQ(tray.Take(), (Events{"down R R", "click R", "up R R"}));
  menu->AutoPopup = true;

  // An inactive icon has no menu.
  tray.SetActive(false);
  tray.Send(WM_RBUTTONDOWN);
  tray.Send(WM_RBUTTONUP);
  EXPECT_EQ(menu->Shown.size(), 1u);

  // The menu's removal clears the reference.
  delete menu;
  EXPECT_EQ(tray.PopupMenu(), nullptr);
}

TEST_F(TrayIcon, TheRealMenuOpensAndCloses) {
  TComponent root(nullptr);
  auto* menu = new TPopupMenu(&root);
  for (const char* caption : {"one", "two", "three"}) {
    auto* item = new TMenuItem(&root);
    item->SetCaption(caption);
    menu->Items()->Add(item);
  }
  TTrayIcon tray(&root);
  tray.SetIcon(&Icon);
  tray.SetPopupMenu(menu);
  SetCursorPos(300, 260);
  // The menu runs its own message loop; another thread finds the menu window and ends the menu
  // the way EndMenu does, with WM_CANCELMODE to the window that owns it.
  RECT seen{};
  HWND owner = TPopupMenu::PopupWindow();
  std::thread watcher([&seen, owner] {
    for (int i = 0; i < 250; ++i) {
      HWND m = FindWindowA("#32768", nullptr);
      if (m && IsWindowVisible(m)) {
        GetWindowRect(m, &seen);
        break;
      }
      Sleep(20);
    }
    PostMessageA(owner, WM_CANCELMODE, 0, 0);
  });
  SendMessageA(tray.WindowHandle(), WM_TRAYNOTIFY, 0, WM_RBUTTONDOWN);
  SendMessageA(tray.WindowHandle(), WM_TRAYNOTIFY, 0, WM_RBUTTONUP);
  watcher.join();
  EXPECT_EQ(seen.left, 300);
  EXPECT_EQ(seen.top, 260);
  EXPECT_GT(seen.bottom - seen.top, 20);
}

TEST_F(TrayIcon, ADoubleClickRunsTheMenusDefaultItem) {
  TComponent root(nullptr);
  auto* menu = new TRecordingMenu(&root);
  std::vector<std::string> clicked;
  for (const char* caption : {"plain", "first default", "second default"}) {
    auto* item = new TMenuItem(&root);
    item->SetCaption(caption);
    item->OnClick = [&clicked, caption](TObject*) { clicked.push_back(caption); };
    menu->Items()->Add(item);
  }
  menu->Items()->Item(1)->SetDefault(true);
  menu->Items()->Item(2)->SetDefault(true);
  TRecordingTray tray(&root);
  tray.SetIcon(&Icon);
  tray.SetPopupMenu(menu);
  tray.Send(WM_LBUTTONDBLCLK);
  EXPECT_EQ(clicked, std::vector<std::string>{"first default"});
  EXPECT_EQ(tray.Take(), Events{"down L D"});
  // A disabled default item is passed over; with none left, the event fires.
  menu->Items()->Item(1)->SetEnabled(false);
  menu->Items()->Item(2)->SetEnabled(false);
  tray.Send(WM_LBUTTONDBLCLK);
  EXPECT_EQ(clicked.size(), 1u);
  EXPECT_EQ(tray.Take(), (Events{"dblclick", "down L D"}));
}

TEST_F(TrayIcon, AnErrorInAnEventGoesToTheApplication) {
  // A standard exception and one of any other type: neither may cross the window procedure.
  const std::function<void()> throwers[] = {[] { throw Exception("handler failed"); },
                                            [] { throw 42; }};
  for (const auto& thrower : throwers) {
    TTrayIcon tray(nullptr);
    tray.SetIcon(&Icon);
    tray.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { thrower(); };
    int reported = 0;
    App().OnException = [&](TObject*) { ++reported; };
    LRESULT r = SendMessageA(tray.WindowHandle(), WM_TRAYNOTIFY, 0, WM_LBUTTONDOWN);
    App().OnException = nullptr;
    EXPECT_EQ(r, 0);
    EXPECT_EQ(reported, 1);
  }
}

// A form-like root for reading stored descriptions.
class TRoot : public TComponent {
public:
  TRoot() : TComponent(nullptr) {}
  TNotifyEvent FindMethod(std::string_view name) const override {
    auto* self = const_cast<TRoot*>(this);
    if (name == "TrayClick") return [self](TObject*) { ++self->Clicks; };
    return {};
  }
  int Clicks = 0;
};

TEST_F(TrayIcon, ReadFromAStoredDescription) {
  RegisterTrayClasses();
  RegisterStandardClasses();
  TIconList frames;
  frames.Add(&Icon);
  frames.Add(nullptr);
  const std::string text = "Root : TRoot {\n"
                           "  Menu1 : TPopupMenu {\n"
                           "    Item1 : TMenuItem { Caption = \"x\" }\n"
                           "  }\n"
                           "  Tray1 : TTrayIcon {\n"
                           "    Hint = \"tip|more\"\n"
                           "    Icon = {" +
                           Hex(Stored(Icon.SaveToBytes())) +
                           "}\n"
                           "    Icons = {" +
                           Hex(frames.WriteStored()) +
                           "}\n"
                           "    Interval = 40\n"
                           "    PopupMenu = Menu1\n"
                           "    OnClick = TrayClick\n"
                           "  }\n"
                           "}\n";
  TRoot root;
  ReadComponentText(&root, text);
  auto* tray = dynamic_cast<TTrayIcon*>(root.FindComponent("Tray1"));
  ASSERT_NE(tray, nullptr);
  EXPECT_TRUE(tray->Added());
  EXPECT_TRUE(ShellHasIcon(tray->WindowHandle()));
  EXPECT_EQ(tray->Icon()->SaveToBytes(), Icon.SaveToBytes());
  EXPECT_EQ(tray->Icons()->Count(), 2);
  EXPECT_TRUE(tray->Icons()->Item(1)->Empty());
  EXPECT_EQ(tray->Interval(), 40);
  EXPECT_STREQ(tray->NotifyRecord().szTip, "tip");
  EXPECT_EQ(tray->PopupMenu(), root.FindComponent("Menu1"));
  EXPECT_EQ(GetPropValue(tray, "Hint"), "tip|more");
  EXPECT_EQ(GetPropValue(tray, "Active"), "True");
  // An event bound by name fires with the sender only (the menu has AutoPopup off here).
  static_cast<TPopupMenu*>(root.FindComponent("Menu1"))->AutoPopup = false;
  SendMessageA(tray->WindowHandle(), WM_TRAYNOTIFY, 0, WM_RBUTTONDOWN);
  SendMessageA(tray->WindowHandle(), WM_TRAYNOTIFY, 0, WM_RBUTTONUP);
  EXPECT_EQ(root.Clicks, 1);

  // A damaged "Icons" list reads as empty; "Active = False" keeps the icon out.
  TRoot other;
  ReadComponentText(&other, "Root : TRoot {\n"
                            "  Tray1 : TTrayIcon {\n"
                            "    Active = False\n"
                            "    Icon = {" +
                                Hex(Stored(Icon.SaveToBytes())) +
                                "}\n"
                                "    Icons = {FFFFFFFF}\n"
                                "  }\n"
                                "}\n");
  auto* quiet = dynamic_cast<TTrayIcon*>(other.FindComponent("Tray1"));
  ASSERT_NE(quiet, nullptr);
  EXPECT_EQ(quiet->Icons()->Count(), 0);
  EXPECT_FALSE(quiet->Added());
  EXPECT_FALSE(ShellHasIcon(quiet->WindowHandle()));
}

// ---------------------------------------------------------------------------------------------
// Animation

struct TFrames {
  TIcon Red, Green, Blue;
  TIconList List;
  TFrames() {
    Red.LoadFromBytes(MakeIconFile(16, 16, 0xFFFF0000));
    Green.LoadFromBytes(MakeIconFile(16, 16, 0xFF00FF00));
    Blue.LoadFromBytes(MakeIconFile(16, 16, 0xFF0000FF));
    List.Add(&Red);
    List.Add(&Green);
    List.Add(&Blue);
  }
};

TEST_F(TrayIcon, AnimationAdvancesOnTheUserInterfaceThread) {
  TFrames frames;
  {
    TRecordingTray tray;
    tray.SetIcon(&Icon);
    tray.SetIcons(&frames.List);
    tray.SetInterval(15);
    tray.SetAnimated(true);
    ASSERT_TRUE(tray.Animated());
    EXPECT_EQ(TTimerThread::Running(), 1);
    EXPECT_EQ(tray.FrameIndex(), 0);
    // Every frame shows up in the record handed to the shell, in turn.
    std::set<uint32_t> colours;
    int last = 0, advances = 0;
    PumpUntil(
        [&] {
          if (tray.FrameIndex() != last) {
            ++advances;
            last = tray.FrameIndex();
            colours.insert(IconCentre(tray.NotifyRecord().hIcon, 16));
          }
          return advances >= 6;
        },
        5000);
    EXPECT_GE(advances, 6);
    EXPECT_EQ(colours, (std::set<uint32_t>{0xFF0000, 0x00FF00, 0x0000FF}));
    EXPECT_TRUE(ShellHasIcon(tray.WindowHandle()));
    // Only the user-interface thread ever touched the record.
    EXPECT_EQ(tray.FilledOn, std::set<DWORD>{GetCurrentThreadId()});

    // Removed from the shell: the thread is suspended and the frames stand still.
    tray.SetActive(false);
    const int held = tray.FrameIndex();
    PumpUntil([] { return false; }, 150);
    EXPECT_EQ(tray.FrameIndex(), held);
    tray.SetActive(true);
    EXPECT_TRUE(PumpUntil([&] { return tray.FrameIndex() != held; }, 3000));

    tray.SetAnimated(false);
    EXPECT_FALSE(tray.Animated());
    EXPECT_EQ(tray.FrameIndex(), 0);
    EXPECT_EQ(tray.NotifyRecord().hIcon, tray.Icon()->Handle());
    EXPECT_TRUE(PumpUntil([] { return TTimerThread::Running() == 0; }, 3000));

    // Emptying the list stops the animation; destroying the component stops it too.
    tray.SetAnimated(true);
    EXPECT_TRUE(tray.Animated());
    tray.Icons()->Clear();
    EXPECT_FALSE(tray.Animated());
    EXPECT_TRUE(PumpUntil([] { return TTimerThread::Running() == 0; }, 3000));
    tray.SetIcons(&frames.List);
    tray.SetAnimated(true);
    tray.SetAnimated(true); // no second thread
    EXPECT_EQ(TTimerThread::Running(), 1);
    PumpUntil([] { return false; }, 50);
  }
  EXPECT_TRUE(PumpUntil([] { return TTimerThread::Running() == 0; }, 3000));
}

// The animation thread ends on its own when the program ends, and when its step can no longer be
// handed to the user-interface thread; the component can still stop and free it afterwards.
TEST_F(TrayIcon, AnimationEndsWithTheProgram) {
  TFrames frames;
  TTrayIcon tray(nullptr);
  tray.SetIcons(&frames.List);
  tray.SetInterval(10);
  tray.SetAnimated(true);
  ASSERT_EQ(TTimerThread::Running(), 1);
  TApplication* const running = Application;
  {
    TApplication ending; // stands in for the program's application while it ends
    ending.Terminate();
    EXPECT_TRUE(PumpUntil([] { return TTimerThread::Running() == 0; }, 3000));
    tray.SetAnimated(false);
  }
  Application = running;
}

TEST_F(TrayIcon, AnimationEndsWhenItsStepIsRefused) {
  EXPECT_EXIT(
      {
        TFrames frames;
        TTrayIcon tray(nullptr);
        tray.SetIcons(&frames.List);
        tray.SetInterval(10);
        tray.SetAnimated(true);
        // The window that takes the threads' steps goes: every hand-over is refused.
        DestroyWindow(FindWindowExA(HWND_MESSAGE, nullptr, "TThreadSyncWindow", nullptr));
        const bool ended = PumpUntil([] { return TTimerThread::Running() == 0; }, 3000);
        tray.SetAnimated(false);
        std::exit(ended ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

// Counts the steps that animation threads hand to this thread's synchronisation window.
int gSyncSteps = 0;
LRESULT CALLBACK CountSyncSteps(int code, WPARAM wparam, LPARAM lparam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lparam);
  char name[32] = "";
  if (code == HC_ACTION && GetClassNameA(sent->hwnd, name, sizeof name) &&
      std::string(name) == "TThreadSyncWindow")
    ++gSyncSteps;
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

TEST_F(TrayIcon, AnIntervalOfZeroDoesNotSpin) {
  TTrayIcon tray(nullptr); // not animating: each step of the thread costs nothing
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, CountSyncSteps, nullptr, GetCurrentThreadId());
  ASSERT_TRUE(hook);
  gSyncSteps = 0;
  auto* thread = new TTimerThread(&tray, false, 0);
  PumpUntil([] { return false; }, 300);
  thread->Detach();
  UnhookWindowsHookEx(hook);
  EXPECT_TRUE(PumpUntil([] { return TTimerThread::Running() == 0; }, 3000));
  // At most one step per 10 ms (the system's timer minimum), with room for a slow pump.
  EXPECT_GT(gSyncSteps, 0);
  EXPECT_LE(gSyncSteps, 300 / 10 + 10);
}

TEST_F(TrayIcon, NoAnimationWithoutIcons) {
  TTrayIcon tray(nullptr);
  tray.SetIcon(&Icon);
  tray.SetAnimated(true);
  EXPECT_FALSE(tray.Animated());
  EXPECT_EQ(TTimerThread::Running(), 0);
  EXPECT_EQ(tray.NotifyRecord().hIcon, tray.Icon()->Handle());
}

TEST_F(TrayIcon, AnimationOfAnIconNotInTheShellWaitsUntilItIsAdded) {
  TFrames frames;
  TTrayIcon tray(nullptr);
  tray.SetActive(false);
  tray.SetIcons(&frames.List);
  tray.SetInterval(10);
  tray.SetAnimated(true);
  PumpUntil([] { return false; }, 120);
  EXPECT_EQ(tray.FrameIndex(), 0);
  tray.SetActive(true);
  EXPECT_TRUE(PumpUntil([&] { return tray.FrameIndex() != 0; }, 3000));
}

} // namespace
