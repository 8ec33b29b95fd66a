// The real program under Wine: the close scan, the list commands and their file, start-up
// errors and hiding on minimize.
#include "DesktopInput.h"
#include "E2e.h"
#include "WatchList.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace e2e;

namespace {

// Waits for the program's error box, checks its text and closes it.
void ExpectErrorBox(TTarnel& tarnel, const std::string& text, int ms = 8000) {
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (box = FindMessageBox(tarnel.ProcessId(), "tarnel")); }, ms))
      << text;
  EXPECT_EQ(MessageBoxText(box), text);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  WaitUntil([&] { return !IsWindow(box); }, 2000);
}

TEST(CloseScan, ClosesListedWindowsByTitleAndByClass) {
  TTestWindows windows;
  HWND byTitle = windows.Open("Victim window", "TarnelPlainClass");
  HWND byClass = windows.Open("Any title at all", "TarnelVictimClass");
  HWND bystander = windows.Open("Bystander", "TarnelPlainClass");
  TTarnel tarnel("Victim window\r\nC|TarnelVictimClass\r\n");
  tarnel.Start();
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(byTitle) && !IsWindow(byClass); }, 3000));
  EXPECT_TRUE(IsWindow(bystander));
  EXPECT_EQ(windows.CloseRequests(bystander), 0);
  // Windows opened again later are closed again.
  HWND again = windows.Open("Victim window", "TarnelOtherClass");
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(again); }, 2000));
}

TEST(CloseScan, LowerCaseClassMarkerIsATitle) {
  TTestWindows windows;
  HWND cls = windows.Open("not matching", "TarnelLowerCase");
  HWND title = windows.Open("c|TarnelLowerCase", "TarnelPlainClass");
  TTarnel tarnel("c|TarnelLowerCase\r\n");
  tarnel.Start();
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(title); }, 3000));
  EXPECT_TRUE(IsWindow(cls));
}

TEST(CloseScan, OneWindowPerEntryPerTick) {
  TTestWindows windows;
  HWND w[3];
  for (auto& h : w)
    h = windows.Open("Triplet", "TarnelPlainClass");
  TTarnel tarnel("Triplet\r\n");
  tarnel.Start();
  ASSERT_TRUE(
      WaitUntil([&] { return !IsWindow(w[0]) && !IsWindow(w[1]) && !IsWindow(w[2]); }, 4000));
  DWORD t[3];
  for (int i = 0; i < 3; ++i)
    t[i] = windows.DestroyedAt(w[i]);
  std::sort(t, t + 3);
  // One close per tick: each in a tick of its own. Closes in one tick would be a few
  // milliseconds apart; ticks are 300 ms apart, less when a late tick is followed by one on
  // time (a loaded machine), so a third of a tick tells them apart.
  EXPECT_GE(t[1] - t[0], 100u);
  EXPECT_GE(t[2] - t[1], 100u);
}

TEST(CloseScan, WindowThatIgnoresTheRequestIsAskedAgain) {
  TTestWindows windows;
  HWND stubborn = windows.Open("Stubborn", "TarnelPlainClass", TTestWindows::wbIgnoreClose);
  TTarnel tarnel("Stubborn\r\n");
  tarnel.Start();
  EXPECT_TRUE(WaitUntil([&] { return windows.CloseRequests(stubborn) >= 4; }, 4000));
  EXPECT_TRUE(IsWindow(stubborn));
}

TEST(CloseScan, HungWindowDoesNotFreezeTheProgram) {
  TTestWindows windows;
  HWND hung = windows.Open("Hung window", "TarnelPlainClass", TTestWindows::wbHang);
  TTarnel tarnel("Hung window\r\nAfter the hung one\r\n");
  tarnel.Start();
  Sleep(700);
  HWND later = windows.Open("After the hung one", "TarnelPlainClass");
  // Entries after the hung window are still served, and the program keeps answering.
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(later); }, 4000));
  for (int i = 0; i < 5; ++i) {
    EXPECT_TRUE(tarnel.Responsive(1500)) << "round " << i;
    Sleep(200);
  }
  EXPECT_TRUE(IsWindow(hung));
}

