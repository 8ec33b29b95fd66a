// Start at logon against the real registry of the test session. The user's and the machine's
// root keys are redirected to scratch keys for the length of each test, so nothing of the
// session's own Run key is touched.
#include "Autostart.h"
#include "Menus.h"
#include "Registry.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

constexpr const char* kUserScratch = "Software\\TarnelAutostartTest\\User";
constexpr const char* kMachineScratch = "Software\\TarnelAutostartTest\\Machine";
constexpr const char* kRunPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

class Autostart : public ::testing::Test {
protected:
  void SetUp() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\TarnelAutostartTest");
    ASSERT_EQ(User.Create(HKEY_CURRENT_USER, kUserScratch, KEY_ALL_ACCESS), ERROR_SUCCESS);
    ASSERT_EQ(Machine.Create(HKEY_CURRENT_USER, kMachineScratch, KEY_ALL_ACCESS), ERROR_SUCCESS);
    ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, User.Get()), ERROR_SUCCESS);
    ASSERT_EQ(RegOverridePredefKey(HKEY_LOCAL_MACHINE, Machine.Get()), ERROR_SUCCESS);
  }
  void TearDown() override {
    if (FRunLocked) SetRunAccess(0);
    FRun.Close();
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    User.Close();
    Machine.Close();
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\TarnelAutostartTest");
  }

  // The Run key of the redirected user root, made if need be.
  HKEY Run() {
    if (!FRun) FRun.Create(User.Get(), kRunPath, KEY_ALL_ACCESS);
    return FRun.Get();
  }
  void Set(const char* name, DWORD type, const void* data, size_t size) {
    ASSERT_EQ(RegSetValueExA(Run(), name, 0, type, static_cast<const BYTE*>(data),
                             static_cast<DWORD>(size)),
              ERROR_SUCCESS);
  }
  void SetText(const char* name, const std::string& text) {
    Set(name, REG_SZ, text.c_str(), text.size() + 1);
  }
  bool Read(const char* name, std::string& text) {
    return ReadRegString("HKEY_CURRENT_USER", ::Autostart::kRunKey, name, text);
  }
  // Type and bytes of a value of the user's Run key, or REG_NONE when it is missing.
  TRegValue Value(const char* name) {
    TRegValue v;
    if (ReadRegValue(Run(), name, v) != ERROR_SUCCESS) v.Type = REG_NONE;
    return v;
  }
  // Gives everyone only the given access to the user's Run key (with the right to change that
  // again); 0 gives everyone every access.
  void SetRunAccess(ACCESS_MASK access) {
    SECURITY_DESCRIPTOR sd;
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    alignas(8) char aclBuffer[256];
    auto* acl = reinterpret_cast<ACL*>(aclBuffer);
    PSID everyone = nullptr;
    if (access) {
      InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION);
      SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
      AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
      AddAccessAllowedAce(acl, ACL_REVISION, access | READ_CONTROL | WRITE_DAC, everyone);
    }
    SetSecurityDescriptorDacl(&sd, TRUE, access ? acl : nullptr, FALSE);
    TRegKey key;
    ASSERT_EQ(key.Open(User.Get(), kRunPath, READ_CONTROL | WRITE_DAC), ERROR_SUCCESS);
    ASSERT_EQ(RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, &sd), ERROR_SUCCESS);
    if (everyone) FreeSid(everyone);
    FRunLocked = access != 0;
  }
  // The user's Run key can be read but not opened for writing.
  void LockRun() {
    Run();
    SetRunAccess(KEY_READ);
    TRegKey probe;
    ASSERT_NE(probe.Open(User.Get(), kRunPath, KEY_ALL_ACCESS), ERROR_SUCCESS);
  }

  bool FRunLocked = false;
  TRegKey User, Machine, FRun;
};

TEST_F(Autostart, ReadsTextValues) {
  std::string text = "stale";
  EXPECT_FALSE(Read("popreap", text)); // no key yet
  EXPECT_EQ(text, "");
  SetText("popreap", "C:\\Programs\\tarnel.exe");
  EXPECT_TRUE(Read("popreap", text));
  EXPECT_EQ(text, "C:\\Programs\\tarnel.exe");
  EXPECT_FALSE(Read("other", text));
  EXPECT_EQ(text, "");

  const std::string expand = "%SystemRoot%\\x.exe";
  Set("expand", REG_EXPAND_SZ, expand.c_str(), expand.size() + 1);
  EXPECT_TRUE(Read("expand", text));
  EXPECT_EQ(text, expand); // not expanded

  SetText("empty", "");
  text = "stale";
  EXPECT_TRUE(Read("empty", text));
  EXPECT_EQ(text, "");

  // A text stored without its terminating zero, and one with a zero inside.
  Set("bare", REG_SZ, "abc", 3);
  EXPECT_TRUE(Read("bare", text));
  EXPECT_EQ(text, "abc");
  Set("inner", REG_SZ, "ab\0cd", 6);
  EXPECT_TRUE(Read("inner", text));
  EXPECT_EQ(text, "ab");
}

