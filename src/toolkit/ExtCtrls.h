// Timers, panels and radio groups.
#pragma once
#include "StdCtrls.h"

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

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// A panel: a box of its own class with an outer and an inner bevel and a centred caption.
class TCustomPanel : public TCustomControl {
  TK_DECLARE_CLASS(TCustomPanel)
public:
  explicit TCustomPanel(TComponent* owner);
  int BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(int v);
  int BevelInner() const { return FBevelInner; }
  void SetBevelInner(int v);
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int v);
  bool ParentBackground() const { return FParentBackground; }
  void SetParentBackground(bool v);

protected:
  void CreateParams(TCreateParams& params) override;
  void Paint(HDC dc) override;
  int FBevelOuter = bvRaised, FBevelInner = bvNone, FBevelWidth = 1;
  bool FParentBackground = false;
};

class TPanel : public TCustomPanel {
  TK_DECLARE_CLASS(TPanel)
public:
  using TCustomPanel::TCustomPanel;
};

// A group box holding one radio button per row of Items; ItemIndex is the checked one.
class TCustomRadioGroup : public TCustomGroupBox {
  TK_DECLARE_CLASS(TCustomRadioGroup)
public:
  explicit TCustomRadioGroup(TComponent* owner);
  std::vector<std::string> Items() const { return FItems; }
  // Makes one radio button per row, laid out top to bottom.
  void SetItems(const std::vector<std::string>& items);
  int ItemIndex() const;
  void SetItemIndex(int index);
  // The radio buttons, one per row.
  const std::vector<TRadioButton*>& Buttons() const { return FButtons; }
  void SetBounds(int left, int top, int width, int height) override;

protected:
  void ArrangeButtons();
  std::vector<std::string> FItems;
  std::vector<TRadioButton*> FButtons;
  int FItemIndex = -1;
};

class TRadioGroup : public TCustomRadioGroup {
  TK_DECLARE_CLASS(TRadioGroup)
public:
  using TCustomRadioGroup::TCustomRadioGroup;
};
