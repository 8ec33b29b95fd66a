#include "Registry.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsPredefined(HKEY key) {
  // The predefined keys are the handles 0x80000000 to 0x800000FF, sign-extended in 64-bit
  // programs (so compared as signed pointer-sized values, never cut to 32 bits).
  const auto v = reinterpret_cast<intptr_t>(key);
  return v >= static_cast<LONG>(0x80000000u) && v <= static_cast<LONG>(0x800000FFu);
}

std::string SubPath(std::string_view path) {
  while (!path.empty() && path.front() == '\\')
    path.remove_prefix(1);
  while (!path.empty() && path.back() == '\\')
    path.remove_suffix(1);
  return std::string(path);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TRegKey

TRegKey& TRegKey::operator=(TRegKey&& other) noexcept {
  if (this != &other) {
    Close();
    FKey = other.Release();
  }
  return *this;
}

HKEY TRegKey::Release() {
  HKEY k = FKey;
  FKey = nullptr;
  return k;
}

void TRegKey::Close() {
  if (FKey && !IsPredefined(FKey)) RegCloseKey(FKey);
  FKey = nullptr;
}

LONG TRegKey::Open(HKEY root, std::string_view path, REGSAM access) {
  Close();
  HKEY k = nullptr;
  LONG r = RegOpenKeyExA(root, SubPath(path).c_str(), 0, access, &k);
  if (r == ERROR_SUCCESS) FKey = k;
  return r;
}

LONG TRegKey::Create(HKEY root, std::string_view path, REGSAM access) {
  Close();
  HKEY k = nullptr;
  LONG r = RegCreateKeyExA(root, SubPath(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                           nullptr, &k, nullptr);
  if (r == ERROR_SUCCESS) FKey = k;
  return r;
}

// ---------------------------------------------------------------------------------------------
// Values

LONG ReadRegValue(HKEY key, const char* name, TRegValue& value, size_t maxSize) {
  value = {};
  // A value that another program rewrites between the size query and the read is asked again;
  // after a few rounds the reader gives up rather than chase it forever.
  for (int attempt = 0; attempt < 8; ++attempt) {
    DWORD type = REG_NONE;
    DWORD size = 0;
    LONG r = RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
    if (r != ERROR_SUCCESS) return r;
    if (size > maxSize) return ERROR_MORE_DATA;
    // Room for two zero bytes more than asked for: the system may add a terminator to text
    // that was stored without one.
    std::vector<uint8_t> data(static_cast<size_t>(size) + 2, 0);
    DWORD got = static_cast<DWORD>(data.size());
    r = RegQueryValueExA(key, name, nullptr, &type, data.data(), &got);
    if (r == ERROR_MORE_DATA) continue;
    if (r != ERROR_SUCCESS) return r;
    data.resize(std::min<size_t>(got, data.size()));
    value.Type = type;
    value.Data = std::move(data);
    return ERROR_SUCCESS;
  }
  return ERROR_MORE_DATA;
}

bool RegValueText(const TRegValue& value, std::string& text) {
  text.clear();
  if (value.Type != REG_SZ && value.Type != REG_EXPAND_SZ) return false;
  const auto* begin = reinterpret_cast<const char*>(value.Data.data());
  const auto* end = begin + value.Data.size();
  text.assign(begin, std::find(begin, end, '\0'));
  return true;
}

// ---------------------------------------------------------------------------------------------
// TRegistry

HKEY TRegistry::BaseFor(std::string_view path) const {
  if (!path.empty() && path.front() == '\\') return RootKey;
  return FCurrent.Valid() ? FCurrent.Get() : RootKey;
}

bool TRegistry::OpenKey(std::string_view path, bool canCreate) {
  bool relative = path.empty() || path.front() != '\\';
  HKEY base = BaseFor(path);
  TRegKey key;
  LONG r = canCreate ? key.Create(base, path, Access) : key.Open(base, path, Access);
  if (r != ERROR_SUCCESS) return false;
  std::string sub = SubPath(path);
  FCurrentPath = relative && FCurrent.Valid() && !FCurrentPath.empty()
                     ? (sub.empty() ? FCurrentPath : FCurrentPath + "\\" + sub)
                     : sub;
  FCurrent = std::move(key);
  return true;
}

bool TRegistry::OpenKeyReadOnly(std::string_view path) {
  const REGSAM saved = Access;
  bool ok = false;
  for (REGSAM access :
       {REGSAM(KEY_READ), REGSAM(KEY_READ & ~KEY_NOTIFY), REGSAM(KEY_QUERY_VALUE)}) {
    Access = access;
    if ((ok = OpenKey(path, false))) break;
  }
  if (!ok) Access = saved;
  return ok;
}

void TRegistry::CloseKey() {
  FCurrent.Close();
  FCurrentPath.clear();
}

bool TRegistry::ValueExists(const char* name) const {
  if (!FCurrent.Valid()) return false;
  DWORD type = 0, size = 0;
  return RegQueryValueExA(FCurrent.Get(), name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
}

bool TRegistry::ReadString(const char* name, std::string& text) const {
  text.clear();
  if (!FCurrent.Valid()) return false;
  TRegValue value;
  if (ReadRegValue(FCurrent.Get(), name, value) != ERROR_SUCCESS) return false;
  return RegValueText(value, text);
}

void TRegistry::WriteString(const char* name, const std::string& text) {
  LONG r = ERROR_INVALID_HANDLE;
  // The data is the text and one zero byte; the registry takes sizes up to 32 bits only.
  if (FCurrent.Valid() && text.size() < 0x7FFFFFFFu)
    r = RegSetValueExA(FCurrent.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
  if (r != ERROR_SUCCESS)
    throw ERegistryException(std::string("为 '") + (name ? name : "") + "' 设置数据时失败");
}

LONG TRegistry::DeleteValue(const char* name) {
  if (!FCurrent.Valid()) return ERROR_INVALID_HANDLE;
  return RegDeleteValueA(FCurrent.Get(), name);
}
