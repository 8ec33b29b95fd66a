#include "SkinArchiveWriter.h"
#include "SkinLzhEncoder.h"
#include "SkinReader.h"
#include "SkinTestData.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Bytes = std::vector<uint8_t>;

void PutInt32(Bytes& out, int64_t v) {
  for (int i = 0; i < 4; ++i)
    out.push_back(uint8_t(uint64_t(v) >> (8 * i)));
}

// An archive laid out by hand: header (format, name block length, 8 filler bytes), reserved
// block, name block, size table, data. Filler and reserved bytes are 0xA5: readers ignore them.
Bytes HandArchive(uint32_t format, std::size_t reserved, const std::string& names,
                  const std::vector<int64_t>& sizes, const Bytes& data, int64_t nameLength = -1) {
  Bytes a;
  PutInt32(a, format);
  PutInt32(a, nameLength >= 0 ? nameLength : int64_t(names.size()));
  a.insert(a.end(), 8 + reserved, 0xA5);
  a.insert(a.end(), names.begin(), names.end());
  for (int64_t s : sizes)
    PutInt32(a, s);
  a.insert(a.end(), data.begin(), data.end());
  return a;
}

// The stored skin: expanded size, then the compressed archive.
Bytes Store(const Bytes& archive, int64_t claimedSize = -1) {
  Bytes s;
  PutInt32(s, claimedSize >= 0 ? claimedSize : int64_t(archive.size()));
  const Bytes stream = TLZHEncoder().Encode(archive);
  s.insert(s.end(), stream.begin(), stream.end());
  return s;
}

