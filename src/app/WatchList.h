// The watch list file beside the executable. Its path is text in the ANSI code page, like all
// of the program's text.
#pragma once
#include "WatchListFile.h"

#include <cstdint>
#include <string>

namespace WatchList {

// The largest list file that is read: a larger one is reported as unreadable instead of being
// taken into memory.
inline constexpr uint64_t kMaxFileBytes = uint64_t{256} << 20;

// The executable's folder followed by "close.dat".
std::string FilePath();
// The file's folder, as the wide file functions take it.
std::wstring FolderPath();

// What the file system tells of the file without reading it: whether it is there, its size and
// when it was last written. Two equal stamps are taken for the same content.
struct TFileStamp {
  bool Exists = false;
  uint64_t Size = 0;
  uint64_t Written = 0;
  bool operator==(const TFileStamp&) const = default;
};
TFileStamp Stamp();

// Reads the file; throws Exception("不能打开文件 <path>") when it cannot be read, is larger than
// kMaxFileBytes or does not fit in memory.
WatchListFile::TEntries Load();
// Writes a new file beside the old one and puts it in its place in one step, so that a failed
// or interrupted save leaves the old content; throws Exception("不能创建文件 <path>"). Works
// wherever the file itself can be written, however long its path; waits up to half a second
// for someone who has the old file open to let go of it.
void Save(const WatchListFile::TEntries& entries);

} // namespace WatchList
