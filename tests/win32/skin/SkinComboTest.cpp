// Combo boxes, spin buttons and date-time pickers on skinned forms with the test skin: their
// frames and button cells read back from the screen in each state, real clicks still reaching
// the controls (the list drops, the calendar opens), the edit child's procedure and the
// control's colour given back, and many skin/unskin cycles.
#include "SkinCombo.h"
#include "SkinDateTime.h"
#include "SkinEdit.h"
#include "SkinManage.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

#include "ComCtrls.h"
#include "Forms.h"
#include "GdiCount.h"
#include "SkinTestSupport.h"
#include "StdCtrls.h"
#include "TestSkin.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace TestSkin;

POINT Centre(const RECT& r) {
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// A real left click (or press only) at a screen point.
void Press(POINT at, bool release = true) {
  SetCursorPos(at.x, at.y);
  Pump(20);
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(release ? 2 : 1, input, sizeof(INPUT));
}
void Release() {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(1, &input, sizeof(INPUT));
}

// Calls of the list skinner hook.
struct TFactoryCall {
  HWND List;
  bool Simple;
};
std::vector<TFactoryCall> gFactoryCalls;
TSkinControl* RecordingFactory(TSkinComBox*, HWND list, bool simple) {
  gFactoryCalls.push_back({list, simple});
  return nullptr;
}

WNDPROC gLaterOld = nullptr;
LRESULT CALLBACK LaterSubclass(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  return CallWindowProcA(gLaterOld, wnd, msg, wparam, lparam);
}

class SkinComboTest : public ::testing::Test {
protected:
  void SetUp() override {
    App();
    SetCursorPos(2, 2);
    TSkinManage::DestroyManager();
    Host = new TForm(&App());
    Data = LoadTestSkinData(Host);
    ASSERT_TRUE(Data->SkinLoaded());
  }
  void TearDown() override {
    ComboListSkinnerFactory = MakeComboListSkinner;
    SetCursorPos(2, 2);
    delete Form;
    delete Host;
    TSkinManage::DestroyManager();
    Pump(10);
  }
  template <class F>
  TForm* SkinnedForm(F fill) {
    Form = new TForm(&App());
    Form->SetCaption("Combos");
    Form->SetBounds(140, 110, 420, 300);
    fill(Form);
    Form->Show();
    SetForegroundWindow(Form->Handle());
    EXPECT_TRUE(PumpUntil([&] { return Skinner() && Skinner()->Started(); }, 2000));
    Pump(50);
    return Form;
  }
  template <class C>
  C* Add(TForm* form, int x, int y, int w, int h) {
    auto* c = new C(form);
    c->SetParent(form);
    c->SetBounds(x, y, w, h);
    return c;
  }
  TWinSkinForm* Skinner() {
    TSkinManage* manager = TSkinManage::Manager();
    return manager && Form ? manager->FindSkinner(Form->Handle()) : nullptr;
  }
  template <class S>
  S* SkinnerOf(TControl* c) {
    return Skinner() ? dynamic_cast<S*>(Skinner()->FindByControl(c)) : nullptr;
  }
  void SwitchActive(bool active) {
    Data->SetActive(active);
    TSkinManage* manager = TSkinManage::Manager();
    PumpUntil([&] { return manager->PendingRequest() == 0; }, 2000);
    Pump(30);
  }

  TForm* Host = nullptr;
  TForm* Form = nullptr;
  TSkinData* Data = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Combo boxes

TEST_F(SkinComboTest, ComboFrameAndButtonCellFollowTheState) {
  TComboBox* combo = nullptr;
  TButton* other = nullptr;
  SkinnedForm([&](TForm* f) {
    combo = Add<TComboBox>(f, 10, 10, 150, 24);
    combo->SetStyle(csDropDownList);
    other = Add<TButton>(f, 200, 10, 80, 24);
  });
  auto* skinner = SkinnerOf<TSkinComBox>(combo);
  ASSERT_NE(skinner, nullptr);
  HWND wnd = combo->Handle();
  struct TCase {
    const char* Name;
    int Look;      // the "ComboButton" element's Style
    bool LeftHand; // WS_EX_LEFTSCROLLBAR
    bool Focus, Down, Disabled;
    int Cell;
  };
  const TCase cases[] = {
      {"flat normal", 1, false, false, false, false, 1},
      {"flat focused", 1, false, true, false, false, 4},
      {"flat pressed", 1, false, false, true, false, 2},
      {"flat disabled", 1, false, false, false, true, 3},
      {"flat left-hand", 1, true, false, false, false, 1},
      {"edge normal", 0, false, false, false, false, 1},
      {"edge left-hand", 0, true, false, false, false, 1},
      {"edge left-hand focused", 0, true, true, false, false, 4},
  };
  const LONG ex = GetWindowLongW(wnd, GWL_EXSTYLE);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Data->ComboButton->Style = c.Look;
    SetWindowLongW(wnd, GWL_EXSTYLE, c.LeftHand ? ex | WS_EX_LEFTSCROLLBAR : ex);
    combo->SetEnabled(!c.Disabled);
    if (c.Focus)
      combo->SetFocus();
    else
      other->SetFocus();
    skinner->MouseFlags = c.Down ? TSkinControl::mfDown : 0;
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
    const TShot shot = Shoot(wnd);
    const RECT b = skinner->ButtonRect;
    EXPECT_EQ(b.left < shot.Width / 2, c.LeftHand);
    EXPECT_EQ(shot.At(Centre(b).x, b.top + 3), Colour(tiComboButton, c.Cell - 1));
    if (c.Look == 1) {
      EXPECT_EQ(shot.At(0, shot.Height / 2), ButtonShadow);
    }
  }
  skinner->MouseFlags = 0;
}

TEST_F(SkinComboTest, ComboWithoutAButtonImageOrWithASimpleListKeepsTheSystemLook) {
  struct TCase {
    const char* Name;
    int Style;
    void (*Spoil)(TSkinData&);
    bool Skinned;
  };
  const TCase cases[] = {
      {"skinned", csDropDownList, [](TSkinData&) {}, true},
      {"no image", csDropDownList, [](TSkinData& d) { d.ComboButton->Image = TBitmap(); }, false},
      {"no element", csDropDownList, [](TSkinData& d) { d.ComboButton.reset(); }, false},
      {"simple combo", csSimple, [](TSkinData&) {}, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TComboBox* combo = nullptr;
    TButton* other = nullptr;
    SkinnedForm([&](TForm* f) {
      combo = Add<TComboBox>(f, 10, 10, 150, c.Style == csSimple ? 80 : 24);
      combo->SetStyle(c.Style);
      other = Add<TButton>(f, 200, 10, 80, 24);
    });
    other->SetFocus(); // no caret blinking in the combo's edit
    ASSERT_NE(SkinnerOf<TSkinComBox>(combo), nullptr);
    c.Spoil(*Data);
    HWND wnd = combo->Handle();
    const UINT redraw = RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN;
    SendMessageW(wnd, SKM_ENABLE, 0, 0);
    RedrawWindow(wnd, nullptr, nullptr, redraw);
    const TShot system = Shoot(wnd);
    SendMessageW(wnd, SKM_ENABLE, 1, 0);
    RedrawWindow(wnd, nullptr, nullptr, redraw);
    const TShot skinned = Shoot(wnd);
    EXPECT_EQ(skinned.Pixels != system.Pixels, c.Skinned);
    delete Form;
    Form = nullptr;
    TSkinManage::DestroyManager();
    Data = LoadTestSkinData(Host);
  }
}

TEST_F(SkinComboTest, ListSkinnerHookAskedForEachDropDownAndTheSimpleList) {
  ComboListSkinnerFactory = RecordingFactory;
  gFactoryCalls.clear();
  TComboBox *list = nullptr, *edit = nullptr, *simple = nullptr;
  SkinnedForm([&](TForm* f) {
    list = Add<TComboBox>(f, 10, 10, 150, 24);
    list->SetStyle(csDropDownList);
    edit = Add<TComboBox>(f, 10, 50, 150, 24); // drop-down with an edit
    simple = Add<TComboBox>(f, 10, 90, 150, 90);
    simple->SetStyle(csSimple);
  });
  ASSERT_EQ(gFactoryCalls.size(), 3u);
  int simpleCalls = 0;
  for (const TFactoryCall& call : gFactoryCalls) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    bool found = false;
    for (TComboBox* c : {list, edit, simple})
      if (GetComboBoxInfo(c->Handle(), &info) && info.hwndList == call.List) {
        found = true;
        EXPECT_EQ(call.Simple, c == simple);
      }
    EXPECT_TRUE(found);
    simpleCalls += call.Simple;
  }
  EXPECT_EQ(simpleCalls, 1);
}

TEST_F(SkinComboTest, PointerOverTheButtonMakesItHotWithSignedCoordinates) {
  TComboBox* combo = nullptr;
  SkinnedForm([&](TForm* f) {
    combo = Add<TComboBox>(f, 10, 10, 150, 24);
    combo->SetStyle(csDropDownList);
  });
  auto* skinner = SkinnerOf<TSkinComBox>(combo);
  ASSERT_NE(skinner, nullptr);
  HWND wnd = combo->Handle();
  Data->ComboButton->Style = 0;
  // With a border the client starts 2 pixels into the window.
  const LONG ex = GetWindowLongW(wnd, GWL_EXSTYLE) | WS_EX_CLIENTEDGE;
  struct TCase {
    bool LeftHand;
    int X, Y;
    bool Hot;
  };
  SetWindowLongW(wnd, GWL_EXSTYLE, ex);
  SetWindowPos(wnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  RECT client{};
  GetClientRect(wnd, &client);
  const TCase cases[] = {{false, client.right - 4, 5, true},
                         {false, 5, 5, false},
                         {true, -1, 5, true}, // over the button part in the left border
                         {true, 60, 5, false}};
  for (const TCase& c : cases) {
    SetWindowLongW(wnd, GWL_EXSTYLE, c.LeftHand ? ex | WS_EX_LEFTSCROLLBAR : ex);
    SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    skinner->MouseFlags = 0;
    SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(c.X, c.Y));
    EXPECT_EQ((skinner->MouseFlags & TSkinControl::mfHot) != 0, c.Hot) << c.X << "," << c.Y;
  }
  SendMessageW(wnd, CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(skinner->MouseFlags & TSkinControl::mfHot, 0);
}

TEST_F(SkinComboTest, ClickOnTheSkinnedArrowDropsTheList) {
  TComboBox* combo = nullptr;
  SkinnedForm([&](TForm* f) {
    combo = Add<TComboBox>(f, 10, 10, 150, 24);
    combo->SetStyle(csDropDownList);
    combo->SetItems({"one", "two"});
  });
  auto* skinner = SkinnerOf<TSkinComBox>(combo);
  ASSERT_NE(skinner, nullptr);
  HWND wnd = combo->Handle();
  Shoot(wnd);
  RECT window{};
  GetWindowRect(wnd, &window);
  POINT at = Centre(skinner->ButtonRect);
  Press({window.left + at.x, window.top + at.y});
  EXPECT_TRUE(PumpUntil([&] { return SendMessageW(wnd, CB_GETDROPPEDSTATE, 0, 0) != 0; }, 2000));
  // The dropped list has the skin's scroll-bar skinner of its own.
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(wnd, &info));
  EXPECT_EQ(SendMessageW(info.hwndList, SKM_QUERY, 0, 0), 1);
  EXPECT_NE(skinner->DropScroller, nullptr);
  SendMessageW(wnd, CB_SHOWDROPDOWN, FALSE, 0);
}

TEST_F(SkinComboTest, ColourAndEditProcedureGivenBackAtUnskin) {
  struct TCase {
    const char* Name;
    bool LaterSubclass; // someone subclassed the edit after us
  };
  for (const TCase& c : {TCase{"alone", false}, TCase{"later subclass", true}}) {
    SCOPED_TRACE(c.Name);
    TComboBox* combo = nullptr;
    // The classifier leaves combos alone: this test attaches its own skinner.
    Data->SetSkinControls(Data->SkinControls() & ~SkinBit(xcCombo));
    SkinnedForm([&](TForm* f) { combo = Add<TComboBox>(f, 10, 10, 150, 24); });
    combo->SetColor(clRed);
    HWND edit = GetTopWindow(combo->Handle());
    ASSERT_NE(edit, nullptr);
    const LONG_PTR original = GetWindowLongPtrA(edit, GWLP_WNDPROC);
    auto* skinner = new TSkinComBox(combo);
    skinner->AttachControl(nullptr, Data, true);
    ASSERT_TRUE(skinner->Attached);
    EXPECT_TRUE(skinner->EditHooked());
    EXPECT_EQ(combo->Color(), Data->Colours[scButtonFace]);
    skinner->AttachControl(nullptr, Data, true); // a second attach changes nothing
    if (c.LaterSubclass)
      gLaterOld = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LaterSubclass)));
    skinner->Unskin();
    EXPECT_EQ(combo->Color(), clRed);
    EXPECT_EQ(GetWindowLongPtrA(edit, GWLP_WNDPROC),
              c.LaterSubclass ? reinterpret_cast<LONG_PTR>(LaterSubclass) : original);
    TSkinControl::Free(skinner);
    SetWindowTextA(edit, "still works");
    EXPECT_EQ(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0), 11);
    delete Form;
    Form = nullptr;
  }
}

