// Child controls of skinned windows with the test skin: which controls get which skinner
// (toolkit controls and the raw children of real dialogs), push buttons read back from the
// screen in each state, skin painting switched off and on, what giving a control back leaves,
// and many skinners made and freed.
#include "SkinManage.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSubClass.h"

#include "Buttons.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "GdiCount.h"
#include "StdCtrls.h"
#include "TestSkin.h"
#include "SkinTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace TestSkin;

// The colour of the "Buttons" element's stretched centre in cell `cell` (from 1).
COLORREF ButtonCell(int cell) {
  return Colour(tiButtons, cell - 1, cpCentre);
}
constexpr COLORREF kNormalText = Ref(kButtonsNormalText);
constexpr COLORREF kHotText = Ref(kButtonsMouseOverText);
constexpr COLORREF kPressedText = Ref(kButtonsPressedText);

// A point of the button's face left of any centred caption.
// The distinct colours of the shot's middle row, for failure messages.
std::string Row(const TShot& shot) {
  std::string out;
  std::vector<COLORREF> seen;
  for (int x = 0; x < shot.Width; ++x) {
    const COLORREF c = shot.At(x, shot.Height / 2);
    if (std::find(seen.begin(), seen.end(), c) != seen.end()) continue;
    seen.push_back(c);
    char buf[16];
    snprintf(buf, sizeof buf, "%06lx ", static_cast<unsigned long>(c));
    out += buf;
  }
  return out;
}

// The text colour of the caption, from its most covered pixel: glyph edges are blended with the
// face (bg); the green channel, whose text value is `green` (250 in every text colour of the
// test skin), tells how much of the text colour a pixel holds.
COLORREF TextColour(const TShot& shot, COLORREF bg, int green = 250) {
  COLORREF best = bg;
  for (COLORREF p : shot.Pixels)
    if (GetGValue(p) > GetGValue(best)) best = p;
  const double t = double(GetGValue(best) - GetGValue(bg)) / (green - GetGValue(bg));
  if (t <= 0.2) return bg;
  auto channel = [&](int b, int p) { return int(b + (p - b) / t + 0.5); };
  return RGB(channel(GetRValue(bg), GetRValue(best)), green,
             channel(GetBValue(bg), GetBValue(best)));
}

// Whether two colours differ by at most 12 in every channel.
bool Near(COLORREF a, COLORREF b) {
  constexpr int tolerance = 12;
  return std::abs(int(GetRValue(a)) - int(GetRValue(b))) <= tolerance &&
         std::abs(int(GetGValue(a)) - int(GetGValue(b))) <= tolerance &&
         std::abs(int(GetBValue(a)) - int(GetBValue(b))) <= tolerance;
}

COLORREF FacePixel(HWND wnd) {
  const TShot shot = Shoot(wnd);
  return shot.At(7, shot.Height / 2);
}

// A dialog template in memory: the header and its items, each a class atom, a title and an id.
class TDialogTemplate {
public:
  TDialogTemplate(const wchar_t* title, short cx, short cy,
                  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT | WS_VISIBLE) {
    Align(4);
    Put(style);
    Put(DWORD(0));
    FCountAt = FWords.size();
    Put(WORD(0));
    for (short v : {short(40), short(40), cx, cy})
      Put(WORD(v));
    Put(WORD(0)); // menu
    Put(WORD(0)); // class
    PutText(title);
    Put(WORD(9));
    PutText(L"MS Shell Dlg");
  }
  void Add(WORD atom, DWORD style, const wchar_t* text, WORD id, short x, short y, short cx,
           short cy) {
    Align(2);
    Put(DWORD(style | WS_CHILD | WS_VISIBLE));
    Put(DWORD(0));
    for (short v : {x, y, cx, cy})
      Put(WORD(v));
    Put(id);
    Put(WORD(0xFFFF));
    Put(atom);
    PutText(text);
    Put(WORD(0));
    ++FWords[FCountAt];
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(FWords.data()); }

private:
  void Put(WORD w) { FWords.push_back(w); }
  void Put(DWORD d) {
    Put(WORD(d & 0xFFFF));
    Put(WORD(d >> 16));
  }
  void PutText(const wchar_t* s) {
    for (; *s; ++s)
      Put(WORD(*s));
    Put(WORD(0));
  }
  void Align(int words) {
    while (FWords.size() % static_cast<size_t>(words))
      Put(WORD(0));
  }
  std::vector<WORD> FWords;
  size_t FCountAt = 0;
};

constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kEditAtom = 0x0081;
std::vector<WPARAM> gDialogCommands;

INT_PTR CALLBACK RecordingDialogProc(HWND, UINT msg, WPARAM wparam, LPARAM) {
  if (msg == WM_COMMAND) gDialogCommands.push_back(wparam);
  return msg == WM_INITDIALOG;
}

enum : WORD {
  idAdd = 100,
  idDefault,
  idCheck,
  idAutoCheck,
  idRadio,
  idAutoRadio,
  idGroup,
  idOwner,
  idEdit
};

// A subclass put on a window after the skinner's, passing everything on.
WNDPROC gLaterOld = nullptr;
LRESULT CALLBACK LaterSubclass(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  return CallWindowProcW(gLaterOld, wnd, msg, wparam, lparam);
}

class SkinControlsTest : public ::testing::Test {
protected:
  void SetUp() override {
    App();
    SetCursorPos(2, 2); // the pointer away from every window of the test
    TSkinManage::DestroyManager();
    Host = new TForm(&App());
    Data = LoadTestSkinData(Host);
    ASSERT_TRUE(Data->SkinLoaded());
  }
  void TearDown() override {
    for (TForm* form : Forms)
      delete form;
    for (HWND wnd : Dialogs)
      if (IsWindow(wnd)) DestroyWindow(wnd);
    delete Host;
    TSkinManage::DestroyManager();
    Pump(10);
  }

