// The packed test skin against what TestSkinPalette.h declares: it unpacks through the
// program's reader into exactly the declared images and the description, every image has its
// declared size and colours, the colours keep apart from each other and from the transparent
// key, and the description gives the engine the declared geometry.
#include "BmpFile.h"
#include "SkinReader.h"
#include "TestSkinPalette.h"
#include "WinSkinIni.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace TestSkinPalette;

std::vector<std::uint8_t> ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t Rgb(TColour c) {
  return static_cast<std::uint32_t>(c.R << 16 | c.G << 8 | c.B);
}

std::uint32_t Rgb(int r, int g, int b) {
  return static_cast<std::uint32_t>(r << 16 | g << 8 | b);
}

// The colour text of the description for c, as the default skin writes it.
std::string ColourText(TColour c) {
  return std::to_string(c.R) + " " + std::to_string(c.G) + " " + std::to_string(c.B);
}

bool NearKey(TColour c) {
  return c.R >= 254 && c.G <= 1 && c.B >= 254;
}

// The packed test skin, opened once for the suite.
class TestSkin : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    Stored = new std::vector<std::uint8_t>(ReadFile(TARNEL_TEST_SKIN_FILE));
    Reader = new TSkinReader;
    Opened = Reader->OpenArchive(*Stored);
    Ini = new TQuickIni;
    std::vector<std::uint8_t> text;
    if (Opened) Reader->ExtractEntry("skin.ini", text);
    Ini->LoadFromStream(text.data(), text.size());
  }
  static void TearDownTestSuite() {
    delete Ini;
    delete Reader;
    delete Stored;
  }
  void SetUp() override { ASSERT_TRUE(Opened) << TARNEL_TEST_SKIN_FILE; }

  // The decoded image of `image`; an empty image (and a failure) when it is missing.
  static BmpFile::TBmpImage Decoded(TTestImage image) {
    std::vector<std::uint8_t> bytes;
    BmpFile::TBmpImage decoded;
    EXPECT_TRUE(Reader->ExtractEntry(kImages[image].File, bytes)) << kImages[image].File;
    EXPECT_TRUE(BmpFile::Decode(bytes.data(), bytes.size(), decoded)) << kImages[image].File;
    return decoded;
  }

  static std::vector<std::uint8_t>* Stored;
  static TSkinReader* Reader;
  static bool Opened;
  static TQuickIni* Ini;
};

std::vector<std::uint8_t>* TestSkin::Stored = nullptr;
TSkinReader* TestSkin::Reader = nullptr;
bool TestSkin::Opened = false;
TQuickIni* TestSkin::Ini = nullptr;

TEST_F(TestSkin, ArchiveHoldsTheDeclaredImagesAndTheDescription) {
  std::set<std::string> expected{"skin.ini"};
  for (const TImageSpec& s : kImages)
    expected.insert(s.File);
  std::set<std::string> found;
  for (int i = 0; i < Reader->EntryCount(); ++i)
    found.insert(Reader->EntryName(i));
  EXPECT_EQ(found, expected);
  EXPECT_EQ(Reader->EntryCount(), static_cast<int>(expected.size())) << "no entry twice";
  std::vector<std::uint8_t> ini;
  ASSERT_TRUE(Reader->ExtractEntry("skin.ini", ini));
  EXPECT_EQ(ini, ReadFile(TARNEL_TEST_SKIN_INI)) << "the description is packed unchanged";
}

