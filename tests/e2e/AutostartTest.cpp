// The notification icon and its menu on the real program, and start at logon through that
// menu, with the Run value read back from outside the program.
#include "DesktopInput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

using namespace e2e;

namespace {

constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

struct TRunValue {
  DWORD Type = REG_NONE; // REG_NONE: no value
  std::string Data;
};

TRunValue ReadRun() {
  TRunValue v;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kRun, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return v;
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key, "popreap", nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
    std::string data(size, '\0');
    if (RegQueryValueExA(key, "popreap", nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                         &size) == ERROR_SUCCESS) {
      data.resize(size);
      v.Type = type;
      v.Data = data;
    }
  }
  RegCloseKey(key);
  return v;
}

void WriteRun(DWORD type, const void* data, DWORD size) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kRun, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, "popreap", 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(key);
}

void DeleteRun() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kRun, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, "popreap");
  RegCloseKey(key);
}

// Gives everyone only the given access to the Run key (0: every access again).
void SetRunAccess(ACCESS_MASK access) {
  SECURITY_DESCRIPTOR sd;
  InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
  alignas(8) char aclBuffer[256];
  auto* acl = reinterpret_cast<ACL*>(aclBuffer);
  PSID everyone = nullptr;
  if (access) {
    InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION);
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    AddAccessAllowedAce(acl, ACL_REVISION, access | READ_CONTROL | WRITE_DAC, everyone);
  }
  SetSecurityDescriptorDacl(&sd, TRUE, access ? acl : nullptr, FALSE);
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kRun, 0, READ_CONTROL | WRITE_DAC, &key) == ERROR_SUCCESS) {
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd);
    RegCloseKey(key);
  }
  if (everyone) FreeSid(everyone);
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// Each test starts without a Run value and leaves none behind.
class Autostart : public ::testing::Test {
protected:
  void SetUp() override { DeleteRun(); }
  void TearDown() override {
    SetRunAccess(0);
    DeleteRun();
  }

  // Starts the program and finds its notification icon's window.
  HWND Start(TTarnel& tarnel) {
    tarnel.Start();
    HWND tray = nullptr;
    WaitUntil([&] { return (tray = TrayWindow(tarnel.ProcessId())) != nullptr; }, 10000);
    return tray;
  }
  // Right-clicks the icon with the pointer at (x, y) and returns the menu that opens.
  HWND OpenTrayMenu(TTarnel& tarnel, HWND tray, int x = 500, int y = 300) {
    MovePointer(x, y);
    TrayMouse(tray, WM_RBUTTONDOWN);
    TrayMouse(tray, WM_RBUTTONUP);
    HWND menu = nullptr;
    WaitUntil([&] { return (menu = OpenMenu(tarnel.ProcessId())) != nullptr; }, 8000);
    return menu;
  }
  // Chooses "开机启动".
  void ClickStartAtLogon(TTarnel& tarnel, HWND tray) {
    HWND menu = OpenTrayMenu(tarnel, tray);
    ASSERT_NE(menu, nullptr);
    ClickTrayMenuItem(menu, trAutostart);
    ASSERT_TRUE(WaitUntil([&] { return OpenMenu(tarnel.ProcessId()) == nullptr; }, 8000));
    ASSERT_TRUE(tarnel.Responsive(5000));
  }
  static std::string ExePath(TTarnel& tarnel) { return tarnel.Folder() + "\\tarnel.exe"; }
};

TEST_F(Autostart, TheIconIsShownAndOpensItsMenuAtThePointer) {
  TTarnel tarnel;
  HWND tray = Start(tarnel);
  ASSERT_NE(tray, nullptr);
  EXPECT_FALSE(IsWindowVisible(tray));
  // Left clicks and a right release without a press do nothing.
  MovePointer(500, 300);
  TrayMouse(tray, WM_LBUTTONDOWN);
  TrayMouse(tray, WM_LBUTTONUP);
  TrayMouse(tray, WM_LBUTTONDBLCLK);
  TrayMouse(tray, WM_LBUTTONUP);
  TrayMouse(tray, WM_RBUTTONUP);
  EXPECT_FALSE(WaitUntil([&] { return OpenMenu(tarnel.ProcessId()) != nullptr; }, 600));
  EXPECT_TRUE(tarnel.Responsive());

  HWND menu = OpenTrayMenu(tarnel, tray, 420, 330);
  ASSERT_NE(menu, nullptr);
  RECT r{};
  GetWindowRect(menu, &r);
  EXPECT_EQ(r.left, 420);
  EXPECT_EQ(r.top, 330);
  // Escape closes it; the program goes on.
  Xdotool("key Escape");
  if (!WaitUntil([&] { return OpenMenu(tarnel.ProcessId()) == nullptr; }, 1500)) {
    MovePointer(20, 900);
    Xdotool("click 1");
  }
  EXPECT_TRUE(WaitUntil([&] { return OpenMenu(tarnel.ProcessId()) == nullptr; }, 3000));
  EXPECT_TRUE(tarnel.Responsive());
}

