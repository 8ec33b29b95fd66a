// The skin manager on real windows of this process: the thread's WH_CBT hook, which windows are
// skinned and with which skin data, popup menu windows, the request timer, and what is left
// behind when a skin data component or the manager goes.
#include "SkinManage.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSkinPopMenu.h"

#include "Forms.h"
#include "TestSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

namespace {

HINSTANCE Self() {
  return GetModuleHandleA(nullptr);
}

// Pumps messages until the manager has no pending request (or a second has passed).
void PumpRequest(TSkinManage* manager) {
  DWORD end = GetTickCount() + 1000;
  while (manager->PendingRequest() != 0 && static_cast<int>(GetTickCount() - end) < 0)
    Pump(10);
  Pump(10);
}

const char* RegisterRaw(const char* name, WNDPROC proc = DefWindowProcA,
                        HINSTANCE instance = nullptr) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = instance ? instance : Self();
  wc.lpszClassName = name;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  RegisterClassA(&wc);
  return name;
}

const char* RawClass() {
  static const char* name = RegisterRaw("SkinTestRaw");
  return name;
}

HWND MakeTop(const char* cls = RawClass(), DWORD style = WS_OVERLAPPEDWINDOW, int width = 220,
             int height = 160, HINSTANCE instance = nullptr) {
  static int next = 0;
  int offset = 20 * (next++ % 10);
  return CreateWindowExA(0, cls, "window", style, 40 + offset, 40 + offset, width, height, nullptr,
                         nullptr, instance ? instance : Self(), nullptr);
}

void Activate(HWND wnd) {
  ShowWindow(wnd, SW_SHOW);
  SetActiveWindow(wnd);
  SetForegroundWindow(wnd);
  Pump(20);
}

WNDPROC ProcOf(HWND wnd) {
  return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(wnd, GWLP_WNDPROC));
}
bool AnswersQuery(HWND wnd) {
  return SendMessageA(wnd, SKM_QUERY, 0, 0) == 1;
}

INT_PTR CALLBACK EmptyDialogProc(HWND, UINT, WPARAM, LPARAM) {
  return FALSE;
}

// A dialog of class "#32770" made from a template in memory.
HWND MakeDialog(DWORD style, HINSTANCE instance = nullptr) {
  struct alignas(4) {
    DLGTEMPLATE Header;
    WORD Menu = 0, Class = 0, Title = 0;
  } tmpl{};
  tmpl.Header.style = style;
  tmpl.Header.x = 30;
  tmpl.Header.y = 30;
  tmpl.Header.cx = 120;
  tmpl.Header.cy = 80;
  return CreateDialogIndirectParamA(instance ? instance : Self(), &tmpl.Header, nullptr,
                                    EmptyDialogProc, 0);
}

// A skin data component loaded from the default skin and completed the way the stored
// description of the main window does it.
TSkinData* LoadedData(TComponent* owner, const char* formtype = "sfMainform", bool active = true) {
  auto* data = new TSkinData(owner);
  data->ComponentState |= csLoading;
  SetPropValue(data, "SkinFormtype", formtype);
  SetPropValue(data, "SkinFile", TARNEL_TEST_SKIN);
  SetPropValue(data, "Active", active ? "True" : "False");
  data->Loaded();
  return data;
}

class SkinManageTest : public ::testing::Test {
protected:
  void SetUp() override {
    App();
    TSkinManage::DestroyManager();
    ClearSkinnerEvents();
    HookBase = TSkinWndHook::HookedWindowCount();
  }
  void TearDown() override {
    for (TComponent* host : Hosts)
      delete host;
    Hosts.clear();
    TSkinManage::DestroyManager();
    Pump(10);
  }
  // A hidden form that carries a skin data component.
  TForm* Host() {
    auto* form = new TForm(&App());
    Hosts.push_back(form);
    return form;
  }
  TForm* ShownForm(int tag = 0) {
    auto* form = new TForm(&App());
    Hosts.push_back(form);
    form->Tag = tag;
    form->SetBounds(60, 60, 260, 180);
    form->Show();
    Activate(form->Handle());
    return form;
  }
  TSkinData* MainData() {
    TSkinData* data = LoadedData(Host());
    EXPECT_TRUE(data->SkinLoaded());
    return data;
  }
  TSkinManage* Manager() {
    TSkinManage* manager = TSkinManage::Manager();
    EXPECT_NE(manager, nullptr);
    return manager;
  }
  bool Skinned(HWND wnd) { return Manager()->FindSkinner(wnd) != nullptr; }

  std::vector<TComponent*> Hosts;
  size_t HookBase = 0;
};

// ---------------------------------------------------------------------------------------------
// Without a skin data component

