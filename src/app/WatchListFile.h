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

// A class entry contains "C|" anywhere (case-sensitive).
bool IsClassEntry(std::string_view entry);

// The class entry of a window class: "C|" followed by the class name.
std::string ClassEntry(std::string_view className);

// The class name of a class entry: the entry without its first two bytes, whatever they are.
std::string_view ClassNameOf(std::string_view entry);

// Whether the scan looks the entry up at all: an empty title, or a class entry with an empty
// class part, would match whatever untitled window comes first (our own hidden windows too).
bool IsLookedUp(std::string_view entry);

} // namespace WatchListFile