TEST_F(Autostart, OtherTypesReadAsNothing) {
  std::string text = "stale";
  const DWORD number = 1;
  Set("popreap", REG_DWORD, &number, sizeof number);
  EXPECT_FALSE(Read("popreap", text));
  EXPECT_EQ(text, "");
  Set("binary", REG_BINARY, "xyz", 3);
  EXPECT_FALSE(Read("binary", text));
  Set("multi", REG_MULTI_SZ, "a\0b\0", 5);
  EXPECT_FALSE(Read("multi", text));
  EXPECT_FALSE(::Autostart::IsOn());
}

TEST_F(Autostart, LongValuesAreReadWholeAndHugeOnesRefused) {
  std::string text;
  const std::string longText(300000, 'p');
  SetText("long", longText);
  EXPECT_TRUE(Read("long", text));
  EXPECT_EQ(text, longText);
  const std::string huge(kMaxRegValueSize + 10, 'q');
  SetText("huge", huge);
  EXPECT_FALSE(Read("huge", text));
  EXPECT_EQ(text, "");
}

TEST_F(Autostart, AValueThatChangesSizeWhileItIsRead) {
  const std::string shortText = "short";
  const std::string longText(5000, 'L');
  SetText("flip", shortText);
  std::atomic<bool> stop{false};
  HKEY run = Run();
  std::thread writer([&] {
    for (int i = 0; !stop; ++i) {
      const std::string& t = i % 2 ? longText : shortText;
      RegSetValueExA(run, "flip", 0, REG_SZ, reinterpret_cast<const BYTE*>(t.c_str()),
                     static_cast<DWORD>(t.size() + 1));
    }
  });
  int reads = 0, bad = 0;
  for (const DWORD start = GetTickCount(); GetTickCount() - start < 700; ++reads) {
    std::string text;
    if (Read("flip", text) && text != shortText && text != longText) ++bad;
  }
  stop = true;
  writer.join();
  EXPECT_GT(reads, 10);
  EXPECT_EQ(bad, 0);
}

TEST_F(Autostart, RootNames) {
  std::string text;
  SetText("popreap", "x");
  EXPECT_TRUE(ReadRegString("HKEY_CURRENT_USER", ::Autostart::kRunKey, "popreap", text));
  EXPECT_FALSE(ReadRegString("hkey_current_user", ::Autostart::kRunKey, "popreap", text));
  EXPECT_FALSE(ReadRegString("HKCU", ::Autostart::kRunKey, "popreap", text));
  EXPECT_FALSE(ReadRegString("", ::Autostart::kRunKey, "popreap", text));
  // The machine root is recognised in any letter case (and is redirected here too).
  TRegKey machineRun;
  ASSERT_EQ(machineRun.Create(Machine.Get(), kRunPath, KEY_ALL_ACCESS), ERROR_SUCCESS);
  RegSetValueExA(machineRun.Get(), "m", 0, REG_SZ, reinterpret_cast<const BYTE*>("y"), 2);
  EXPECT_TRUE(ReadRegString("hKeY_LoCaL_mAcHiNe", ::Autostart::kRunKey, "m", text));
  EXPECT_EQ(text, "y");
}

TEST_F(Autostart, AKeyThatCanOnlyBeQueried) {
  SetText("popreap", "queried");
  // Only KEY_QUERY_VALUE is granted: the reader falls back to it.
  SetRunAccess(KEY_QUERY_VALUE);
  TRegKey probe;
  ASSERT_NE(probe.Open(User.Get(), kRunPath, KEY_READ), ERROR_SUCCESS);
  std::string text;
  EXPECT_TRUE(Read("popreap", text));
  EXPECT_EQ(text, "queried");
}

TEST_F(Autostart, SetRunEntryWritesAndDeletes) {
  EXPECT_TRUE(SetRunEntry("popreap", "C:\\x\\tarnel.exe", true, false));
  TRegValue v = Value("popreap");
  EXPECT_EQ(v.Type, static_cast<DWORD>(REG_SZ));
  const std::string expected("C:\\x\\tarnel.exe", sizeof "C:\\x\\tarnel.exe"); // with its zero
  EXPECT_EQ(std::string(v.Data.begin(), v.Data.end()), expected);

  EXPECT_TRUE(SetRunEntry("popreap", "ignored", false, false));
  EXPECT_EQ(Value("popreap").Type, static_cast<DWORD>(REG_NONE));
  EXPECT_TRUE(SetRunEntry("popreap", "ignored", false, false)); // already gone

  // The machine's Run key.
  EXPECT_TRUE(SetRunEntry("popreap", "M", true, true));
  std::string text;
  EXPECT_TRUE(ReadRegString("HKEY_LOCAL_MACHINE", ::Autostart::kRunKey, "popreap", text));
  EXPECT_EQ(text, "M");
  EXPECT_EQ(Value("popreap").Type, static_cast<DWORD>(REG_NONE));
}

