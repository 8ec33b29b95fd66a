// Start at logon: a text value under the user's (or the machine's) Run key in the registry.
#pragma once
#include <string>

class TMenuItem;

namespace Autostart {

// The Run key, and the value that names this program in it.
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunValue = "popreap";

} // namespace Autostart

// Reads a text value (REG_SZ or REG_EXPAND_SZ, not expanded, up to its first zero byte).
// rootName: "HKEY_USERS" or "HKEY_CURRENT_USER" exactly, or "HKEY_LOCAL_MACHINE" or
// "HKEY_CLASSES_ROOT" in any letter case. The key is opened for reading only. Returns whether a
// value was read; text is cleared first and stays empty when nothing was read.
bool ReadRegString(const std::string& rootName, const std::string& keyPath,
                   const std::string& valueName, std::string& text);

// Writes (write true) or deletes (write false) a value under the Run key of HKEY_LOCAL_MACHINE
// (machine true) or HKEY_CURRENT_USER, opening the key with full access and creating it if
// need be. A failed write raises ERegistryException ("为 '<value name>' 设置数据时失败").
// Returns false, changing nothing, when the key cannot be opened or created, and false when
// the value could not be deleted (a value that was not there counts as deleted).
bool SetRunEntry(const std::string& valueName, const std::string& data, bool write, bool machine);

namespace Autostart {

// Whether the user's Run value holds a non-empty text: what the check mark shows.
bool IsOn(const std::string& valueName = kRunValue);

// The start-at-logon command: writes the value (item unchecked) or deletes it (item checked),
// then sets the check mark from what the registry holds now, also when the key could not be
// opened or the value not written (the write failure is raised again afterwards).
void Toggle(TMenuItem* item, const std::string& data, const std::string& valueName = kRunValue);

} // namespace Autostart
