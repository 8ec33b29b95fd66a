#include "Unit_main.h"
#include "Autostart.h"
#include "PausedIcon.h"
#include "ShowInfo.h"
#include "SingleInstance.h"
#include "Unit_closed.h"
#include "TarnelVersion.h"
#include "WatchList.h"
#include "WindowCapture.h"
#include "WinSkinData.h"

#include <utility>

TForm_main* Form_main = nullptr;
UINT TaskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");

const TClassInfo& TForm_main::StaticClassInfo() {
  static const TClassInfo info{"TForm_main", &TForm::StaticClassInfo(), nullptr, {}};
  return info;
}

TForm_main::TForm_main(TComponent* owner) : TForm(owner) {
  // The classes of the stored description beyond the toolkit's own.
  RegisterTrayClasses();
  RegisterSkinClasses();
  Form_main = this;
  ReadStoredDescription();
  HandleNeeded();
  FScan.OnClosed = [this](const TClosedWindow& closed) { Recorded(closed); };
  // Without the hook (refused by the system) the ticks alone find new windows.
  FNewWindows.Start(Handle(), UM_NEWWINDOW);
  FReloadTimer = new TTimer(this); // owned by the form
  FReloadTimer->SetEnabled(false);
  FReloadTimer->SetInterval(kReloadDelayMs);
  FReloadTimer->OnTimer = [this](TObject*) {
    FReloadTimer->SetEnabled(false);
    FollowListFile();
  };
  // Without the watch (refused by the system) the list is read at start only.
  FFileWatch.Start(WatchList::FolderPath(), Handle(), UM_LISTFOLDERCHANGED);
  DoCreate();
}

TForm_main::~TForm_main() {
  // The hotkey goes with the window it was registered for, however the window ends.
  FHotkey.reset();
  FNewWindows.Stop();
  FFileWatch.Stop();
  if (HandleAllocated()) TSingleInstance::Withdraw(Handle());
  if (Form_main == this) Form_main = nullptr;
}

TNotifyEvent TForm_main::FindMethod(std::string_view name) const {
  auto* self = const_cast<TForm_main*>(this);
  using TMethod = void (TForm_main::*)(TObject*);
  static const std::pair<const char*, TMethod> kMethods[] = {
      {"FormCreate", &TForm_main::FormCreate},     {"FormClose", &TForm_main::FormClose},
      {"Button1Click", &TForm_main::Button1Click}, {"Button2Click", &TForm_main::Button2Click},
      {"Timer1Timer", &TForm_main::Timer1Timer},   {"N1Click", &TForm_main::N1Click},
      {"N2Click", &TForm_main::N2Click},           {"N3Click", &TForm_main::N3Click},
      {"N4Click", &TForm_main::N4Click},           {"N5Click", &TForm_main::N5Click}};
  for (const auto& [n, m] : kMethods)
    if (name == n) return [self, m](TObject* sender) { (self->*m)(sender); };
  return {};
}

void TForm_main::BindField(TComponent* c) {
  auto bind = [c](auto*& field) {
    using T = std::remove_reference_t<decltype(*field)>;
    field = dynamic_cast<T*>(c);
  };
  const std::string& n = c->Name;
  if (n == "PopupMenu1") return bind(PopupMenu1);
  if (n == "N1") return bind(N1);
  if (n == "N2") return bind(N2);
  if (n == "N3") return bind(N3);
  if (n == "N4") return bind(N4);
  if (n == "N5") return bind(N5);
  if (n == "SkinData1") return bind(SkinData1);
  if (n == "Label1") return bind(Label1);
  if (n == "Label2") return bind(Label2);
  if (n == "ListBox1") return bind(ListBox1);
  if (n == "Edit1") return bind(Edit1);
  if (n == "Button1") return bind(Button1);
  if (n == "Button2") return bind(Button2);
  if (n == "Memo1") return bind(Memo1);
  if (n == "Timer1") return bind(Timer1);
  if (n == "TrayIcon1") return bind(TrayIcon1);
}

void TForm_main::WndProc(TMessage& msg) {
  switch (msg.Msg) {
  case WM_SYSCOMMAND:
    if (TWMSysCommand(msg).CmdType == SC_MINIMIZE) {
      Hide(); // minimising hides the window: the tray icon brings it back
      return;
    }
    break;
  case WM_HOTKEY:
    WMHotKey();
    return;
  case UM_NEWWINDOW:
    FNewWindows.Handled();
    ScanPass(TCloseScan::psEvent);
    return;
  case UM_LOGFAILED:
    // Shown from the message loop, never inside a pass: closing goes on while the box is open.
    Application->ShowError("不能创建文件 " + FRecords.LogPath());
    return;
  case UM_LISTFOLDERCHANGED:
    FFileWatch.Handled();
    FReloadTries = 0;
    FReloadTimer->SetEnabled(true); // each change starts the wait anew
    return;
  default:
    // Another start of the program asks this one to show itself.
    if (msg.Msg == TSingleInstance::ShowMessage() && msg.Msg != 0) {
      BringToFront();
      return;
    }
    // The taskbar restarted: the notification icon goes into the new one. (A registration that
    // failed gives 0, which must not turn every WM_NULL into a re-add.)
    if (msg.Msg == TaskbarCreatedMessage && TaskbarCreatedMessage != 0 && TrayIcon1) {
      TrayIcon1->SetActive(false);
      TrayIcon1->SetActive(true);
    }
    break;
  }
  TForm::WndProc(msg);
}

