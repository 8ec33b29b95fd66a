// The test skin loaded the way pixel tests load it, through TSkinData::SetSkinFile with
// TestSkinPath(): its name, frame sizes, caption buttons, colour table, and every element with
// the cells, margins and colours TestSkin.h declares.
#include "WinSkinData.h"

#include "TestSkin.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <string>

using namespace TestSkin;

namespace {

std::unique_ptr<TSkinData> LoadTestSkin() {
  App();
  auto data = std::make_unique<TSkinData>(nullptr);
  data->SetSkinFile(TestSkinPath());
  return data;
}

COLORREF PixelOf(const TBitmap& image, int x, int y) {
  const std::uint8_t* p = image.ScanLine(y) + 3 * x;
  return RGB(p[2], p[1], p[0]);
}

// Every pixel of `image` against the declared strip of `spec`; at most one failure reported.
void ExpectStrip(const TBitmap& image, TTestImage spec, const std::string& what) {
  const TImageSpec& s = kImages[spec];
  ASSERT_EQ(image.Width(), s.Width()) << what;
  ASSERT_EQ(image.Height(), s.Height()) << what;
  ASSERT_EQ(image.PixelFormat(), pf24bit) << what;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) {
      const int cell = s.Stacked ? y / s.CellHeight : x / s.CellWidth;
      const int cx = s.Stacked ? x : x % s.CellWidth, cy = s.Stacked ? y % s.CellHeight : y;
      const COLORREF expected = Ref(PixelColour(spec, cell, cx, cy));
      if (PixelOf(image, x, y) != expected) {
        ADD_FAILURE() << what << " (" << x << ", " << y << ") is " << std::hex
                      << PixelOf(image, x, y) << ", declared " << expected;
        return;
      }
    }
}

void ExpectMargins(const TDataSkinObject& e, TTestImage spec) {
  const TImageSpec& s = kImages[spec];
  EXPECT_EQ(e.Margins.left, s.Left) << e.Name;
  EXPECT_EQ(e.Margins.top, s.Top) << e.Name;
  EXPECT_EQ(e.Margins.right, s.Right) << e.Name;
  EXPECT_EQ(e.Margins.bottom, s.Bottom) << e.Name;
}

} // namespace

TEST(TestSkinFile, LoadsWithTheDeclaredNameFrameAndCaptionButtons) {
  const std::unique_ptr<TSkinData> data = LoadTestSkin();
  ASSERT_TRUE(data->SkinLoaded()) << TestSkinPath();
  EXPECT_EQ(data->SkinFile(), TestSkinPath());
  EXPECT_EQ(data->SkinName, kSkinName);

  // Frame sizes as the form skinner takes them: cell width of the sides, cell height of the
  // top and bottom.
  EXPECT_EQ(data->Left.Image.Width() / data->Left.FrameCount, BorderLeft);
  EXPECT_EQ(data->Right.Image.Width() / data->Right.FrameCount, BorderRight);
  EXPECT_EQ(data->Top.Image.Height() / data->Top.FrameCount, TitleHeight);
  EXPECT_EQ(data->Bottom.Image.Height() / data->Bottom.FrameCount, BorderBottom);
  EXPECT_EQ(data->Left.Trans, 1);
  EXPECT_EQ(data->Right.Trans, 1);
  EXPECT_EQ(data->Top.Trans, 1);
  EXPECT_EQ(data->Bottom.Trans, 0);

  // The six buttons of the description, then the three MDI child buttons.
  ASSERT_EQ(data->CaptionButtons.size(), static_cast<std::size_t>(CaptionButtonCount + 3));
  for (int i = 0; i < CaptionButtonCount; ++i) {
    const TCaptionButtonSpec& spec = kCaptionButtons[i];
    const TDataSkinSysButton& b = *data->CaptionButtons[static_cast<std::size_t>(i)];
    EXPECT_EQ(b.Action, spec.Action) << spec.Section;
    EXPECT_EQ(b.Align, spec.Align) << spec.Section;
    EXPECT_EQ(b.XCoord, spec.XCoord) << spec.Section;
    EXPECT_EQ(b.YCoord, spec.YCoord) << spec.Section;
    EXPECT_EQ(b.Visibility, spec.Visibility) << spec.Section;
    EXPECT_EQ(b.Visibility1, spec.Visibility1) << spec.Section;
    if (spec.Image < 0) {
      EXPECT_TRUE(b.Image.Empty()) << spec.Section << ": the window's icon shows";
      continue;
    }
    EXPECT_EQ(b.FrameCount, 4) << spec.Section;
    ExpectStrip(b.Image, static_cast<TTestImage>(spec.Image), spec.Section);
  }
  const TDataSkinSysButton& help = *data->CaptionButtons[HelpButton];
  const TDataSkinSysButton& max = *data->CaptionButtons[MaximizeButton];
  EXPECT_EQ(help.XCoord, max.XCoord);
  const RECT close = CaptionButtonRect(CloseButton, 200);
  EXPECT_EQ(close.left, 168);
  EXPECT_EQ(close.right, 192);
  EXPECT_LE(close.right, 200 - BorderRight);
  for (int i = 0; i < 3; ++i) {
    const TDataSkinSysButton& mdi = *data->CaptionButtons[static_cast<std::size_t>(6 + i)];
    EXPECT_EQ(mdi.Action, 7 + i);
    EXPECT_EQ(mdi.XCoord, (kMdiButtonWidth + 4) * (3 - i));
    ASSERT_EQ(mdi.Image.Width(), 4 * kMdiButtonWidth);
    for (int cell = 0; cell < 4; ++cell)
      EXPECT_EQ(PixelOf(mdi.Image, cell * kMdiButtonWidth + 7, 6),
                Colour(tiMdiButtons, 4 * i + cell))
          << "MDI button " << i << " cell " << cell;
  }
}

