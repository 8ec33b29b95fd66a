// What the skin engine's window tests share: the test skin loaded into a skin data component the
// way a form's stored description completes one, and the wait until drawing reaches the screen.
#pragma once
#include "WinSkinData.h"

#include "TestSupport.h"

// Lets the window system put what was drawn on the screen (windows are drawn into surfaces that
// reach the screen a moment later).
inline void Settle() {
  GdiFlush();
  Pump(60);
}

// A skin data component of owner with the test skin, switched on: its loading completes as at
// program start (the skin manager made, its hook installed).
inline TSkinData* LoadTestSkinData(TComponent* owner) {
  auto* data = new TSkinData(owner);
  data->ComponentState |= csLoading;
  SetPropValue(data, "SkinFile", TestSkinPath());
  SetPropValue(data, "Active", "True");
  data->Loaded();
  return data;
}
