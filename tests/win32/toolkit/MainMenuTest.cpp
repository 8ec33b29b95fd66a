// A form's menu bar on real windows: the window's menu from creation on, commands running the
// items' handlers, changes reaching the window's menu with the menu-change notice, shortcut text,
// and a stored description that declares the menu.
#include "FormReader.h"
#include "Forms.h"
#include "Menus.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A form read from a description with a two-level menu bar; records clicks and menu notices.
class TMenuForm : public TForm {
public:
  explicit TMenuForm(TComponent* owner) : TForm(owner) {
    ReadComponentText(this, R"(
      MenuForm : TForm {
        Caption = "Menu form"
        ClientWidth = 300
        ClientHeight = 200
        Menu = MainMenu1
        MainMenu1 : TMainMenu {
          FileMenu : TMenuItem {
            Caption = "&File"
            SaveItem : TMenuItem { Caption = "&Save" ShortCut = 16467 OnClick = ItemClick }
            Separator1 : TMenuItem { Caption = "-" }
            MoreMenu : TMenuItem {
              Caption = "&More"
              DeepItem : TMenuItem { Caption = "&Deep" OnClick = ItemClick }
            }
          }
          AboutItem : TMenuItem { Caption = "&About" OnClick = ItemClick }
        }
      })");
    SetMessageHandler(CM_MENUCHANGED, [this](TMessage& m) {
      ++MenuChanges;
      Inherited(m);
    });
    HandleNeeded();
  }
  TNotifyEvent FindMethod(std::string_view name) const override {
    auto* self = const_cast<TMenuForm*>(this);
    if (name == "ItemClick") return [self](TObject* s) { self->Clicked.push_back(s); };
    return {};
  }
  TMenuItem* Item(const char* name) const { return dynamic_cast<TMenuItem*>(FindComponent(name)); }
  std::vector<TObject*> Clicked;
  int MenuChanges = 0;
};

// The text of the menu entry at a position of a menu.
std::string EntryText(HMENU menu, int pos) {
  char buf[128] = {};
  GetMenuStringA(menu, static_cast<UINT>(pos), buf, sizeof buf, MF_BYPOSITION);
  return buf;
}

UINT EntryState(HMENU menu, int pos) {
  return GetMenuState(menu, static_cast<UINT>(pos), MF_BYPOSITION);
}

TEST(MainMenu, IsTheWindowsMenuBarWithItsItemsAndShortcutText) {
  TMenuForm form(&App());
  HMENU bar = GetMenu(form.Handle());
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar, form.Menu()->Handle());
  EXPECT_EQ(form.Menu()->Name, "MainMenu1");
  EXPECT_EQ(GetPropValue(&form, "Menu"), "MainMenu1");
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  EXPECT_EQ(EntryText(bar, 0), "&File");
  EXPECT_EQ(EntryText(bar, 1), "&About");
  HMENU file = GetSubMenu(bar, 0);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(GetSubMenu(bar, 1), nullptr); // a command on the bar itself
  ASSERT_EQ(GetMenuItemCount(file), 3);
  EXPECT_EQ(EntryText(file, 0), "&Save\tCtrl+S");
  EXPECT_TRUE(EntryState(file, 1) & MF_SEPARATOR);
  EXPECT_NE(GetSubMenu(file, 2), nullptr);
  // The client size asked for is the client under the menu bar.
  EXPECT_EQ(form.ClientWidth(), 300);
  EXPECT_EQ(form.ClientHeight(), 200);
}

TEST(MainMenu, CommandsRunTheirItemsHandlers) {
  TMenuForm form(&App());
  for (const char* name : {"SaveItem", "DeepItem", "AboutItem"}) {
    TMenuItem* item = form.Item(name);
    ASSERT_NE(item, nullptr) << name;
    form.Clicked.clear();
    SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(item->Command(), 0), 0);
    EXPECT_EQ(form.Clicked, (std::vector<TObject*>{item})) << name;
  }
  // A command no item has reaches nothing.
  form.Clicked.clear();
  SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(0x7FFF, 0), 0);
  EXPECT_TRUE(form.Clicked.empty());
}