  // A form with controls made by `fill` before it is shown and skinned.
  template <class F>
  TForm* SkinnedForm(F fill) {
    auto* form = new TForm(&App());
    Forms.push_back(form);
    form->SetCaption("Controls");
    form->SetBounds(140, 110, 420, 300);
    fill(form);
    form->Show();
    SetForegroundWindow(form->Handle());
    EXPECT_TRUE(PumpUntil(
        [&] { return Skinner(form->Handle()) && Skinner(form->Handle())->Started(); }, 2000));
    Pump(50);
    return form;
  }
  template <class C>
  C* Add(TForm* form, const char* caption, int x, int y, int w = 100, int h = 30) {
    auto* c = new C(form);
    c->SetParent(form);
    c->SetBounds(x, y, w, h);
    c->SetCaption(caption);
    return c;
  }
  HWND SkinnedDialog(const TDialogTemplate& tmpl) {
    HWND dlg = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), tmpl.Get(), nullptr,
                                          RecordingDialogProc, 0);
    Dialogs.push_back(dlg);
    SetForegroundWindow(dlg);
    EXPECT_TRUE(PumpUntil([&] { return Skinner(dlg) && Skinner(dlg)->Started(); }, 2000));
    Pump(50);
    return dlg;
  }
  TWinSkinForm* Skinner(HWND wnd) {
    TSkinManage* manager = TSkinManage::Manager();
    return manager ? manager->FindSkinner(wnd) : nullptr;
  }
  void SwitchActive(bool active) {
    Data->SetActive(active);
    TSkinManage* manager = TSkinManage::Manager();
    PumpUntil([&] { return manager->PendingRequest() == 0; }, 2000);
    Pump(30);
  }

  TForm* Host = nullptr;
  TSkinData* Data = nullptr;
  std::vector<TForm*> Forms;
  std::vector<HWND> Dialogs;
};

// ---------------------------------------------------------------------------------------------
// Classification

TEST_F(SkinControlsTest, ToolkitControlsClassifiedByKindAndGivenTheirSkinner) {
  struct TRow {
    TControl* Control;
    TControlSkinKind Kind;
    const char* Skinner; // the skinner's class
  };
  std::vector<TRow> rows;
  TForm* form = SkinnedForm([&](TForm* f) {
    rows = {
        {Add<TButton>(f, "Button1", 10, 10), ckButton, "TSkinButton"},
        {Add<TBitBtn>(f, "BitBtnOK", 120, 10), ckBitButton, "TSkinBitButton"},
        {Add<TCheckBox>(f, "CheckBox", 230, 10), ckCheckBox, "TSkinCheckBox"},
        {Add<TRadioButton>(f, "Radio", 10, 50), ckRadioButton, "TSkinRadioButton"},
        {Add<TEdit>(f, "", 120, 50), ckEdit, "TSkinEdit"},
        {Add<TMemo>(f, "", 230, 50, 100, 40), ckScrollbar, "TSkinScrollbar"},
        {Add<TComboBox>(f, "", 10, 100), ckComboBox, "TSkinComBox"},
        {Add<TProgressBar>(f, "", 120, 100), ckProgress, "TSkinProgress"},
        {Add<TGroupBox>(f, "Group", 230, 100), ckGroupBox, "TSkinGroupBox"},
        {Add<TPanel>(f, "Panel", 10, 140), ckBox, "TSkinBox"},
        {Add<TTrackBar>(f, "", 120, 140), ckTrackBar, "TSkinTrackBar"},
        {Add<TScrollBar>(f, "", 230, 140), ckScControl, "TSkinScControl"},
        {Add<TListBox>(f, "", 340, 10, 60, 40), ckScrollbar, "TSkinScrollbar"},
        {Add<TListView>(f, "", 340, 60, 60, 40), ckListView, "TSkinListView"},
        {Add<TStatusBar>(f, "", 0, 240, 400, 20), ckStatusBar, "TSkinStatusBar"},
        {Add<TTabControl>(f, "", 10, 180, 100, 50), ckTab, "TSkinTab"},
        {Add<TUpDown>(f, "", 120, 180, 20, 24), ckUpDown, "TSkinUpDown"},
        {Add<TDateTimePicker>(f, "", 150, 180, 100, 24), ckDateTime, "TSkinDateTime"},
        {Add<TToolBar>(f, "", 260, 180, 100, 26), ckToolBar, "TSkinToolBar"},
    };
  });
  TWinSkinForm* skinner = Skinner(form->Handle());
  ASSERT_NE(skinner, nullptr);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Control->ClassName());
    EXPECT_STREQ(ControlSkinKindName(DecideControlClass(*row.Control, *Data, true).Kind),
                 ControlSkinKindName(row.Kind));
    TSkinControl* s = skinner->FindByControl(row.Control);
    ASSERT_NE(s, nullptr);
    EXPECT_STREQ(s->ClassName(), row.Skinner);
    auto* wc = static_cast<TWinControl*>(row.Control);
    EXPECT_EQ(SendMessageW(wc->Handle(), SKM_QUERY, 0, 0), 1);
  }
}

