// The toolkit on real windows: class names, the window-object property, properties by name,
// replaceable message handlers, stored descriptions, window recreation, owned components and
// exceptions in handlers.
#include "ExtCtrls.h"
#include "FormReader.h"
#include "Forms.h"
#include "Menus.h"
#include "StdCtrls.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

class TTestForm : public TForm {
public:
  explicit TTestForm(TComponent* owner) : TForm(owner) {}
  TNotifyEvent FindMethod(std::string_view name) const override {
    auto* self = const_cast<TTestForm*>(this);
    if (name == "ButtonClick") return [self](TObject* s) { self->Clicked.push_back(s); };
    return {};
  }
  void BindField(TComponent* c) override { Bound.push_back(c->Name); }
  std::vector<TObject*> Clicked;
  std::vector<std::string> Bound;
};

// A form with a button, a list box, an edit and a memo as children, in that order, made.
struct TFormWithControls {
  TTestForm Form{&App()};
  TButton* Button = Child<TButton>();
  TListBox* List = Child<TListBox>();
  TEdit* Edit = Child<TEdit>();
  TMemo* Memo = Child<TMemo>();
  TFormWithControls() { Form.HandleNeeded(); }
  template <class T>
  T* Child() {
    auto* c = new T(&Form);
    c->SetParent(&Form);
    return c;
  }
};

std::string ClassOf(HWND w) {
  char buf[128] = {};
  GetClassNameA(w, buf, sizeof buf);
  return buf;
}

TEST(Toolkit, WindowClassesAndTheObjectProperty) {
  App();
  char expected[64];
  std::snprintf(expected, sizeof expected, "ControlOfs%.8X%.8X",
                static_cast<unsigned>(reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr))),
                static_cast<unsigned>(GetCurrentThreadId()));
  EXPECT_EQ(ControlAtomName(), expected);
  char atomName[64] = {};
  GlobalGetAtomNameA(ControlAtom(), atomName, sizeof atomName);
  EXPECT_STREQ(atomName, expected);
  EXPECT_EQ(ControlMessage(), RegisterWindowMessageA(expected));

  TFormWithControls f;
  TTestForm& form = f.Form;
  auto* button = f.Button;
  auto* list = f.List;
  auto* edit = f.Edit;
  auto* memo = f.Memo;
  EXPECT_EQ(ClassOf(button->Handle()), "TButton");
  EXPECT_EQ(ClassOf(list->Handle()), "TListBox");
  EXPECT_EQ(ClassOf(edit->Handle()), "TEdit");
  EXPECT_EQ(ClassOf(memo->Handle()), "TMemo");
  for (TWinControl* c : std::vector<TWinControl*>{&form, button, list, edit, memo})
    EXPECT_EQ(FindControlObject(c->Handle()), static_cast<TObject*>(c)) << c->ClassName();
}

TEST(Toolkit, ApplicationAndUtilityWindowsFindTheirObjects) {
  EXPECT_EQ(FindControlObject(App().Handle()), static_cast<TObject*>(&App()));
  EXPECT_EQ(ClassOf(App().Handle()), "TApplication");
  EXPECT_FALSE(IsWindowVisible(App().Handle()));

  TTestForm form(&App());
  TTimer timer(&form);
  EXPECT_EQ(FindControlObject(timer.WindowHandle()), static_cast<TObject*>(&timer));
}

TEST(Toolkit, ClassesAreKnownByTheirAncestorsNames) {
  TTestForm form(&App());
  auto* button = new TButton(&form);
  auto* memo = new TMemo(&form);
  EXPECT_TRUE(button->InheritsFrom("TButtonControl"));
  EXPECT_TRUE(memo->InheritsFrom("TCustomEdit"));
  EXPECT_FALSE(memo->InheritsFrom("TButton"));
}

TEST(Toolkit, ChildrenInTabOrderWithTheirOwnerAndParent) {
  TFormWithControls f;
  EXPECT_EQ(f.Form.TabList().size(), 4u);
  f.List->SetTabOrder(0);
  EXPECT_EQ(f.Form.TabList().front(), f.List);
  EXPECT_EQ(f.Button->Owner(), &f.Form);
  EXPECT_EQ(f.Button->Parent(), &f.Form);
}

