// The wrappers over the standard and common controls on real windows: each made from its class
// name, its window of its own class behaving as the system class, its "is an instance of"
// relations, and its published properties written and read back by name.
#include "Bitmap.h"
#include "Buttons.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "TestSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

std::string ClassOf(HWND w) {
  char buf[128] = {};
  GetClassNameA(w, buf, sizeof buf);
  return buf;
}

// A form holding one control of the named class, made through the class registry.
struct TOneControl {
  TForm Form{&App()};
  TControl* Control = nullptr;
  explicit TOneControl(const char* className) {
    RegisterStandardClasses();
    const TClassInfo* info = FindClassInfo(className);
    if (!info || !info->Create) return;
    Control = dynamic_cast<TControl*>(info->Create(&Form));
    if (!Control) return;
    Control->SetParent(&Form);
    Control->SetBounds(8, 8, 200, 60);
    Form.HandleNeeded();
  }
  HWND Wnd() const {
    auto* w = dynamic_cast<TWinControl*>(Control);
    return w ? w->Handle() : nullptr;
  }
};

TEST(StandardControls, EachIsMadeByNameWithAWindowOfItsOwnClass) {
  const std::vector<std::pair<const char*, bool>> cases{
      {"TCheckBox", true},       {"TRadioButton", true}, {"TGroupBox", true},
      {"TRadioGroup", true},     {"TPanel", true},       {"TComboBox", true},
      {"TScrollBar", true},      {"TBitBtn", true},      {"TSpeedButton", false},
      {"TProgressBar", true},    {"TTrackBar", true},    {"TUpDown", true},
      {"TDateTimePicker", true}, {"TStatusBar", true},   {"THeaderControl", true},
      {"TListView", true},       {"TTabControl", true},  {"TPageControl", true},
      {"TTabSheet", true},       {"TToolBar", true},     {"TToolButton", false}};
  for (const auto& [name, windowed] : cases) {
    TOneControl one(name);
    ASSERT_NE(one.Control, nullptr) << name;
    EXPECT_STREQ(one.Control->ClassName(), name);
    EXPECT_EQ(!one.Control->IsWindowless(), windowed) << name;
    if (!windowed) continue;
    ASSERT_NE(one.Wnd(), nullptr) << name;
    EXPECT_EQ(ClassOf(one.Wnd()), name);
    EXPECT_EQ(FindControlObject(one.Wnd()), static_cast<TObject*>(one.Control)) << name;
  }
}

TEST(StandardControls, InstanceOfRelations) {
  RegisterStandardClasses();
  const std::vector<std::pair<const char*, std::vector<const char*>>> cases{
      {"TCheckBox", {"TCustomCheckBox", "TButtonControl", "TWinControl"}},
      {"TRadioButton", {"TButtonControl"}},
      {"TBitBtn", {"TButton", "TButtonControl"}},
      {"TSpeedButton", {"TGraphicControl", "TControl"}},
      {"TGroupBox", {"TCustomGroupBox"}},
      {"TRadioGroup", {"TCustomRadioGroup", "TCustomGroupBox"}},
      {"TPanel", {"TCustomPanel", "TCustomControl"}},
      {"TComboBox", {"TCustomComboBox"}},
      {"TListView", {"TCustomListView"}},
      {"TTabControl", {"TCustomTabControl"}},
      {"TPageControl", {"TCustomTabControl"}},
      {"TStatusBar", {"TCustomStatusBar"}},
      {"TToolButton", {"TGraphicControl"}}};
  for (const auto& [name, ancestors] : cases) {
    const TClassInfo* info = FindClassInfo(name);
    ASSERT_NE(info, nullptr) << name;
    for (const char* a : ancestors)
      EXPECT_TRUE(info->InheritsFrom(a)) << name << " " << a;
  }
  EXPECT_FALSE(FindClassInfo("TPageControl")->InheritsFrom("TTabControl"));
  EXPECT_FALSE(FindClassInfo("TRadioButton")->InheritsFrom("TCustomCheckBox"));
  EXPECT_FALSE(FindClassInfo("TCheckBox")->InheritsFrom("TButton"));
}

