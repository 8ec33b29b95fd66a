// TSkinData: the non-visual component a form carries to be skinned. It keeps the stored skin,
// loads it into skin elements and colours (TSkinContent), holds the switches that say what is
// skinned, registers itself with the process's skin manager and raises the skinning events.
#pragma once
#include "Classes.h"
#include "Controls.h"
#include "SkinElements.h"
#include "SkinTypes.h"

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

class TSkinData;
class TSkinHintWindow;

// OnFormSkin: the final word on whether a window (of class aName) is skinned.
using TFormSkinEvent = std::function<void(TObject* sender, const std::string& aName, bool& doSkin)>;
// OnSkinControl: may supply the skinner object of a control.
using TSkinControlEvent =
    std::function<void(TComponent* sender, TSkinData* skinData, TControl* form, TControl* control,
                       const std::string& controlClass, TComponent*& skinnedControl)>;
// OnBeforeSkinForm / OnAfterSkinForm.
using TSkinFormEvent = std::function<void(TObject* sender, HWND ahwnd, const std::string& aName)>;

// Every kind of control except xcMenuItem and xcFastReport.
constexpr unsigned kDefaultSkinControls =
    ((1u << (xcFastReport + 1)) - 1) & ~(SkinBit(xcMenuItem) | SkinBit(xcFastReport));
constexpr unsigned kDefaultSkinOptions =
    SkinBit(xoPreview) | SkinBit(xoToolbarBK) | SkinBit(xoCaptionButtonHint);
inline constexpr const char* kSkinDataVersion = "5.40.07.15";

// The value names of the enumerations, as stored descriptions write them.
const std::vector<const char*>& SkinControlTypeNames();
const std::vector<const char*>& SkinOptionNames();
const std::vector<const char*>& SkinFormTypeNames();

// The 118 default lines of Skin3rd: "class name=kind".
const std::vector<std::string>& DefaultSkin3rd();

// Entry points of user32 that may be missing, looked up by name once, and the platform.
struct TSkinUser32 {
  BOOL(WINAPI* GetScrollBarInfo)(HWND, LONG, PSCROLLBARINFO) = nullptr;
  BOOL(WINAPI* TrackMouseEvent)(LPTRACKMOUSEEVENT) = nullptr;
  BOOL(WINAPI* GetComboBoxInfo)(HWND, PCOMBOBOXINFO) = nullptr;
  void(WINAPI* DisableProcessWindowsGhosting)() = nullptr;
  bool IsNT = true; // platform identifier 2
};
const TSkinUser32& SkinUser32();

// ANSI text (the system code page) as wide text.
std::wstring AnsiToWide(std::string_view text);
// Draws wide text: DrawTextW on the NT platform, else the text in ANSI through DrawTextA.
int DrawWideText(HDC dc, const std::wstring& text, RECT& rect, UINT format);

// Makes TSkinData known to the stored-description reader.
void RegisterSkinClasses();

class TSkinData : public TComponent, public TSkinContent {
  TK_DECLARE_CLASS(TSkinData)
public:
  explicit TSkinData(TComponent* owner);
  ~TSkinData() override;

  // Published properties.
  bool Active() const { return FActive; }
  void SetActive(bool value);
  int DisableTag() const { return FDisableTag; }
  void SetDisableTag(int value) { FDisableTag = value; }
  unsigned SkinControls() const { return FSkinControls; } // bits over TSkinControlType
  void SetSkinControls(unsigned value) { FSkinControls = value; }
  unsigned Options() const { return FOptions; } // bits over TSkinOption
  void SetOptions(unsigned value) { FOptions = value; }
  const std::vector<std::string>& Skin3rd() const { return FSkin3rd; }
  void SetSkin3rd(const std::vector<std::string>& lines) { FSkin3rd = lines; }
  std::string SkinFile() const { return FSkinFile; }
  // Loads and applies a skin file. A name of a file that does not exist changes nothing.
  void SetSkinFile(const std::string& fileName);
  // "(Good)" in design mode with a stored skin; the program has no design mode: "(none)".
  std::string SkinStore() const { return "(none)"; }
  void SetSkinStore(const std::string&) {}
  int SkinFormtype() const { return FSkinFormtype; } // TSkinFormType
  void SetSkinFormtype(int value) { FSkinFormtype = value; }
  std::string Version() const { return kSkinDataVersion; }
  void SetVersion(const std::string&) {}
  bool MenuUpdate() const { return FMenuUpdate; }
  void SetMenuUpdate(bool value) { FMenuUpdate = value; }
  bool MenuMerge() const { return FMenuMerge; }
  void SetMenuMerge(bool value) { FMenuMerge = value; }

