#include "WatchList.h"
#include "Classes.h"
#include "Handles.h"

#include <algorithm>
#include <new>

namespace WatchList {

namespace {

// How often, and how far apart, a save tries to put the new file in place of the old one.
constexpr int kReplaceAttempts = 25;
constexpr DWORD kReplacePauseMs = 20;

TFileHandle Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
  return TFileHandle(CreateFileW(path.c_str(), access, share, nullptr, disposition,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
}

// A path in the ANSI code page as the wide file functions take it: converted the way the ANSI
// functions convert it, and marked as a long path where it is too long for them, so that a
// name beside close.dat works wherever close.dat itself does.
std::wstring WidePath(const std::string& path) {
  const int n =
      MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(std::max(n, 0)), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), w.data(), n);
  if (w.size() < MAX_PATH || w.rfind(L"\\\\?\\", 0) == 0) return w;
  if (w.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + w.substr(2);
  return L"\\\\?\\" + w;
}

} // namespace

std::string FilePath() {
  const std::string exe = ExecutablePath();
  return exe.substr(0, FileNameStart(exe)) + "close.dat";
}

std::wstring FolderPath() {
  const std::string path = FilePath();
  return WidePath(path.substr(0, FileNameStart(path)));
}

TFileStamp Stamp() {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  TFileStamp stamp;
  if (!GetFileAttributesExW(WidePath(FilePath()).c_str(), GetFileExInfoStandard, &data))
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
  TFileHandle file = Open(WidePath(path), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
      static_cast<uint64_t>(size.QuadPart) > kMaxFileBytes)
    throw unreadable;
  // Memory that cannot be had makes the file as unreadable as a missing one.
  try {
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
      DWORD got = 0;
      const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
      if (!ReadFile(file.Get(), bytes.data() + done, want, &got, nullptr)) throw unreadable;
      if (got == 0) break;
      done += got;
    }
    bytes.resize(done);
    return WatchListFile::Parse(bytes);
  } catch (const std::bad_alloc&) {
    throw unreadable;
  }
}

void Save(const WatchListFile::TEntries& entries) {
  const std::string path = FilePath();
  const std::wstring target = WidePath(path);
  const std::wstring temp = WidePath(path + ".new");
  const std::string bytes = WatchListFile::Serialize(entries);
  TFileHandle file = Open(temp, GENERIC_WRITE, 0, CREATE_ALWAYS);
  bool ok = static_cast<bool>(file);
  size_t done = 0;
  while (ok && done < bytes.size()) {
    DWORD put = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
    ok = WriteFile(file.Get(), bytes.data() + done, want, &put, nullptr) && put == want;
    done += put;
  }
  if (file) {
    ok = FlushFileBuffers(file.Get()) && ok;
    ok = CloseHandle(file.Release()) && ok;
  }
  // A file someone has open (a reader, a scanner) cannot be replaced until they let go; they
  // are given a moment before the save counts as failed.
  for (int attempt = 1; ok; ++attempt) {
    if (MoveFileExW(temp.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      break;
    ok = attempt < kReplaceAttempts;
    if (ok) Sleep(kReplacePauseMs);
  }
  if (!ok) {
    DeleteFileW(temp.c_str());
    throw Exception("不能创建文件 " + path);
  }
}

} // namespace WatchList