Bytes B(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

std::vector<std::string> g_notices;
void Record(const std::string& message) {
  g_notices.push_back(message);
}

class SkinReaderTest : public ::testing::Test {
protected:
  void SetUp() override {
    g_notices.clear();
    previous_ = SetSkinNotifier(&Record);
  }
  void TearDown() override { SetSkinNotifier(previous_); }

  // Opening must fail without a notice and leave nothing to extract.
  void ExpectRefused(const Bytes& stored) {
    TSkinReader reader;
    EXPECT_FALSE(reader.OpenArchive(stored));
    EXPECT_EQ(reader.EntryCount(), 0);
    EXPECT_FALSE(reader.LastError().empty());
    EXPECT_TRUE(g_notices.empty());
    Bytes out = {1};
    std::string name = "kept";
    EXPECT_FALSE(reader.ExtractEntryLike("", out, name));
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(name, "kept");
  }

  TSkinNotifier previous_ = nullptr;
};

TEST_F(SkinReaderTest, ReadsAllSixFormats) {
  const std::pair<uint32_t, std::size_t> formats[] = {{20000, 0},  {30000, 256}, {40000, 80},
                                                      {50000, 48}, {60000, 117}, {70000, 69}};
  for (const auto& [format, reserved] : formats) {
    SCOPED_TRACE(format);
    EXPECT_EQ(TSkinReader::ReservedLength(format), int(reserved));
    Bytes payload = B("BMxyzBM12");
    const std::string ini = "[Buttons]\r\nImage=Buttons.bmp\r\n";
    payload.insert(payload.end(), ini.begin(), ini.end());
    const Bytes archive =
        HandArchive(format, reserved, "Buttons.BMP\r\nCheckBox.bmp\r\nSkin.INI\r\n",
                    {5, 4, int64_t(ini.size())}, payload);
    TSkinReader reader;
    ASSERT_TRUE(reader.OpenArchive(Store(archive))) << reader.LastError();
    EXPECT_EQ(reader.Format(), format);
    EXPECT_EQ(reader.ExpandedSize(), archive.size());
    ASSERT_EQ(reader.EntryCount(), 3);
    EXPECT_EQ(reader.EntryName(0), "buttons.bmp");
    EXPECT_EQ(reader.EntryName(1), "checkbox.bmp");
    EXPECT_EQ(reader.EntryName(2), "skin.ini");
    Bytes out;
    EXPECT_TRUE(reader.ExtractEntry("buttons.bmp", out));
    EXPECT_EQ(out, B("BMxyz"));
    EXPECT_TRUE(reader.ExtractEntry("CHECKBOX.BMP", out));
    EXPECT_EQ(out, B("BM12"));
    std::string name;
    EXPECT_TRUE(reader.ExtractEntryLike(".ini", out, name));
    EXPECT_EQ(name, "skin.ini");
    EXPECT_EQ(out, B(ini));
  }
  EXPECT_TRUE(g_notices.empty());
}

TEST_F(SkinReaderTest, UnknownFormatTellsTheUser) {
  for (uint32_t format : {10000u, 0u, 70001u}) {
    g_notices.clear();
    TSkinReader reader;
    EXPECT_FALSE(reader.OpenArchive(Store(HandArchive(format, 0, "a.bmp\r\n", {2}, B("BM")))));
    EXPECT_EQ(reader.EntryCount(), 0);
    EXPECT_EQ(reader.Format(), format);
    ASSERT_EQ(g_notices.size(), 1u);
    EXPECT_EQ(g_notices[0], "This is Older Skin File\rPlease update to new version !");
  }
  // An empty archive has no format number at all.
  g_notices.clear();
  TSkinReader reader;
  EXPECT_FALSE(reader.OpenArchive(Store({})));
  EXPECT_EQ(g_notices.size(), 1u);
}

TEST_F(SkinReaderTest, NameBlockLines) {
  // CR LF, lone CR, lone LF; an empty line is an (empty) name; the last line needs no break.
  const Bytes archive =
      HandArchive(20000, 0, "A.bmp\r\nb.bmp\rc.bmp\n\r\nD.ini", {1, 1, 1, 0, 1}, B("abcde"));
  TSkinReader reader;
  ASSERT_TRUE(reader.OpenArchive(Store(archive))) << reader.LastError();
  ASSERT_EQ(reader.EntryCount(), 5);
  EXPECT_EQ(reader.EntryName(0), "a.bmp");
  EXPECT_EQ(reader.EntryName(1), "b.bmp");
  EXPECT_EQ(reader.EntryName(2), "c.bmp");
  EXPECT_EQ(reader.EntryName(3), "");
  EXPECT_EQ(reader.EntryName(4), "d.ini");
  Bytes out;
  reader.ExtractEntry("d.ini", out);
  EXPECT_EQ(out, B("d")); // the empty entry takes no bytes

  // A final line break adds no entry; a name block of only a break has one empty name.
  ASSERT_TRUE(reader.OpenArchive(Store(HandArchive(20000, 0, "x\r\n", {1}, B("q")))));
  EXPECT_EQ(reader.EntryCount(), 1);
  ASSERT_TRUE(reader.OpenArchive(Store(HandArchive(20000, 0, "", {}, {}))));
  EXPECT_EQ(reader.EntryCount(), 0);
}

TEST_F(SkinReaderTest, ExtractEntryCases) {
  const Bytes archive =
      HandArchive(70000, 69, "a.ini.bmp\r\nbuttons.bmp\r\nskin.ini\r\nbuttons.bmp\r\n",
                  {3, 2, 4, 1}, B("BM1BMtextZ"));
  TSkinReader reader;
  ASSERT_TRUE(reader.OpenArchive(Store(archive)));
  Bytes out = B("old");
  EXPECT_TRUE(reader.ExtractEntry("Buttons.BMP", out));
  EXPECT_EQ(out, B("BM")); // the first of two equal names
  EXPECT_FALSE(reader.ExtractEntry("missing.bmp", out));
  EXPECT_TRUE(out.empty());
  EXPECT_FALSE(reader.ExtractEntry("buttons", out)); // whole names only

  std::string name = "unchanged";
  EXPECT_TRUE(reader.ExtractEntryLike(".ini", out, name));
  EXPECT_EQ(name, "a.ini.bmp"); // first entry containing the text
  EXPECT_EQ(out, B("BM1"));
  name = "unchanged";
  EXPECT_FALSE(reader.ExtractEntryLike(".INI", out, name)); // the text is taken as given
  EXPECT_EQ(name, "unchanged");
  EXPECT_TRUE(out.empty());
  EXPECT_TRUE(reader.ExtractEntryLike("skin", out, name));
  EXPECT_EQ(out, B("text"));

  // The same lookups by index, without a copy.
  EXPECT_EQ(reader.FindEntry("BUTTONS.bmp"), 1);
  EXPECT_EQ(reader.FindEntry("buttons"), -1);
  EXPECT_EQ(reader.FindEntryLike(".ini"), 0);
  EXPECT_EQ(reader.FindEntryLike(".INI"), -1);
  EXPECT_EQ(reader.FindEntryLike("skin"), 2);
  const auto text = reader.EntryData(reader.FindEntryLike("skin"));
  EXPECT_EQ(Bytes(text.begin(), text.end()), B("text"));
}

TEST_F(SkinReaderTest, OpeningAgainReplacesEverything) {
  // One reader opens a large archive, a small one, a damaged one and the small one again:
  // each time it shows that archive's entries alone.
  const Bytes big = skintest::ImageLike(300000, 5);
  TSkinReader reader;
  ASSERT_TRUE(reader.OpenArchive(BuildStoredSkin(BuildSkinArchive({{"big.bmp", big}}))));
  const Bytes small = Store(HandArchive(20000, 0, "a.bmp\r\nb.ini\r\n", {2, 3}, B("BMini")));
  ASSERT_TRUE(reader.OpenArchive(small));
  ASSERT_EQ(reader.EntryCount(), 2);
  EXPECT_EQ(reader.FindEntry("big.bmp"), -1);
  EXPECT_EQ(reader.ExpandedSize(), 16u + 14 + 8 + 5);
  const auto ini = reader.EntryData(1);
  EXPECT_EQ(Bytes(ini.begin(), ini.end()), B("ini"));
  EXPECT_FALSE(reader.OpenArchive(Store(HandArchive(20000, 0, "a.bmp\r\n", {9}, B("BM")))));
  EXPECT_EQ(reader.EntryCount(), 0);
  EXPECT_EQ(reader.FindEntry("a.bmp"), -1);
  ASSERT_TRUE(reader.OpenArchive(small));
  const auto bmp = reader.EntryData(reader.FindEntry("A.BMP"));
  EXPECT_EQ(Bytes(bmp.begin(), bmp.end()), B("BM"));
}

TEST_F(SkinReaderTest, EntriesEndExactlyAtTheArchiveEnd) {
  std::vector<TSkinArchiveEntry> entries;
  for (int i = 0; i < 36; ++i)
    entries.push_back({"image" + std::to_string(i) + ".bmp",
                       skintest::ImageLike(100 + std::size_t(i) * 97, uint64_t(i))});
  const std::string ini = skintest::TextLike(3000, 99);
  entries.push_back({"skin.ini", B(ini)});
  const Bytes archive = BuildSkinArchive(entries);
  TSkinReader reader;
  ASSERT_TRUE(reader.OpenArchive(BuildStoredSkin(archive)));
  ASSERT_EQ(reader.EntryCount(), 37);
  std::size_t total = 0;
  for (int i = 0; i < reader.EntryCount(); ++i) {
    total += std::size_t(reader.EntrySize(i));
    const auto data = reader.EntryData(i);
    EXPECT_TRUE(Bytes(data.begin(), data.end()) == entries[std::size_t(i)].Data) << i;
  }
  std::size_t nameBlock = 0;
  for (const TSkinArchiveEntry& e : entries)
    nameBlock += e.Name.size() + 2;
  EXPECT_EQ(reader.ExpandedSize(), archive.size());
  EXPECT_EQ(16 + 69 + nameBlock + 4 * entries.size() + total, archive.size());
  // The writer's layout: format 70000, 69 zero bytes, CR LF names.
  EXPECT_EQ(Bytes(archive.begin(), archive.begin() + 4), (Bytes{0x70, 0x11, 0x01, 0x00}));
  EXPECT_EQ(Bytes(archive.begin() + 8, archive.begin() + 85), Bytes(77, 0));
  EXPECT_EQ(std::string(archive.begin() + 85, archive.begin() + 85 + 12), "image0.bmp\r\n");
}

TEST_F(SkinReaderTest, ImageEntryNameRule) {
  EXPECT_EQ(SkinImageEntryName("Buttons.bmp"), "Buttons.bmp");
  EXPECT_EQ(SkinImageEntryName("c:\\skins\\old\\tab.bmp"), "tab.bmp");
  EXPECT_EQ(SkinImageEntryName("d:tab.bmp"), "tab.bmp");
  EXPECT_EQ(SkinImageEntryName("a.b.bmp"), "a.b.bmp");
  EXPECT_EQ(SkinImageEntryName("Buttons.BMP"), std::nullopt);
  EXPECT_EQ(SkinImageEntryName("Buttons.bmp.txt"), std::nullopt);
  EXPECT_EQ(SkinImageEntryName("Buttons"), std::nullopt);
  EXPECT_EQ(SkinImageEntryName(""), std::nullopt);
  EXPECT_EQ(SkinImageEntryName("skins\\"), std::nullopt);
  EXPECT_EQ(SkinImageEntryName("c:"), std::nullopt);
  // A double-byte character whose trail byte is 0x5C is not a folder separator.
  EXPECT_EQ(SkinImageEntryName("skins\\\x81\x5C.bmp"), "\x81\x5C.bmp");
  EXPECT_EQ(SkinImageEntryName("\xB1\x5Cx.bmp"), "\xB1\x5Cx.bmp");
  EXPECT_EQ(SkinImageEntryName("\xB1\x5C\\x.bmp"), "x.bmp");
  EXPECT_EQ(SkinImageEntryName("skins\\\xB1\x5C"), std::nullopt);
  // A lead byte at the very end has no trail: the byte before it still counts.
  EXPECT_EQ(SkinImageEntryName("a\\b.bmp\x81"), std::nullopt);

  // The name found opens the entry; a GBK name survives the reader's lower-casing.
  const Bytes archive =
      HandArchive(70000, 69, "\x81\x5C.bmp\r\nButtons.bmp\r\n", {2, 3}, B("BMBM!"));
  TSkinReader reader;
  ASSERT_TRUE(reader.OpenArchive(Store(archive)));
  Bytes out;
  EXPECT_TRUE(reader.ExtractEntry(*SkinImageEntryName("x:\\\x81\x5C.bmp"), out));
  EXPECT_EQ(out, B("BM"));
  EXPECT_TRUE(reader.ExtractEntry(*SkinImageEntryName("Buttons.bmp"), out));
  EXPECT_EQ(out, B("BM!"));
}

TEST_F(SkinReaderTest, HostileArchivesAreRefused) {
  const std::string names = "a.bmp\r\nb.ini\r\n";
  const Bytes data = B("BMxx[x]");
  // Sanity: the untouched archive opens.
  {
    TSkinReader reader;
    ASSERT_TRUE(reader.OpenArchive(Store(HandArchive(70000, 69, names, {4, 3}, data))));
  }
  {
    SCOPED_TRACE("negative entry size");
    ExpectRefused(Store(HandArchive(70000, 69, names, {-4, 11}, data)));
  }
  {
    SCOPED_TRACE("entry larger than the data");
    ExpectRefused(Store(HandArchive(70000, 69, names, {4, 4}, data)));
    ExpectRefused(Store(HandArchive(70000, 69, names, {0x7FFFFFFF, 3}, data)));
  }
  {
    SCOPED_TRACE("sizes that overflow when added");
    ExpectRefused(Store(HandArchive(70000, 69, names, {0x7FFFFFFF, 0x7FFFFFFF}, data)));
  }
  {
    SCOPED_TRACE("size table past the end");
    ExpectRefused(Store(HandArchive(70000, 69, names, {4}, {})));
  }
  {
    SCOPED_TRACE("name block longer than the archive");
    ExpectRefused(Store(HandArchive(70000, 69, names, {4, 3}, data, 100000)));
    ExpectRefused(Store(HandArchive(70000, 69, names, {4, 3}, data, 0x7FFFFFFF)));
  }
  {
    SCOPED_TRACE("negative name block length");
    ExpectRefused(Store(HandArchive(70000, 69, names, {4, 3}, data, 0x80000000ll)));
  }
  {
    SCOPED_TRACE("reserved block past the end");
    Bytes shortArchive = HandArchive(30000, 0, "", {}, {});
    ExpectRefused(Store(shortArchive));
  }
  {
    SCOPED_TRACE("header cut short");
    ExpectRefused(Store(Bytes{0x70, 0x11, 0x01, 0x00, 0, 0}));
  }
  {
    SCOPED_TRACE("stored skin without a size field");
    ExpectRefused(Bytes{1, 2, 3});
    ExpectRefused({});
  }
  {
    SCOPED_TRACE("negative or absurd expanded size");
    const Bytes archive = HandArchive(70000, 69, names, {4, 3}, data);
    ExpectRefused(Store(archive, 0x80000000ll));
    ExpectRefused(Store(archive, 0x7FFFFFFF));
    TSkinReader reader;
    reader.SetExpandedLimit(archive.size() - 1);
    EXPECT_FALSE(reader.OpenArchive(Store(archive)));
    reader.SetExpandedLimit(archive.size());
    EXPECT_TRUE(reader.OpenArchive(Store(archive)));
  }
}

TEST_F(SkinReaderTest, EntryCountIsBounded) {
  std::string names;
  for (int i = 0; i < TSkinReader::MaxEntries; ++i)
    names += "e" + std::to_string(i) + "\r\n";
  std::vector<int64_t> sizes(TSkinReader::MaxEntries, 1);
  Bytes data(TSkinReader::MaxEntries, 'z');
  TSkinReader reader;
  ASSERT_TRUE(reader.OpenArchive(Store(HandArchive(70000, 69, names, sizes, data))));
  EXPECT_EQ(reader.EntryCount(), TSkinReader::MaxEntries);
  Bytes out;
  EXPECT_TRUE(reader.ExtractEntry("e1000", out));
  EXPECT_EQ(out, B("z"));

  names += "one.more\r\n";
  sizes.push_back(1);
  data.push_back('z');
  ExpectRefused(Store(HandArchive(70000, 69, names, sizes, data)));
  // Many more lines than that, with no room for their sizes.
  ExpectRefused(Store(HandArchive(70000, 69, std::string(50000, '\n'), {}, {})));
}

TEST_F(SkinReaderTest, ReopeningReplacesEverything) {
  TSkinReader reader;
  ASSERT_TRUE(reader.OpenArchive(Store(HandArchive(20000, 0, "a.bmp\r\n", {2}, B("BM")))));
  EXPECT_FALSE(reader.OpenArchive(Store(HandArchive(20000, 0, "a.bmp\r\n", {3}, B("BM")))));
  Bytes out;
  EXPECT_FALSE(reader.ExtractEntry("a.bmp", out));
  ASSERT_TRUE(reader.OpenArchive(Store(HandArchive(20000, 0, "c.bmp\r\n", {2}, B("BM")))));
  EXPECT_TRUE(reader.LastError().empty());
  EXPECT_EQ(reader.EntryCount(), 1);
}

TEST_F(SkinReaderTest, CutOrCorruptedStreamsNeverReadOutOfBounds) {
  std::vector<TSkinArchiveEntry> entries = {{"a.bmp", skintest::ImageLike(3000, 1)},
                                            {"b.ini", B(skintest::TextLike(2000, 2))}};
  const Bytes stored = BuildStoredSkin(BuildSkinArchive(entries));
  skintest::Random rnd(3);
  for (int round = 0; round < 200; ++round) {
    Bytes bad = stored;
    if (round % 2)
      bad.resize(4 + rnd.Below(uint32_t(stored.size() - 4)));
    else
      bad[4 + rnd.Below(uint32_t(stored.size() - 4))] ^= uint8_t(1 + rnd.Below(255));
    TSkinReader reader;
    if (!reader.OpenArchive(bad)) continue;
    std::size_t total = 0;
    for (int i = 0; i < reader.EntryCount(); ++i) {
      ASSERT_GE(reader.EntrySize(i), 0);
      total += std::size_t(reader.EntrySize(i));
    }
    EXPECT_LE(total, reader.ExpandedSize());
  }
}

TEST(SkinArchiveWriter, RefusesWhatNoReaderTakes) {
  EXPECT_THROW(BuildSkinArchive({{"a\r\nb.bmp", B("BM")}}), std::invalid_argument);
  EXPECT_THROW(BuildSkinArchive({{"a\nb.bmp", B("BM")}}), std::invalid_argument);
  EXPECT_THROW(BuildSkinArchive({}, 10000), std::invalid_argument);
  std::vector<TSkinArchiveEntry> many(TSkinReader::MaxEntries + 1, {"x", {}});
  EXPECT_THROW(BuildSkinArchive(many), std::invalid_argument);
  many.pop_back();
  EXPECT_NO_THROW(BuildSkinArchive(many));
}

} // namespace
