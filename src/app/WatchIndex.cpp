#include "WatchIndex.h"
#include "WatchListFile.h"

#include <algorithm>

std::wstring WindowKey(std::wstring text) {
  if (!text.empty()) CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

std::wstring WindowKey(std::string_view ansi) {
  const int size = static_cast<int>(ansi.size());
  const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(std::max(n, 0)), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, wide.data(), n);
  return WindowKey(std::move(wide));
}

void TWatchIndex::Assign(const std::vector<std::string>& entries) {
  FEntries.clear();
  FEntries.reserve(entries.size());
  for (const std::string& text : entries) {
    TEntry e;
    e.Text = text;
    FEntries.push_back(std::move(e));
  }
  FTitles.clear();
  FClasses.clear();
  FSide.clear();
  FTexts.clear();
  FLongestTitle = 0;
  IndexFrom(0);
}

void TWatchIndex::Add(const std::string& text) {
  TEntry e;
  e.Text = text;
  FEntries.push_back(std::move(e));
  IndexFrom(FEntries.size() - 1);
}

void TWatchIndex::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  Unindex(static_cast<size_t>(index));
  FEntries.erase(FEntries.begin() + index);
  // The entries after it move up one place.
  for (auto* map : {&FTitles, &FClasses})
    for (auto& [key, ids] : *map)
      for (int& id : ids)
        if (id > index) --id;
  for (int& id : FSide)
    if (id > index) --id;
  ++FGeneration;
}

std::vector<std::string> TWatchIndex::Texts() const {
  std::vector<std::string> texts;
  texts.reserve(FEntries.size());
  for (const TEntry& e : FEntries)
    texts.push_back(e.Text);
  return texts;
}

int TWatchIndex::Occurrences(const std::string& text) const {
  auto it = FTexts.find(text);
  return it == FTexts.end() ? 0 : it->second;
}

const std::vector<int>* TWatchIndex::Lookup(TLookupKind kind, const std::wstring& key) const {
  const auto& map = kind == lkTitle ? FTitles : FClasses;
  auto it = map.find(key);
  return it == map.end() ? nullptr : &it->second;
}

void TWatchIndex::IndexFrom(size_t first) {
  for (size_t i = first; i < FEntries.size(); ++i) {
    TEntry& e = FEntries[i];
    ++FTexts[e.Text];
    if (!WatchListFile::IsLookedUp(e.Text)) continue;
    const int id = static_cast<int>(i);
    switch (WatchListFile::KindOf(e.Text)) {
    case WatchListFile::ekTitle:
      e.Kind = lkTitle;
      e.Key = WindowKey(std::string_view(e.Text));
      FTitles[e.Key].push_back(id);
      FLongestTitle = std::max(FLongestTitle, e.Key.size());
      break;
    case WatchListFile::ekClass:
      e.Kind = lkClass;
      e.Key = WindowKey(WatchListFile::ClassNameOf(e.Text));
      FClasses[e.Key].push_back(id);
      break;
    case WatchListFile::ekPattern:
      e.Kind = lkPattern;
      e.Key = WindowKey(WatchListFile::PatternOf(e.Text));
      FSide.push_back(id);
      break;
    case WatchListFile::ekProgram: {
      const WatchListFile::TProgramParts parts = WatchListFile::ProgramOf(e.Text);
      e.Kind = lkProgram;
      e.Key = WindowKey(parts.File);
      e.Narrowed = parts.Narrowed;
      e.Pattern = WindowKey(parts.Pattern);
      FSide.push_back(id);
      break;
    }
    }
  }
  ++FGeneration;
}

void TWatchIndex::Unindex(size_t index) {
  const TEntry& e = FEntries[index];
  if (auto it = FTexts.find(e.Text); it != FTexts.end() && --it->second == 0) FTexts.erase(it);
  if (e.Kind == lkNone) return;
  if (e.Kind == lkPattern || e.Kind == lkProgram) {
    std::erase(FSide, static_cast<int>(index));
    return;
  }
  auto& map = e.Kind == lkTitle ? FTitles : FClasses;
  auto it = map.find(e.Key);
  if (it == map.end()) return;
  std::erase(it->second, static_cast<int>(index));
  if (it->second.empty()) map.erase(it);
  // The longest title may have gone: a longer bound only costs a longer read.
}
