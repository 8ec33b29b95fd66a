// Cost of a full non-client repaint of a skinned window (borders, title bar with caption text
// and buttons, composed in the title buffer) against the system's own non-client repaint of the
// same window, unskinned, in the same run.
//
// BM_NcPaintSystem times RedrawWindow(RDW_FRAME | RDW_UPDATENOW) of a window of the main form's
// size and frame with no skin. BM_NcPaintSkinned does the same after the skin manager has taken
// the window over with the default skin. Beside every skinned repaint it also times one system
// repaint of a second, unskinned window of the same size (outside the timed part, in alternating
// order), so that the reported "ratio" (skinned / system) compares the two under the same
// conditions; "system_us" is the system repaint's mean there.
#include "SkinManage.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

#include "Forms.h"

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

// A form of the main window's client size and frame (fixed, system menu, minimize box).
TForm* MakeForm(int left) {
  auto* form = new TForm(&App());
  form->SetBorderStyle(bsSingle);
  form->SetBorderIcons((1u << biSystemMenu) | (1u << biMinimize));
  form->SetCaption("Tarnel");
  form->SetBounds(left, 20, 400, 300);
  form->SetClientWidth(688);
  form->SetClientHeight(446);
  return form;
}

void Repaint(HWND wnd) {
  RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
}

struct TSetup {
  TForm* Plain = nullptr;
  TForm* Skinned = nullptr;
  TSkinData* Data = nullptr;
  TSetup() {
    App();
    // The plain window is made before any skin exists, so that it stays unskinned.
    Plain = MakeForm(10);
    Plain->Show();
    Pump();
    TForm* host = new TForm(&App());
    Data = new TSkinData(host);
    Data->ComponentState |= csLoading;
    SetPropValue(Data, "SkinFile", TARNEL_BENCH_SKIN);
    SetPropValue(Data, "Active", "True");
    Data->Loaded();
    Skinned = MakeForm(300);
    Skinned->Show();
    SetForegroundWindow(Skinned->Handle());
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

void BM_NcPaintSystem(benchmark::State& state) {
  HWND wnd = Setup().Plain->Handle();
  for (auto _ : state)
    Repaint(wnd);
}

void BM_NcPaintSkinned(benchmark::State& state) {
  TSetup& s = Setup();
  HWND skinned = s.Skinned->Handle(), plain = s.Plain->Handle();
  TSkinManage* manager = TSkinManage::Manager();
  if (!manager || !manager->FindSkinner(skinned)) {
    state.SkipWithError("the window was not skinned");
    return;
  }
  TimeAgainstBaseline(
      state, [&] { Repaint(skinned); }, [&] { Repaint(plain); });
}

BENCHMARK(BM_NcPaintSystem)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NcPaintSkinned)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