TEST_F(SkinControlsTest, SwitchesTagAndEventsDecideBeforeTheBuiltInRules) {
  // Each case changes the skin data, then classifies a fresh button on a skinned form.
  struct TCase {
    const char* Name;
    std::function<void(TButton*)> Prepare;
    bool Skinned;
  };
  int eventCalls = 0;
  const std::vector<TCase> cases = {
      {"plain", [](TButton*) {}, true},
      {"DisableTag", [&](TButton* b) { b->Tag = Data->DisableTag(); }, false},
      {"xcButton off",
       [&](TButton*) { Data->SetSkinControls(Data->SkinControls() & ~SkinBit(xcButton)); }, false},
      {"Skin3rd nil", [&](TButton*) { Data->SetSkin3rd({"tbutton=nil"}); }, false},
      {"Skin3rd unknown kind", [&](TButton*) { Data->SetSkin3rd({"TButton=Gadget"}); }, false},
      {"Skin3rd button", [&](TButton*) { Data->SetSkin3rd({"TBUTTON=Button"}); }, true},
      {"OnSkinControl any object",
       [&](TButton*) {
         Data->OnSkinControl = [&](TComponent*, TSkinData*, TControl*, TControl*,
                                   const std::string& cls, TComponent*& out) {
           ++eventCalls;
           EXPECT_EQ(cls, "TBUTTON");
           out = Host; // not a skinner: the built-in rules are skipped all the same
         };
       },
       false},
  };
  TForm* form = SkinnedForm([](TForm*) {});
  TWinSkinForm* skinner = Skinner(form->Handle());
  ASSERT_NE(skinner, nullptr);
  const unsigned controls = Data->SkinControls();
  const std::vector<std::string> skin3rd = Data->Skin3rd();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto* button = Add<TButton>(form, "Case", 10, 10);
    c.Prepare(button);
    skinner->ClassifyControl(button, form);
    EXPECT_EQ(skinner->FindByControl(button) != nullptr, c.Skinned);
    delete button;
    EXPECT_TRUE(skinner->Controls().empty());
    Data->SetSkinControls(controls);
    Data->SetSkin3rd(skin3rd);
    Data->OnSkinControl = nullptr;
  }
  EXPECT_EQ(eventCalls, 1);
}

TEST_F(SkinControlsTest, BitButtonWithoutItsSwitchIsNotSkinnedAsAPlainButton) {
  auto* bit = new TBitBtn(Host);
  Data->SetSkinControls(Data->SkinControls() & ~SkinBit(xcBitBtn));
  EXPECT_EQ(DecideControlClass(*bit, *Data, true).Kind, ckNone);
  Data->SetSkin3rd({"TBitBtn=checkbox"});
  EXPECT_EQ(DecideControlClass(*bit, *Data, true).Kind, ckCheckBox);
  EXPECT_TRUE(DecideControlClass(*bit, *Data, true).BySkin3rd);
}

TEST_F(SkinControlsTest, RawWindowsClassifiedByButtonTypeAndClass) {
  struct TRow {
    const char* Class;
    DWORD Style;
    TControlSkinKind Kind;
  };
  const TRow rows[] = {
      {"button", BS_PUSHBUTTON, ckButton},
      {"button", BS_DEFPUSHBUTTON, ckButton},
      {"button", BS_CHECKBOX, ckCheckBox},
      {"button", BS_AUTOCHECKBOX, ckCheckBox},
      {"button", BS_3STATE, ckCheckBox},
      {"button", BS_AUTO3STATE, ckCheckBox},
      {"button", BS_RADIOBUTTON, ckRadioButton}, // bit 2 alone is a radio button, no check box
      {"button", BS_AUTORADIOBUTTON, ckRadioButton},
      {"button", BS_GROUPBOX, ckNone},
      {"button", BS_OWNERDRAW, ckNone},
      {"button", BS_PUSHBUTTON | BS_BITMAP, ckNone},
      {"button", BS_PUSHBUTTON | WS_TABSTOP | BS_MULTILINE, ckButton},
      {"combobox", CBS_SIMPLE, ckNone},
      {"combobox", CBS_DROPDOWNLIST, ckComboBox},
      {"scrollbar", SBS_SIZEGRIP, ckSizer},
      {"scrollbar", WS_TABSTOP, ckNone},
      {"#32770", 0, ckDialog},
      {"systabcontrol32", 0, ckTab},
      {"systabcontrol32", 0x2000, ckNone},
      {"edit", WS_BORDER, ckEdit},
      {"static", 0, ckNone},
  };
  for (const TRow& row : rows)
    EXPECT_STREQ(ControlSkinKindName(DecideWindowClass(row.Class, row.Style, *Data).Kind),
                 ControlSkinKindName(row.Kind))
        << row.Class << " style " << std::hex << row.Style;
}

