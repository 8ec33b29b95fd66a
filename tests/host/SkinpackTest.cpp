// Runs the built skinpack command on temporary folders.
#include "SkinArchiveWriter.h"
#include "SkinReader.h"
#include "SkinTestData.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

void Write(const fs::path& p, const Bytes& b) {
  std::ofstream(p, std::ios::binary)
      .write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}
Bytes Read(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
std::string ReadText(const fs::path& p) {
  const Bytes b = Read(p);
  return std::string(b.begin(), b.end());
}
Bytes B(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

class SkinpackTest : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("skinpack-test-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs skinpack with the arguments; returns its exit code, output in out_ and err_.
  int Run(const std::string& args) {
    const std::string cmd = std::string("'") + SKINPACK_EXE + "' " + args + " >'" +
                            (dir_ / "out.txt").string() + "' 2>'" + (dir_ / "err.txt").string() +
                            "'";
    const int status = std::system(cmd.c_str());
    out_ = ReadText(dir_ / "out.txt");
    err_ = ReadText(dir_ / "err.txt");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Q(const fs::path& p) { return "'" + p.string() + "'"; }

  fs::path dir_;
  std::string out_, err_;
};

TEST_F(SkinpackTest, PackListUnpackRoundTrip) {
  const fs::path src = dir_ / "src";
  fs::create_directories(src);
  const Bytes buttons = skintest::ImageLike(40000, 1);
  const Bytes tab = skintest::ImageLike(5000, 2);
  const Bytes frame = skintest::ImageLike(70000, 3);
  const std::string ini = "[Buttons]\r\nImage=Buttons.bmp\r\n" + skintest::TextLike(6000, 4);
  Write(src / "Tab.bmp", tab);
  Write(src / "buttons.bmp", buttons);
  Write(src / "FrameLeft.BMP", frame);
  Write(src / "Skin.ini", B(ini));
  Write(src / "notes.txt", B("not packed"));

  const fs::path skin = dir_ / "test.skin";
  ASSERT_EQ(Run("pack " + Q(src) + " " + Q(skin)), 0) << err_;
  EXPECT_NE(err_.find("notes.txt"), std::string::npos); // told what was skipped

  ASSERT_EQ(Run("list " + Q(skin)), 0) << err_;
  EXPECT_EQ(out_.find("format 70000, 4 entries"), 0u) << out_;
  // Images in name order, the description last.
  const std::size_t a = out_.find("buttons.bmp"), c = out_.find("frameleft.bmp"),
                    d = out_.find("tab.bmp"), e = out_.find("skin.ini");
  ASSERT_NE(e, std::string::npos);
  EXPECT_LT(a, c);
  EXPECT_LT(c, d);
  EXPECT_LT(d, e);
  EXPECT_NE(out_.find("40000  buttons.bmp"), std::string::npos) << out_;

  const fs::path back = dir_ / "back";
  ASSERT_EQ(Run("unpack " + Q(skin) + " " + Q(back)), 0) << err_;
  EXPECT_EQ(Read(back / "buttons.bmp"), buttons);
  EXPECT_EQ(Read(back / "tab.bmp"), tab);
  EXPECT_EQ(Read(back / "frameleft.bmp"), frame);
  EXPECT_EQ(Read(back / "skin.ini"), B(ini));
  EXPECT_FALSE(fs::exists(back / "notes.txt"));

  // The program's reader sees the description last.
  TSkinReader reader;
  ASSERT_TRUE(reader.OpenArchive(Read(skin)));
  EXPECT_EQ(reader.EntryName(reader.EntryCount() - 1), "skin.ini");
}

TEST_F(SkinpackTest, UnpacksEveryFormat) {
  for (uint32_t format : {20000u, 30000u, 40000u, 50000u, 60000u, 70000u}) {
    const fs::path skin = dir_ / ("f" + std::to_string(format) + ".skin");
    Write(skin, BuildStoredSkin(
                    BuildSkinArchive({{"a.bmp", B("BMa")}, {"d.ini", B("[x]\r\n")}}, format)));
    ASSERT_EQ(Run("list " + Q(skin)), 0) << err_;
    EXPECT_EQ(out_.find("format " + std::to_string(format)), 0u);
    const fs::path out = dir_ / ("out" + std::to_string(format));
    ASSERT_EQ(Run("unpack " + Q(skin) + " " + Q(out)), 0) << err_;
    EXPECT_EQ(Read(out / "a.bmp"), B("BMa"));
    EXPECT_EQ(Read(out / "d.ini"), B("[x]\r\n"));
  }
}

TEST_F(SkinpackTest, DamagedOrUnreadableFilesFail) {
  const fs::path good = dir_ / "good.skin";
  const Bytes stored = BuildStoredSkin(
      BuildSkinArchive({{"a.bmp", skintest::ImageLike(3000, 5)}, {"d.ini", B("[x]")}}));
  Write(good, stored);
  ASSERT_EQ(Run("list " + Q(good)), 0);

  EXPECT_EQ(Run("list " + Q(dir_ / "missing.skin")), 1);
  EXPECT_NE(err_.find("missing.skin"), std::string::npos);

  Write(dir_ / "tiny.skin", Bytes{1, 2});
  EXPECT_EQ(Run("list " + Q(dir_ / "tiny.skin")), 1);
  EXPECT_NE(err_.find("not a readable skin file"), std::string::npos) << err_;

  // Flipped bits in the stream: the archive may still parse or be refused, never crash.
  Bytes inflated = stored;
  inflated[4 + 16 + 69 + 14] ^= 0x7F; // flips bits early in the stream
  Write(dir_ / "flipped.skin", inflated);
  const fs::path out = dir_ / "flipped";
  const int rc = Run("unpack " + Q(dir_ / "flipped.skin") + " " + Q(out));
  EXPECT_TRUE(rc == 0 || rc == 1) << rc;

  Bytes archive = BuildSkinArchive({{"a.bmp", B("BM")}}, 20000);
  archive[0] = 0x10; // 20000 -> 10000-ish
  Write(dir_ / "older.skin", BuildStoredSkin(archive));
  EXPECT_EQ(Run("unpack " + Q(dir_ / "older.skin") + " " + Q(dir_ / "o")), 1);
  EXPECT_NE(err_.find("unknown archive format"), std::string::npos) << err_;
  EXPECT_FALSE(fs::exists(dir_ / "o"));

  Write(dir_ / "huge.skin", Bytes{0xFF, 0xFF, 0xFF, 0x7F, 0});
  EXPECT_EQ(Run("list " + Q(dir_ / "huge.skin")), 1);
  EXPECT_NE(err_.find("exceeds the limit"), std::string::npos) << err_;

  EXPECT_EQ(Run("list"), 2);
  EXPECT_NE(err_.find("usage"), std::string::npos);
  EXPECT_EQ(Run("frobnicate a b"), 2);
}

TEST_F(SkinpackTest, UnpackRefusesPathsOutsideTheFolder) {
  for (const std::string name : {"../evil.bmp", "/tmp/evil.bmp", "sub\\x.bmp", "..", ""}) {
    const fs::path skin = dir_ / "evil.skin";
    Write(skin, BuildStoredSkin(BuildSkinArchive({{"ok.bmp", B("BM")}, {name, B("BM")}})));
    EXPECT_EQ(Run("unpack " + Q(skin) + " " + Q(dir_ / "out" / "in")), 1) << name;
    EXPECT_NE(err_.find("not a plain file name"), std::string::npos) << err_;
    EXPECT_FALSE(fs::exists(dir_ / "out" / "evil.bmp"));
    EXPECT_FALSE(fs::exists(dir_ / "out" / "in" / "ok.bmp"));
  }
}

TEST_F(SkinpackTest, PackRefusesBadFolders) {
  const fs::path src = dir_ / "src";
  fs::create_directories(src);
  Write(src / "a.bmp", B("BMxx"));
  EXPECT_EQ(Run("pack " + Q(src) + " " + Q(dir_ / "x.skin")), 1); // no description
  EXPECT_NE(err_.find("exactly one .ini"), std::string::npos) << err_;
  Write(src / "one.ini", B("[a]"));
  Write(src / "two.INI", B("[b]"));
  EXPECT_EQ(Run("pack " + Q(src) + " " + Q(dir_ / "x.skin")), 1);
  fs::remove(src / "two.INI");
  Write(src / "A.BMP", B("BMyy"));
  EXPECT_EQ(Run("pack " + Q(src) + " " + Q(dir_ / "x.skin")), 1); // same name twice
  EXPECT_NE(err_.find("a.bmp"), std::string::npos) << err_;
  fs::remove(src / "A.BMP");
  Write(src / "b.bmp", B("PNG"));
  EXPECT_EQ(Run("pack " + Q(src) + " " + Q(dir_ / "x.skin")), 1);
  EXPECT_NE(err_.find("not a BMP file"), std::string::npos) << err_;
  fs::remove(src / "b.bmp");
  EXPECT_EQ(Run("pack " + Q(dir_ / "nowhere") + " " + Q(dir_ / "x.skin")), 1);
  EXPECT_FALSE(fs::exists(dir_ / "x.skin"));
  EXPECT_EQ(Run("pack " + Q(src) + " " + Q(dir_ / "x.skin")), 0) << err_;
  EXPECT_TRUE(fs::exists(dir_ / "x.skin"));
}

} // namespace
