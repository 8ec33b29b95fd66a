#include "Controls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Menus.h"
#include "StdCtrls.h"

void RegisterStandardClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  for (const TClassInfo* info :
       {&TLabel::StaticClassInfo(), &TListBox::StaticClassInfo(), &TEdit::StaticClassInfo(),
        &TMemo::StaticClassInfo(), &TButton::StaticClassInfo(), &TMenuItem::StaticClassInfo(),
        &TPopupMenu::StaticClassInfo(), &TMainMenu::StaticClassInfo(), &TTimer::StaticClassInfo()})
    RegisterClassInfo(info);
}
