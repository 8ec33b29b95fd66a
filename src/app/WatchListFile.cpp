#include "WatchListFile.h"

#include <algorithm>

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

namespace {

constexpr std::string_view kPatternMarker = "T|", kProgramMarker = "E|";

// A lead byte of a double-byte character of code page 936: the byte after it is its second.
bool IsLeadByte(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b >= 0x81 && b <= 0xFE;
}

} // namespace

TEntryKind KindOf(std::string_view entry) {
  if (entry.starts_with(kPatternMarker)) return ekPattern;
  if (entry.starts_with(kProgramMarker)) return ekProgram;
  return entry.find("C|") != std::string_view::npos ? ekClass : ekTitle;
}

bool IsClassEntry(std::string_view entry) {
  return KindOf(entry) == ekClass;
}

std::string_view PatternOf(std::string_view entry) {
  return entry.substr(std::min(entry.size(), kPatternMarker.size()));
}

TProgramParts ProgramOf(std::string_view entry) {
  const std::string_view rest = entry.substr(std::min(entry.size(), kProgramMarker.size()));
  TProgramParts parts;
  size_t i = 0;
  while (i < rest.size() && rest[i] != '|')
    i += IsLeadByte(rest[i]) && i + 1 < rest.size() ? 2 : 1;
  parts.File = rest.substr(0, i);
  if (i < rest.size()) parts.Pattern = rest.substr(i + 1);
  parts.Narrowed = !parts.Pattern.empty();
  return parts;
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
  switch (KindOf(entry)) {
  case ekClass:
    return !ClassNameOf(entry).empty();
  case ekPattern:
    return !PatternOf(entry).empty();
  case ekProgram:
    return !ProgramOf(entry).File.empty();
  case ekTitle:
    break;
  }
  return !entry.empty();
}

} // namespace WatchListFile
