// The release that scripts/release.sh writes, as a Windows user gets it (unpacked beforehand by
// release_unpack.cmake, which also checks the checksums): each portable zip's files and program,
// the unpacked program at work, and the installer run silently for the current user: install,
// the installed program at work, upgrade, uninstall with and without the user's list.
#include "E2e.h"
#include "ProgramFile.h"
#include "SkinMessages.h"
#include "TarnelVersion.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#if !defined(RELEASE_CHECK_DIR) || !defined(TARNEL_MANIFEST)
#error RELEASE_CHECK_DIR and TARNEL_MANIFEST must name the unpacked release and the manifest
#endif

using namespace e2e;

namespace {

constexpr WORD kTreeMachine =
    sizeof(void*) == 8 ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386;
const char* const kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarnel";
const char* const kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kRunValue = "popreap";
const wchar_t* const kDescription = L"Tarnel 窗口自动关闭工具";

std::string CheckDir() {
  return RELEASE_CHECK_DIR;
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

const char* Utf8(const char8_t* s) {
  return reinterpret_cast<const char*>(s);
}

bool Skinned(HWND wnd) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutA(wnd, SKM_QUERY, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) && answer == 1;
}

// Starts the program at exe where it is, sees its main window skinned, adds an entry with the
// entry box and the add button, and expects the list saved beside the program.
void ExpectRunsSkinnedAndSavesBesideItself(const std::string& exe) {
  TTarnel tarnel(TTarnel::TInPlace{exe});
  tarnel.Start();
  EXPECT_TRUE(WaitUntil([&] { return Skinned(tarnel.MainWindow()); }, 5000)) << exe;
  tarnel.SetEntryText("Release check");
  tarnel.Click(tarnel.AddButton());
  const std::string list = exe.substr(0, exe.find_last_of('\\')) + "\\close.dat";
  std::string saved;
  EXPECT_TRUE(
      WaitUntil([&] { return ReadFileBytes(list, saved), saved == "Release check\r\n"; }, 3000))
      << list << ": \"" << saved << "\"";
}

// Runs a command line and waits for it, and for the processes it started, to end; returns the
// exit code of the command itself.
DWORD RunAndWait(std::string command) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi))
    throw std::runtime_error("cannot run " + command);
  WaitForSingleObject(pi.hProcess, 60000);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(pi.hProcess, &code);
  // An uninstaller hands its work to a copy of itself outside the folder it removes.
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snap, &entry); more; more = Process32Next(snap, &entry)) {
    if (entry.th32ParentProcessID != pi.dwProcessId) continue;
    if (HANDLE child = OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
      WaitForSingleObject(child, 60000);
      CloseHandle(child);
    }
  }
  CloseHandle(snap);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return code;
}

std::string KnownFolder(int csidl) {
  char path[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

std::string InstallFolder() {
  return KnownFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Tarnel";
}
std::string InstalledProgram() {
  return InstallFolder() + "\\tarnel.exe";
}
std::string ShortcutPath() {
  return KnownFolder(CSIDL_PROGRAMS) + "\\Tarnel.lnk";
}

// What a shortcut file starts, empty when it cannot be read.
std::string ShortcutTarget(const std::string& link) {
  std::string target;
  IShellLinkA* shell = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&shell))))
    return target;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    std::wstring wide(link.begin(), link.end());
    char path[MAX_PATH] = "";
    if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ)) &&
        SUCCEEDED(shell->GetPath(path, MAX_PATH, nullptr, 0)))
      target = path;
    file->Release();
  }
  shell->Release();
  return target;
}

// A text value of the current user's registry, or none.
std::optional<std::string> UserValue(const char* key, const char* name) {
  char data[1024] = "";
  DWORD size = sizeof data;
  if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, data, &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return std::string(data);
}

