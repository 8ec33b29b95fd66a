#include "WatchList.h"
#include "Classes.h"
#include "FileBytes.h"
#include "Handles.h"

#include <new>

namespace WatchList {

std::string FilePath() {
  const std::string exe = ExecutablePath();
  return exe.substr(0, FileNameStart(exe)) + "close.dat";
}

std::wstring FolderPath() {
  const std::string path = FilePath();
  return FileBytes::WidePath(path.substr(0, FileNameStart(path)));
}

TFileStamp Stamp() {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  TFileStamp stamp;
  if (!GetFileAttributesExW(FileBytes::WidePath(FilePath()).c_str(), GetFileExInfoStandard, &data))
    return stamp;
  stamp.Exists = true;
  stamp.Size = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  stamp.Written =
      (uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
  return stamp;
}

WatchListFile::TEntries Load() {
  const std::string path = FilePath();
  const Exception unreadable("不能打开文件 " + path);
  TFileHandle file =
      FileBytes::Open(FileBytes::WidePath(path), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  std::string bytes;
  if (!file || !FileBytes::ReadRest(file.Get(), kMaxFileBytes, bytes)) throw unreadable;
  // Memory that cannot be had makes the file as unreadable as a missing one.
  try {
    return WatchListFile::Parse(bytes);
  } catch (const std::bad_alloc&) {
    throw unreadable;
  }
}

void Save(const WatchListFile::TEntries& entries) {
  const std::string path = FilePath();
  if (!FileBytes::Replace(path, WatchListFile::Serialize(entries)))
    throw Exception("不能创建文件 " + path);
}

} // namespace WatchList
