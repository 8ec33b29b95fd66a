#include "ComCtrls.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

void InitCommonControlClasses() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES |
                                             ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES |
                                             ICC_PROGRESS_CLASS | ICC_UPDOWN_CLASS};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

namespace {
template <class C>
TPropInfo TextWidthsProp(const char* name, const std::vector<TTextWidth>& (C::*get)() const,
                         void (C::*set)(const std::vector<TTextWidth>&), int defaultWidth) {
  TPropInfo p;
  p.Name = name;
  p.Get = [get](const TObject* o) { return FormatTextWidths((static_cast<const C*>(o)->*get)()); };
  p.Set = [=](TObject* o, const std::string& v) {
    (static_cast<C*>(o)->*set)(ParseTextWidths(v, defaultWidth));
  };
  return p;
}

template <class T>
TComponent* Make(TComponent* owner) {
  return new T(owner);
}
} // namespace

std::vector<TTextWidth> ParseTextWidths(const std::string& rows, int defaultWidth) {
  std::vector<TTextWidth> out;
  for (const std::string& row : SplitLines(rows)) {
    const size_t comma = row.rfind(',');
    int width = defaultWidth;
    std::string text = row;
    if (comma != std::string::npos) {
      const std::string number = row.substr(comma + 1);
      char* end = nullptr;
      const long w = std::strtol(number.c_str(), &end, 10);
      if (!number.empty() && end && *end == '\0') {
        width = static_cast<int>(std::clamp(w, 0L, 10000L));
        text = row.substr(0, comma);
      }
    }
    out.push_back({text, width});
  }
  return out;
}

std::string FormatTextWidths(const std::vector<TTextWidth>& items) {
  std::string s;
  for (const auto& i : items)
    s += i.Text + "," + std::to_string(i.Width) + "\r\n";
  return s;
}

const TClassInfo& TCommonControl::StaticClassInfo() {
  static const TClassInfo info{"TCommonControl", &TWinControl::StaticClassInfo(), nullptr, {}};
  return info;
}

void TCommonControl::CreateParams(TCreateParams& p) {
  InitCommonControlClasses();
  TWinControl::CreateParams(p);
}

// ---------------------------------------------------------------------------------------------
// Progress bars

static const std::vector<const char*> kProgressOrientations{"pbHorizontal", "pbVertical"};

const TClassInfo& TProgressBar::StaticClassInfo() {
  static const TClassInfo info{
      "TProgressBar",
      &TCommonControl::StaticClassInfo(),
      &Make<TProgressBar>,
      {IntProp("Min", &TProgressBar::Min, &TProgressBar::SetMin),
       IntProp("Max", &TProgressBar::Max, &TProgressBar::SetMax),
       IntProp("Position", &TProgressBar::Position, &TProgressBar::SetPosition),
       EnumProp("Orientation", &kProgressOrientations, &TProgressBar::Orientation,
                &TProgressBar::SetOrientation)}};
  return info;
}

TProgressBar::TProgressBar(TComponent* owner) : TCommonControl(owner) {
  FWidth = 150;
  FHeight = 17;
}

void TProgressBar::CreateParams(TCreateParams& p) {
  TCommonControl::CreateParams(p);
  p.SysClassName = PROGRESS_CLASSA;
  if (FOrientation == pbVertical) p.Style |= PBS_VERTICAL;
}