bool KeyExists(HKEY root, const char* key) {
  HKEY h = nullptr;
  if (RegOpenKeyExA(root, key, 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  RegCloseKey(h);
  return true;
}

void SetRunValue(const std::string& data) {
  RegSetKeyValueA(HKEY_CURRENT_USER, kRunKey, kRunValue, REG_SZ, data.c_str(),
                  static_cast<DWORD>(data.size() + 1));
}

class Release : public testing::Test {
protected:
  void SetUp() override {
    if (!Exists(CheckDir()))
      GTEST_SKIP() << "no unpacked release in " << CheckDir()
                   << " (scripts/test.sh checks the one scripts/release.sh writes)";
  }
};

TEST_F(Release, EachZipHoldsItsProgramAnEmptyListAndAChineseReadMe) {
  const struct {
    const char* Tree;
    WORD Machine;
  } zips[] = {{"win32", IMAGE_FILE_MACHINE_I386}, {"win64", IMAGE_FILE_MACHINE_AMD64}};
  for (const auto& zip : zips) {
    SCOPED_TRACE(zip.Tree);
    const std::string folder = CheckDir() + "\\" + zip.Tree;
    EXPECT_EQ(FolderFiles(folder),
              (std::vector<std::string>{"close.dat", "readme.txt", "tarnel.exe"}));
    bool exists = false;
    std::string list;
    ReadFileBytes(folder + "\\close.dat", list, &exists);
    EXPECT_TRUE(exists && list.empty());
    EXPECT_TRUE(IsTarnelProgram(folder + "\\tarnel.exe", zip.Machine, L"tarnel.exe", kDescription,
                                TARNEL_MANIFEST));
    // UTF-8 with a byte-order mark and CRLF lines, so that Notepad of every version reads it.
    std::string readme;
    ReadFileBytes(folder + "\\readme.txt", readme);
    EXPECT_EQ(readme.rfind("\xEF\xBB\xBF", 0), 0u);
    size_t bareLineEnds = 0;
    for (size_t i = 0; i < readme.size(); ++i)
      bareLineEnds += readme[i] == '\n' && (i == 0 || readme[i - 1] != '\r');
    EXPECT_EQ(bareLineEnds, 0u);
    for (const char* text :
         {"Tarnel " TARNEL_VERSION, "close.dat", "C|", Utf8(u8"窗口标题"), Utf8(u8"列表保存在")})
      EXPECT_NE(readme.find(text), std::string::npos) << text;
  }
}

TEST_F(Release, TheUnpackedProgramRunsAndKeepsItsListBesideItself) {
  const char* tree = kTreeMachine == IMAGE_FILE_MACHINE_AMD64 ? "win64" : "win32";
  ExpectRunsSkinnedAndSavesBesideItself(CheckDir() + "\\" + tree + "\\tarnel.exe");
}

// The installer from a clean state: nothing of an earlier install left, before and after.
class Installer : public Release {
protected:
  void SetUp() override {
    Release::SetUp();
    if (IsSkipped()) return;
    CoInitialize(nullptr);
    RemoveInstallation();
    ASSERT_FALSE(Exists(InstallFolder()));
  }
  void TearDown() override {
    if (IsSkipped()) return;
    RemoveInstallation();
    CoUninitialize();
  }
  static void RemoveInstallation() {
    RemoveTree(InstallFolder());
    DeleteFileA(ShortcutPath().c_str());
    RegDeleteTreeA(HKEY_CURRENT_USER, kUninstallKey);
    if (UserValue(kRunKey, kRunValue) == InstalledProgram())
      RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, kRunValue);
  }
  static DWORD Install() { return RunAndWait("\"" + CheckDir() + "\\setup.exe\" /S"); }
  // The uninstall command the system's list of programs runs, silently, with extra options.
  static DWORD Uninstall(const std::string& options = "") {
    const auto command = UserValue(kUninstallKey, "UninstallString");
    if (!command) throw std::runtime_error("no UninstallString");
    return RunAndWait(*command + " /S" + options);
  }
};

TEST_F(Installer, InstallsForTheCurrentUserWithAShortcutAndAnUninstallEntry) {
  // It asks for no administrator rights.
  EXPECT_NE(ManifestOf(CheckDir() + "\\setup.exe").find("level=\"asInvoker\""), std::string::npos);
  ASSERT_EQ(Install(), 0u);
  const std::string folder = InstallFolder();
  EXPECT_EQ(FolderFiles(folder),
            (std::vector<std::string>{"close.dat", "readme.txt", "tarnel.exe", "uninstall.exe"}));
  // The program of this Windows: 64-bit on 64-bit Windows, 32-bit in the 32-bit one.
  EXPECT_TRUE(IsTarnelProgram(InstalledProgram(), kTreeMachine, L"tarnel.exe", kDescription,
                              TARNEL_MANIFEST));
  bool exists = false;
  std::string list;
  ReadFileBytes(folder + "\\close.dat", list, &exists);
  EXPECT_TRUE(exists && list.empty());
  EXPECT_EQ(ShortcutTarget(ShortcutPath()), InstalledProgram());
  const std::pair<const char*, std::string> entry[] = {
      {"DisplayName", "Tarnel"},
      {"DisplayVersion", TARNEL_VERSION},
      {"Publisher", "Tarnel"},
      {"DisplayIcon", InstalledProgram()},
      {"InstallLocation", folder},
      {"UninstallString", "\"" + folder + "\\uninstall.exe\""},
      {"QuietUninstallString", "\"" + folder + "\\uninstall.exe\" /S"}};
  for (const auto& [name, want] : entry)
    EXPECT_EQ(UserValue(kUninstallKey, name).value_or("(none)"), want) << name;
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

TEST_F(Installer, TheInstalledProgramStartsSkinnedAndSavesBesideItself) {
  ASSERT_EQ(Install(), 0u);
  ExpectRunsSkinnedAndSavesBesideItself(InstalledProgram());
}

TEST_F(Installer, AnUpgradeClosesTheRunningProgramKeepsTheListAndRenewsTheFiles) {
  ASSERT_EQ(Install(), 0u);
  const std::string folder = InstallFolder();
  WriteFileBytes(folder + "\\close.dat", "Kept\r\n");
  std::string readme;
  ReadFileBytes(folder + "\\readme.txt", readme);
  WriteFileBytes(folder + "\\readme.txt", "changed");
  TTarnel running(TTarnel::TInPlace{InstalledProgram()});
  running.Start();

  ASSERT_EQ(Install(), 0u);
  EXPECT_TRUE(running.WaitExit(5000)) << "the running program was not closed";
  EXPECT_EQ(running.CloseDat(), "Kept\r\n");
  std::string renewed;
  ReadFileBytes(folder + "\\readme.txt", renewed);
  EXPECT_EQ(renewed, readme);
  EXPECT_TRUE(IsTarnelProgram(InstalledProgram(), kTreeMachine, L"tarnel.exe", kDescription,
                              TARNEL_MANIFEST));
}

TEST_F(Installer, UninstallRemovesTheProgramItsShortcutEntryAndStartAtLogonButKeepsTheList) {
  // Start at logon goes with the program only when it names this copy.
  const struct {
    std::string Run;
    bool Kept;
  } cases[] = {{InstalledProgram(), false}, {"C:\\Other\\tarnel.exe", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Run);
    ASSERT_EQ(Install(), 0u);
    WriteFileBytes(InstallFolder() + "\\close.dat", "Kept\r\n");
    SetRunValue(c.Run);
    ASSERT_EQ(Uninstall(), 0u);
    EXPECT_EQ(FolderFiles(InstallFolder()), std::vector<std::string>{"close.dat"});
    std::string list;
    ReadFileBytes(InstallFolder() + "\\close.dat", list);
    EXPECT_EQ(list, "Kept\r\n");
    EXPECT_FALSE(Exists(ShortcutPath()));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUninstallKey));
    EXPECT_EQ(UserValue(kRunKey, kRunValue).has_value(), c.Kept);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, kRunValue);
    RemoveInstallation();
  }
}

TEST_F(Installer, UninstallAskedToRemoveTheListLeavesNothing) {
  ASSERT_EQ(Install(), 0u);
  WriteFileBytes(InstallFolder() + "\\close.dat", "Gone\r\n");
  ASSERT_EQ(Uninstall(" /PURGE"), 0u);
  EXPECT_FALSE(Exists(InstallFolder()));
  EXPECT_FALSE(Exists(ShortcutPath()));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUninstallKey));
}

} // namespace