TEST_F(SkinControlsTest, UnicodeDialogButtonsAndEditsSkinnedGroupAndOwnerDrawNot) {
  TDialogTemplate tmpl(L"对话框", 200, 120);
  tmpl.Add(kButtonAtom, BS_PUSHBUTTON, L"添加", idAdd, 10, 10, 60, 16);
  tmpl.Add(kButtonAtom, BS_DEFPUSHBUTTON, L"删除", idDefault, 80, 10, 60, 16);
  tmpl.Add(kButtonAtom, BS_CHECKBOX, L"Check", idCheck, 10, 30, 60, 12);
  tmpl.Add(kButtonAtom, BS_AUTOCHECKBOX, L"Auto", idAutoCheck, 80, 30, 60, 12);
  tmpl.Add(kButtonAtom, BS_RADIOBUTTON, L"Radio", idRadio, 10, 46, 60, 12);
  tmpl.Add(kButtonAtom, BS_AUTORADIOBUTTON, L"AutoR", idAutoRadio, 80, 46, 60, 12);
  tmpl.Add(kButtonAtom, BS_GROUPBOX, L"Group", idGroup, 10, 62, 100, 30);
  tmpl.Add(kButtonAtom, BS_OWNERDRAW, L"Owner", idOwner, 120, 62, 60, 16);
  tmpl.Add(kEditAtom, WS_BORDER, L"编辑", idEdit, 120, 82, 60, 14);
  HWND dlg = SkinnedDialog(tmpl);
  TWinSkinForm* skinner = Skinner(dlg);
  ASSERT_NE(skinner, nullptr);
  const struct {
    WORD Id;
    const char* Skinner; // none: the control keeps its own look
  } items[] = {{idAdd, "TSkinButton"},
               {idDefault, "TSkinButton"},
               {idCheck, "TSkinCheckBox"},
               {idAutoCheck, "TSkinCheckBox"},
               {idRadio, "TSkinRadioButton"},
               {idAutoRadio, "TSkinRadioButton"},
               {idGroup, nullptr},
               {idOwner, nullptr},
               {idEdit, "TSkinEdit"}};
  for (const auto& item : items) {
    HWND wnd = GetDlgItem(dlg, item.Id);
    TSkinControl* s = skinner->FindByHandle(wnd);
    EXPECT_EQ(s != nullptr, item.Skinner != nullptr) << item.Id;
    if (s && item.Skinner) {
      EXPECT_STREQ(s->ClassName(), item.Skinner) << item.Id;
    }
    EXPECT_EQ(SendMessageW(wnd, SKM_QUERY, 0, 0) == 1, item.Skinner != nullptr) << item.Id;
  }
  EXPECT_EQ(skinner->Controls().size(), 7u);
  TSkinControl* add = skinner->FindByHandle(GetDlgItem(dlg, idAdd));
  ASSERT_NE(add, nullptr);
  EXPECT_TRUE(add->IsUnicode);
  EXPECT_EQ(add->Caption, L"添加");
  // The first button has the focus; the other is in its normal cell.
  EXPECT_EQ(FacePixel(GetDlgItem(dlg, idAdd)), ButtonCell(5));
  EXPECT_EQ(FacePixel(GetDlgItem(dlg, idDefault)), ButtonCell(1));

  // A press and release on the raw button: one BN_CLICKED with its id, at the release.
  gDialogCommands.clear();
  HWND item = GetDlgItem(dlg, idAdd);
  SendMessageW(item, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  Pump(20);
  EXPECT_TRUE(gDialogCommands.empty());
  SendMessageW(item, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Pump(30);
  ASSERT_EQ(gDialogCommands.size(), 1u);
  EXPECT_EQ(gDialogCommands[0], MAKEWPARAM(idAdd, BN_CLICKED));
  // A release without a press on the button clicks nothing.
  SendMessageW(item, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Pump(30);
  EXPECT_EQ(gDialogCommands.size(), 1u);
}

TEST_F(SkinControlsTest, DialogInsideAWindowSkinnedWithItsControls) {
  TForm* form = SkinnedForm([](TForm*) {});
  TDialogTemplate tmpl(L"", 120, 60, WS_CHILD | WS_VISIBLE | DS_CONTROL | DS_SETFONT);
  tmpl.Add(kButtonAtom, BS_PUSHBUTTON, L"Inner", idAdd, 10, 10, 60, 16);
  HWND page = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), tmpl.Get(), form->Handle(),
                                         RecordingDialogProc, 0);
  ASSERT_NE(page, nullptr);
  TWinSkinForm* skinner = Skinner(form->Handle());
  ASSERT_NE(skinner, nullptr);
  skinner->ClassifyWindow(page);
  EXPECT_NE(skinner->FindByHandle(page), nullptr);
  EXPECT_NE(skinner->FindByHandle(GetDlgItem(page, idAdd)), nullptr);
  const COLORREF face = FacePixel(GetDlgItem(page, idAdd)); // normal, or focused by the dialog
  EXPECT_TRUE(face == ButtonCell(1) || face == ButtonCell(5)) << std::hex << face;
  DestroyWindow(page);
  skinner->PurgeDestroyed();
  EXPECT_EQ(skinner->FindByHandle(page), nullptr);
}

// ---------------------------------------------------------------------------------------------
// Push buttons on the screen

TEST_F(SkinControlsTest, PushButtonStatesPaintedFromTheButtonsCells) {
  TButton *focus = nullptr, *button = nullptr;
  int clicks = 0, downs = 0;
  POINT downAt{};
  TForm* form = SkinnedForm([&](TForm* f) {
    focus = Add<TButton>(f, "Focus", 10, 10, 120, 34);
    button = Add<TButton>(f, "WWWWW", 10, 60, 120, 34);
    button->OnClick = [&](TObject*) { ++clicks; };
    button->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
      ++downs;
      downAt = {x, y};
    };
  });
  ASSERT_NE(Skinner(form->Handle()), nullptr);
  focus->SetFocus();
  Pump(30);
  HWND wnd = button->Handle();

  // Normal, and the focused one beside it.
  TShot shot = Shoot(wnd);
  EXPECT_EQ(shot.At(7, shot.Height / 2), ButtonCell(1));
  EXPECT_PRED2(Near, TextColour(shot, ButtonCell(1)), kNormalText) << Row(shot);
  EXPECT_EQ(FacePixel(focus->Handle()), ButtonCell(5));

  // Hot: the pointer over the button and the toolkit's mouse-enter notice.
  RECT r{};
  GetWindowRect(wnd, &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  button->Perform(CM_MOUSEENTER);
  shot = Shoot(wnd);
  EXPECT_EQ(shot.At(7, shot.Height / 2), ButtonCell(4));
  EXPECT_PRED2(Near, TextColour(shot, ButtonCell(4)), kHotText) << Row(shot);

  // Pressed: down cell until the release, which clicks once.
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
  shot = Shoot(wnd);
  EXPECT_EQ(shot.At(7, shot.Height / 2), ButtonCell(2));
  EXPECT_PRED2(Near, TextColour(shot, ButtonCell(2)), kPressedText) << Row(shot);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(GetFocus(), wnd);
  // The press the skinner took still reaches the application's mouse-down handler.
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(downAt.x, 20);
  EXPECT_EQ(downAt.y, 10);
  SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(20, 10));
  Pump(20);
  EXPECT_EQ(clicks, 1);
  // Focused (and hot still): hot wins; once the pointer leaves, the focused cell shows.
  button->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(FacePixel(wnd), ButtonCell(5));

  // Space clicks through the button's own handling.
  SendMessageW(wnd, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(FacePixel(wnd), ButtonCell(2));
  SendMessageW(wnd, WM_KEYUP, VK_SPACE, 0);
  Pump(30);
  EXPECT_EQ(clicks, 2);

  // Disabled.
  focus->SetFocus();
  button->SetEnabled(false);
  shot = Shoot(wnd);
  EXPECT_EQ(shot.At(7, shot.Height / 2), ButtonCell(3));
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  EXPECT_PRED2(Near, TextColour(shot, ButtonCell(3), GetGValue(shadow)), shadow) << Row(shot);
  button->SetEnabled(true);
  EXPECT_EQ(FacePixel(wnd), ButtonCell(1));
}

TEST_F(SkinControlsTest, SkinPaintingSwitchedOffAndOnByEnableMessage) {
  TButton* button = nullptr;
  TForm* form = SkinnedForm([&](TForm* f) {
    Add<TButton>(f, "Focus", 10, 10);
    button = Add<TButton>(f, "Off", 10, 60, 120, 34);
  });
  ASSERT_NE(Skinner(form->Handle()), nullptr);
  HWND wnd = button->Handle();
  EXPECT_EQ(FacePixel(wnd), ButtonCell(1));
  SendMessageW(wnd, SKM_ENABLE, 0, 0);
  // Off: the control's own look and handling; the skin's question passes to it.
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_NE(FacePixel(wnd), ButtonCell(1));
  EXPECT_NE(SendMessageW(wnd, SKM_QUERY, 0, 0), 1);
  // On: painted at once.
  SendMessageW(wnd, SKM_ENABLE, 1, 0);
  EXPECT_EQ(FacePixel(wnd), ButtonCell(1));
  EXPECT_EQ(SendMessageW(wnd, SKM_QUERY, 0, 0), 1);
}

TEST_F(SkinControlsTest, ForeignContextKeepsItsStateAroundThePaint) {
  TButton* button = nullptr;
  SkinnedForm([&](TForm* f) {
    Add<TButton>(f, "Focus", 10, 10);
    button = Add<TButton>(f, "Ctx", 10, 60, 120, 34);
  });
  HWND wnd = button->Handle();
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 120, 34);
  HGDIOBJ oldBmp = SelectObject(dc, bmp);
  HFONT font = static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT));
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetTextColor(dc, RGB(1, 2, 3));
  SetBkMode(dc, OPAQUE);
  SendMessageW(wnd, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  EXPECT_EQ(GetPixel(dc, 7, 17), ButtonCell(1));
  EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), bmp);
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBmp);
  DeleteObject(bmp);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}