void TProgressBar::SetMin(int v) {
  FPosition = Position();
  FMin = v;
  if (FHandle) RestoreWindowState();
}
void TProgressBar::SetMax(int v) {
  FPosition = Position();
  FMax = v;
  if (FHandle) RestoreWindowState();
}
int TProgressBar::Position() const {
  return FHandle ? static_cast<int>(SendMessageA(FHandle, PBM_GETPOS, 0, 0)) : FPosition;
}
void TProgressBar::SetPosition(int v) {
  FPosition = std::clamp(v, FMin, std::max(FMin, FMax));
  if (FHandle) SendMessageA(FHandle, PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}
void TProgressBar::SetOrientation(int v) {
  FOrientation = v;
  RecreateWnd();
}
void TProgressBar::RestoreWindowState() {
  SendMessageA(FHandle, PBM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
  SendMessageA(FHandle, PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

// ---------------------------------------------------------------------------------------------
// Track bars

static const std::vector<const char*> kTrackOrientations{"trHorizontal", "trVertical"};

const TClassInfo& TTrackBar::StaticClassInfo() {
  static const TClassInfo info{
      "TTrackBar",
      &TCommonControl::StaticClassInfo(),
      &Make<TTrackBar>,
      {IntProp("Min", &TTrackBar::Min, &TTrackBar::SetMin),
       IntProp("Max", &TTrackBar::Max, &TTrackBar::SetMax),
       IntProp("Position", &TTrackBar::Position, &TTrackBar::SetPosition),
       IntProp("Frequency", &TTrackBar::Frequency, &TTrackBar::SetFrequency),
       EnumProp("Orientation", &kTrackOrientations, &TTrackBar::Orientation,
                &TTrackBar::SetOrientation)}};
  return info;
}

TTrackBar::TTrackBar(TComponent* owner) : TCommonControl(owner) {
  FWidth = 150;
  FHeight = 45;
  TabStop = true;
}

void TTrackBar::CreateParams(TCreateParams& p) {
  TCommonControl::CreateParams(p);
  p.SysClassName = TRACKBAR_CLASSA;
  p.Style |= TBS_AUTOTICKS | (FOrientation == trVertical ? TBS_VERT : TBS_HORZ);
}

void TTrackBar::SetMin(int v) {
  FPosition = Position();
  FMin = v;
  if (FHandle) RestoreWindowState();
}
void TTrackBar::SetMax(int v) {
  FPosition = Position();
  FMax = v;
  if (FHandle) RestoreWindowState();
}
int TTrackBar::Position() const {
  return FHandle ? static_cast<int>(SendMessageA(FHandle, TBM_GETPOS, 0, 0)) : FPosition;
}
void TTrackBar::SetPosition(int v) {
  FPosition = std::clamp(v, FMin, std::max(FMin, FMax));
  if (FHandle) SendMessageA(FHandle, TBM_SETPOS, TRUE, FPosition);
}
void TTrackBar::SetFrequency(int v) {
  FFrequency = std::max(1, v);
  if (FHandle) SendMessageA(FHandle, TBM_SETTICFREQ, static_cast<WPARAM>(FFrequency), 0);
}
void TTrackBar::SetOrientation(int v) {
  if (v == FOrientation) return;
  FOrientation = v;
  std::swap(FWidth, FHeight);
  RecreateWnd();
}
void TTrackBar::RestoreWindowState() {
  SendMessageA(FHandle, TBM_SETRANGEMIN, FALSE, FMin);
  SendMessageA(FHandle, TBM_SETRANGEMAX, FALSE, FMax);
  SendMessageA(FHandle, TBM_SETTICFREQ, static_cast<WPARAM>(FFrequency), 0);
  SendMessageA(FHandle, TBM_SETPOS, TRUE, FPosition);
}

// ---------------------------------------------------------------------------------------------
// Up-down arrows

static const std::vector<const char*> kUDOrientations{"udHorizontal", "udVertical"};

const TClassInfo& TUpDown::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i{"TUpDown",
                 &TCommonControl::StaticClassInfo(),
                 &Make<TUpDown>,
                 {IntProp("Min", &TUpDown::Min, &TUpDown::SetMin),
                  IntProp("Max", &TUpDown::Max, &TUpDown::SetMax),
                  IntProp("Position", &TUpDown::Position, &TUpDown::SetPosition),
                  BoolProp("Wrap", &TUpDown::Wrap, &TUpDown::SetWrap),
                  EnumProp("Orientation", &kUDOrientations, &TUpDown::Orientation,
                           &TUpDown::SetOrientation)}};
    TPropInfo buddy;
    buddy.Name = "Associate";
    buddy.Kind = pkComponent;
    buddy.Get = [](const TObject* o) {
      const TWinControl* a = static_cast<const TUpDown*>(o)->Associate();
      return a ? a->Name : std::string();
    };
    buddy.SetComponent = [](TObject* o, TComponent* c) {
      static_cast<TUpDown*>(o)->SetAssociate(dynamic_cast<TWinControl*>(c));
    };
    i.Props.push_back(buddy);
    return i;
  }();
  return info;
}

TUpDown::TUpDown(TComponent* owner) : TCommonControl(owner) {
  FWidth = 17;
  FHeight = 21;
}

void TUpDown::CreateParams(TCreateParams& p) {
  TCommonControl::CreateParams(p);
  p.SysClassName = UPDOWN_CLASSA;
  p.Style |= UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
  if (FOrientation == udHorizontal) p.Style |= UDS_HORZ;
  if (FWrap) p.Style |= UDS_WRAP;
}

void TUpDown::SetMin(int v) {
  FPosition = Position();
  FMin = v;
  if (FHandle) RestoreWindowState();
}
void TUpDown::SetMax(int v) {
  FPosition = Position();
  FMax = v;
  if (FHandle) RestoreWindowState();
}
int TUpDown::Position() const {
  if (!FHandle) return FPosition;
  BOOL error = FALSE;
  const LRESULT pos = SendMessageA(FHandle, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error));
  return error ? FPosition : static_cast<int>(pos);
}
void TUpDown::SetPosition(int v) {
  FPosition = std::clamp(v, std::min(FMin, FMax), std::max(FMin, FMax));
  if (FHandle) SendMessageA(FHandle, UDM_SETPOS32, 0, FPosition);
}
void TUpDown::SetOrientation(int v) {
  FOrientation = v;
  RecreateWnd();
}
void TUpDown::SetWrap(bool v) {
  FWrap = v;
  RecreateWnd();
}

void TUpDown::SetAssociate(TWinControl* buddy) {
  if (FAssociate) RemoveFreeNotification(FAssociate);
  FAssociate = buddy;
  if (buddy) {
    FreeNotification(buddy);
    SetBounds(buddy->Left() + buddy->Width(), buddy->Top(), FWidth, buddy->Height());
  }
  if (FHandle) RestoreWindowState();
}

void TUpDown::Notification(TComponent* component, TOperation operation) {
  TCommonControl::Notification(component, operation);
  if (operation == opRemove && component == FAssociate) {
    FAssociate = nullptr;
    if (FHandle) SendMessageA(FHandle, UDM_SETBUDDY, 0, 0);
  }
}

void TUpDown::RestoreWindowState() {
  SendMessageA(FHandle, UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
  SendMessageA(FHandle, UDM_SETBUDDY,
               reinterpret_cast<WPARAM>(FAssociate ? FAssociate->Handle() : nullptr), 0);
  SendMessageA(FHandle, UDM_SETPOS32, 0, FPosition);
}

// ---------------------------------------------------------------------------------------------
// Date-time pickers

static const std::vector<const char*> kDateTimeKinds{"dtkDate", "dtkTime"};
static const std::vector<const char*> kDateModes{"dmComboBox", "dmUpDown"};

const TClassInfo& TDateTimePicker::StaticClassInfo() {
  static const TClassInfo info{
      "TDateTimePicker",
      &TCommonControl::StaticClassInfo(),
      &Make<TDateTimePicker>,
      {EnumProp("Kind", &kDateTimeKinds, &TDateTimePicker::Kind, &TDateTimePicker::SetKind),
       EnumProp("DateMode", &kDateModes, &TDateTimePicker::DateMode, &TDateTimePicker::SetDateMode),
       StrProp("DateTime", &TDateTimePicker::DateTime, &TDateTimePicker::SetDateTime)}};
  return info;
}

TDateTimePicker::TDateTimePicker(TComponent* owner) : TCommonControl(owner) {
  FWidth = 186;
  FHeight = 21;
  TabStop = true;
  GetLocalTime(&FTime);
}

void TDateTimePicker::CreateParams(TCreateParams& p) {
  TCommonControl::CreateParams(p);
  p.SysClassName = DATETIMEPICK_CLASSA;
  if (FKind == dtkTime)
    p.Style |= DTS_TIMEFORMAT;
  else if (FDateMode == dmUpDown)
    p.Style |= DTS_UPDOWN;
}

std::string TDateTimePicker::DateTime() const {
  SYSTEMTIME t = FTime;
  if (FHandle) SendMessageA(FHandle, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t));
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay,
                t.wHour, t.wMinute, t.wSecond);
  return buf;
}

