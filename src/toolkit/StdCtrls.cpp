#include "StdCtrls.h"

#include <algorithm>

static const std::vector<const char*> kAlignments{"taLeftJustify", "taRightJustify", "taCenter"};
static const std::vector<const char*> kScrollStyles{"ssNone", "ssHorizontal", "ssVertical",
                                                    "ssBoth"};

// ---------------------------------------------------------------------------------------------
// Labels

const TClassInfo& TCustomLabel::StaticClassInfo() {
  static const TClassInfo info{
      "TCustomLabel",
      &TGraphicControl::StaticClassInfo(),
      nullptr,
      {BoolProp("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent),
       BoolProp("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap),
       EnumProp("Alignment", &kAlignments, &TCustomLabel::Alignment, &TCustomLabel::SetAlignment)}};
  return info;
}

const TClassInfo& TLabel::StaticClassInfo() {
  static const TClassInfo info{"TLabel",
                               &TCustomLabel::StaticClassInfo(),
                               [](TComponent* o) -> TComponent* { return new TLabel(o); },
                               {}};
  return info;
}

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
  FWidth = 65;
  FHeight = 17;
}

void TCustomLabel::Paint(HDC dc) {
  RECT r = ClientRect();
  if (!FTransparent) {
    const TBrushHandle brush(CreateSolidBrush(ColorToRGB(FColor)));
    FillRect(dc, &r, brush.Get());
  }
  TSelectObject font(dc, Font.Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(FEnabled ? Font.Color : clGrayText));
  UINT flags = DT_NOPREFIX | (FWordWrap ? DT_WORDBREAK : DT_SINGLELINE);
  if (FAlignment == taRightJustify) flags |= DT_RIGHT;
  if (FAlignment == taCenter) flags |= DT_CENTER;
  std::string text = GetText();
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
}

// ---------------------------------------------------------------------------------------------
// List boxes

const TClassInfo& TCustomListBox::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i{
        "TCustomListBox",
        &TWinControl::StaticClassInfo(),
        nullptr,
        {IntProp("ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight),
         IntProp("ItemIndex", &TCustomListBox::ItemIndex, &TCustomListBox::SetItemIndex),
         BoolProp("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted),
         LinesProp("Items", &TCustomListBox::Items, &TCustomListBox::SetItems)}};
    return i;
  }();
  return info;
}

const TClassInfo& TListBox::StaticClassInfo() {
  static const TClassInfo info{"TListBox",
                               &TCustomListBox::StaticClassInfo(),
                               [](TComponent* o) -> TComponent* { return new TListBox(o); },
                               {}};
  return info;
}

TCustomListBox::TCustomListBox(TComponent* owner) : TWinControl(owner) {
  FWidth = 121;
  FHeight = 97;
  FColor = clWindow;
  FParentColor = false;
  TabStop = true;
}

void TCustomListBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.SysClassName = "LISTBOX";
  p.Style |= WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS;
  if (FSorted) p.Style |= LBS_SORT;
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

int TCustomListBox::Count() const {
  if (!FHandle) return static_cast<int>(FSaved.size());
  LRESULT n = SendMessageA(FHandle, LB_GETCOUNT, 0, 0);
  return n < 0 ? 0 : static_cast<int>(n);
}

std::string TCustomListBox::Item(int index) const {
  if (!FHandle) return index >= 0 && index < static_cast<int>(FSaved.size()) ? FSaved[index] : "";
  LRESULT len = SendMessageA(FHandle, LB_GETTEXTLEN, index, 0);
  if (len == LB_ERR || len < 0) return {};
  std::string s(static_cast<size_t>(len) + 1, '\0');
  LRESULT got = SendMessageA(FHandle, LB_GETTEXT, index, reinterpret_cast<LPARAM>(s.data()));
  if (got == LB_ERR || got < 0) return {};
  s.resize(std::min<size_t>(static_cast<size_t>(got), static_cast<size_t>(len)));
  return s;
}

void TCustomListBox::Add(const std::string& text) {
  if (!FHandle) {
    FSaved.push_back(text);
    return;
  }
  SendMessageA(FHandle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TCustomListBox::Delete(int index) {
  if (!FHandle) {
    if (index >= 0 && index < static_cast<int>(FSaved.size())) FSaved.erase(FSaved.begin() + index);
    return;
  }
  SendMessageA(FHandle, LB_DELETESTRING, index, 0);
}

void TCustomListBox::Clear() {
  FSaved.clear();
  if (FHandle) SendMessageA(FHandle, LB_RESETCONTENT, 0, 0);
}

std::vector<std::string> TCustomListBox::Items() const {
  std::vector<std::string> v;
  int n = Count();
  v.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i)
    v.push_back(Item(i));
  return v;
}

void TCustomListBox::SetItems(const std::vector<std::string>& items) {
  if (FHandle) SendMessageA(FHandle, WM_SETREDRAW, FALSE, 0);
  Clear();
  for (const auto& s : items)
    Add(s);
  if (FHandle) {
    SendMessageA(FHandle, WM_SETREDRAW, TRUE, 0);
    Invalidate();
  }
}

int TCustomListBox::ItemIndex() const {
  if (!FHandle) return FSavedIndex;
  LRESULT i = SendMessageA(FHandle, LB_GETCURSEL, 0, 0);
  return i == LB_ERR ? -1 : static_cast<int>(i);
}

void TCustomListBox::SetItemIndex(int index) {
  if (!FHandle) {
    FSavedIndex = index;
    return;
  }
  SendMessageA(FHandle, LB_SETCURSEL, index, 0);
}

void TCustomListBox::SetItemHeight(int v) {
  FItemHeight = v;
  if (FHandle) SendMessageA(FHandle, LB_SETITEMHEIGHT, 0, v);
}

void TCustomListBox::SaveWindowState() {
  std::vector<std::string> rows = Items();
  FSavedIndex = ItemIndex();
  FSaved = std::move(rows);
}

void TCustomListBox::RestoreWindowState() {
  SendMessageA(FHandle, LB_SETITEMHEIGHT, 0, FItemHeight);
  for (const auto& s : FSaved)
    SendMessageA(FHandle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
  FSaved.clear();
  if (FSavedIndex >= 0) SendMessageA(FHandle, LB_SETCURSEL, FSavedIndex, 0);
}

// ---------------------------------------------------------------------------------------------
// Edits

const TClassInfo& TCustomEdit::StaticClassInfo() {
  static const TClassInfo info{
      "TCustomEdit",
      &TWinControl::StaticClassInfo(),
      nullptr,
      {BoolProp("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly),
       IntProp("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength)}};
  return info;
}

const TClassInfo& TEdit::StaticClassInfo() {
  static const TClassInfo info{"TEdit",
                               &TCustomEdit::StaticClassInfo(),
                               [](TComponent* o) -> TComponent* { return new TEdit(o); },
                               {}};
  return info;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  FWidth = 121;
  FHeight = 21;
  FColor = clWindow;
  FParentColor = false;
  TabStop = true;
}

void TCustomEdit::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.SysClassName = "EDIT";
  p.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
  if (FReadOnly) p.Style |= ES_READONLY;
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::SetReadOnly(bool v) {
  FReadOnly = v;
  if (FHandle) SendMessageA(FHandle, EM_SETREADONLY, v, 0);
}

void TCustomEdit::SetMaxLength(int v) {
  FMaxLength = v;
  if (FHandle) SendMessageA(FHandle, EM_LIMITTEXT, v, 0);
}

void TCustomEdit::Dispatch(TMessage& msg) {
  // A read-only edit keeps the window colour, not the system's grey.
  if (msg.Msg == CN_CTLCOLORSTATIC) msg.Msg = CN_CTLCOLOREDIT;
  TWinControl::Dispatch(msg);
}

const TClassInfo& TCustomMemo::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i{"TCustomMemo",
                 &TCustomEdit::StaticClassInfo(),
                 nullptr,
                 {EnumProp("ScrollBars", &kScrollStyles, &TCustomMemo::ScrollBars,
                           &TCustomMemo::SetScrollBars),
                  BoolProp("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap)}};
    TPropInfo lines;
    lines.Name = "Lines";
    lines.Get = [](const TObject* o) { return static_cast<const TCustomMemo*>(o)->GetText(); };
    lines.Set = [](TObject* o, const std::string& v) { static_cast<TCustomMemo*>(o)->SetText(v); };
    i.Props.push_back(lines);
    return i;
  }();
  return info;
}

const TClassInfo& TMemo::StaticClassInfo() {
  static const TClassInfo info{"TMemo",
                               &TCustomMemo::StaticClassInfo(),
                               [](TComponent* o) -> TComponent* { return new TMemo(o); },
                               {}};
  return info;
}

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner) {
  FWidth = 185;
  FHeight = 89;
}

void TCustomMemo::CreateParams(TCreateParams& p) {
  TCustomEdit::CreateParams(p);
  p.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
  p.Style |= ES_MULTILINE | ES_WANTRETURN;
  if (!FWordWrap) p.Style |= ES_AUTOHSCROLL;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) p.Style |= WS_VSCROLL;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) p.Style |= WS_HSCROLL;
}

std::vector<std::string> TCustomMemo::Lines() const {
  std::vector<std::string> out;
  std::string text = GetText();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    out.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return out;
}

void TCustomMemo::SetLines(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i)
    text += (i ? "\r\n" : "") + lines[i];
  SetText(text);
}

// ---------------------------------------------------------------------------------------------
// Buttons

const TClassInfo& TButtonControl::StaticClassInfo() {
  static const TClassInfo info{"TButtonControl", &TWinControl::StaticClassInfo(), nullptr, {}};
  return info;
}

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
  FWidth = 75;
  FHeight = 25;
  TabStop = true;
}

void TButtonControl::Dispatch(TMessage& msg) {
  if (msg.Msg == CN_COMMAND && TWMCommand(msg).NotifyCode == BN_CLICKED) {
    Click();
    return;
  }
  TWinControl::Dispatch(msg);
}

const TClassInfo& TButton::StaticClassInfo() {
  static const TClassInfo info{"TButton",
                               &TButtonControl::StaticClassInfo(),
                               [](TComponent* o) -> TComponent* { return new TButton(o); },
                               {BoolProp("Default", &TButton::Default, &TButton::SetDefault)}};
  return info;
}

void TButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  p.SysClassName = "BUTTON";
  p.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

// ---------------------------------------------------------------------------------------------
// Check boxes and radio buttons

static const std::vector<const char*> kCheckBoxStates{"cbUnchecked", "cbChecked", "cbGrayed"};

const TClassInfo& TCustomCheckBox::StaticClassInfo() {
  static const TClassInfo info{
      "TCustomCheckBox",
      &TButtonControl::StaticClassInfo(),
      nullptr,
      {EnumProp("State", &kCheckBoxStates, &TCustomCheckBox::State, &TCustomCheckBox::SetState),
       BoolProp("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked),
       BoolProp("AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed),
       EnumProp("Alignment", &kAlignments, &TCustomCheckBox::Alignment,
                &TCustomCheckBox::SetAlignment)}};
  return info;
}

const TClassInfo& TCheckBox::StaticClassInfo() {
  static const TClassInfo info{"TCheckBox",
                               &TCustomCheckBox::StaticClassInfo(),
                               [](TComponent* o) -> TComponent* { return new TCheckBox(o); },
                               {}};
  return info;
}

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) {
  FWidth = 97;
  FHeight = 17;
}

void TCustomCheckBox::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  p.SysClassName = "BUTTON";
  p.Style |= BS_3STATE;
  if (FAlignment == taLeftJustify) p.Style |= BS_LEFTTEXT;
}

int TCustomCheckBox::State() const {
  if (!FHandle) return FState;
  LRESULT s = SendMessageA(FHandle, BM_GETCHECK, 0, 0);
  return s == BST_CHECKED ? cbChecked : s == BST_INDETERMINATE ? cbGrayed : cbUnchecked;
}

void TCustomCheckBox::SetState(int v) {
  if (v == cbGrayed && !FAllowGrayed) v = cbUnchecked;
  FState = std::clamp(v, 0, static_cast<int>(cbGrayed));
  if (FHandle) RestoreWindowState();
}

void TCustomCheckBox::SetAllowGrayed(bool v) {
  FAllowGrayed = v;
  if (!v && State() == cbGrayed) SetState(cbUnchecked);
}

void TCustomCheckBox::RestoreWindowState() {
  SendMessageA(FHandle, BM_SETCHECK,
               FState == cbChecked  ? BST_CHECKED
               : FState == cbGrayed ? BST_INDETERMINATE
                                    : BST_UNCHECKED,
               0);
}

void TCustomCheckBox::Dispatch(TMessage& msg) {
  // A click steps the state (unchecked, checked, grayed when allowed), then runs OnClick.
  if (msg.Msg == CN_COMMAND && TWMCommand(msg).NotifyCode == BN_CLICKED) {
    const int s = State();
    SetState(s == cbUnchecked                 ? cbChecked
             : s == cbChecked && FAllowGrayed ? cbGrayed
                                              : cbUnchecked);
  }
  TButtonControl::Dispatch(msg);
}

const TClassInfo& TRadioButton::StaticClassInfo() {
  static const TClassInfo info{
      "TRadioButton",
      &TButtonControl::StaticClassInfo(),
      [](TComponent* o) -> TComponent* { return new TRadioButton(o); },
      {BoolProp("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked)}};
  return info;
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
  FWidth = 113;
  FHeight = 17;
}

void TRadioButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  p.SysClassName = "BUTTON";
  p.Style |= BS_RADIOBUTTON;
}

bool TRadioButton::Checked() const {
  return FHandle ? SendMessageA(FHandle, BM_GETCHECK, 0, 0) == BST_CHECKED : FChecked;
}

void TRadioButton::SetChecked(bool v) {
  FChecked = v;
  if (FHandle) RestoreWindowState();
  if (!v || !FParent) return;
  for (TControl* c : FParent->Controls())
    if (auto* other = dynamic_cast<TRadioButton*>(c); other && other != this && other->Checked())
      other->SetChecked(false);
}

void TRadioButton::RestoreWindowState() {
  SendMessageA(FHandle, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::Dispatch(TMessage& msg) {
  if (msg.Msg == CN_COMMAND && TWMCommand(msg).NotifyCode == BN_CLICKED) SetChecked(true);
  TButtonControl::Dispatch(msg);
}

// ---------------------------------------------------------------------------------------------
// Group boxes

const TClassInfo& TCustomGroupBox::StaticClassInfo() {
  static const TClassInfo info{"TCustomGroupBox", &TWinControl::StaticClassInfo(), nullptr, {}};
  return info;
}

const TClassInfo& TGroupBox::StaticClassInfo() {
  static const TClassInfo info{"TGroupBox",
                               &TCustomGroupBox::StaticClassInfo(),
                               [](TComponent* o) -> TComponent* { return new TGroupBox(o); },
                               {}};
  return info;
}

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TWinControl(owner) {
  FWidth = 185;
  FHeight = 105;
}

void TCustomGroupBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.SysClassName = "BUTTON";
  p.Style |= BS_GROUPBOX | WS_CLIPCHILDREN;
}

void TCustomGroupBox::Dispatch(TMessage& msg) {
  if (msg.Msg == WM_ERASEBKGND && msg.WParam) {
    RECT r{};
    GetClientRect(FHandle, &r);
    FillRect(reinterpret_cast<HDC>(msg.WParam), &r, Brush());
    msg.Result = 1;
    return;
  }
  TWinControl::Dispatch(msg);
}

// ---------------------------------------------------------------------------------------------
// Combo boxes

static const std::vector<const char*> kComboBoxStyles{"csDropDown", "csSimple", "csDropDownList"};

const TClassInfo& TCustomComboBox::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i{
        "TCustomComboBox",
        &TWinControl::StaticClassInfo(),
        nullptr,
        {EnumProp("Style", &kComboBoxStyles, &TCustomComboBox::Style, &TCustomComboBox::SetStyle),
         IntProp("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex),
         IntProp("DropDownCount", &TCustomComboBox::DropDownCount,
                 &TCustomComboBox::SetDropDownCount),
         LinesProp("Items", &TCustomComboBox::Items, &TCustomComboBox::SetItems)}};
    return i;
  }();
  return info;
}

const TClassInfo& TComboBox::StaticClassInfo() {
  static const TClassInfo info{"TComboBox",
                               &TCustomComboBox::StaticClassInfo(),
                               [](TComponent* o) -> TComponent* { return new TComboBox(o); },
                               {}};
  return info;
}

TCustomComboBox::TCustomComboBox(TComponent* owner) : TWinControl(owner) {
  FWidth = 145;
  FHeight = 21;
  FColor = clWindow;
  FParentColor = false;
  TabStop = true;
}

void TCustomComboBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.SysClassName = "COMBOBOX";
  p.Style |= WS_VSCROLL | CBS_AUTOHSCROLL | CBS_HASSTRINGS | CBS_NOINTEGRALHEIGHT;
  p.Style |= FStyle == csSimple         ? CBS_SIMPLE
             : FStyle == csDropDownList ? CBS_DROPDOWNLIST
                                        : CBS_DROPDOWN;
  // A dropping style's window height includes its list.
  if (FStyle != csSimple) p.Height = FHeight + FDropDownCount * 16;
}

std::vector<std::string> TCustomComboBox::Items() const {
  if (!FHandle) return FSaved;
  std::vector<std::string> rows;
  const LRESULT n = SendMessageA(FHandle, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    const LRESULT len = SendMessageA(FHandle, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    std::string s(len > 0 ? static_cast<size_t>(len) + 1 : 1, '\0');
    const LRESULT got = SendMessageA(FHandle, CB_GETLBTEXT, static_cast<WPARAM>(i),
                                     reinterpret_cast<LPARAM>(s.data()));
    s.resize(got > 0 ? static_cast<size_t>(got) : 0);
    rows.push_back(s);
  }
  return rows;
}

void TCustomComboBox::SetItems(const std::vector<std::string>& items) {
  FSaved = items;
  if (!FHandle) return;
  SendMessageA(FHandle, CB_RESETCONTENT, 0, 0);
  RestoreWindowState();
}

int TCustomComboBox::ItemIndex() const {
  if (!FHandle) return FSavedIndex;
  const LRESULT i = SendMessageA(FHandle, CB_GETCURSEL, 0, 0);
  return i == CB_ERR ? -1 : static_cast<int>(i);
}

void TCustomComboBox::SetItemIndex(int index) {
  FSavedIndex = index;
  if (FHandle) SendMessageA(FHandle, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TCustomComboBox::SaveWindowState() {
  std::vector<std::string> rows = Items();
  FSavedIndex = ItemIndex();
  FSaved = std::move(rows);
}

void TCustomComboBox::RestoreWindowState() {
  for (const auto& s : FSaved)
    SendMessageA(FHandle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
  if (FSavedIndex >= 0) SendMessageA(FHandle, CB_SETCURSEL, static_cast<WPARAM>(FSavedIndex), 0);
  if (FSavedIndex < 0 && FStyle != csDropDownList && !FText.empty())
    SetWindowTextA(FHandle, FText.c_str());
}

// ---------------------------------------------------------------------------------------------
// Scroll bars

static const std::vector<const char*> kScrollBarKinds{"sbHorizontal", "sbVertical"};

const TClassInfo& TScrollBar::StaticClassInfo() {
  static const TClassInfo info{
      "TScrollBar",
      &TWinControl::StaticClassInfo(),
      [](TComponent* o) -> TComponent* { return new TScrollBar(o); },
      {EnumProp("Kind", &kScrollBarKinds, &TScrollBar::Kind, &TScrollBar::SetKind),
       IntProp("Min", &TScrollBar::Min, &TScrollBar::SetMin),
       IntProp("Max", &TScrollBar::Max, &TScrollBar::SetMax),
       IntProp("Position", &TScrollBar::Position, &TScrollBar::SetPosition),
       IntProp("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize),
       IntProp("SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange),
       IntProp("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange),
       EventProp("OnChange", &TScrollBar::OnChange)}};
  return info;
}

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
  FWidth = 121;
  FHeight = 17;
  TabStop = true;
}

void TScrollBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.SysClassName = "SCROLLBAR";
  p.Style |= FKind == sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::SetKind(int v) {
  if (v == FKind) return;
  FKind = v;
  std::swap(FWidth, FHeight);
  RecreateWnd();
}

void TScrollBar::SetMin(int v) {
  FMin = v;
  UpdateInfo();
}
void TScrollBar::SetMax(int v) {
  FMax = v;
  UpdateInfo();
}
void TScrollBar::SetPageSize(int v) {
  FPageSize = v;
  UpdateInfo();
}

int TScrollBar::Position() const {
  return FPosition;
}

void TScrollBar::SetPosition(int v) {
  v = std::clamp(v, FMin, std::max(FMin, FMax - std::max(FPageSize - 1, 0)));
  if (v == FPosition) return;
  FPosition = v;
  UpdateInfo();
  if (OnChange) OnChange(this);
}

void TScrollBar::UpdateInfo() {
  if (!FHandle) return;
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_POS | SIF_PAGE, FMin,
                FMax,      static_cast<UINT>(FPageSize),   FPosition,
                0};
  SetScrollInfo(FHandle, SB_CTL, &si, TRUE);
}

void TScrollBar::Dispatch(TMessage& msg) {
  if (msg.Msg == CN_HSCROLL || msg.Msg == CN_VSCROLL) {
    const TWMScroll scroll(msg);
    switch (scroll.ScrollCode) {
    case SB_LINELEFT:
      SetPosition(FPosition - FSmallChange);
      break;
    case SB_LINERIGHT:
      SetPosition(FPosition + FSmallChange);
      break;
    case SB_PAGELEFT:
      SetPosition(FPosition - FLargeChange);
      break;
    case SB_PAGERIGHT:
      SetPosition(FPosition + FLargeChange);
      break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(FHandle, SB_CTL, &si);
      SetPosition(si.nTrackPos);
      break;
    }
    case SB_TOP:
      SetPosition(FMin);
      break;
    case SB_BOTTOM:
      SetPosition(FMax);
      break;
    }
    msg.Result = 0;
    return;
  }
  TWinControl::Dispatch(msg);
}
