#include "ProgramFile.h"
#include "E2e.h"
#include "TarnelVersion.h"

#include <vector>

namespace e2e {

namespace {

std::wstring Wide(const std::string& s) {
  std::wstring w(s.size() + 1, L'\0');
  w.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()),
                                                   w.data(), static_cast<int>(w.size()))));
  return w;
}

// The whole version resource of a file, empty without one.
std::vector<char> VersionBlock(const std::string& path) {
  const std::wstring file = Wide(path);
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &handle);
  std::vector<char> block(size);
  if (size == 0 || !GetFileVersionInfoW(file.c_str(), 0, size, block.data())) block.clear();
  return block;
}

const VS_FIXEDFILEINFO* FixedInfo(const std::vector<char>& block) {
  void* p = nullptr;
  UINT n = 0;
  if (block.empty() || !VerQueryValueW(block.data(), L"\\", &p, &n) || n < sizeof(VS_FIXEDFILEINFO))
    return nullptr;
  return static_cast<const VS_FIXEDFILEINFO*>(p);
}

std::string Dotted(DWORD high, DWORD low) {
  return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high)) + "." +
         std::to_string(HIWORD(low)) + "." + std::to_string(LOWORD(low));
}

} // namespace

WORD ProgramMachine(const std::string& path) {
  std::string bytes;
  ReadFileBytes(path, bytes);
  if (bytes.size() < 0x40 || bytes[0] != 'M' || bytes[1] != 'Z') return 0;
  DWORD peOffset = 0;
  memcpy(&peOffset, bytes.data() + 0x3C, sizeof peOffset);
  if (peOffset + 6 > bytes.size() || bytes.compare(peOffset, 4, std::string("PE\0\0", 4)) != 0)
    return 0;
  WORD machine = 0;
  memcpy(&machine, bytes.data() + peOffset + 4, sizeof machine);
  return machine;
}

std::wstring VersionText(const std::string& path, const wchar_t* name) {
  const std::vector<char> block = VersionBlock(path);
  if (block.empty()) return {};
  const std::wstring query = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
  void* p = nullptr;
  UINT n = 0;
  if (!VerQueryValueW(block.data(), query.c_str(), &p, &n) || n == 0) return {};
  const auto* text = static_cast<const wchar_t*>(p);
  return std::wstring(text, wcsnlen(text, n));
}

std::string FixedFileVersion(const std::string& path) {
  const std::vector<char> block = VersionBlock(path);
  const VS_FIXEDFILEINFO* info = FixedInfo(block);
  return info ? Dotted(info->dwFileVersionMS, info->dwFileVersionLS) : std::string();
}

std::string FixedProductVersion(const std::string& path) {
  const std::vector<char> block = VersionBlock(path);
  const VS_FIXEDFILEINFO* info = FixedInfo(block);
  return info ? Dotted(info->dwProductVersionMS, info->dwProductVersionLS) : std::string();
}

std::string ManifestOf(const std::string& path) {
  // As a plain data file, so that a 32-bit system can read a 64-bit program as well (mapped
  // as an image resource, it cannot).
  HMODULE module = LoadLibraryExW(Wide(path).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return {};
  std::string bytes;
  if (HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
    if (HGLOBAL data = LoadResource(module, res))
      bytes.assign(static_cast<const char*>(LockResource(data)), SizeofResource(module, res));
  }
  FreeLibrary(module);
  return bytes;
}

testing::AssertionResult IsTarnelProgram(const std::string& path, WORD machine,
                                         const std::wstring& fileName,
                                         const std::wstring& description,
                                         const std::string& manifestPath) {
  const WORD found = ProgramMachine(path);
  if (found != machine)
    return testing::AssertionFailure()
           << path << ": machine 0x" << std::hex << found << ", expected 0x" << machine;
  const std::string numbers = TARNEL_VERSION ".0";
  const std::wstring version = Wide(TARNEL_VERSION);
  const std::pair<const wchar_t*, std::wstring> texts[] = {
      {L"ProductName", L"Tarnel"},     {L"FileDescription", description},
      {L"FileVersion", version},       {L"ProductVersion", version},
      {L"OriginalFilename", fileName}, {L"InternalName", fileName},
      {L"CompanyName", L"Tarnel"},     {L"LegalCopyright", L"Copyright © 2026 Tarnel 开发者"}};
  for (const auto& [name, want] : texts) {
    const std::wstring got = VersionText(path, name);
    if (got != want)
      return testing::AssertionFailure()
             << path << ": " << testing::PrintToString(name) << " is "
             << testing::PrintToString(got) << ", expected " << testing::PrintToString(want);
  }
  if (FixedFileVersion(path) != numbers || FixedProductVersion(path) != numbers)
    return testing::AssertionFailure()
           << path << ": version numbers " << FixedFileVersion(path) << " / "
           << FixedProductVersion(path) << ", expected " << numbers;
  std::string manifest;
  ReadFileBytes(manifestPath, manifest);
  if (manifest.empty()) return testing::AssertionFailure() << "cannot read " << manifestPath;
  if (ManifestOf(path) != manifest)
    return testing::AssertionFailure() << path << ": its manifest is not " << manifestPath;
  return testing::AssertionSuccess();
}

} // namespace e2e