void TForm_main::FormCreate(TObject*) {
  TrayIcon1->SetHint("Tarnel " TARNEL_VERSION); // the tray tip tells one build from the next
  std::string run;
  ReadRegString("HKEY_CURRENT_USER", Autostart::kRunKey, Autostart::kRunValue, run);
  N3->SetChecked(!run.empty());
  // A list that cannot be read is reported, and the hotkey is then left out. The stamp is
  // taken first: a change during the read is read again.
  FKnownFile = WatchList::Stamp();
  SetList(WatchList::Load());
  FHotkey = std::make_unique<TVexhotkey>();
  FHotkey->AddHotKey(this, false, false, false, false, VK_F5);
}

void TForm_main::FormClose(TObject*) {
  FHotkey.reset();
  FNewWindows.Stop(); // the scan ends with the window
  FFileWatch.Stop();
}

void TForm_main::SetList(const std::vector<std::string>& entries) {
  FList.Assign(entries);
  ListBox1->SetItems(entries);
}

void TForm_main::SaveList() {
  WatchList::Save(FList.Texts());
  FKnownFile = WatchList::Stamp(); // this program's own save is no change to follow
}

void TForm_main::FollowListFile() {
  const WatchList::TFileStamp now = WatchList::Stamp();
  if (now == FKnownFile) return;
  // A list whose file has gone stays as it is; its next save writes the file again.
  if (!now.Exists) {
    FKnownFile = now;
    return;
  }
  WatchListFile::TEntries entries;
  try {
    entries = WatchList::Load();
  } catch (const std::exception&) {
    // Someone still holds the file: it is read once they let go (or a later change is).
    if (++FReloadTries < kReloadTries) FReloadTimer->SetEnabled(true);
    return;
  }
  FKnownFile = now;
  if (entries != FList.Texts()) SetList(entries);
}

void TForm_main::Button1Click(TObject*) {
  const std::string text = Edit1->GetText();
  // A text that stands twice in the list is reported twice.
  const int duplicates = FList.Occurrences(text);
  for (int i = 0; i < duplicates; ++i)
    ShowInfo("该窗口已经在列表中");
  if (duplicates) return;
  FList.Add(text);
  ListBox1->Add(text);
  Edit1->Clear();
  SaveList();
}

void TForm_main::Button2Click(TObject*) {
  int index = ListBox1->ItemIndex();
  if (index < 0 || index >= FList.Count()) return;
  ListBox1->Delete(index);
  FList.Delete(index);
  SaveList();
}

void TForm_main::Timer1Timer(TObject*) {
  ScanPass(TCloseScan::psTick);
}

void TForm_main::ScanPass(TCloseScan::TPassKind kind) {
  // A pass never runs inside another (a request waits with messages of other threads handled).
  if (FInPass || FPaused || Application->Terminated()) return;
  FInPass = true;
  FScan.Pass(FList, kind, [this] { return FPaused || Application->Terminated(); });
  FInPass = false;
}

void TForm_main::N1Click(TObject*) {
  BringToFront();
}

void TForm_main::N2Click(TObject*) {
  Close();
}

void TForm_main::N3Click(TObject*) {
  Autostart::Toggle(N3, ExecutablePath());
}

void TForm_main::N4Click(TObject*) {
  SetPaused(!FPaused);
}

void TForm_main::N5Click(TObject*) {
  if (!FClosedForm) {
    FClosedForm = new TForm_closed(this);
    FClosedForm->ShowRecords(FRecords.Recent());
  }
  FClosedForm->BringToFront();
}

void TForm_main::Recorded(const TClosedWindow& closed) {
  if (!FRecords.Add(closed) && !FLogFailed) {
    FLogFailed = true;
    PostMessageA(Handle(), UM_LOGFAILED, 0, 0);
  }
  if (FClosedForm) FClosedForm->AddRecord(closed);
}

void TForm_main::SetPaused(bool paused) {
  if (paused == FPaused) return;
  FPaused = paused;
  N4->SetChecked(paused);
  Timer1->SetEnabled(!paused);
  // The hook is given back whenever the scan stops.
  if (paused)
    FNewWindows.Stop();
  else
    FNewWindows.Start(Handle(), UM_NEWWINDOW);
  ShowPauseOnTray();
}

void TForm_main::ShowPauseOnTray() {
  if (FPaused) {
    FRunningIcon.Assign(TrayIcon1->Icon());
    FRunningTip = TrayIcon1->Hint();
    TIcon paused;
    MakePausedIcon(FRunningIcon, paused);
    if (!paused.Empty()) TrayIcon1->SetIcon(&paused);
    // The pause comes first, so that a long tip is never cut before it.
    TrayIcon1->SetHint(FRunningTip.empty() ? "已暂停自动关闭" : "已暂停自动关闭 - " + FRunningTip);
  } else {
    TrayIcon1->SetIcon(&FRunningIcon);
    TrayIcon1->SetHint(FRunningTip);
  }
}

void TForm_main::WMHotKey() {
  Edit1->SetText(WindowCapture::CaptureEntry());
  BringToFront();
}
