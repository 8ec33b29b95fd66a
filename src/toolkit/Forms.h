// Forms and the application object.
#pragma once
#include "Controls.h"

#include <atomic>

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;

class TMainMenu;
class TMenuItem;

class TCustomForm : public TWinControl {
  TK_DECLARE_CLASS(TCustomForm)
public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  int BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(int v);
  unsigned BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(unsigned v);
  int FormStyle() const { return FFormStyle; }
  // fsMDIForm makes the form an MDI frame, fsMDIChild a child of the application's MDI frame
  // (the first fsMDIForm form); a change to or from either makes the window anew.
  void SetFormStyle(int v);
  int Position() const { return FPosition; }
  void SetPosition(int v) { FPosition = v; }
  // The form's menu bar (null for none): the window's menu from its creation on; its commands
  // run the items' OnClick, and a change of its items rebuilds the window's menu.
  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* menu);
  // A key press that is the shortcut of an enabled item of the menu bar runs its OnClick.
  bool IsShortCut(const MSG& msg);
  // An MDI frame's window menu: the item whose sub-menu lists the children (none by default).
  // Read when the frame's window is made.
  TMenuItem* WindowMenu = nullptr;

  // The MDI client window of an MDI frame (system class "MDIClient", filling the frame's
  // client area); null for other forms and while the frame has no window.
  HWND ClientHandle() const { return FClientHandle; }
  // An MDI frame's child forms whose windows exist, in creation order; empty for other forms.
  std::vector<TCustomForm*> MDIChildren() const;
  // The MDI child the frame's client shows active, or null (also for forms that are no frame).
  TCustomForm* ActiveMDIChild() const;

  int ClientWidth() const override;
  int ClientHeight() const override;
  void SetClientWidth(int v) override;
  void SetClientHeight(int v) override;

  // Showing an MDI child makes it the frame's active child.
  void SetVisible(bool v) override;
  // Shows the form and brings it to the front.
  void BringToFront();
  // Closes the form: runs OnClose, whose action starts as caFree for the main form (its close
  // ends the application) and for an MDI child (its window goes), caHide for any other form.
  void Close();
  // Frees the form once the messages now on the stack have been handled.
  void Release();

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TCloseEvent OnClose;

protected:
  // Reads the stored description named after the form's class; derived forms call this from
  // their constructor, once their fields can be bound.
  void ReadStoredDescription();
  // Runs OnCreate; an exception there goes to the application's error box.
  void DoCreate();
  void CreateParams(TCreateParams& params) override;
  // Makes the window; an MDI frame then makes its MDI client (an exception when it cannot).
  void CreateWnd() override;
  void CreateHandle() override;
  // An MDI child's window is destroyed through its MDI client, which activates the next one.
  void DestroyWnd() override;
  void Dispatch(TMessage& msg) override;
  // An MDI frame's default processing is DefFrameProcA with its client, an MDI child's is
  // DefMDIChildProcA; other forms end in the base handling.
  void DefaultHandler(TMessage& msg) override;
  void Notification(TComponent* component, TOperation operation) override;
  // Before the form is first shown: a centred Position puts it in the middle of the whole
  // screen (a taskbar's part included); any other leaves it where it is.
  void PlaceOnScreen();

  TMainMenu* FMenu = nullptr;
  int FBorderStyle = bsSizeable;
  unsigned FBorderIcons = (1u << biSystemMenu) | (1u << biMinimize) | (1u << biMaximize);
  int FFormStyle = fsNormal;
  int FWindowFormStyle = fsNormal; // the style the current window was made with
  HWND FClientHandle = nullptr;    // an MDI frame's client window
  int FPosition = poDesigned;
  bool FPlaced = false;
  int FClientWidth = -1, FClientHeight = -1; // wanted before the window exists
};

class TForm : public TCustomForm {
  TK_DECLARE_CLASS(TForm)
public:
  using TCustomForm::TCustomForm;
};

// The application: its hidden window, title, forms and message loop.
class TApplication : public TComponent {
  TK_DECLARE_CLASS(TApplication)
public:
  explicit TApplication(TComponent* owner = nullptr);
  ~TApplication() override;

  HWND Handle() const { return FHandle; }
  std::string Title;
  TCustomForm* MainForm() const { return FMainForm; }
  // The form MDI children are made in: the first form whose FormStyle is fsMDIForm, or null.
  TCustomForm* MDIForm() const;
  const std::vector<TCustomForm*>& Forms() const { return FForms; }
  int HintPause = 500;
  int HintHidePause = 2500;

  // Creates a form owned by the application; the first becomes the main form.
  template <class F>
  F* CreateForm() {
    F* form = new F(this);
    return form;
  }
  void Run();
  void Terminate();
  // Safe to read from any thread (background threads stop when the program ends).
  bool Terminated() const { return FTerminated.load(); }
  void ProcessMessages();
  // Handles one message; false when there was none (or the loop must end).
  bool HandleMessage();

  // The standard error box: message plus a full stop, error icon, OK, the title as caption.
  void HandleException(const std::exception& e);
  void ShowError(const std::string& message);
  int MessageBox(const std::string& text, const std::string& caption, UINT flags);

  TNotifyEvent OnException;

  // Forms register themselves here.
  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);

private:
  void WndProc(TMessage& msg);
  bool ProcessMessage(MSG& msg);
  HWND FHandle = nullptr;
  TCustomForm* FMainForm = nullptr;
  std::vector<TCustomForm*> FForms;
  std::atomic<bool> FTerminated{false};
};

extern TApplication* Application;

// Reports the exception being handled (call it only inside a catch block) through the
// application's standard error box; one that is not a standard exception reads "Unknown
// error". Never throws.
void ReportCurrentException() noexcept;

// Runs work for a Win32 callback (window procedure, hook, timer) so that no exception leaves
// it: whatever is thrown is reported as ReportCurrentException does.
template <class F>
void GuardedCall(F&& work) noexcept {
  try {
    work();
  } catch (...) {
    ReportCurrentException();
  }
}