TEST_F(TestSkin, EveryImageHasItsDeclaredSizeAndColours) {
  for (int i = 0; i < tiImageCount; ++i) {
    const auto image = static_cast<TTestImage>(i);
    const TImageSpec& s = kImages[image];
    const BmpFile::TBmpImage bmp = Decoded(image);
    ASSERT_EQ(bmp.BitsPerPixel, 24) << s.File;
    ASSERT_EQ(bmp.Width, s.Width()) << s.File;
    ASSERT_EQ(bmp.Height, s.Height()) << s.File;
    int mismatches = 0;
    for (int y = 0; y < bmp.Height; ++y)
      for (int x = 0; x < bmp.Width; ++x) {
        const int cell = s.Stacked ? y / s.CellHeight : x / s.CellWidth;
        const int cx = s.Stacked ? x : x % s.CellWidth, cy = s.Stacked ? y % s.CellHeight : y;
        if (bmp.PixelRGB(x, y) != Rgb(PixelColour(image, cell, cx, cy)) && mismatches++ < 3)
          ADD_FAILURE() << s.File << " (" << x << ", " << y << ")";
      }
  }
  // Points worked out by hand: red 10 + 5 x image, green 10 + 10 x cell, blue 30 + 25 x part.
  struct TPoint {
    TTestImage Image;
    int X, Y;
    std::uint32_t Rgb;
  };
  const std::uint32_t key = Rgb(255, 0, 255);
  const TPoint points[] = {
      {tiFrameLeft, 0, 0, key},                        // the outer corner triangle
      {tiFrameLeft, 2, 0, key},                        //
      {tiFrameLeft, 0, 2, key},                        //
      {tiFrameLeft, 3, 0, Rgb(10, 10, 80)},            // active, top margin (title band)
      {tiFrameLeft, 1, 1, key},                        //
      {tiFrameLeft, 2, 1, Rgb(10, 10, 80)},            //
      {tiFrameLeft, 2, 35, Rgb(10, 10, 30)},           // active, stretched middle
      {tiFrameLeft, 5, 0, key},                        // inactive cell, its own corner
      {tiFrameLeft, 9, 46, Rgb(10, 20, 130)},          // inactive, bottom margin
      {tiFrameRight, 5, 0, key},                       // the right side's corner is on the right
      {tiFrameRight, 3, 0, key},                       //
      {tiFrameRight, 2, 0, Rgb(15, 10, 80)},           //
      {tiFrameRight, 0, 40, Rgb(15, 10, 130)},         //
      {tiFrameTop, 0, 0, key},                         // squares at both top corners
      {tiFrameTop, 1, 1, key},                         //
      {tiFrameTop, 39, 0, key},                        //
      {tiFrameTop, 2, 0, Rgb(20, 10, 55)},             // active, left margin
      {tiFrameTop, 20, 10, Rgb(20, 10, 30)},           // active, middle
      {tiFrameTop, 31, 0, Rgb(20, 10, 105)},           // active, right margin
      {tiFrameTop, 0, 30, key},                        // the inactive cell below
      {tiFrameTop, 20, 45, Rgb(20, 20, 30)},           //
      {tiFrameBottom, 1, 10, Rgb(25, 20, 55)},         // inactive, left margin
      {tiClose, 50, 10, Rgb(40, 30, 30)},              // close button, hot cell
      {tiHelp, 71, 19, Rgb(60, 40, 30)},               // help button, inactive cell
      {tiButtons, 0, 0, Rgb(70, 10, 155)},             // push button, top-left corner
      {tiButtons, 23, 21, Rgb(70, 10, 230)},           // bottom-right corner
      {tiButtons, 31, 10, Rgb(70, 20, 30)},            // down cell, middle
      {tiScrollArrows, 16 * 22, 0, Rgb(140, 230, 30)}, // the last of 23 cells
  };
  for (const TPoint& p : points) {
    const BmpFile::TBmpImage bmp = Decoded(p.Image);
    ASSERT_FALSE(bmp.Empty());
    EXPECT_EQ(bmp.PixelRGB(p.X, p.Y), p.Rgb)
        << kImages[p.Image].File << " (" << p.X << ", " << p.Y << ")";
  }
}

TEST_F(TestSkin, ColoursAreDistinctAndKeepClearOfTheKey) {
  // Every part of every cell that some pixel shows.
  std::map<std::uint32_t, std::string> owner;
  for (int i = 0; i < tiImageCount; ++i) {
    const auto image = static_cast<TTestImage>(i);
    const TImageSpec& s = kImages[image];
    for (int cell = 0; cell < s.Cells; ++cell) {
      std::set<TCellPart> parts;
      for (int y = 0; y < s.CellHeight; ++y)
        for (int x = 0; x < s.CellWidth; ++x)
          if (!IsKeyPixel(image, x, y)) parts.insert(PartAt(s, x, y));
      for (TCellPart part : parts) {
        const TColour c = CellColour(image, cell, part);
        const std::string what =
            std::string(s.File) + " cell " + std::to_string(cell) + " part " + std::to_string(part);
        EXPECT_FALSE(NearKey(c)) << what;
        const auto [it, fresh] = owner.emplace(Rgb(c), what);
        EXPECT_TRUE(fresh) << what << " has the colour of " << it->second;
      }
    }
  }
  EXPECT_GT(owner.size(), 400u);
  // The colours that are not cells: apart from every cell and from each other.
  std::vector<TColour> others{kActiveText,           kInactiveText,       kButtonsNormalText,
                              kButtonsMouseOverText, kButtonsPressedText, kTabsNormalText,
                              kTabsMouseOverText,    kStatusBarText};
  for (const TNamedColour& n : kColourTable)
    others.push_back(n.Colour);
  for (const TColour c : others) {
    EXPECT_FALSE(NearKey(c)) << ColourText(c);
    EXPECT_TRUE(owner.emplace(Rgb(c), "a colour of the description").second) << ColourText(c);
  }
}

