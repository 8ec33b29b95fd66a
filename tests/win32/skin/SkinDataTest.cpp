// The skin data component: defaults and published properties, the stored skin read from a
// description, load completion with the skin manager, SkinFile, Active requests, the skinning
// decision, caption hints, and GDI objects across reloads and destruction.
#include "WinSkinData.h"

#include "FormReader.h"
#include "Forms.h"
#include "TestSupport.h"
#include "GdiCount.h"
#include "SkinManage.h"
#include "SkinReader.h"
#include "SkinTestArchive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

using SkinTest::Solid;
using SkinTest::TSkinBuilder;

namespace {

// A root for descriptions that only holds components.
class TSkinRoot : public TComponent {
  TK_DECLARE_CLASS(TSkinRoot)
public:
  using TComponent::TComponent;
};

const TClassInfo& TSkinRoot::StaticClassInfo() {
  static const TClassInfo info{"TSkinRoot", &TComponent::StaticClassInfo(), nullptr, {}};
  return info;
}

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string s;
  for (std::uint8_t b : bytes) {
    s += digits[b >> 4];
    s += digits[b & 15];
  }
  return s;
}

// Reads "Root : TSkinRoot { SkinData1 : TSkinData { <props> } }" and returns the component.
TSkinData* ReadSkinData(TComponent& root, const std::string& props) {
  RegisterSkinClasses();
  ReadComponentText(&root, "Root : TSkinRoot {\n  SkinData1 : TSkinData {\n" + props + "\n  }\n}");
  return dynamic_cast<TSkinData*>(root.FindComponent("SkinData1"));
}

std::string TempPath(const std::string& name) {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  return std::string(dir) + name;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

const std::vector<std::uint8_t>& DefaultSkin() {
  static const std::vector<std::uint8_t> stored = LoadResourceBytes("DEFAULT_SKIN");
  return stored;
}

std::vector<std::uint8_t> PropertyOf(const std::vector<std::uint8_t>& stored) {
  return SkinTest::Property(stored);
}

bool Registered(TSkinData* data) {
  TSkinManage* m = TSkinManage::Manager();
  if (!m) return false;
  const auto& list = m->SkinDataList();
  return std::find(list.begin(), list.end(), data) != list.end();
}

} // namespace

TEST(SkinData, DefaultsAndPublishedProperties) {
  TSkinData data(nullptr);
  EXPECT_FALSE(data.Active());
  EXPECT_EQ(data.DisableTag(), 99);
  EXPECT_EQ(data.SkinFormtype(), sfMainform);
  EXPECT_TRUE(data.MenuUpdate());
  EXPECT_FALSE(data.MenuMerge());
  EXPECT_FALSE(data.SkinLoaded());
  EXPECT_TRUE(data.SkinFile().empty());
  for (int m = xcMainMenu; m <= xcFastReport; ++m)
    EXPECT_EQ((data.SkinControls() & SkinBit(m)) != 0, m != xcMenuItem && m != xcFastReport) << m;
  EXPECT_EQ(data.Options(),
            SkinBit(xoPreview) | SkinBit(xoToolbarBK) | SkinBit(xoCaptionButtonHint));
  EXPECT_EQ(GetPropValue(&data, "Options"), "[xoPreview, xoToolbarBK, xoCaptionButtonHint]");
  EXPECT_EQ(GetPropValue(&data, "SkinFormtype"), "sfMainform");
  EXPECT_EQ(GetPropValue(&data, "Active"), "False");
  EXPECT_EQ(GetOrdProp(&data, "DisableTag"), 99);

  // Version and SkinStore ignore writes; SkinStore reads "(none)" at run time.
  EXPECT_EQ(data.Version(), "5.40.07.15");
  EXPECT_TRUE(SetPropValue(&data, "Version", "1.0"));
  EXPECT_EQ(GetPropValue(&data, "Version"), "5.40.07.15");
  EXPECT_TRUE(SetPropValue(&data, "SkinStore", "(Good)"));
  EXPECT_EQ(GetPropValue(&data, "SkinStore"), "(none)");

  ASSERT_TRUE(SetPropValue(&data, "SkinControls", "[xcButton, xcFastReport]"));
  EXPECT_EQ(data.SkinControls(), SkinBit(xcButton) | SkinBit(xcFastReport));
  ASSERT_TRUE(SetPropValue(&data, "SkinFormtype", "sfDialog"));
  EXPECT_EQ(data.SkinFormtype(), sfDialog);
  ASSERT_TRUE(SetPropValue(&data, "Skin3rd", "TA=edit\r\nTB=panel"));
  EXPECT_EQ(data.Skin3rd(), (std::vector<std::string>{"TA=edit", "TB=panel"}));
  EXPECT_EQ(GetPropValue(&data, "Skin3rd"), "TA=edit\r\nTB=panel");
  for (const char* event :
       {"OnFormSkin", "OnSkinChanged", "OnSkinControl", "OnBeforeSkinForm", "OnAfterSkinForm"})
    EXPECT_TRUE(IsPublishedProp(&data, event)) << event;

  // Things made at creation.
  ASSERT_NE(data.MenuGlyphs(), nullptr);
  EXPECT_EQ(ImageList_GetImageCount(data.MenuGlyphs()), 4);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(data.MenuGlyphs(), &cx, &cy);
  EXPECT_EQ(cx, 16);
  EXPECT_EQ(cy, 16);
  EXPECT_EQ(data.MaximizedSize.cx, GetSystemMetrics(SM_CXMAXIMIZED));
  EXPECT_EQ(data.Buttons.Name, "Buttons");
  EXPECT_EQ(data.Title.Name, "Title");
}

