// The main window: the watch list, the entry box with its commands, the help text, and the
// components that run the program (scan timer, tray menu, skin).
#pragma once
#include "CloseScan.h"
#include "ClosedRecords.h"
#include "ExtCtrls.h"
#include "FolderWatch.h"
#include "Forms.h"
#include "Menus.h"
#include "NewWindowHook.h"
#include "StdCtrls.h"
#include "TrayShell.h"
#include "Vexhotkey.h"
#include "WatchIndex.h"
#include "WatchList.h"

#include <memory>
#include <string>

class TSkinData;
class TForm_closed;

// Posted to the main window when a new top-level window has appeared: the scan makes a pass.
inline constexpr UINT UM_NEWWINDOW = WM_APP + 0x120;
// Posted to the main window when something in the list file's folder has changed.
inline constexpr UINT UM_LISTFOLDERCHANGED = WM_APP + 0x121;
// Posted to the main window when the record of closes could not be written the first time.
inline constexpr UINT UM_LOGFAILED = WM_APP + 0x122;

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
  TMenuItem* N4 = nullptr; // "暂停自动关闭"
  TMenuItem* N5 = nullptr; // "最近关闭的窗口"

  void FormCreate(TObject* sender);
  void FormClose(TObject* sender);
  void Button1Click(TObject* sender);
  void Button2Click(TObject* sender);
  void Timer1Timer(TObject* sender);
  void N1Click(TObject* sender);
  void N2Click(TObject* sender);
  void N3Click(TObject* sender);
  // "暂停自动关闭": pauses closing, or resumes it.
  void N4Click(TObject* sender);
  // "最近关闭的窗口": shows the window of the last closes (made on first use).
  void N5Click(TObject* sender);
  // The closes recorded so far and the window that lists them (null until first shown).
  const TClosedRecords& Records() const { return FRecords; }
  TForm_closed* ClosedForm() const { return FClosedForm; }

  // While paused no window is closed: the scan's timer and the new-window hook are stopped, the
  // menu item is checked, and the tray icon and its tip say so. Resuming starts them again, so
  // that the next tick scans.
  void SetPaused(bool paused);
  bool Paused() const { return FPaused; }

  // Puts a whole new list in place, shown row for row (the file is not written).
  void SetList(const std::vector<std::string>& entries);

  // Every message of the main window the form handles itself (minimise, the capture hotkey,
  // the taskbar's restart) is taken here; the rest goes on to the form.
  void WndProc(TMessage& msg) override;
  TNotifyEvent FindMethod(std::string_view name) const override;
  void BindField(TComponent* component) override;

private:
  // The capture hotkey: the entry box gets the capture, the window comes to the front.
  void WMHotKey();
  void SaveList();
  // One pass of the close scan over the list (nothing while the program ends).
  void ScanPass(TCloseScan::TPassKind kind);
  // The watch list: ListBox1 shows it row for row; the scan and the file read it from here.
  TWatchIndex FList;
  TCloseScan FScan; // the scan each tick of Timer1, and each new window, makes over the list
  TNewWindowHook FNewWindows; // new windows start a pass at once, between the ticks
  bool FInPass = false;
  // The list follows its file: a change in its folder starts FReloadTimer (again), whose tick
  // reads the file when it is not as this program last read or wrote it (FKnownFile).
  static constexpr int kReloadDelayMs = 200; // lets a writer finish before the file is read
  static constexpr int kReloadTries = 10;    // reads of a file that cannot be read yet
  void FollowListFile();
  TFolderWatch FFileWatch;
  TTimer* FReloadTimer = nullptr;
  WatchList::TFileStamp FKnownFile;
  int FReloadTries = 0;
  bool FPaused = false;
  // Every close the scan reports: kept, logged, and shown in the window of the last closes. A
  // log that cannot be written is reported once a session, and never stops the scan.
  void Recorded(const TClosedWindow& closed);
  TClosedRecords FRecords{ClosedLogPath()};
  TForm_closed* FClosedForm = nullptr; // owned by this form
  bool FLogFailed = false;
  // The tray icon and tip of a running scan, kept while the paused ones are shown.
  TIcon FRunningIcon;
  std::string FRunningTip;
  // Shows on the tray whether closing is paused.
  void ShowPauseOnTray();
  // The capture hotkey (F5), made by FormCreate and released by FormClose or with the form.
  std::unique_ptr<TVexhotkey> FHotkey;
};

extern TForm_main* Form_main;
// The number the system gave the registered window message "TaskbarCreated".
extern UINT TaskbarCreatedMessage;