TEST(SkinManageHook, InstalledOnceAndRemovedWithTheManager) {
  App();
  TSkinManage::DestroyManager();
  TSkinManage* manager = TSkinManage::CreateManager();
  EXPECT_EQ(TSkinManage::CreateManager(), manager);
  EXPECT_EQ(TSkinManage::Manager(), manager);
  EXPECT_FALSE(manager->HookInstalled());
  manager->InstallHook();
  manager->InstallHook();
  EXPECT_TRUE(manager->HookInstalled());
  EXPECT_NE(manager->SystemVersion(), 0u);
  EXPECT_EQ(manager->ActivationState(), asNone);
  {
    TTestWindow wnd(MakeTop());
    Activate(wnd);
    EXPECT_EQ(manager->ActivationState(), asActivated); // the hook saw the activation
    EXPECT_EQ(manager->FindSkinner(wnd), nullptr);      // not active: nothing skinned
  }
  TSkinManage::DestroyManager();
  EXPECT_EQ(TSkinManage::Manager(), nullptr);
  TSkinManage::DestroyManager(); // a second time does nothing

  // A manager without a hook of its own: a hook left behind would report the activation.
  TSkinManage* fresh = TSkinManage::CreateManager();
  fresh->SetActive(true);
  TTestWindow later(MakeTop());
  Activate(later);
  EXPECT_EQ(fresh->ActivationState(), asNone);
  EXPECT_TRUE(fresh->Skinners().empty());
  TSkinManage::DestroyManager();
}

TEST(SkinManageRules, ClassNamesAndStyles) {
  EXPECT_TRUE(TSkinManage::ClassAllowed("TForm1", WS_OVERLAPPEDWINDOW, false));
  for (const char* preview : {"TPrintPreview", "TfrxPreviewForm", "PREVIEWWINDOW", "preview"}) {
    EXPECT_FALSE(TSkinManage::ClassAllowed(preview, 0, false)) << preview;
    EXPECT_TRUE(TSkinManage::ClassAllowed(preview, 0, true)) << preview;
  }
  EXPECT_FALSE(TSkinManage::ClassAllowed("#32770", WS_POPUP | WS_CAPTION | 0x200, true));
  EXPECT_TRUE(TSkinManage::ClassAllowed("#32770", WS_POPUP | WS_CAPTION, true));
  EXPECT_TRUE(TSkinManage::ClassAllowed("TMyDialog", WS_POPUP | 0x200, true)); // "#32770" only
  EXPECT_FALSE(TSkinManage::ClassAllowed("TPopupDBTreeView", 0, true));
  EXPECT_FALSE(TSkinManage::ClassAllowed("tpopupdbtreeview", 0, true));
  EXPECT_TRUE(TSkinManage::ClassAllowed("TPopupDBTreeView2", 0, true));
}

TEST(SkinManageRules, WindowRules) {
  App();
  TSkinManage::DestroyManager();
  TSkinManage* manager = TSkinManage::CreateManager();
  auto qualifies = [&](HWND wnd) {
    char cls[256] = {};
    GetClassNameA(wnd, cls, sizeof cls);
    return manager->WindowQualifies(wnd, manager->FindForm(wnd), cls);
  };

  TTestWindow plain(MakeTop());
  EXPECT_TRUE(qualifies(plain));
  TTestWindow empty(MakeTop(RawClass(), WS_POPUP, 0, 0));
  EXPECT_FALSE(qualifies(empty));
  EXPECT_FALSE(qualifies(nullptr));

  // The hidden application window, even with an area.
  HWND app = App().Handle();
  RECT saved;
  GetWindowRect(app, &saved);
  SetWindowPos(app, nullptr, 0, 0, 100, 100, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  EXPECT_FALSE(qualifies(app));
  SetWindowPos(app, nullptr, 0, 0, saved.right - saved.left, saved.bottom - saved.top,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);

  // Forms: Tag 99 is never skinned.
  TForm form(&App());
  form.SetBounds(10, 10, 200, 120);
  form.HandleNeeded();
  EXPECT_EQ(manager->FindForm(form.WindowHandle()), &form);
  EXPECT_TRUE(qualifies(form.WindowHandle()));
  form.Tag = 99;
  EXPECT_FALSE(qualifies(form.WindowHandle()));
  form.Tag = 98;
  EXPECT_TRUE(qualifies(form.WindowHandle()));

  // Classes never skinned.
  TTestWindow cx(MakeTop(RegisterRaw("TcxPopupEditPopupWindowEx")));
  EXPECT_FALSE(qualifies(cx));
  TTestWindow te(MakeTop(RegisterRaw("TTERenderWindow")));
  EXPECT_FALSE(qualifies(te));

  // A window of another module, unless it is a dialog of class "#32770".
  HINSTANCE other = GetModuleHandleA("gdi32.dll");
  ASSERT_NE(other, nullptr);
  TTestWindow foreign(MakeTop(RegisterRaw("SkinTestForeign", DefWindowProcA, other),
                              WS_OVERLAPPEDWINDOW, 200, 120, other));
  ASSERT_NE(foreign.Handle(), nullptr);
  EXPECT_FALSE(qualifies(foreign));
  TTestWindow dialog(MakeDialog(WS_POPUP | WS_CAPTION | DS_MODALFRAME, other));
  ASSERT_NE(dialog.Handle(), nullptr);
  EXPECT_TRUE(qualifies(dialog));

  // Windows inside an MDI client, other than its MDI children, are left to the frame.
  TTestWindow frame(MakeTop());
  CLIENTCREATESTRUCT ccs{nullptr, 100};
  HWND client = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 200, 120,
                                frame, nullptr, Self(), &ccs);
  ASSERT_NE(client, nullptr);
  HWND inside = CreateWindowExA(0, RawClass(), "", WS_CHILD | WS_VISIBLE, 5, 5, 50, 40, client,
                                nullptr, Self(), nullptr);
  EXPECT_FALSE(qualifies(inside));
  HWND outside = CreateWindowExA(0, RawClass(), "", WS_CHILD | WS_VISIBLE, 5, 5, 50, 40, frame,
                                 nullptr, Self(), nullptr);
  EXPECT_TRUE(qualifies(outside));
  TSkinManage::DestroyManager();
}

