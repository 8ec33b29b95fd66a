// TIconList: an ordered list of owned icons (the frames of an animated notification icon), with
// change notification and the stored form of the "Icons" property.
#pragma once
#include "Icon.h"

#include <memory>
#include <vector>

// An index outside a list.
class EListError : public Exception {
public:
  using Exception::Exception;
};

class TIconList : public TObject {
  TK_DECLARE_CLASS(TIconList)
public:
  TIconList() = default;
  ~TIconList() override;
  TIconList(const TIconList&) = delete;
  TIconList& operator=(const TIconList&) = delete;

  int Count() const { return static_cast<int>(FItems.size()); }
  // The icon at index (owned by the list; it may be empty). Raises EListError out of range.
  TIcon* Item(int index) const;
  // Copies icon into the entry at index; index = Count appends. A null icon makes the entry
  // empty.
  void SetItem(int index, const TIcon* icon);
  // Appends a copy of icon; returns its index.
  int Add(const TIcon* icon);
  // Appends an icon resource of a module (empty when the resource cannot be read).
  int AddResource(HINSTANCE instance, const char* name);
  void Insert(int index, const TIcon* icon);
  void InsertResource(int index, HINSTANCE instance, const char* name);
  void Delete(int index);
  // Deletes every entry, from the last to the first.
  void Clear();
  void Exchange(int index1, int index2);
  void Move(int from, int to);
  // The index of an icon of this list (by identity), -1 when it is none of them.
  int IndexOf(const TIcon* icon) const;
  // From another list: a copy of every icon. From a single icon: the list becomes that icon.
  void Assign(const TIconList* source);
  void Assign(const TIcon* source);

  // Changes inside an update run the change callback once, when the outermost update ends.
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }
  std::function<void()> OnChange;

  // The stored form: a signed 32-bit count, then for each entry a signed 32-bit size and that
  // many bytes of an icon file (size 0: an empty entry). A negative count or size, or a size
  // that runs past the end, reads as an empty list (false); an entry whose bytes are not an
  // icon file reads as an empty entry.
  bool ReadStored(const std::vector<uint8_t>& stored);
  std::vector<uint8_t> WriteStored() const;

private:
  void Changed();
  void CheckIndex(int index, int limit) const;
  std::unique_ptr<TIcon> NewIcon();
  std::vector<std::unique_ptr<TIcon>> FItems;
  int FUpdateCount = 0;
};
