// TIcon (the icon-file format in and out, system handles, resources, the stored form) and
// TIconList (its operations, change notification and its stored "Icons" form).
#include "Icon.h"
#include "TrayIconList.h"
#include "TrayTestUtil.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace traytest;

namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

TEST(Icon, ReadsAndWritesTheIconFileFormat) {
  const auto file = MakeIconFile(16, 16, 0xFF2080C0);
  TIcon icon;
  int changes = 0;
  icon.OnChange = [&] { ++changes; };
  ASSERT_TRUE(icon.LoadFromBytes(file));
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(icon.Empty());
  EXPECT_EQ(icon.Width(), 16);
  EXPECT_EQ(icon.Height(), 16);
  EXPECT_EQ(icon.SaveToBytes(), file);
  ASSERT_NE(icon.Handle(), nullptr);
  EXPECT_EQ(icon.Handle(), icon.Handle()); // made once
  EXPECT_EQ(IconCentre(icon.Handle(), 16), 0x2080C0u);

  TIcon copy;
  copy.Assign(&icon);
  EXPECT_EQ(copy.SaveToBytes(), file);
  EXPECT_NE(copy.Handle(), icon.Handle());
  copy.Assign(nullptr);
  EXPECT_TRUE(copy.Empty());
  EXPECT_EQ(copy.Handle(), nullptr);
}

TEST(Icon, TheLargestDeepestImageGivesTheSizeAndHandle) {
  // Two images in one file: 16 x 16 red first, 32 x 32 green second.
  const auto small = MakeIconFile(16, 16, 0xFFFF0000);
  const auto large = MakeIconFile(32, 32, 0xFF00FF00);
  std::vector<uint8_t> f;
  Put16(f, 0);
  Put16(f, 1);
  Put16(f, 2);
  const uint32_t smallSize = static_cast<uint32_t>(small.size() - 22);
  const uint32_t largeSize = static_cast<uint32_t>(large.size() - 22);
  f.insert(f.end(), small.begin() + 6, small.begin() + 14);
  Put32(f, smallSize);
  Put32(f, 38);
  f.insert(f.end(), large.begin() + 6, large.begin() + 14);
  Put32(f, largeSize);
  Put32(f, 38 + smallSize);
  f.insert(f.end(), small.begin() + 22, small.end());
  f.insert(f.end(), large.begin() + 22, large.end());
  TIcon icon;
  ASSERT_TRUE(icon.LoadFromBytes(f));
  EXPECT_EQ(icon.Width(), 32);
  EXPECT_EQ(IconCentre(icon.Handle(), 32), 0x00FF00u);
}

TEST(Icon, MalformedFilesLeaveTheIconEmpty) {
  const auto good = MakeIconFile(8, 8, 0xFF000000);
  auto with = [&](size_t at, std::vector<uint8_t> bytes) {
    auto f = good;
    std::copy(bytes.begin(), bytes.end(), f.begin() + static_cast<long>(at));
    return f;
  };
  const std::vector<std::pair<const char*, std::vector<uint8_t>>> bad = {
      {"reserved word set", with(0, {1, 0})},
      {"a cursor file", with(2, {2, 0})},
      {"no images", with(4, {0, 0})},
      {"more entries than the file holds", with(4, {200, 0})},
      {"image size 0", with(14, {0, 0, 0, 0})},
      {"image past the end", with(14, {0xFF, 0xFF, 0, 0})},
      {"image size wraps around", with(14, {0xFF, 0xFF, 0xFF, 0xFF})},
      {"image inside the directory", with(18, {4, 0, 0, 0})},
      {"header larger than the image", with(22, {0xFF, 0, 0, 0})},
      {"width 0", with(26, {0, 0, 0, 0})},
      {"negative height", with(30, {0xF0, 0xFF, 0xFF, 0xFF})},
      {"height beyond the data", with(30, {0, 2, 0, 0})},
      {"odd height", with(30, {15, 0, 0, 0})},
      {"two planes", with(34, {2, 0})},
      {"7 bits per pixel", with(36, {7, 0})},
      {"compressed", with(38, {1, 0, 0, 0})},
      {"palette beyond the data", with(36, {8, 0})},
  };
  for (const auto& [what, bytes] : bad) {
    TIcon icon;
    icon.LoadFromBytes(good);
    EXPECT_FALSE(icon.LoadFromBytes(bytes)) << what;
    EXPECT_TRUE(icon.Empty()) << what;
    EXPECT_EQ(icon.Handle(), nullptr) << what;
    EXPECT_EQ(icon.Width(), 0) << what;
  }
  // Every cut of a good file is refused.
  for (size_t n = 0; n < good.size(); ++n)
    EXPECT_FALSE(TIcon::IsIconFile(good.data(), n)) << n;
  EXPECT_TRUE(TIcon::IsIconFile(good.data(), good.size()));
  EXPECT_FALSE(TIcon::IsIconFile(nullptr, 100));
}

