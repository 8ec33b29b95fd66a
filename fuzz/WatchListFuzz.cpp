// Fuzzes the readers of what users and other programs write: the list file (every line read
// back byte for byte through a save, every entry's kind and parts), title patterns against
// titles, and the record of closes (its rotation and its lines).
#include "ClosedLog.h"
#include "TitlePattern.h"
#include "WatchListFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckList(std::string_view bytes) {
  const WatchListFile::TEntries entries = WatchListFile::Parse(bytes);
  Check(WatchListFile::Parse(WatchListFile::Serialize(entries)) == entries);
  for (const std::string& e : entries) {
    Check(e.find('\r') == std::string::npos && e.find('\n') == std::string::npos);
    switch (WatchListFile::KindOf(e)) {
    case WatchListFile::ekProgram: {
      const WatchListFile::TProgramParts parts = WatchListFile::ProgramOf(e);
      Check(parts.Narrowed == !parts.Pattern.empty());
      Check(2 + parts.File.size() + (parts.Narrowed ? 1 + parts.Pattern.size() : 0) <= e.size());
      break;
    }
    case WatchListFile::ekPattern:
      Check(WatchListFile::PatternOf(e).size() + 2 == e.size());
      break;
    case WatchListFile::ekClass:
      Check(WatchListFile::IsClassEntry(e));
      break;
    case WatchListFile::ekTitle:
      Check(!WatchListFile::IsClassEntry(e));
      break;
    }
  }
}

void CheckPattern(const std::uint8_t* data, std::size_t size) {
  // The first half of the units is the pattern, the rest the title.
  std::u16string units(size / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  const std::u16string pattern = units.substr(0, units.size() / 2);
  const std::u16string title = units.substr(units.size() / 2);
  using TitlePattern::Match;
  const bool matches = Match(std::u16string_view(pattern), std::u16string_view(title));
  Check(Match(std::u16string_view(u"*"), std::u16string_view(title)));
  if (matches) {
    Check(Match(std::u16string_view(pattern + u"*"), std::u16string_view(title)));
    Check(Match(std::u16string_view(u"*" + pattern), std::u16string_view(title)));
  }
  if (title.find_first_of(u"*?") == std::u16string::npos)
    Check(Match(std::u16string_view(title), std::u16string_view(title)));
}

void CheckLog(std::string_view bytes) {
  const std::string header = ClosedLog::Header();
  const std::string rotated = ClosedLog::Rotated(bytes);
  Check(rotated.rfind(header, 0) == 0);
  Check(rotated.size() <= bytes.size() + header.size() + 2);
  Check(rotated.back() == '\n');
  Check(ClosedLog::Rotated(rotated).size() <= rotated.size());
  // Any text in the fields makes one line of five fields.
  const std::string text(bytes.substr(0, 64));
  const std::string line = ClosedLog::Line({text, text, text, text, text});
  Check(line.size() >= 2 && line.ends_with("\r\n"));
  Check(line.find_first_of("\r\n") == line.size() - 2);
  std::size_t tabs = 0;
  for (char c : line)
    tabs += c == '\t';
  Check(tabs == 4);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckList(bytes);
  CheckPattern(data, size);
  CheckLog(bytes);
  return 0;
}