TEST(Toolkit, PublishedPropertiesByName) {
  TTestForm form(&App());
  auto* button = new TButton(&form);
  button->SetParent(&form);
  form.HandleNeeded();
  EXPECT_TRUE(SetPropValue(button, "Caption", "Go"));
  char text[32] = {};
  GetWindowTextA(button->Handle(), text, sizeof text);
  EXPECT_STREQ(text, "Go");
  EXPECT_EQ(GetPropValue(button, "caption"), "Go"); // names match in any case
  EXPECT_TRUE(SetPropValue(button, "Tag", "99"));
  EXPECT_EQ(button->Tag, 99);
  EXPECT_EQ(GetOrdProp(button, "Tag"), 99);
  EXPECT_EQ(GetPropValue(button, "Visible"), "True");
  EXPECT_EQ(GetOrdProp(button, "Enabled"), 1);
}

TEST(Toolkit, PropertiesAControlDoesNotPublishAreNotFound) {
  TTestForm form(&App());
  auto* button = new TButton(&form);
  button->SetParent(&form);
  form.HandleNeeded();
  bool found = true;
  EXPECT_EQ(GetPropValue(button, "Glyph", &found), "");
  EXPECT_FALSE(found);
  EXPECT_EQ(GetOrdProp(button, "Glyph"), -1);
  EXPECT_FALSE(SetPropValue(button, "Glyph", "x"));
}

TEST(Toolkit, EnumeratedAndNestedPropertiesByName) {
  TTestForm form(&App());
  auto* button = new TButton(&form);
  button->SetParent(&form);
  form.HandleNeeded();
  EXPECT_EQ(GetPropValue(&form, "BorderStyle"), "bsSizeable");
  SetPropValue(&form, "BorderStyle", "bsSingle");
  EXPECT_EQ(form.BorderStyle(), bsSingle);
  EXPECT_EQ(GetPropValue(&form, "Color"), "clBtnFace");
  EXPECT_TRUE(SetPropValue(button, "Font.Height", "-20"));
  EXPECT_EQ(button->Font.Height, -20);
  EXPECT_THROW(SetPropValue(&form, "BorderStyle", "bsNothing"), Exception);
}

TEST(Toolkit, WindowProcCanBeReplacedAndRestored) {
  TTestForm form(&App());
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  form.HandleNeeded();
  int seen = 0;
  TWndMethod saved = edit->WindowProc;
  edit->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_SETTEXT) ++seen;
    saved(m);
  };
  SendMessageA(edit->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("one")); // window path
  edit->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("two"));                // Perform path
  EXPECT_EQ(seen, 2);
  EXPECT_EQ(edit->GetText(), "two"); // the saved handler still did the work
  edit->WindowProc = saved;
  edit->SetText("three");
  EXPECT_EQ(seen, 2);
}

// Windowless controls get their paint through the same slot as windowed ones.
TEST(Toolkit, WindowlessControlsPaintThroughTheirWindowProc) {
  TTestForm form(&App());
  form.HandleNeeded();
  auto* label = new TLabel(&form);
  label->SetParent(&form);
  int paints = 0;
  TWndMethod labelSaved = label->WindowProc;
  label->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_PAINT) ++paints;
    labelSaved(m);
  };
  HDC dc = GetDC(form.Handle());
  form.PaintControls(dc);
  ReleaseDC(form.Handle(), dc);
  EXPECT_EQ(paints, 1);
  label->WindowProc = labelSaved;
}

TEST(Toolkit, RecreatedWindowKeepsItsStateAndAnnouncesIt) {
  TTestForm form(&App());
  auto* list = new TListBox(&form);
  list->SetParent(&form);
  form.HandleNeeded();
  list->Add("one");
  list->Add("\xD7\xD4\xB6\xAF"); // GBK text
  list->SetItemIndex(1);
  HWND before = list->Handle();
  bool announced = false;
  TWndMethod saved = list->WindowProc;
  list->WindowProc = [&](TMessage& m) {
    if (m.Msg == CM_RECREATEWND) announced = IsWindow(before) != 0;
    saved(m);
  };
  list->RecreateWnd();
  list->WindowProc = saved;
  EXPECT_TRUE(announced);
  EXPECT_FALSE(IsWindow(before));
  EXPECT_TRUE(IsWindow(list->Handle()));
  EXPECT_EQ(list->Items(), (std::vector<std::string>{"one", "\xD7\xD4\xB6\xAF"}));
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_EQ(FindControlObject(list->Handle()), static_cast<TObject*>(list));
}

