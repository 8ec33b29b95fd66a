// The registry: keys owned by RAII, values read whole whatever their size or type, and a
// TRegistry object that opens keys by path from a root key.
#pragma once
#include "Classes.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A failed registry write ("为 'name' 设置数据时失败").
class ERegistryException : public Exception {
public:
  using Exception::Exception;
};

// An open registry key, closed when the object goes. Predefined root keys are never closed.
class TRegKey {
public:
  TRegKey() = default;
  explicit TRegKey(HKEY key) : FKey(key) {}
  ~TRegKey() { Close(); }
  TRegKey(const TRegKey&) = delete;
  TRegKey& operator=(const TRegKey&) = delete;
  TRegKey(TRegKey&& other) noexcept : FKey(other.Release()) {}
  TRegKey& operator=(TRegKey&& other) noexcept;

  HKEY Get() const { return FKey; }
  bool Valid() const { return FKey != nullptr; }
  explicit operator bool() const { return Valid(); }
  HKEY Release();
  void Close();

  // Opens (or creates) path under root with the given access; the error code of the system.
  // A leading "\" names the path from the root, as does a path without one.
  LONG Open(HKEY root, std::string_view path, REGSAM access);
  LONG Create(HKEY root, std::string_view path, REGSAM access);

private:
  HKEY FKey = nullptr;
};

// A value as stored: its type and its bytes.
struct TRegValue {
  DWORD Type = REG_NONE;
  std::vector<uint8_t> Data;
};

// Values larger than this are not read (ERROR_MORE_DATA is returned).
constexpr size_t kMaxRegValueSize = 1u << 20;

// Reads a value whole: the size is asked first, and the read is repeated when the value grows
// between the two calls. Returns the system's error code; value is cleared first.
LONG ReadRegValue(HKEY key, const char* name, TRegValue& value, size_t maxSize = kMaxRegValueSize);
// The text of a REG_SZ or REG_EXPAND_SZ value, up to its first zero byte or its end when it has
// none (the expandable text is not expanded). False, with text empty, for other types.
bool RegValueText(const TRegValue& value, std::string& text);

// Registry access from a root key, one current key at a time.
class TRegistry {
public:
  explicit TRegistry(REGSAM access = KEY_ALL_ACCESS) : Access(access) {}

  HKEY RootKey = HKEY_CURRENT_USER;
  REGSAM Access;
  HKEY CurrentKey() const { return FCurrent.Get(); }
  const std::string& CurrentPath() const { return FCurrentPath; }

  // Opens a key with Access, creating it when canCreate. A path that starts with "\" is taken
  // from the root; any other path from the current key (the root when none is open).
  bool OpenKey(std::string_view path, bool canCreate);
  // Opens a key for reading: KEY_READ, then KEY_READ without KEY_NOTIFY, then KEY_QUERY_VALUE.
  bool OpenKeyReadOnly(std::string_view path);
  void CloseKey();

  bool ValueExists(const char* name) const;
  // Reads a text value; false (text empty) when it is missing or not text.
  bool ReadString(const char* name, std::string& text) const;
  // Writes a REG_SZ value with its terminating zero; throws ERegistryException on failure.
  void WriteString(const char* name, const std::string& text);
  // Deletes a value; the system's error code (ERROR_FILE_NOT_FOUND when it was not there).
  LONG DeleteValue(const char* name);

private:
  HKEY BaseFor(std::string_view path) const;
  TRegKey FCurrent;
  std::string FCurrentPath;
};
