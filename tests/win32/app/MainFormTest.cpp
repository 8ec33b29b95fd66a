// The main window built from its stored description inside the test program: every component
// field bound to its component, the tray tip with the program's version, and the tray icon put
// back when the taskbar restarts, but only then.
#include "Unit_main.h"
#include "TarnelVersion.h"
#include "TestSupport.h"
#include "WinSkinData.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

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

// The tray icon as drawn on white: whether any of its pixels has a colour that is not grey.
bool IconHasColour(HICON icon) {
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof bi.bmiHeader, 48, -48, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  TMemoryDCHandle dc(CreateCompatibleDC(nullptr));
  TBitmapHandle bitmap(CreateDIBSection(dc.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  TSelectObject selected(dc.Get(), bitmap.Get());
  auto* pixels = static_cast<uint32_t*>(bits);
  std::fill(pixels, pixels + 48 * 48, 0xFFFFFFu);
  DrawIconEx(dc.Get(), 0, 0, icon, 48, 48, 0, nullptr, DI_NORMAL);
  GdiFlush();
  return std::any_of(pixels, pixels + 48 * 48, [](uint32_t p) {
    const int b = p & 0xFF, g = (p >> 8) & 0xFF, r = (p >> 16) & 0xFF;
    return std::abs(r - g) > 2 || std::abs(g - b) > 2;
  });
}

TEST_F(MainForm, PauseStopsTheScanAndShowsOnTheTray) {
  TTrayIcon& tray = *Form->TrayIcon1;
  SendMessageA(Form->Handle(), TaskbarCreatedMessage, 0,
               0); // the icon in the shell, whatever came before
  ASSERT_TRUE(ShellHasIcon(tray.WindowHandle()));
  const std::vector<uint8_t> running = tray.Icon()->SaveToBytes();
  const std::string tip = tray.Hint();
  ASSERT_TRUE(IconHasColour(tray.NotifyRecord().hIcon));
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    Form->N4Click(Form->N4);
    EXPECT_TRUE(Form->Paused());
    EXPECT_TRUE(Form->N4->Checked());
    EXPECT_FALSE(Form->Timer1->Enabled());
    EXPECT_EQ(std::string(tray.NotifyRecord().szTip).rfind("已暂停自动关闭", 0), 0u);
    EXPECT_FALSE(IconHasColour(tray.NotifyRecord().hIcon));
    EXPECT_TRUE(ShellHasIcon(tray.WindowHandle()));
    Form->N4Click(Form->N4);
    EXPECT_FALSE(Form->Paused());
    EXPECT_FALSE(Form->N4->Checked());
    EXPECT_TRUE(Form->Timer1->Enabled());
    EXPECT_EQ(tray.Hint(), tip);
    EXPECT_EQ(tray.Icon()->SaveToBytes(), running);
    EXPECT_TRUE(IconHasColour(tray.NotifyRecord().hIcon));
  }
}

} // namespace