TEST(Toolkit, CentredFormsAreCentredOnTheWholeScreen) {
  // A work area that leaves out strips at the top and the left, as a taskbar would there.
  RECT saved{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &saved, 0);
  const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  RECT area{200, 150, cx, cy}, now{};
  ASSERT_TRUE(SystemParametersInfoA(SPI_SETWORKAREA, 0, &area, 0));
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &now, 0);
  ASSERT_EQ(now.left, 200);
  for (int position : {poScreenCenter, poDesktopCenter}) {
    TTestForm form(&App());
    form.SetBounds(5, 5, 300, 200);
    form.SetPosition(position);
    form.Show();
    RECT r{};
    GetWindowRect(form.Handle(), &r);
    EXPECT_EQ(r.left, (cx - 300) / 2) << position;
    EXPECT_EQ(r.top, (cy - 200) / 2) << position;
  }
  SystemParametersInfoA(SPI_SETWORKAREA, 0, &saved, 0);
}

TEST(Toolkit, StoredDescriptionBuildsBindsAndResolves) {
  TTestForm form(&App());
  // Descriptions are UTF-8 text (as the resource files are), whatever this file's literals are.
  const char8_t* description = u8R"(
    Form1 : TTestForm {
      Caption = "Stored \x41"
      ClientWidth = 300
      ClientHeight = 200
      BorderIcons = [biSystemMenu]
      PopupMenu = Menu1   // resolved once everything is read
      Button1 : TButton {
        Left = 10
        Top = 12
        Caption = "添加"
        OnClick = ButtonClick
      }
      Memo1 : TMemo {
        Lines = ("a" "b")
      }
      List1 : TListBox {
        Items = ("one" "" "three")
      }
      Menu1 : TPopupMenu {
        Item1 : TMenuItem { Caption = "x" Checked = True }
      }
    })";
  ReadComponentText(&form, reinterpret_cast<const char*>(description));
  EXPECT_EQ(form.Caption(), "Stored A");
  EXPECT_EQ(form.Bound, (std::vector<std::string>{"Button1", "Memo1", "List1", "Menu1", "Item1"}));
  auto* button = dynamic_cast<TButton*>(form.FindComponent("Button1"));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->Caption(), "\xCC\xED\xBC\xD3"); // "添加" in code page 936
  EXPECT_EQ(button->Left(), 10);
  button->Click();
  EXPECT_EQ(form.Clicked, (std::vector<TObject*>{button}));
  EXPECT_EQ(form.PopupMenu, form.FindComponent("Menu1"));
  auto* menu = dynamic_cast<TPopupMenu*>(form.FindComponent("Menu1"));
  ASSERT_EQ(menu->Items()->Count(), 1);
  EXPECT_TRUE(menu->Items()->Item(0)->Checked());
  EXPECT_EQ(GetPropValue(form.FindComponent("Memo1"), "Lines"), "a\r\nb");
  auto* list = dynamic_cast<TListBox*>(form.FindComponent("List1"));
  ASSERT_NE(list, nullptr);
  form.HandleNeeded();
  EXPECT_EQ(list->Items(), (std::vector<std::string>{"one", "", "three"}));
  // What is read back is written back the same.
  SetPropValue(list, "Items", GetPropValue(list, "Items"));
  EXPECT_EQ(list->Items(), (std::vector<std::string>{"one", "", "three"}));
  EXPECT_EQ(form.ClientWidth(), 300);
  EXPECT_EQ(form.ClientHeight(), 200);
  EXPECT_FALSE(GetWindowLongA(form.Handle(), GWL_STYLE) & WS_MAXIMIZEBOX);
}