TEST(Icon, FromASystemIconAndBack) {
  // A 24 x 24 icon whose colour image is solid blue with full alpha.
  const int n = 24;
  std::vector<uint32_t> pixels(n * n, 0xFF0000FF);
  HBITMAP colour = CreateBitmap(n, n, 1, 32, pixels.data());
  std::vector<uint8_t> maskBits(static_cast<size_t>(((n + 15) / 16) * 2 * n), 0);
  HBITMAP mask = CreateBitmap(n, n, 1, 1, maskBits.data());
  ICONINFO info{TRUE, 0, 0, mask, colour};
  HICON handle = CreateIconIndirect(&info);
  DeleteObject(colour);
  DeleteObject(mask);
  ASSERT_NE(handle, nullptr);

  TIcon icon;
  icon.SetHandle(handle);
  EXPECT_EQ(icon.Handle(), handle); // owned, not copied
  EXPECT_EQ(icon.Width(), n);
  ASSERT_TRUE(TIcon::IsIconFile(icon.SaveToBytes().data(), icon.SaveToBytes().size()));
  TIcon again;
  ASSERT_TRUE(again.LoadFromBytes(icon.SaveToBytes()));
  EXPECT_EQ(IconCentre(again.Handle(), n), 0x0000FFu);

  // A null handle empties the icon.
  icon.SetHandle(nullptr);
  EXPECT_TRUE(icon.Empty());
}

TEST(Icon, FromAnIconResource) {
  // The program icon is built into this test program as resource TESTICON.
  TIcon icon;
  ASSERT_TRUE(icon.LoadFromResourceName(GetModuleHandleA(nullptr), "TESTICON"));
  EXPECT_EQ(icon.Width(), 48);
  EXPECT_EQ(icon.Height(), 48);
  EXPECT_EQ(icon.SaveToBytes(), ReadFile(TARNEL_ICON_FILE));
  EXPECT_NE(icon.Handle(), nullptr);
  EXPECT_FALSE(icon.LoadFromResourceName(GetModuleHandleA(nullptr), "NOSUCHICON"));
  EXPECT_TRUE(icon.Empty());
}

TEST(Icon, StoredForm) {
  const auto file = MakeIconFile(16, 16, 0xFF808080);
  TIcon icon;
  ASSERT_TRUE(icon.ReadStored(Stored(file)));
  EXPECT_EQ(icon.SaveToBytes(), file);
  EXPECT_EQ(icon.WriteStored(), Stored(file));

  auto negative = Stored(file);
  negative[3] = 0x80;
  EXPECT_FALSE(icon.ReadStored(negative));
  EXPECT_TRUE(icon.Empty());

  auto pastEnd = Stored(file);
  pastEnd.pop_back();
  icon.ReadStored(Stored(file));
  EXPECT_FALSE(icon.ReadStored(pastEnd));
  EXPECT_TRUE(icon.Empty());

  EXPECT_FALSE(icon.ReadStored({1, 0}));
  EXPECT_TRUE(icon.ReadStored({0, 0, 0, 0}));
  EXPECT_TRUE(icon.Empty());
  EXPECT_EQ(icon.WriteStored(), (std::vector<uint8_t>{0, 0, 0, 0}));
}