TEST_F(Autostart, SetRunEntryOnAKeyThatCannotBeOpened) {
  SetText("popreap", "C:\\old\\tarnel.exe");
  LockRun();
  EXPECT_FALSE(SetRunEntry("popreap", "C:\\new\\tarnel.exe", true, false));
  EXPECT_FALSE(SetRunEntry("popreap", "", false, false));
  std::string text;
  EXPECT_TRUE(Read("popreap", text));
  EXPECT_EQ(text, "C:\\old\\tarnel.exe");
}

TEST_F(Autostart, AFailedWriteIsAnError) {
  const std::string name(20000, 'n'); // longer than any value name may be
  try {
    SetRunEntry(name, "data", true, false);
    FAIL() << "no error";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message, "为 '" + name + "' 设置数据时失败");
  }
}

TEST_F(Autostart, TheCommandFollowsTheRegistry) {
  TMenuItem item(nullptr);
  // Unchecked, nothing there: checking writes the path.
  ::Autostart::Toggle(&item, "C:\\here\\tarnel.exe");
  EXPECT_TRUE(item.Checked());
  std::string text;
  EXPECT_TRUE(Read("popreap", text));
  EXPECT_EQ(text, "C:\\here\\tarnel.exe");

  // Checked, the value names another copy: unchecking deletes it all the same.
  SetText("popreap", "D:\\elsewhere\\tarnel.exe");
  ::Autostart::Toggle(&item, "C:\\here\\tarnel.exe");
  EXPECT_FALSE(item.Checked());
  EXPECT_EQ(Value("popreap").Type, static_cast<DWORD>(REG_NONE));

  // An empty value or a number shows unchecked; checking replaces it with the path.
  SetText("popreap", "");
  EXPECT_FALSE(::Autostart::IsOn());
  ::Autostart::Toggle(&item, "C:\\here\\tarnel.exe");
  EXPECT_TRUE(item.Checked());
  const DWORD number = 7;
  Set("popreap", REG_DWORD, &number, sizeof number);
  item.SetChecked(false);
  ::Autostart::Toggle(&item, "C:\\here\\tarnel.exe");
  EXPECT_TRUE(item.Checked());
  EXPECT_EQ(Value("popreap").Type, static_cast<DWORD>(REG_SZ));
}

TEST_F(Autostart, TheCheckMarkNeverClaimsWhatTheRegistryDoesNotHold) {
  TMenuItem item(nullptr);
  // The key cannot be opened: turning it on changes nothing, and the mark stays off.
  Run();
  LockRun();
  ::Autostart::Toggle(&item, "C:\\here\\tarnel.exe");
  EXPECT_FALSE(item.Checked());
  EXPECT_EQ(Value("popreap").Type, static_cast<DWORD>(REG_NONE));
}

TEST_F(Autostart, TheCheckMarkStaysOnWhenTheValueCannotBeDeleted) {
  TMenuItem item(nullptr);
  SetText("popreap", "C:\\here\\tarnel.exe");
  item.SetChecked(true);
  LockRun();
  ::Autostart::Toggle(&item, "C:\\here\\tarnel.exe");
  EXPECT_TRUE(item.Checked());
  std::string text;
  EXPECT_TRUE(Read("popreap", text));
}

TEST_F(Autostart, AFailedWriteLeavesTheMarkAndRaises) {
  TMenuItem item(nullptr);
  const std::string name(20000, 'n');
  EXPECT_THROW(::Autostart::Toggle(&item, "C:\\here\\tarnel.exe", name), ERegistryException);
  EXPECT_FALSE(item.Checked());
}

TEST(Registry, PathsFromTheRootAndFromTheCurrentKey) {
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\TarnelRegistryTest");
  TRegistry reg;
  reg.RootKey = HKEY_CURRENT_USER;
  EXPECT_FALSE(reg.OpenKey("\\Software\\TarnelRegistryTest\\A", false));
  ASSERT_TRUE(reg.OpenKey("\\Software\\TarnelRegistryTest\\A", true));
  EXPECT_EQ(reg.CurrentPath(), "Software\\TarnelRegistryTest\\A");
  ASSERT_TRUE(reg.OpenKey("B", true)); // relative to A
  EXPECT_EQ(reg.CurrentPath(), "Software\\TarnelRegistryTest\\A\\B");
  reg.WriteString("v", "in B");
  ASSERT_TRUE(reg.OpenKey("\\Software\\TarnelRegistryTest\\A\\B", false));
  std::string text;
  EXPECT_TRUE(reg.ValueExists("v"));
  EXPECT_TRUE(reg.ReadString("v", text));
  EXPECT_EQ(text, "in B");
  EXPECT_EQ(reg.DeleteValue("v"), ERROR_SUCCESS);
  EXPECT_EQ(reg.DeleteValue("v"), ERROR_FILE_NOT_FOUND);
  reg.CloseKey();
  EXPECT_FALSE(reg.ValueExists("v"));
  EXPECT_THROW(reg.WriteString("v", "no key"), ERegistryException);
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\TarnelRegistryTest");
}

} // namespace
