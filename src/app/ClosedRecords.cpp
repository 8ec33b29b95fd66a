#include "ClosedRecords.h"
#include "Classes.h"
#include "FileBytes.h"
#include "WatchList.h"

#include <algorithm>
#include <cstdio>

namespace {

// A log that has grown past this (written by someone else) is not read: it starts anew.
constexpr uint64_t kLongestLogRead = uint64_t{64} << 20;

std::string FromWide(std::wstring_view text, UINT codePage) {
  const int size = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(std::max(n, 0)), '\0');
  if (n > 0) WideCharToMultiByte(codePage, 0, text.data(), size, out.data(), n, nullptr, nullptr);
  return out;
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  DWORD put = 0;
  return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) &&
         put == bytes.size();
}

} // namespace

std::string ClosedLogPath() {
  const std::string list = WatchList::FilePath();
  return list.substr(0, FileNameStart(list)) + "closed.log";
}

std::string CloseTime(const SYSTEMTIME& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay,
                t.wHour, t.wMinute, t.wSecond);
  return text;
}

ClosedLog::TRecord LogRecord(const TClosedWindow& c) {
  return {CloseTime(c.Time), FromWide(c.Title, CP_UTF8), FromWide(c.ClassName, CP_UTF8),
          FromWide(c.Program, CP_UTF8), AnsiToUtf8(c.Entry)};
}

std::vector<std::string> ShownFields(const TClosedWindow& c) {
  return {CloseTime(c.Time), FromWide(c.Title, CP_ACP), FromWide(c.ClassName, CP_ACP),
          FromWide(c.Program, CP_ACP), c.Entry};
}

bool AppendToLog(const std::string& path, const ClosedLog::TRecord& record) {
  TFileHandle file = FileBytes::Open(FileBytes::WidePath(path), GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ, OPEN_ALWAYS);
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.Get(), &size)) return false;
  // The last byte tells whether the last line was ended.
  std::string tail;
  if (size.QuadPart > 0) {
    LARGE_INTEGER last{};
    last.QuadPart = size.QuadPart - 1;
    char byte = 0;
    DWORD got = 0;
    if (!SetFilePointerEx(file.Get(), last, nullptr, FILE_BEGIN) ||
        !ReadFile(file.Get(), &byte, 1, &got, nullptr) || got != 1)
      return false;
    tail.assign(1, byte);
  }
  const std::string added = ClosedLog::Appended(tail, record);
  if (!ClosedLog::MustRotate(static_cast<size_t>(size.QuadPart), added.size())) {
    LARGE_INTEGER end{};
    return SetFilePointerEx(file.Get(), end, nullptr, FILE_END) && WriteAll(file.Get(), added);
  }
  // The older half goes: the newer half and the new line replace the file in one step.
  std::string log;
  if (!SetFilePointerEx(file.Get(), LARGE_INTEGER{}, nullptr, FILE_BEGIN) ||
      !FileBytes::ReadRest(file.Get(), kLongestLogRead, log))
    log.clear();
  file.Reset(); // a file still open here could not be replaced
  std::string rotated = ClosedLog::Rotated(log);
  rotated += ClosedLog::Appended(rotated, record);
  return FileBytes::Replace(path, rotated);
}

bool TClosedRecords::Add(const TClosedWindow& closed) {
  FRecent.push_front(closed);
  if (FRecent.size() > kKept) FRecent.pop_back();
  return AppendToLog(FLogPath, LogRecord(closed));
}