TEST(TestSkinFile, ElementsHaveTheDeclaredCellsMarginsAndColours) {
  const std::unique_ptr<TSkinData> data = LoadTestSkin();
  ASSERT_TRUE(data->SkinLoaded());

  // Elements whose image is the declared strip, cut into its cells, with its margins.
  struct TElement {
    const char* Name;
    TTestImage Image;
  };
  const TElement elements[] = {
      {"Left", tiFrameLeft},
      {"Right", tiFrameRight},
      {"Top", tiFrameTop},
      {"Bottom", tiFrameBottom},
      {"MenuBar", tiMenuBar},
      {"Buttons", tiButtons},
      {"Progress", tiProgress},
      {"Progress.Chunk", tiProgressChunk},
      {"Tabs", tiTabs},
      {"Tab.Pane", tiTabPane},
      {"StatusBarEdges", tiStatusBar},
      {"ComboButton", tiComboButton},
      {"ExtraImages", tiExtraImages},
      {"Headerbar", tiHeader},
      {"MenuBackground", tiMenuBackground},
      {"MenuItem", tiMenuItem},
      {"Scrollbar", tiScrollArrows},
      {"HorzScroll", tiHorzScroll},
      {"VertScroll", tiVertScroll},
      {"HorzScrollThumb", tiHorzThumb},
      {"VertScrollThumb", tiVertThumb},
      {"Track", tiTrack},
      {"TRACKVERT", tiTrackVert},
      {"Trackbar.ThumbHorz", tiThumbHorz},
      {"Trackbar.ThumbVert", tiThumbVert},
      {"Trackbar.ThumbLeft", tiThumbLeft},
      {"Trackbar.ThumbRight", tiThumbRight},
      {"Trackbar.ThumbUp", tiThumbUp},
      {"Trackbar.ThumbDown", tiThumbDown},
      {"UpDown.Vert", tiSpinVert},
      {"UpDown.Horz", tiSpinHorz},
      {"GroupBox", tiGroupBox},
      {"GroupBoxEdge", tiGroupBoxEdge},
      {"ToolBars", tiToolBars},
  };
  for (const TElement& e : elements) {
    const TDataSkinObject* element = data->FindElement(e.Name);
    ASSERT_NE(element, nullptr) << e.Name;
    EXPECT_EQ(element->FrameCount, kImages[e.Image].Cells) << e.Name;
    ExpectMargins(*element, e.Image);
    ExpectStrip(element->Image, e.Image, e.Name);
  }
  // Second images and the images of the push-button element.
  ExpectStrip(data->Tabs->Image2, tiTabBorder, "Tabs border");
  ExpectStrip(data->UpDownVert->Image2, tiSpinVertGlyph, "UpDown.Vert glyphs");
  ExpectStrip(data->UpDownHorz->Image2, tiSpinHorzGlyph, "UpDown.Horz glyphs");
  ExpectStrip(data->Buttons.CheckImage, tiCheckBox, "check boxes");
  ExpectStrip(data->Buttons.RadioImage, tiRadioButton, "radio buttons");
  EXPECT_EQ(data->Buttons.CheckFrameCount, kImages[tiCheckBox].Cells);
  EXPECT_EQ(data->Buttons.RadioFrameCount, kImages[tiRadioButton].Cells);
  EXPECT_EQ(data->Buttons.NormalColour2, static_cast<TColor>(Ref(kButtonsNormalText)));
  EXPECT_EQ(data->Tabs->MouseOverColour2, static_cast<TColor>(Ref(kTabsMouseOverText)));
  // No "SunkEdge": the combo button keeps its own image.
  EXPECT_EQ(data->FindElement("SunkEdge"), nullptr);

  // The title: its text background strip, text offsets and the text colour keys.
  ExpectStrip(data->Title.Image, tiTextBack, "Title");
  EXPECT_EQ(data->Title.Margins.left, kTextShift);
  EXPECT_EQ(data->Title.Margins.top, kTextShiftVert);
  EXPECT_EQ(data->Title.Margins.right, kTextRightClip);
  EXPECT_EQ(data->Title.TextBackLeft, kTextBackLeft);
  EXPECT_EQ(data->Title.TextBackRight, kTextBackRight);
  EXPECT_EQ(data->Title.ActiveTextColour, static_cast<TColor>(ActiveTextKey));
  EXPECT_EQ(data->Title.InactiveTextColour, static_cast<TColor>(InactiveTextKey));

  // The colour table, entry by entry, every one given by the skin.
  const int indices[] = {
      scWindowText,       scButtonFace,   scScrollbar,      scHilightText, scHilight,
      scMenubar,          scMenu,         scMenuText,       scButtonText,  scButtonHilight,
      scButtonlight,      scButtonShadow, scButtonDkShadow, scMenuBarText, scTitleTextActive,
      scTitleTextNoActive};
  static_assert(std::size(indices) == kColourTableSize);
  for (int i = 0; i < kColourTableSize; ++i) {
    const auto index = static_cast<std::size_t>(indices[i]);
    EXPECT_TRUE(data->ColourDefined[index]) << kColourTable[i].Key;
    EXPECT_EQ(data->Colours[index], static_cast<TColor>(Ref(kColourTable[i].Colour)))
        << kColourTable[i].Key;
  }
  EXPECT_EQ(data->Colours[scTitleTextActive], static_cast<TColor>(TitleTextActive));
  // The reference colour is the "Top" pixel a third of the way into its first cell.
  EXPECT_EQ(data->ReferenceColour(), static_cast<TColor>(TopActiveMiddle));
}
