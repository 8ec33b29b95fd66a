// Cost of repainting a skinned push button (face cell nine-sliced from the skin, caption, all
// composed off screen and copied in one block) against the system's repaint of the same button
// unskinned, in the same run.
//
// BM_ButtonPaintSystem times RedrawWindow(RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW) of a push
// button of the main window's "添加" size on a form with no skin. BM_ButtonPaintSkinned does the
// same for the same button on a form the skin manager took over with the default skin, and
// beside each skinned repaint times one system repaint of the unskinned button (outside the
// timed part, in alternating order): "ratio" is skinned / system under the same conditions,
// "system_us" the system repaint's mean there.
#include "SkinManage.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

#include "Forms.h"
#include "StdCtrls.h"

#include <benchmark/benchmark.h>

#include "BenchClock.h"

namespace {

TApplication& App() {
  static TApplication* app = new TApplication;
  return *app;
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

TButton* MakeButtonForm(int left) {
  auto* form = new TForm(&App());
  form->SetCaption("Tarnel");
  form->SetBounds(left, 20, 260, 160);
  auto* button = new TButton(form);
  button->SetParent(form);
  button->SetBounds(20, 20, 75, 25);
  button->SetCaption("\xE6\xB7\xBB\xE5\x8A\xA0"); // "添加"
  form->Show();
  return button;
}

void Repaint(HWND wnd) {
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

struct TSetup {
  TButton* Plain = nullptr;
  TButton* Skinned = nullptr;
  TSetup() {
    App();
    // The plain form is made before any skin exists, so that it stays unskinned.
    Plain = MakeButtonForm(10);
    Pump();
    TForm* host = new TForm(&App());
    auto* data = new TSkinData(host);
    data->ComponentState |= csLoading;
    SetPropValue(data, "SkinFile", TARNEL_BENCH_SKIN);
    SetPropValue(data, "Active", "True");
    data->Loaded();
    Skinned = MakeButtonForm(300);
    SetForegroundWindow(Skinned->Parent()->Handle());
    for (int i = 0; i < 20; ++i) {
      Pump();
      Sleep(5);
    }
  }
};

TSetup& Setup() {
  static TSetup* setup = new TSetup;
  return *setup;
}

void BM_ButtonPaintSystem(benchmark::State& state) {
  HWND wnd = Setup().Plain->Handle();
  for (auto _ : state)
    Repaint(wnd);
}

void BM_ButtonPaintSkinned(benchmark::State& state) {
  TSetup& s = Setup();
  HWND skinned = s.Skinned->Handle(), plain = s.Plain->Handle();
  if (SendMessageW(skinned, SKM_QUERY, 0, 0) != 1) {
    state.SkipWithError("the button was not skinned");
    return;
  }
  TimeAgainstBaseline(
      state, [&] { Repaint(skinned); }, [&] { Repaint(plain); });
}

BENCHMARK(BM_ButtonPaintSystem)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ButtonPaintSkinned)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
