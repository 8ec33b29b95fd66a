#include "WatchList.h"
#include "Classes.h"

namespace WatchList {

std::string FilePath() {
  const std::string exe = ExecutablePath();
  return exe.substr(0, FileNameStart(exe)) + "close.dat";
}

WatchListFile::TEntries Load() {
  const std::string path = FilePath();
  TMemoryStream file;
  if (!file.LoadFromFile(path)) throw Exception("不能打开文件 " + path);
  const auto& d = file.Data();
  return WatchListFile::Parse(std::string_view(reinterpret_cast<const char*>(d.data()), d.size()));
}

void Save(const WatchListFile::TEntries& entries) {
  const std::string path = FilePath();
  const std::string temp = path + ".new";
  const std::string bytes = WatchListFile::Serialize(entries);
  HANDLE h = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  bool ok = h != INVALID_HANDLE_VALUE;
  size_t done = 0;
  while (ok && done < bytes.size()) {
    DWORD put = 0;
    DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
    ok = WriteFile(h, bytes.data() + done, want, &put, nullptr) && put == want;
    done += put;
  }
  if (h != INVALID_HANDLE_VALUE) {
    ok = FlushFileBuffers(h) && ok;
    ok = CloseHandle(h) && ok;
  }
  if (ok) ok = MoveFileExA(temp.c_str(), path.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  if (!ok) {
    DeleteFileA(temp.c_str());
    throw Exception("不能创建文件 " + path);
  }
}

} // namespace WatchList
