#include "Vexhotkey.h"

const TClassInfo& TVexhotkey::StaticClassInfo() {
  static const TClassInfo info{"TVexhotkey", &TObject::StaticClassInfo(), nullptr, {}};
  return info;
}

std::string TVexhotkey::AtomStemOf(const std::string& executablePath) {
  const std::string name = executablePath.substr(FileNameStart(executablePath));
  const size_t dot = name.find('.');
  return dot == std::string::npos ? std::string() : name.substr(0, dot);
}

TVexhotkey::TVexhotkey() : AtomStem(AtomStemOf(ExecutablePath())) {}

TVexhotkey::~TVexhotkey() {
  for (int k = 1; k <= FCount; ++k) {
    UnregisterHotKey(FWindows[k - 1], FIds[k - 1]);
    if (FAtoms[k - 1]) GlobalDeleteAtom(FAtoms[k - 1]);
  }
}

int TVexhotkey::SpareId(HWND wnd) const {
  for (int id = kFirstSpareId; id <= kMaxId; ++id) {
    bool used = false;
    for (int k = 0; k < FCount && !used; ++k)
      used = FWindows[k] == wnd && FIds[k] == id;
    if (!used) return id;
  }
  return kFirstSpareId;
}

void TVexhotkey::AddHotKey(TWinControl* form, bool Ctrl, bool Alt, bool Shift, bool Win,
                           uint16_t Key) {
  if (FCount >= kMaxHotKeys) return;
  const int k = FCount + 1;
  HWND wnd = form ? form->Handle() : nullptr;
  UINT modifiers = 0;
  if (Ctrl) modifiers |= MOD_CONTROL;
  if (Shift) modifiers |= MOD_SHIFT;
  if (Alt) modifiers |= MOD_ALT;
  if (Win) modifiers |= MOD_WIN;

  const std::string name = AtomStem + std::to_string(k);
  const ATOM atom = GlobalAddAtomA(name.c_str());
  int id;
  if (atom >= 0xC000) {
    id = atom - 0xC000;
    FAtoms[k - 1] = atom;
  } else {
    // Refused (0), or a name of the form "#number", which gives an integer atom: nothing was
    // added to the table, so nothing is to be deleted, and the identifier comes from the
    // spare range instead.
    id = SpareId(wnd);
    FAtoms[k - 1] = 0;
  }
  FIds[k - 1] = id;
  FWindows[k - 1] = wnd;
  FKeys[k - 1] = HotKeyEntry{Ctrl, Alt, Shift, Win, Key};
  FCount = k;
  RegisterHotKey(wnd, id, modifiers, Key);
}
