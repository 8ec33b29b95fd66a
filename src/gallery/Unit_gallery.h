// The gallery's forms: the main form with one of every kind of control and the default skin, a
// dialog-style form, and an MDI frame with one MDI child, all opened at start so that tests and
// screenshots find every kind of window and control.
#pragma once
#include "Forms.h"
#include "StdCtrls.h"

class TSkinData;

// The main form ("Tarnel Gallery"): one of every kind of control in three columns of rows, the
// kind's name in a label at the left of each row and its controls (a normal one and a disabled
// one where the kind has both) at the right, a status bar at the bottom; closing it ends the
// program.
class TForm_gallery : public TForm {
  TK_DECLARE_CLASS(TForm_gallery)
public:
  // Reads the stored description (the skin component loads the default skin) and makes the
  // window, hidden.
  explicit TForm_gallery(TComponent* owner);

  TSkinData* SkinData1 = nullptr;
  void BindField(TComponent* component) override;
};

// A dialog-style form ("Gallery Dialog") with a label and an OK button that hides it.
class TForm_galleryDialog : public TForm {
  TK_DECLARE_CLASS(TForm_galleryDialog)
public:
  explicit TForm_galleryDialog(TComponent* owner);
  void OkClick(TObject* sender);
  TNotifyEvent FindMethod(std::string_view name) const override;
};

// The MDI frame ("Gallery MDI"): its MDI client holds the gallery's MDI child; its menu bar's
// Window menu cascades or tiles the children and lists them.
class TForm_galleryMdi : public TForm {
  TK_DECLARE_CLASS(TForm_galleryMdi)
public:
  explicit TForm_galleryMdi(TComponent* owner);
  void BindField(TComponent* component) override;
  TNotifyEvent FindMethod(std::string_view name) const override;
};

// The MDI child ("Gallery Child"), made inside the application's MDI frame, which must exist.
class TForm_galleryChild : public TForm {
  TK_DECLARE_CLASS(TForm_galleryChild)
public:
  explicit TForm_galleryChild(TComponent* owner);
};

class TEdit;
class TMenuItem;

// A form with a menu bar ("Gallery Menu"): File (New with its shortcut, a separator, a checked
// item, a disabled item, a sub-menu, Exit), Edit (two commands) and Help (About). Each command
// writes its caption, without "&", into the LastCommand edit.
class TForm_galleryMenu : public TForm {
  TK_DECLARE_CLASS(TForm_galleryMenu)
public:
  explicit TForm_galleryMenu(TComponent* owner);
  TEdit* LastCommand = nullptr;
  void BindField(TComponent* component) override;
  TNotifyEvent FindMethod(std::string_view name) const override;
  // Records the item's caption.
  void CommandClick(TObject* sender);
  // Toggles the item's check mark and records it.
  void CheckedClick(TObject* sender);
  // Records the command and hides the form.
  void ExitClick(TObject* sender);
};
