// "closed.log", the record of the windows Tarnel closed, kept beside close.dat: UTF-8 text, a
// header line naming the fields, then one line per close with its fields separated by tabs,
// every line ended by CR LF. Once the file would grow past kMaxBytes, the older half of its
// records is dropped. Portable: no Win32 here, so the format is tested natively.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace ClosedLog {

inline constexpr size_t kMaxBytes = size_t{1} << 20;

// One close, every field UTF-8 text: local time "YYYY-MM-DD hh:mm:ss", the window's title and
// class, the file name of its program, and the watch entry that matched it.
struct TRecord {
  std::string Time, Title, ClassName, Program, Entry;
};

// The first line of the file.
std::string Header();
// A record's line. Tabs, line ends and NUL bytes inside a field become spaces, so that every
// record stays one line of five fields.
std::string Line(const TRecord& record);
// What an append writes after the log's last bytes (tail: its end, at least its last byte;
// empty for an empty or missing log): the line alone, the header first for an empty log, a line
// end first where the last line was cut short.
std::string Appended(std::string_view tail, const TRecord& record);
// Whether a log of this size must drop its older half before the line is added.
bool MustRotate(size_t logSize, size_t lineSize, size_t limit = kMaxBytes);
// The log with the older half of its records dropped: the header, then the newer records whose
// lines begin in the second half of the record part (whole lines only). A log that does not
// begin with the header gets it, and all its lines count as records.
std::string Rotated(std::string_view log);

} // namespace ClosedLog
