#include "FileBytes.h"

#include <algorithm>
#include <new>

namespace FileBytes {

namespace {

// How often, and how far apart, a write tries to put the new file in place of the old one.
constexpr int kReplaceAttempts = 25;
constexpr DWORD kReplacePauseMs = 20;

} // namespace

std::wstring WidePath(const std::string& path) {
  const int n =
      MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(std::max(n, 0)), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), w.data(), n);
  if (w.size() < MAX_PATH || w.rfind(L"\\\\?\\", 0) == 0) return w;
  if (w.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + w.substr(2);
  return L"\\\\?\\" + w;
}

TFileHandle Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
  return TFileHandle(CreateFileW(path.c_str(), access, share, nullptr, disposition,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool ReadRest(HANDLE file, uint64_t limit, std::string& bytes) {
  LARGE_INTEGER size{}, at{};
  if (!GetFileSizeEx(file, &size) || !SetFilePointerEx(file, LARGE_INTEGER{}, &at, FILE_CURRENT) ||
      size.QuadPart < at.QuadPart || static_cast<uint64_t>(size.QuadPart - at.QuadPart) > limit)
    return false;
  // Memory that cannot be had makes the file as unreadable as a missing one.
  try {
    bytes.assign(static_cast<size_t>(size.QuadPart - at.QuadPart), '\0');
  } catch (const std::bad_alloc&) {
    return false;
  }
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
    if (!ReadFile(file, bytes.data() + done, want, &got, nullptr)) return false;
    if (got == 0) break;
    done += got;
  }
  bytes.resize(done);
  return true;
}

bool Replace(const std::string& path, std::string_view bytes) {
  const std::wstring target = WidePath(path);
  const std::wstring temp = WidePath(path + ".new");
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
    // A failed close is a failed write.
    ok = CloseHandle(file.Release()) && ok;
  }
  // A file someone has open (a reader, a scanner) cannot be replaced until they let go; they
  // are given a moment before the write counts as failed.
  for (int attempt = 1; ok; ++attempt) {
    if (MoveFileExW(temp.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      break;
    ok = attempt < kReplaceAttempts;
    if (ok) Sleep(kReplacePauseMs);
  }
  if (!ok) DeleteFileW(temp.c_str());
  return ok;
}

} // namespace FileBytes
