// Standard controls over the system's window classes.
#pragma once
#include "Controls.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TCustomLabel : public TGraphicControl {
  TK_DECLARE_CLASS(TCustomLabel)
public:
  explicit TCustomLabel(TComponent* owner);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool v) {
    FTransparent = v;
    Invalidate();
  }
  int Alignment() const { return FAlignment; }
  void SetAlignment(int v) {
    FAlignment = v;
    Invalidate();
  }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool v) {
    FWordWrap = v;
    Invalidate();
  }

protected:
  void Paint(HDC dc) override;
  bool FTransparent = false;
  int FAlignment = taLeftJustify;
  bool FWordWrap = false;
};

class TLabel : public TCustomLabel {
  TK_DECLARE_CLASS(TLabel)
public:
  using TCustomLabel::TCustomLabel;
};

class TCustomListBox : public TWinControl {
  TK_DECLARE_CLASS(TCustomListBox)
public:
  explicit TCustomListBox(TComponent* owner);

  // Rows live in the window; before the window exists (or while it is remade) they are kept here.
  int Count() const;
  std::string Item(int index) const; // "" when index is out of range
  void Add(const std::string& text);
  void Delete(int index);
  void Clear();
  std::vector<std::string> Items() const;
  void SetItems(const std::vector<std::string>& items);
  int ItemIndex() const;
  void SetItemIndex(int index);
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int v);
  bool Sorted() const { return FSorted; }
  void SetSorted(bool v) {
    FSorted = v;
    RecreateWnd();
  }

protected:
  void CreateParams(TCreateParams& params) override;
  void SaveWindowState() override;
  void RestoreWindowState() override;
  std::vector<std::string> FSaved;
  int FSavedIndex = -1;
  int FItemHeight = 16;
  bool FSorted = false;
};

class TListBox : public TCustomListBox {
  TK_DECLARE_CLASS(TListBox)
public:
  using TCustomListBox::TCustomListBox;
};

class TCustomEdit : public TWinControl {
  TK_DECLARE_CLASS(TCustomEdit)
public:
  explicit TCustomEdit(TComponent* owner);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool v);
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int v);
  void Clear() { SetText(""); }

protected:
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& msg) override;
  bool FReadOnly = false;
  int FMaxLength = 0;
};

class TEdit : public TCustomEdit {
  TK_DECLARE_CLASS(TEdit)
public:
  using TCustomEdit::TCustomEdit;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomMemo : public TCustomEdit {
  TK_DECLARE_CLASS(TCustomMemo)
public:
  explicit TCustomMemo(TComponent* owner);
  // The text as lines (CR LF separated in the window).
  std::vector<std::string> Lines() const;
  void SetLines(const std::vector<std::string>& lines);
  int ScrollBars() const { return FScrollBars; }
  void SetScrollBars(int v) {
    FScrollBars = v;
    RecreateWnd();
  }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool v) {
    FWordWrap = v;
    RecreateWnd();
  }

protected:
  void CreateParams(TCreateParams& params) override;
  int FScrollBars = ssNone;
  bool FWordWrap = true;
};

class TMemo : public TCustomMemo {
  TK_DECLARE_CLASS(TMemo)
public:
  using TCustomMemo::TCustomMemo;
};

class TButtonControl : public TWinControl {
  TK_DECLARE_CLASS(TButtonControl)
public:
  explicit TButtonControl(TComponent* owner);

protected:
  void Dispatch(TMessage& msg) override;
};

