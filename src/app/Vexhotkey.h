// TVexhotkey: up to 20 system-wide hotkeys, each registered for a window under an identifier
// taken from a global atom named after the executable and the slot number.
#pragma once
#include "Controls.h"

#include <cstdint>
#include <string>

struct HotKeyEntry {
  bool Ctrl = false;
  bool Alt = false;
  bool Shift = false;
  bool Win = false;
  uint16_t Key = 0; // virtual-key code
};

class TVexhotkey : public TObject {
  TK_DECLARE_CLASS(TVexhotkey)
public:
  static constexpr int kMaxHotKeys = 20;
  // Identifiers taken from atoms lie in 0 .. 0x3FFF; when no atom of our own can be had, they
  // are chosen from 0x4000 upward. Applications may use 0 .. 0xBFFF.
  static constexpr int kFirstSpareId = 0x4000;
  static constexpr int kMaxId = 0xBFFF;

  TVexhotkey();
  // Unregisters every hotkey and releases the atoms this object added.
  ~TVexhotkey() override;
  TVexhotkey(const TVexhotkey&) = delete;
  TVexhotkey& operator=(const TVexhotkey&) = delete;

  // Registers a hotkey whose messages go to the control's window (made if need be). Ignored
  // once 20 hotkeys are held. Whether the system accepted the key is not examined: a key another
  // program holds simply never arrives.
  void AddHotKey(TWinControl* form, bool Ctrl, bool Alt, bool Shift, bool Win, uint16_t Key);

  int Count() const { return FCount; }
  // Slots are numbered 1 to Count().
  int Id(int slot) const { return FIds[slot - 1]; }
  HWND Window(int slot) const { return FWindows[slot - 1]; }
  const HotKeyEntry& Key(int slot) const { return FKeys[slot - 1]; }
  // The atom this object added for a slot, 0 when it added none.
  ATOM Atom(int slot) const { return FAtoms[slot - 1]; }

  // The start of the atom names: the executable's file name before its first "." (empty when
  // the name has no "."). The atom of slot k is this followed by k in decimal.
  std::string AtomStem;
  static std::string AtomStemOf(const std::string& executablePath);

private:
  int SpareId(HWND wnd) const;

  int FIds[kMaxHotKeys] = {};
  HWND FWindows[kMaxHotKeys] = {};
  HotKeyEntry FKeys[kMaxHotKeys] = {};
  int FCount = 0;
  ATOM FAtoms[kMaxHotKeys] = {};
};