TEST(SkinData, Skin3rdDefaultLines) {
  TSkinData data(nullptr);
  const std::vector<std::string>& lines = data.Skin3rd();
  ASSERT_EQ(lines.size(), 118u);
  EXPECT_EQ(lines[0], "TCategoryButtons=scrollbar");
  EXPECT_EQ(lines[1], "TPngSpeedbutton=pngspeedbutton");
  EXPECT_EQ(lines[2], "TPngBitBtn=pngbitbtn");
  EXPECT_EQ(lines[3], "TVirtualStringTree=scrollbar");
  EXPECT_EQ(lines[116], "TOVCNUMERICFIELD=Edit");
  EXPECT_EQ(lines[117], "TOVCDBNUMERICFIELD=Edit");
  // Within each kind, the classes in the order the kinds list them.
  const std::map<std::string, std::vector<std::string>> kinds{
      {"scrollbar",
       {"TCategoryButtons", "TVirtualStringTree", "TVirtualDrawTree", "TAdvPanelGroup",
        "THTMLViewer", "TDBCtrlGrid", "TImageEnMView", "TImageEnView", "TAdvMemo", "TDBAdvMemo"}},
      {"panel",
       {"TTBXDockablePanel", "TControlBar", "TTBDock", "TTBToolbar", "TRzGroup", "TLMDCalculator",
        "TLMDGROUPBOX", "TLMDSIMPLEPANEL", "TLMDDBCalendar", "TLMDButtonPanel", "TLMDLMDCalculator",
        "TLMDHeaderPanel", "TLMDTechnicalLine", "TLMDLMDClock", "TLMDTrackbar"}},
      {"bitbtn", {"TRzBitbtn", "TLMDButton", "TcxButton"}},
      {"checkbox", {"TDBCheckboxEh", "TDBCheckboxEh", "TLMDCHECKBOX", "TLMDDBCHECKBOX"}},
      {"groupbox", {"TLMDGroupBox", "TcxGroupbox"}},
      {"radiogroup",
       {"TRzRadioGroup", "TRzDBRadioGroup", "TLMDRADIOGROUP", "TLMDDBRADIOGROUP", "TWWRADIOGROUP",
        "TcxDBRadioGroup", "TcxRadioGroup"}}};
  std::map<std::string, std::vector<std::string>> seen;
  std::map<std::string, int> count;
  for (const std::string& line : lines) {
    const std::size_t eq = line.find('=');
    ASSERT_NE(eq, std::string::npos) << line;
    std::string kind = line.substr(eq + 1);
    std::transform(kind.begin(), kind.end(), kind.begin(), ::tolower);
    seen[kind].push_back(line.substr(0, eq));
    ++count[kind];
  }
  for (const auto& [kind, classes] : kinds)
    EXPECT_EQ(seen[kind], classes) << kind;
  EXPECT_EQ(count["combobox"], 39);
  EXPECT_EQ(count["edit"], 26);
  EXPECT_EQ(count["speedbutton"], 3);
  EXPECT_EQ(count.size(), 15u);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "TRzGroup=panel"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "TControlBar=Panel"), lines.end());
}

