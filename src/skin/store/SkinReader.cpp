#include "SkinReader.h"
#include "TextCase.h"

#include <algorithm>
#include <cstring>
#ifndef _WIN32
#include <cstdio>
#endif

namespace {

TSkinNotifier g_notifier = &SkinPlatformNotify;

int32_t ReadInt32(const uint8_t* p) {
  return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                 uint32_t(p[3]) << 24);
}

// Splits a name block into lines: a line ends at CR LF, a lone CR or a lone LF; a final line
// break adds no empty line. Stops once more than `maxLines` lines are found.
std::vector<std::string> SplitLines(std::string_view text, std::size_t maxLines) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < text.size() && lines.size() <= maxLines) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < text.size() && lines.size() <= maxLines) lines.emplace_back(text.substr(start));
  return lines;
}

} // namespace

#ifndef _WIN32
void SkinPlatformNotify(const std::string& message) {
  std::string text = message;
  std::replace(text.begin(), text.end(), '\r', '\n');
  std::fprintf(stderr, "%s\n", text.c_str());
}
#endif

TSkinNotifier SetSkinNotifier(TSkinNotifier notifier) {
  const TSkinNotifier previous = g_notifier;
  g_notifier = notifier ? notifier : &SkinPlatformNotify;
  return previous;
}

std::string SkinLowerName(std::string_view name) {
  return TextCase::Lower(name);
}

std::optional<std::string> SkinImageEntryName(std::string_view value) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < value.size();) {
    const auto b = uint8_t(value[i]);
    if (b >= 0x81 && b <= 0xFE && i + 1 < value.size()) {
      i += 2; // lead byte and its trail byte, which may be 0x5C
      continue;
    }
    if (b == '\\' || b == ':') start = i + 1;
    ++i;
  }
  const std::string_view fileName = value.substr(start);
  if (fileName.empty()) return std::nullopt;
  const std::size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos || fileName.substr(dot) != ".bmp") return std::nullopt;
  return std::string(fileName);
}

int TSkinReader::ReservedLength(uint32_t format) {
  switch (format) {
  case 20000:
    return 0;
  case 30000:
    return 256;
  case 40000:
    return 80;
  case 50000:
    return 48;
  case 60000:
    return 117;
  case 70000:
    return 69;
  default:
    return -1;
  }
}

uint32_t TSkinReader::Format() const {
  return uint32_t(ReadInt32(FHeader.data()));
}

void TSkinReader::Clear() {
  FNames.clear();
  FOffsets.clear();
  FData.clear();
  FSizes.fill(0);
}

bool TSkinReader::Fail(std::string reason) {
  Clear();
  FLastError = std::move(reason);
  return false;
}

bool TSkinReader::OpenArchive(std::span<const uint8_t> storedSkin) {
  Clear();
  FHeader.fill(0);
  FExpandedSize = 0;
  FLastError.clear();

  if (storedSkin.size() < 4) return Fail("stored skin is shorter than its 4-byte size field");
  const int32_t expectedSize = ReadInt32(storedSkin.data());
  if (expectedSize < 0) return Fail("negative expanded size " + std::to_string(expectedSize));
  if (std::size_t(expectedSize) > FExpandedLimit)
    return Fail("expanded size " + std::to_string(expectedSize) + " exceeds the limit of " +
                std::to_string(FExpandedLimit) + " bytes");

  TLZH lzh;
  lzh.SetOutputLimit(FExpandedLimit);
  std::vector<uint8_t>& archive = FData;
  lzh.Expand(expectedSize, storedSkin.subspan(4), archive);
  FExpandedSize = archive.size();
  const std::size_t size = archive.size();

  std::copy_n(archive.begin(), std::min(size, HeaderSize), FHeader.begin());
  const int reserved = ReservedLength(Format());
  if (reserved < 0) {
    Fail("unknown archive format " + std::to_string(Format()));
    g_notifier(SkinOlderFileMessage);
    return false;
  }
  if (size < HeaderSize) return Fail("archive is shorter than its 16-byte header");

  const int32_t nameLength = ReadInt32(FHeader.data() + 4);
  const std::size_t namesAt = HeaderSize + std::size_t(reserved);
  if (nameLength < 0) return Fail("negative name block length " + std::to_string(nameLength));
  if (namesAt > size || std::size_t(nameLength) > size - namesAt)
    return Fail("name block of " + std::to_string(nameLength) +
                " bytes runs past the end of the archive (" + std::to_string(size) + " bytes)");

  const std::string lowered = SkinLowerName(std::string_view(
      reinterpret_cast<const char*>(archive.data() + namesAt), std::size_t(nameLength)));
  std::vector<std::string> names = SplitLines(lowered, MaxEntries);
  if (names.size() > std::size_t(MaxEntries))
    return Fail("more than " + std::to_string(MaxEntries) + " entry names");

  const std::size_t sizesAt = namesAt + std::size_t(nameLength);
  const std::size_t count = names.size();
  if (4 * count > size - sizesAt)
    return Fail("size table of " + std::to_string(count) +
                " entries runs past the end of the archive");
  const std::size_t dataAt = sizesAt + 4 * count;
  const std::size_t dataSize = size - dataAt;

  std::vector<std::size_t> offsets(count);
  std::size_t offset = 0; // from the start of the entry data
  for (std::size_t i = 0; i < count; ++i) {
    const int32_t entrySize = ReadInt32(archive.data() + sizesAt + 4 * i);
    if (entrySize < 0)
      return Fail("entry \"" + names[i] + "\" has a negative size " + std::to_string(entrySize));
    if (std::size_t(entrySize) > dataSize - offset)
      return Fail("entry \"" + names[i] + "\" of " + std::to_string(entrySize) +
                  " bytes runs past the end of the entry data (" + std::to_string(dataSize) +
                  " bytes)");
    FSizes[i] = entrySize;
    offsets[i] = dataAt + offset;
    offset += std::size_t(entrySize);
  }

  FNames = std::move(names);
  FOffsets = std::move(offsets);
  return true;
}

std::span<const uint8_t> TSkinReader::EntryData(int index) const {
  const std::size_t i = std::size_t(index);
  return std::span<const uint8_t>(FData).subspan(FOffsets.at(i), std::size_t(FSizes.at(i)));
}

int TSkinReader::FindEntry(std::string_view name) const {
  const std::string wanted = SkinLowerName(name);
  for (int i = 0; i < EntryCount(); ++i)
    if (FNames[std::size_t(i)] == wanted) return i;
  return -1;
}

int TSkinReader::FindEntryLike(std::string_view text) const {
  for (int i = 0; i < EntryCount(); ++i)
    if (FNames[std::size_t(i)].find(text) != std::string::npos) return i;
  return -1;
}

bool TSkinReader::ExtractEntry(std::string_view name, std::vector<uint8_t>& target) const {
  target.clear();
  const int i = FindEntry(name);
  if (i < 0) return false;
  const std::span<const uint8_t> bytes = EntryData(i);
  target.assign(bytes.begin(), bytes.end());
  return true;
}

bool TSkinReader::ExtractEntryLike(std::string_view text, std::vector<uint8_t>& target,
                                   std::string& name) const {
  target.clear();
  const int i = FindEntryLike(text);
  if (i < 0) return false;
  const std::span<const uint8_t> bytes = EntryData(i);
  target.assign(bytes.begin(), bytes.end());
  name = FNames[std::size_t(i)];
  return true;
}