TEST(Toolkit, BadDescriptionsAreClearErrors) {
  auto readError = [](const char* text) {
    TTestForm form(&App());
    try {
      ReadComponentText(&form, text);
    } catch (const EReadError& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(readError("F : TTestForm {\n  Nonsense = 1\n}"), "Property F.Nonsense does not exist");
  EXPECT_EQ(readError("F : TTestForm {\n  X : TNoSuchClass { }\n}"),
            "Class TNoSuchClass not found");
  EXPECT_EQ(readError("F : TTestForm {\n  Caption = \"open\n}"),
            "Form description, line 2: line end inside a string");
  EXPECT_EQ(readError("F : TTestForm {\n  OnClick = Missing\n}"), "Method Missing not found");
  EXPECT_EQ(readError("F : TTestForm {\n  PopupMenu = Nowhere\n}"), "Component Nowhere not found");
  EXPECT_EQ(readError("F : TTestForm {"), "Form description, line 1: name expected");
}

TEST(Toolkit, OwnedComponentsGoWithTheirOwnerAndWatchersAreTold) {
  struct TWatcher : TComponent {
    using TComponent::TComponent;
    TComponent* Gone = nullptr;
    void Notification(TComponent* c, TOperation op) override {
      TComponent::Notification(c, op);
      if (op == opRemove) Gone = c;
    }
  } watcher(nullptr);
  auto* owner = new TComponent(nullptr);
  auto* child = new TTimer(owner);
  watcher.FreeNotification(child);
  EXPECT_EQ(owner->ComponentCount(), 1);
  delete owner;
  EXPECT_EQ(watcher.Gone, child);
}

// An edit whose class handling reads every reflected notification's header.
class TNotifiedEdit : public TEdit {
public:
  using TEdit::TEdit;
  std::vector<UINT> Codes; // the header codes read
  LPARAM Misread = 0;      // an lParam taken for a header that is none

protected:
  void Dispatch(TMessage& msg) override {
    if (msg.Msg == CN_NOTIFY) {
      if (msg.LParam == kSkinnedNoticeParam)
        Misread = msg.LParam;
      else
        Codes.push_back(TWMNotify(msg).NMHdr->code);
    }
    TEdit::Dispatch(msg);
  }
};

TEST(Toolkit, SkinnedNoticeIsNeverReadAsANotification) {
  TTestForm form(&App());
  auto* edit = new TNotifiedEdit(&form);
  edit->SetParent(&form);
  form.HandleNeeded();
  int formHandlerRuns = 0;
  form.SetMessageHandler(CN_NOTIFY, [&](TMessage& m) {
    ++formHandlerRuns;
    form.Inherited(m);
  });
  // The notice, to the form and to the control, through their windows and through Perform; and
  // its number as a WM_NOTIFY, which the form would otherwise reflect by its header.
  for (HWND target : {form.Handle(), edit->Handle()})
    SendMessageA(target, CN_NOTIFY, 0, kSkinnedNoticeParam);
  form.Perform(CN_NOTIFY, 0, kSkinnedNoticeParam);
  edit->Perform(CN_NOTIFY, 0, kSkinnedNoticeParam);
  SendMessageA(form.Handle(), WM_NOTIFY, 0, kSkinnedNoticeParam);
  EXPECT_EQ(formHandlerRuns, 0);
  EXPECT_EQ(edit->Misread, 0);
  EXPECT_TRUE(edit->Codes.empty());
  // A real notification still reaches the control, reflected by the form.
  NMHDR hdr{edit->Handle(), 0, static_cast<UINT>(NM_SETFOCUS)};
  SendMessageA(form.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hdr));
  EXPECT_EQ(edit->Codes, (std::vector<UINT>{static_cast<UINT>(NM_SETFOCUS)}));
}

TEST(Toolkit, ExceptionsInHandlersReachTheApplicationNotTheSystem) {
  TTestForm form(&App());
  auto* button = new TButton(&form);
  button->SetParent(&form);
  form.HandleNeeded();
  button->OnClick = [](TObject*) { throw Exception("boom"); };
  int reported = 0;
  App().OnException = [&](TObject*) { ++reported; };
  SendMessageA(button->Handle(), BM_CLICK, 0, 0);
  // Exceptions of any type, from the utility windows (timers, menus) too.
  button->OnClick = [](TObject*) { throw 42; };
  SendMessageA(button->Handle(), BM_CLICK, 0, 0);
  TTimer timer(nullptr);
  timer.OnTimer = [](TObject*) { throw std::string("not a standard exception"); };
  timer.SetInterval(1);
  MSG m;
  for (DWORD end = GetTickCount() + 2000; reported < 3 && GetTickCount() < end;)
    if (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
  timer.SetEnabled(false);
  App().OnException = nullptr;
  EXPECT_EQ(reported, 3);
}

} // namespace