void TDateTimePicker::SetDateTime(const std::string& v) {
  unsigned y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  const int n = std::sscanf(v.c_str(), "%u-%u-%u %u:%u:%u", &y, &mo, &d, &h, &mi, &s);
  if (n != 3 && n != 6) throw Exception("\"" + v + "\" is no date and time");
  SYSTEMTIME t{
      static_cast<WORD>(y),  static_cast<WORD>(mo), 0, static_cast<WORD>(d), static_cast<WORD>(h),
      static_cast<WORD>(mi), static_cast<WORD>(s),  0};
  FILETIME check;
  if (!SystemTimeToFileTime(&t, &check)) throw Exception("\"" + v + "\" is no date and time");
  FTime = t;
  if (FHandle) RestoreWindowState();
}

void TDateTimePicker::SaveWindowState() {
  SendMessageA(FHandle, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&FTime));
}

void TDateTimePicker::RestoreWindowState() {
  SendMessageA(FHandle, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&FTime));
}

// ---------------------------------------------------------------------------------------------
// Status bars

const TClassInfo& TCustomStatusBar::StaticClassInfo() {
  static const TClassInfo info{
      "TCustomStatusBar",
      &TCommonControl::StaticClassInfo(),
      nullptr,
      {TextWidthsProp("Panels", &TCustomStatusBar::Panels, &TCustomStatusBar::SetPanels, 50),
       BoolProp("SimplePanel", &TCustomStatusBar::SimplePanel, &TCustomStatusBar::SetSimplePanel),
       StrProp("SimpleText", &TCustomStatusBar::SimpleText, &TCustomStatusBar::SetSimpleText)}};
  return info;
}

const TClassInfo& TStatusBar::StaticClassInfo() {
  static const TClassInfo info{
      "TStatusBar", &TCustomStatusBar::StaticClassInfo(), &Make<TStatusBar>, {}};
  return info;
}

