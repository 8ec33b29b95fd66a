// Skinned popup menus on real windows with the test skin (TestSkin.h): owner drawing of the
// toolkit's menus switched on and off, items painted into memory, and a toolkit popup menu of
// a skinned form opened for real and read back from the screen (frame and background from
// "MenuBackground", the selected row's "MenuItem" cell, check mark, disabled text, separator).
#include "SkinManage.h"
#include "SkinMenuPaint.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSkinPopMenu.h"

#include "Forms.h"
#include "GdiCount.h"
#include "Menus.h"
#include "TestSkin.h"
#include "SkinTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace TestSkin;

constexpr COLORREF TableRef(int i) {
  return Ref(kColourTable[i].Colour);
}
constexpr COLORREF MenuTextColour = TableRef(7), ButtonShadowColour = TableRef(11);
// Cells of "MenuItem" (0-based): normal, separator, selected.
constexpr int NormalCell = 0, SeparatorCell = 1, SelectedCell = 3;

struct TItemSpec {
  const char* Caption;
  bool Checked, Enabled;
};
// The test menu: rows 0..4.
constexpr TItemSpec kItems[] = {{"Alpha", false, true},
                                {"Checked", true, true},
                                {"-", false, true},
                                {"Disabled", false, false},
                                {"Omega", false, true}};
constexpr int AlphaRow = 0, CheckedRow = 1, SeparatorRow = 2, DisabledRow = 3, OmegaRow = 4;

TPopupMenu* MakeMenu(TComponent* owner) {
  auto* menu = new TPopupMenu(owner);
  for (const TItemSpec& spec : kItems) {
    auto* item = new TMenuItem(menu);
    item->SetCaption(spec.Caption);
    item->SetChecked(spec.Checked);
    item->SetEnabled(spec.Enabled);
    menu->Items()->Add(item);
  }
  return menu;
}

struct TItemType {
  UINT Type = 0;
  std::string Text;
};
std::vector<TItemType> ItemTypes(HMENU menu) {
  std::vector<TItemType> types;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char text[64] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof(text);
    GetMenuItemInfoA(menu, UINT(i), TRUE, &info);
    types.push_back({info.fType, text});
  }
  return types;
}

// Pixels of rect (screen or bitmap) in colour c.
int CountColour(HDC dc, const RECT& r, COLORREF c) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (GetPixel(dc, x, y) == c) ++n;
  return n;
}

// What a look at an open menu saw.
struct TMenuShot {
  HWND Wnd = nullptr;
  LRESULT Query = 0;
  RECT Window{};
  std::vector<RECT> Rows; // screen rectangles of the items
  COLORREF FrameCorner = 0, FrameLeft = 0, FrameRight = 0;
  COLORREF AlphaCentre = 0, OmegaCentre = 0, SeparatorCentre = 0;
  int CheckInk = 0, AlphaGlyphInk = 0;
  int DisabledShadowText = 0, DisabledMenuText = 0, OmegaMenuText = 0;
};
TMenuShot* gShot = nullptr;
HMENU gShotMenu = nullptr;
int gDowns = 0;