TEST(CloseScan, AHungWindowHidesNoOtherWindowOfItsTitleOrClass) {
  TTestWindows windows;
  // For each entry, two windows that answer, then one that hangs: made last, it comes first in
  // the window order, so every lookup of the entry finds it before the others.
  struct TCase {
    const char* Entry;
    const char* Titles[3];
    const char* Class;
  } const cases[] = {
      {"Hung twin", {"Hung twin", "Hung twin", "Hung twin"}, "TarnelPlainClass"},
      {"C|TarnelTwinClass", {"twin one", "twin two", "twin hung"}, "TarnelTwinClass"},
  };
  std::vector<HWND> answering, hung;
  std::string list;
  for (const TCase& c : cases) {
    answering.push_back(windows.Open(c.Titles[0], c.Class));
    answering.push_back(windows.Open(c.Titles[1], c.Class));
    hung.push_back(windows.Open(c.Titles[2], c.Class, TTestWindows::wbHang));
    list += std::string(c.Entry) + "\r\n";
  }
  ASSERT_EQ(FindWindowA(nullptr, "Hung twin"), hung[0]);
  ASSERT_EQ(FindWindowA("TarnelTwinClass", nullptr), hung[1]);
  TTarnel tarnel(list);
  tarnel.Start();
  // The hung window is asked once and then passed over: the others are closed on later ticks.
  EXPECT_TRUE(WaitUntil(
      [&] {
        return std::none_of(answering.begin(), answering.end(),
                            [](HWND w) { return IsWindow(w) != 0; });
      },
      5000));
  for (HWND w : answering)
    EXPECT_EQ(windows.CloseRequests(w), 1);
  for (HWND w : hung)
    EXPECT_TRUE(IsWindow(w));
  EXPECT_TRUE(tarnel.Responsive(1500));
}

TEST(CloseScan, EmptyEntriesAreKeptButNeverLookedUp) {
  TTestWindows windows;
  HWND untitled = windows.Open("", "TarnelPlainClass");
  TTarnel tarnel("\r\nC|\r\n");
  tarnel.Start();
  Sleep(1200);
  EXPECT_TRUE(IsWindow(untitled));
  EXPECT_EQ(windows.CloseRequests(untitled), 0);
  EXPECT_TRUE(tarnel.Running());
  EXPECT_EQ(tarnel.Rows(), (std::vector<std::string>{"", "C|"}));
}

TEST(CloseScan, EntryMatchingTheProgramItselfEndsItCleanly) {
  // Two entries that both match the main window: the scan stops after the first.
  TTarnel tarnel("Tarnel\r\nC|TForm_main\r\n");
  tarnel.Start(false);
  ASSERT_TRUE(tarnel.WaitExit(5000));
  EXPECT_EQ(tarnel.ExitCode(), 0u);
}

TEST(CloseScan, TheCloseReachedTwiceInOneTickEndsTheProgramCleanly) {
  // The relay window, asked to close by the scan, asks the main window to close twice while the
  // scan waits for it.
  TTestWindows windows;
  TTarnel tarnel("Relay\r\n");
  tarnel.Start();
  windows.SetRelayTarget(tarnel.MainWindow());
  HWND relay = windows.Open("Relay", "TarnelPlainClass", TTestWindows::wbRelayClose);
  ASSERT_TRUE(tarnel.WaitExit(5000));
  EXPECT_EQ(windows.RelayedCloses(), 2);
  EXPECT_EQ(tarnel.ExitCode(), 0u);
  EXPECT_EQ(windows.CloseRequests(relay), 1);
}

TEST(ListCommands, AddRefuseDuplicateDeleteAndTheFileBytes) {
  TTarnel tarnel("");
  tarnel.Start();
  tarnel.SetEntryText("Alpha");
  tarnel.Click(tarnel.AddButton());
  ASSERT_TRUE(WaitUntil([&] { return tarnel.CloseDat() == "Alpha\r\n"; }, 3000));
  EXPECT_EQ(tarnel.EntryText(), "");

  tarnel.SetEntryText("alpha"); // differs in case only: accepted
  tarnel.Click(tarnel.AddButton());
  ASSERT_TRUE(WaitUntil([&] { return tarnel.CloseDat() == "Alpha\r\nalpha\r\n"; }, 3000));

  tarnel.SetEntryText("Alpha");
  tarnel.Click(tarnel.AddButton());
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (box = FindMessageBox(tarnel.ProcessId(), "提示")); }, 3000));
  EXPECT_EQ(MessageBoxText(box), "该窗口已经在列表中");
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 3000));
  EXPECT_EQ(tarnel.EntryText(), "Alpha"); // the entry box keeps the refused text
  EXPECT_EQ(tarnel.CloseDat(), "Alpha\r\nalpha\r\n");

  // Delete with no row selected does nothing.
  tarnel.SelectRow(-1);
  tarnel.Click(tarnel.DeleteButton());
  Sleep(500);
  EXPECT_EQ(tarnel.Rows().size(), 2u);

  tarnel.SelectRow(0);
  tarnel.Click(tarnel.DeleteButton());
  ASSERT_TRUE(WaitUntil([&] { return tarnel.CloseDat() == "alpha\r\n"; }, 3000));
  EXPECT_EQ(tarnel.Rows(), (std::vector<std::string>{"alpha"}));
}

