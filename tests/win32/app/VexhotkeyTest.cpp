// TVexhotkey: atom names, identifiers, the limit of 20, and giving back exactly the hotkeys
// and atoms it took.
#include "Vexhotkey.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// Keys no desktop uses, so that the tests do not collide with anything else.
constexpr uint16_t kKey = VK_F20;

// Whether another window can take a key: it cannot while a hotkey holds it.
bool KeyIsFree(UINT modifiers, UINT key) {
  HWND probe =
      CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  const bool free = RegisterHotKey(probe, 0x7000, modifiers, key) != 0;
  if (free) UnregisterHotKey(probe, 0x7000);
  DestroyWindow(probe);
  return free;
}

// Presses and releases a key through the system's input queue, where hotkeys are taken.
void PressKey(WORD key) {
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = key;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof(INPUT));
}

bool AtomExists(const std::string& name) {
  return GlobalFindAtomA(name.c_str()) != 0;
}

class Vexhotkey : public ::testing::Test {
protected:
  void SetUp() override { App(); }
  TForm Form{nullptr};
};

TEST(VexhotkeyStem, TheExecutableNameBeforeItsFirstDot) {
  EXPECT_EQ(TVexhotkey::AtomStemOf("C:\\Program Files\\abc.exe"), "abc");
  EXPECT_EQ(TVexhotkey::AtomStemOf("C:\\dir.d\\my.app.exe"), "my");
  EXPECT_EQ(TVexhotkey::AtomStemOf("abc.exe"), "abc");
  EXPECT_EQ(TVexhotkey::AtomStemOf("C:\\tools\\noextension"), "");
  // A double-byte file name whose trail byte is a backslash.
  EXPECT_EQ(TVexhotkey::AtomStemOf("C:\\x\\\xB1\\\xB1\\.exe"), "\xB1\\\xB1\\");
  TVexhotkey own;
  EXPECT_EQ(own.AtomStem, "test_hotkey_autostart_win32");
}

TEST_F(Vexhotkey, RegistersUnderAnAtomNamedAfterTheProgramAndSlot) {
  const std::string stem = "TarnelHotkeyTest";
  {
    TVexhotkey hk;
    hk.AtomStem = stem;
    EXPECT_EQ(hk.Count(), 0);
    hk.AddHotKey(&Form, false, false, false, false, kKey);
    hk.AddHotKey(&Form, true, true, true, false, kKey);
    ASSERT_EQ(hk.Count(), 2);
    for (int k = 1; k <= 2; ++k) {
      const ATOM atom = GlobalFindAtomA((stem + std::to_string(k)).c_str());
      ASSERT_NE(atom, 0) << k;
      EXPECT_EQ(hk.Atom(k), atom);
      EXPECT_EQ(hk.Id(k), atom - 0xC000);
      EXPECT_GE(hk.Id(k), 0);
      EXPECT_LE(hk.Id(k), 0x3FFF);
      EXPECT_EQ(hk.Window(k), Form.Handle());
    }
    EXPECT_NE(hk.Id(1), hk.Id(2));
    EXPECT_TRUE(hk.Key(2).Ctrl && hk.Key(2).Alt && hk.Key(2).Shift && !hk.Key(2).Win);
    EXPECT_EQ(hk.Key(1).Key, kKey);
    EXPECT_FALSE(KeyIsFree(0, kKey));
    EXPECT_FALSE(KeyIsFree(MOD_CONTROL | MOD_ALT | MOD_SHIFT, kKey));
    EXPECT_TRUE(KeyIsFree(MOD_CONTROL, kKey));
  }
  // Destroying the object gives back both hotkeys and both atoms.
  EXPECT_TRUE(KeyIsFree(0, kKey));
  EXPECT_TRUE(KeyIsFree(MOD_CONTROL | MOD_ALT | MOD_SHIFT, kKey));
  EXPECT_FALSE(AtomExists(stem + "1"));
  EXPECT_FALSE(AtomExists(stem + "2"));
}