TEST_F(Autostart, TheIconComesBackWhenTheTaskbarRestarts) {
  TTarnel tarnel;
  HWND tray = Start(tarnel);
  ASSERT_NE(tray, nullptr);
  RemoveShellIcon(tray);
  ASSERT_FALSE(ShellHasIcon(tray));
  const UINT created = RegisterWindowMessageA("TaskbarCreated");
  PostMessageA(HWND_BROADCAST, created, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return ShellHasIcon(tray); }, 8000));
  // Again: it does not depend on having been added once only.
  RemoveShellIcon(tray);
  PostMessageA(HWND_BROADCAST, created, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return ShellHasIcon(tray); }, 8000));
}

TEST_F(Autostart, ShowWindowAndCloseFromTheMenu) {
  TTarnel tarnel;
  HWND tray = Start(tarnel);
  ASSERT_NE(tray, nullptr);
  HWND main = tarnel.MainWindow();
  PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, 3000));
  HWND menu = OpenTrayMenu(tarnel, tray);
  ASSERT_NE(menu, nullptr);
  ClickTrayMenuItem(menu, trShow);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != 0; }, 8000));

  menu = OpenTrayMenu(tarnel, tray);
  ASSERT_NE(menu, nullptr);
  ClickTrayMenuItem(menu, trQuit);
  EXPECT_TRUE(tarnel.WaitExit(8000));
  EXPECT_FALSE(ShellHasIcon(tray));
}

TEST_F(Autostart, CheckingWritesThePathAndUncheckingDeletesIt) {
  TTarnel tarnel;
  HWND tray = Start(tarnel);
  ASSERT_NE(tray, nullptr);
  ClickStartAtLogon(tarnel, tray);
  ASSERT_TRUE(WaitUntil([] { return ReadRun().Type == REG_SZ; }, 8000));
  TRunValue v = ReadRun();
  // The full path with its terminating zero.
  ASSERT_FALSE(v.Data.empty());
  EXPECT_EQ(v.Data.back(), '\0');
  EXPECT_EQ(Lower(v.Data.c_str()), Lower(ExePath(tarnel)));

  ClickStartAtLogon(tarnel, tray);
  EXPECT_TRUE(WaitUntil([] { return ReadRun().Type == REG_NONE; }, 8000));
}

TEST_F(Autostart, AValueNamingAnotherCopyShowsCheckedAndIsDeleted) {
  const char other[] = "D:\\elsewhere\\tarnel.exe";
  WriteRun(REG_SZ, other, sizeof other);
  TTarnel tarnel;
  HWND tray = Start(tarnel);
  ASSERT_NE(tray, nullptr);
  // Checked at start: the first click unchecks, which deletes the value.
  ClickStartAtLogon(tarnel, tray);
  EXPECT_TRUE(WaitUntil([] { return ReadRun().Type == REG_NONE; }, 8000));
}

TEST_F(Autostart, AnEmptyOrNumberValueShowsUnchecked) {
  for (int round = 0; round < 2; ++round) {
    const DWORD number = 1;
    if (round == 0)
      WriteRun(REG_SZ, "", 1);
    else
      WriteRun(REG_DWORD, &number, sizeof number);
    TTarnel tarnel;
    HWND tray = Start(tarnel);
    ASSERT_NE(tray, nullptr);
    // Unchecked at start: the first click writes the path in place of the value.
    ClickStartAtLogon(tarnel, tray);
    EXPECT_TRUE(WaitUntil(
        [&] {
          TRunValue v = ReadRun();
          return v.Type == REG_SZ && Lower(v.Data.c_str()) == Lower(ExePath(tarnel));
        },
        8000))
        << "round " << round;
  }
}

TEST_F(Autostart, ARunKeyThatCannotBeOpenedLeavesTheMarkAsTheRegistryHoldsIt) {
  TTarnel tarnel;
  HWND tray = Start(tarnel);
  ASSERT_NE(tray, nullptr);
  WriteRun(REG_SZ, "", 1); // make sure the key exists, then delete the value
  DeleteRun();
  SetRunAccess(KEY_READ);
  // Turning it on fails quietly: nothing is written, and the mark stays off.
  ClickStartAtLogon(tarnel, tray);
  // The command runs once the menu has closed; there is nothing to see from outside.
  Sleep(1000);
  EXPECT_EQ(ReadRun().Type, static_cast<DWORD>(REG_NONE));
  EXPECT_FALSE(FindMessageBox(tarnel.ProcessId()));
  // With the key open again, the next click turns it on, which shows the mark was off.
  SetRunAccess(0);
  ClickStartAtLogon(tarnel, tray);
  EXPECT_TRUE(WaitUntil([] { return ReadRun().Type == REG_SZ; }, 8000));
}

} // namespace
