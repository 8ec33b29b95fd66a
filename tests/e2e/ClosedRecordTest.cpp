// The record of what the real program closed: every accepted close appended to closed.log
// beside close.dat (UTF-8, a header line, tab-separated fields), the log's older half dropped
// at 1 MiB, a log that cannot be written reported once and never stopping the closes, and the
// skinned window "最近关闭的窗口" from the tray menu listing the closes newest first.
#include "DesktopInput.h"
#include "E2e.h"
#include "SkinMessages.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

using namespace e2e;

namespace {

using TFields = std::vector<std::string>;

std::vector<TFields> LogLines(const std::string& log) {
  std::vector<TFields> lines;
  size_t start = 0;
  while (start < log.size()) {
    size_t end = log.find("\r\n", start);
    if (end == std::string::npos) end = log.size();
    TFields fields;
    for (size_t f = start;;) {
      const size_t tab = log.find('\t', f);
      if (tab == std::string::npos || tab > end) {
        fields.push_back(log.substr(f, end - f));
        break;
      }
      fields.push_back(log.substr(f, tab - f));
      f = tab + 1;
    }
    lines.push_back(fields);
    start = end + 2;
  }
  return lines;
}

std::string OwnProgram() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string name(path);
  return name.substr(name.find_last_of("\\/") + 1);
}

std::string LogPath(TTarnel& tarnel) {
  return tarnel.Folder() + "\\closed.log";
}

std::string Utf8(const wchar_t* text) {
  char out[256] = {};
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out, nullptr, nullptr);
  return out;
}

const std::string kHeader = Utf8(L"时间\t窗口标题\t窗口类\t程序\t条目");

// A cell of another process's list view, read through memory of that process.
std::string RemoteCell(HANDLE process, HWND list, int row, int column) {
  constexpr size_t kText = 512;
  char* remote = static_cast<char*>(
      VirtualAllocEx(process, nullptr, sizeof(LVITEMA) + kText, MEM_COMMIT, PAGE_READWRITE));
  if (!remote) return {};
  LVITEMA item{};
  item.iSubItem = column;
  item.cchTextMax = kText;
  item.pszText = remote + sizeof item;
  WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
  DWORD_PTR got = 0;
  SendMessageTimeoutA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                      reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 2000, &got);
  char text[kText] = {};
  ReadProcessMemory(process, remote + sizeof item, text, kText - 1, nullptr);
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return text;
}

TEST(ClosedRecord, EveryAcceptedCloseIsLoggedWithTitleClassProgramAndEntry) {
  TTestWindows windows;
  TTarnel tarnel("Logged window\r\nT|*广告*\r\nRefusing window\r\n");
  tarnel.Start();
  HWND first = windows.Open("Logged window", "TarnelLoggedClass");
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(first); }, 3000));
  HWND second = windows.Open("今日广告 - 123", "TarnelLoggedClass");
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(second); }, 3000));
  // A window that stays open after each request is asked every tick and never logged.
  HWND refusing = windows.Open("Refusing window", "TarnelPlainClass", TTestWindows::wbIgnoreClose);
  ASSERT_TRUE(WaitUntil([&] { return windows.CloseRequests(refusing) >= 3; }, 3000));
  std::string log;
  ReadFileBytes(LogPath(tarnel), log);
  const std::vector<TFields> lines = LogLines(log);
  ASSERT_EQ(lines.size(), 3u) << log;
  EXPECT_EQ(lines[0], LogLines(kHeader)[0]);
  const TFields expected[] = {
      {"Logged window", "TarnelLoggedClass", OwnProgram(), "Logged window"},
      {Utf8(L"今日广告 - 123"), "TarnelLoggedClass", OwnProgram(), Utf8(L"T|*广告*")},
  };
  for (size_t i = 0; i < 2; ++i) {
    const TFields& line = lines[i + 1];
    ASSERT_EQ(line.size(), 5u);
    EXPECT_EQ(line[0].size(), 19u) << line[0]; // YYYY-MM-DD hh:mm:ss
    EXPECT_EQ(TFields(line.begin() + 1, line.end()), expected[i]);
  }
}

TEST(ClosedRecord, TheLogDropsItsOlderHalfAtOneMebibyte) {
  // A log just below the limit: the next close drops the older half and comes last.
  std::string log = kHeader + "\r\n";
  int n = 0;
  while (log.size() < (1u << 20) - 40) // the close's line takes it past the limit
    log += "2024-01-01 00:00:00\tOld " + std::to_string(n++) + "\tC\tp.exe\te\r\n";
  TTarnel tarnel("Rotating window\r\n");
  WriteFileBytes(LogPath(tarnel), log);
  tarnel.Start();
  TTestWindows windows;
  HWND w = windows.Open("Rotating window");
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(w); }, 3000));
  std::string rotated;
  ASSERT_TRUE(WaitUntil(
      [&] {
        ReadFileBytes(LogPath(tarnel), rotated);
        return rotated.size() < log.size();
      },
      3000));
  const std::vector<TFields> lines = LogLines(rotated);
  EXPECT_EQ(lines.front(), LogLines(kHeader)[0]);
  ASSERT_GE(lines.back().size(), 2u);
  EXPECT_EQ(lines.back()[1], "Rotating window");
  EXPECT_NEAR(static_cast<double>(rotated.size()), log.size() / 2.0, 300.0);
  // The newest old records stay, the oldest are gone.
  EXPECT_NE(rotated.find("\tOld " + std::to_string(n - 1) + "\t"), std::string::npos);
  EXPECT_EQ(rotated.find("\tOld 0\t"), std::string::npos);
}