TEST(StandardControls, PublishedPropertiesRoundTripAndReachTheWindow) {
  struct TCase {
    const char* Class;
    const char* Prop;
    const char* Value;
    UINT Msg; // read back from the window (0: none)
    LRESULT Expected;
  };
  const std::vector<TCase> cases{
      {"TCheckBox", "Checked", "True", BM_GETCHECK, BST_CHECKED},
      {"TCheckBox", "AllowGrayed", "True", 0, 0},
      {"TRadioButton", "Checked", "True", BM_GETCHECK, BST_CHECKED},
      {"TProgressBar", "Position", "50", PBM_GETPOS, 50},
      {"TProgressBar", "Orientation", "pbVertical", 0, 0},
      {"TTrackBar", "Position", "7", TBM_GETPOS, 7},
      {"TTrackBar", "Max", "20", TBM_GETRANGEMAX, 20},
      {"TTrackBar", "Orientation", "trVertical", 0, 0},
      {"TScrollBar", "Kind", "sbVertical", 0, 0},
      {"TScrollBar", "Max", "50", 0, 0},
      {"TUpDown", "Position", "42", UDM_GETPOS32, 42},
      {"TComboBox", "Style", "csDropDownList", 0, 0},
      {"TPanel", "BevelOuter", "bvLowered", 0, 0},
      {"TPanel", "BevelInner", "bvRaised", 0, 0},
      {"TPanel", "ParentBackground", "True", 0, 0},
      {"TBitBtn", "Kind", "bkOK", 0, 0},
      {"TBitBtn", "Layout", "blGlyphTop", 0, 0},
      {"TSpeedButton", "Flat", "True", 0, 0},
      {"TSpeedButton", "Layout", "blGlyphRight", 0, 0},
      {"TDateTimePicker", "Kind", "dtkTime", 0, 0},
      {"TDateTimePicker", "DateMode", "dmUpDown", 0, 0},
      {"TDateTimePicker", "DateTime", "2024-02-29 13:45:10", 0, 0},
      {"TStatusBar", "SimpleText", "Ready", 0, 0},
      {"TListView", "ViewStyle", "vsReport", 0, 0},
      {"TListView", "ReadOnly", "True", 0, 0},
      {"TTabControl", "Style", "tsButtons", 0, 0},
      {"TTabControl", "TabPosition", "tpBottom", 0, 0},
      {"TToolBar", "Flat", "True", 0, 0},
  };
  for (const TCase& c : cases) {
    TOneControl one(c.Class);
    ASSERT_NE(one.Control, nullptr) << c.Class;
    EXPECT_TRUE(SetPropValue(one.Control, c.Prop, c.Value)) << c.Class << "." << c.Prop;
    EXPECT_EQ(GetPropValue(one.Control, c.Prop), c.Value) << c.Class << "." << c.Prop;
    if (c.Msg) {
      EXPECT_EQ(SendMessageA(one.Wnd(), c.Msg, 0, 0), c.Expected) << c.Class << "." << c.Prop;
    }
  }
}

TEST(StandardControls, StatesFollowClicksAndSiblings) {
  TForm form(&App());
  auto* box = new TCheckBox(&form);
  box->SetParent(&form);
  box->SetAllowGrayed(true);
  auto* first = new TRadioButton(&form);
  first->SetParent(&form);
  auto* second = new TRadioButton(&form);
  second->SetParent(&form);
  form.HandleNeeded();
  // A click steps unchecked, checked, grayed, unchecked.
  for (const char* expected : {"cbChecked", "cbGrayed", "cbUnchecked"}) {
    SendMessageA(box->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(GetPropValue(box, "State"), expected);
  }
  first->SetChecked(true);
  SendMessageA(second->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(second->Checked());
  EXPECT_FALSE(first->Checked());
  // A bad value is an error, never a crash.
  EXPECT_THROW(SetPropValue(box, "State", "cbMaybe"), std::exception);
}

TEST(StandardControls, GroupBoxFillsItsBackgroundWithItsColour) {
  TOneControl one("TGroupBox");
  ASSERT_NE(one.Control, nullptr);
  one.Control->SetColor(clRed);
  TBitmap canvas(40, 30, pf24bit);
  HDC dc = canvas.CanvasHandle();
  RECT all{0, 0, 40, 30};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(SendMessageA(one.Wnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
  EXPECT_EQ(GetPixel(dc, 20, 15), RGB(255, 0, 0));
}

TEST(StandardControls, PagesTabsAndRowsReachTheirWindows) {
  TForm form(&App());
  auto* pages = new TPageControl(&form);
  pages->SetParent(&form);
  pages->SetBounds(0, 0, 300, 200);
  TTabSheet* sheets[3];
  for (int i = 0; i < 3; ++i) {
    sheets[i] = new TTabSheet(&form);
    sheets[i]->Name = "Sheet" + std::to_string(i);
    sheets[i]->SetText("Page " + std::to_string(i + 1));
    sheets[i]->SetParent(pages);
  }
  auto* list = new TListView(&form);
  list->SetParent(&form);
  SetPropValue(list, "ViewStyle", "vsReport");
  SetPropValue(list, "Columns", "Name,100\r\nSize,60\r\n");
  SetPropValue(list, "Items", "a.txt|12\r\nb.txt|34\r\n");
  auto* status = new TStatusBar(&form);
  status->SetParent(&form);
  SetPropValue(status, "Panels", "One,80\r\nTwo\r\n");
  form.HandleNeeded();
  EXPECT_EQ(pages->TabCount(), 3);
  EXPECT_EQ(pages->TabText(2), "Page 3");
  EXPECT_EQ(GetPropValue(pages, "ActivePage"), "Sheet0");
  pages->SetActivePage(sheets[2]);
  EXPECT_EQ(GetPropValue(pages, "TabIndex"), "2");
  EXPECT_TRUE(IsWindowVisible(sheets[2]->Handle()) || !IsWindowVisible(form.Handle()));
  EXPECT_FALSE(GetWindowLongA(sheets[0]->Handle(), GWL_STYLE) & WS_VISIBLE);
  EXPECT_TRUE(GetWindowLongA(sheets[2]->Handle(), GWL_STYLE) & WS_VISIBLE);
  EXPECT_EQ(SendMessageA(list->Handle(), LVM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(list->CellText(1, 1), "34");
  EXPECT_EQ(status->PanelText(1), "Two");
  EXPECT_EQ(SendMessageA(status->Handle(), SB_GETPARTS, 0, 0), 2);
}

} // namespace
