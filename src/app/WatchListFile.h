// The watch list as it is kept in "close.dat": one entry per line, ANSI bytes, written with
// CR LF after every entry. Portable: no Win32 here, so the codec is tested natively.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace WatchListFile {

using TEntries = std::vector<std::string>;

// Splits file bytes into entries. A line ends at CR LF, a lone CR or a lone LF; a last line
// without a line end is still an entry; a final line end adds no empty entry; an empty line
// in the middle is an empty entry. Every other byte, NUL included, belongs to its entry: nothing
// of the file is lost between a load and the next save.
TEntries Parse(std::string_view bytes);

// Every entry followed by CR LF, in order; an empty list gives no bytes.
std::string Serialize(const TEntries& entries);

// The kinds of entry. A pattern entry is "T|" followed by a title pattern (see TitlePattern.h);
// a program entry is "E|" followed by a program's file name, optionally followed by "|" and a
// title pattern. Both markers count only at the start of the entry (case-sensitive). Any other
// entry that contains "C|" anywhere (case-sensitive) is a class entry; every other entry is an
// exact title. A program that knows only titles and classes reads the new kinds as titles.
enum TEntryKind { ekTitle, ekClass, ekPattern, ekProgram };
TEntryKind KindOf(std::string_view entry);

// A class entry (see KindOf).
bool IsClassEntry(std::string_view entry);

// The title pattern of a pattern entry: the entry without its "T|".
std::string_view PatternOf(std::string_view entry);

// The parts of a program entry: the file name up to the first "|" after "E|" (a "|" that is the
// second byte of a double-byte character does not count), and the title pattern after that
// "|". Narrowed says whether the pattern narrows the entry to some titles: an empty pattern
// ("E|setup.exe|") leaves the entry as wide as "E|setup.exe".
struct TProgramParts {
  std::string_view File;
  std::string_view Pattern;
  bool Narrowed = false;
};
TProgramParts ProgramOf(std::string_view entry);

// The class entry of a window class: "C|" followed by the class name.
std::string ClassEntry(std::string_view className);

// The class name of a class entry: the entry without its first two bytes, whatever they are.
std::string_view ClassNameOf(std::string_view entry);

// Whether the scan looks the entry up at all: an empty title, or a class entry with an empty
// class part, would match whatever untitled window comes first (our own hidden windows too);
// an empty pattern ("T|") or program name ("E|") is left out likewise.
bool IsLookedUp(std::string_view entry);

} // namespace WatchListFile
