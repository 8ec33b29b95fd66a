// Windows half of the skin reader: its messages go to a message box captioned with the
// program's name, like the program's own boxes.
#include "SkinReader.h"

#include "Classes.h"

#include <windows.h>

namespace {

// The executable's file name without folder and extension, stepping over double-byte
// characters of the ANSI code page.
std::string ProgramName() {
  const std::string path = ExecutablePath();
  std::string name = path.substr(FileNameStart(path));
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

} // namespace

void SkinPlatformNotify(const std::string& message) {
  MessageBoxA(GetActiveWindow(), message.c_str(), ProgramName().c_str(), MB_OK);
}
