#include "WatchListFile.h"

namespace WatchListFile {

TEntries Parse(std::string_view bytes) {
  TEntries entries;
  size_t start = 0;
  const size_t n = bytes.size();
  while (start < n) {
    size_t end = start;
    while (end < n && bytes[end] != '\r' && bytes[end] != '\n')
      ++end;
    entries.emplace_back(bytes.substr(start, end - start));
    if (end < n && bytes[end] == '\r' && end + 1 < n && bytes[end + 1] == '\n')
      start = end + 2;
    else
      start = end + 1;
  }
  return entries;
}

std::string Serialize(const TEntries& entries) {
  size_t total = 0;
  for (const auto& e : entries)
    total += e.size() + 2;
  std::string out;
  out.reserve(total);
  for (const auto& e : entries) {
    out += e;
    out += "\r\n";
  }
  return out;
}

bool IsClassEntry(std::string_view entry) {
  return entry.find("C|") != std::string_view::npos;
}

std::string ClassEntry(std::string_view className) {
  std::string entry = "C|";
  entry += className;
  return entry;
}

std::string_view ClassNameOf(std::string_view entry) {
  return entry.size() >= 2 ? entry.substr(2) : std::string_view{};
}

bool IsLookedUp(std::string_view entry) {
  if (IsClassEntry(entry)) return !ClassNameOf(entry).empty();
  return !entry.empty();
}

} // namespace WatchListFile