// ---------------------------------------------------------------------------------------------

struct TIcons {
  TIcon Red, Green, Blue;
  TIcons() {
    Red.LoadFromBytes(MakeIconFile(16, 16, 0xFFFF0000));
    Green.LoadFromBytes(MakeIconFile(16, 16, 0xFF00FF00));
    Blue.LoadFromBytes(MakeIconFile(16, 16, 0xFF0000FF));
  }
};

uint32_t Colour(const TIconList& list, int i) {
  return IconCentre(list.Item(i)->Handle(), 16);
}

TEST(IconList, KeepsCopiesInOrder) {
  TIcons icons;
  TIconList list;
  EXPECT_EQ(list.Add(&icons.Red), 0);
  EXPECT_EQ(list.Add(&icons.Blue), 1);
  list.Insert(1, &icons.Green);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(Colour(list, 0), 0xFF0000u);
  EXPECT_EQ(Colour(list, 1), 0x00FF00u);
  EXPECT_EQ(Colour(list, 2), 0x0000FFu);
  EXPECT_NE(list.Item(0), &icons.Red); // a copy
  EXPECT_EQ(list.IndexOf(list.Item(2)), 2);
  EXPECT_EQ(list.IndexOf(&icons.Blue), -1);

  list.Exchange(0, 2);
  EXPECT_EQ(Colour(list, 0), 0x0000FFu);
  EXPECT_EQ(Colour(list, 2), 0xFF0000u);
  list.Move(0, 2); // blue to the end
  EXPECT_EQ(Colour(list, 0), 0x00FF00u);
  EXPECT_EQ(Colour(list, 1), 0xFF0000u);
  EXPECT_EQ(Colour(list, 2), 0x0000FFu);

  list.SetItem(1, &icons.Blue);
  EXPECT_EQ(Colour(list, 1), 0x0000FFu);
  list.SetItem(3, &icons.Green); // index = count appends
  EXPECT_EQ(list.Count(), 4);
  list.SetItem(0, nullptr); // an empty entry
  EXPECT_TRUE(list.Item(0)->Empty());
  list.Delete(0);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(Colour(list, 0), 0x0000FFu);

  TIconList other;
  other.Assign(&list);
  EXPECT_EQ(other.Count(), 3);
  EXPECT_EQ(other.WriteStored(), list.WriteStored());
  other.Assign(&icons.Red);
  EXPECT_EQ(other.Count(), 1);
  EXPECT_EQ(Colour(other, 0), 0xFF0000u);
  // One of the list's own icons: copied before the list lets go of it.
  const auto green = list.Item(2)->SaveToBytes();
  list.Assign(list.Item(2));
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Item(0)->SaveToBytes(), green);
  other.Clear();
  EXPECT_EQ(other.Count(), 0);

  list.AddResource(GetModuleHandleA(nullptr), "TESTICON");
  EXPECT_EQ(list.Item(1)->Width(), 48);
  list.InsertResource(0, GetModuleHandleA(nullptr), "NOSUCHICON");
  EXPECT_TRUE(list.Item(0)->Empty());
}

TEST(IconList, IndexesOutsideTheListRaise) {
  TIcons icons;
  TIconList list;
  list.Add(&icons.Red);
  EXPECT_THROW(list.Item(1), EListError);
  EXPECT_THROW(list.Item(-1), EListError);
  EXPECT_THROW(list.SetItem(2, &icons.Red), EListError);
  EXPECT_THROW(list.Insert(2, &icons.Red), EListError);
  EXPECT_THROW(list.Delete(1), EListError);
  EXPECT_THROW(list.Exchange(0, 1), EListError);
  EXPECT_THROW(list.Move(-1, 0), EListError);
  EXPECT_EQ(list.Count(), 1);
}