// ---------------------------------------------------------------------------------------------
// Spin buttons

TEST_F(SkinComboTest, SpinHalvesShowTheirCellsPressedAndDisabled) {
  TUpDown *vert = nullptr, *horz = nullptr;
  SkinnedForm([&](TForm* f) {
    vert = Add<TUpDown>(f, 10, 10, 18, 40);
    horz = Add<TUpDown>(f, 60, 10, 40, 18);
    horz->SetOrientation(udHorizontal);
  });
  ASSERT_NE(SkinnerOf<TSkinUpDown>(vert), nullptr);
  ASSERT_NE(SkinnerOf<TSkinUpDown>(horz), nullptr);
  struct TCase {
    const char* Name;
    TUpDown* Spin;
    TTestImage Image;
    int Press; // half held down: 0 none, 1 first, 2 second
    bool Disabled;
    int First, Second; // cells (from 1)
  };
  const TCase cases[] = {
      {"vertical", vert, tiSpinVert, 0, false, 1, 5},
      {"vertical second held", vert, tiSpinVert, 2, false, 1, 6},
      {"vertical first held", vert, tiSpinVert, 1, false, 2, 5},
      {"vertical disabled", vert, tiSpinVert, 0, true, 3, 7},
      {"horizontal second held", horz, tiSpinHorz, 2, false, 1, 6},
      {"horizontal", horz, tiSpinHorz, 0, false, 1, 5},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    HWND wnd = c.Spin->Handle();
    const bool horizontal = c.Spin == horz;
    c.Spin->SetEnabled(!c.Disabled);
    RECT r{};
    GetWindowRect(wnd, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    // A corner point of each half, away from the centred glyphs.
    const POINT first{1, 1};
    const POINT second = horizontal ? POINT{w - 2, 1} : POINT{1, h - 2};
    if (c.Press) {
      // The centre of the half held down.
      const int q = c.Press == 1 ? 1 : 3;
      Press(horizontal ? POINT{r.left + w * q / 4, r.top + h / 2}
                       : POINT{r.left + w / 2, r.top + h * q / 4},
            false);
      Pump(50);
    }
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const TShot shot = Shoot(wnd);
    if (c.Press) Release();
    Pump(30);
    EXPECT_EQ(shot.At(first), Colour(c.Image, c.First - 1));
    EXPECT_EQ(shot.At(second), Colour(c.Image, c.Second - 1));
    c.Spin->SetEnabled(true);
  }
  SetCursorPos(2, 2);
}

TEST_F(SkinComboTest, SpinWithoutSkinCellsDrawsBoxesWithLineArrows) {
  TUpDown* spin = nullptr;
  SkinnedForm([&](TForm* f) { spin = Add<TUpDown>(f, 10, 10, 18, 40); });
  ASSERT_NE(SkinnerOf<TSkinUpDown>(spin), nullptr);
  Data->UpDownVert.reset();
  HWND wnd = spin->Handle();
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const TShot shot = Shoot(wnd);
  const COLORREF pen = ColorToRGB(Data->Colours[scButtonDkShadow]);
  EXPECT_EQ(shot.At(0, 0), pen);
  EXPECT_EQ(shot.At(0, shot.Height - 1), pen);
  EXPECT_EQ(shot.At(2, 2), ColorToRGB(Data->Colours[scButtonFace]));
  // The up arrow's tip (x, y - 1 excluded) sits at the first half's centre, 2 pixels up.
  const int x = shot.Width / 2, y = shot.Height / 2 / 2 - 2;
  EXPECT_EQ(shot.At(x, y), pen);
  EXPECT_EQ(shot.At(x, y - 1), ColorToRGB(Data->Colours[scButtonFace]));
}

TEST_F(SkinComboTest, SpinInsideAnEditIsAdoptedAndKeepsTheEditFrame) {
  TEdit* edit = nullptr;
  SkinnedForm([&](TForm* f) { edit = Add<TEdit>(f, 10, 10, 120, 26); });
  auto* editSkinner = SkinnerOf<TSkinEdit>(edit);
  ASSERT_NE(editSkinner, nullptr);
  RECT client{};
  GetClientRect(edit->Handle(), &client);
  HWND spin = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, client.right - 16, 0,
                              16, client.bottom, edit->Handle(), nullptr, nullptr, nullptr);
  ASSERT_NE(spin, nullptr);
  RedrawWindow(edit->Handle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  ASSERT_NE(editSkinner->UpDown, nullptr);
  EXPECT_EQ(editSkinner->UpDown->Handle, spin);
  EXPECT_TRUE(editSkinner->UpDown->InEdit);
  RedrawWindow(spin, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  const TShot shot = Shoot(spin);
  // Flush with the edit's client top (2 pixels inside its window): 1 more row stays white.
  EXPECT_EQ(shot.At(4, 0), RGB(255, 255, 255));
  EXPECT_EQ(shot.At(1, 2), Colour(tiSpinVert, 0));
  EXPECT_EQ(shot.At(1, shot.Height - 4), Colour(tiSpinVert, 4));
  DestroyWindow(spin);
}

// ---------------------------------------------------------------------------------------------
// Date-time pickers

TEST_F(SkinComboTest, PickerArrowPaintedFramedAndItsClickOpensTheCalendar) {
  TDateTimePicker* picker = nullptr;
  SkinnedForm([&](TForm* f) { picker = Add<TDateTimePicker>(f, 10, 10, 160, 24); });
  auto* skinner = SkinnerOf<TSkinDateTime>(picker);
  ASSERT_NE(skinner, nullptr);
  TArrowButton* arrow = skinner->Arrow();
  ASSERT_NE(arrow, nullptr);
  HWND wnd = picker->Handle();
  EXPECT_EQ(GetParent(arrow->Handle()), wnd);
  EXPECT_TRUE(GetWindowLongW(wnd, GWL_STYLE) & WS_CLIPCHILDREN);
  RedrawWindow(wnd, nullptr, nullptr,
               RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  const TShot shot = Shoot(wnd);
  EXPECT_EQ(shot.At(0, shot.Height / 2), ButtonShadow);
  EXPECT_EQ(shot.At(1, shot.Height / 2), RGB(255, 255, 255));
  RECT a{};
  GetWindowRect(arrow->Handle(), &a);
  RECT p{};
  GetWindowRect(wnd, &p);
  EXPECT_EQ(p.right - a.right, 2); // over the picker's own button, right of its client
  const POINT mid = Centre(a);
  EXPECT_EQ(shot.At(mid.x - p.left, a.top - p.top + 2), Colour(tiComboButton, 0));

  Press(mid);
  EXPECT_TRUE(PumpUntil([&] { return SendMessageW(wnd, DTM_GETMONTHCAL, 0, 0) != 0; }, 2000));
  Pump(50);
  EXPECT_EQ(GetFocus(), wnd);
  SendMessageW(wnd, WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST_F(SkinComboTest, NoHandleGrowthOverSkinUnskinCycles) {
  TDateTimePicker* picker = nullptr;
  TEdit* edit = nullptr;
  SkinnedForm([&](TForm* f) {
    Add<TComboBox>(f, 10, 10, 150, 24);
    Add<TComboBox>(f, 10, 40, 150, 24)->SetStyle(csDropDownList);
    Add<TUpDown>(f, 200, 10, 18, 40);
    picker = Add<TDateTimePicker>(f, 10, 80, 160, 24);
    edit = Add<TEdit>(f, 10, 120, 120, 26);
  });
  CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, 90, 0, 16, 20, edit->Handle(),
                  nullptr, nullptr, nullptr);
  auto children = [&] {
    int n = 0;
    for (HWND c = GetTopWindow(picker->Handle()); c; c = GetWindow(c, GW_HWNDNEXT))
      n += IsWindowVisible(c) != FALSE;
    return n;
  };
  auto cycle = [&] {
    SwitchActive(false);
    SwitchActive(true);
    RedrawWindow(Form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  };
  for (int i = 0; i < 3; ++i)
    cycle();
  const long gdi = GdiCount::Count();
  const size_t hooks = TSkinWndHook::HookedWindowCount();
  for (int i = 0; i < 50; ++i)
    cycle();
  EXPECT_LE(GdiCount::Count() - gdi, 2L);
  EXPECT_EQ(TSkinWndHook::HookedWindowCount(), hooks);
  EXPECT_EQ(children(), 1); // one arrow button, the earlier ones gone with their skinners
}

} // namespace

namespace {

TEST_F(SkinComboTest, RawCombosSkinnedByHandle) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_USEREX_CLASSES};
  InitCommonControlsEx(&icc);
  SkinnedForm([](TForm*) {});
  struct TCase {
    const wchar_t* Class;
    bool Extended;
  };
  for (const TCase& c : {TCase{L"COMBOBOX", false}, TCase{WC_COMBOBOXEXW, true}}) {
    SCOPED_TRACE(c.Extended);
    HWND wnd =
        CreateWindowExW(WS_EX_CLIENTEDGE, c.Class, L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST,
                        10, 10, 150, 120, Form->Handle(), nullptr, nullptr, nullptr);
    ASSERT_NE(wnd, nullptr);
    Skinner()->ClassifyWindow(wnd);
    auto* skinner = dynamic_cast<TSkinComBox*>(Skinner()->FindByHandle(wnd));
    ASSERT_NE(skinner, nullptr);
    EXPECT_EQ(skinner->Extended, c.Extended);
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
    const TShot shot = Shoot(wnd);
    const RECT b = skinner->ButtonRect;
    EXPECT_EQ(shot.At(Centre(b).x, b.top + 3), Colour(tiComboButton, 0));
    DestroyWindow(wnd);
    Skinner()->PurgeDestroyed();
    EXPECT_EQ(Skinner()->FindByHandle(wnd), nullptr);
  }
}

} // namespace
