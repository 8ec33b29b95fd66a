#include "Buttons.h"
#include "ComCtrls.h"
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
       {&TLabel::StaticClassInfo(),       &TListBox::StaticClassInfo(),
        &TEdit::StaticClassInfo(),        &TMemo::StaticClassInfo(),
        &TButton::StaticClassInfo(),      &TMenuItem::StaticClassInfo(),
        &TPopupMenu::StaticClassInfo(),   &TMainMenu::StaticClassInfo(),
        &TTimer::StaticClassInfo(),       &TCheckBox::StaticClassInfo(),
        &TRadioButton::StaticClassInfo(), &TGroupBox::StaticClassInfo(),
        &TComboBox::StaticClassInfo(),    &TScrollBar::StaticClassInfo(),
        &TPanel::StaticClassInfo(),       &TRadioGroup::StaticClassInfo(),
        &TBitBtn::StaticClassInfo(),      &TSpeedButton::StaticClassInfo(),
        &TProgressBar::StaticClassInfo(), &TTrackBar::StaticClassInfo(),
        &TUpDown::StaticClassInfo(),      &TDateTimePicker::StaticClassInfo(),
        &TStatusBar::StaticClassInfo(),   &THeaderControl::StaticClassInfo(),
        &TListView::StaticClassInfo(),    &TTabControl::StaticClassInfo(),
        &TPageControl::StaticClassInfo(), &TTabSheet::StaticClassInfo(),
        &TToolBar::StaticClassInfo(),     &TToolButton::StaticClassInfo()})
    RegisterClassInfo(info);
}
