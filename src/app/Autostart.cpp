#include "Autostart.h"
#include "Menus.h"
#include "Registry.h"
#include "TextCase.h"

#include <algorithm>

namespace {

bool RootFromName(const std::string& name, HKEY& root) {
  if (name == "HKEY_USERS")
    root = HKEY_USERS;
  else if (name == "HKEY_CURRENT_USER")
    root = HKEY_CURRENT_USER;
  else if (TextCase::Same(name, "HKEY_LOCAL_MACHINE"))
    root = HKEY_LOCAL_MACHINE;
  else if (TextCase::Same(name, "HKEY_CLASSES_ROOT"))
    root = HKEY_CLASSES_ROOT;
  else
    return false;
  return true;
}

} // namespace

bool ReadRegString(const std::string& rootName, const std::string& keyPath,
                   const std::string& valueName, std::string& text) {
  text.clear();
  try {
    TRegistry reg(KEY_READ);
    if (!RootFromName(rootName, reg.RootKey)) return false;
    if (!reg.OpenKeyReadOnly(keyPath)) return false;
    if (!reg.ValueExists(valueName.c_str())) return false;
    return reg.ReadString(valueName.c_str(), text);
  } catch (const std::exception&) {
    text.clear();
    return false;
  }
}

bool SetRunEntry(const std::string& valueName, const std::string& data, bool write, bool machine) {
  TRegistry reg(KEY_ALL_ACCESS);
  reg.RootKey = machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  if (!reg.OpenKey("\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", true)) return false;
  if (write) {
    reg.WriteString(valueName.c_str(), data);
    return true;
  }
  const LONG r = reg.DeleteValue(valueName.c_str());
  return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND;
}

namespace Autostart {

bool IsOn(const std::string& valueName) {
  std::string text;
  ReadRegString("HKEY_CURRENT_USER", kRunKey, valueName, text);
  return !text.empty();
}

void Toggle(TMenuItem* item, const std::string& data, const std::string& valueName) {
  // The check mark shows what the registry holds once the command is over, however it ended.
  struct TShowState {
    TMenuItem* Item;
    const std::string& Name;
    ~TShowState() { Item->SetChecked(IsOn(Name)); }
  } show{item, valueName};
  SetRunEntry(valueName, data, !item->Checked(), false);
}

} // namespace Autostart
