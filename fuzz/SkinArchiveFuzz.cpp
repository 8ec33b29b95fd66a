// Opening hostile skin archives and extracting every entry. The first input byte picks how
// the rest is taken: odd - an archive in the clear, compressed here before opening (reaches
// the parser directly); even - a stored skin as found in a file.
#include "SkinLzhEncoder.h"
#include "SkinReader.h"

#include <algorithm>
#include <cstdlib>

namespace {

void Silent(const std::string&) {}

void Check(bool ok) {
  if (!ok) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  SetSkinNotifier(&Silent);
  const std::span<const uint8_t> rest(data + 1, size - 1);
  std::vector<uint8_t> stored;
  if (data[0] & 1) {
    const uint32_t n = uint32_t(rest.size());
    stored = {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)};
    const std::vector<uint8_t> stream = TLZHEncoder(16).Encode(rest);
    stored.insert(stored.end(), stream.begin(), stream.end());
  } else {
    stored.assign(rest.begin(), rest.end());
  }

  TSkinReader reader;
  reader.SetExpandedLimit(std::size_t(1) << 16);
  if (!reader.OpenArchive(stored)) {
    Check(reader.EntryCount() == 0 && !reader.LastError().empty());
    return 0;
  }
  Check(reader.EntryCount() <= TSkinReader::MaxEntries);
  std::size_t total = 0;
  std::vector<uint8_t> out;
  for (int i = 0; i < reader.EntryCount(); ++i) {
    Check(reader.EntrySize(i) >= 0);
    total += std::size_t(reader.EntrySize(i));
    Check(reader.ExtractEntry(reader.EntryName(i), out));
    int first = 0;
    while (reader.EntryName(first) != reader.EntryName(i))
      ++first;
    Check(reader.FindEntry(reader.EntryName(i)) == first);
    const std::span<const uint8_t> want = reader.EntryData(first);
    Check(std::equal(out.begin(), out.end(), want.begin(), want.end()));
    if (const auto image = SkinImageEntryName(reader.EntryName(i)))
      reader.ExtractEntry(*image, out);
  }
  Check(total <= reader.ExpandedSize());
  std::string name;
  reader.ExtractEntryLike(".ini", out, name);
  return 0;
}