// ---------------------------------------------------------------------------------------------
// With the default skin

TEST_F(SkinManageTest, FormsAndWindowsSkinnedOnActivation) {
  TSkinData* data = MainData();
  TSkinManage* manager = Manager();
  ASSERT_TRUE(manager->HookInstalled());
  ASSERT_TRUE(manager->Active());
  EXPECT_EQ(manager->DefaultSkinData(), data);

  TForm* form = ShownForm();
  HWND wnd = form->Handle();
  TWinSkinForm* skinner = manager->FindSkinner(wnd);
  ASSERT_NE(skinner, nullptr);
  EXPECT_EQ(manager->ActivationState(), asActivated);
  EXPECT_EQ(skinner->Form(), form);
  EXPECT_EQ(skinner->SkinData(), data);
  EXPECT_EQ(skinner->WindowName(), "TForm");
  EXPECT_TRUE(AnswersQuery(wnd));
  EXPECT_EQ(CountSkinnerEvents(skAttachForm, wnd), 1);
  Pump(30);
  EXPECT_EQ(CountSkinnerEvents(skFinish, wnd), 1); // the notice posted after creation
  EXPECT_EQ(skinner->SkinState(), 1);

  // A raw window of the program is attached as a bare window.
  TTestWindow raw(MakeTop());
  Activate(raw);
  ASSERT_TRUE(Skinned(raw));
  EXPECT_EQ(manager->FindSkinner(raw)->Form(), nullptr);
  EXPECT_EQ(CountSkinnerEvents(skAttachWindow, raw), 1);

  // A second activation makes no second skinner.
  size_t count = manager->Skinners().size();
  Activate(wnd);
  Activate(raw);
  EXPECT_FALSE(manager->SkinWindow(wnd));
  EXPECT_EQ(manager->Skinners().size(), count);
  EXPECT_EQ(CountSkinnerEvents(skAttachForm, wnd), 1);
  EXPECT_EQ(CountSkinnerEvents(skAttachWindow, raw), 1);

  // A destroyed window's skinner lets go at once and is dropped on the next pass.
  DestroyWindow(raw);
  EXPECT_EQ(CountSkinnerEvents(skRelease, raw.Handle()), 1);
  EXPECT_EQ(manager->FindSkinner(raw.Handle()), nullptr);
  manager->Purge();
  EXPECT_EQ(manager->Skinners().size(), count - 1);
  EXPECT_EQ(CountSkinnerEvents(skFormFreed, raw.Handle()), 1);
  EXPECT_EQ(TSkinWndHook::HookedWindowCount(), HookBase + 1);
}

TEST_F(SkinManageTest, WindowsLeftAloneByTheRules) {
  TSkinData* data = MainData();
  TSkinManage* manager = Manager();
  SetPropValue(data, "DisableTag", "5");

  TForm* tagged = ShownForm(99);
  EXPECT_FALSE(Skinned(tagged->Handle()));
  EXPECT_FALSE(AnswersQuery(tagged->Handle()));
  TForm* five = ShownForm(5); // DisableTag concerns controls, not forms
  EXPECT_TRUE(Skinned(five->Handle()));

  HWND app = App().Handle();
  SetWindowPos(app, nullptr, 0, 0, 100, 100, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  EXPECT_FALSE(manager->SkinWindow(app));
  SetWindowPos(app, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);

  // Dialogs of class "#32770": skinned, except with style bit 0x200.
  TTestWindow dialog(MakeDialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME));
  ASSERT_NE(dialog.Handle(), nullptr);
  Activate(dialog);
  EXPECT_TRUE(Skinned(dialog));
  EXPECT_EQ(CountSkinnerEvents(skAttachWindow, dialog), 1);
  TTestWindow marked(MakeDialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | 0x200));
  ASSERT_NE(marked.Handle(), nullptr);
  ASSERT_TRUE(GetWindowLongPtrA(marked, GWL_STYLE) & 0x200);
  Activate(marked);
  EXPECT_FALSE(Skinned(marked));

  // Print previews only with xoPreview.
  const char* preview = RegisterRaw("TPrintPreviewForm");
  SetPropValue(data, "Options", "[xoToolbarBK]");
  TTestWindow without(MakeTop(preview));
  Activate(without);
  EXPECT_FALSE(Skinned(without));
  SetPropValue(data, "Options", "[xoPreview, xoToolbarBK]");
  TTestWindow with(MakeTop(preview));
  Activate(with);
  EXPECT_TRUE(Skinned(with));

  // The month calendar, by the skin data's own decision.
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_DATE_CLASSES};
  ASSERT_TRUE(InitCommonControlsEx(&icc));
  TTestWindow calendar(MakeTop("SysMonthCal32", WS_POPUP | WS_BORDER, 240, 180));
  ASSERT_NE(calendar.Handle(), nullptr);
  Activate(calendar);
  EXPECT_FALSE(Skinned(calendar));

  // Nothing is skinned while the manager is off.
  manager->SetActive(false);
  TTestWindow off(MakeTop());
  Activate(off);
  EXPECT_FALSE(Skinned(off));
}

