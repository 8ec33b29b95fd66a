#include "Unit_main.h"
#include "ShowInfo.h"
#include "WatchList.h"
#include "WatchListFile.h"

TForm_main* Form_main = nullptr;
UINT TaskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");

const TClassInfo& TForm_main::StaticClassInfo() {
  static const TClassInfo info{"TForm_main", &TForm::StaticClassInfo(), nullptr, {}};
  return info;
}

TForm_main::TForm_main(TComponent* owner) : TForm(owner) {
  Form_main = this;
  SetMessageHandler(WM_SYSCOMMAND, [this](TMessage& m) { WMSysCommand(m); });
  SetMessageHandler(WM_HOTKEY, [this](TMessage& m) { WMHotKey(m); });
  ReadStoredDescription();
  HandleNeeded();
  DoCreate();
}

TForm_main::~TForm_main() {
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
  const std::string& n = c->Name;
  auto bind = [&](auto*& field) {
    using T = std::remove_reference_t<decltype(*field)>;
    field = dynamic_cast<T*>(c);
  };
  if (n == "PopupMenu1") bind(PopupMenu1);
  else if (n == "N1") bind(N1);
  else if (n == "N2") bind(N2);
  else if (n == "N3") bind(N3);
  else if (n == "Label1") bind(Label1);
  else if (n == "Label2") bind(Label2);
  else if (n == "ListBox1") bind(ListBox1);
  else if (n == "Edit1") bind(Edit1);
  else if (n == "Button1") bind(Button1);
  else if (n == "Button2") bind(Button2);
  else if (n == "Memo1") bind(Memo1);
  else if (n == "Timer1") bind(Timer1);
}

void TForm_main::WndProc(TMessage& msg) {
  if (msg.Msg == TaskbarCreatedMessage && TaskbarCreatedMessage != 0) {
    // The taskbar restarted: the notification icon is added again here once the tray exists.
  }
  // Until the notification icon carries the menu, a right click on the window opens it.
  if (msg.Msg == WM_CONTEXTMENU && PopupMenu1) {
    POINT p{GET_X_LPARAM_(msg.LParam), GET_Y_LPARAM_(msg.LParam)};
    if (msg.LParam == -1) GetCursorPos(&p);
    PopupMenu1->Popup(p.x, p.y);
    return;
  }
  TForm::WndProc(msg);
}

void TForm_main::FormCreate(TObject*) {
  // Start at logon: the check mark of N3 follows the Run value (added with the autostart unit).
  ListBox1->SetItems(WatchList::Load());
  // The capture hotkey object and F5 are made here once the hotkey unit exists.
}

void TForm_main::FormClose(TObject*) {
  // Destroys the hotkey object (once it exists), which unregisters F5.
}

void TForm_main::SaveList() { WatchList::Save(ListBox1->Items()); }

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

void TForm_main::RequestClose(HWND wnd) {
  DWORD now = GetTickCount();
  auto it = FUnanswered.find(wnd);
  if (it != FUnanswered.end()) {
    if (IsWindow(wnd) && now - it->second < kHungRetryMs) return;
    FUnanswered.erase(it);
  }
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
    HWND wnd = WatchListFile::IsClassEntry(entry)
                   ? FindWindowA(std::string(WatchListFile::ClassNameOf(entry)).c_str(), nullptr)
                   : FindWindowA(nullptr, entry.c_str());
    if (wnd) RequestClose(wnd);
    if (Application->Terminated()) break;
  }
  for (auto it = FUnanswered.begin(); it != FUnanswered.end();)
    it = IsWindow(it->first) ? std::next(it) : FUnanswered.erase(it);
}

void TForm_main::N1Click(TObject*) { BringToFront(); }

void TForm_main::N2Click(TObject*) { Close(); }

void TForm_main::N3Click(TObject*) {
  // Toggles start at logon (the autostart unit plugs in here).
}

void TForm_main::WMSysCommand(TMessage& msg) {
  if (msg.WParam == SC_MINIMIZE) {
    Hide();
    return;
  }
  Inherited(msg);
}

void TForm_main::WMHotKey(TMessage& msg) {
  // The capture of the window under the pointer plugs in here with the hotkey unit.
  Inherited(msg);
}
