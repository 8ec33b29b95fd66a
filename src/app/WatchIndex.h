// The watch list as the program holds it: the entries in list order, and an index from the
// title or class each entry names to the entries that name it, so that the close scan finds
// the entries of a window with one lookup whatever the length of the list. Pattern and program
// entries cannot be looked up that way: they stand in a short side list of their own, which
// the scan tests every window against. The index changes with the list (assign, add, delete)
// and is never rebuilt by the scan.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// A title or class name as the system's window lookup compares it: turned into UTF-16 from the
// ANSI code page, then lower-cased (whole text, case-insensitive).
std::wstring WindowKey(std::string_view ansi);
std::wstring WindowKey(std::wstring text);

class TWatchIndex {
public:
  enum TLookupKind : uint8_t { lkNone, lkTitle, lkClass, lkPattern, lkProgram };

  // What the close scan remembers of an entry's last close request; it travels with the entry.
  struct TAsked {
    DWORD At = 0;         // tick count of the request
    bool Ever = false;    // whether the entry has asked at all
    bool ByEvent = false; // made by a pass that a new window started, not by a tick
  };

  struct TEntry {
    std::string Text;          // the entry as the file and the list hold it
    TLookupKind Kind = lkNone; // lkNone: never looked up (empty title, bare "C|", "T|", "E|")
    // As compared (see WindowKey): the title, class name or title pattern, or for a program
    // entry its program's file name.
    std::wstring Key;
    std::wstring Pattern;  // a program entry's title pattern, when Narrowed
    bool Narrowed = false; // the program entry closes only windows whose title matches Pattern
    TAsked Asked;
  };

  // Replaces the whole list.
  void Assign(const std::vector<std::string>& entries);
  // Appends one entry at the end.
  void Add(const std::string& text);
  // Removes the entry at index (nothing for an index out of range).
  void Delete(int index);

  int Count() const { return static_cast<int>(FEntries.size()); }
  const TEntry& Entry(int index) const { return FEntries[static_cast<size_t>(index)]; }
  TEntry& Entry(int index) { return FEntries[static_cast<size_t>(index)]; }
  std::vector<std::string> Texts() const;
  // How many entries are exactly this text, byte for byte.
  int Occurrences(const std::string& text) const;
  // Changes with every change of the list, so that a pass can tell the list changed under it.
  uint64_t Generation() const { return FGeneration; }

  // The entries (ascending indices) looking up this title or class key; null when none.
  const std::vector<int>* Lookup(TLookupKind kind, const std::wstring& key) const;
  bool HasKind(TLookupKind kind) const {
    return kind == lkTitle ? !FTitles.empty() : kind == lkClass && !FClasses.empty();
  }
  // The pattern and program entries (ascending indices), which no lookup finds.
  const std::vector<int>& Side() const { return FSide; }
  // Whether any entry is looked up at all.
  bool Searches() const { return !FTitles.empty() || !FClasses.empty() || !FSide.empty(); }
  // The longest title key of the list: longer window titles cannot match any entry.
  size_t LongestTitle() const { return FLongestTitle; }

private:
  void IndexFrom(size_t first);
  void Unindex(size_t index);

  std::vector<TEntry> FEntries;
  std::unordered_map<std::wstring, std::vector<int>> FTitles, FClasses;
  std::vector<int> FSide;
  std::unordered_map<std::string, int> FTexts; // entry text -> how many entries hold it
  size_t FLongestTitle = 0;
  uint64_t FGeneration = 0;
};