TEST_F(SkinManageTest, MdiChildrenSizeGripsAndMaximizedState) {
  MainData();
  TSkinManage* manager = Manager();
  const char* childClass = RegisterRaw("SkinTestMdiChild", DefMDIChildProcA);
  TTestWindow frame(MakeTop(RawClass(), WS_OVERLAPPEDWINDOW, 400, 300));
  CLIENTCREATESTRUCT ccs{nullptr, 100};
  HWND client = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                                0, 380, 260, frame, nullptr, Self(), &ccs);
  ASSERT_NE(client, nullptr);
  Activate(frame);
  EXPECT_TRUE(Skinned(frame));

  // An MDI child is skinned when it is made (it has no area yet then).
  MDICREATESTRUCTA mcs{childClass, "child", Self(), 0, 0, 150, 100, WS_VISIBLE, 0};
  auto child =
      reinterpret_cast<HWND>(SendMessageA(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  ASSERT_NE(child, nullptr);
  ASSERT_TRUE(GetWindowLongPtrA(child, GWL_EXSTYLE) & WS_EX_MDICHILD);
  ASSERT_TRUE(Skinned(child));
  EXPECT_TRUE(manager->FindSkinner(child)->IsMdiChild());

  // Other windows inside the client are not.
  HWND inside = CreateWindowExA(0, RawClass(), "", WS_CHILD | WS_VISIBLE, 200, 10, 60, 40, client,
                                nullptr, Self(), nullptr);
  EXPECT_FALSE(manager->SkinWindow(inside));

  // The MDI children redraw when the maximized state changes, once per change.
  manager->SetMdiMaximized(true);
  manager->SetMdiMaximized(true);
  EXPECT_EQ(CountSkinnerEvents(skMdiState, child), 1);
  EXPECT_EQ(CountSkinnerEvents(skMdiState, frame), 0);
  manager->SetMdiMaximized(false);
  EXPECT_EQ(CountSkinnerEvents(skMdiState, child), 2);

  // A size grip made inside a skinned window is reported to its skinner.
  CreateWindowExA(0, "ScrollBar", "", WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 0, 0, 16, 16, frame,
                  nullptr, Self(), nullptr);
  CreateWindowExA(0, "ScrollBar", "", WS_CHILD | WS_VISIBLE | SBS_VERT, 20, 0, 16, 60, frame,
                  nullptr, Self(), nullptr);
  EXPECT_EQ(CountSkinnerEvents(skSizeGrip, frame), 1);
}

TEST_F(SkinManageTest, ChooseSkinDataByFormType) {
  TSkinData* first = MainData();
  TSkinManage* manager = Manager();
  TForm* own = ShownForm();
  TSkinData* only = LoadedData(own, "sfOnlyThisForm");
  TSkinData* dialogs = LoadedData(Host(), "sfDialog");
  TSkinData* second = MainData();
  EXPECT_EQ(manager->DefaultSkinData(), first);
  EXPECT_EQ(manager->SkinDataList(), (std::vector<TSkinData*>{first, only, dialogs, second}));

  TTestWindow raw(MakeTop(RawClass(), WS_OVERLAPPEDWINDOW));
  TTestWindow dialog(MakeDialog(WS_POPUP | WS_CAPTION));
  EXPECT_EQ(manager->ChooseSkinData(own->Handle()), only);
  EXPECT_EQ(manager->ChooseSkinData(dialog), dialogs);
  EXPECT_EQ(manager->ChooseSkinData(raw), second); // the last main-form component

  // Without a main-form component: the first registered.
  manager->UnregisterSkinData(first);
  manager->UnregisterSkinData(second);
  EXPECT_EQ(manager->DefaultSkinData(), nullptr);
  EXPECT_EQ(manager->ChooseSkinData(raw), only);
  manager->RegisterSkinData(second);
  manager->RegisterSkinData(second);
  EXPECT_EQ(manager->SkinDataList().size(), 3u);
  EXPECT_EQ(manager->DefaultSkinData(), second);
}

TEST_F(SkinManageTest, ActiveFalseThenTrueRunsOnlyTheLastRequest) {
  TSkinData* data = MainData();
  TSkinManage* manager = Manager();
  TTestWindow raw(MakeTop());
  WNDPROC rawProc = ProcOf(raw);
  Activate(raw);
  TForm* form = ShownForm();
  HWND formWnd = form->Handle();
  ASSERT_TRUE(Skinned(raw));
  ASSERT_TRUE(Skinned(formWnd));
  std::vector<TWinSkinForm*> before = manager->Skinners();

  SetPropValue(data, "Active", "False");
  EXPECT_EQ(manager->PendingRequest(), srDeactivate);
  SetPropValue(data, "Active", "True");
  EXPECT_EQ(manager->PendingRequest(), srActivate);
  EXPECT_TRUE(manager->Active()); // nothing has run yet
  Pump(450);
  EXPECT_EQ(manager->PendingRequest(), 0);
  EXPECT_EQ(manager->CurrentSkinData(), nullptr);
  EXPECT_EQ(CountSkinnerEvents(skUnskin), 0);
  EXPECT_EQ(manager->Skinners(), before);

  // Switched off: every skinner undoes its work and goes; the windows get their procedures back.
  SetPropValue(data, "Active", "False");
  PumpRequest(manager);
  EXPECT_FALSE(manager->Active());
  EXPECT_TRUE(manager->Skinners().empty());
  EXPECT_EQ(CountSkinnerEvents(skUnskin, raw), 1);
  EXPECT_EQ(CountSkinnerEvents(skUnskin, formWnd), 1);
  EXPECT_EQ(CountSkinnerEvents(skFormFreed), 2);
  EXPECT_EQ(ProcOf(raw), rawProc);
  EXPECT_FALSE(AnswersQuery(raw));
  EXPECT_FALSE(AnswersQuery(formWnd));
  EXPECT_EQ(TSkinWndHook::HookedWindowCount(), HookBase);
  Activate(raw);
  EXPECT_FALSE(Skinned(raw));

  // Switched on: the visible forms of the application are skinned at once, other windows at
  // their next activation.
  SetPropValue(data, "Active", "True");
  PumpRequest(manager);
  EXPECT_TRUE(manager->Active());
  EXPECT_TRUE(Skinned(formWnd));
  EXPECT_EQ(CountSkinnerEvents(skAttachForm, formWnd), 2);
  EXPECT_FALSE(Skinned(raw));
  Activate(formWnd);
  Activate(raw);
  EXPECT_TRUE(Skinned(raw));
}

TEST_F(SkinManageTest, RefreshReloadsThenRedrawsTheSkinnersOfItsData) {
  TSkinData* data = MainData();
  TSkinManage* manager = Manager();
  TForm* own = Host();
  TSkinData* only = LoadedData(own, "sfOnlyThisForm");
  own->SetBounds(80, 80, 240, 160);
  own->Show();
  Activate(own->Handle());
  TTestWindow a(MakeTop());
  Activate(a);
  TTestWindow b(MakeTop());
  Activate(b);
  TForm* other = ShownForm();
  Activate(own->Handle());
  ASSERT_TRUE(Skinned(a) && Skinned(b) && Skinned(other->Handle()) && Skinned(own->Handle()));
  ASSERT_EQ(manager->FindSkinner(own->Handle())->SkinData(), only);
  ClearSkinnerEvents();

  manager->SetCurrentSkinData(data);
  manager->Request(srRefresh, 20);
  PumpRequest(manager);
  for (HWND wnd : {a.Handle(), b.Handle(), other->Handle()}) {
    EXPECT_EQ(CountSkinnerEvents(skReload, wnd), 1);
    EXPECT_EQ(CountSkinnerEvents(skRedraw, wnd), 1);
  }
  EXPECT_EQ(CountSkinnerEvents(skReload, own->Handle()), 0);
  // Every reload comes before the first redraw.
  const auto& events = SkinnerEvents();
  auto firstRedraw = std::find_if(events.begin(), events.end(),
                                  [](const TSkinnerEvent& e) { return e.Kind == skRedraw; });
  EXPECT_EQ(std::count_if(firstRedraw, events.end(),
                          [](const TSkinnerEvent& e) { return e.Kind == skReload; }),
            0);

  // ReloadSkinData: the skinners of the current component reload at once.
  ClearSkinnerEvents();
  manager->SetCurrentSkinData(only);
  manager->ReloadSkinData();
  EXPECT_EQ(CountSkinnerEvents(skReload), 1);
  EXPECT_EQ(CountSkinnerEvents(skReload, own->Handle()), 1);

  // A form of its own: a refresh reloads and redraws that form only; a deactivation ends that
  // form's skinner only; an activation skins that form again.
  ClearSkinnerEvents();
  manager->Request(srRefresh, 20);
  PumpRequest(manager);
  EXPECT_EQ(CountSkinnerEvents(skReload), 1);
  EXPECT_EQ(CountSkinnerEvents(skRedraw, own->Handle()), 1);
  manager->SetCurrentSkinData(only);
  manager->Request(srDeactivate, 20);
  PumpRequest(manager);
  EXPECT_FALSE(Skinned(own->Handle()));
  EXPECT_TRUE(Skinned(other->Handle()));
  EXPECT_TRUE(Skinned(a));
  manager->SetCurrentSkinData(only);
  manager->Request(srActivate, 20);
  PumpRequest(manager);
  ASSERT_TRUE(Skinned(own->Handle()));
  EXPECT_EQ(manager->FindSkinner(own->Handle())->SkinData(), only);
}

TEST_F(SkinManageTest, RequestsBeforeTheFirstActivationOnlySwitch) {
  TSkinData* data = LoadedData(Host(), "sfMainform", false);
  TSkinManage* manager = Manager();
  EXPECT_EQ(manager->ActivationState(), asNone);
  EXPECT_FALSE(manager->Active());
  manager->SetCurrentSkinData(data);
  manager->Request(srActivate, 250);
  EXPECT_TRUE(manager->Active());
  EXPECT_EQ(manager->PendingRequest(), 0);
  manager->Request(srDeactivate, 250);
  EXPECT_FALSE(manager->Active());
  manager->Request(7, 10); // not a request
  EXPECT_EQ(manager->PendingRequest(), 0);
}

TEST_F(SkinManageTest, DestroyedSkinDataUnregistersCompletely) {
  TForm* firstHost = Host();
  TSkinData* first = LoadedData(firstHost);
  TForm* secondHost = Host();
  TSkinData* second = LoadedData(secondHost);
  TSkinManage* manager = Manager();
  TTestWindow wnd(MakeTop());
  WNDPROC original = ProcOf(wnd);
  Activate(wnd);
  ASSERT_TRUE(Skinned(wnd));
  ASSERT_EQ(manager->FindSkinner(wnd)->SkinData(), second);

  // A refresh of the second component is pending when it goes.
  manager->SetCurrentSkinData(second);
  manager->Request(srRefresh, 100);
  ClearSkinnerEvents();
  Hosts.erase(std::find(Hosts.begin(), Hosts.end(), secondHost));
  delete secondHost;
  EXPECT_EQ(manager->SkinDataList(), std::vector<TSkinData*>{first});
  EXPECT_EQ(manager->CurrentSkinData(), nullptr);
  EXPECT_EQ(manager->PendingRequest(), 0);
  EXPECT_EQ(manager->DefaultSkinData(), first);
  EXPECT_EQ(manager->FindSkinner(wnd), nullptr);
  EXPECT_EQ(CountSkinnerEvents(skUnskin, wnd), 1);
  EXPECT_EQ(ProcOf(wnd), original);
  Pump(300);
  EXPECT_EQ(CountSkinnerEvents(skReload), 0);

  // The window is skinned again with the remaining component at its next activation.
  TTestWindow other(MakeTop());
  Activate(other);
  Activate(wnd);
  ASSERT_TRUE(Skinned(wnd));
  EXPECT_EQ(manager->FindSkinner(wnd)->SkinData(), first);

  // The default component goes too: nothing is left that refers to either.
  manager->SetCurrentSkinData(first);
  Hosts.erase(std::find(Hosts.begin(), Hosts.end(), firstHost));
  delete firstHost;
  EXPECT_TRUE(manager->SkinDataList().empty());
  EXPECT_EQ(manager->DefaultSkinData(), nullptr);
  EXPECT_EQ(manager->CurrentSkinData(), nullptr);
  EXPECT_TRUE(manager->Skinners().empty());
  TTestWindow last(MakeTop());
  Activate(last);
  Activate(wnd);
  EXPECT_TRUE(manager->Skinners().empty());
  EXPECT_EQ(TSkinWndHook::HookedWindowCount(), HookBase);
}

// ---------------------------------------------------------------------------------------------
// Popup menus

struct TMenuProbe {
  TSkinManage* Manager = nullptr;
  HMENU Menu = nullptr;
  HWND Window = nullptr;
  size_t Popups = 0;
  bool Answered = false;
  bool Background = false;
  std::function<void()> WhileOpen; // run after the look, while the menu is still open
  size_t PopupsAfter = 0;
  bool AnsweredAfter = false;
};
TMenuProbe* gProbe = nullptr;

BOOL CALLBACK FindMenuWindow(HWND wnd, LPARAM) {
  char cls[32] = {};
  GetClassNameA(wnd, cls, sizeof cls);
  if (std::strcmp(cls, "#32768") == 0 && IsWindowVisible(wnd)) {
    gProbe->Window = wnd;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK ProbeMenu(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EnumThreadWindows(GetCurrentThreadId(), FindMenuWindow, 0);
  gProbe->Popups = gProbe->Manager->PopupSkinners().size();
  if (gProbe->Window) gProbe->Answered = AnswersQuery(gProbe->Window);
  gProbe->Manager->AssignMenu(gProbe->Menu);
  gProbe->Background = gProbe->Manager->BackgroundOf(gProbe->Menu) != nullptr;
  if (gProbe->WhileOpen) {
    gProbe->WhileOpen();
    gProbe->PopupsAfter = gProbe->Manager->PopupSkinners().size();
    if (gProbe->Window) gProbe->AnsweredAfter = AnswersQuery(gProbe->Window);
  }
  EndMenu();
}

// Opens a popup menu with the given popup kind and reports what was seen while it was open.
TMenuProbe OpenMenu(TSkinManage* manager, HWND owner, int kind,
                    std::function<void()> whileOpen = {}) {
  TMenuProbe probe;
  probe.Manager = manager;
  probe.WhileOpen = std::move(whileOpen);
  probe.Menu = CreatePopupMenu();
  AppendMenuA(probe.Menu, MF_STRING, 1, "One");
  AppendMenuA(probe.Menu, MF_STRING, 2, "Two");
  gProbe = &probe;
  manager->PopupKind = kind;
  SetTimer(nullptr, 0, 40, ProbeMenu);
  TrackPopupMenu(probe.Menu, TPM_RETURNCMD | TPM_NONOTIFY, 100, 100, 0, owner, nullptr);
  Pump(20);
  gProbe = nullptr;
  DestroyMenu(probe.Menu);
  return probe;
}

TEST_F(SkinManageTest, PopupMenuWindowsByKindAndSkinControls) {
  TSkinData* data = MainData();
  TSkinManage* manager = Manager();
  TTestWindow owner(MakeTop());
  Activate(owner);

  // An ordinary popup menu with the default switches.
  TMenuProbe plain = OpenMenu(manager, owner, 0);
  ASSERT_NE(plain.Window, nullptr) << "no menu window seen";
  EXPECT_EQ(plain.Popups, 1u);
  EXPECT_TRUE(plain.Answered);
  EXPECT_TRUE(plain.Background); // the menu was given to the popup skinner
  EXPECT_TRUE(manager->PopupSkinners().empty());
  EXPECT_EQ(CountSkinnerEvents(skPopupAttach, plain.Window), 1);
  EXPECT_EQ(CountSkinnerEvents(skPopupFreed, plain.Window), 1);

  struct TCase {
    int Kind;
    const char* Controls;
    size_t Expected;
  } cases[] = {
      {0, "[xcMainMenu]", 0},   {0, "[xcPopupMenu]", 1}, {1, "[xcPopupMenu]", 0},
      {1, "[xcMainMenu]", 1},   {1, "[xcMenuItem]", 1},  {2, "[xcPopupMenu, xcMainMenu]", 0},
      {2, "[xcSystemMenu]", 1},
  };
  for (const TCase& c : cases) {
    SetPropValue(data, "SkinControls", c.Controls);
    TMenuProbe probe = OpenMenu(manager, owner, c.Kind);
    EXPECT_EQ(probe.Popups, c.Expected) << "kind " << c.Kind << " " << c.Controls;
    EXPECT_EQ(probe.Answered, c.Expected == 1) << "kind " << c.Kind << " " << c.Controls;
    // The kind goes back to an ordinary popup menu when the last skinned popup menu goes, and
    // only then: the destruction of a window that had no popup skinner changes nothing.
    EXPECT_EQ(manager->PopupKind, c.Expected == 1 ? mkPopupMenu : c.Kind);
    manager->PopupKind = mkSystemMenu;
    DestroyWindow(MakeTop());
    EXPECT_EQ(manager->PopupKind, mkSystemMenu);
    manager->PopupKind = mkPopupMenu;
  }

  // Nothing while the manager is off.
  SetPropValue(data, "SkinControls", "[xcPopupMenu]");
  manager->SetActive(false);
  EXPECT_EQ(OpenMenu(manager, owner, 0).Popups, 0u);
  EXPECT_EQ(TSkinWndHook::HookedWindowCount(), HookBase + 1); // the owner's form skinner only

  // A skin data component that goes while its menu is open takes the popup skinner with it.
  manager->SetActive(true);
  TForm* host = Host();
  LoadedData(host);
  TMenuProbe gone = OpenMenu(manager, owner, 0, [&] {
    Hosts.erase(std::find(Hosts.begin(), Hosts.end(), host));
    delete host;
  });
  EXPECT_EQ(gone.Popups, 1u);
  EXPECT_TRUE(gone.Answered);
  EXPECT_EQ(gone.PopupsAfter, 0u);
  EXPECT_FALSE(gone.AnsweredAfter);
  EXPECT_EQ(CountSkinnerEvents(skPopupFreed, gone.Window), 1);
}

// ---------------------------------------------------------------------------------------------
// Window procedures given back

WNDPROC gSavedProc = nullptr;
int gTestProcCalls = 0;
LRESULT CALLBACK TestProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  ++gTestProcCalls;
  return CallWindowProcA(gSavedProc, wnd, msg, wparam, lparam);
}

TEST_F(SkinManageTest, ProceduresPutInFrontLaterAreKept) {
  MainData();
  TSkinManage* manager = Manager();
  TTestWindow wnd(MakeTop());
  WNDPROC original = ProcOf(wnd);
  Activate(wnd);
  ASSERT_TRUE(Skinned(wnd));
  WNDPROC skinnerProc = ProcOf(wnd);
  EXPECT_NE(skinnerProc, original);

  // The program puts a procedure of its own in front of the skinner's, then the skin goes off.
  gSavedProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TestProc)));
  manager->SetCurrentSkinData(manager->DefaultSkinData());
  manager->Request(srDeactivate, 10);
  PumpRequest(manager);
  EXPECT_TRUE(manager->Skinners().empty());
  EXPECT_EQ(ProcOf(wnd), &TestProc);
  gTestProcCalls = 0;
  SetWindowTextA(wnd, "still works");
  char text[32] = {};
  GetWindowTextA(wnd, text, sizeof text);
  EXPECT_STREQ(text, "still works");
  EXPECT_GT(gTestProcCalls, 0);
  EXPECT_FALSE(AnswersQuery(wnd));

  // The program takes its procedure away; skinned again, the window is hooked only once.
  SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gSavedProc));
  manager->SetActive(true);
  TTestWindow other(MakeTop());
  Activate(other);
  Activate(wnd);
  ASSERT_TRUE(Skinned(wnd));
  EXPECT_TRUE(AnswersQuery(wnd));
  EXPECT_EQ(TSkinWndHook::HookedWindowCount(), HookBase + 2);
  DestroyWindow(wnd);
  DestroyWindow(other);
  EXPECT_EQ(TSkinWndHook::HookedWindowCount(), HookBase);
}