// ---------------------------------------------------------------------------------------------
// Check boxes, radio buttons and edits on the screen

// The colour of the box's centre: the box is at the control's left, centred vertically.
COLORREF BoxPixel(HWND wnd) {
  const TShot shot = Shoot(wnd);
  return shot.At(6, shot.Height / 2);
}

TEST_F(SkinControlsTest, CheckAndRadioBoxesDrawTheirStateCell) {
  // The test skin's strips: check box 12 cells (unchecked 1-4, checked 5-8, grayed 9-12: normal,
  // hot, pressed, disabled), radio button 8 cells (unchecked 1-4, checked 5-8).
  struct TRow {
    const char* Name;
    int State; // 0 unchecked, 1 checked, 2 grayed
    bool Radio, Disabled;
    int Cell; // from 1
  };
  const TRow rows[] = {
      {"unchecked", 0, false, false, 1},  {"checked", 1, false, false, 5},
      {"grayed", 2, false, false, 9},     {"unchecked off", 0, false, true, 4},
      {"checked off", 1, false, true, 8}, {"grayed off", 2, false, true, 12},
      {"radio", 0, true, false, 1},       {"radio checked", 1, true, false, 5},
      {"radio off", 0, true, true, 4},    {"radio checked off", 1, true, true, 8},
  };
  std::vector<TControl*> controls;
  SkinnedForm([&](TForm* f) {
    int y = 10;
    for (const TRow& row : rows) {
      TControl* c = nullptr;
      if (row.Radio) {
        // Each radio button in a parent of its own: checking one unchecks its siblings.
        auto* group = Add<TPanel>(f, "", 10, y, 180, 22);
        auto* radio = Add<TRadioButton>(f, row.Name, 0, 0, 180, 22);
        radio->SetParent(group);
        radio->SetChecked(row.State == 1);
        c = radio;
      } else {
        auto* box = Add<TCheckBox>(f, row.Name, 10, y, 180, 22);
        box->SetAllowGrayed(true);
        box->SetState(row.State);
        c = box;
      }
      c->SetEnabled(!row.Disabled);
      controls.push_back(c);
      y += 24;
    }
  });
  for (size_t i = 0; i < controls.size(); ++i) {
    const TRow& row = rows[i];
    HWND wnd = static_cast<TWinControl*>(controls[i])->Handle();
    const COLORREF cell = Colour(row.Radio ? tiRadioButton : tiCheckBox, row.Cell - 1);
    EXPECT_EQ(BoxPixel(wnd), cell) << row.Name;
    // The rest of the control is the skin's face.
    const TShot shot = Shoot(wnd);
    EXPECT_EQ(shot.At(shot.Width - 2, 1), TestSkin::ButtonFace) << row.Name;
  }
}

