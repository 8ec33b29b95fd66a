// tarnel.exe and gallery.exe as built, read from their files: the machine of this tree, this
// build's version resource and the project's manifest. What the manifest does, seen in running
// programs: the real program runs with the classic common controls, and a program that carries
// the manifest (this test program does) is told the Windows version as it is.
#include "E2e.h"
#include "ProgramFile.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <string>

#if !defined(TARNEL_EXE) || !defined(GALLERY_EXE) || !defined(TARNEL_MANIFEST)
#error TARNEL_EXE, GALLERY_EXE and TARNEL_MANIFEST must name the built programs and the manifest
#endif

using namespace e2e;

namespace {

constexpr WORD kTreeMachine =
    sizeof(void*) == 8 ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386;

std::string Lower(std::string s) {
  for (char& c : s)
    c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return s;
}

// The full path of a module loaded in a process, lower case; empty when it is not loaded.
std::string ModulePath(DWORD pid, const std::string& name) {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
  if (snap == INVALID_HANDLE_VALUE) return {};
  MODULEENTRY32 entry{};
  entry.dwSize = sizeof entry;
  std::string found;
  for (BOOL more = Module32First(snap, &entry); more && found.empty();
       more = Module32Next(snap, &entry))
    if (Lower(entry.szModule) == name) found = Lower(entry.szExePath);
  CloseHandle(snap);
  return found;
}

TEST(ProgramFiles, CarryTheMachineTheVersionAndTheManifest) {
  const struct {
    const char* Path;
    const wchar_t* Name;
    const wchar_t* Description;
  } programs[] = {{TARNEL_EXE, L"tarnel.exe", L"Tarnel 窗口自动关闭工具"},
                  {GALLERY_EXE, L"gallery.exe", L"Tarnel 控件样例"}};
  for (const auto& p : programs)
    EXPECT_TRUE(IsTarnelProgram(p.Path, kTreeMachine, p.Name, p.Description, TARNEL_MANIFEST));
}

TEST(Manifest, AsInvokerForWindows7To11NotDpiAwareWithoutVisualStyles) {
  const std::string manifest = ManifestOf(TARNEL_EXE);
  ASSERT_FALSE(manifest.empty());
  const struct {
    const char* Text;
    bool Present;
  } cases[] = {
      {"<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>", true},
      {"<supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>", true}, // Windows 7
      {"<supportedOS Id=\"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}\"/>", true}, // Windows 8
      {"<supportedOS Id=\"{1f676c76-80e1-4239-95bb-83d0f6d0da78}\"/>", true}, // Windows 8.1
      {"<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>", true}, // Windows 10, 11
      {">false</dpiAware>", true},
      {">unaware</dpiAwareness>", true},
      {"Common-Controls", false}, // the visual styles' assembly
      {"<dependency", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(manifest.find(c.Text) != std::string::npos, c.Present) << c.Text;
}

TEST(Manifest, TheProgramRunsWithTheClassicCommonControls) {
  // The visual styles' common controls would come from the side-by-side store.
  TTarnel tarnel;
  tarnel.Start();
  const std::string comctl = ModulePath(tarnel.ProcessId(), "comctl32.dll");
  ASSERT_FALSE(comctl.empty()) << "tarnel.exe has no common controls loaded";
  EXPECT_EQ(comctl.find("winsxs"), std::string::npos) << comctl;
}

TEST(Manifest, AProgramThatCarriesItIsToldTheWindowsVersionAsItIs) {
  // Without the manifest, Windows 8.1 and later (and Wine set to them) report Windows 8.
  using TRtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
  auto rtlGetVersion = reinterpret_cast<TRtlGetVersion>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlGetVersion")));
  ASSERT_NE(rtlGetVersion, nullptr);
  OSVERSIONINFOW actual{}, told{};
  actual.dwOSVersionInfoSize = told.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
  ASSERT_EQ(rtlGetVersion(&actual), 0);
  ASSERT_TRUE(GetVersionExW(&told));
  const std::string version =
      std::to_string(actual.dwMajorVersion) + "." + std::to_string(actual.dwMinorVersion);
  std::cout << "Windows " << version << "." << actual.dwBuildNumber << "\n";
  EXPECT_EQ(told.dwMajorVersion, actual.dwMajorVersion);
  EXPECT_EQ(told.dwMinorVersion, actual.dwMinorVersion);
  EXPECT_EQ(told.dwBuildNumber, actual.dwBuildNumber);
  // A run for one Windows version says which (scripts/test.sh): it must be the one in force.
  if (const char* expected = std::getenv("TARNEL_WINDOWS_VERSION")) {
    EXPECT_EQ(version, expected);
  }
}

} // namespace