TEST(ListCommands, SkinnedAddButtonAddsOneRowByPointerAndSpaceNoneWhenLeftPressed) {
  TTarnel tarnel("");
  tarnel.Start();
  HWND add = tarnel.AddButton();
  // The button is skinned once the main window's skinner has finished.
  ASSERT_TRUE(WaitUntil([&] { return SendMessageA(add, 0x3523, 0, 0) == 1; }, 5000));
  tarnel.SetEntryText("Pointer");
  ClickAt(Centre(add));
  ASSERT_TRUE(WaitUntil([&] { return tarnel.CloseDat() == "Pointer\r\n"; }, 3000));
  Sleep(300); // a second click would have come by now
  EXPECT_EQ(tarnel.CloseDat(), "Pointer\r\n");
  EXPECT_EQ(tarnel.Rows(), (std::vector<std::string>{"Pointer"}));
  EXPECT_FALSE(FindMessageBox(tarnel.ProcessId()));

  // Pressed, left and released outside: nothing added (the press gave the button the focus).
  tarnel.SetEntryText("Keys");
  RECT r{};
  GetWindowRect(add, &r);
  ASSERT_TRUE(DragPointer(Centre(add), {r.left - 40, r.bottom + 40}));
  Sleep(300);
  EXPECT_EQ(tarnel.CloseDat(), "Pointer\r\n");
  EXPECT_EQ(tarnel.Rows().size(), 1u);
  // Space on the focused button adds the entry once.
  Xdotool("key space");
  ASSERT_TRUE(WaitUntil([&] { return tarnel.CloseDat() == "Pointer\r\nKeys\r\n"; }, 3000));
  Sleep(300);
  EXPECT_EQ(tarnel.Rows(), (std::vector<std::string>{"Pointer", "Keys"}));
}

TEST(ListCommands, EmptyEntryIsAddedOnceThenRefused) {
  TTarnel tarnel("x");
  tarnel.Start();
  tarnel.Click(tarnel.AddButton());
  ASSERT_TRUE(WaitUntil([&] { return tarnel.CloseDat() == "x\r\n\r\n"; }, 3000));
  tarnel.Click(tarnel.AddButton());
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (box = FindMessageBox(tarnel.ProcessId(), "提示")); }, 3000));
  PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST(ListFile, LineRulesAtStart) {
  TTarnel tarnel(std::string("a\r\n\r\nb\rc\nd\0ignored\r\n", 20) + "");
  tarnel.Start();
  EXPECT_EQ(tarnel.Rows(), (std::vector<std::string>{"a", "", "b", "c", "d"}));
}

TEST(ListFile, ANulByteEndsNeitherItsLineNorTheList) {
  // The row shows its entry as far as the list box can; the file keeps every byte of it and
  // every line after it through a save.
  const std::string withNul("alpha\r\nbe\0ta\r\ngamma\r\nlast", 25);
  TTarnel tarnel(withNul);
  tarnel.Start();
  EXPECT_EQ(tarnel.Rows(), (std::vector<std::string>{"alpha", "be", "gamma", "last"}));
  tarnel.SetEntryText("delta");
  tarnel.Click(tarnel.AddButton());
  const std::string expected = withNul + "\r\ndelta\r\n";
  EXPECT_TRUE(WaitUntil([&] { return tarnel.CloseDat() == expected; }, 3000));
  tarnel.SelectRow(0);
  tarnel.Click(tarnel.DeleteButton());
  EXPECT_TRUE(WaitUntil([&] { return tarnel.CloseDat() == expected.substr(7); }, 3000));
}