TEST_F(Vexhotkey, AKeyPressArrivesAsTheHotkeyMessageOnlyWhileRegistered) {
  std::vector<TMessage> received;
  Form.SetMessageHandler(WM_HOTKEY, [&](TMessage& m) { received.push_back(m); });
  int id = 0;
  {
    TVexhotkey hk;
    hk.AtomStem = "TarnelHotkeyMessage";
    hk.AddHotKey(&Form, false, false, false, false, kKey);
    id = hk.Id(1);
    PressKey(kKey);
    ASSERT_TRUE(PumpUntil([&] { return !received.empty(); }, 3000));
    EXPECT_EQ(received.front().WParam, static_cast<WPARAM>(id));
    EXPECT_EQ(HIWORD(received.front().LParam), kKey);
    EXPECT_EQ(LOWORD(received.front().LParam), 0); // no modifiers
  }
  // Destroyed, the object no longer takes the key.
  received.clear();
  PressKey(kKey);
  EXPECT_FALSE(PumpUntil([&] { return !received.empty(); }, 500));
}

TEST_F(Vexhotkey, HoldsAtMostTwentyHotkeys) {
  TVexhotkey hk;
  hk.AtomStem = "TarnelHotkeyLimit";
  for (int i = 0; i < 22; ++i)
    hk.AddHotKey(&Form, false, false, false, false, VK_F13 + i % 11);
  EXPECT_EQ(hk.Count(), 20);
  EXPECT_FALSE(AtomExists("TarnelHotkeyLimit21"));
  EXPECT_TRUE(AtomExists("TarnelHotkeyLimit20"));
}

TEST_F(Vexhotkey, AnAtomAddedBySomeoneElseIsNotTakenAway) {
  const ATOM theirs = GlobalAddAtomA("TarnelHotkeyShared1");
  ASSERT_NE(theirs, 0);
  {
    TVexhotkey hk;
    hk.AtomStem = "TarnelHotkeyShared";
    hk.AddHotKey(&Form, false, false, false, false, kKey);
    EXPECT_EQ(hk.Atom(1), theirs);
  }
  // The table counts references: ours is gone, theirs is still there.
  EXPECT_TRUE(AtomExists("TarnelHotkeyShared1"));
  GlobalDeleteAtom(theirs);
  EXPECT_FALSE(AtomExists("TarnelHotkeyShared1"));
}

TEST_F(Vexhotkey, IntegerAndRefusedAtomsStillGiveValidIdentifiers) {
  // "#12" + slot number is an integer atom: nothing is added to the table. A stem of 300
  // characters is refused outright.
  for (const std::string& stem :
       {std::string("#12"), std::string(300, 'a'), std::string("#99999")}) {
    TVexhotkey hk;
    hk.AtomStem = stem;
    hk.AddHotKey(&Form, false, false, false, false, kKey);
    hk.AddHotKey(&Form, false, false, false, false, VK_F21);
    ASSERT_EQ(hk.Count(), 2);
    for (int k = 1; k <= 2; ++k) {
      EXPECT_EQ(hk.Atom(k), 0) << stem.substr(0, 8);
      EXPECT_GE(hk.Id(k), TVexhotkey::kFirstSpareId);
      EXPECT_LE(hk.Id(k), TVexhotkey::kMaxId);
    }
    EXPECT_NE(hk.Id(1), hk.Id(2));
    EXPECT_FALSE(KeyIsFree(0, kKey)) << stem.substr(0, 8);
    EXPECT_FALSE(KeyIsFree(0, VK_F21)) << stem.substr(0, 8);
  }
  EXPECT_TRUE(KeyIsFree(0, kKey));
  EXPECT_TRUE(KeyIsFree(0, VK_F21));
}

TEST_F(Vexhotkey, AKeyHeldElsewhereIsQuietlyNotRegistered) {
  HWND other =
      CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(RegisterHotKey(other, 1, 0, kKey));
  {
    TVexhotkey hk;
    hk.AtomStem = "TarnelHotkeyTaken";
    hk.AddHotKey(&Form, false, false, false, false, kKey);
    EXPECT_EQ(hk.Count(), 1);
  }
  // Destroying ours did not release theirs.
  EXPECT_FALSE(KeyIsFree(0, kKey));
  UnregisterHotKey(other, 1);
  DestroyWindow(other);
}

} // namespace
