#include "Classes.h"
#include "Handles.h"
#include "TextCase.h"

#include <algorithm>
#include <cctype>
#include <map>

// ---------------------------------------------------------------------------------------------
// Class information

const TPropInfo* TClassInfo::FindProp(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->Parent)
    for (const auto& p : c->Props)
      if (TextCase::Same(p.Name, name)) return &p;
  return nullptr;
}

bool TClassInfo::InheritsFrom(std::string_view className) const {
  for (const TClassInfo* c = this; c; c = c->Parent)
    if (className == c->Name) return true;
  return false;
}

static std::map<std::string, const TClassInfo*, std::less<>>& ClassRegistry() {
  static std::map<std::string, const TClassInfo*, std::less<>> registry;
  return registry;
}

void RegisterClassInfo(const TClassInfo* info) {
  ClassRegistry()[info->Name] = info;
}

const TClassInfo* FindClassInfo(std::string_view name) {
  auto& r = ClassRegistry();
  auto it = r.find(name);
  return it == r.end() ? nullptr : it->second;
}

const TClassInfo& TObject::StaticClassInfo() {
  static const TClassInfo info{"TObject", nullptr, nullptr, {}};
  return info;
}

bool IsPublishedProp(const TObject* obj, std::string_view name) {
  return obj && obj->ClassInfo().FindProp(name) != nullptr;
}

std::string GetPropValue(const TObject* obj, std::string_view name, bool* found) {
  const TPropInfo* p = obj ? obj->ClassInfo().FindProp(name) : nullptr;
  if (found) *found = p && p->Get;
  if (!p || !p->Get) return {};
  return p->Get(obj);
}

bool SetPropValue(TObject* obj, std::string_view name, const std::string& value) {
  const TPropInfo* p = obj ? obj->ClassInfo().FindProp(name) : nullptr;
  if (!p || p->Kind != pkValue || !p->Set) return false;
  p->Set(obj, value);
  return true;
}

int GetOrdProp(const TObject* obj, std::string_view name) {
  bool found = false;
  std::string v = GetPropValue(obj, name, &found);
  if (!found || v.empty()) return -1;
  if (v == "True") return 1;
  if (v == "False") return 0;
  char* end = nullptr;
  long n = std::strtol(v.c_str(), &end, 10);
  return (end && *end == 0) ? static_cast<int>(n) : -1;
}

std::string EnumName(const std::vector<const char*>& names, int value) {
  if (value >= 0 && value < static_cast<int>(names.size())) return names[value];
  return std::to_string(value);
}

int EnumValue(const std::vector<const char*>& names, const std::string& text) {
  for (size_t i = 0; i < names.size(); ++i)
    if (text == names[i]) return static_cast<int>(i);
  char* end = nullptr;
  long n = std::strtol(text.c_str(), &end, 10);
  if (!text.empty() && end && *end == 0) return static_cast<int>(n);
  throw Exception("Invalid property value " + text);
}

unsigned StringToSet(const std::vector<const char*>& names, const std::string& text) {
  unsigned bits = 0;
  std::string item;
  auto flush = [&] {
    if (!item.empty()) bits |= 1u << EnumValue(names, item);
    item.clear();
  };
  for (char ch : text) {
    if (ch == '[' || ch == ']' || ch == ' ' || ch == '\t') continue;
    if (ch == ',')
      flush();
    else
      item += ch;
  }
  flush();
  return bits;
}

std::string SetToString(const std::vector<const char*>& names, unsigned bits) {
  std::string out = "[";
  for (size_t i = 0; i < names.size(); ++i)
    if (bits & (1u << i)) {
      if (out.size() > 1) out += ", ";
      out += names[i];
    }
  return out + "]";
}

// ---------------------------------------------------------------------------------------------
// Components

const TClassInfo& TComponent::StaticClassInfo() {
  static const TClassInfo info{"TComponent",
                               &TObject::StaticClassInfo(),
                               nullptr,
                               {StrProp("Name", &TComponent::GetName, &TComponent::SetName),
                                IntProp("Tag", &TComponent::GetTag, &TComponent::SetTag)}};
  return info;
}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  ComponentState |= csDestroying;
  // Watchers drop their references before this component goes.
  auto watchers = std::move(FFreeNotifies);
  for (TComponent* w : watchers) {
    w->Notification(this, opRemove);
    auto& back = w->FFreeNotifies;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    RemoveComponent(c);
    delete c;
  }
}

