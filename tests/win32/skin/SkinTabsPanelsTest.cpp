// Tabs, pages, status bars, group boxes, panels, progress and track bars of skinned windows with
// the test skin: each kind read back from the screen in its main states, closing a page through
// its tab's close box (allowed and refused), status panels owner-drawn by the application, the
// track bar's own notices and its repaint without focus changes, what giving controls back
// restores, a skin swap repainting them, and many skin/unskin cycles without handle growth.
#include "SkinManage.h"
#include "SkinPanels.h"
#include "SkinTabs.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "GdiCount.h"
#include "SkinTestSupport.h"
#include "StdCtrls.h"
#include "TestSkin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

namespace {

using namespace TestSkin;

// The screen pixel at a point of a window (client coordinates).
COLORREF At(HWND wnd, int x, int y) {
  POINT p{x, y};
  ClientToScreen(wnd, &p);
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  return c;
}

RECT TabRect(HWND tabs, int index) {
  RECT r{};
  SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  return r;
}

// A point of tab `index`'s cell centre left of its centred caption.
COLORREF TabPixel(HWND tabs, int index) {
  const RECT r = TabRect(tabs, index);
  return At(tabs, r.left + 5, (r.top + r.bottom) / 2 + 1);
}

void ClickAt(HWND wnd, POINT p) {
  ClientToScreen(wnd, &p);
  SetCursorPos(p.x, p.y);
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, input, sizeof(INPUT));
}

// The form's window answers SKM_CLOSETAB with gCloseAnswer and records what it was asked;
// WM_DRAWITEM from status bars is recorded by item.
WNDPROC gFormOld = nullptr;
LRESULT gCloseAnswer = 0;
std::vector<LPARAM> gCloseAsked;
std::vector<UINT> gDrawnPanels;
LRESULT CALLBACK FormProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == SKM_CLOSETAB) {
    gCloseAsked.push_back(lparam);
    return gCloseAnswer;
  }
  if (msg == WM_DRAWITEM) {
    const auto* di = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
    if (di->CtlType == 0 || di->hwndItem) gDrawnPanels.push_back(di->itemID);
    return TRUE;
  }
  return CallWindowProcW(gFormOld, wnd, msg, wparam, lparam);
}

class SkinTabsPanelsTest : public ::testing::Test {
protected:
  void SetUp() override {
    App();
    SetCursorPos(2, 2);
    TSkinManage::DestroyManager();
    Host = new TForm(&App());
    Data = LoadTestSkinData(Host);
    ASSERT_TRUE(Data->SkinLoaded());
    gCloseAnswer = 0;
    gCloseAsked.clear();
    gDrawnPanels.clear();
  }
  void TearDown() override {
    for (TForm* form : Forms)
      delete form;
    delete Host;
    TSkinManage::DestroyManager();
    Pump(10);
    SetCursorPos(2, 2);
  }
  template <class F>
  TForm* SkinnedForm(F fill) {
    auto* form = new TForm(&App());
    Forms.push_back(form);
    form->SetCaption("Panels");
    form->SetBounds(120, 90, 460, 360);
    fill(form);
    form->Show();
    SetForegroundWindow(form->Handle());
    EXPECT_TRUE(PumpUntil(
        [&] { return Skinner(form->Handle()) && Skinner(form->Handle())->Started(); }, 2000));
    Pump(50);
    Settle();
    return form;
  }
  template <class C>
  C* Add(TWinControl* parent, int x, int y, int w, int h) {
    auto* c = new C(parent);
    c->SetParent(parent);
    c->SetBounds(x, y, w, h);
    return c;
  }
  TWinSkinForm* Skinner(HWND wnd) {
    TSkinManage* manager = TSkinManage::Manager();
    return manager ? manager->FindSkinner(wnd) : nullptr;
  }
  template <class S>
  S* SkinnerOf(TForm* form, TControl* control) {
    TWinSkinForm* skinner = Skinner(form->Handle());
    return skinner ? dynamic_cast<S*>(skinner->FindByControl(control)) : nullptr;
  }
  void SwitchActive(bool active) {
    Data->SetActive(active);
    TSkinManage* manager = TSkinManage::Manager();
    PumpUntil([&] { return manager->PendingRequest() == 0; }, 2000);
    Pump(30);
  }
  void SwapSkin(const std::string& file) {
    Data->SetSkinFile(file);
    TSkinManage* manager = TSkinManage::Manager();
    PumpUntil([&] { return manager->PendingRequest() == 0; }, 2000);
    Pump(30);
    Settle();
  }
  TPageControl* Pages(TWinControl* parent, int count, int x, int y, int w, int h) {
    auto* pages = Add<TPageControl>(parent, x, y, w, h);
    for (int i = 0; i < count; ++i) {
      auto* sheet = new TTabSheet(pages);
      sheet->SetParent(pages);
      sheet->SetText(std::string("Page ") + char('A' + i));
    }
    pages->SetTabIndex(0);
    return pages;
  }
  TForm* Host = nullptr;
  TSkinData* Data = nullptr;
  std::vector<TForm*> Forms;
};

