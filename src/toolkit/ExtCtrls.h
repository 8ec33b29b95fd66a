// Timers and other controls without a system class of their own.
#pragma once
#include "Controls.h"

// A timer that ticks through the message loop (modal loops included).
class TTimer : public TComponent {
  TK_DECLARE_CLASS(TTimer)
public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  int Interval() const { return FInterval; }
  void SetInterval(int ms);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v);
  TNotifyEvent OnTimer;
  HWND WindowHandle() const { return FWindow; }

private:
  void Update();
  HWND FWindow = nullptr;
  int FInterval = 1000;
  bool FEnabled = true;
};
