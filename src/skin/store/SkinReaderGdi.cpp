// Windows half of the skin reader: its messages go to a message box captioned with the
// program's name, like the program's own boxes.
#include "SkinReader.h"

#include <windows.h>

namespace {

// The executable's file name without folder and extension, stepping over double-byte
// characters of the ANSI code page.
std::string ProgramName() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::string();
  std::size_t start = 0;
  for (std::size_t i = 0; i < length;) {
    if (IsDBCSLeadByte(BYTE(path[i])) && i + 1 < length) {
      i += 2;
      continue;
    }
    if (path[i] == '\\' || path[i] == '/' || path[i] == ':') start = i + 1;
    ++i;
  }
  std::string name(path + start, length - start);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

} // namespace

void SkinPlatformNotify(const std::string& message) {
  MessageBoxA(GetActiveWindow(), message.c_str(), ProgramName().c_str(), MB_OK);
}