// How the description gives an image's margins.
enum TMarginKeys {
  mkNone,       // none: the image has no margins
  mkElement,    // "LeftWidth", "TopHeight", "RightWidth", "BottomHeight" of the section
  mkSide,       // "Personality" <key>TopHeight and <key>BotHeight: top and bottom margins
  mkBand,       // the same two keys as left and right margins (top and bottom sides)
  mkTextBack,   // "TXTBackleft", "TXTBackRight"
  mkMenuBar,    // "TileLeftMenu", "TileRightMenu"
  mkTabsBorder, // the margins of "Tabs"
};

// Where the description names each image, and how many cells the engine cuts it into: a fixed
// count, or (Cells 0) the count the key CellsKey of the section gives.
struct TImageKey {
  TTestImage Image;
  const char* Section;
  const char* Key;
  int Cells;
  const char* CellsKey;
  TMarginKeys Margins;
};

const TImageKey kImageKeys[] = {
    {tiFrameLeft, "Personality", "Left", 0, "LeftFrame", mkSide},
    {tiFrameRight, "Personality", "Right", 0, "RightFrame", mkSide},
    {tiFrameTop, "Personality", "Top", 0, "TopFrame", mkBand},
    {tiFrameBottom, "Personality", "Bottom", 0, "BottomFrame", mkBand},
    {tiTextBack, "Personality", "TextBack", 2, nullptr, mkTextBack},
    {tiMenuBar, "Personality", "menuBar", 2, nullptr, mkMenuBar},
    {tiClose, "Button0", "ButtonImage", 0, "frame", mkNone},
    {tiMaximize, "Button1", "ButtonImage", 0, "frame", mkNone},
    {tiMinimize, "Button2", "ButtonImage", 0, "frame", mkNone},
    {tiRestore, "Button3", "ButtonImage", 0, "frame", mkNone},
    {tiHelp, "Button5", "ButtonImage", 0, "frame", mkNone},
    {tiMdiButtons, "MDICONTROLS", "Image", 12, nullptr, mkNone},
    {tiButtons, "Buttons", "Bitmap", 5, nullptr, mkElement},
    {tiCheckBox, "Buttons", "CheckButton", 0, "CheckButtonFrame", mkNone},
    {tiRadioButton, "Buttons", "RadioButton", 0, "RadioButtonFrame", mkNone},
    {tiProgress, "Progress", "Bitmap", 2, nullptr, mkElement},
    {tiProgressChunk, "Progress.Chunk", "Image", 0, "Frame", mkElement},
    {tiTabs, "Tabs", "Image", 5, nullptr, mkElement},
    {tiTabBorder, "Tabs", "Border", 1, nullptr, mkTabsBorder},
    {tiTabPane, "Tab.Pane", "Image", 1, nullptr, mkElement},
    {tiStatusBar, "StatusBarEdges", "Image", 3, nullptr, mkElement},
    {tiComboButton, "ComboButton", "Image", 4, nullptr, mkElement},
    {tiExtraImages, "ExtraImages", "Image", 5, nullptr, mkElement},
    {tiHeader, "Headerbar", "Image", 0, "Frame", mkElement},
    {tiMenuBackground, "MenuBackground", "Image", 1, nullptr, mkElement},
    {tiMenuItem, "MenuItem", "Image", 5, nullptr, mkElement},
    {tiScrollArrows, "Scrollbar", "Image", 23, nullptr, mkElement},
    {tiHorzScroll, "HorzScroll", "Image", 4, nullptr, mkElement},
    {tiVertScroll, "VertScroll", "Image", 4, nullptr, mkElement},
    {tiHorzThumb, "HorzScrollThumb", "Image", 0, "FrameCount", mkElement},
    {tiVertThumb, "VertScrollThumb", "Image", 0, "FrameCount", mkElement},
    {tiTrack, "Track", "Image", 0, "Frame", mkElement},
    {tiTrackVert, "TRACKVERT", "Image", 0, "Frame", mkElement},
    {tiThumbHorz, "Trackbar.ThumbHorz", "Image", 5, nullptr, mkElement},
    {tiThumbVert, "Trackbar.ThumbVert", "Image", 5, nullptr, mkElement},
    {tiThumbLeft, "Trackbar.ThumbLeft", "Image", 5, nullptr, mkElement},
    {tiThumbRight, "Trackbar.ThumbRight", "Image", 5, nullptr, mkElement},
    {tiThumbUp, "Trackbar.ThumbUp", "Image", 5, nullptr, mkElement},
    {tiThumbDown, "Trackbar.ThumbDown", "Image", 5, nullptr, mkElement},
    {tiSpinVert, "UpDown.Vert", "Image", 8, nullptr, mkElement},
    {tiSpinVertGlyph, "UpDown.Vert", "GlyphImage", 8, nullptr, mkNone},
    {tiSpinHorz, "UpDown.Horz", "Image", 8, nullptr, mkElement},
    {tiSpinHorzGlyph, "UpDown.Horz", "GlyphImage", 8, nullptr, mkNone},
    {tiGroupBox, "GroupBox", "Image", 1, nullptr, mkElement},
    {tiGroupBoxEdge, "GroupBoxEdge", "Image", 2, nullptr, mkElement},
    {tiToolBars, "ToolBars", "Image", 5, nullptr, mkElement},
};

