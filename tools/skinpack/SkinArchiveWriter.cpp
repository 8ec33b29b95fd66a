#include "SkinArchiveWriter.h"

#include "SkinLzh.h"
#include "SkinLzhEncoder.h"
#include "SkinReader.h"

#include <stdexcept>

namespace {

void PutInt32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    out.push_back(uint8_t(v >> (8 * i)));
}

} // namespace

std::vector<uint8_t> BuildSkinArchive(const std::vector<TSkinArchiveEntry>& entries,
                                      uint32_t format) {
  const int reserved = TSkinReader::ReservedLength(format);
  if (reserved < 0) throw std::invalid_argument("unknown archive format " + std::to_string(format));
  if (entries.size() > std::size_t(TSkinReader::MaxEntries))
    throw std::invalid_argument("an archive holds at most " +
                                std::to_string(TSkinReader::MaxEntries) + " entries");

  std::string names;
  std::size_t dataSize = 0;
  for (const TSkinArchiveEntry& e : entries) {
    if (e.Name.find_first_of("\r\n") != std::string::npos)
      throw std::invalid_argument("entry name holds a line break: " + e.Name);
    names += e.Name;
    names += "\r\n";
    dataSize += e.Data.size();
  }
  const std::size_t total = TSkinReader::HeaderSize + std::size_t(reserved) + names.size() +
                            4 * entries.size() + dataSize;
  if (total > TLZH::DefaultOutputLimit)
    throw std::invalid_argument("archive of " + std::to_string(total) +
                                " bytes exceeds the expansion limit of " +
                                std::to_string(TLZH::DefaultOutputLimit) + " bytes");

  std::vector<uint8_t> out;
  out.reserve(total);
  PutInt32(out, format);
  PutInt32(out, uint32_t(names.size()));
  out.resize(out.size() + 8 + std::size_t(reserved), 0);
  out.insert(out.end(), names.begin(), names.end());
  for (const TSkinArchiveEntry& e : entries)
    PutInt32(out, uint32_t(e.Data.size()));
  for (const TSkinArchiveEntry& e : entries)
    out.insert(out.end(), e.Data.begin(), e.Data.end());
  return out;
}

std::vector<uint8_t> BuildStoredSkin(std::span<const uint8_t> archive) {
  if (archive.size() > TLZH::DefaultOutputLimit)
    throw std::invalid_argument("archive exceeds the expansion limit");
  std::vector<uint8_t> out;
  PutInt32(out, uint32_t(archive.size()));
  const std::vector<uint8_t> stream = TLZHEncoder().Encode(archive);
  out.insert(out.end(), stream.begin(), stream.end());
  return out;
}