TEST(ListFile, AnEditByAnotherProgramIsFollowedAndNoSaveUndoesIt) {
  TTestWindows windows;
  TTarnel tarnel("one\r\n");
  tarnel.Start();
  using TRows = std::vector<std::string>;
  // The edit shows within a second, and the scan works from it.
  WriteFileBytes(tarnel.CloseDatPath(), "one\r\nFollowed victim\r\n");
  EXPECT_TRUE(WaitUntil([&] { return tarnel.Rows() == TRows{"one", "Followed victim"}; }, 1500));
  HWND victim = windows.Open("Followed victim", "TarnelPlainClass");
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(victim); }, 2000));
  // The next add keeps the edit.
  tarnel.SetEntryText("three");
  tarnel.Click(tarnel.AddButton());
  EXPECT_TRUE(
      WaitUntil([&] { return tarnel.CloseDat() == "one\r\nFollowed victim\r\nthree\r\n"; }, 3000));
  // The program's own save is not read back (a new list would lose the selected row).
  tarnel.SelectRow(1);
  tarnel.SetEntryText("four");
  tarnel.Click(tarnel.AddButton());
  EXPECT_TRUE(WaitUntil([&] { return tarnel.Rows().size() == 4; }, 3000));
  Sleep(800);
  EXPECT_EQ(tarnel.SelectedRow(), 1);
  // A file deleted by someone else leaves the list; the next save writes all of it again.
  ASSERT_TRUE(DeleteFileA(tarnel.CloseDatPath().c_str()));
  Sleep(800);
  EXPECT_EQ(tarnel.Rows(), (TRows{"one", "Followed victim", "three", "four"}));
  tarnel.SetEntryText("five");
  tarnel.Click(tarnel.AddButton());
  EXPECT_TRUE(WaitUntil(
      [&] { return tarnel.CloseDat() == "one\r\nFollowed victim\r\nthree\r\nfour\r\nfive\r\n"; },
      3000));
}

TEST(ListFile, VeryLongLineIsOneEntryAndSurvivesASave) {
  std::string big(100000, 'L');
  TTarnel tarnel(big + "\nlast");
  tarnel.Start();
  tarnel.SetEntryText("new");
  tarnel.Click(tarnel.AddButton());
  const std::string expected = big + "\r\nlast\r\nnew\r\n";
  EXPECT_TRUE(WaitUntil([&] { return tarnel.CloseDat() == expected; }, 15000));
}

TEST(ListFile, MissingFileReportsAndTheProgramRunsOn) {
  TTarnel tarnel(std::nullopt);
  tarnel.Start(false);
  ExpectErrorBox(tarnel, "不能打开文件 " + tarnel.CloseDatPath() + ".");
  ASSERT_TRUE(
      WaitUntil([&] { return tarnel.MainWindow() && IsWindowVisible(tarnel.MainWindow()); }, 5000));
  EXPECT_TRUE(tarnel.Rows().empty());
  // The first add creates the file.
  tarnel.SetEntryText("first");
  tarnel.Click(tarnel.AddButton());
  EXPECT_TRUE(WaitUntil([&] { return tarnel.CloseDat() == "first\r\n"; }, 3000));
}

