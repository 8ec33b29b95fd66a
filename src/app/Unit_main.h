// The main window: the watch list, the entry box with its commands, the help text, and the
// components that run the program (scan timer, tray menu, skin).
#pragma once
#include "ExtCtrls.h"
#include "Forms.h"
#include "Menus.h"
#include "StdCtrls.h"
#include "TrayShell.h"
#include "Vexhotkey.h"

#include <map>
#include <string>

class TSkinData;

class TForm_main : public TForm {
  TK_DECLARE_CLASS(TForm_main)
public:
  explicit TForm_main(TComponent* owner);
  ~TForm_main() override;

  TPopupMenu* PopupMenu1 = nullptr;
  TMenuItem* N2 = nullptr;
  TMenuItem* N1 = nullptr;
  TSkinData* SkinData1 = nullptr;
  TLabel* Label1 = nullptr;
  TListBox* ListBox1 = nullptr;
  TEdit* Edit1 = nullptr;
  TLabel* Label2 = nullptr;
  TButton* Button1 = nullptr;
  TButton* Button2 = nullptr;
  TMemo* Memo1 = nullptr;
  TTimer* Timer1 = nullptr;
  TMenuItem* N3 = nullptr;
  TTrayIcon* TrayIcon1 = nullptr;

  void FormCreate(TObject* sender);
  void FormClose(TObject* sender);
  void Button1Click(TObject* sender);
  void Button2Click(TObject* sender);
  void Timer1Timer(TObject* sender);
  void N1Click(TObject* sender);
  void N2Click(TObject* sender);
  void N3Click(TObject* sender);

  void WndProc(TMessage& msg) override;
  TNotifyEvent FindMethod(std::string_view name) const override;
  void BindField(TComponent* component) override;

  // How long the scan waits for a window to handle its close request, and how long a window
  // that did not answer in time is left alone before it is asked again.
  static constexpr UINT kCloseTimeoutMs = 500;
  static constexpr DWORD kHungRetryMs = 10000;

private:
  void WMSysCommand(TMessage& msg);
  void WMHotKey(TMessage& msg);
  void SaveList();
  // Whether a window that did not answer in time is still being left alone at tick count now.
  bool LeftAlone(HWND wnd, DWORD now) const;
  // The first top-level window of the entry's title or class that is not being left alone, or
  // none: a window that does not answer hides no other window of the same title or class.
  HWND FindTarget(const std::string& entry, DWORD now) const;
  // Sends the close request with a bounded wait; windows that timed out are left alone for a
  // while.
  void RequestClose(HWND wnd);
  std::map<HWND, DWORD> FUnanswered; // window -> tick count when its request timed out
};

extern TForm_main* Form_main;
// The capture hotkey (F5), made by FormCreate and destroyed by FormClose.
extern TVexhotkey* Hotkey;
// The number the system gave the registered window message "TaskbarCreated".
extern UINT TaskbarCreatedMessage;