BOOL CALLBACK FindMenuWindow(HWND wnd, LPARAM p) {
  char cls[16] = {};
  GetClassNameA(wnd, cls, sizeof(cls));
  if (std::string(cls) == "#32768" && IsWindowVisible(wnd)) {
    *reinterpret_cast<HWND*>(p) = wnd;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK LookAtMenu(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  TMenuShot& s = *gShot;
  EnumThreadWindows(GetCurrentThreadId(), FindMenuWindow, reinterpret_cast<LPARAM>(&s.Wnd));
  if (!s.Wnd) return;
  s.Query = SendMessageA(s.Wnd, SKM_QUERY, 0, 0);
  GetWindowRect(s.Wnd, &s.Window);
  for (int i = 0; i < GetMenuItemCount(gShotMenu); ++i) {
    RECT r{};
    GetMenuItemRect(nullptr, gShotMenu, UINT(i), &r);
    s.Rows.push_back(r);
  }
  GdiFlush();
  TClientDC screen(nullptr);
  HDC dc = screen.DC();
  const RECT& w = s.Window;
  s.FrameCorner = GetPixel(dc, w.left + 1, w.top + 1);
  s.FrameLeft = GetPixel(dc, w.left + 1, (w.top + w.bottom) / 2);
  s.FrameRight = GetPixel(dc, w.right - 2, (w.top + w.bottom) / 2);
  auto centreRight = [&](int row) {
    const RECT& r = s.Rows[size_t(row)];
    return GetPixel(dc, r.right - 10, (r.top + r.bottom) / 2);
  };
  s.AlphaCentre = centreRight(AlphaRow);
  s.OmegaCentre = centreRight(OmegaRow);
  const RECT& sep = s.Rows[SeparatorRow];
  s.SeparatorCentre = GetPixel(dc, (sep.left + sep.right) / 2, (sep.top + sep.bottom) / 2);
  const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
  auto glyphBox = [&](int row) {
    const RECT& r = s.Rows[size_t(row)];
    return RECT{r.left, r.top, r.left + 30, r.bottom};
  };
  s.CheckInk = CountColour(dc, glyphBox(CheckedRow), ink);
  s.AlphaGlyphInk = CountColour(dc, glyphBox(AlphaRow), ink);
  s.DisabledShadowText = CountColour(dc, s.Rows[DisabledRow], ButtonShadowColour);
  s.DisabledMenuText = CountColour(dc, s.Rows[DisabledRow], MenuTextColour);
  s.OmegaMenuText = CountColour(dc, s.Rows[OmegaRow], MenuTextColour);
  EndMenu();
}

void CALLBACK PressDown(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND owner = TPopupMenu::PopupWindow();
  for (int i = 0; i < gDowns; ++i) {
    PostMessageA(owner, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(owner, WM_KEYUP, VK_DOWN, 0);
  }
  SetTimer(nullptr, 0, 250, LookAtMenu);
}

class SkinMenuTest : public ::testing::Test {
protected:
  void SetUp() override {
    App();
    TSkinManage::DestroyManager();
    Host = new TForm(&App());
    Data = LoadTestSkinData(Host);
    ASSERT_TRUE(Data->SkinLoaded());
  }
  void TearDown() override {
    delete Form;
    delete Host;
    TSkinManage::DestroyManager();
    Pump(10);
  }

  // A shown, skinned form owning the test menu.
  TPopupMenu* SkinnedFormMenu() {
    Form = new TForm(&App());
    Menu = MakeMenu(Form);
    Form->SetBounds(100, 100, 320, 200);
    Form->Show();
    SetForegroundWindow(Form->Handle());
    TSkinManage* manager = TSkinManage::Manager();
    EXPECT_TRUE(PumpUntil(
        [&] {
          TWinSkinForm* s = manager ? manager->FindSkinner(Form->Handle()) : nullptr;
          return s && s->Started();
        },
        2000));
    Pump(50);
    return Menu;
  }

  // Opens the menu at (x, y), presses VK_DOWN `downs` times and looks at it.
  TMenuShot Open(int x, int y, int downs) {
    TMenuShot shot;
    gShot = &shot;
    gShotMenu = Menu->Handle();
    gDowns = downs;
    SetTimer(nullptr, 0, 200, PressDown);
    Menu->Popup(x, y);
    Pump(50);
    gShot = nullptr;
    return shot;
  }

  void SwitchActive(bool active) {
    Data->SetActive(active);
    TSkinManage* manager = TSkinManage::Manager();
    PumpUntil([&] { return manager->PendingRequest() == 0; }, 2000);
    Pump(30);
  }

  TForm* Host = nullptr;
  TSkinData* Data = nullptr;
  TForm* Form = nullptr;
  TPopupMenu* Menu = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Owner drawing switched on and off

TEST_F(SkinMenuTest, OwnerDrawFlagComesAndGoesWithTextsKept) {
  TPopupMenu* menu = MakeMenu(nullptr);
  auto* sub = new TMenuItem(menu);
  sub->SetCaption("Sub");
  auto* leaf = new TMenuItem(menu);
  leaf->SetCaption("Leaf");
  sub->Add(leaf);
  menu->Items()->Add(sub);
  HMENU handle = menu->Handle();
  HMENU subHandle = sub->Handle();
  // Flag set after the handle exists, and before (a rebuilt handle takes it at once).
  for (bool rebuild : {false, true}) {
    SCOPED_TRACE(rebuild ? "rebuilt" : "existing");
    if (rebuild) {
      menu->SetOwnerDraw(false);
      menu->OwnerDraw = true;
      menu->Items()->RebuildHandle();
      handle = menu->Handle();
      subHandle = sub->Handle();
    } else {
      menu->SetOwnerDraw(true);
    }
    for (HMENU h : {handle, subHandle})
      for (const TItemType& t : ItemTypes(h))
        EXPECT_TRUE(t.Type & MFT_OWNERDRAW) << t.Text;
    menu->SetOwnerDraw(false);
    const auto types = ItemTypes(handle);
    ASSERT_EQ(types.size(), std::size(kItems) + 1);
    for (size_t i = 0; i < std::size(kItems); ++i) {
      EXPECT_FALSE(types[i].Type & MFT_OWNERDRAW) << i;
      if (std::string(kItems[i].Caption) == "-") {
        EXPECT_TRUE(types[i].Type & MFT_SEPARATOR);
      } else {
        EXPECT_EQ(types[i].Text, kItems[i].Caption);
      }
    }
    EXPECT_EQ(ItemTypes(subHandle).at(0).Text, "Leaf");
    EXPECT_FALSE(ItemTypes(subHandle).at(0).Type & MFT_OWNERDRAW);
  }
  delete menu;
}

TEST_F(SkinMenuTest, RawMenuFlagsSetAndClearedKeepTextsAndStates) {
  HMENU raw = CreatePopupMenu();
  HMENU sub = CreatePopupMenu();
  AppendMenuA(sub, MF_STRING | MF_GRAYED, 11, "Inner");
  AppendMenuA(raw, MF_STRING | MF_CHECKED, 10, "Outer");
  AppendMenuA(raw, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(raw, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "Sub");
  OwnerDrawRawMenu(raw, true);
  for (HMENU h : {raw, sub})
    for (const TItemType& t : ItemTypes(h))
      EXPECT_TRUE(t.Type & MFT_OWNERDRAW);
  OwnerDrawRawMenu(raw, false);
  const auto outer = ItemTypes(raw);
  ASSERT_EQ(outer.size(), 3u);
  EXPECT_EQ(outer[0].Text, "Outer");
  EXPECT_TRUE(outer[1].Type & MFT_SEPARATOR);
  EXPECT_EQ(outer[2].Text, "Sub");
  EXPECT_EQ(ItemTypes(sub).at(0).Text, "Inner");
  for (HMENU h : {raw, sub})
    for (const TItemType& t : ItemTypes(h))
      EXPECT_FALSE(t.Type & MFT_OWNERDRAW) << t.Text;
  EXPECT_TRUE(GetMenuState(raw, 10, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_TRUE(GetMenuState(sub, 11, MF_BYCOMMAND) & MF_GRAYED);
  // A made-up handle is ignored.
  OwnerDrawRawMenu(reinterpret_cast<HMENU>(UINT_PTR(0x1234)), true);
  DestroyMenu(raw);
}

TEST_F(SkinMenuTest, DisabledItemPostsNoCommand) {
  TPopupMenu* menu = MakeMenu(nullptr);
  for (int row : {AlphaRow, DisabledRow}) {
    TMenuItem* item = menu->Items()->Item(row);
    int clicks = 0;
    item->OnClick = [&](TObject*) { ++clicks; };
    SendMessageA(TPopupMenu::PopupWindow(), WM_COMMAND, item->Command(), 0);
    EXPECT_EQ(clicks, kItems[row].Enabled ? 1 : 0) << kItems[row].Caption;
    item->OnClick = nullptr;
  }
  delete menu;
}

TEST_F(SkinMenuTest, ItemMessagesReachTheItemsHandlersAtPopupOwnerAndForm) {
  auto* form = new TForm(&App());
  TPopupMenu* menu = MakeMenu(form);
  TMenuItem* sub = new TMenuItem(menu);
  sub->SetCaption("Sub");
  sub->Add(new TMenuItem(menu));
  menu->Items()->Add(sub);
  menu->SetOwnerDraw(true);
  TMenuItem* alpha = menu->Items()->Item(AlphaRow);
  UINT drawnState = 0;
  int drawn = 0, measured = 0;
  for (TMenuItem* item : {alpha, sub}) {
    item->OnMeasureItem = [&](TMenuItem*, HDC, int& w, int& h) {
      ++measured;
      w = 77;
      h = 19;
    };
    item->OnDrawItem = [&](TMenuItem*, HDC, const RECT&, UINT state) {
      ++drawn;
      drawnState = state;
    };
  }
  // A sub-menu item is known by its sub-menu handle.
  const UINT subId = UINT(reinterpret_cast<UINT_PTR>(sub->Handle()));
  for (HWND wnd : {TPopupMenu::PopupWindow(), form->Handle()})
    for (UINT id : {alpha->Command(), subId}) {
      MEASUREITEMSTRUCT mis{ODT_MENU, 0, id, 0, 0, 0};
      SendMessageA(wnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
      EXPECT_EQ(mis.itemWidth, 77u);
      EXPECT_EQ(mis.itemHeight, 19u);
      TBitmap b(10, 10);
      DRAWITEMSTRUCT dis{ODT_MENU,
                         0,
                         id,
                         ODA_DRAWENTIRE,
                         ODS_SELECTED,
                         reinterpret_cast<HWND>(menu->Handle()),
                         b.CanvasHandle(),
                         RECT{0, 0, 10, 10},
                         0};
      SendMessageA(wnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
      EXPECT_EQ(drawnState, UINT(ODS_SELECTED));
    }
  EXPECT_EQ(measured, 4);
  EXPECT_EQ(drawn, 4);
  // An item without handlers gets the toolkit's own size.
  MEASUREITEMSTRUCT mis{ODT_MENU, 0, menu->Items()->Item(OmegaRow)->Command(), 0, 0, 0};
  SendMessageA(form->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
  EXPECT_GT(mis.itemWidth, 20u);
  EXPECT_GT(mis.itemHeight, 8u);
  delete form;
}

TEST_F(SkinMenuTest, PopupsOfTheFormAndItsOwnedFormsFollowTheSkinExceptDisableTag) {
  TPopupMenu* menu = SkinnedFormMenu();
  auto* inner = new TForm(Form);
  TPopupMenu* nested = MakeMenu(inner);
  TPopupMenu* kept = MakeMenu(Form);
  kept->Tag = Data->DisableTag();
  OwnerDrawPopups(Data, Form, true);
  for (TPopupMenu* m : {menu, nested}) {
    EXPECT_TRUE(m->OwnerDraw);
    EXPECT_TRUE(m->Items()->Item(0)->OnDrawItem);
    EXPECT_TRUE(ItemTypes(m->Handle()).at(0).Type & MFT_OWNERDRAW);
  }
  EXPECT_FALSE(kept->OwnerDraw);
  EXPECT_FALSE(kept->Items()->Item(0)->OnDrawItem);
  EXPECT_FALSE(ItemTypes(kept->Handle()).at(0).Type & MFT_OWNERDRAW);
  // Skin off: nothing is left owner-drawn, texts intact.
  SwitchActive(false);
  EXPECT_FALSE(menu->OwnerDraw);
  EXPECT_FALSE(menu->Items()->Item(0)->OnDrawItem);
  const auto types = ItemTypes(menu->Handle());
  for (size_t i = 0; i < types.size(); ++i) {
    EXPECT_FALSE(types[i].Type & MFT_OWNERDRAW) << i;
    if (std::string(kItems[i].Caption) != "-") {
      EXPECT_EQ(types[i].Text, kItems[i].Caption);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Items painted into memory

TEST_F(SkinMenuTest, ItemCellsAndColoursInMemory) {
  TPopupMenu* menu = MakeMenu(nullptr);
  struct TCase {
    int Row;
    bool Selected;
    int X, Y;          // read point in a 120 x 22 item
    COLORREF Expected; // exact colour there
    COLORREF Ink;      // a colour the item's text or mark must show
  };
  const TCase cases[] = {
      {AlphaRow, false, 110, 11, Colour(tiMenuItem, NormalCell, cpCentre), MenuTextColour},
      {AlphaRow, true, 110, 11, Colour(tiMenuItem, SelectedCell, cpCentre), TableRef(3)},
      {AlphaRow, false, 2, 11, Colour(tiMenuItem, NormalCell, cpLeft), MenuTextColour},
      {DisabledRow, false, 110, 11, Colour(tiMenuItem, NormalCell, cpCentre), ButtonShadowColour},
      {CheckedRow, false, 110, 11, Colour(tiMenuItem, NormalCell, cpCentre),
       GetSysColor(COLOR_BTNTEXT)},
  };
  TBitmap b(120, 22);
  HDC dc = b.CanvasHandle();
  for (const TCase& c : cases) {
    SCOPED_TRACE(kItems[c.Row].Caption + std::string(c.Selected ? " selected" : ""));
    DrawMenuItem(Data, menu->Items()->Item(c.Row), dc, RECT{0, 0, 120, 22}, c.Selected);
    EXPECT_EQ(GetPixel(dc, c.X, c.Y), c.Expected);
    EXPECT_GT(CountColour(dc, RECT{0, 0, 120, 22}, c.Ink), 3);
  }
  // A separator takes the bottom of cell 2, no text.
  DrawMenuItem(Data, menu->Items()->Item(SeparatorRow), dc, RECT{0, 0, 120, 8}, false);
  EXPECT_EQ(GetPixel(dc, 60, 3), Colour(tiMenuItem, SeparatorCell, cpCentre));
  EXPECT_EQ(GetPixel(dc, 60, 7), Colour(tiMenuItem, SeparatorCell, cpBottom));
  // The check mark bitmap is kept, not loaded per item: drawing again makes no GDI objects.
  if (GdiCount::Count() > 0) {
    const long before = GdiCount::Count();
    for (int i = 0; i < 20; ++i)
      DrawMenuItem(Data, menu->Items()->Item(CheckedRow), dc, RECT{0, 0, 120, 22}, i % 2 == 0);
    EXPECT_EQ(GdiCount::Count(), before);
  }
  delete menu;
}

TEST_F(SkinMenuTest, MeasuresGrowByMarginAndGlyphColumn) {
  TPopupMenu* menu = MakeMenu(nullptr);
  TMenuItem* item = menu->Items()->Item(AlphaRow);
  HDC dc = GetDC(nullptr);
  int baseW = 0, baseH = 0;
  item->DefaultMeasureItem(dc, baseW, baseH);
  const int margin = kImages[tiMenuItem].Left;
  struct TCase {
    bool Main;
    bool Images;
    int Extra;
  };
  const TCase cases[] = {
      {false, false, 12 + 23}, {false, true, 12}, {true, false, 10 + 25}, {true, true, 10}};
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24, 1, 1);
  for (const TCase& c : cases) {
    menu->Images = c.Images ? list : nullptr;
    int w = 0, h = 0;
    (c.Main ? MeasureMainItem : MeasurePopupItem)(Data, item, dc, w, h);
    EXPECT_EQ(w, baseW + margin + c.Extra) << c.Main << c.Images;
    EXPECT_EQ(h, baseH);
  }
  ImageList_Destroy(list);
  ReleaseDC(nullptr, dc);
  delete menu;
}

// ---------------------------------------------------------------------------------------------
// A menu opened for real, read back from the screen

TEST_F(SkinMenuTest, OpenMenuIsSkinnedFrameAndBackgroundFromMenuBackground) {
  SkinnedFormMenu();
  const TMenuShot shot = Open(400, 300, 0);
  ASSERT_NE(shot.Wnd, nullptr);
  EXPECT_EQ(shot.Query, 1);
  EXPECT_EQ(shot.FrameCorner, Colour(tiMenuBackground, 0, cpTopLeft));
  EXPECT_EQ(shot.FrameLeft, Colour(tiMenuBackground, 0, cpLeft));
  EXPECT_EQ(shot.FrameRight, Colour(tiMenuBackground, 0, cpRight));
  EXPECT_EQ(shot.AlphaCentre, Colour(tiMenuItem, NormalCell, cpCentre));
}

TEST_F(SkinMenuTest, OpenMenuRowsSelectedCheckedDisabledAndSeparator) {
  SkinnedFormMenu();
  const TMenuShot shot = Open(400, 300, 1);
  ASSERT_NE(shot.Wnd, nullptr);
  ASSERT_EQ(shot.Rows.size(), std::size(kItems));
  EXPECT_EQ(shot.AlphaCentre, Colour(tiMenuItem, SelectedCell, cpCentre));
  EXPECT_EQ(shot.OmegaCentre, Colour(tiMenuItem, NormalCell, cpCentre));
  EXPECT_GT(shot.CheckInk, 3);
  EXPECT_EQ(shot.AlphaGlyphInk, 0);
  EXPECT_GT(shot.DisabledShadowText, 3);
  EXPECT_EQ(shot.DisabledMenuText, 0);
  EXPECT_GT(shot.OmegaMenuText, 3);
  EXPECT_EQ(shot.SeparatorCentre, Colour(tiMenuItem, SeparatorCell, cpCentre));
}

TEST_F(SkinMenuTest, MenuOfAnUnskinnedFormKeepsTheSystemLook) {
  SkinnedFormMenu();
  SwitchActive(false);
  const TMenuShot shot = Open(400, 300, 0);
  ASSERT_NE(shot.Wnd, nullptr);
  EXPECT_NE(shot.Query, 1);
  EXPECT_NE(shot.AlphaCentre, Colour(tiMenuItem, NormalCell, cpCentre));
  EXPECT_NE(shot.FrameCorner, Colour(tiMenuBackground, 0, cpTopLeft));
}

} // namespace