void TComponent::InsertComponent(TComponent* c) {
  c->FOwner = this;
  FComponents.push_back(c);
  Notification(c, opInsert);
}

void TComponent::RemoveComponent(TComponent* c) {
  auto it = std::find(FComponents.begin(), FComponents.end(), c);
  if (it == FComponents.end()) return;
  FComponents.erase(it);
  c->FOwner = nullptr;
  Notification(c, opRemove);
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  for (TComponent* c : FComponents)
    if (TextCase::Same(c->Name, name)) return c;
  return nullptr;
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove) {
    FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), component),
                        FFreeNotifies.end());
  }
}

void TComponent::FreeNotification(TComponent* other) {
  if (!other || other == this) return;
  if (std::find(other->FFreeNotifies.begin(), other->FFreeNotifies.end(), this) ==
      other->FFreeNotifies.end())
    other->FFreeNotifies.push_back(this);
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), other) == FFreeNotifies.end())
    FFreeNotifies.push_back(other);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
  if (!other) return;
  auto& a = other->FFreeNotifies;
  a.erase(std::remove(a.begin(), a.end(), this), a.end());
  FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), other),
                      FFreeNotifies.end());
}

TNotifyEvent TComponent::FindMethod(std::string_view) const {
  return {};
}

// ---------------------------------------------------------------------------------------------
// Streams

size_t TMemoryStream::Read(void* buffer, size_t count) {
  if (Position >= FData.size()) return 0;
  count = std::min(count, FData.size() - Position);
  std::copy_n(FData.data() + Position, count, static_cast<uint8_t*>(buffer));
  Position += count;
  return count;
}

void TMemoryStream::Write(const void* buffer, size_t count) {
  if (Position + count > FData.size()) FData.resize(Position + count);
  std::copy_n(static_cast<const uint8_t*>(buffer), count, FData.data() + Position);
  Position += count;
}

bool TMemoryStream::LoadFromFile(const std::string& path) {
  const TFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  std::vector<uint8_t> data;
  uint8_t chunk[65536];
  DWORD got = 0;
  bool ok = true;
  while ((ok = ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr) != 0) && got > 0)
    data.insert(data.end(), chunk, chunk + got);
  if (!ok) return false;
  FData = std::move(data);
  Position = 0;
  return true;
}

bool TMemoryStream::SaveToFile(const std::string& path) const {
  TFileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  size_t done = 0;
  bool ok = true;
  while (ok && done < FData.size()) {
    DWORD put = 0;
    DWORD want = static_cast<DWORD>(std::min<size_t>(FData.size() - done, 1 << 20));
    ok = WriteFile(file.Get(), FData.data() + done, want, &put, nullptr) && put == want;
    done += put;
  }
  // A failed close can lose written data: it counts as a failed save.
  return CloseHandle(file.Release()) && ok;
}

// ---------------------------------------------------------------------------------------------
// Paths

std::string ExecutablePath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size() - 1 && GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

size_t FileNameStart(std::string_view path) {
  size_t start = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (IsDBCSLeadByteEx(936, c) && i + 1 < path.size()) {
      ++i;
      continue;
    }
    if (c == '\\' || c == '/' || c == ':') start = i + 1;
  }
  return start;
}

// ---------------------------------------------------------------------------------------------
// Code pages

static std::string Convert(std::string_view text, UINT from, UINT to) {
  if (text.empty()) return {};
  int wide = MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), w.data(), wide);
  int n = WideCharToMultiByte(to, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(to, 0, w.data(), wide, out.data(), n, nullptr, nullptr);
  return out;
}

std::string Utf8ToAnsi(std::string_view utf8) {
  return Convert(utf8, CP_UTF8, 936);
}
std::string AnsiToUtf8(std::string_view ansi) {
  return Convert(ansi, 936, CP_UTF8);
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> rows;
  for (size_t start = 0; start < text.size();) {
    const size_t end = std::min(text.find("\r\n", start), text.size());
    rows.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return rows;
}

std::string JoinLines(const std::vector<std::string>& rows) {
  std::string text;
  for (const std::string& line : rows)
    text += line + "\r\n";
  return text;
}