TEST_F(TestSkin, DescriptionGivesTheDeclaredImagesCellsAndMargins) {
  const TQuickIni& ini = *Ini;
  std::set<int> covered;
  for (const TImageKey& k : kImageKeys) {
    const TImageSpec& s = kImages[k.Image];
    const std::string what = std::string(k.Section) + "/" + k.Key;
    covered.insert(k.Image);
    EXPECT_EQ(ini.ReadString(k.Section, k.Key, ""), s.File) << what;
    const int cells = k.CellsKey ? ini.ReadInteger(k.Section, k.CellsKey, -1) : k.Cells;
    EXPECT_EQ(cells, s.Cells) << what;
    auto read = [&](const char* section, const std::string& key) {
      return ini.ReadInteger(section, key, 0);
    };
    int left = 0, top = 0, right = 0, bottom = 0;
    switch (k.Margins) {
    case mkNone:
      break;
    case mkElement:
    case mkTabsBorder: {
      const char* section = k.Margins == mkTabsBorder ? "Tabs" : k.Section;
      left = read(section, "LeftWidth");
      top = read(section, "TopHeight");
      right = read(section, "RightWidth");
      bottom = read(section, "BottomHeight");
      break;
    }
    case mkSide:
      top = read(k.Section, std::string(k.Key) + "TopHeight");
      bottom = read(k.Section, std::string(k.Key) + "BotHeight");
      break;
    case mkBand:
      left = read(k.Section, std::string(k.Key) + "TopHeight");
      right = read(k.Section, std::string(k.Key) + "BotHeight");
      break;
    case mkTextBack:
      left = read(k.Section, "TXTBackleft");
      right = read(k.Section, "TXTBackRight");
      break;
    case mkMenuBar:
      left = read(k.Section, "TileLeftMenu");
      right = read(k.Section, "TileRightMenu");
      break;
    }
    EXPECT_EQ((std::vector<int>{left, top, right, bottom}),
              (std::vector<int>{s.Left, s.Top, s.Right, s.Bottom}))
        << what;
    // Margins leave a middle to stretch.
    EXPECT_LT(s.Left + s.Right, s.CellWidth) << what;
    EXPECT_LT(s.Top + s.Bottom, s.CellHeight) << what;
  }
  EXPECT_EQ(covered.size(), static_cast<std::size_t>(tiImageCount)) << "every image is named";

  // Frame sides: transparent where the magenta corners are, the bottom opaque.
  EXPECT_EQ(ini.ReadString("TitlebarSkin", "SkinName", ""), kSkinName);
  for (const char* side : {"Left", "Right", "Top"})
    EXPECT_EQ(ini.ReadInteger("Personality", std::string(side) + "Trans", -1), 1) << side;
  EXPECT_EQ(ini.ReadInteger("Personality", "BottomTrans", -1), 0);
  EXPECT_EQ(ini.ReadInteger("Personality", "TextShift", -1), kTextShift);
  EXPECT_EQ(ini.ReadInteger("Personality", "TextShiftVert", -1), kTextShiftVert);
  EXPECT_EQ(ini.ReadInteger("Personality", "TextRightClip", -1), kTextRightClip);
  EXPECT_EQ(ini.ReadInteger("Personality", "TextAlignment", -1), 0);
}