  TFormSkinEvent OnFormSkin;
  TNotifyEvent OnSkinChanged;
  TSkinControlEvent OnSkinControl;
  TSkinFormEvent OnBeforeSkinForm;
  TSkinFormEvent OnAfterSkinForm;

  // The stored skin and its property form ("SkinStream": a signed 32-bit length, then the
  // bytes). Reading it loads the skin at once.
  const std::vector<std::uint8_t>& StoredSkin() const { return FStoredSkin; }
  void ReadSkinStream(const std::vector<std::uint8_t>& property);
  std::vector<std::uint8_t> WriteSkinStream() const;

  // Reads the stored skin into the elements and colours; false (and no skin loaded) when it
  // is not a readable skin. The elements stay as they were until a load succeeds.
  bool LoadSkin();
  // Hands the newly loaded skin to the manager: the skinners using this component reload it.
  void ApplySkin();
  bool SkinLoaded() const { return !FNoSkinLoaded; }

  // The per-window skinning decision (the manager's last word); OnFormSkin decides alone.
  void ShouldSkinForm(HWND wnd, const std::string& className, bool& doSkin);
  // The window ShouldSkinForm was last asked about.
  HWND DecidingWindow() const { return FDecidingWindow; }
  // Fires OnSkinChanged (the manager calls it after each request it carried out).
  void SkinChanged();

  // Caption button hints (with xoCaptionButtonHint): shown once at the rectangle's top-left.
  void ShowCaptionHint(const RECT& rect, const std::string& text);
  void HideCaptionHint();
  bool CaptionHintShown() const { return FHintShown; }
  HWND CaptionHintWindow() const;
  // Time the pointer has rested on one caption button (kept by the form skinner).
  int HintDelay = 0;

  // The system caption font (read at load completion).
  HFONT CaptionFont() const;
  // The application window's small icon drawn on magenta (built at load completion).
  TBitmap AppIcon;
  // 16 x 16 menu glyphs from the resource "TARPAULMENU" (null when it is missing).
  HIMAGELIST MenuGlyphs() const { return FMenuGlyphs.Get(); }
  // The screen's maximized size when the component was made.
  SIZE MaximizedSize{};

  // Load completion: registration with the manager (created when needed), the caption font,
  // the hook and the first activation for a main-form component.
  void Loaded() override;
  // Whether load completion has run.
  bool Completed() const { return FCompleted; }

private:
  void CompleteLoading();
  void ReadCaptionFont();
  void BuildAppIcon();
  void ReadMenuGlyphs();

  bool FActive = false;
  int FDisableTag = 99;
  unsigned FSkinControls = kDefaultSkinControls;
  unsigned FOptions = kDefaultSkinOptions;
  std::vector<std::string> FSkin3rd;
  std::string FSkinFile;
  int FSkinFormtype = sfMainform;
  bool FMenuUpdate = true;
  bool FMenuMerge = false;

  // Largest expanded archive whose buffer FReader keeps between loads.
  static constexpr std::size_t KeptArchiveSize = std::size_t(1) << 20;

  std::vector<std::uint8_t> FStoredSkin;
  std::unique_ptr<TSkinReader> FReader; // the archive reader of the last load
  bool FNoSkinLoaded = true;
  bool FCompleted = false;
  HWND FDecidingWindow = nullptr;
  TImageListHandle FMenuGlyphs;
  TFontHandle FCaptionFont;
  std::unique_ptr<TSkinHintWindow> FHint;
  bool FHintShown = false;
};
