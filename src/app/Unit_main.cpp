#include "Unit_main.h"
#include "Autostart.h"
#include "ShowInfo.h"
#include "WatchList.h"
#include "WatchListFile.h"
#include "WindowCapture.h"
#include "WinSkinData.h"

#include <utility>

TForm_main* Form_main = nullptr;
TVexhotkey* Hotkey = nullptr;
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
  SetMessageHandler(WM_SYSCOMMAND, [this](TMessage& m) { WMSysCommand(m); });
  SetMessageHandler(WM_HOTKEY, [this](TMessage& m) { WMHotKey(m); });
  ReadStoredDescription();
  HandleNeeded();
  DoCreate();
}

TForm_main::~TForm_main() {
  // The hotkey goes with the window it was registered for, however the window ends.
  delete std::exchange(Hotkey, nullptr);
  if (Form_main == this) Form_main = nullptr;
}

TNotifyEvent TForm_main::FindMethod(std::string_view name) const {
  auto* self = const_cast<TForm_main*>(this);
  using TMethod = void (TForm_main::*)(TObject*);
  static const std::pair<const char*, TMethod> kMethods[] = {
      {"FormCreate", &TForm_main::FormCreate},     {"FormClose", &TForm_main::FormClose},
      {"Button1Click", &TForm_main::Button1Click}, {"Button2Click", &TForm_main::Button2Click},
      {"Timer1Timer", &TForm_main::Timer1Timer},   {"N1Click", &TForm_main::N1Click},
      {"N2Click", &TForm_main::N2Click},           {"N3Click", &TForm_main::N3Click}};
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
  // The taskbar restarted: the notification icon goes into the new one. (A registration that
  // failed gives 0, which must not turn every WM_NULL into a re-add.)
  if (msg.Msg == TaskbarCreatedMessage && TaskbarCreatedMessage != 0 && TrayIcon1) {
    TrayIcon1->SetActive(false);
    TrayIcon1->SetActive(true);
  }
  TForm::WndProc(msg);
}

void TForm_main::FormCreate(TObject*) {
  std::string run;
  ReadRegString("HKEY_CURRENT_USER", Autostart::kRunKey, Autostart::kRunValue, run);
  N3->SetChecked(!run.empty());
  // A list that cannot be read is reported, and the hotkey is then left out.
  ListBox1->SetItems(WatchList::Load());
  delete std::exchange(Hotkey, new TVexhotkey);
  Hotkey->AddHotKey(this, false, false, false, false, VK_F5);
}

void TForm_main::FormClose(TObject*) {
  delete std::exchange(Hotkey, nullptr);
}

void TForm_main::SaveList() {
  WatchList::Save(ListBox1->Items());
}

void TForm_main::Button1Click(TObject*) {
  const std::string text = Edit1->GetText();
  bool duplicate = false;
  for (int i = 0; i < ListBox1->Count(); ++i) {
    if (ListBox1->Item(i) == text) {
      duplicate = true;
      ShowInfo("该窗口已经在列表中");
    }
  }
  if (duplicate) return;
  ListBox1->Add(text);
  Edit1->Clear();
  SaveList();
}

void TForm_main::Button2Click(TObject*) {
  int index = ListBox1->ItemIndex();
  if (index < 0) return;
  ListBox1->Delete(index);
  SaveList();
}

bool TForm_main::LeftAlone(HWND wnd, DWORD now) const {
  auto it = FUnanswered.find(wnd);
  return it != FUnanswered.end() && IsWindow(wnd) && now - it->second < kHungRetryMs;
}

HWND TForm_main::FindTarget(const std::string& entry, DWORD now) const {
  const bool byClass = WatchListFile::IsClassEntry(entry);
  const std::string cls(byClass ? WatchListFile::ClassNameOf(entry) : std::string_view{});
  auto next = [&](HWND after) {
    return byClass ? FindWindowExA(nullptr, after, cls.c_str(), nullptr)
                   : FindWindowExA(nullptr, after, nullptr, entry.c_str());
  };
  // Every window passed over is one of those left alone, so the walk ends after at most that
  // many steps even if the window order changes meanwhile.
  HWND wnd = next(nullptr);
  for (size_t passed = 0; wnd && LeftAlone(wnd, now) && passed <= FUnanswered.size(); ++passed)
    wnd = next(wnd);
  return wnd && !LeftAlone(wnd, now) ? wnd : nullptr;
}

void TForm_main::RequestClose(HWND wnd) {
  const DWORD now = GetTickCount();
  FUnanswered.erase(wnd);
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(wnd, WM_CLOSE, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, kCloseTimeoutMs,
                           &result) &&
      IsWindow(wnd))
    FUnanswered[wnd] = now;
}

void TForm_main::Timer1Timer(TObject*) {
  const int n = ListBox1->Count();
  // The list can change while a close request is being handled (messages sent by other threads
  // are handled meanwhile), so every step checks the current row count.
  for (int i = 0; i < n && i < ListBox1->Count(); ++i) {
    const std::string entry = ListBox1->Item(i);
    if (!WatchListFile::IsLookedUp(entry)) continue;
    if (HWND wnd = FindTarget(entry, GetTickCount())) RequestClose(wnd);
    if (Application->Terminated()) break;
  }
  for (auto it = FUnanswered.begin(); it != FUnanswered.end();)
    it = IsWindow(it->first) ? std::next(it) : FUnanswered.erase(it);
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

void TForm_main::WMSysCommand(TMessage& msg) {
  if (msg.WParam == SC_MINIMIZE) {
    Hide();
    return;
  }
  Inherited(msg);
}

void TForm_main::WMHotKey(TMessage&) {
  Edit1->SetText(WindowCapture::CaptureEntry());
  BringToFront();
}
