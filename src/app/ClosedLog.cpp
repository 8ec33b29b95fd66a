#include "ClosedLog.h"

namespace ClosedLog {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::string Field(std::string_view text) {
  std::string field(text);
  for (char& c : field)
    if (c == '\t' || c == '\r' || c == '\n' || c == '\0') c = ' ';
  return field;
}

} // namespace

std::string Header() {
  // Written as UTF-8 whatever the code page the program's texts are compiled in.
  static const std::u8string header = u8"时间\t窗口标题\t窗口类\t程序\t条目";
  return std::string(header.begin(), header.end()) + std::string(kLineEnd);
}

std::string Line(const TRecord& r) {
  std::string line = Field(r.Time);
  for (const std::string* f : {&r.Title, &r.ClassName, &r.Program, &r.Entry}) {
    line += '\t';
    line += Field(*f);
  }
  line += kLineEnd;
  return line;
}

std::string Appended(std::string_view tail, const TRecord& record) {
  if (tail.empty()) return Header() + Line(record);
  if (tail.back() != '\n') return std::string(kLineEnd) + Line(record);
  return Line(record);
}

bool MustRotate(size_t logSize, size_t lineSize, size_t limit) {
  return logSize + lineSize > limit;
}

std::string Rotated(std::string_view log) {
  const std::string header = Header();
  std::string_view records = log;
  if (log.starts_with(header)) records.remove_prefix(header.size());
  // The first record that begins at or after the middle of the record part.
  size_t keep = records.size() / 2;
  if (keep > 0 && records[keep - 1] != '\n') {
    const size_t end = records.find('\n', keep);
    keep = end == std::string_view::npos ? records.size() : end + 1;
  }
  std::string out = header;
  out += records.substr(keep);
  if (!out.empty() && out.back() != '\n') out += kLineEnd;
  return out;
}

} // namespace ClosedLog
