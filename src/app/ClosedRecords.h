// What Tarnel closed: the last closes in memory, newest first, for the window that lists them,
// and every close appended to "closed.log" beside close.dat (see ClosedLog.h).
#pragma once
#include "CloseScan.h"
#include "ClosedLog.h"

#include <deque>
#include <utility>
#include <string>
#include <vector>

// "closed.log" beside close.dat.
std::string ClosedLogPath();
// A close's local time as the log and the list show it: "YYYY-MM-DD hh:mm:ss".
std::string CloseTime(const SYSTEMTIME& time);
// A close as the log writes it (UTF-8 fields).
ClosedLog::TRecord LogRecord(const TClosedWindow& closed);
// A close as the list of recent closes shows it, in the program's code page: time, title, class,
// program, entry.
std::vector<std::string> ShownFields(const TClosedWindow& closed);
// Appends one record to the log at path, dropping the older half of its records first where it
// would grow past ClosedLog::kMaxBytes. False when the log cannot be written; never throws.
bool AppendToLog(const std::string& path, const ClosedLog::TRecord& record);

class TClosedRecords {
public:
  static constexpr size_t kKept = 200;

  explicit TClosedRecords(std::string logPath) : FLogPath(std::move(logPath)) {}
  // Keeps the close (the oldest kept goes past kKept) and appends it to the log. False when
  // the log could not be written; the close is kept all the same.
  bool Add(const TClosedWindow& closed);
  // Newest first.
  const std::deque<TClosedWindow>& Recent() const { return FRecent; }
  const std::string& LogPath() const { return FLogPath; }

private:
  std::string FLogPath;
  std::deque<TClosedWindow> FRecent;
};
