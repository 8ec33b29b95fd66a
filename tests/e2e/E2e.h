// Drives the real tarnel.exe from outside: a private copy in a fresh folder, its windows found
// by class, test windows to be closed, and polling with a deadline.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// Polls predicate every 20 ms (handling this thread's messages) until it holds or ms pass.
bool WaitUntil(const std::function<bool()>& predicate, int ms);

std::string WindowText(HWND wnd); // through WM_GETTEXT with a time-out
std::string ClassNameOf(HWND wnd);
// The colour of one pixel of the screen, read through the desktop's device context.
COLORREF ScreenPixel(POINT p);
// Top-level windows of a process, optionally of one class.
std::vector<HWND> ProcessWindows(DWORD pid, const char* className = nullptr);
// The message box (class "#32770") of a process, and the text of its static control.
HWND FindMessageBox(DWORD pid, const char* caption = nullptr);
std::string MessageBoxText(HWND box);
void ReadFileBytes(const std::string& path, std::string& out, bool* exists = nullptr);
void WriteFileBytes(const std::string& path, const std::string& bytes);
// The names of the files and folders in a folder, sorted.
std::vector<std::string> FolderFiles(const std::string& folder);
// Removes a folder with everything in it (what cannot be removed stays).
void RemoveTree(const std::string& folder);

// A copy of tarnel.exe in a folder of its own, running.
class TTarnel {
public:
  // closeDat: the content of close.dat beside the copy, or none for a missing file.
  // closeDatPathLength: when not 0, the copy goes into a folder whose name is padded so that
  // the full path of close.dat has exactly this many characters.
  explicit TTarnel(std::optional<std::string> closeDat = std::string(),
                   size_t closeDatPathLength = 0);
  // The tarnel.exe at exePath, run where it is (an unpacked or installed copy): nothing is
  // copied beside it, and its folder stays at the end.
  struct TInPlace {
    std::string Exe;
  };
  explicit TTarnel(const TInPlace& inPlace);
  ~TTarnel();
  TTarnel(const TTarnel&) = delete;
  TTarnel& operator=(const TTarnel&) = delete;

  // Starts the program (again, once an earlier start has ended); with waitForWindow, returns
  // once its main window is shown.
  void Start(bool waitForWindow = true);
  // Starts the same copy once more, as a second click on it would, and waits up to ms for that
  // start to end: its exit code, or STILL_ACTIVE when it still ran (it is then ended).
  DWORD StartAgain(int ms);
  const std::string& Folder() const { return FFolder; }
  std::string CloseDatPath() const { return FFolder + "\\close.dat"; }
  std::string CloseDat(bool* exists = nullptr) const;
  DWORD ProcessId() const { return FInfo.dwProcessId; }
  HANDLE Process() const { return FInfo.hProcess; }
  bool Running() const;
  bool WaitExit(int ms) const;
  DWORD ExitCode() const;

  HWND MainWindow();
  HWND Child(const char* className, int index = 0);
  HWND Edit() { return Child("TEdit"); }
  HWND ListBox() { return Child("TListBox"); }
  HWND AddButton() { return Child("TButton", 0); }
  HWND DeleteButton() { return Child("TButton", 1); }

  // User actions, sent the way a user's would arrive (clicks posted, so that a modal box the
  // click opens does not block the caller).
  void SetEntryText(const std::string& text);
  std::string EntryText();
  void Click(HWND button);
  std::vector<std::string> Rows();
  void SelectRow(int index);
  int SelectedRow(); // -1 for none
  // Whether the program's message loop runs: a posted round trip answered within ms. A thread
  // blocked inside a send still answers sent messages, never posted ones.
  bool Responsive(int ms = 2000);

private:
  std::string FRoot; // the folder made for this copy, removed at the end (none when in place)
  std::string FFolder;
  std::string FExe;
  PROCESS_INFORMATION FInfo{};
  HWND FMain = nullptr;
};

// Top-level windows owned by a background thread of the test process that pumps messages.
class TTestWindows {
public:
  // wbRelayClose: on a close request, first sends two close requests to the relay target.
  enum TBehaviour { wbClose, wbIgnoreClose, wbHang, wbRelayClose };
  TTestWindows();
  ~TTestWindows();
  // Opens a top-level window (by default a visible one with a title bar); className defaults
  // to a test class.
  HWND Open(const std::string& title, const std::string& className = "TarnelTestWindow",
            TBehaviour behaviour = wbClose, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  // How many WM_CLOSE requests a window has received so far.
  int CloseRequests(HWND wnd) const;
  // Tick count at which a window was destroyed, 0 while it exists.
  DWORD DestroyedAt(HWND wnd) const;
  // The window that wbRelayClose windows pass close requests on to, and how many of those
  // requests it handled (its send returned in time).
  void SetRelayTarget(HWND target);
  int RelayedCloses() const;
  static bool Exists(HWND wnd) { return IsWindow(wnd) != 0; }

  struct TState;

private:
  TState* FState;
};

} // namespace e2e