// ---------------------------------------------------------------------------------------------
// The bar fraction

TEST(ProgressFill, FractionOfTheRangeFromItsLowEnd) {
  struct TRow {
    int Width, Pos, Low, High, Expect;
  };
  const TRow rows[] = {
      {200, 50, 0, 100, 100},   {200, 75, 50, 100, 100}, // half of 50..100
      {200, -50, -100, 0, 100},                          // range below zero
      {200, 40, 20, 100, 50},   {200, 0, 0, 100, 0},
      {200, 100, 0, 100, 200},  {200, 150, 0, 100, 200}, // past the top: full, not wider
      {200, 10, 20, 100, 0},                             // below the low end
      {200, 5, 10, 10, 0},      {200, 5, 10, 0, 0},      // empty and inverted ranges
      {0, 50, 0, 100, 0},       {1000, INT_MAX - 1, INT_MIN, INT_MAX, 999},
  };
  for (const TRow& r : rows) {
    SCOPED_TRACE(testing::Message() << r.Pos << " in " << r.Low << ".." << r.High);
    EXPECT_EQ(ProgressFill(r.Width, r.Pos, r.Low, r.High), r.Expect);
  }
}

// ---------------------------------------------------------------------------------------------
// Read back from the screen

TEST_F(SkinTabsPanelsTest, EachKindShowsTheSkinCellOfItsState) {
  TPageControl* pages = nullptr;
  TStatusBar* status = nullptr;
  TProgressBar *half = nullptr, *upper = nullptr;
  TTrackBar *track = nullptr, *upright = nullptr;
  TGroupBox* group = nullptr;
  TPanel* panel = nullptr;
  TForm* form = SkinnedForm([&](TForm* f) {
    pages = Pages(f, 3, 10, 10, 260, 120);
    group = Add<TGroupBox>(f, 280, 10, 150, 80);
    group->SetCaption("Group");
    panel = Add<TPanel>(f, 280, 100, 150, 40);
    half = Add<TProgressBar>(f, 10, 140, 200, 16);
    half->SetPosition(50);
    upper = Add<TProgressBar>(f, 220, 140, 200, 16);
    upper->SetMin(50);
    upper->SetPosition(75);
    track = Add<TTrackBar>(f, 10, 170, 200, 36);
    track->SetPosition(3);
    upright = Add<TTrackBar>(f, 220, 166, 100, 36);
    upright->SetOrientation(trVertical); // turns the bar upright: 36 x 100
    status = Add<TStatusBar>(f, 0, 270, 440, 22);
    status->SetPanels({{"", 100}, {"", 100}, {"", 100}});
  });
  // A raised panel: the system's out-set bevel type.
  SendMessageW(status->Handle(), SB_SETTEXTW, 1 | SBT_POPOUT, reinterpret_cast<LPARAM>(L""));
  SendMessageW(status->Handle(), SB_SETTEXTW, 2 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(L""));
  pages->SetTabIndex(1);
  Pump(30);
  Settle();
  ASSERT_NE((SkinnerOf<TSkinTab>(form, pages)), nullptr);
  ASSERT_NE((SkinnerOf<TSkinStatusBar>(form, status)), nullptr);
  ASSERT_NE((SkinnerOf<TSkinProgress>(form, half)), nullptr);
  ASSERT_NE((SkinnerOf<TSkinTrackBar>(form, track)), nullptr);
  ASSERT_NE((SkinnerOf<TSkinGroupBox>(form, group)), nullptr);
  ASSERT_NE((SkinnerOf<TSkinBox>(form, panel)), nullptr);
  ASSERT_NE((SkinnerOf<TSkinTabSheet>(form, pages->Pages()[1])), nullptr);

  RECT thumb{}, sb0{}, sb1{}, sb2{};
  SendMessageW(track->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  SendMessageW(status->Handle(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&sb0));
  SendMessageW(status->Handle(), SB_GETRECT, 1, reinterpret_cast<LPARAM>(&sb1));
  SendMessageW(status->Handle(), SB_GETRECT, 2, reinterpret_cast<LPARAM>(&sb2));
  const int sbMid = (sb0.top + sb0.bottom) / 2 + 1;
  const COLORREF track0 = Colour(tiProgress, 0), bar = Colour(tiProgress, 1);
  struct TRow {
    const char* Name;
    HWND Wnd;
    int X, Y;
    COLORREF Expect;
  };
  const TRow rows[] = {
      {"normal tab", pages->Handle(), -1, 0, Colour(tiTabs, 0)},
      {"selected tab", pages->Handle(), -1, 1, Colour(tiTabs, 1)},
      {"page", pages->Pages()[1]->Handle(), 20, 20, ButtonFace},
      {"lowered status panel", status->Handle(), sb0.left + 6, sbMid, Colour(tiStatusBar, 0)},
      {"raised status panel", status->Handle(), sb1.left + 6, sbMid, Colour(tiStatusBar, 1)},
      {"status panel without bevel", status->Handle(), sb2.left + 6, sbMid, Colour(tiStatusBar, 2)},
      {"progress 50 % filled half", half->Handle(), 90, 8, bar},
      {"progress 50 % empty half", half->Handle(), 105, 8, track0},
      {"progress from 50, at 75: filled half", upper->Handle(), 90, 8, bar},
      {"progress from 50, at 75: empty half", upper->Handle(), 105, 8, track0},
      {"thumb cell 2", track->Handle(), (thumb.left + thumb.right) / 2,
       (thumb.top + thumb.bottom) / 2, Colour(tiThumbHorz, 1)},
      {"group frame", group->Handle(), 1, 50, ButtonShadow},
      {"group inside", group->Handle(), 20, 50, ButtonFace},
      {"panel recoloured", panel->Handle(), 10, 20, ButtonFace},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const COLORREF c = row.X < 0 ? TabPixel(row.Wnd, row.Y) : At(row.Wnd, row.X, row.Y);
    EXPECT_EQ(c, row.Expect) << std::hex << c << " != " << row.Expect;
  }
  // A vertical track bar's channel stands upright: the row below the thumb crosses it.
  int channel = 0;
  for (int x = 0; x < 36; ++x)
    channel += At(upright->Handle(), x, 85) == Colour(tiTrackVert, 0);
  EXPECT_GT(channel, 0);
  // The strip beside the tabs is the parent's colour, not the skin's cells.
  const RECT last = TabRect(pages->Handle(), 2);
  EXPECT_EQ(At(pages->Handle(), last.right + 20, 5), ColorToRGB(form->Color()));
}

TEST_F(SkinTabsPanelsTest, TabsInEachPositionShowTheirStateCells) {
  struct TRow {
    const char* Name;
    int Position;
  };
  const TRow rows[] = {{"bottom", tpBottom}, {"left", tpLeft}, {"right", tpRight}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TPageControl* pages = nullptr;
    TForm* form = SkinnedForm([&](TForm* f) {
      pages = Pages(f, 2, 10, 10, 260, 160);
      pages->SetTabPosition(row.Position);
    });
    auto* skinner = SkinnerOf<TSkinTab>(form, pages);
    ASSERT_NE(skinner, nullptr);
    EXPECT_EQ(skinner->Orientation, row.Position == tpBottom ? 1 : row.Position == tpLeft ? 2 : 3);
    HWND wnd = pages->Handle();
    for (int i = 0; i < 2; ++i) {
      const RECT r = TabRect(wnd, i);
      // Along the tab, clear of its centred caption and of the cell's margins.
      const COLORREF c =
          row.Position == tpBottom ? TabPixel(wnd, i) : At(wnd, (r.left + r.right) / 2, r.top + 7);
      EXPECT_EQ(c, Colour(tiTabs, i == 0 ? 1 : 0)) << "tab " << i << " " << std::hex << c;
    }
    if (row.Position == tpBottom) {
      // The cell's top rows are at the bottom when flipped.
      const RECT r = TabRect(wnd, 1);
      EXPECT_EQ(At(wnd, r.left + 8, r.bottom - 2), Colour(tiTabs, 0, cpTop));
    }
  }
}

TEST_F(SkinTabsPanelsTest, ButtonTabsShowTheButtonCells) {
  TPageControl* pages = nullptr;
  TForm* form = SkinnedForm([&](TForm* f) {
    pages = Pages(f, 2, 10, 10, 260, 160);
    pages->SetStyle(tsButtons);
  });
  ASSERT_NE((SkinnerOf<TSkinTabBtn>(form, pages)), nullptr);
  EXPECT_EQ(TabPixel(pages->Handle(), 0), Colour(tiButtons, 1));
  EXPECT_EQ(TabPixel(pages->Handle(), 1), Colour(tiButtons, 0));
}

// ---------------------------------------------------------------------------------------------
// Closing pages

TEST_F(SkinTabsPanelsTest, CloseBoxFreesThePageOnlyWhenTheFormAllows) {
  struct TRow {
    const char* Name;
    LRESULT Answer;
    size_t PagesAfter;
  };
  const TRow rows[] = {{"allowed", 0, 2}, {"refused", 1, 3}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TPageControl* pages = nullptr;
    TForm* form = SkinnedForm([&](TForm* f) {
      pages = Pages(f, 3, 10, 10, 320, 140);
      pages->Tag = kCloseBoxTag;
    });
    auto* skinner = SkinnerOf<TSkinTab>(form, pages);
    ASSERT_NE(skinner, nullptr);
    EXPECT_TRUE(skinner->CloseButtons);
    ASSERT_EQ(skinner->TabRects.size(), 3u);
    gFormOld = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(form->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FormProc)));
    gCloseAnswer = row.Answer;
    gCloseAsked.clear();
    // The crossed square sits in the tab's top-right corner.
    const RECT box = skinner->TabRects[1], tab = TabRect(pages->Handle(), 1);
    EXPECT_EQ(box.right, tab.right - 1);
    EXPECT_EQ(At(pages->Handle(), box.left + 3, box.top + 3), RGB(0, 0, 0));
    TTabSheet* second = pages->Pages()[1];
    // A click on the tab outside the box only selects it.
    ClickAt(pages->Handle(), {tab.left + 4, (tab.top + tab.bottom) / 2 + 2});
    PumpUntil([&] { return pages->TabIndex() == 1; }, 2000);
    EXPECT_EQ(pages->TabIndex(), 1);
    EXPECT_TRUE(gCloseAsked.empty());
    ClickAt(pages->Handle(), {box.left + 3, box.top + 3});
    PumpUntil([&] { return !gCloseAsked.empty(); }, 2000);
    Pump(30);
    SetWindowLongPtrW(form->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gFormOld));
    ASSERT_EQ(gCloseAsked.size(), 1u);
    EXPECT_EQ(gCloseAsked[0], 1);
    EXPECT_EQ(pages->Pages().size(), row.PagesAfter);
    const bool kept =
        std::find(pages->Pages().begin(), pages->Pages().end(), second) != pages->Pages().end();
    EXPECT_EQ(kept, row.Answer != 0);
    EXPECT_EQ(pages->TabCount(), static_cast<int>(row.PagesAfter));
  }
}