TEST(ClosedRecord, ALogThatCannotBeWrittenIsReportedOnceAndClosingGoesOn) {
  TTarnel tarnel("Unlogged window\r\n");
  ASSERT_TRUE(CreateDirectoryA(LogPath(tarnel).c_str(), nullptr)); // no file can be made there
  tarnel.Start();
  TTestWindows windows;
  for (int i = 0; i < 3; ++i) {
    HWND w = windows.Open("Unlogged window");
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(w); }, 3000)) << i;
    if (i == 0) {
      HWND box = nullptr;
      ASSERT_TRUE(WaitUntil([&] { return (box = FindMessageBox(tarnel.ProcessId())); }, 3000));
      EXPECT_EQ(MessageBoxText(box), "不能创建文件 " + LogPath(tarnel) + ".");
      // While the box is open the closes go on.
      HWND more = windows.Open("Unlogged window");
      EXPECT_TRUE(WaitUntil([&] { return !IsWindow(more); }, 3000));
      PostMessageA(box, WM_COMMAND, IDOK, 0);
      ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 3000));
    }
  }
  Sleep(500);
  EXPECT_EQ(FindMessageBox(tarnel.ProcessId()), nullptr);
  EXPECT_TRUE(tarnel.Responsive());
}

TEST(ClosedRecord, TheTrayMenuShowsTheLastClosesNewestFirstInASkinnedWindow) {
  TTestWindows windows;
  TTarnel tarnel("T|Listed *\r\n");
  tarnel.Start();
  for (const char* title : {"Listed one", "Listed two|with a bar", "Listed three"}) {
    HWND w = windows.Open(title, "TarnelListedClass");
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(w); }, 3000)) << title;
  }
  HWND tray = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (tray = TrayWindow(tarnel.ProcessId())) != nullptr; }, 10000));
  MovePointer(500, 300);
  TrayMouse(tray, WM_RBUTTONDOWN);
  TrayMouse(tray, WM_RBUTTONUP);
  HWND menu = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (menu = OpenMenu(tarnel.ProcessId())) != nullptr; }, 8000));
  WaitUntil([] { return false; }, 300);
  ClickTrayMenuItem(menu, trRecent); // "最近关闭的窗口"
  HWND recent = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        for (HWND w : ProcessWindows(tarnel.ProcessId(), "TForm_closed"))
          if (IsWindowVisible(w)) recent = w;
        return recent != nullptr;
      },
      8000));
  EXPECT_EQ(WindowText(recent), "最近关闭的窗口");
  DWORD_PTR skinned = 0;
  EXPECT_TRUE(WaitUntil(
      [&] {
        return SendMessageTimeoutA(recent, SKM_QUERY, 0, 0, SMTO_ABORTIFHUNG, 2000, &skinned) &&
               skinned == 1;
      },
      5000));
  HWND list = FindWindowExA(recent, nullptr, "TClosedListView", nullptr);
  ASSERT_NE(list, nullptr);
  auto rows = [&] { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); };
  ASSERT_EQ(rows(), 3);
  const char* newestFirst[] = {"Listed three", "Listed two|with a bar", "Listed one"};
  for (int r = 0; r < 3; ++r) {
    EXPECT_EQ(RemoteCell(tarnel.Process(), list, r, 1), newestFirst[r]);
    EXPECT_EQ(RemoteCell(tarnel.Process(), list, r, 2), "TarnelListedClass");
    EXPECT_EQ(RemoteCell(tarnel.Process(), list, r, 3), OwnProgram());
    EXPECT_EQ(RemoteCell(tarnel.Process(), list, r, 4), "T|Listed *");
  }
  // A close while the window is open comes in at the top.
  HWND w = windows.Open("Listed four", "TarnelListedClass");
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(w); }, 3000));
  EXPECT_TRUE(WaitUntil([&] { return rows() == 4; }, 2000));
  EXPECT_EQ(RemoteCell(tarnel.Process(), list, 0, 1), "Listed four");
  // Closing it hides it; the program goes on.
  PostMessageA(recent, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(recent); }, 3000));
  EXPECT_TRUE(tarnel.Responsive());
}

} // namespace