int gFreedDuringMessage = -1;
LRESULT CALLBACK ReentrantProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_APP + 1) {
    TSkinManage::DestroyManager();
    gFreedDuringMessage = CountSkinnerEvents(skFormFreed, wnd);
    return 7;
  }
  return DefWindowProcA(wnd, msg, wparam, lparam);
}

TEST_F(SkinManageTest, SkinnerFreedInsideItsOwnMessageGoesWhenTheMessageReturns) {
  MainData();
  TTestWindow wnd(MakeTop(RegisterRaw("SkinTestReentrant", ReentrantProc)));
  WNDPROC original = ProcOf(wnd);
  Activate(wnd);
  ASSERT_TRUE(Skinned(wnd));
  EXPECT_EQ(SendMessageA(wnd, WM_APP + 1, 0, 0), 7);
  EXPECT_EQ(TSkinManage::Manager(), nullptr);
  EXPECT_EQ(gFreedDuringMessage, 0);
  EXPECT_EQ(CountSkinnerEvents(skFormFreed, wnd), 1);
  EXPECT_EQ(ProcOf(wnd), original);
}

TEST_F(SkinManageTest, DestructionLeavesNoHookAndNothingHooked) {
  TSkinData* data = MainData();
  TSkinManage* manager = Manager();
  TTestWindow raw(MakeTop());
  WNDPROC rawProc = ProcOf(raw);
  Activate(raw);
  TTestWindow dialog(MakeDialog(WS_POPUP | WS_CAPTION | DS_MODALFRAME));
  WNDPROC dialogProc = ProcOf(dialog);
  Activate(dialog);
  auto* form = new TForm(&App());
  Hosts.push_back(form);
  form->SetBounds(70, 70, 240, 160);
  HWND formWnd = form->Handle();
  WNDPROC formProc = ProcOf(formWnd);
  form->Show();
  Activate(formWnd);
  ASSERT_TRUE(Skinned(raw) && Skinned(dialog) && Skinned(formWnd));
  EXPECT_EQ(TSkinWndHook::HookedWindowCount(), HookBase + 3);
  EXPECT_EQ(manager->SkinDataList(), std::vector<TSkinData*>{data});

  TSkinManage::DestroyManager();
  EXPECT_EQ(ProcOf(raw), rawProc);
  EXPECT_EQ(ProcOf(dialog), dialogProc);
  EXPECT_EQ(ProcOf(formWnd), formProc);
  for (HWND wnd : {raw.Handle(), dialog.Handle(), formWnd}) {
    EXPECT_FALSE(AnswersQuery(wnd));
    EXPECT_EQ(CountSkinnerEvents(skRelease, wnd), 1);
    EXPECT_EQ(CountSkinnerEvents(skFormFreed, wnd), 1);
  }
  EXPECT_EQ(TSkinWndHook::HookedWindowCount(), HookBase);

  // No hook is left: a manager without one of its own sees no activation.
  TSkinManage* fresh = TSkinManage::CreateManager();
  fresh->SetActive(true);
  TTestWindow later(MakeTop());
  Activate(later);
  EXPECT_EQ(fresh->ActivationState(), asNone);
  EXPECT_TRUE(fresh->Skinners().empty());
}

} // namespace