TEST(SkinData, TextRoutines) {
  EXPECT_EQ(AnsiToWide("abc"), L"abc");
  EXPECT_EQ(AnsiToWide("\xD6\xD0\xCE\xC4"), L"\x4E2D\x6587"); // code page 936
  EXPECT_EQ(AnsiToWide(""), L"");
  TBitmap image(100, 40);
  RECT r{0, 0, 100, 40};
  EXPECT_GT(DrawWideText(image.CanvasHandle(), L"Wide", r, DT_CALCRECT | DT_SINGLELINE), 0);
  EXPECT_GT(r.right, 0);
  EXPECT_TRUE(SkinUser32().IsNT);
  EXPECT_NE(SkinUser32().GetScrollBarInfo, nullptr);
}

TEST(SkinData, StoredSkinFromADescriptionAndLoadCompletion) {
  App();
  TSkinRoot root(nullptr);
  TSkinData* data =
      ReadSkinData(root, "    Active = True\n    SkinStream = @resource \"DEFAULT_SKIN\"");
  ASSERT_NE(data, nullptr);
  EXPECT_TRUE(data->SkinLoaded());
  EXPECT_TRUE(data->Active());
  EXPECT_EQ(data->SkinName, "Tarnel Default");
  EXPECT_EQ(data->StoredSkin(), DefaultSkin());
  EXPECT_EQ(data->WriteSkinStream(), PropertyOf(DefaultSkin()));
  EXPECT_EQ(GetPropValue(data, "SkinStore"), "(none)");
  EXPECT_TRUE(data->Completed());

  // Load completion: the manager exists, knows the component, hooks and is switched on.
  TSkinManage* manager = TSkinManage::Manager();
  ASSERT_NE(manager, nullptr);
  EXPECT_TRUE(Registered(data));
  EXPECT_TRUE(manager->HookInstalled());
  EXPECT_TRUE(manager->Active());
  // xcMainMenu is in the defaults: xcMenuItem goes, xcSystemMenu stays.
  EXPECT_FALSE(data->SkinControls() & SkinBit(xcMenuItem));
  EXPECT_TRUE(data->SkinControls() & SkinBit(xcSystemMenu));
  EXPECT_EQ(GetObjectType(data->CaptionFont()), static_cast<DWORD>(OBJ_FONT));
  // The application window's icon is the test's own "MAINICON".
  ASSERT_FALSE(data->AppIcon.Empty());
  EXPECT_EQ(data->AppIcon.Width(), GetSystemMetrics(SM_CXSMICON));
  EXPECT_TRUE(data->AppIcon.Transparent);
  EXPECT_EQ(data->AppIcon.TransparentColor, 0xFF00FF);

  // Without xcMainMenu, xcSystemMenu goes instead.
  TSkinRoot root2(nullptr);
  TSkinData* other =
      ReadSkinData(root2, "    SkinControls = [xcPopupMenu, xcMenuItem, xcSystemMenu]");
  EXPECT_EQ(other->SkinControls(), SkinBit(xcPopupMenu) | SkinBit(xcMenuItem));
  EXPECT_FALSE(other->SkinLoaded());
  EXPECT_FALSE(other->Active());
}

TEST(SkinData, UnreadableStoredSkinTurnsActiveOff) {
  App();
  std::vector<std::string> told;
  static std::vector<std::string>* messages = nullptr;
  messages = &told;
  const TSkinNotifier old = SetSkinNotifier([](const std::string& m) { messages->push_back(m); });
  // A well-formed archive of an unknown format number.
  std::vector<std::uint8_t> archive = BuildSkinArchive({{"skin.ini", {'a'}}});
  archive[0] = 0x10; // format number 10000 (0x2710), little-endian
  archive[1] = 0x27;
  archive[2] = archive[3] = 0;
  const std::vector<std::uint8_t> stored = BuildStoredSkin(archive);
  TSkinRoot root(nullptr);
  TSkinData* data =
      ReadSkinData(root, "    Active = True\n    SkinStream = {" + Hex(PropertyOf(stored)) + "}");
  SetSkinNotifier(old);
  ASSERT_NE(data, nullptr);
  EXPECT_FALSE(data->SkinLoaded());
  EXPECT_FALSE(data->Active());
  EXPECT_EQ(told, std::vector<std::string>{SkinOlderFileMessage});

  // A length of 0 (or less) leaves no stored skin and loads nothing.
  TSkinRoot root2(nullptr);
  TSkinData* empty = ReadSkinData(root2, "    SkinStream = {00000000}");
  EXPECT_TRUE(empty->StoredSkin().empty());
  EXPECT_FALSE(empty->SkinLoaded());
  TSkinData negative(nullptr);
  negative.ReadSkinStream({0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3});
  EXPECT_TRUE(negative.StoredSkin().empty());
  // A length beyond the bytes present takes what is there.
  std::vector<std::uint8_t> cut = PropertyOf(DefaultSkin());
  cut.resize(cut.size() - 10);
  TSkinData truncated(nullptr);
  truncated.ReadSkinStream(cut);
  EXPECT_EQ(truncated.StoredSkin().size(), DefaultSkin().size() - 10);
}