TEST(MainMenu, ChangesReachTheWindowsMenuAndSendTheNotice) {
  TMenuForm form(&App());
  HMENU bar = GetMenu(form.Handle());
  const auto fileEntry = [&] { return GetSubMenu(GetMenu(form.Handle()), 0); };
  struct TCase {
    const char* What;
    std::function<void()> Change;
    std::function<bool()> Seen;
  };
  TMenuItem* save = form.Item("SaveItem");
  const std::vector<TCase> cases{
      {"caption", [&] { save->SetCaption("Save &as"); },
       [&] { return EntryText(fileEntry(), 0) == "Save &as\tCtrl+S"; }},
      {"top caption", [&] { form.Item("FileMenu")->SetCaption("&Document"); },
       [&] { return EntryText(GetMenu(form.Handle()), 0) == "&Document"; }},
      {"disabled", [&] { save->SetEnabled(false); },
       [&] { return (EntryState(fileEntry(), 0) & MF_GRAYED) != 0; }},
      {"checked", [&] { save->SetChecked(true); },
       [&] { return (EntryState(fileEntry(), 0) & MF_CHECKED) != 0; }},
      {"added",
       [&] {
         auto* item = new TMenuItem(&form);
         item->SetCaption("&Close");
         form.Item("FileMenu")->Add(item);
       },
       [&] { return GetMenuItemCount(fileEntry()) == 4 && EntryText(fileEntry(), 3) == "&Close"; }},
      {"removed", [&] { delete form.Item("AboutItem"); },
       [&] { return GetMenuItemCount(GetMenu(form.Handle())) == 1; }},
  };
  for (const TCase& c : cases) {
    const int before = form.MenuChanges;
    c.Change();
    EXPECT_TRUE(c.Seen()) << c.What;
    EXPECT_GT(form.MenuChanges, before) << c.What;
    EXPECT_TRUE(IsMenu(GetMenu(form.Handle()))) << c.What;
  }
  EXPECT_TRUE(bar != nullptr);
}

TEST(MainMenu, TheFormLetsGoOfItsMenu) {
  auto form = std::make_unique<TMenuForm>(&App());
  HWND wnd = form->Handle();
  // A recreated window gets the menu again, and the old window did not destroy it.
  form->RecreateWnd();
  EXPECT_NE(form->Handle(), wnd);
  HMENU bar = GetMenu(form->Handle());
  EXPECT_TRUE(IsMenu(bar));
  EXPECT_EQ(bar, form->Menu()->Handle());
  // Taking the menu away leaves the window without a menu bar; the menu object stays usable.
  TMainMenu* menu = form->Menu();
  form->SetMenu(nullptr);
  EXPECT_EQ(GetMenu(form->Handle()), nullptr);
  EXPECT_TRUE(IsMenu(menu->Handle()));
  form->SetMenu(menu);
  EXPECT_EQ(GetMenu(form->Handle()), menu->Handle());
  // Freeing the menu first leaves the form without one.
  delete menu;
  EXPECT_EQ(form->Menu(), nullptr);
  EXPECT_EQ(GetMenu(form->Handle()), nullptr);
  form.reset();
}

TEST(MainMenu, ShortCutTextNamesTheModifiersAndTheKey) {
  const std::vector<std::pair<int, std::string>> cases{
      {0, ""},
      {scCtrl | 'S', "Ctrl+S"},
      {scCtrl | scShift | 'N', "Ctrl+Shift+N"},
      {scAlt | VK_F4, "Alt+F4"},
      {VK_DELETE, "Del"},
      {scCtrl | '1', "Ctrl+1"},
  };
  for (const auto& [shortCut, text] : cases)
    EXPECT_EQ(ShortCutToText(shortCut), text) << shortCut;
}

TEST(MainMenu, AShortcutKeyRunsItsEnabledItem) {
  TMenuForm form(&App());
  TMenuItem* save = form.Item("SaveItem");
  EXPECT_EQ(form.Menu()->FindShortCut(scCtrl | 'S'), save);
  EXPECT_EQ(form.Menu()->FindShortCut(scCtrl | 'Q'), nullptr);
  // Ctrl is not down: the plain key is no shortcut.
  MSG key{form.Handle(), WM_KEYDOWN, 'S', 0, 0, {}};
  EXPECT_FALSE(form.IsShortCut(key));
  EXPECT_TRUE(form.Clicked.empty());
}

} // namespace
