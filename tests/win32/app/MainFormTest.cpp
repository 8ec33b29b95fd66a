// The main window built from its stored description inside the test program: every component
// field bound to its component, the tray tip with the program's version, and the tray icon put
// back when the taskbar restarts, but only then.
#include "Unit_main.h"
#include "TarnelVersion.h"
#include "TestSupport.h"
#include "WinSkinData.h"

#include <gtest/gtest.h>
#include <shellapi.h>

namespace {

// One application and one main window for the whole test program, as in the real one. The
// list file beside the test program is missing; the error that start-up reports is kept.
class MainForm : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    App = new TApplication;
    App->OnException = [](TObject*) { ++Errors; };
    Form = new TForm_main(App);
  }
  static void TearDownTestSuite() {
    delete App;
    Form = nullptr;
  }
  static inline TApplication* App = nullptr;
  static inline TForm_main* Form = nullptr;
  static inline int Errors = 0;
};

TEST_F(MainForm, EveryComponentFieldIsBoundToItsComponent) {
  ASSERT_EQ(Form_main, Form);
  const std::pair<TComponent*, const char*> fields[] = {{Form->PopupMenu1, "PopupMenu1"},
                                                        {Form->N2, "N2"},
                                                        {Form->N1, "N1"},
                                                        {Form->SkinData1, "SkinData1"},
                                                        {Form->Label1, "Label1"},
                                                        {Form->ListBox1, "ListBox1"},
                                                        {Form->Edit1, "Edit1"},
                                                        {Form->Label2, "Label2"},
                                                        {Form->Button1, "Button1"},
                                                        {Form->Button2, "Button2"},
                                                        {Form->Memo1, "Memo1"},
                                                        {Form->Timer1, "Timer1"},
                                                        {Form->N3, "N3"},
                                                        {Form->TrayIcon1, "TrayIcon1"}};
  for (const auto& [field, name] : fields) {
    TComponent* component = Form->FindComponent(name);
    ASSERT_NE(component, nullptr) << name;
    EXPECT_EQ(field, component) << name;
  }
  // The skin component is the one that skins this window, active from creation.
  ASSERT_NE(Form->SkinData1, nullptr);
  EXPECT_TRUE(Form->SkinData1->Active());
  // Start-up reported the missing list file and went on.
  EXPECT_EQ(Errors, 1);
}

TEST_F(MainForm, TheTrayTipNamesTheProgramAndItsVersion) {
  // The record the shell holds for the icon, not only the component's property.
  EXPECT_STREQ(Form->TrayIcon1->NotifyRecord().szTip, "Tarnel " TARNEL_VERSION);
  EXPECT_TRUE(Form->TrayIcon1->Added());
}

TEST_F(MainForm, TheIconComesBackOnTheTaskbarMessageOnly) {
  HWND main = Form->Handle();
  HWND tray = Form->TrayIcon1->WindowHandle();
  ASSERT_TRUE(ShellHasIcon(tray));
  const UINT registered = TaskbarCreatedMessage;
  ASSERT_NE(registered, 0u);
  // The message goes to the main window only, whose own handler must put the icon back. A
  // registration that failed leaves the number 0, which WM_NULL must not be taken for.
  const struct {
    UINT Number; // the number the program holds
    UINT Sent;
    bool Back;
  } cases[] = {{registered, registered, true}, {0, WM_NULL, false}};
  for (const auto& c : cases) {
    RemoveFromShell(tray);
    ASSERT_FALSE(ShellHasIcon(tray));
    TaskbarCreatedMessage = c.Number;
    SendMessageA(main, c.Sent, 0, 0);
    TaskbarCreatedMessage = registered;
    EXPECT_EQ(ShellHasIcon(tray), c.Back) << "number " << c.Number << ", message " << c.Sent;
  }
}

} // namespace
