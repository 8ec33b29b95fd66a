// The watch list file beside the executable, read and written through the ANSI file API.
#pragma once
#include "WatchListFile.h"

#include <string>

namespace WatchList {

// The executable's folder followed by "close.dat".
std::string FilePath();

// Reads the file; throws Exception("不能打开文件 <path>") when it cannot be read.
WatchListFile::TEntries Load();
// Writes a new file beside the old one and puts it in its place in one step, so that a failed
// or interrupted save leaves the old content; throws Exception("不能创建文件 <path>").
void Save(const WatchListFile::TEntries& entries);

} // namespace WatchList