TEST(IconList, ChangesAreReportedOnceOutsideUpdates) {
  TIcons icons;
  TIconList list;
  int changes = 0;
  list.OnChange = [&] { ++changes; };
  list.Add(&icons.Red);
  EXPECT_EQ(changes, 1);
  list.Add(&icons.Green);
  list.Exchange(0, 1);
  list.Move(0, 1);
  list.Delete(1);
  EXPECT_EQ(changes, 5);
  // A change of an entry's own icon is a change of the list.
  list.Item(0)->LoadFromBytes(MakeIconFile(8, 8, 0xFF123456));
  EXPECT_EQ(changes, 6);

  changes = 0;
  list.BeginUpdate();
  list.BeginUpdate();
  list.Add(&icons.Blue);
  list.Clear();
  list.EndUpdate();
  EXPECT_EQ(changes, 0);
  list.EndUpdate();
  EXPECT_EQ(changes, 1);
  list.EndUpdate(); // unbalanced: nothing happens
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(list.UpdateCount(), 0);

  changes = 0;
  TIconList other;
  other.Add(&icons.Red);
  other.Add(&icons.Blue);
  list.Assign(&other);
  EXPECT_EQ(changes, 1);
}

TEST(IconList, StoredForm) {
  TIcons icons;
  TIconList list;
  EXPECT_EQ(list.WriteStored(), (std::vector<uint8_t>{0, 0, 0, 0}));
  list.Add(&icons.Red);
  list.Add(nullptr);
  list.Add(&icons.Blue);
  const auto stored = list.WriteStored();
  std::vector<uint8_t> expected;
  Put32(expected, 3);
  for (const auto* bytes :
       {&icons.Red.SaveToBytes(), &list.Item(1)->SaveToBytes(), &icons.Blue.SaveToBytes()}) {
    Put32(expected, static_cast<uint32_t>(bytes->size()));
    expected.insert(expected.end(), bytes->begin(), bytes->end());
  }
  EXPECT_EQ(stored, expected);

  TIconList back;
  int changes = 0;
  back.OnChange = [&] { ++changes; };
  ASSERT_TRUE(back.ReadStored(stored));
  EXPECT_EQ(changes, 1);
  ASSERT_EQ(back.Count(), 3);
  EXPECT_TRUE(back.Item(1)->Empty());
  EXPECT_EQ(Colour(back, 2), 0x0000FFu);
  EXPECT_EQ(back.WriteStored(), stored);

  // An entry that is not an icon file reads as an empty entry.
  std::vector<uint8_t> junk;
  Put32(junk, 2);
  Put32(junk, 3);
  junk.insert(junk.end(), {1, 2, 3});
  Put32(junk, 0);
  ASSERT_TRUE(back.ReadStored(junk));
  EXPECT_EQ(back.Count(), 2);
  EXPECT_TRUE(back.Item(0)->Empty());
}

TEST(IconList, DamagedStoredFormsReadAsAnEmptyList) {
  TIcons icons;
  TIconList list;
  list.Add(&icons.Red);
  list.Add(&icons.Green);
  const auto good = list.WriteStored();
  const uint32_t firstSize = static_cast<uint32_t>(icons.Red.SaveToBytes().size());

  auto setAt = [&](size_t at, uint32_t v) {
    auto s = good;
    for (int i = 0; i < 4; ++i)
      s[at + i] = static_cast<uint8_t>(v >> (8 * i));
    return s;
  };
  const std::vector<std::pair<const char*, std::vector<uint8_t>>> bad = {
      {"negative count", setAt(0, 0xFFFFFFFF)},
      {"count past the end", setAt(0, 3)},
      {"huge count", setAt(0, 0x7FFFFFFF)},
      {"negative size", setAt(4, 0x80000000)},
      {"size past the end", setAt(4, static_cast<uint32_t>(good.size()))},
      {"second size past the end", setAt(8 + firstSize, 0x7FFFFFFF)},
      {"cut short", std::vector<uint8_t>(good.begin(), good.end() - 1)},
      {"no count", {1, 0}},
      {"nothing", {}},
  };
  for (const auto& [what, bytes] : bad) {
    TIconList back;
    back.Add(&icons.Blue);
    EXPECT_FALSE(back.ReadStored(bytes)) << what;
    EXPECT_EQ(back.Count(), 0) << what;
  }
}

} // namespace
