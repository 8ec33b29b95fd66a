#include "ExtCtrls.h"
#include "UtilWindows.h"

const TClassInfo& TTimer::StaticClassInfo() {
  static const TClassInfo info{"TTimer",
                               &TComponent::StaticClassInfo(),
                               [](TComponent* o) -> TComponent* { return new TTimer(o); },
                               {IntProp("Interval", &TTimer::Interval, &TTimer::SetInterval),
                                BoolProp("Enabled", &TTimer::Enabled, &TTimer::SetEnabled),
                                EventProp("OnTimer", &TTimer::OnTimer)}};
  return info;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  FWindow = AllocateHWnd(this, [this](TMessage& m) {
    if (m.Msg == WM_TIMER) {
      if (OnTimer) OnTimer(this);
      return;
    }
    m.Result = DefWindowProcA(FWindow, m.Msg, m.WParam, m.LParam);
  });
  Update();
}

TTimer::~TTimer() {
  KillTimer(FWindow, 1);
  DeallocateHWnd(FWindow);
}

void TTimer::Update() {
  KillTimer(FWindow, 1);
  if (FEnabled && FInterval > 0) SetTimer(FWindow, 1, static_cast<UINT>(FInterval), nullptr);
}

void TTimer::SetInterval(int ms) {
  FInterval = ms;
  Update();
}

void TTimer::SetEnabled(bool v) {
  FEnabled = v;
  Update();
}