TCustomStatusBar::TCustomStatusBar(TComponent* owner) : TCommonControl(owner) {
  FWidth = 200;
  FHeight = 19;
}

void TCustomStatusBar::CreateParams(TCreateParams& p) {
  TCommonControl::CreateParams(p);
  p.SysClassName = STATUSCLASSNAMEA;
  // Placed where the control says, not docked by the window itself.
  p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
}

void TCustomStatusBar::SetPanels(const std::vector<TTextWidth>& panels) {
  FPanels = panels;
  if (FHandle) RestoreWindowState();
}
void TCustomStatusBar::SetSimplePanel(bool v) {
  FSimplePanel = v;
  if (FHandle) RestoreWindowState();
}
void TCustomStatusBar::SetSimpleText(const std::string& v) {
  FSimpleText = v;
  if (FHandle) RestoreWindowState();
}

std::string TCustomStatusBar::PanelText(int index) const {
  if (!FHandle)
    return index >= 0 && index < static_cast<int>(FPanels.size()) ? FPanels[index].Text : "";
  const LRESULT len = SendMessageA(FHandle, SB_GETTEXTLENGTHA, static_cast<WPARAM>(index), 0);
  std::string s(LOWORD(len) + 1u, '\0');
  SendMessageA(FHandle, SB_GETTEXTA, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(s.data()));
  s.resize(LOWORD(len));
  return s;
}

void TCustomStatusBar::RestoreWindowState() {
  SendMessageA(FHandle, SB_SIMPLE, FSimplePanel, 0);
  if (FSimplePanel) {
    SendMessageA(FHandle, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(FSimpleText.c_str()));
    return;
  }
  std::vector<int> rights;
  int x = 0;
  for (const auto& panel : FPanels)
    rights.push_back(x += panel.Width);
  if (!rights.empty()) rights.back() = -1; // the last panel takes the rest
  SendMessageA(FHandle, SB_SETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data()));
  for (size_t i = 0; i < FPanels.size(); ++i)
    SendMessageA(FHandle, SB_SETTEXTA, i, reinterpret_cast<LPARAM>(FPanels[i].Text.c_str()));
}

// ---------------------------------------------------------------------------------------------
// Header controls

const TClassInfo& THeaderControl::StaticClassInfo() {
  static const TClassInfo info{
      "THeaderControl",
      &TCommonControl::StaticClassInfo(),
      &Make<THeaderControl>,
      {TextWidthsProp("Sections", &THeaderControl::Sections, &THeaderControl::SetSections, 80)}};
  return info;
}

THeaderControl::THeaderControl(TComponent* owner) : TCommonControl(owner) {
  FWidth = 240;
  FHeight = 20;
}

void THeaderControl::CreateParams(TCreateParams& p) {
  TCommonControl::CreateParams(p);
  p.SysClassName = WC_HEADERA;
  p.Style |= HDS_BUTTONS | HDS_HORZ;
}

void THeaderControl::SetSections(const std::vector<TTextWidth>& sections) {
  FSections = sections;
  if (!FHandle) return;
  while (SendMessageA(FHandle, HDM_GETITEMCOUNT, 0, 0) > 0)
    SendMessageA(FHandle, HDM_DELETEITEM, 0, 0);
  RestoreWindowState();
}