TEST(SkinData, SkinFileMissingChangesNothing) {
  App();
  TSkinRoot root(nullptr);
  TSkinData* data =
      ReadSkinData(root, "    Active = True\n    SkinStream = @resource \"DEFAULT_SKIN\"");
  ASSERT_TRUE(data->SkinLoaded());
  TSkinManage* manager = TSkinManage::Manager();
  ASSERT_NE(manager, nullptr);
  manager->SetCurrentSkinData(nullptr);
  const int pending = manager->PendingRequest();
  const TDataSkinObject* menuItem = data->MenuItem.get();

  data->SetSkinFile(TempPath("tarnel-no-such-skin.skin"));
  EXPECT_TRUE(data->SkinFile().empty());
  EXPECT_TRUE(data->SkinLoaded());
  EXPECT_EQ(data->StoredSkin(), DefaultSkin());
  EXPECT_EQ(data->MenuItem.get(), menuItem);
  EXPECT_EQ(manager->CurrentSkinData(), nullptr);
  EXPECT_EQ(manager->PendingRequest(), pending);
  data->SetSkinFile("");
  data->SetSkinFile(TempPath("")); // a folder
  EXPECT_TRUE(data->SkinFile().empty());
  EXPECT_TRUE(data->SkinLoaded());

  // An existing file replaces the skin and hands it to the manager.
  TSkinBuilder skin;
  skin.Image("m.bmp", Solid(30, 10, RGB(1, 2, 3)));
  const std::string path = TempPath("tarnel-skin-file.skin");
  WriteFile(path, skin.Stored("[TitlebarSkin]\nSkinName=From File\n[MenuItem]\nImage=m.bmp\n"));
  data->SetSkinFile(path);
  EXPECT_EQ(data->SkinFile(), path);
  EXPECT_TRUE(data->SkinLoaded());
  EXPECT_EQ(data->SkinName, "From File");
  ASSERT_TRUE(data->MenuItem);
  EXPECT_EQ(data->MenuItem->Image.Width(), 30);
  EXPECT_FALSE(data->Progress);
  EXPECT_EQ(manager->CurrentSkinData(), data);

  // A file that is not a skin leaves the component without one.
  const std::string junk = TempPath("tarnel-junk.skin");
  WriteFile(junk, std::vector<std::uint8_t>{1, 2, 3});
  data->SetSkinFile(junk);
  EXPECT_FALSE(data->SkinLoaded());
  DeleteFileA(path.c_str());
  DeleteFileA(junk.c_str());
}

TEST(SkinData, ActiveWritesAndRequests) {
  App();
  TSkinRoot root(nullptr);
  TSkinData* data =
      ReadSkinData(root, "    Active = True\n    SkinStream = @resource \"DEFAULT_SKIN\"");
  TSkinManage* manager = TSkinManage::Manager();
  ASSERT_NE(manager, nullptr);
  int changed = 0;
  data->OnSkinChanged = [&](TObject* sender) {
    EXPECT_EQ(sender, data);
    ++changed;
  };
  manager->MarkActivatedAtRunTime();

  data->SetActive(false);
  EXPECT_FALSE(data->Active());
  EXPECT_EQ(manager->CurrentSkinData(), data);
  EXPECT_EQ(manager->PendingRequest(), static_cast<int>(srDeactivate));
  Pump(400);
  EXPECT_EQ(changed, 1);
  ASSERT_FALSE(manager->Active());

  data->SetActive(true);
  data->SetActive(true); // no change: nothing
  data->SetActive(false);
  EXPECT_EQ(manager->PendingRequest(), static_cast<int>(srDeactivate));
  data->SetActive(true);
  EXPECT_EQ(manager->PendingRequest(), static_cast<int>(srActivate));
  Pump(400);
  EXPECT_EQ(changed, 2); // only the last request ran
  EXPECT_TRUE(manager->Active());

  // A dialog component only stores the value.
  TSkinRoot root2(nullptr);
  TSkinData* dialog = ReadSkinData(root2, "    SkinFormtype = sfDialog");
  manager->SetCurrentSkinData(nullptr);
  dialog->SetActive(true);
  EXPECT_TRUE(dialog->Active());
  EXPECT_EQ(manager->CurrentSkinData(), nullptr);

  // Without a loaded skin a main-form component does not ask for activation.
  TSkinRoot root3(nullptr);
  TSkinData* bare = ReadSkinData(root3, "");
  bare->SetActive(true);
  EXPECT_TRUE(bare->Active());
  EXPECT_NE(manager->CurrentSkinData(), bare);
  Pump(300);
}

