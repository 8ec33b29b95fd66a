// Builds skin archives (named entries behind a header, a reserved block, a CR LF separated
// name block and a size table) and the compressed stored-skin block that wraps one.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct TSkinArchiveEntry {
  std::string Name;
  std::vector<uint8_t> Data;
};

// The archive bytes in the given format (20000 ... 70000; the reserved block is zero-filled).
// Throws std::invalid_argument for an unknown format, more entries than a reader accepts, a
// name holding a line break, or an archive larger than a reader expands.
std::vector<uint8_t> BuildSkinArchive(const std::vector<TSkinArchiveEntry>& entries,
                                      uint32_t format = 70000);

// The stored skin: the archive's size (32-bit little-endian) followed by its LZH bit stream.
std::vector<uint8_t> BuildStoredSkin(std::span<const uint8_t> archive);
