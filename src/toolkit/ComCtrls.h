// Wrappers over the common controls: progress, track and up-down bars, date-time picker, status
// bar, header, list view, tab and page controls, tool bar.
#pragma once
#include "StdCtrls.h"

// Loads the common control classes once (every wrapper here calls it before its window is made).
void InitCommonControlClasses();

// A common control: its class is loaded before the window is made.
class TCommonControl : public TWinControl {
  TK_DECLARE_CLASS(TCommonControl)
public:
  using TWinControl::TWinControl;

protected:
  void CreateParams(TCreateParams& params) override;
};

enum TProgressBarOrientation { pbHorizontal, pbVertical };

// A progress bar from Min to Max at Position.
class TProgressBar : public TCommonControl {
  TK_DECLARE_CLASS(TProgressBar)
public:
  explicit TProgressBar(TComponent* owner);
  int Min() const { return FMin; }
  void SetMin(int v);
  int Max() const { return FMax; }
  void SetMax(int v);
  int Position() const;
  void SetPosition(int v);
  int Orientation() const { return FOrientation; }
  void SetOrientation(int v);

protected:
  void CreateParams(TCreateParams& params) override;
  void SaveWindowState() override { FPosition = Position(); }
  void RestoreWindowState() override;
  int FMin = 0, FMax = 100, FPosition = 0, FOrientation = pbHorizontal;
};

enum TTrackBarOrientation { trHorizontal, trVertical };

// A track bar: a thumb the user drags between Min and Max.
class TTrackBar : public TCommonControl {
  TK_DECLARE_CLASS(TTrackBar)
public:
  explicit TTrackBar(TComponent* owner);
  int Min() const { return FMin; }
  void SetMin(int v);
  int Max() const { return FMax; }
  void SetMax(int v);
  int Position() const;
  void SetPosition(int v);
  int Orientation() const { return FOrientation; }
  void SetOrientation(int v);
  int Frequency() const { return FFrequency; }
  void SetFrequency(int v);

protected:
  void CreateParams(TCreateParams& params) override;
  void SaveWindowState() override { FPosition = Position(); }
  void RestoreWindowState() override;
  int FMin = 0, FMax = 10, FPosition = 0, FOrientation = trHorizontal, FFrequency = 1;
};

enum TUDOrientation { udHorizontal, udVertical };

// An up-down pair of arrows; with Associate, the buddy control shows Position.
class TUpDown : public TCommonControl {
  TK_DECLARE_CLASS(TUpDown)
public:
  explicit TUpDown(TComponent* owner);
  int Min() const { return FMin; }
  void SetMin(int v);
  int Max() const { return FMax; }
  void SetMax(int v);
  int Position() const;
  void SetPosition(int v);
  int Orientation() const { return FOrientation; }
  void SetOrientation(int v);
  bool Wrap() const { return FWrap; }
  void SetWrap(bool v);
  TWinControl* Associate() const { return FAssociate; }
  // The buddy sits at the up-down's left; the up-down moves to its right edge.
  void SetAssociate(TWinControl* buddy);

protected:
  void CreateParams(TCreateParams& params) override;
  void SaveWindowState() override { FPosition = Position(); }
  void RestoreWindowState() override;
  void Notification(TComponent* component, TOperation operation) override;
  int FMin = 0, FMax = 100, FPosition = 0, FOrientation = udVertical;
  bool FWrap = false;
  TWinControl* FAssociate = nullptr;
};

enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateMode { dmComboBox, dmUpDown };

// A date or time field with a drop-down calendar (dmComboBox) or arrows (dmUpDown).
class TDateTimePicker : public TCommonControl {
  TK_DECLARE_CLASS(TDateTimePicker)
public:
  explicit TDateTimePicker(TComponent* owner);
  int Kind() const { return FKind; }
  void SetKind(int v) {
    FKind = v;
    RecreateWnd();
  }
  int DateMode() const { return FDateMode; }
  void SetDateMode(int v) {
    FDateMode = v;
    RecreateWnd();
  }
  // The value shown, as "YYYY-MM-DD HH:MM:SS"; a bad text is an exception.
  std::string DateTime() const;
  void SetDateTime(const std::string& v);

protected:
  void CreateParams(TCreateParams& params) override;
  void SaveWindowState() override;
  void RestoreWindowState() override;
  int FKind = dtkDate, FDateMode = dmComboBox;
  SYSTEMTIME FTime{};
  bool FTimeSet = false;
};