TEST(ListFile, FolderInPlaceOfTheFileIsAnErrorNotACrash) {
  TTarnel tarnel(std::nullopt);
  CreateDirectoryA(tarnel.CloseDatPath().c_str(), nullptr);
  tarnel.Start(false);
  ExpectErrorBox(tarnel, "不能打开文件 " + tarnel.CloseDatPath() + ".");
  ASSERT_TRUE(WaitUntil([&] { return tarnel.MainWindow() != nullptr; }, 5000));
  // A save cannot replace a folder: the error box, the row stays, the folder is untouched.
  tarnel.SetEntryText("kept");
  tarnel.Click(tarnel.AddButton());
  ExpectErrorBox(tarnel, "不能创建文件 " + tarnel.CloseDatPath() + ".", 3000);
  EXPECT_EQ(tarnel.Rows(), (std::vector<std::string>{"kept"}));
  EXPECT_TRUE(GetFileAttributesA(tarnel.CloseDatPath().c_str()) & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_TRUE(tarnel.Running());
}

TEST(ListFile, SavesWhereverTheFileItselfCanBeWritten) {
  // The longest paths of close.dat that the file functions take: a temporary name beside it is
  // longer still.
  for (size_t length : {256u, 257u, 258u}) {
    TTarnel tarnel("old\r\n", length);
    ASSERT_EQ(tarnel.CloseDatPath().size(), length);
    tarnel.Start();
    tarnel.SetEntryText("new");
    tarnel.Click(tarnel.AddButton());
    EXPECT_TRUE(WaitUntil([&] { return tarnel.CloseDat() == "old\r\nnew\r\n"; }, 3000)) << length;
    tarnel.SelectRow(0);
    tarnel.Click(tarnel.DeleteButton());
    EXPECT_TRUE(WaitUntil([&] { return tarnel.CloseDat() == "new\r\n"; }, 3000)) << length;
    EXPECT_FALSE(FindMessageBox(tarnel.ProcessId())) << length;
    // A save that fails there (the file is held open by someone who lets nobody replace it)
    // still leaves the old content, and nothing beside it.
    HANDLE held = CreateFileA(tarnel.CloseDatPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    tarnel.SetEntryText("refused");
    tarnel.Click(tarnel.AddButton());
    ExpectErrorBox(tarnel, "不能创建文件 " + tarnel.CloseDatPath() + ".", 3000);
    CloseHandle(held);
    EXPECT_EQ(tarnel.CloseDat(), "new\r\n") << length;
    EXPECT_EQ(tarnel.Rows(), (std::vector<std::string>{"new", "refused"})) << length;
    EXPECT_EQ(FolderFiles(tarnel.Folder()), (std::vector<std::string>{"close.dat", "tarnel.exe"}));
  }
}

TEST(ListFile, AReaderThatLetsGoSoonOnlyDelaysASave) {
  TTarnel tarnel("old\r\n");
  tarnel.Start();
  // Someone reads the file (sharing it every way) while the program saves: the new file is
  // written beside it, and the old one cannot be replaced as long as it is open.
  HANDLE reader = CreateFileA(tarnel.CloseDatPath().c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  tarnel.SetEntryText("new");
  tarnel.Click(tarnel.AddButton());
  const bool waiting = WaitUntil([&] { return FolderFiles(tarnel.Folder()).size() > 2; }, 3000);
  Sleep(150); // long enough for a first attempt to replace it to have failed
  CloseHandle(reader);
  ASSERT_TRUE(waiting);
  EXPECT_TRUE(WaitUntil([&] { return tarnel.CloseDat() == "old\r\nnew\r\n"; }, 3000));
  EXPECT_FALSE(FindMessageBox(tarnel.ProcessId()));
  EXPECT_EQ(FolderFiles(tarnel.Folder()), (std::vector<std::string>{"close.dat", "tarnel.exe"}));
}

TEST(ListFile, FileTooLargeToHoldIsAnOpenError) {
  // A file of one byte more than the program holds, made without writing it (sparse).
  TTarnel tarnel(std::nullopt);
  HANDLE h = CreateFileA(tarnel.CloseDatPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  size.QuadPart = static_cast<LONGLONG>(WatchList::kMaxFileBytes) + 1;
  ASSERT_TRUE(SetFilePointerEx(h, size, nullptr, FILE_BEGIN) && SetEndOfFile(h));
  CloseHandle(h);
  tarnel.Start(false);
  ExpectErrorBox(tarnel, "不能打开文件 " + tarnel.CloseDatPath() + ".");
  ASSERT_TRUE(
      WaitUntil([&] { return tarnel.MainWindow() && IsWindowVisible(tarnel.MainWindow()); }, 5000));
  EXPECT_TRUE(tarnel.Rows().empty());
  EXPECT_TRUE(tarnel.Responsive());
}

TEST(MainWindow, LayoutAndMinimizeHides) {
  TTarnel tarnel("");
  tarnel.Start();
  HWND main = tarnel.MainWindow();
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != 0; }, 3000));
  EXPECT_EQ(WindowText(main), "Tarnel");
  RECT client;
  GetClientRect(main, &client);
  EXPECT_EQ(client.right, 688);
  EXPECT_EQ(client.bottom, 446);
  LONG style = GetWindowLongA(main, GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
  // Centred on the desktop (with the system's frame; the skinned frame then keeps the window's
  // top-left corner and differs from it by a few pixels).
  RECT win;
  GetWindowRect(main, &win);
  EXPECT_NEAR((win.left + win.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 8);
  EXPECT_NEAR((win.top + win.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 8);
  // Controls at their places, in client coordinates.
  auto at = [&](HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
    return r;
  };
  RECT lb = at(tarnel.ListBox());
  EXPECT_EQ(lb.left, 38);
  EXPECT_EQ(lb.top, 50);
  EXPECT_EQ(lb.right - lb.left, 617);
  RECT add = at(tarnel.AddButton());
  EXPECT_EQ(add.left, 414);
  EXPECT_EQ(add.top, 289);
  EXPECT_EQ(WindowText(tarnel.AddButton()), "添加");
  EXPECT_EQ(WindowText(tarnel.DeleteButton()), "删除");
  HWND memo = tarnel.Child("TMemo");
  std::string help = WindowText(memo);
  EXPECT_EQ(help.rfind("注：1、", 0), 0u);
  EXPECT_NE(help.find("可能把其\r\n他窗口也关闭了。"), std::string::npos);

  PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, 3000));
  EXPECT_FALSE(IsIconic(main));
  // Hidden, the scan goes on.
  TTestWindows windows;
  tarnel.SetEntryText("While hidden");
  tarnel.Click(tarnel.AddButton());
  ASSERT_TRUE(WaitUntil([&] { return tarnel.CloseDat() == "While hidden\r\n"; }, 3000));
  HWND victim = windows.Open("While hidden");
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(victim); }, 3000));
}

} // namespace