TEST_F(SkinControlsTest, CheckBoxClickedByThePointerRepaintsItsNewState) {
  TCheckBox* box = nullptr;
  SkinnedForm([&](TForm* f) { box = Add<TCheckBox>(f, "Click me", 10, 10, 180, 24); });
  HWND wnd = box->Handle();
  EXPECT_EQ(BoxPixel(wnd), Colour(tiCheckBox, 0));
  RECT r{};
  GetWindowRect(wnd, &r);
  for (int click = 1; click <= 2; ++click) {
    SetCursorPos(r.left + 6, (r.top + r.bottom) / 2);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
    PumpUntil([&] { return box->Checked() == (click == 1); }, 2000);
    EXPECT_EQ(box->Checked(), click == 1);
    EXPECT_EQ(BoxPixel(wnd), Colour(tiCheckBox, click == 1 ? 4 : 0)) << click;
  }
  SetCursorPos(2, 2);
}

TEST_F(SkinControlsTest, RawDialogBoxesPaintedOverTheSystemsAndFollowTheirCheck) {
  TDialogTemplate tmpl(L"Raw", 200, 80);
  tmpl.Add(kButtonAtom, BS_AUTOCHECKBOX, L"Auto", idAutoCheck, 10, 10, 80, 12);
  tmpl.Add(kButtonAtom, BS_AUTORADIOBUTTON, L"AutoR", idAutoRadio, 10, 30, 80, 12);
  HWND dlg = SkinnedDialog(tmpl);
  ASSERT_NE(Skinner(dlg), nullptr);
  HWND check = GetDlgItem(dlg, idAutoCheck), radio = GetDlgItem(dlg, idAutoRadio);
  EXPECT_EQ(BoxPixel(check), Colour(tiCheckBox, 0));
  EXPECT_EQ(BoxPixel(radio), Colour(tiRadioButton, 0));
  SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageW(radio, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(BoxPixel(check), Colour(tiCheckBox, 4));
  EXPECT_EQ(BoxPixel(radio), Colour(tiRadioButton, 4));
  // The caption stays the system's: the text's pixels are not the skin's face.
  EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(SkinControlsTest, EditsFramedFlatBorderlessOnesLeftAlone) {
  TEdit* edit = nullptr;
  TForm* form = SkinnedForm([&](TForm* f) {
    edit = Add<TEdit>(f, "", 10, 10, 160, 26);
    edit->SetText("Text");
  });
  HWND bare = CreateWindowExW(0, L"EDIT", L"bare", WS_CHILD | WS_VISIBLE, 10, 50, 160, 22,
                              form->Handle(), nullptr, nullptr, nullptr);
  HWND bordered = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"raw", WS_CHILD | WS_VISIBLE, 10, 80,
                                  160, 24, form->Handle(), nullptr, nullptr, nullptr);
  TWinSkinForm* skinner = Skinner(form->Handle());
  ASSERT_NE(skinner, nullptr);
  skinner->ClassifyWindow(bare);
  skinner->ClassifyWindow(bordered);
  for (HWND wnd : {edit->Handle(), bordered}) {
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    const TShot shot = Shoot(wnd);
    const int y = shot.Height / 2, x = shot.Width / 2;
    EXPECT_EQ(shot.At(0, y), TestSkin::ButtonShadow);
    EXPECT_EQ(shot.At(x, 0), TestSkin::ButtonShadow);
    EXPECT_EQ(shot.At(shot.Width - 1, y), TestSkin::ButtonShadow);
    EXPECT_EQ(shot.At(1, y), RGB(255, 255, 255));
    EXPECT_EQ(shot.At(x, shot.Height - 2), RGB(255, 255, 255));
  }
  // Focus moves repaint the system's border; the frame comes back with it.
  SetFocus(edit->Handle());
  Pump(20);
  SetFocus(bordered);
  EXPECT_EQ(Shoot(edit->Handle()).At(0, 5), TestSkin::ButtonShadow);
  // A borderless edit is skinned but keeps its look.
  EXPECT_EQ(SendMessageW(bare, SKM_QUERY, 0, 0), 1);
  EXPECT_NE(Shoot(bare).At(0, 5), TestSkin::ButtonShadow);
  DestroyWindow(bare);
  DestroyWindow(bordered);
}

TEST_F(SkinControlsTest, ToolBarMadeFlatWithSkinnedHotButtonsAndGivenBack) {
  TToolBar* bar = nullptr;
  int ownBackground = 0;
  SkinnedForm([&](TForm* f) {
    bar = Add<TToolBar>(f, "", 10, 10, 300, 30);
    for (const char* caption : {"One", "Two", "Three"}) {
      auto* b = new TToolButton(f);
      b->SetParent(bar);
      b->SetCaption(caption);
    }
    // The application's own background painter stays in place.
    bar->OnCustomDraw = [&](TToolBar*, HDC, const RECT&, bool&) { ++ownBackground; };
  });
  EXPECT_TRUE(bar->Flat());
  EXPECT_TRUE(bar->OnCustomDrawButton);
  HWND wnd = bar->Handle();
  SendMessageW(wnd, TB_SETHOTITEM, 1, 0);
  RECT item{};
  SendMessageW(wnd, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
  const int y = (item.top + item.bottom) / 2;
  // The hot button's plate is the "Buttons" hot cell (its left margin here); the others are flat.
  TShot shot = Shoot(wnd);
  EXPECT_EQ(shot.At(item.left + 2, y), Colour(tiButtons, 3, cpLeft)) << Row(shot);
  RECT first{};
  SendMessageW(wnd, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  EXPECT_NE(shot.At(first.left + 2, y), Colour(tiButtons, 3, cpLeft));
  EXPECT_GT(ownBackground, 0);

  SwitchActive(false);
  EXPECT_FALSE(bar->Flat());
  EXPECT_FALSE(bar->OnCustomDrawButton);
  EXPECT_TRUE(bar->OnCustomDraw);
  SendMessageW(bar->Handle(), TB_SETHOTITEM, 1, 0);
  shot = Shoot(bar->Handle());
  EXPECT_NE(shot.At(item.left + 2, y), Colour(tiButtons, 3, cpLeft));
}

// ---------------------------------------------------------------------------------------------
// Giving controls back

TEST_F(SkinControlsTest, UnskinningGivesTheControlsBackAndKeepsLaterHandlers) {
  TButton *button = nullptr, *watched = nullptr;
  TCheckBox* box = nullptr;
  TEdit* edit = nullptr;
  TForm* form = SkinnedForm([&](TForm* f) {
    button = Add<TButton>(f, "Back", 10, 10, 120, 34);
    watched = Add<TButton>(f, "Watched", 10, 60, 120, 34);
    box = Add<TCheckBox>(f, "Box", 10, 110, 120, 24);
    edit = Add<TEdit>(f, "", 10, 150, 120, 26);
  });
  EXPECT_EQ(BoxPixel(box->Handle()), Colour(tiCheckBox, 0));
  EXPECT_EQ(Shoot(edit->Handle()).At(0, 5), TestSkin::ButtonShadow);
  ASSERT_NE(Skinner(form->Handle()), nullptr);
  EXPECT_EQ(SendMessageW(button->Handle(), SKM_QUERY, 0, 0), 1);
  EXPECT_EQ(SendMessageW(watched->Handle(), SKM_QUERY, 0, 0), 1);
  // Someone puts a handler in front of the skinner on one button.
  int seen = 0;
  TWndMethod saved = watched->WindowProc;
  watched->WindowProc = [&, saved](TMessage& m) {
    if (m.Msg == WM_GETTEXTLENGTH) ++seen;
    saved(m);
  };
  SwitchActive(false);
  EXPECT_EQ(Skinner(form->Handle()), nullptr);
  for (TButton* b : {button, watched}) {
    EXPECT_NE(SendMessageW(b->Handle(), SKM_QUERY, 0, 0), 1);
    EXPECT_NE(FacePixel(b->Handle()), ButtonCell(5));
    EXPECT_NE(FacePixel(b->Handle()), ButtonCell(1));
  }
  // Check box and edit: their own look and handling again.
  for (TWinControl* c : {static_cast<TWinControl*>(box), static_cast<TWinControl*>(edit)})
    EXPECT_NE(SendMessageW(c->Handle(), SKM_QUERY, 0, 0), 1) << c->ClassName();
  EXPECT_NE(BoxPixel(box->Handle()), Colour(tiCheckBox, 0));
  EXPECT_NE(Shoot(edit->Handle()).At(0, 5), TestSkin::ButtonShadow);
  // The later handler still runs and reaches the control through the skinner's old place.
  EXPECT_EQ(SendMessageW(watched->Handle(), WM_GETTEXTLENGTH, 0, 0), 7);
  EXPECT_EQ(seen, 1);
  watched->WindowProc = saved; // given back by its owner: the chain still ends at the control
  EXPECT_EQ(SendMessageW(watched->Handle(), WM_GETTEXTLENGTH, 0, 0), 7);
}

TEST_F(SkinControlsTest, RawButtonProcedureRestoredOnlyWhileStillOurs) {
  TDialogTemplate tmpl(L"Raw", 160, 60);
  tmpl.Add(kButtonAtom, BS_PUSHBUTTON, L"One", idAdd, 10, 10, 60, 16);
  tmpl.Add(kButtonAtom, BS_PUSHBUTTON, L"Two", idDefault, 80, 10, 60, 16);
  HWND dlg = SkinnedDialog(tmpl);
  ASSERT_NE(Skinner(dlg), nullptr);
  HWND one = GetDlgItem(dlg, idAdd), two = GetDlgItem(dlg, idDefault);
  HWND plain =
      CreateWindowW(L"BUTTON", L"x", WS_CHILD, 0, 0, 10, 10, dlg, nullptr, nullptr, nullptr);
  const LONG_PTR systemProc = GetWindowLongPtrW(plain, GWLP_WNDPROC);
  DestroyWindow(plain);
  // A later subclass on the second button.
  gLaterOld = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(two, GWLP_WNDPROC));
  const WNDPROC laterProc = LaterSubclass;
  SetWindowLongPtrW(two, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(laterProc));
  SwitchActive(false);
  EXPECT_EQ(GetWindowLongPtrW(one, GWLP_WNDPROC), systemProc);
  EXPECT_EQ(GetWindowLongPtrW(two, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(laterProc));
  EXPECT_NE(SendMessageW(two, SKM_QUERY, 0, 0), 1);
  EXPECT_EQ(SendMessageW(two, WM_GETTEXTLENGTH, 0, 0), 3);
}

// Every kind of control on one form, skin switched off and on 50 times: off, no control
// answers the skin's question; on, every one does again; nothing is left behind.
TEST_F(SkinControlsTest, EveryKindGivenBackAndSkinnedAgainFiftyTimes) {
  std::vector<TWinControl*> controls;
  TForm* form = SkinnedForm([&](TForm* f) {
    f->SetBounds(40, 40, 700, 460);
    auto add = [&](TWinControl* c, int x, int y, int w, int h) {
      c->SetParent(f);
      c->SetBounds(x, y, w, h);
      controls.push_back(c);
      return c;
    };
    add(new TButton(f), 10, 10, 90, 26)->SetCaption("Button");
    add(new TBitBtn(f), 110, 10, 90, 26)->SetCaption("Bit");
    add(new TCheckBox(f), 210, 10, 90, 22)->SetCaption("Check");
    add(new TRadioButton(f), 310, 10, 90, 22)->SetCaption("Radio");
    add(new TEdit(f), 410, 10, 90, 24);
    auto* memo = static_cast<TMemo*>(add(new TMemo(f), 10, 50, 120, 60));
    memo->SetScrollBars(ssVertical);
    static_cast<TListBox*>(add(new TListBox(f), 140, 50, 120, 60))
        ->SetItems({"1", "2", "3", "4", "5", "6", "7", "8"});
    static_cast<TComboBox*>(add(new TComboBox(f), 270, 50, 120, 24))->SetItems({"a", "b"});
    add(new TGroupBox(f), 400, 50, 120, 60)->SetCaption("Group");
    add(new TPanel(f), 530, 50, 120, 60)->SetCaption("Panel");
    static_cast<TProgressBar*>(add(new TProgressBar(f), 10, 130, 120, 18))->SetPosition(40);
    add(new TTrackBar(f), 140, 130, 120, 30);
    add(new TScrollBar(f), 270, 130, 120, 18);
    auto* view = static_cast<TListView*>(add(new TListView(f), 400, 130, 150, 80));
    view->SetViewStyle(vsReport);
    view->SetColumns({{"Name", 60}, {"Size", 50}});
    static_cast<THeaderControl*>(add(new THeaderControl(f), 10, 220, 200, 22))
        ->SetSections({{"One", 80}, {"Two", 80}});
    static_cast<TTabControl*>(add(new TTabControl(f), 220, 220, 200, 80))->SetTabs({"A", "B"});
    add(new TDateTimePicker(f), 430, 220, 140, 24);
    add(new TUpDown(f), 580, 220, 20, 24);
    static_cast<TStatusBar*>(add(new TStatusBar(f), 0, 400, 680, 22))->SetPanels({{"S", 100}});
  });
  ASSERT_NE(Skinner(form->Handle()), nullptr);
  auto answering = [&] {
    int n = 0;
    for (TWinControl* c : controls)
      n += SendMessageW(c->Handle(), SKM_QUERY, 0, 0) == 1;
    return n;
  };
  const int all = static_cast<int>(controls.size());
  EXPECT_EQ(answering(), all);
  auto children = [&] {
    int n = 0;
    for (HWND c = GetTopWindow(form->Handle()); c; c = GetWindow(c, GW_HWNDNEXT))
      ++n;
    return n;
  };
  long before = -1;
  int windows = 0;
  for (int i = 0; i < 52; ++i) {
    if (i == 2) { // after a warm-up: fonts and caches made on first use
      before = GdiCount::Count();
      windows = children();
    }
    SwitchActive(false);
    ASSERT_EQ(answering(), 0) << i;
    SwitchActive(true);
    ASSERT_TRUE(PumpUntil([&] { return answering() == all; }, 2000)) << i << ": " << answering();
  }
  Pump(20);
  ASSERT_GE(before, 0L);
  EXPECT_LE(GdiCount::Count() - before, 2L);
  EXPECT_EQ(children(), windows);
}

TEST_F(SkinControlsTest, ManyControlsSkinnedAndDestroyedLeaveNothingBehind) {
  TForm* form = SkinnedForm([](TForm*) {});
  TWinSkinForm* skinner = Skinner(form->Handle());
  ASSERT_NE(skinner, nullptr);
  const size_t start = skinner->Controls().size();
  // Toolkit controls and raw windows of each kind with a skinner, in turn.
  struct TRaw {
    const wchar_t* Class;
    DWORD Style, ExStyle;
  };
  const TRaw raws[] = {{L"BUTTON", BS_PUSHBUTTON, 0},
                       {L"BUTTON", BS_AUTOCHECKBOX, 0},
                       {L"BUTTON", BS_AUTORADIOBUTTON, 0},
                       {L"EDIT", 0, WS_EX_CLIENTEDGE}};
  auto makeControl = [&](int i) -> TWinControl* {
    switch (i % 4) {
    case 0:
      return Add<TButton>(form, "Cycle", 10, 10);
    case 1:
      return Add<TCheckBox>(form, "Cycle", 10, 10);
    case 2:
      return Add<TRadioButton>(form, "Cycle", 10, 10);
    default:
      return Add<TEdit>(form, "", 10, 10);
    }
  };
  auto cycle = [&](int i) {
    if (i % 2 == 0) {
      TWinControl* control = makeControl(i / 2);
      skinner->ClassifyControl(control, form);
      EXPECT_EQ(skinner->Controls().size(), start + 1) << control->ClassName();
      UpdateWindow(control->Handle());
      delete control;
    } else {
      const TRaw& raw = raws[(i / 2) % 4];
      HWND wnd = CreateWindowExW(raw.ExStyle, raw.Class, L"Raw", WS_CHILD | WS_VISIBLE | raw.Style,
                                 10, 50, 80, 24, form->Handle(), nullptr, nullptr, nullptr);
      skinner->ClassifyWindow(wnd);
      EXPECT_EQ(skinner->Controls().size(), start + 1) << i;
      UpdateWindow(wnd);
      DestroyWindow(wnd);
      skinner->PurgeDestroyed();
    }
    EXPECT_EQ(skinner->Controls().size(), start);
  };
  for (int i = 0; i < 16; ++i)
    cycle(i); // warm-up: fonts and caches made on first use
  Pump(20);
  const long before = GdiCount::Count();
  for (int i = 0; i < 200; ++i)
    cycle(i);
  Pump(20);
  const long after = GdiCount::Count();
  ASSERT_GE(before, 0L);
  EXPECT_LE(after - before, 2L) << before << " -> " << after;
}

} // namespace