// Rows of "Text" or "Text,Width": the text of a status panel, header section or list column,
// and its width in pixels (defaults to the given one).
struct TTextWidth {
  std::string Text;
  int Width;
};
std::vector<TTextWidth> ParseTextWidths(const std::string& rows, int defaultWidth);
std::string FormatTextWidths(const std::vector<TTextWidth>& items);

// A status bar at the bottom of its parent: Panels side by side, or SimpleText alone.
class TCustomStatusBar : public TCommonControl {
  TK_DECLARE_CLASS(TCustomStatusBar)
public:
  explicit TCustomStatusBar(TComponent* owner);
  const std::vector<TTextWidth>& Panels() const { return FPanels; }
  void SetPanels(const std::vector<TTextWidth>& panels);
  bool SimplePanel() const { return FSimplePanel; }
  void SetSimplePanel(bool v);
  std::string SimpleText() const { return FSimpleText; }
  void SetSimpleText(const std::string& v);
  // The text a panel shows ("" out of range), read from the window.
  std::string PanelText(int index) const;

protected:
  void CreateParams(TCreateParams& params) override;
  void RestoreWindowState() override;
  std::vector<TTextWidth> FPanels;
  bool FSimplePanel = false;
  std::string FSimpleText;
};

class TStatusBar : public TCustomStatusBar {
  TK_DECLARE_CLASS(TStatusBar)
public:
  using TCustomStatusBar::TCustomStatusBar;
};

// A header of sections, as above a table's columns.
class THeaderControl : public TCommonControl {
  TK_DECLARE_CLASS(THeaderControl)
public:
  explicit THeaderControl(TComponent* owner);
  const std::vector<TTextWidth>& Sections() const { return FSections; }
  void SetSections(const std::vector<TTextWidth>& sections);

protected:
  void CreateParams(TCreateParams& params) override;
  void RestoreWindowState() override;
  std::vector<TTextWidth> FSections;
};

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

// A list view; in vsReport rows of cells under a header of Columns. Items are rows whose cells
// are separated by "|".
class TCustomListView : public TCommonControl {
  TK_DECLARE_CLASS(TCustomListView)
public:
  explicit TCustomListView(TComponent* owner);
  int ViewStyle() const { return FViewStyle; }
  void SetViewStyle(int v) {
    FViewStyle = v;
    RecreateWnd();
  }
  bool RowSelect() const { return FRowSelect; }
  void SetRowSelect(bool v);
  bool GridLines() const { return FGridLines; }
  void SetGridLines(bool v);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool v) {
    FReadOnly = v;
    RecreateWnd();
  }
  const std::vector<TTextWidth>& Columns() const { return FColumns; }
  void SetColumns(const std::vector<TTextWidth>& columns);
  std::vector<std::string> Items() const { return FItems; }
  void SetItems(const std::vector<std::string>& rows);
  // The text of a cell as the window holds it.
  std::string CellText(int row, int column) const;

protected:
  void CreateParams(TCreateParams& params) override;
  void RestoreWindowState() override;
  int FViewStyle = vsIcon;
  bool FRowSelect = false, FGridLines = false, FReadOnly = false;
  std::vector<TTextWidth> FColumns;
  std::vector<std::string> FItems;
};

class TListView : public TCustomListView {
  TK_DECLARE_CLASS(TListView)
public:
  using TCustomListView::TCustomListView;
};

enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };
enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };

// A row of tabs; TabIndex is the selected one.
class TCustomTabControl : public TCommonControl {
  TK_DECLARE_CLASS(TCustomTabControl)
public:
  explicit TCustomTabControl(TComponent* owner);
  int TabIndex() const;
  virtual void SetTabIndex(int v);
  int Style() const { return FStyle; }
  void SetStyle(int v) {
    FStyle = v;
    RecreateWnd();
  }
  int TabPosition() const { return FTabPosition; }
  void SetTabPosition(int v) {
    FTabPosition = v;
    RecreateWnd();
  }
  int TabCount() const;
  std::string TabText(int index) const; // from the window
  // The area below the tabs, in client coordinates.
  RECT DisplayRect() const;
  TNotifyEvent OnChange;

protected:
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& msg) override;
  void SaveWindowState() override { FTabIndex = TabIndex(); }
  void RestoreWindowState() override;
  // The tab texts the window shows.
  virtual std::vector<std::string> TabTexts() const = 0;
  virtual void Change();
  void UpdateTabs();
  int FTabIndex = -1, FStyle = tsTabs, FTabPosition = tpTop;
};

