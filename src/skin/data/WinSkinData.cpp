// The skin data component: stored skin, loading, switches, events, caption hints, and its
// dealings with the skin manager.
#include "WinSkinData.h"
#include "WindowLinks.h"

#include "Forms.h"
#include "SkinLzh.h"
#include "SkinManage.h"
#include "SkinReader.h"

#include <algorithm>
#include <cstring>

// ---------------------------------------------------------------------------------------------
// Names, defaults and platform facts

const std::vector<const char*>& SkinControlTypeNames() {
  static const std::vector<const char*> names{
      "xcMainMenu", "xcPopupMenu",   "xcMenuItem",   "xcToolbar",   "xcControlbar", "xcCombo",
      "xcCheckBox", "xcRadioButton", "xcProgress",   "xcScrollbar", "xcEdit",       "xcButton",
      "xcBitBtn",   "xcSpeedButton", "xcSpin",       "xcPanel",     "xcGroupBox",   "xcStatusBar",
      "xcTab",      "xcTrackBar",    "xcSystemMenu", "xcFastReport"};
  return names;
}

const std::vector<const char*>& SkinOptionNames() {
  static const std::vector<const char*> names{
      "xoMDIScrollbar",     "xoMenuMerge",   "xoTransparent",       "xoPreview",
      "xoParentBackGround", "xoNoFocusRect", "xoToolbarBK",         "xoToolbarButton",
      "xoMDIChildBorder",   "xoMenuBG",      "xoCaptionButtonHint", "xoFormScrollbar"};
  return names;
}

const std::vector<const char*>& SkinFormTypeNames() {
  static const std::vector<const char*> names{"sfMainform", "sfOnlyThisForm", "sfDialog", "sfDLL"};
  return names;
}

