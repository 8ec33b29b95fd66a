// The Windows half of the skin reader: an archive of unknown format shows the program's
// message box with the two-line notice.
#include "SkinArchiveWriter.h"
#include "SkinReader.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

namespace {

struct SeenBox {
  std::string caption;
  std::string text;
};

BOOL CALLBACK FindOwnBox(HWND w, LPARAM out) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  char cls[64] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (pid == GetCurrentProcessId() && std::string(cls) == "#32770" && IsWindowVisible(w)) {
    *reinterpret_cast<HWND*>(out) = w;
    return FALSE;
  }
  return TRUE;
}

// Waits for the message box of this process, notes its caption and text, and presses OK.
void AnswerBox(SeenBox& seen, std::atomic<bool>& answered) {
  for (int tries = 0; tries < 500 && !answered; ++tries) {
    HWND box = nullptr;
    EnumWindows(FindOwnBox, reinterpret_cast<LPARAM>(&box));
    if (box) {
      char buf[256] = {};
      GetWindowTextA(box, buf, sizeof buf);
      seen.caption = buf;
      GetDlgItemTextA(box, 0xFFFF, buf, sizeof buf);
      seen.text = buf;
      answered = true;
      PostMessageA(box, WM_COMMAND, IDOK, 0);
      return;
    }
    Sleep(20);
  }
}

TEST(SkinReaderGdi, UnknownFormatShowsTheMessageBox) {
  std::vector<uint8_t> archive = BuildSkinArchive({{"a.bmp", {'B', 'M'}}}, 20000);
  archive[0] = 0x10;
  archive[1] = 0x27; // format 10000
  const std::vector<uint8_t> stored = BuildStoredSkin(archive);

  SetSkinNotifier(nullptr); // the platform's own
  SeenBox seen;
  std::atomic<bool> answered{false};
  std::thread helper(AnswerBox, std::ref(seen), std::ref(answered));
  TSkinReader reader;
  const bool opened = reader.OpenArchive(stored);
  answered = true;
  helper.join();

  EXPECT_FALSE(opened);
  EXPECT_EQ(seen.text, "This is Older Skin File\rPlease update to new version !");
  EXPECT_EQ(seen.caption, "test_skinreader_win32");
}

} // namespace
