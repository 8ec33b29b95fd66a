// MDI forms on real windows: the frame's client window, children made inside it, the system
// commands a child answers (maximize, restore, minimize, close), and a child without a frame.
#include "Forms.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A form of the given style, with a client area of 300 x 200 (160 x 100 for a child).
TForm* NewForm(int style, const char* name) {
  auto* form = new TForm(&App());
  form->Name = name;
  form->SetFormStyle(style);
  form->SetBounds(40, 40, 0, 0);
  form->SetClientWidth(style == fsMDIChild ? 160 : 300);
  form->SetClientHeight(style == fsMDIChild ? 100 : 200);
  return form;
}

std::string ClassOf(HWND w) {
  char buf[128] = {};
  GetClassNameA(w, buf, sizeof buf);
  return buf;
}

// A window's client area in screen coordinates.
RECT ScreenClientRect(HWND w) {
  RECT r{};
  GetClientRect(w, &r);
  MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool SameRect(const RECT& a, const RECT& b) {
  return EqualRect(&a, &b) != 0;
}

TEST(MdiForms, FrameHoldsItsClientAndTheChildrenLiveInIt) {
  std::unique_ptr<TForm> frame(NewForm(fsMDIForm, "Frame"));
  frame->Show();
  HWND client = frame->ClientHandle();
  ASSERT_NE(client, nullptr);
  EXPECT_EQ(ClassOf(client), "MDIClient");
  EXPECT_EQ(GetParent(client), frame->Handle());
  EXPECT_TRUE(SameRect(ScreenClientRect(frame->Handle()), [&] {
    RECT r{};
    GetWindowRect(client, &r);
    return r;
  }()));
  EXPECT_EQ(App().MDIForm(), frame.get());

  std::unique_ptr<TForm> first(NewForm(fsMDIChild, "First"));
  first->Show();
  std::unique_ptr<TForm> second(NewForm(fsMDIChild, "Second"));
  second->Show();
  for (TForm* child : {first.get(), second.get()}) {
    HWND w = child->Handle();
    EXPECT_EQ(GetParent(w), client) << child->Name;
    EXPECT_TRUE(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_MDICHILD) << child->Name;
    EXPECT_TRUE(GetWindowLongA(w, GWL_STYLE) & WS_CHILD) << child->Name;
    EXPECT_EQ(FindControlObject(w), static_cast<TObject*>(child)) << child->Name;
  }
  EXPECT_EQ(frame->MDIChildren(), (std::vector<TCustomForm*>{first.get(), second.get()}));
  EXPECT_EQ(frame->ActiveMDIChild(), second.get());
  EXPECT_EQ(first->ActiveMDIChild(), nullptr); // a child is no frame
  SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(first->Handle()), 0);
  EXPECT_EQ(frame->ActiveMDIChild(), first.get());

  // The frame's default processing keeps the client filling it.
  frame->SetBounds(frame->Left(), frame->Top(), frame->Width() + 60, frame->Height() + 40);
  RECT clientRect{};
  GetWindowRect(client, &clientRect);
  EXPECT_TRUE(SameRect(ScreenClientRect(frame->Handle()), clientRect));

  // The frame goes first: its children's windows go with it, their forms stay until freed.
  frame.reset();
  EXPECT_FALSE(IsWindow(client));
  EXPECT_FALSE(first->HandleAllocated());
  EXPECT_FALSE(second->HandleAllocated());
}

TEST(MdiForms, ChildAnswersItsSystemCommandsInsideTheFrame) {
  std::unique_ptr<TForm> frame(NewForm(fsMDIForm, "Frame"));
  frame->Show();
  auto* child = NewForm(fsMDIChild, "Child");
  bool destroyed = false;
  child->OnDestroy = [&](TObject*) { destroyed = true; };
  child->Show();
  HWND w = child->Handle();
  RECT normal{};
  GetWindowRect(w, &normal);
  const RECT inside = ScreenClientRect(frame->ClientHandle());

  struct TStep {
    UINT Command;
    bool Zoomed, Iconic;
  } const steps[] = {{SC_MAXIMIZE, true, false},
                     {SC_RESTORE, false, false},
                     {SC_MINIMIZE, false, true},
                     {SC_RESTORE, false, false}};
  for (const TStep& step : steps) {
    SendMessageA(w, WM_SYSCOMMAND, step.Command, 0);
    EXPECT_EQ(IsZoomed(w) != 0, step.Zoomed) << std::hex << step.Command;
    EXPECT_EQ(IsIconic(w) != 0, step.Iconic) << std::hex << step.Command;
    RECT now{};
    GetWindowRect(w, &now);
    if (step.Zoomed) {
      // Maximized inside the frame: its client area is the MDI client's, caption and frame
      // pushed outside.
      EXPECT_TRUE(SameRect(ScreenClientRect(w), inside));
    } else if (!step.Iconic) {
      EXPECT_TRUE(SameRect(now, normal));
    }
  }

  // Closing takes the window away through the client and frees the form.
  SendMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(PumpUntil([&] { return destroyed; }, 2000));
  EXPECT_FALSE(IsWindow(w));
  EXPECT_TRUE(frame->MDIChildren().empty());
  EXPECT_EQ(frame->ActiveMDIChild(), nullptr);
}

TEST(MdiForms, ChildWithoutAFrameIsAClearError) {
  ASSERT_EQ(App().MDIForm(), nullptr);
  std::unique_ptr<TForm> child(NewForm(fsMDIChild, "Orphan"));
  try {
    child->HandleNeeded();
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Cannot create form Orphan: no MDI form is open");
  }
  EXPECT_FALSE(child->HandleAllocated());
}

TEST(MdiForms, ChangingToOrFromAFrameMakesTheWindowAnew) {
  std::unique_ptr<TForm> form(NewForm(fsNormal, "Form"));
  form->HandleNeeded();
  EXPECT_EQ(form->ClientHandle(), nullptr);
  form->SetFormStyle(fsMDIForm);
  HWND client = form->ClientHandle();
  ASSERT_NE(client, nullptr);
  EXPECT_EQ(GetParent(client), form->Handle());
  form->SetFormStyle(fsNormal);
  EXPECT_EQ(form->ClientHandle(), nullptr);
  EXPECT_FALSE(IsWindow(client));
  EXPECT_TRUE(form->HandleAllocated());
}

} // namespace