class TButton : public TButtonControl {
  TK_DECLARE_CLASS(TButton)
public:
  using TButtonControl::TButtonControl;
  bool Default() const { return FDefault; }
  void SetDefault(bool v) {
    FDefault = v;
    RecreateWnd();
  }

protected:
  void CreateParams(TCreateParams& params) override;
  bool FDefault = false;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// A check box: unchecked, checked or (with AllowGrayed) grayed; a click steps to the next state.
class TCustomCheckBox : public TButtonControl {
  TK_DECLARE_CLASS(TCustomCheckBox)
public:
  explicit TCustomCheckBox(TComponent* owner);
  int State() const;
  void SetState(int v);
  bool Checked() const { return State() == cbChecked; }
  void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
  bool AllowGrayed() const { return FAllowGrayed; }
  // Without AllowGrayed a grayed box becomes unchecked.
  void SetAllowGrayed(bool v);
  int Alignment() const { return FAlignment; }
  void SetAlignment(int v) {
    FAlignment = v;
    RecreateWnd();
  }

protected:
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& msg) override;
  void SaveWindowState() override { FState = State(); }
  void RestoreWindowState() override;
  int FState = cbUnchecked;
  bool FAllowGrayed = false;
  int FAlignment = taRightJustify; // the caption's side of the box
};

class TCheckBox : public TCustomCheckBox {
  TK_DECLARE_CLASS(TCheckBox)
public:
  using TCustomCheckBox::TCustomCheckBox;
};

// A radio button: checking it unchecks the other radio buttons of its parent.
class TRadioButton : public TButtonControl {
  TK_DECLARE_CLASS(TRadioButton)
public:
  explicit TRadioButton(TComponent* owner);
  bool Checked() const;
  void SetChecked(bool v);

protected:
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& msg) override;
  void SaveWindowState() override { FChecked = Checked(); }
  void RestoreWindowState() override;
  bool FChecked = false;
};

// A framed box with a caption that holds other controls.
class TCustomGroupBox : public TWinControl {
  TK_DECLARE_CLASS(TCustomGroupBox)
public:
  explicit TCustomGroupBox(TComponent* owner);

protected:
  void CreateParams(TCreateParams& params) override;
  // The system class leaves the box's background alone (it has no brush for it): the box fills
  // it with its own colour.
  void Dispatch(TMessage& msg) override;
};

class TGroupBox : public TCustomGroupBox {
  TK_DECLARE_CLASS(TGroupBox)
public:
  using TCustomGroupBox::TCustomGroupBox;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

// A combo box of the three styles; its rows as in a list box.
class TCustomComboBox : public TWinControl {
  TK_DECLARE_CLASS(TCustomComboBox)
public:
  explicit TCustomComboBox(TComponent* owner);
  int Style() const { return FStyle; }
  void SetStyle(int v) {
    FStyle = v;
    RecreateWnd();
  }
  std::vector<std::string> Items() const;
  void SetItems(const std::vector<std::string>& items);
  int ItemIndex() const;
  void SetItemIndex(int index);
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int v) { FDropDownCount = v; }

protected:
  void CreateParams(TCreateParams& params) override;
  void SaveWindowState() override;
  void RestoreWindowState() override;
  int FStyle = csDropDown;
  int FDropDownCount = 8;
  std::vector<std::string> FSaved;
  int FSavedIndex = -1;
};

class TComboBox : public TCustomComboBox {
  TK_DECLARE_CLASS(TComboBox)
public:
  using TCustomComboBox::TCustomComboBox;
};

enum TScrollBarKind { sbHorizontal, sbVertical };

// A scroll bar control; its arrows and page areas move Position by SmallChange and LargeChange.
class TScrollBar : public TWinControl {
  TK_DECLARE_CLASS(TScrollBar)
public:
  explicit TScrollBar(TComponent* owner);
  int Kind() const { return FKind; }
  void SetKind(int v);
  int Min() const { return FMin; }
  void SetMin(int v);
  int Max() const { return FMax; }
  void SetMax(int v);
  int Position() const;
  void SetPosition(int v);
  int PageSize() const { return FPageSize; }
  void SetPageSize(int v);
  int SmallChange() const { return FSmallChange; }
  void SetSmallChange(int v) { FSmallChange = v; }
  int LargeChange() const { return FLargeChange; }
  void SetLargeChange(int v) { FLargeChange = v; }
  TNotifyEvent OnChange;

protected:
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& msg) override;
  void RestoreWindowState() override { UpdateInfo(); }
  void UpdateInfo();
  int FKind = sbHorizontal;
  int FMin = 0, FMax = 100, FPosition = 0, FPageSize = 0, FSmallChange = 1, FLargeChange = 1;
};
