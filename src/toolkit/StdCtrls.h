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