const std::vector<std::string>& DefaultSkin3rd() {
  static const std::vector<std::string> lines{
      // Scroll bars of third-party trees, viewers and memos.
      "TCategoryButtons=scrollbar", "TPngSpeedbutton=pngspeedbutton", "TPngBitBtn=pngbitbtn",
      "TVirtualStringTree=scrollbar", "TVirtualDrawTree=scrollbar", "TAdvPanelGroup=scrollbar",
      "THTMLViewer=scrollbar", "TDBCtrlGrid=scrollbar", "TImageEnMView=scrollbar",
      "TImageEnView=scrollbar", "TAdvMemo=scrollbar", "TDBAdvMemo=scrollbar",
      // Docks and tool bars.
      "TTBXDockablePanel=Panel", "TControlBar=Panel", "TTBDock=Panel", "TTBToolbar=Panel",
      // Combo boxes and editors with drop-downs.
      "TComboboxex=combobox", "TcxDBLookupComboBox=combobox", "TcxDBComboBox=combobox",
      "TcxDBDateEdit=combobox", "TcxDBImageComboBox=combobox", "TcxDBCalcEdit=combobox",
      "TcxDBBlobEdit=combobox", "TcxDBPopupEdit=combobox", "TcxDBFontNameComboBox=combobox",
      "TcxDBShellComboBox=combobox", "TLibLookupEdit=combobox", "TLibDBLookupCombo=combobox",
      "TLibSpeedButton=speedbutton", "TfrSpeedButton=speedbutton", "TfrTBButton=speedbutton",
      "TRzButton=button", "TRzBitbtn=bitbtn", "TRzMenuButton=menubtn", "TRzCheckGroup=CheckGroup",
      "TRzRadioGroup=Radiogroup", "TRzDBRadioGroup=Radiogroup", "TRzGroup=panel",
      "TRzButtonEdit=Edit", "TRzDateTimeEdit=Combobox", "TRzColorEdit=Combobox",
      "TRzDateTimePicker=Combobox", "TRzDBDateTimeEdit=Combobox", "TRzDbColorEdit=Combobox",
      "TRzDBDateTimePicker=Combobox", "TRzDBRadioButton=Radiobutton", "TLMDCalculator=panel",
      "TLMDGROUPBOX=panel", "TLMDSIMPLEPANEL=panel", "TLMDDBCalendar=panel",
      "TLMDButtonPanel=panel", "TLMDLMDCalculator=panel", "TLMDHeaderPanel=panel",
      "TLMDTechnicalLine=panel", "TLMDLMDClock=panel", "TLMDTrackbar=panel",
      "TLMDListCombobox=Combobox", "TLMDCheckListCombobox=Combobox",
      "TLMDHeaderListCombobox=Combobox", "TLMDImageCombobox=Combobox", "TLMDColorCombobox=Combobox",
      "TLMDFontCombobox=Combobox", "TLMDFontSizeCombobox=Combobox", "TLMDFontSizeCombobox=Combobox",
      "TLMDPrinterCombobox=Combobox", "TLMDDriveCombobox=Combobox",
      "TLMDCalculatorComboBox=Combobox", "TLMDTrackBarComboBox=Combobox",
      "TLMDCalendarComboBox=Combobox", "TLMDTreeComboBox=Combobox", "TLMDButton=bitbtn",
      "TLMDCheckGroup=CheckGroup", "TLMDDBCheckGroup=CheckGroup", "TLMDRADIOGROUP=radiogroup",
      "TLMDDBRADIOGROUP=radiogroup", "TLMDCalculatorEdit=edit", "TLMDEDIT=edit",
      "TLMDMASKEDIT=edit", "TLMDBROWSEEDIT=edit", "TLMDEXTSPINEDIT=edit", "TLMDCALENDAREDIT=edit",
      "TLMDFILEOPENEDIT=edit", "TLMDFILESAVEEDIT=edit", "TLMDCOLOREDIT=edit", "TLMDDBEDIT=edit",
      "TLMDDBMASKEDIT=edit", "TLMDDBEXTSPINEDIT=edit", "TLMDDBSPINEDIT=edit",
      "TLMDDBEDITDBLookup=edit", "TLMDEDITDBLookup=edit", "TLMDRadiobutton=Radiobutton",
      "TLMDGroupBox=Groupbox", "TDBLookupCombobox=combobox", "TWWDBCombobox=combobox",
      "TWWDBCombobox=combobox", "TWWDBLookupCombo=combobox", "TWWKeyCombo=combobox",
      "TWWTempKeyCombo=combobox", "TWWDBDateTimePicker=combobox", "TWWRADIOGROUP=radiogroup",
      "TWWDBEDIT=edit", "TcxButton=bitbtn", "TcxDBRadioGroup=radiogroup",
      "TcxRadioGroup=radiogroup", "TcxGroupbox=groupbox", "TDBCheckboxEh=Checkbox",
      "TDBCheckboxEh=Checkbox", "TLMDCHECKBOX=Checkbox", "TLMDDBCHECKBOX=Checkbox",
      // Entry fields.
      "TOVCPICTUREFIELD=Edit", "TOVCDBPICTUREFIELD=Edit", "TOVCSLIDEREDIT=Edit",
      "TOVCDBSLIDEREDIT=Edit", "TOVCSIMPLEFIELD=Edit", "TOVCDBSIMPLEFIELD=Edit",
      "TO32DBFLEXEDIT=Edit", "TOVCNUMERICFIELD=Edit", "TOVCDBNUMERICFIELD=Edit"};
  return lines;
}

namespace {

TSkinUser32 LookUpUser32() {
  TSkinUser32 u;
  if (HMODULE user32 = GetModuleHandleA("user32.dll")) {
    auto find = [user32](const char* name) {
      return reinterpret_cast<void*>(GetProcAddress(user32, name));
    };
    u.GetScrollBarInfo = reinterpret_cast<decltype(u.GetScrollBarInfo)>(find("GetScrollBarInfo"));
    u.TrackMouseEvent = reinterpret_cast<decltype(u.TrackMouseEvent)>(find("TrackMouseEvent"));
    u.GetComboBoxInfo = reinterpret_cast<decltype(u.GetComboBoxInfo)>(find("GetComboBoxInfo"));
    u.DisableProcessWindowsGhosting = reinterpret_cast<decltype(u.DisableProcessWindowsGhosting)>(
        find("DisableProcessWindowsGhosting"));
  }
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (GetVersionExA(&version)) u.IsNT = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
  return u;
}

} // namespace

const TSkinUser32& SkinUser32() {
  static const TSkinUser32 user32 = LookUpUser32();
  return user32;
}

std::wstring AnsiToWide(std::string_view text) {
  if (text.empty()) return std::wstring();
  const int size = static_cast<int>(std::min<std::size_t>(text.size(), 0x7FFFFFFF));
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
  return wide;
}

