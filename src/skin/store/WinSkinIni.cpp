#include "WinSkinIni.h"
#include "TextCase.h"
#include "StoreAssert.h"

#include <cstdint>

namespace {

constexpr int kReadSectionsAssertLine = 317;

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

std::string_view Trim(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b]))
    ++b;
  while (e > b && IsBlank(s[e - 1]))
    --e;
  return s.substr(b, e - b);
}

bool IsSectionHeader(std::string_view line) {
  return !line.empty() && line.front() == '[' && line.back() == ']';
}

// Whether `key` is `lowered` once its letters are lower-cased.
bool SameLowered(std::string_view lowered, std::string_view key) {
  if (lowered.size() != key.size()) return false;
  for (std::size_t i = 0; i < key.size(); ++i)
    if (TextCase::Lower(key[i]) != lowered[i]) return false;
  return true;
}

} // namespace

std::size_t TQuickIni::TNameHash::operator()(std::string_view name) const {
  std::uint64_t h = 14695981039346656037ull; // FNV-1a over the lower-cased bytes
  for (char c : name)
    h = (h ^ static_cast<unsigned char>(TextCase::Lower(c))) * 1099511628211ull;
  return static_cast<std::size_t>(h);
}

bool TQuickIni::TNameEqual::operator()(std::string_view a, std::string_view b) const {
  return TextCase::Same(a, b);
}

void TQuickIni::Clear() {
  FLines.clear();
  FSections.clear();
  FLineKeys.clear();
  FKeys.clear();
  FSectionIndex.clear();
}

void TQuickIni::AddLine(std::string_view raw) {
  const std::string_view line = Trim(raw);
  if (line.empty() || line.front() == ';') return;
  const int index = static_cast<int>(FLines.size());
  FLines.emplace_back(line);

  TLineKey lk;
  if (IsSectionHeader(line)) {
    lk.IsHeader = true;
    FSections.push_back({std::string(line), index});
    FSectionIndex.emplace(line.substr(1, line.size() - 2), static_cast<int>(FSections.size()) - 1);
    FLineKeys.push_back(lk); // a header ends a section walk; its key part is never asked for
    return;
  }
  const std::size_t eq = line.find('=');
  if (eq != std::string_view::npos) {
    const std::string_view key = Trim(line.substr(0, eq));
    const std::string_view rest = line.substr(eq + 1);
    const std::string_view value = Trim(rest);
    lk.KeyOffset = FKeys.size();
    lk.KeyLength = key.size();
    for (char c : key)
      FKeys.push_back(TextCase::Lower(c));
    lk.ValueOffset = static_cast<std::size_t>(value.data() - line.data());
    lk.ValueLength = value.size();
  }
  FLineKeys.push_back(lk);
}

void TQuickIni::LoadFromStream(std::optional<std::string_view> stream) {
  if (!stream) return;
  Clear();
  std::string_view text = *stream;
  // A NUL ends the whole text.
  if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos)
    text = text.substr(0, nul);

  std::size_t pos = 0;
  const std::size_t n = text.size();
  while (pos < n) {
    std::size_t end = pos;
    while (end < n && text[end] != '\r' && text[end] != '\n')
      ++end;
    AddLine(text.substr(pos, end - pos));
    pos = end;
    if (pos < n && text[pos] == '\r') ++pos;
    if (pos < n && text[pos] == '\n') ++pos;
  }
}

int TQuickIni::SectionLine(std::string_view name) const {
  const auto it = FSectionIndex.find(name);
  return it == FSectionIndex.end() ? -1 : FSections[static_cast<std::size_t>(it->second)].LineIndex;
}

std::string TQuickIni::ReadString(std::string_view section, std::string_view key,
                                  std::string_view defaultValue) const {
  std::string result(defaultValue);
  if (FLines.empty() || key.empty()) return result;
  const int header = SectionLine(section);
  if (header < 0) return result;
  for (std::size_t i = static_cast<std::size_t>(header) + 1; i < FLines.size(); ++i) {
    const TLineKey& lk = FLineKeys[i];
    if (lk.IsHeader) break;
    if (lk.KeyLength == 0 ||
        !SameLowered(std::string_view(FKeys).substr(lk.KeyOffset, lk.KeyLength), key))
      continue;
    if (lk.ValueLength > 0) result.assign(FLines[i], lk.ValueOffset, lk.ValueLength);
    break;
  }
  return result;
}

std::optional<std::int32_t> TQuickIni::StrToInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i < text.size() && text[i] == '$') {
    ++i;
    if (i == text.size()) return std::nullopt;
    std::uint32_t value = 0;
    for (; i < text.size(); ++i) {
      const char c = text[i];
      unsigned digit;
      if (c >= '0' && c <= '9')
        digit = static_cast<unsigned>(c - '0');
      else if (c >= 'a' && c <= 'f')
        digit = static_cast<unsigned>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F')
        digit = static_cast<unsigned>(c - 'A' + 10);
      else
        return std::nullopt;
      if (value > 0x0FFFFFFFu) // a ninth significant digit: beyond 32 bits
        return std::nullopt;
      value = (value << 4) | digit;
    }
    // 32 bits read as two's complement; a sign negates that value (with wrap-around).
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
  }
  if (i == text.size()) return std::nullopt;
  std::int64_t value = 0;
  const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > limit) return std::nullopt;
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

std::int32_t TQuickIni::ReadInteger(std::string_view section, std::string_view key,
                                    std::int32_t defaultValue) const {
  std::string text = ReadString(section, key, "");
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    text.replace(0, 2, "$");
  return StrToInt(text).value_or(defaultValue);
}

void TQuickIni::ReadSections(std::vector<std::string>* strings) const {
  if (strings == nullptr)
    throw TarnelStore::EAssertionFailed("The parameter Strings is unassigned!", "WinSkinIni",
                                        kReadSectionsAssertLine);
  strings->clear();
  strings->reserve(FSections.size());
  for (const TSection& s : FSections) {
    std::string_view name = Trim(s.Header);
    name = name.size() >= 2 ? name.substr(1, name.size() - 2) : std::string_view();
    strings->emplace_back(Trim(name));
  }
}