TEST_F(SkinTabsPanelsTest, NoCloseBoxesWithoutTheTagOrWithTabsElsewhere) {
  struct TRow {
    const char* Name;
    int Tag, Position;
  };
  const TRow rows[] = {{"untagged", 0, tpTop}, {"tabs at the bottom", kCloseBoxTag, tpBottom}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TPageControl* pages = nullptr;
    TForm* form = SkinnedForm([&](TForm* f) {
      pages = Pages(f, 2, 10, 10, 260, 140);
      pages->Tag = row.Tag;
      pages->SetTabPosition(row.Position);
    });
    auto* skinner = SkinnerOf<TSkinTab>(form, pages);
    ASSERT_NE(skinner, nullptr);
    EXPECT_FALSE(skinner->CloseButtons);
    const RECT tab = TabRect(pages->Handle(), 1);
    ClickAt(pages->Handle(), {tab.right - 5, tab.top + 5});
    PumpUntil([&] { return pages->TabIndex() == 1; }, 2000);
    EXPECT_EQ(pages->Pages().size(), 2u);
    EXPECT_EQ(pages->TabIndex(), 1);
  }
}

// ---------------------------------------------------------------------------------------------
// Status panels, track bar notices and focus

TEST_F(SkinTabsPanelsTest, OnlyOwnerDrawnStatusPanelsReachTheApplication) {
  TStatusBar* status = nullptr;
  TForm* form = SkinnedForm([&](TForm* f) {
    status = Add<TStatusBar>(f, 0, 270, 440, 22);
    status->SetPanels({{"Text", 100}, {"", 100}, {"More", 100}});
  });
  gFormOld = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(form->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FormProc)));
  SendMessageW(status->Handle(), SB_SETTEXTW, 1 | SBT_OWNERDRAW, 1234);
  gDrawnPanels.clear();
  RedrawWindow(status->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Pump(30);
  SetWindowLongPtrW(form->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gFormOld));
  ASSERT_FALSE(gDrawnPanels.empty());
  for (UINT item : gDrawnPanels)
    EXPECT_EQ(item, 1u);
}