int DrawWideText(HDC dc, const std::wstring& text, RECT& rect, UINT format) {
  if (SkinUser32().IsNT)
    return DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
  std::string ansi;
  const int length = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  if (length > 0) {
    ansi.resize(static_cast<std::size_t>(length));
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), ansi.data(), length,
                        nullptr, nullptr);
  }
  return DrawTextA(dc, ansi.c_str(), -1, &rect, format);
}

// ---------------------------------------------------------------------------------------------
// The caption hint window

namespace {

// The system's non-client metrics in the structure size every platform accepts (without the
// padded border field).
bool ReadNonClientMetrics(NONCLIENTMETRICSA& metrics) {
  constexpr UINT kSize = 340;
  static_assert(sizeof(NONCLIENTMETRICSA) >= kSize);
  std::memset(&metrics, 0, sizeof metrics);
  metrics.cbSize = kSize;
  return SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kSize, &metrics, 0) != 0;
}

constexpr const char* kHintClassName = "TSkinHintWindow";

} // namespace

// A small top-level window that shows one text on the tool-tip colours, never activated.
class TSkinHintWindow {
public:
  TSkinHintWindow() = default;
  ~TSkinHintWindow() {
    if (FWnd) DestroyWindow(FWnd);
  }
  TSkinHintWindow(const TSkinHintWindow&) = delete;
  TSkinHintWindow& operator=(const TSkinHintWindow&) = delete;

  HWND Handle() const { return FWnd; }