void THeaderControl::RestoreWindowState() {
  for (size_t i = 0; i < FSections.size(); ++i) {
    HDITEMA item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.pszText = const_cast<char*>(FSections[i].Text.c_str());
    item.cxy = FSections[i].Width;
    item.fmt = HDF_LEFT | HDF_STRING;
    SendMessageA(FHandle, HDM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
}

// ---------------------------------------------------------------------------------------------
// List views

static const std::vector<const char*> kViewStyles{"vsIcon", "vsSmallIcon", "vsList", "vsReport"};

const TClassInfo& TCustomListView::StaticClassInfo() {
  static const TClassInfo info{
      "TCustomListView",
      &TCommonControl::StaticClassInfo(),
      nullptr,
      {EnumProp("ViewStyle", &kViewStyles, &TCustomListView::ViewStyle,
                &TCustomListView::SetViewStyle),
       BoolProp("RowSelect", &TCustomListView::RowSelect, &TCustomListView::SetRowSelect),
       BoolProp("GridLines", &TCustomListView::GridLines, &TCustomListView::SetGridLines),
       BoolProp("ReadOnly", &TCustomListView::ReadOnly, &TCustomListView::SetReadOnly),
       TextWidthsProp("Columns", &TCustomListView::Columns, &TCustomListView::SetColumns, 80),
       LinesProp("Items", &TCustomListView::Items, &TCustomListView::SetItems)}};
  return info;
}

const TClassInfo& TListView::StaticClassInfo() {
  static const TClassInfo info{
      "TListView", &TCustomListView::StaticClassInfo(), &Make<TListView>, {}};
  return info;
}

TCustomListView::TCustomListView(TComponent* owner) : TCommonControl(owner) {
  FWidth = 250;
  FHeight = 150;
  FColor = clWindow;
  FParentColor = false;
  TabStop = true;
}

void TCustomListView::CreateParams(TCreateParams& p) {
  TCommonControl::CreateParams(p);
  p.SysClassName = WC_LISTVIEWA;
  static const DWORD views[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  p.Style |= views[std::clamp(FViewStyle, 0, 3)] | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS;
  if (!FReadOnly) p.Style |= LVS_EDITLABELS;
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::SetRowSelect(bool v) {
  FRowSelect = v;
  if (FHandle) RestoreWindowState();
}
void TCustomListView::SetGridLines(bool v) {
  FGridLines = v;
  if (FHandle) RestoreWindowState();
}

void TCustomListView::SetColumns(const std::vector<TTextWidth>& columns) {
  FColumns = columns;
  RecreateWnd();
}

void TCustomListView::SetItems(const std::vector<std::string>& rows) {
  FItems = rows;
  if (!FHandle) return;
  SendMessageA(FHandle, LVM_DELETEALLITEMS, 0, 0);
  RestoreWindowState();
}

std::string TCustomListView::CellText(int row, int column) const {
  if (!FHandle) return {};
  char buf[260] = {};
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = buf;
  item.cchTextMax = sizeof buf;
  SendMessageA(FHandle, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(&item));
  return buf;
}

void TCustomListView::RestoreWindowState() {
  DWORD ex = 0;
  if (FRowSelect) ex |= LVS_EX_FULLROWSELECT;
  if (FGridLines) ex |= LVS_EX_GRIDLINES;
  SendMessageA(FHandle, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES, ex);
  if (SendMessageA(FHandle, LVM_GETITEMCOUNT, 0, 0) > 0) return; // rows are in the window
  // Columns go in once per window (a new set of columns makes the window anew).
  if (!FColumns.empty() &&
      !SendMessageA(reinterpret_cast<HWND>(SendMessageA(FHandle, LVM_GETHEADER, 0, 0)),
                    HDM_GETITEMCOUNT, 0, 0))
    for (size_t i = 0; i < FColumns.size(); ++i) {
      LVCOLUMNA col{};
      col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
      col.pszText = const_cast<char*>(FColumns[i].Text.c_str());
      col.cx = FColumns[i].Width;
      col.iSubItem = static_cast<int>(i);
      SendMessageA(FHandle, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&col));
    }
  for (size_t r = 0; r < FItems.size(); ++r) {
    std::vector<std::string> cells;
    for (size_t start = 0;;) {
      const size_t bar = FItems[r].find('|', start);
      cells.push_back(FItems[r].substr(start, bar == std::string::npos ? bar : bar - start));
      if (bar == std::string::npos) break;
      start = bar + 1;
    }
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(r);
    item.pszText = const_cast<char*>(cells[0].c_str());
    SendMessageA(FHandle, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    for (size_t c = 1; c < cells.size(); ++c) {
      LVITEMA sub{};
      sub.iSubItem = static_cast<int>(c);
      sub.pszText = const_cast<char*>(cells[c].c_str());
      SendMessageA(FHandle, LVM_SETITEMTEXTA, r, reinterpret_cast<LPARAM>(&sub));
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Tab and page controls

static const std::vector<const char*> kTabStyles{"tsTabs", "tsButtons", "tsFlatButtons"};
static const std::vector<const char*> kTabPositions{"tpTop", "tpBottom", "tpLeft", "tpRight"};

const TClassInfo& TCustomTabControl::StaticClassInfo() {
  static const TClassInfo info{
      "TCustomTabControl",
      &TCommonControl::StaticClassInfo(),
      nullptr,
      {IntProp("TabIndex", &TCustomTabControl::TabIndex, &TCustomTabControl::SetTabIndex),
       EnumProp("Style", &kTabStyles, &TCustomTabControl::Style, &TCustomTabControl::SetStyle),
       EnumProp("TabPosition", &kTabPositions, &TCustomTabControl::TabPosition,
                &TCustomTabControl::SetTabPosition),
       EventProp("OnChange", &TCustomTabControl::OnChange)}};
  return info;
}

TCustomTabControl::TCustomTabControl(TComponent* owner) : TCommonControl(owner) {
  FWidth = 289;
  FHeight = 193;
  TabStop = true;
}

void TCustomTabControl::CreateParams(TCreateParams& p) {
  TCommonControl::CreateParams(p);
  p.SysClassName = WC_TABCONTROLA;
  p.Style |= WS_CLIPCHILDREN;
  if (FStyle == tsButtons) p.Style |= TCS_BUTTONS;
  if (FStyle == tsFlatButtons) p.Style |= TCS_BUTTONS | TCS_FLATBUTTONS;
  if (FTabPosition == tpBottom) p.Style |= TCS_BOTTOM;
  if (FTabPosition == tpLeft) p.Style |= TCS_VERTICAL | TCS_MULTILINE;
  if (FTabPosition == tpRight) p.Style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE;
}

int TCustomTabControl::TabIndex() const {
  return FHandle ? static_cast<int>(SendMessageA(FHandle, TCM_GETCURSEL, 0, 0)) : FTabIndex;
}

void TCustomTabControl::SetTabIndex(int v) {
  FTabIndex = v;
  if (FHandle) SendMessageA(FHandle, TCM_SETCURSEL, static_cast<WPARAM>(v), 0);
}

int TCustomTabControl::TabCount() const {
  return FHandle ? static_cast<int>(SendMessageA(FHandle, TCM_GETITEMCOUNT, 0, 0))
                 : static_cast<int>(TabTexts().size());
}

std::string TCustomTabControl::TabText(int index) const {
  if (!FHandle) {
    auto texts = TabTexts();
    return index >= 0 && index < static_cast<int>(texts.size()) ? texts[index] : "";
  }
  char buf[260] = {};
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = buf;
  item.cchTextMax = sizeof buf;
  SendMessageA(FHandle, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  return buf;
}

RECT TCustomTabControl::DisplayRect() const {
  RECT r = ClientRect();
  if (FHandle) SendMessageA(FHandle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return r;
}

void TCustomTabControl::UpdateTabs() {
  if (!FHandle) return;
  const int index = TabIndex();
  SendMessageA(FHandle, TCM_DELETEALLITEMS, 0, 0);
  const auto texts = TabTexts();
  for (size_t i = 0; i < texts.size(); ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(texts[i].c_str());
    SendMessageA(FHandle, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
  if (index >= 0 && index < static_cast<int>(texts.size()))
    SendMessageA(FHandle, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TCustomTabControl::RestoreWindowState() {
  const int index = FTabIndex;
  UpdateTabs();
  SendMessageA(FHandle, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TCustomTabControl::Change() {
  if (OnChange) OnChange(this);
}

void TCustomTabControl::Dispatch(TMessage& msg) {
  if (msg.Msg == CN_NOTIFY && !IsSkinnedNotice(msg) &&
      TWMNotify(msg).NMHdr->code == TCN_SELCHANGE) {
    FTabIndex = TabIndex();
    Change();
    msg.Result = 0;
    return;
  }
  TCommonControl::Dispatch(msg);
}

const TClassInfo& TTabControl::StaticClassInfo() {
  static const TClassInfo info{"TTabControl",
                               &TCustomTabControl::StaticClassInfo(),
                               &Make<TTabControl>,
                               {LinesProp("Tabs", &TTabControl::Tabs, &TTabControl::SetTabs)}};
  return info;
}

void TTabControl::SetTabs(const std::vector<std::string>& tabs) {
  FTabs = tabs;
  if (FTabIndex < 0 && !tabs.empty()) FTabIndex = 0;
  UpdateTabs();
}

const TClassInfo& TTabSheet::StaticClassInfo() {
  static const TClassInfo info{"TTabSheet", &TWinControl::StaticClassInfo(), &Make<TTabSheet>, {}};
  return info;
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
  FVisible = false;
}

TPageControl* TTabSheet::PageControl() const {
  return dynamic_cast<TPageControl*>(FParent);
}

void TTabSheet::SetParent(TWinControl* parent) {
  if (TPageControl* old = PageControl()) {
    old->FPages.erase(std::remove(old->FPages.begin(), old->FPages.end(), this), old->FPages.end());
    old->PagesChanged();
  }
  TWinControl::SetParent(parent);
  if (TPageControl* pages = PageControl()) {
    pages->FPages.push_back(this);
    pages->PagesChanged();
  }
}

void TTabSheet::SetText(const std::string& text) {
  TWinControl::SetText(text);
  if (TPageControl* pages = PageControl()) pages->UpdateTabs();
}

const TClassInfo& TPageControl::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i{"TPageControl", &TCustomTabControl::StaticClassInfo(), &Make<TPageControl>, {}};
    TPropInfo active;
    active.Name = "ActivePage";
    active.Kind = pkComponent;
    active.Get = [](const TObject* o) {
      const TTabSheet* page = static_cast<const TPageControl*>(o)->ActivePage();
      return page ? page->Name : std::string();
    };
    active.SetComponent = [](TObject* o, TComponent* c) {
      static_cast<TPageControl*>(o)->SetActivePage(dynamic_cast<TTabSheet*>(c));
    };
    i.Props.push_back(active);
    return i;
  }();
  return info;
}

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

std::vector<std::string> TPageControl::TabTexts() const {
  std::vector<std::string> texts;
  for (TTabSheet* page : FPages)
    texts.push_back(page->GetText());
  return texts;
}

TTabSheet* TPageControl::ActivePage() const {
  const int index = TabIndex();
  return index >= 0 && index < static_cast<int>(FPages.size()) ? FPages[index] : nullptr;
}

void TPageControl::SetActivePage(TTabSheet* page) {
  auto it = std::find(FPages.begin(), FPages.end(), page);
  if (it != FPages.end()) SetTabIndex(static_cast<int>(it - FPages.begin()));
}

void TPageControl::SetTabIndex(int v) {
  TCustomTabControl::SetTabIndex(v);
  ShowActivePage();
}

void TPageControl::SetBounds(int left, int top, int width, int height) {
  TCustomTabControl::SetBounds(left, top, width, height);
  ShowActivePage();
}

void TPageControl::Change() {
  ShowActivePage();
  TCustomTabControl::Change();
}

void TPageControl::RestoreWindowState() {
  TCustomTabControl::RestoreWindowState();
  ShowActivePage();
}

void TPageControl::Notification(TComponent* component, TOperation operation) {
  TCustomTabControl::Notification(component, operation);
  if (operation == opRemove)
    FPages.erase(std::remove(FPages.begin(), FPages.end(), component), FPages.end());
}

void TPageControl::PagesChanged() {
  if (FTabIndex < 0 && !FPages.empty()) FTabIndex = 0;
  if (FTabIndex >= static_cast<int>(FPages.size())) FTabIndex = static_cast<int>(FPages.size()) - 1;
  UpdateTabs();
  ShowActivePage();
}

void TPageControl::ShowActivePage() {
  const TTabSheet* active = ActivePage();
  const RECT r = DisplayRect();
  for (TTabSheet* page : FPages) {
    page->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    page->SetVisible(page == active);
  }
}

// ---------------------------------------------------------------------------------------------
// Tool bars

static const std::vector<const char*> kToolButtonStyles{"tbsButton", "tbsCheck", "tbsDropDown",
                                                        "tbsSeparator", "tbsDivider"};

namespace {
int NextToolCommand() {
  static int next = 0x7000; // apart from the menu items' commands
  return next = next >= 0x7EFF ? 0x7000 : next + 1;
}
} // namespace

const TClassInfo& TToolButton::StaticClassInfo() {
  static const TClassInfo info{
      "TToolButton",
      &TGraphicControl::StaticClassInfo(),
      &Make<TToolButton>,
      {EnumProp("Style", &kToolButtonStyles, &TToolButton::Style, &TToolButton::SetStyle),
       BoolProp("Down", &TToolButton::Down, &TToolButton::SetDown),
       IntProp("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex)}};
  return info;
}

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner), FCommand(NextToolCommand()) {
  FWidth = 23;
  FHeight = 22;
}

void TToolButton::SetParent(TWinControl* parent) {
  TToolBar* old = dynamic_cast<TToolBar*>(FParent);
  TGraphicControl::SetParent(parent);
  if (old) old->UpdateButtons();
  if (auto* bar = dynamic_cast<TToolBar*>(parent)) bar->UpdateButtons();
}

void TToolButton::SetStyle(int v) {
  FStyle = v;
  if (auto* bar = dynamic_cast<TToolBar*>(FParent)) bar->UpdateButtons();
}

bool TToolButton::Down() const {
  auto* bar = dynamic_cast<TToolBar*>(FParent);
  if (!bar || !bar->HandleAllocated()) return FDown;
  return SendMessageA(bar->WindowHandle(), TB_ISBUTTONCHECKED, static_cast<WPARAM>(FCommand), 0) !=
         0;
}

void TToolButton::SetDown(bool v) {
  FDown = v;
  if (auto* bar = dynamic_cast<TToolBar*>(FParent); bar && bar->HandleAllocated())
    SendMessageA(bar->WindowHandle(), TB_CHECKBUTTON, static_cast<WPARAM>(FCommand), v);
}

void TToolButton::SetText(const std::string& text) {
  TGraphicControl::SetText(text);
  if (auto* bar = dynamic_cast<TToolBar*>(FParent)) bar->UpdateButtons();
}

void TToolButton::SetEnabled(bool v) {
  TGraphicControl::SetEnabled(v);
  if (auto* bar = dynamic_cast<TToolBar*>(FParent); bar && bar->HandleAllocated())
    SendMessageA(bar->WindowHandle(), TB_ENABLEBUTTON, static_cast<WPARAM>(FCommand), v);
}

const TClassInfo& TToolBar::StaticClassInfo() {
  static const TClassInfo info{
      "TToolBar",
      &TCommonControl::StaticClassInfo(),
      &Make<TToolBar>,
      {BoolProp("Flat", &TToolBar::Flat, &TToolBar::SetFlat),
       BoolProp("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions)}};
  return info;
}

TToolBar::TToolBar(TComponent* owner) : TCommonControl(owner) {
  FWidth = 150;
  FHeight = 29;
}

void TToolBar::CreateParams(TCreateParams& p) {
  TCommonControl::CreateParams(p);
  p.SysClassName = TOOLBARCLASSNAMEA;
  p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | TBSTYLE_LIST;
  if (FFlat) p.Style |= TBSTYLE_FLAT | TBSTYLE_TRANSPARENT;
}

std::vector<TToolButton*> TToolBar::Buttons() const {
  std::vector<TToolButton*> buttons;
  for (TControl* c : FControls)
    if (auto* b = dynamic_cast<TToolButton*>(c)) buttons.push_back(b);
  return buttons;
}

void TToolBar::SaveWindowState() {
  for (TToolButton* b : Buttons())
    b->FDown = b->Down();
}

void TToolBar::RestoreWindowState() {
  SendMessageA(FHandle, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageA(FHandle, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
  UpdateButtons();
}

void TToolBar::UpdateButtons() {
  if (!FHandle) return;
  while (SendMessageA(FHandle, TB_BUTTONCOUNT, 0, 0) > 0)
    SendMessageA(FHandle, TB_DELETEBUTTON, 0, 0);
  for (TToolButton* b : Buttons()) {
    TBBUTTON tb{};
    tb.iBitmap = I_IMAGENONE;
    tb.idCommand = b->FCommand;
    tb.fsState =
        static_cast<BYTE>((b->Enabled() ? TBSTATE_ENABLED : 0) | (b->FDown ? TBSTATE_CHECKED : 0));
    const bool separator = b->FStyle == tbsSeparator || b->FStyle == tbsDivider;
    tb.fsStyle = static_cast<BYTE>(separator               ? BTNS_SEP
                                   : b->FStyle == tbsCheck ? BTNS_CHECK | BTNS_AUTOSIZE
                                                           : BTNS_BUTTON | BTNS_AUTOSIZE);
    const std::string text = b->GetText();
    tb.iString = FShowCaptions && !separator ? reinterpret_cast<INT_PTR>(text.c_str()) : -1;
    SendMessageA(FHandle, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&tb));
  }
  SendMessageA(FHandle, TB_AUTOSIZE, 0, 0);
}

bool TToolBar::CustomDraw(TMessage& msg) {
  if (!OnCustomDraw && !OnCustomDrawButton) return false;
  auto* cd = reinterpret_cast<NMTBCUSTOMDRAW*>(msg.LParam);
  if (cd->nmcd.hdr.hwndFrom != FHandle) return false; // a tooltip's notice, say
  switch (cd->nmcd.dwDrawStage) {
  case CDDS_PREPAINT: {
    bool defaultDraw = true;
    if (OnCustomDraw) OnCustomDraw(this, cd->nmcd.hdc, cd->nmcd.rc, defaultDraw);
    msg.Result = !defaultDraw         ? CDRF_SKIPDEFAULT
                 : OnCustomDrawButton ? CDRF_NOTIFYITEMDRAW
                                      : CDRF_DODEFAULT;
    return true;
  }
  case CDDS_ITEMPREPAINT: {
    UINT flags = CDRF_DODEFAULT;
    TToolButton* button = nullptr;
    for (TToolButton* b : Buttons())
      if (static_cast<DWORD_PTR>(b->FCommand) == cd->nmcd.dwItemSpec) button = b;
    if (button && OnCustomDrawButton) {
      // The text colour set on the context is the one the bar draws the caption in.
      SetTextColor(cd->nmcd.hdc, cd->clrText);
      OnCustomDrawButton(this, button, cd->nmcd.hdc, cd->nmcd.rc, cd->nmcd.uItemState, flags);
      cd->clrText = GetTextColor(cd->nmcd.hdc);
    }
    msg.Result = flags;
    return true;
  }
  default:
    msg.Result = CDRF_DODEFAULT;
    return true;
  }
}

void TToolBar::Dispatch(TMessage& msg) {
  if (msg.Msg == CN_NOTIFY && !IsSkinnedNotice(msg) &&
      TWMNotify(msg).NMHdr->code == NM_CUSTOMDRAW && CustomDraw(msg))
    return;
  if (msg.Msg == CN_COMMAND) {
    for (TToolButton* b : Buttons())
      if (b->FCommand == static_cast<int>(TWMCommand(msg).ItemId)) {
        b->FDown = b->Down();
        b->Click();
        msg.Result = 0;
        return;
      }
  }
  TCommonControl::Dispatch(msg);
}