TEST_F(TestSkin, DescriptionGivesTheDeclaredCaptionButtonsAndColours) {
  const TQuickIni& ini = *Ini;
  std::vector<std::string> sections, buttons;
  ini.ReadSections(&sections);
  for (const std::string& s : sections)
    if (s.rfind("Button", 0) == 0 && s != "Buttons") buttons.push_back(s);
  ASSERT_EQ(buttons.size(), static_cast<std::size_t>(kCaptionButtonCount));
  for (int i = 0; i < kCaptionButtonCount; ++i) {
    const TCaptionButtonSpec& b = kCaptionButtons[i];
    EXPECT_EQ(buttons[static_cast<std::size_t>(i)], b.Section);
    const std::vector<int> read{ini.ReadInteger(b.Section, "Action", -99),
                                ini.ReadInteger(b.Section, "Align", -99),
                                ini.ReadInteger(b.Section, "Xcoord", -99),
                                ini.ReadInteger(b.Section, "Ycoord", -99),
                                ini.ReadInteger(b.Section, "Visibility", -99),
                                ini.ReadInteger(b.Section, "Visibility1", 0)};
    EXPECT_EQ(read, (std::vector<int>{b.Action, b.Align, b.XCoord, b.YCoord, b.Visibility,
                                      b.Visibility1}))
        << b.Section;
    EXPECT_EQ(ini.ReadString(b.Section, "ButtonImage", ""),
              b.Image < 0 ? "" : kImages[b.Image].File)
        << b.Section;
    if (b.Align == 1 && b.Image >= 0) {
      // Inside the title bar, clear of the right border.
      EXPECT_GE(b.XCoord - kImages[b.Image].CellWidth, kBorderRight) << b.Section;
      EXPECT_LE(b.YCoord + kImages[b.Image].CellHeight, kTitleHeight) << b.Section;
    }
  }

  for (const TNamedColour& c : kColourTable)
    EXPECT_EQ(ini.ReadString("Colours", c.Key, ""), ColourText(c.Colour)) << c.Key;
  auto keyColour = [&](const char* prefix) {
    const std::string p = prefix;
    return ColourText({static_cast<std::uint8_t>(ini.ReadInteger("Personality", p + "R", -1)),
                       static_cast<std::uint8_t>(ini.ReadInteger("Personality", p + "G", -1)),
                       static_cast<std::uint8_t>(ini.ReadInteger("Personality", p + "B", -1))});
  };
  EXPECT_EQ(keyColour("ActiveText"), ColourText(kActiveText));
  EXPECT_EQ(keyColour("InActiveText"), ColourText(kInactiveText));
  EXPECT_EQ(ini.ReadString("Buttons", "NormalColour2", ""), ColourText(kButtonsNormalText));
  EXPECT_EQ(ini.ReadString("Buttons", "MouseOverColour2", ""), ColourText(kButtonsMouseOverText));
  EXPECT_EQ(ini.ReadString("Buttons", "PressedColour2", ""), ColourText(kButtonsPressedText));
  EXPECT_EQ(ini.ReadString("Tabs", "NormalColour2", ""), ColourText(kTabsNormalText));
  EXPECT_EQ(ini.ReadString("Tabs", "MouseOverColour2", ""), ColourText(kTabsMouseOverText));
  EXPECT_EQ(ini.ReadString("StatusBarEdges", "NormalColour2", ""), ColourText(kStatusBarText));
}

} // namespace