class TTabControl : public TCustomTabControl {
  TK_DECLARE_CLASS(TTabControl)
public:
  using TCustomTabControl::TCustomTabControl;
  std::vector<std::string> Tabs() const { return FTabs; }
  void SetTabs(const std::vector<std::string>& tabs);

protected:
  std::vector<std::string> TabTexts() const override { return FTabs; }
  std::vector<std::string> FTabs;
};

class TPageControl;

// One page of a page control: its tab shows the caption; only the active page is visible.
class TTabSheet : public TWinControl {
  TK_DECLARE_CLASS(TTabSheet)
public:
  explicit TTabSheet(TComponent* owner);
  TPageControl* PageControl() const;
  void SetParent(TWinControl* parent) override;
  void SetText(const std::string& text) override;
};

// Tabs over pages: each TTabSheet child is a page; the selected tab's page shows.
class TPageControl : public TCustomTabControl {
  TK_DECLARE_CLASS(TPageControl)
public:
  explicit TPageControl(TComponent* owner);
  const std::vector<TTabSheet*>& Pages() const { return FPages; }
  TTabSheet* ActivePage() const;
  void SetActivePage(TTabSheet* page);
  void SetTabIndex(int v) override;
  void SetBounds(int left, int top, int width, int height) override;

protected:
  friend class TTabSheet;
  std::vector<std::string> TabTexts() const override;
  void Change() override;
  void RestoreWindowState() override;
  void Notification(TComponent* component, TOperation operation) override;
  void PagesChanged();
  void ShowActivePage();
  std::vector<TTabSheet*> FPages;
};

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

// One button of a tool bar (its parent); the tool bar's window draws it.
class TToolButton : public TGraphicControl {
  TK_DECLARE_CLASS(TToolButton)
public:
  explicit TToolButton(TComponent* owner);
  int Style() const { return FStyle; }
  void SetStyle(int v);
  bool Down() const;
  void SetDown(bool v);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v) { FImageIndex = v; }
  // The button's command in its tool bar's window.
  int Command() const { return FCommand; }
  void SetParent(TWinControl* parent) override;
  void SetText(const std::string& text) override;
  void SetEnabled(bool v) override;

protected:
  friend class TToolBar;
  int FStyle = tbsButton, FImageIndex = -1, FCommand;
  bool FDown = false;
};

class TToolBar;
// Custom drawing of a tool bar's background: before the bar draws itself. Setting
// `defaultDraw` false keeps the bar from drawing anything of its own.
using TToolBarCustomDrawEvent =
    std::function<void(TToolBar* sender, HDC dc, const RECT& rect, bool& defaultDraw)>;
// Custom drawing of one button before the bar draws it: its CDIS_ state flags and rectangle.
// `flags` is the answer given to the bar (CDRF_DODEFAULT at first; CDRF_SKIPDEFAULT draws
// nothing more, TBCDRF_NOEDGES | TBCDRF_NOBACKGROUND keeps only the content).
using TToolBarCustomDrawButtonEvent = std::function<void(
    TToolBar* sender, TToolButton* button, HDC dc, const RECT& rect, UINT state, UINT& flags)>;

// A tool bar of TToolButton children, in their order; a click runs the button's OnClick.
class TToolBar : public TCommonControl {
  TK_DECLARE_CLASS(TToolBar)
public:
  explicit TToolBar(TComponent* owner);
  bool Flat() const { return FFlat; }
  void SetFlat(bool v) {
    FFlat = v;
    RecreateWnd();
  }
  bool ShowCaptions() const { return FShowCaptions; }
  void SetShowCaptions(bool v) {
    FShowCaptions = v;
    RecreateWnd();
  }
  std::vector<TToolButton*> Buttons() const;
  TToolBarCustomDrawEvent OnCustomDraw;
  TToolBarCustomDrawButtonEvent OnCustomDrawButton;

protected:
  friend class TToolButton;
  // NM_CUSTOMDRAW of the bar: the two events above; false when neither is assigned.
  bool CustomDraw(TMessage& msg);
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& msg) override;
  void SaveWindowState() override;
  void RestoreWindowState() override;
  void UpdateButtons();
  bool FFlat = false, FShowCaptions = true;
};