TEST(SkinData, ShouldSkinFormAndEvents) {
  TSkinData data(nullptr);
  HWND wnd = reinterpret_cast<HWND>(0x1234);
  bool skin = true;
  data.ShouldSkinForm(wnd, "SysMonthCal32", skin);
  EXPECT_FALSE(skin);
  EXPECT_EQ(data.DecidingWindow(), wnd);
  skin = true;
  data.ShouldSkinForm(wnd, "TfrPreviewForm", skin);
  EXPECT_TRUE(skin); // xcFastReport is off by default
  data.SetSkinControls(data.SkinControls() | SkinBit(xcFastReport));
  data.ShouldSkinForm(wnd, "TfrPreviewForm", skin);
  EXPECT_FALSE(skin);
  skin = false;
  data.ShouldSkinForm(wnd, "TForm1", skin);
  EXPECT_FALSE(skin); // the manager's answer stands

  std::string asked;
  data.OnFormSkin = [&](TObject* sender, const std::string& name, bool& doSkin) {
    EXPECT_EQ(sender, &data);
    asked = name;
    doSkin = true;
  };
  skin = false;
  data.ShouldSkinForm(nullptr, "SysMonthCal32", skin);
  EXPECT_TRUE(skin); // the event decides alone
  EXPECT_EQ(asked, "SysMonthCal32");

  int changed = 0;
  data.SkinChanged();
  data.OnSkinChanged = [&](TObject*) { ++changed; };
  data.SkinChanged();
  EXPECT_EQ(changed, 1);
}

TEST(SkinData, CaptionHints) {
  App();
  TSkinData data(nullptr);
  const RECT at{200, 150, 240, 170};
  data.ShowCaptionHint(at, "Close");
  ASSERT_TRUE(data.CaptionHintShown());
  HWND hint = data.CaptionHintWindow();
  ASSERT_NE(hint, nullptr);
  EXPECT_TRUE(IsWindowVisible(hint));
  RECT r;
  GetWindowRect(hint, &r);
  EXPECT_EQ(r.left, 200);
  EXPECT_EQ(r.top, 150);
  EXPECT_GT(r.right - r.left, 6);
  EXPECT_NE(GetForegroundWindow(), hint);
  data.ShowCaptionHint(RECT{10, 10, 20, 20}, "Maximize"); // already shown: nothing
  GetWindowRect(hint, &r);
  EXPECT_EQ(r.left, 200);
  data.HideCaptionHint();
  EXPECT_FALSE(data.CaptionHintShown());
  EXPECT_FALSE(IsWindowVisible(hint));

  data.SetOptions(data.Options() & ~SkinBit(xoCaptionButtonHint));
  data.ShowCaptionHint(at, "Close");
  EXPECT_FALSE(data.CaptionHintShown());
  EXPECT_FALSE(IsWindowVisible(hint));
}

TEST(SkinData, DestroyedComponentUnregisters) {
  App();
  auto root = std::make_unique<TSkinRoot>(nullptr);
  TSkinData* data = ReadSkinData(*root, "    SkinStream = @resource \"DEFAULT_SKIN\"");
  TSkinManage* manager = TSkinManage::Manager();
  ASSERT_NE(manager, nullptr);
  ASSERT_TRUE(Registered(data));
  manager->SetCurrentSkinData(data);
  root.reset();
  EXPECT_FALSE(Registered(data));
  EXPECT_NE(manager->CurrentSkinData(), data);
  EXPECT_NE(manager->DefaultSkinData(), data);
}

