#include "ExtCtrls.h"
#include "UtilWindows.h"

#include <algorithm>

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

// ---------------------------------------------------------------------------------------------
// Panels

static const std::vector<const char*> kBevelCuts{"bvNone", "bvLowered", "bvRaised", "bvSpace"};

const TClassInfo& TCustomPanel::StaticClassInfo() {
  static const TClassInfo info{
      "TCustomPanel",
      &TCustomControl::StaticClassInfo(),
      nullptr,
      {EnumProp("BevelOuter", &kBevelCuts, &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter),
       EnumProp("BevelInner", &kBevelCuts, &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner),
       IntProp("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth),
       BoolProp("ParentBackground", &TCustomPanel::ParentBackground,
                &TCustomPanel::SetParentBackground)}};
  return info;
}

const TClassInfo& TPanel::StaticClassInfo() {
  static const TClassInfo info{"TPanel",
                               &TCustomPanel::StaticClassInfo(),
                               [](TComponent* o) -> TComponent* { return new TPanel(o); },
                               {}};
  return info;
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
  FWidth = 185;
  FHeight = 41;
}

void TCustomPanel::SetBevelOuter(int v) {
  FBevelOuter = v;
  Invalidate();
}
void TCustomPanel::SetBevelInner(int v) {
  FBevelInner = v;
  Invalidate();
}
void TCustomPanel::SetBevelWidth(int v) {
  FBevelWidth = std::max(1, v);
  Invalidate();
}
void TCustomPanel::SetParentBackground(bool v) {
  FParentBackground = v;
  Invalidate();
}

void TCustomPanel::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.Style |= WS_CLIPCHILDREN;
  p.ClassStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
}

void TCustomPanel::Paint(HDC dc) {
  RECT r = ClientRect();
  // The background was filled by WM_ERASEBKGND in the panel's colour.
  const auto bevel = [&](int cut) {
    if (cut == bvNone) return;
    for (int i = 0; i < FBevelWidth; ++i) {
      if (cut == bvRaised) DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
      if (cut == bvLowered) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
      InflateRect(&r, -1, -1);
    }
  };
  bevel(FBevelOuter);
  bevel(FBevelInner);
  const std::string text = GetText();
  if (text.empty()) return;
  TSelectObject font(dc, Font.Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(FEnabled ? Font.Color : clGrayText));
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// ---------------------------------------------------------------------------------------------
// Radio groups

const TClassInfo& TCustomRadioGroup::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i{
        "TCustomRadioGroup",
        &TCustomGroupBox::StaticClassInfo(),
        nullptr,
        {IntProp("ItemIndex", &TCustomRadioGroup::ItemIndex, &TCustomRadioGroup::SetItemIndex),
         LinesProp("Items", &TCustomRadioGroup::Items, &TCustomRadioGroup::SetItems)}};
    return i;
  }();
  return info;
}

const TClassInfo& TRadioGroup::StaticClassInfo() {
  static const TClassInfo info{"TRadioGroup",
                               &TCustomRadioGroup::StaticClassInfo(),
                               [](TComponent* o) -> TComponent* { return new TRadioGroup(o); },
                               {}};
  return info;
}

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner) : TCustomGroupBox(owner) {}

void TCustomRadioGroup::SetItems(const std::vector<std::string>& items) {
  const int index = ItemIndex();
  for (TRadioButton* b : FButtons)
    delete b;
  FButtons.clear();
  FItems = items;
  for (const std::string& text : FItems) {
    auto* b = new TRadioButton(this);
    b->SetText(text);
    b->SetEnabled(FEnabled);
    b->OnClick = [this](TObject*) { FItemIndex = ItemIndex(); };
    b->SetParent(this);
    FButtons.push_back(b);
  }
  ArrangeButtons();
  SetItemIndex(index < static_cast<int>(FItems.size()) ? index : -1);
}

int TCustomRadioGroup::ItemIndex() const {
  for (size_t i = 0; i < FButtons.size(); ++i)
    if (FButtons[i]->Checked()) return static_cast<int>(i);
  return FButtons.empty() ? FItemIndex : -1;
}

void TCustomRadioGroup::SetItemIndex(int index) {
  FItemIndex = index;
  for (size_t i = 0; i < FButtons.size(); ++i)
    FButtons[i]->SetChecked(static_cast<int>(i) == index);
}

void TCustomRadioGroup::SetBounds(int left, int top, int width, int height) {
  TCustomGroupBox::SetBounds(left, top, width, height);
  ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons() {
  if (FButtons.empty()) return;
  const int top = 18, bottom = 6;
  const int row = std::max(17, (FHeight - top - bottom) / static_cast<int>(FButtons.size()));
  for (size_t i = 0; i < FButtons.size(); ++i)
    FButtons[i]->SetBounds(8, top + static_cast<int>(i) * row, std::max(0, FWidth - 16), 17);
}