  // The window rectangle, at the origin, that shows `text` wrapped at maxWidth.
  RECT CalcHintRect(int maxWidth, const std::string& text) {
    RECT r{0, 0, maxWidth, 0};
    const TClientDC screen(nullptr);
    const TSelectObject font(screen.DC(), Font());
    DrawTextA(screen.DC(), text.c_str(), -1, &r,
              DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    r.right += 6;
    r.bottom += 2;
    return r;
  }

  void ActivateHint(const RECT& r, const std::string& text) {
    if (!EnsureWindow()) return;
    FText = text;
    SetWindowPos(FWnd, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(FWnd, nullptr, TRUE);
  }

  void Hide() {
    if (FWnd) ShowWindow(FWnd, SW_HIDE);
  }

private:
  HFONT Font() {
    if (!FFont) {
      NONCLIENTMETRICSA metrics;
      if (ReadNonClientMetrics(metrics)) FFont.Reset(CreateFontIndirectA(&metrics.lfStatusFont));
    }
    return FFont ? FFont.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  }

  bool EnsureWindow() {
    if (FWnd) return true;
    static const ATOM atom = [] {
      WNDCLASSA wc{};
      wc.style = CS_SAVEBITS;
      wc.lpfnWndProc = &TSkinHintWindow::WndProc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
      wc.lpszClassName = kHintClassName;
      return RegisterClassA(&wc);
    }();
    if (!atom) return false;
    FWnd = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kHintClassName, "",
                           WS_POPUP | WS_BORDER, 0, 0, 0, 0, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    if (FWnd) Links().Link(FWnd, this);
    return FWnd != nullptr;
  }

  // The hint windows of this thread and their objects.
  static TWindowLinks<TSkinHintWindow*>& Links() {
    thread_local TWindowLinks<TSkinHintWindow*> links;
    return links;
  }

  static LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    TSkinHintWindow* const* link = Links().Find(wnd);
    TSkinHintWindow* self = link ? *link : nullptr;
    switch (msg) {
    case WM_NCDESTROY:
      Links().Unlink(wnd);
      return DefWindowProcA(wnd, msg, wparam, lparam);
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_PAINT: {
      const TPaintDC paint(wnd);
      HDC dc = paint.DC();
      RECT r;
      GetClientRect(wnd, &r);
      FillRect(dc, &r, GetSysColorBrush(COLOR_INFOBK));
      if (self) {
        const TSelectObject font(dc, self->Font());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
        InflateRect(&r, -2, 0);
        r.top += 1;
        DrawTextA(dc, self->FText.c_str(), -1, &r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
      }
      return 0;
    }
    default:
      return DefWindowProcA(wnd, msg, wparam, lparam);
    }
  }

  HWND FWnd = nullptr;
  TFontHandle FFont;
  std::string FText;
};

// ---------------------------------------------------------------------------------------------
// Class information

namespace {

TPropInfo SetProp(const char* name, const std::vector<const char*>& (*names)(),
                  unsigned (TSkinData::*get)() const, void (TSkinData::*set)(unsigned)) {
  TPropInfo p;
  p.Name = name;
  p.Get = [names, get](const TObject* o) {
    return SetToString(names(), (static_cast<const TSkinData*>(o)->*get)());
  };
  p.Set = [names, set](TObject* o, const std::string& v) {
    (static_cast<TSkinData*>(o)->*set)(StringToSet(names(), v));
  };
  return p;
}

// Lines that end in CR LF, CR or LF alone (the last may end in none).
std::vector<std::string> SplitAnyBreaks(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end;
    if (start < text.size() && text[start] == '\r') ++start;
    if (start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

} // namespace

const TClassInfo& TSkinData::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i{"TSkinData",
                 &TComponent::StaticClassInfo(),
                 [](TComponent* owner) -> TComponent* { return new TSkinData(owner); },
                 {}};
    i.Props.push_back(BoolProp("Active", &TSkinData::Active, &TSkinData::SetActive));
    i.Props.push_back(IntProp("DisableTag", &TSkinData::DisableTag, &TSkinData::SetDisableTag));
    i.Props.push_back(SetProp("SkinControls", &SkinControlTypeNames, &TSkinData::SkinControls,
                              &TSkinData::SetSkinControls));
    i.Props.push_back(
        SetProp("Options", &SkinOptionNames, &TSkinData::Options, &TSkinData::SetOptions));
    TPropInfo skin3rd;
    skin3rd.Name = "Skin3rd";
    skin3rd.Get = [](const TObject* o) {
      std::string text;
      for (const std::string& line : static_cast<const TSkinData*>(o)->Skin3rd())
        text += (text.empty() ? "" : "\r\n") + line;
      return text;
    };
    skin3rd.Set = [](TObject* o, const std::string& v) {
      static_cast<TSkinData*>(o)->SetSkin3rd(SplitAnyBreaks(v));
    };
    i.Props.push_back(skin3rd);
    i.Props.push_back(StrProp("SkinFile", &TSkinData::SkinFile, &TSkinData::SetSkinFile));
    i.Props.push_back(StrProp("SkinStore", &TSkinData::SkinStore, &TSkinData::SetSkinStore));
    TPropInfo formtype;
    formtype.Name = "SkinFormtype";
    formtype.Get = [](const TObject* o) {
      return EnumName(SkinFormTypeNames(), static_cast<const TSkinData*>(o)->SkinFormtype());
    };
    formtype.Set = [](TObject* o, const std::string& v) {
      static_cast<TSkinData*>(o)->SetSkinFormtype(EnumValue(SkinFormTypeNames(), v));
    };
    i.Props.push_back(formtype);
    i.Props.push_back(StrProp("Version", &TSkinData::Version, &TSkinData::SetVersion));
    i.Props.push_back(BoolProp("MenuUpdate", &TSkinData::MenuUpdate, &TSkinData::SetMenuUpdate));
    i.Props.push_back(BoolProp("MenuMerge", &TSkinData::MenuMerge, &TSkinData::SetMenuMerge));
    i.Props.push_back(SenderEventProp("OnFormSkin", &TSkinData::OnFormSkin));
    i.Props.push_back(EventProp("OnSkinChanged", &TSkinData::OnSkinChanged));
    i.Props.push_back(SenderEventProp("OnSkinControl", &TSkinData::OnSkinControl));
    i.Props.push_back(SenderEventProp("OnBeforeSkinForm", &TSkinData::OnBeforeSkinForm));
    i.Props.push_back(SenderEventProp("OnAfterSkinForm", &TSkinData::OnAfterSkinForm));
    TPropInfo stream;
    stream.Name = "SkinStream";
    stream.Kind = pkBinary;
    stream.Get = [](const TObject* o) {
      return std::string(static_cast<const TSkinData*>(o)->StoredSkin().empty() ? ""
                                                                                : "(SkinStream)");
    };
    stream.SetBinary = [](TObject* o, const std::vector<std::uint8_t>& stored) {
      static_cast<TSkinData*>(o)->ReadSkinStream(stored);
    };
    i.Props.push_back(stream);
    return i;
  }();
  return info;
}

void RegisterSkinClasses() {
  RegisterClassInfo(&TSkinData::StaticClassInfo());
}

namespace {
// Any program that links this unit can read skin components from its descriptions.
const bool gSkinClassesRegistered = (RegisterSkinClasses(), true);
} // namespace

// ---------------------------------------------------------------------------------------------
// TSkinData

TSkinData::TSkinData(TComponent* owner)
    : TComponent(owner), FSkin3rd(DefaultSkin3rd()), FHint(std::make_unique<TSkinHintWindow>()) {
  (void)gSkinClassesRegistered;
  AppIcon.SetPixelFormat(pf24bit);
  ReadMenuGlyphs();
  MaximizedSize = SIZE{GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
}

TSkinData::~TSkinData() {
  FMenuGlyphs.Reset();
  FSkin3rd.clear();
  // The manager lets go of everything that refers to this component (as current or default
  // skin data, a pending request, the skinners using it) before it goes.
  if (TSkinManage* manager = TSkinManage::Manager()) manager->UnregisterSkinData(this);
}

void TSkinData::ReadMenuGlyphs() {
  TBitmap glyphs;
  if (!glyphs.LoadFromResourceName(GetModuleHandleA(nullptr), "TARPAULMENU")) return;
  glyphs.SetPixelFormat(pf24bit);
  const int count = std::max(glyphs.Width() / 16, 1);
  FMenuGlyphs.Reset(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, count, 1));
  if (FMenuGlyphs) ImageList_AddMasked(FMenuGlyphs.Get(), glyphs.Handle(), RGB(255, 255, 255));
}

void TSkinData::ReadSkinStream(const std::vector<std::uint8_t>& property) {
  FStoredSkin.clear();
  if (property.size() >= 4) {
    std::int32_t length;
    std::memcpy(&length, property.data(), 4);
    if (length > 0) {
      const std::size_t n =
          std::min<std::size_t>(static_cast<std::size_t>(length), property.size() - 4);
      FStoredSkin.assign(property.begin() + 4, property.begin() + 4 + static_cast<long>(n));
    }
  }
  if (!FStoredSkin.empty()) LoadSkin();
}

std::vector<std::uint8_t> TSkinData::WriteSkinStream() const {
  std::vector<std::uint8_t> property(4 + FStoredSkin.size());
  const std::int32_t length = static_cast<std::int32_t>(FStoredSkin.size());
  std::memcpy(property.data(), &length, 4);
  if (!FStoredSkin.empty())
    std::memcpy(property.data() + 4, FStoredSkin.data(), FStoredSkin.size());
  return property;
}

bool TSkinData::LoadSkin() {
  FNoSkinLoaded = true;
  if (!FReader) FReader = std::make_unique<TSkinReader>();
  bool loaded = false;
  try {
    loaded = LoadSkinContent(FStoredSkin, *this, *FReader);
  } catch (const ElzhException& e) {
    // The decoder's own failures are told to the user like the reader's messages.
    const TSkinNotifier notifier = SetSkinNotifier(nullptr);
    SetSkinNotifier(notifier);
    (notifier ? notifier : &SkinPlatformNotify)(e.what());
  } catch (const std::exception&) {
    // An image the system cannot hold: no skin, as with any unreadable one.
  }
  // The reader's buffer serves the next load (a skin is loaded again on every change of the
  // skin file and of Active); the buffer of a large archive is not kept.
  if (FReader->ExpandedSize() > KeptArchiveSize) FReader.reset();
  if (!loaded) return false;
  FNoSkinLoaded = false;
  return true;
}

void TSkinData::SetSkinFile(const std::string& fileName) {
  // The file is read before anything changes: a name of a file that does not exist (or
  // cannot be read) leaves the component exactly as it was, its current skin included.
  const DWORD attributes =
      fileName.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(fileName.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  TMemoryStream file;
  if (!file.LoadFromFile(fileName)) return;
  FSkinFile = fileName;
  FStoredSkin = std::move(file.Data());
  LoadSkin();
  ApplySkin();
}

void TSkinData::ApplySkin() {
  if (Loading()) return;
  if (!FCompleted || !TSkinManage::Manager()) CompleteLoading();
  TSkinManage* manager = TSkinManage::Manager();
  if (!manager) return;
  manager->SetCurrentSkinData(this);
  manager->ReloadSkinData();
  const int state = manager->ActivationState();
  if (state != asNone && state != asDestroying) manager->Request(srRefresh, 250);
}

void TSkinData::Loaded() {
  TComponent::Loaded();
  CompleteLoading();
}

void TSkinData::CompleteLoading() {
  FCompleted = true;
  if (!SkinUser32().GetScrollBarInfo) FSkinControls &= ~SkinBit(xcScrollbar);
  TSkinManage* manager = TSkinManage::CreateManager();
  const auto& list = manager->SkinDataList();
  if (std::find(list.begin(), list.end(), this) == list.end()) manager->RegisterSkinData(this);
  ReadCaptionFont();
  if (FSkinFormtype != sfMainform) {
    manager->SetActive(true);
    manager->MarkActivatedAtRunTime();
    if (FActive)
      if (auto* form = dynamic_cast<TCustomForm*>(Owner())) manager->SkinWindow(form->Handle());
    return;
  }
  manager->InstallHook();
  if (FActive) {
    if (!SkinLoaded())
      FActive = false;
    else
      manager->Request(srActivate, 250); // before the first activation: only marks it active
  }
  if (FSkinControls & SkinBit(xcMainMenu))
    FSkinControls &= ~SkinBit(xcMenuItem);
  else
    FSkinControls &= ~SkinBit(xcSystemMenu);
  BuildAppIcon();
}

void TSkinData::SetActive(bool value) {
  if (value == FActive) return;
  FActive = value;
  if (Loading()) return; // stored only, while the description is read
  if (!FCompleted) {
    // A component made in code completes on first use; that switches it on when set.
    CompleteLoading();
    return;
  }
  TSkinManage* manager = TSkinManage::Manager();
  if (!manager) return;
  switch (FSkinFormtype) {
  case sfMainform:
    if (value) {
      if (!SkinLoaded()) return;
      manager->SetCurrentSkinData(this);
      manager->Request(srActivate, 250);
      manager->MarkActivatedAtRunTime();
    } else {
      manager->SetCurrentSkinData(this);
      manager->Request(srDeactivate, 250);
    }
    break;
  case sfOnlyThisForm:
    manager->SetCurrentSkinData(this);
    if (value) {
      if (!SkinLoaded()) return;
      manager->Request(srActivate, 250);
    } else {
      manager->Request(srDeactivate, 250);
    }
    break;
  default:
    break; // dialogs and libraries: the value only
  }
}

void TSkinData::ReadCaptionFont() {
  NONCLIENTMETRICSA metrics;
  if (ReadNonClientMetrics(metrics))
    FCaptionFont.Reset(CreateFontIndirectA(&metrics.lfCaptionFont));
}

HFONT TSkinData::CaptionFont() const {
  return FCaptionFont ? FCaptionFont.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void TSkinData::BuildAppIcon() {
  AppIcon.Clear();
  HWND app = Application ? Application->Handle() : nullptr;
  if (!app) return;
  auto icon = reinterpret_cast<HICON>(SendMessageA(app, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageA(app, WM_GETICON, ICON_BIG, 0));
  if (!icon) return;
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  AppIcon = TBitmap(cx, cy, pf24bit);
  HDC dc = AppIcon.CanvasHandle();
  const TBrushHandle magenta(CreateSolidBrush(RGB(255, 0, 255)));
  const RECT all{0, 0, cx, cy};
  FillRect(dc, &all, magenta.Get());
  DrawIconEx(dc, 0, 0, icon, cx, cy, 0, nullptr, DI_NORMAL);
  AppIcon.ReleaseCanvas();
  AppIcon.TransparentColor = 0xFF00FF;
  AppIcon.Transparent = true;
}

void TSkinData::ShouldSkinForm(HWND wnd, const std::string& className, bool& doSkin) {
  FDecidingWindow = wnd;
  if (OnFormSkin) {
    OnFormSkin(this, className, doSkin);
    return;
  }
  if (className == "SysMonthCal32")
    doSkin = false;
  else if ((FSkinControls & SkinBit(xcFastReport)) && className.rfind("Tfr", 0) == 0)
    doSkin = false;
}

void TSkinData::SkinChanged() {
  if (OnSkinChanged) OnSkinChanged(this);
}

void TSkinData::ShowCaptionHint(const RECT& rect, const std::string& text) {
  if (!(FOptions & SkinBit(xoCaptionButtonHint)) || FHintShown) return;
  RECT r = FHint->CalcHintRect(500, text);
  OffsetRect(&r, rect.left, rect.top);
  FHint->ActivateHint(r, text);
  FHintShown = true;
}

void TSkinData::HideCaptionHint() {
  if (!FHintShown) return;
  FHint->Hide();
  FHintShown = false;
}

HWND TSkinData::CaptionHintWindow() const {
  return FHint->Handle();
}