TEST_F(SkinTabsPanelsTest, TrackBarAnswersOnlyItsOwnCustomDrawNotices) {
  TTrackBar* track = nullptr;
  TForm* form = SkinnedForm([&](TForm* f) { track = Add<TTrackBar>(f, 10, 10, 200, 36); });
  ASSERT_NE((SkinnerOf<TSkinTrackBar>(form, track)), nullptr);
  struct TRow {
    const char* Name;
    HWND From;
    DWORD Stage;
    LRESULT Expect;
  };
  const TRow rows[] = {
      {"own prepaint", track->Handle(), CDDS_PREPAINT, CDRF_NOTIFYITEMDRAW},
      {"tooltip's prepaint", form->Handle(), CDDS_PREPAINT, CDRF_DODEFAULT},
      {"own postpaint", track->Handle(), CDDS_POSTPAINT, CDRF_DODEFAULT},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    NMCUSTOMDRAW cd{};
    cd.hdr.hwndFrom = row.From;
    cd.hdr.code = static_cast<UINT>(NM_CUSTOMDRAW);
    cd.dwDrawStage = row.Stage;
    EXPECT_EQ(track->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&cd)), row.Expect);
  }
}

TEST_F(SkinTabsPanelsTest, TrackBarRefreshKeepsFocusAndActivation) {
  TTrackBar* track = nullptr;
  TEdit* edit = nullptr;
  TForm* form = SkinnedForm([&](TForm* f) {
    track = Add<TTrackBar>(f, 10, 10, 200, 36);
    edit = Add<TEdit>(f, 10, 60, 100, 24);
  });
  TForm* other = SkinnedForm([](TForm*) {});
  other->SetBounds(620, 90, 200, 150); // beside the first
  auto* skinner = SkinnerOf<TSkinTrackBar>(form, track);
  ASSERT_NE(skinner, nullptr);
  edit->SetFocus();
  SetForegroundWindow(other->Handle());
  Pump(50);
  const HWND active = GetForegroundWindow();
  const HWND focus = GetFocus();
  skinner->RefreshSkin();
  Pump(30);
  EXPECT_EQ(GetForegroundWindow(), active);
  EXPECT_EQ(GetFocus(), focus);
  EXPECT_NE(GetFocus(), track->Handle());
  // It repainted: the thumb shows the skin's cell.
  RECT thumb{};
  SendMessageW(track->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  Settle();
  EXPECT_EQ(At(track->Handle(), (thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2),
            Colour(tiThumbHorz, 1));
}

// ---------------------------------------------------------------------------------------------
// Giving back, swapping, cycles

TEST_F(SkinTabsPanelsTest, UnskinRestoresColoursAndTransparency) {
  std::vector<std::string> lines = Data->Skin3rd();
  lines.push_back("TLabel=panel");
  Data->SetSkin3rd(lines);
  TPanel* panel = nullptr;
  TLabel* label = nullptr;
  TGroupBox* group = nullptr;
  TForm* form = SkinnedForm([&](TForm* f) {
    panel = Add<TPanel>(f, 10, 10, 150, 40);
    panel->SetColor(RGB(10, 120, 30));
    group = Add<TGroupBox>(f, 10, 60, 150, 60);
    group->SetColor(RGB(40, 50, 60));
    label = new TLabel(f);
    label->SetParent(f);
    label->SetBounds(200, 10, 80, 20);
    label->SetCaption("Label");
    label->SetColor(RGB(90, 20, 20));
  });
  ASSERT_NE((SkinnerOf<TSkinBox>(form, label)), nullptr);
  struct TRow {
    const char* Name;
    TControl* Control;
    TColor Before;
  };
  const TRow rows[] = {{"panel", panel, RGB(10, 120, 30)},
                       {"label", label, RGB(90, 20, 20)},
                       {"group", group, RGB(40, 50, 60)}};
  EXPECT_EQ(panel->Color(), Data->Colours[scButtonFace]);
  EXPECT_TRUE(label->Transparent());
  SwitchActive(false);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    EXPECT_EQ(row.Control->Color(), row.Before);
  }
  EXPECT_FALSE(label->Transparent());
}

TEST_F(SkinTabsPanelsTest, SkinSwapRepaintsTabsAndBars) {
  TPageControl* pages = nullptr;
  TProgressBar* bar = nullptr;
  SkinnedForm([&](TForm* f) {
    pages = Pages(f, 2, 10, 10, 260, 120);
    bar = Add<TProgressBar>(f, 10, 140, 200, 16);
    bar->SetPosition(50);
  });
  const COLORREF tab = Colour(tiTabs, 1), filled = Colour(tiProgress, 1);
  ASSERT_EQ(TabPixel(pages->Handle(), 0), tab);
  ASSERT_EQ(At(bar->Handle(), 50, 8), filled);
  SwapSkin(TARNEL_TEST_SKIN);
  EXPECT_NE(TabPixel(pages->Handle(), 0), tab);
  EXPECT_NE(At(bar->Handle(), 50, 8), filled);
  SwapSkin(TestSkinPath());
  EXPECT_EQ(TabPixel(pages->Handle(), 0), tab);
  EXPECT_EQ(At(bar->Handle(), 50, 8), filled);
}

TEST_F(SkinTabsPanelsTest, SkinUnskinCyclesLeaveNoHandles) {
  TForm* form = SkinnedForm([&](TForm* f) {
    Pages(f, 3, 10, 10, 260, 120);
    auto* tabs = Add<TTabControl>(f, 280, 10, 150, 80);
    tabs->SetTabs({"One", "Two"});
    Add<TGroupBox>(f, 280, 100, 150, 60)->SetCaption("Group");
    auto* radios = Add<TRadioGroup>(f, 280, 170, 150, 80);
    radios->SetItems({"A", "B"});
    Add<TPanel>(f, 10, 140, 100, 30);
    Add<TProgressBar>(f, 10, 180, 200, 16)->SetPosition(30);
    Add<TTrackBar>(f, 10, 200, 200, 36);
    Add<TStatusBar>(f, 0, 270, 440, 22)->SetPanels({{"A", 100}, {"B", 100}});
  });
  TWinSkinForm* skinner = Skinner(form->Handle());
  ASSERT_NE(skinner, nullptr);
  const size_t skinned = skinner->Controls().size();
  EXPECT_GE(skinned, 12u); // 3 sheets, 2 radio buttons and 8 controls
  auto cycle = [&] {
    SwitchActive(false);
    SwitchActive(true);
  };
  cycle();
  const long before = GdiCount::Count();
  for (int i = 0; i < 50; ++i)
    cycle();
  const long after = GdiCount::Count();
  ASSERT_GE(before, 0L);
  EXPECT_LE(after - before, 2L) << before << " -> " << after;
  skinner = Skinner(form->Handle());
  ASSERT_NE(skinner, nullptr);
  EXPECT_EQ(skinner->Controls().size(), skinned);
}

} // namespace