TEST(SkinData, GdiObjectsAcrossReloadsAndDestruction) {
  App();
  TSkinBuilder skin;
  skin.Image("s.bmp", Solid(40, 10, RGB(1, 1, 1)))
      .Image("c.bmp", Solid(48, 12, RGB(2, 2, 2)))
      .Image("t.bmp", Solid(30, 30, RGB(3, 3, 3)));
  const std::string first = TempPath("tarnel-gdi-1.skin"), second = TempPath("tarnel-gdi-2.skin");
  WriteFile(first, DefaultSkin());
  WriteFile(second, skin.Stored("[SunkEdge]\nImage=s.bmp\n[ComboButton]\nImage=c.bmp\n"
                                "[Personality]\nTop=t.bmp\n"));
  {
    // Things made once per process (the program icon, the manager) are made before counting.
    // The first window shown makes the system's own shared objects too.
    TSkinRoot warmUp(nullptr);
    TSkinData* data = ReadSkinData(warmUp, "    SkinStream = @resource \"DEFAULT_SKIN\"");
    data->ShowCaptionHint(RECT{0, 0, 1, 1}, "x");
    Pump(50);
    data->HideCaptionHint();
  }
  Pump(50);
  const long baseline = GdiCount::Count();
  ASSERT_GE(baseline, 0);
  {
    TSkinRoot root(nullptr);
    TSkinData* data = ReadSkinData(root, "    SkinStream = @resource \"DEFAULT_SKIN\"");
    data->SetSkinFile(second);
    data->SetSkinFile(first);
    const long loaded = GdiCount::Count();
    for (int i = 0; i < 100; ++i)
      data->SetSkinFile(i % 2 ? first : second);
    EXPECT_TRUE(data->SkinLoaded());
    EXPECT_EQ(GdiCount::Count(), loaded);
    data->ShowCaptionHint(RECT{0, 0, 1, 1}, "x");
    data->HideCaptionHint();
  }
  Pump(50);
  // Component, images, brush, caption font, glyph list and hint window all went with it.
  EXPECT_EQ(GdiCount::Count(), baseline);
  DeleteFileA(first.c_str());
  DeleteFileA(second.c_str());
}

TEST(SkinData, MainWindowComponent) {
  App();
  // SkinData1 of the main window's stored description, read on its own.
  const std::vector<std::uint8_t> text = LoadResourceBytes("TFORM_MAIN");
  ASSERT_FALSE(text.empty());
  const TDescNode form =
      ParseDescription(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
  const auto it = std::find_if(form.Children.begin(), form.Children.end(),
                               [](const TDescNode& n) { return n.Name == "SkinData1"; });
  ASSERT_NE(it, form.Children.end());
  EXPECT_EQ(it->ClassName, "TSkinData");
  TDescNode rootNode;
  rootNode.Name = "Root";
  rootNode.ClassName = "TSkinRoot";
  rootNode.Children.push_back(*it);
  RegisterSkinClasses();
  TSkinRoot root(nullptr);
  ReadComponentDescription(&root, rootNode);
  auto* data = dynamic_cast<TSkinData*>(root.FindComponent("SkinData1"));
  ASSERT_NE(data, nullptr);

  EXPECT_TRUE(data->SkinLoaded());
  EXPECT_TRUE(data->Active());
  EXPECT_EQ(data->SkinName, "Tarnel Default");
  EXPECT_EQ(data->StoredSkin(), DefaultSkin());
  EXPECT_EQ(data->DisableTag(), 99);
  EXPECT_EQ(data->SkinFormtype(), sfMainform);
  EXPECT_TRUE(data->MenuUpdate());
  EXPECT_FALSE(data->MenuMerge());
  EXPECT_EQ(data->Options(), SkinBit(xoPreview) | SkinBit(xoToolbarBK));
  // The default switches, adjusted at load: xcMenuItem goes (xcMainMenu is set), xcSystemMenu
  // stays.
  EXPECT_EQ(data->SkinControls(), kDefaultSkinControls);
  EXPECT_FALSE(data->SkinControls() & SkinBit(xcMenuItem));
  EXPECT_TRUE(data->SkinControls() & SkinBit(xcSystemMenu));
  std::vector<std::string> expected = DefaultSkin3rd();
  expected.erase(std::find(expected.begin(), expected.end(), "TPngSpeedbutton=pngspeedbutton"));
  EXPECT_EQ(data->Skin3rd(), expected);
  EXPECT_EQ(data->Skin3rd().size(), 117u);
  EXPECT_TRUE(Registered(data));
}
