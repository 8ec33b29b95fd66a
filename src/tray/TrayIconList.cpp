#include "TrayIconList.h"

const TClassInfo& TIconList::StaticClassInfo() {
  static const TClassInfo info{"TIconList", &TObject::StaticClassInfo(), nullptr, {}};
  return info;
}

TIconList::~TIconList() {
  OnChange = nullptr;
  for (auto& icon : FItems)
    icon->OnChange = nullptr;
}

std::unique_ptr<TIcon> TIconList::NewIcon() {
  auto icon = std::make_unique<TIcon>();
  icon->OnChange = [this] { Changed(); };
  return icon;
}

void TIconList::Changed() {
  if (FUpdateCount == 0 && OnChange) OnChange();
}

void TIconList::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0) Changed();
}

void TIconList::CheckIndex(int index, int limit) const {
  if (index < 0 || index > limit)
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

TIcon* TIconList::Item(int index) const {
  CheckIndex(index, Count() - 1);
  return FItems[static_cast<size_t>(index)].get();
}

void TIconList::SetItem(int index, const TIcon* icon) {
  CheckIndex(index, Count());
  if (index == Count()) {
    Insert(index, icon);
    return;
  }
  // Assign notifies through the entry's own change callback.
  FItems[static_cast<size_t>(index)]->Assign(icon);
}

int TIconList::Add(const TIcon* icon) {
  Insert(Count(), icon);
  return Count() - 1;
}

int TIconList::AddResource(HINSTANCE instance, const char* name) {
  InsertResource(Count(), instance, name);
  return Count() - 1;
}

void TIconList::Insert(int index, const TIcon* icon) {
  CheckIndex(index, Count());
  auto entry = NewIcon();
  BeginUpdate();
  entry->Assign(icon);
  FItems.insert(FItems.begin() + index, std::move(entry));
  EndUpdate();
}

void TIconList::InsertResource(int index, HINSTANCE instance, const char* name) {
  CheckIndex(index, Count());
  auto entry = NewIcon();
  BeginUpdate();
  entry->LoadFromResourceName(instance, name);
  FItems.insert(FItems.begin() + index, std::move(entry));
  EndUpdate();
}

void TIconList::Delete(int index) {
  CheckIndex(index, Count() - 1);
  auto it = FItems.begin() + index;
  (*it)->OnChange = nullptr;
  FItems.erase(it);
  Changed();
}

void TIconList::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  while (!FItems.empty())
    Delete(Count() - 1);
  EndUpdate();
}

void TIconList::Exchange(int index1, int index2) {
  CheckIndex(index1, Count() - 1);
  CheckIndex(index2, Count() - 1);
  std::swap(FItems[static_cast<size_t>(index1)], FItems[static_cast<size_t>(index2)]);
  Changed();
}

void TIconList::Move(int from, int to) {
  CheckIndex(from, Count() - 1);
  CheckIndex(to, Count() - 1);
  if (from == to) return;
  auto icon = std::move(FItems[static_cast<size_t>(from)]);
  FItems.erase(FItems.begin() + from);
  FItems.insert(FItems.begin() + to, std::move(icon));
  Changed();
}

int TIconList::IndexOf(const TIcon* icon) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i].get() == icon) return static_cast<int>(i);
  return -1;
}

void TIconList::Assign(const TIconList* source) {
  if (source == this) return;
  BeginUpdate();
  Clear();
  if (source)
    for (const auto& icon : source->FItems)
      Add(icon.get());
  EndUpdate();
}

void TIconList::Assign(const TIcon* source) {
  BeginUpdate();
  // Copied before the list lets go of its entries: the source may be one of them.
  std::unique_ptr<TIcon> entry;
  if (source) {
    entry = NewIcon();
    entry->Assign(source);
  }
  Clear();
  if (entry) FItems.push_back(std::move(entry));
  EndUpdate();
}

namespace {
bool Read32(const std::vector<uint8_t>& data, size_t& pos, int32_t& value) {
  if (pos > data.size() || data.size() - pos < 4) return false;
  value = static_cast<int32_t>(uint32_t(data[pos]) | (uint32_t(data[pos + 1]) << 8) |
                               (uint32_t(data[pos + 2]) << 16) | (uint32_t(data[pos + 3]) << 24));
  pos += 4;
  return true;
}
void Write32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8)
    out.push_back(static_cast<uint8_t>(v >> shift));
}
} // namespace

bool TIconList::ReadStored(const std::vector<uint8_t>& stored) {
  // The whole form is checked before the list changes: a damaged one gives an empty list.
  std::vector<std::pair<size_t, size_t>> entries; // offset and size of each icon file
  size_t pos = 0;
  int32_t count = 0;
  bool ok = Read32(stored, pos, count) && count >= 0 &&
            // each entry takes at least its 4-byte size
            static_cast<uint64_t>(count) <= (stored.size() - pos) / 4;
  for (int32_t i = 0; ok && i < count; ++i) {
    int32_t size = 0;
    ok = Read32(stored, pos, size) && size >= 0 &&
         static_cast<uint64_t>(size) <= stored.size() - pos;
    if (ok) {
      entries.emplace_back(pos, static_cast<size_t>(size));
      pos += static_cast<size_t>(size);
    }
  }
  BeginUpdate();
  Clear();
  if (ok) {
    for (const auto& [offset, size] : entries) {
      auto icon = NewIcon();
      if (size > 0) icon->LoadFromBytes(stored.data() + offset, size);
      FItems.push_back(std::move(icon));
    }
  }
  EndUpdate();
  return ok;
}

std::vector<uint8_t> TIconList::WriteStored() const {
  std::vector<uint8_t> out;
  Write32(out, static_cast<uint32_t>(FItems.size()));
  for (const auto& icon : FItems) {
    const auto& bytes = icon->SaveToBytes();
    Write32(out, static_cast<uint32_t>(bytes.size()));
    out.insert(out.end(), bytes.begin(), bytes.end());
  }
  return out;
}
