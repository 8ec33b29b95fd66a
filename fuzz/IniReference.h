// A deliberately plain INI lookup that rescans the whole text for every question: the
// reference the INI fuzz target checks TQuickIni against, and the baseline of its benchmark.
#pragma once
#include <string>
#include <string_view>

namespace IniReference {

inline bool Blank(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

inline std::string_view Trim(std::string_view s) {
  while (!s.empty() && Blank(s.front()))
    s.remove_prefix(1);
  while (!s.empty() && Blank(s.back()))
    s.remove_suffix(1);
  return s;
}

inline bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

// Calls f(line) for every kept (trimmed, non-empty, non-comment) line until f returns false.
template <class F>
void ForEachLine(std::string_view text, F f) {
  text = text.substr(0, text.find('\0'));
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = Trim(text.substr(pos, end - pos));
    if (!line.empty() && line.front() != ';' && !f(line)) return;
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
}

inline bool IsHeader(std::string_view line) {
  return !line.empty() && line.front() == '[' && line.back() == ']';
}

inline std::string ReadString(std::string_view text, std::string_view section, std::string_view key,
                              std::string_view defaultValue) {
  std::string result(defaultValue);
  if (key.empty()) return result;
  const std::string header = "[" + std::string(section) + "]";
  int state = 0; // 0: looking for the section, 1: inside it
  ForEachLine(text, [&](std::string_view line) {
    if (state == 0) {
      if (IsHeader(line) && SameText(line, header)) state = 1;
      return true;
    }
    if (IsHeader(line)) return false;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return true;
    const std::string_view name = Trim(line.substr(0, eq));
    // The key asked for is not trimmed: " a" never equals a trimmed key part.
    if (name.empty() || !SameText(name, key)) return true;
    const std::string_view value = Trim(line.substr(eq + 1));
    if (!value.empty()) result.assign(value);
    return false;
  });
  return result;
}

} // namespace IniReference
