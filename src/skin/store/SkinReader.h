// The skin archive: a stored skin (32-bit expanded size + LZH bit stream) expands to a header,
// a reserved block whose length depends on the format number, a block of entry names (one per
// line), a table of entry sizes and the entries' bytes back to back.
#pragma once

#include "SkinLzh.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Shows a message of the skin reader to the user. The default is the platform's: a message
// box on Windows, standard error elsewhere.
using TSkinNotifier = void (*)(const std::string& message);

// Installs `notifier` (nullptr: the platform default) and returns the previous one.
TSkinNotifier SetSkinNotifier(TSkinNotifier notifier);
// The platform default notifier.
void SkinPlatformNotify(const std::string& message);

// Shown when an archive's format number is unknown.
inline constexpr const char* SkinOlderFileMessage =
    "This is Older Skin File\rPlease update to new version !";

// The entry to extract for an image value of the skin description: the file-name part (after
// the last "\" or ":", stepping over double-byte characters of code page 936) when its
// extension is exactly ".bmp"; no value when the image is to be empty.
std::optional<std::string> SkinImageEntryName(std::string_view value);

// Lower-cases the letters A-Z, byte by byte, as entry names are compared.
std::string SkinLowerName(std::string_view name);

class TSkinReader {
public:
  static constexpr int MaxEntries = 1001;
  static constexpr std::size_t HeaderSize = 16;

  // Length of the reserved block for a format number; -1 for an unknown format.
  static int ReservedLength(uint32_t format);

  // Expands and parses a stored skin. False when it is not a readable archive: an unknown
  // format number (the user is told through the notifier), or a damaged or oversized one
  // (LastError says why). ElzhException passes through. The expanded archive is kept as the
  // decoder delivered it, and its buffer is used again by the next call.
  bool OpenArchive(std::span<const uint8_t> storedSkin);

  // The index of the first entry named `name` (letter case ignored), or -1.
  int FindEntry(std::string_view name) const;
  // The index of the first entry whose (lower-case) name contains `text`, or -1.
  int FindEntryLike(std::string_view text) const;

  // Replaces `target` with the bytes of the first entry named `name` (letter case ignored);
  // empty when there is none. True when an entry was found.
  bool ExtractEntry(std::string_view name, std::vector<uint8_t>& target) const;
  // Like ExtractEntry, for the first entry whose (lower-case) name contains `text`; `name`
  // receives that entry's name and is left alone when nothing matches.
  bool ExtractEntryLike(std::string_view text, std::vector<uint8_t>& target,
                        std::string& name) const;

  int EntryCount() const { return int(FNames.size()); }
  const std::string& EntryName(int index) const { return FNames.at(std::size_t(index)); }
  int32_t EntrySize(int index) const { return FSizes.at(std::size_t(index)); }
  // The bytes of an entry, inside the expanded archive: valid until the next OpenArchive.
  std::span<const uint8_t> EntryData(int index) const;

  uint32_t Format() const;
  const std::array<uint8_t, HeaderSize>& Header() const { return FHeader; }
  // Size of the expanded archive as the decoder delivered it.
  std::size_t ExpandedSize() const { return FExpandedSize; }
  const std::string& LastError() const { return FLastError; }

  // Largest expanded size accepted by OpenArchive.
  void SetExpandedLimit(std::size_t limit) { FExpandedLimit = limit; }

private:
  bool Fail(std::string reason);
  void Clear();

  std::vector<std::string> FNames;
  std::array<int32_t, MaxEntries> FSizes{};
  std::vector<std::size_t> FOffsets; // where each entry starts in FData
  std::vector<uint8_t> FData;        // the expanded archive
  std::array<uint8_t, HeaderSize> FHeader{};
  std::size_t FExpandedSize = 0;
  std::size_t FExpandedLimit = TLZH::DefaultOutputLimit;
  std::string FLastError;
};
