// Skin element objects built from skin descriptions: the default skin field by field, crafted
// descriptions for each reading rule and derived element, and hostile content.
#include "SkinElements.h"

#include "FormReader.h"
#include "GdiCount.h"
#include "ImgUtil.h"
#include "SkinReader.h"
#include "SkinTestArchive.h"
#include "WinSkinIni.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using SkinTest::Bmp;
using SkinTest::Solid;
using SkinTest::TSkinBuilder;

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);

COLORREF Pixel(TBitmap& image, int x, int y) {
  return GetPixel(image.CanvasHandle(), x, y);
}

bool Load(TSkinContent& content, const TSkinBuilder& skin, const std::string& ini) {
  const std::vector<std::uint8_t> stored = skin.Stored(ini);
  return LoadSkinContent(stored, content);
}

void ExpectMargins(const TDataSkinObject& e, LONG left, LONG top, LONG right, LONG bottom) {
  EXPECT_EQ(e.Margins.left, left) << e.Name;
  EXPECT_EQ(e.Margins.top, top) << e.Name;
  EXPECT_EQ(e.Margins.right, right) << e.Name;
  EXPECT_EQ(e.Margins.bottom, bottom) << e.Name;
}

// The images of each element lie inside their images and every element has a state.
void ExpectSafe(const TSkinContent& c) {
  for (TDataSkinObject* e : c.Elements()) {
    EXPECT_GE(e->FrameCount, 1) << e->Name;
    const RECT r = e->CellRect(e->FrameCount - 1);
    EXPECT_GE(r.left, 0) << e->Name;
    EXPECT_LE(r.right, e->Image.Width()) << e->Name;
  }
  for (const auto& b : c.CaptionButtons)
    EXPECT_GE(b->FrameCount, 1) << b->Name;
}

} // namespace

TEST(SkinColourText, ThreeNumbersLowBitsMissingZero) {
  EXPECT_EQ(StrToColour("255,0,0"), 0x0000FF);
  EXPECT_EQ(StrToColour("227 226 236"), 227 | (226 << 8) | (236 << 16));
  EXPECT_EQ(StrToColour("1 2"), 1 | (2 << 8));
  EXPECT_EQ(StrToColour(""), 0);
  EXPECT_EQ(StrToColour("none"), 0);
  EXPECT_EQ(StrToColour("1 2 3 4 5"), 1 | (2 << 8) | (3 << 16));
  EXPECT_EQ(StrToColour("-5,300;256"), 5 | (44 << 8));
  // 10^20 - 1 is 255 modulo 256; a run this long must not overflow anything.
  EXPECT_EQ(StrToColour("99999999999999999999 0 1"), 255 | (1 << 16));
  EXPECT_EQ(StrToColour(std::string(5000, '7') + " 9 9"),
            (StrToColour(std::string(5000, '7')) | (9 << 8) | (9 << 16)));
}

TEST(SkinElements, DefaultSkinFieldByField) {
  const std::vector<std::uint8_t> stored = LoadResourceBytes("DEFAULT_SKIN");
  ASSERT_FALSE(stored.empty());
  TSkinContent c;
  ASSERT_TRUE(LoadSkinContent(stored, c));
  EXPECT_EQ(c.SkinName, "Tarnel Default");

  // Frame sides.
  EXPECT_EQ(c.Left.Image.Width(), 8);
  EXPECT_EQ(c.Left.Image.Height(), 48);
  ExpectMargins(c.Left, 0, 28, 0, 4);
  ExpectMargins(c.Right, 0, 28, 0, 4);
  ExpectMargins(c.Top, 6, 0, 6, 0);
  ExpectMargins(c.Bottom, 0, 0, 0, 0);
  for (const TDataSkinBorder* side : {&c.Left, &c.Right, &c.Top, &c.Bottom}) {
    EXPECT_EQ(side->FrameCount, 2) << side->Name;
    EXPECT_EQ(side->Tile, 1) << side->Name;
  }
  EXPECT_EQ(c.Top.Trans, 1);
  EXPECT_EQ(c.Bottom.Trans, 0);

  // Colours.
  EXPECT_EQ(c.Colours[scButtonFace], 241 | (243 << 8) | (246 << 16));
  EXPECT_TRUE(c.ColourDefined[scButtonFace]);
  EXPECT_EQ(c.Colours[scHilight], 46 | (120 << 8) | (204 << 16));
  EXPECT_EQ(c.Colours[scMenubar], 246 | (247 << 8) | (249 << 16));
  EXPECT_EQ(c.Colours[scTitleTextNoActive], 96 | (104 << 8) | (116 << 16));
  EXPECT_TRUE(c.ExtraColours.empty());
  for (TColor custom : c.CustomColours)
    EXPECT_EQ(custom, clWhite);

  // Caption buttons: Button0 .. Button5, then the MDI buttons.
  ASSERT_EQ(c.CaptionButtons.size(), 9u);
  const TDataSkinSysButton& close = *c.CaptionButtons[0];
  EXPECT_EQ(close.Name, "BUTTON0");
  EXPECT_EQ(close.Action, 0);
  EXPECT_EQ(close.Align, 1);
  EXPECT_EQ(close.XCoord, 32);
  EXPECT_EQ(close.YCoord, 4);
  EXPECT_EQ(close.FrameCount, 4);
  EXPECT_EQ(close.CombineOp, -1);
  EXPECT_EQ(close.Image.Width(), 104);
  const TDataSkinSysButton& max = *c.CaptionButtons[1];
  EXPECT_EQ(max.Action, 1);
  EXPECT_EQ(max.Visibility, 2);
  EXPECT_EQ(max.Visibility1, 6);
  EXPECT_EQ(c.CaptionButtons[2]->Visibility, 8);
  EXPECT_EQ(c.CaptionButtons[3]->Visibility, 1);
  const TDataSkinSysButton& icon = *c.CaptionButtons[4];
  EXPECT_EQ(icon.Name, "BUTTON4");
  EXPECT_EQ(icon.Action, 3);
  EXPECT_EQ(icon.Align, 0);
  EXPECT_TRUE(icon.Image.Empty());
  EXPECT_EQ(icon.FrameCount, 6);
  // Context help, where the maximize button sits.
  const TDataSkinSysButton& help = *c.CaptionButtons[5];
  EXPECT_EQ(help.Action, 4);
  EXPECT_EQ(help.Visibility, 10);
  EXPECT_EQ(help.XCoord, max.XCoord);
  EXPECT_EQ(help.YCoord, max.YCoord);
  EXPECT_EQ(help.FrameCount, 4);
  EXPECT_EQ(help.Image.Width(), 104);
  // "mdibutton.bmp" is 192 wide: three buttons of 64 at 60, 40 and 20.
  for (int i = 0; i < 3; ++i) {
    const TDataSkinSysButton& mdi = *c.CaptionButtons[6 + i];
    EXPECT_EQ(mdi.Action, 7 + i);
    EXPECT_EQ(mdi.Align, 100);
    EXPECT_EQ(mdi.Visibility, 100);
    EXPECT_EQ(mdi.Visibility1, 100);
    EXPECT_EQ(mdi.FrameCount, 4);
    EXPECT_EQ(mdi.XCoord, 60 - 20 * i);
    EXPECT_EQ(mdi.Image.Width(), 64);
    EXPECT_EQ(mdi.Image.Height(), 14);
  }

  // Push buttons and the title.
  ExpectMargins(c.Buttons, 4, 4, 4, 4);
  EXPECT_EQ(c.Buttons.FrameCount, 5);
  EXPECT_EQ(c.Buttons.Trans, 1);
  EXPECT_EQ(c.Buttons.CheckFrameCount, 12);
  EXPECT_EQ(c.Buttons.RadioFrameCount, 8);
  EXPECT_TRUE(c.Buttons.HasNormalColour2);
  EXPECT_EQ(c.Buttons.MouseOverColour2, 20 | (20 << 8) | (20 << 16));
  EXPECT_EQ(c.Buttons.NormalColour, -1);
  ExpectMargins(c.Title, 24, 0, 84, 0);
  EXPECT_EQ(c.Title.FrameCount, 2);
  EXPECT_EQ(c.Title.FontHeight, 14);
  EXPECT_EQ(c.Title.ActiveTextColour, 0xFFFFFF);
  EXPECT_EQ(c.Title.InactiveTextColour, 96 | (104 << 8) | (116 << 16));

  // Elements.
  ASSERT_TRUE(c.Progress && c.ProgressChunk && c.MenuBar && c.Tabs && c.TabPane);
  EXPECT_EQ(c.Progress->FrameCount, 2);
  EXPECT_EQ(c.ProgressChunk->FrameCount, 1);
  EXPECT_EQ(c.ProgressChunk->Tile, 1);
  EXPECT_EQ(c.MenuBar->FrameCount, 2);
  ExpectMargins(*c.MenuBar, 2, 0, 2, 0);
  EXPECT_EQ(c.Tabs->FrameCount, 5);
  EXPECT_EQ(c.Tabs->Style, 1);
  ExpectMargins(*c.Tabs, 4, 4, 4, 3);
  EXPECT_EQ(c.Tabs->Image2.Width(), 12);
  EXPECT_EQ(c.Tabs->NormalColour2, 70 | (76 << 8) | (86 << 16));
  EXPECT_EQ(c.Tabs->PressedColour2, 30 | (30 << 8) | (30 << 16)); // ButtonText
  EXPECT_EQ(c.StatusBarEdges->FrameCount, 3);
  EXPECT_FALSE(c.GroupBox);
  EXPECT_FALSE(c.GroupBoxEdge);
  EXPECT_FALSE(c.SunkEdge);
  EXPECT_FALSE(c.ToolBars);
  ASSERT_TRUE(c.ComboButton);
  EXPECT_EQ(c.ComboButton->FrameCount, 4);
  EXPECT_EQ(c.ComboButton->Image2.Width(), c.ComboButton->Image.Width());
  EXPECT_EQ(c.Headerbar->FrameCount, 5);
  EXPECT_EQ(c.Scrollbar->FrameCount, 23);
  EXPECT_EQ(c.HorzScroll->FrameCount, 4);
  EXPECT_EQ(c.HorzScrollThumb->FrameCount, 3);
  ExpectMargins(*c.VertScrollThumb, 0, 6, 0, 6);
  EXPECT_EQ(c.UpDownVert->FrameCount, 8);
  EXPECT_EQ(c.UpDownVert->Image2.Width(), 72);
  EXPECT_EQ(c.TrackbarThumbDown->FrameCount, 5);
  ASSERT_TRUE(c.Track && c.TrackVert);
  EXPECT_EQ(c.Track->Image.Width(), 16);
  ExpectMargins(*c.Track, 3, 0, 3, 0);
  EXPECT_EQ(c.TrackVert->Image.Height(), 16);

  // Derived: the arrow is the combo button with magenta turned into ButtonFace.
  ASSERT_TRUE(c.ComboxArrow);
  EXPECT_EQ(c.ComboxArrow->FrameCount, 4);
  EXPECT_EQ(c.ComboxArrow->Image.Width(), c.ComboButton->Image.Width());
  ASSERT_TRUE(c.Toolbar);
  EXPECT_EQ(c.Toolbar->Image.Width(), 10);
  EXPECT_EQ(c.Toolbar->Image.Height(), 40);
  EXPECT_EQ(c.Toolbar->FrameCount, 1);
  ASSERT_NE(c.ButtonFaceBrush(), nullptr);
  EXPECT_EQ(c.FindElement("menubar"), c.MenuBar.get());
  EXPECT_EQ(c.FindElement("trackvert"), c.TrackVert.get());
  EXPECT_EQ(c.FindElement("Trackbar.ThumbUp"), c.TrackbarThumbUp.get());
  ExpectSafe(c);
}

TEST(SkinElements, ReadingRules) {
  TSkinBuilder skin;
  skin.Image("item.bmp", Solid(50, 10, RGB(10, 20, 30)))
      .Image("chunk.bmp", Solid(8, 8, RGB(1, 2, 3)))
      .Image("bar.bmp", Solid(20, 10, RGB(4, 5, 6)))
      .Image("tab.bmp", Solid(50, 10, RGB(7, 8, 9)))
      .Image("tabborder.bmp", Solid(6, 6, RGB(9, 9, 9)))
      .Image("pane.bmp", Solid(12, 12, RGB(11, 11, 11)))
      .Image("group.bmp", Solid(12, 12, RGB(12, 12, 12)));
  const std::string ini = "[Colours]\n"
                          "ButtonText=1 2 3\n"
                          "[MenuItem]\nImage=item.bmp\nRightwidth=4\nTile=2\nFrame=9\n"
                          "NormalColour=255\nMouseOverColour2=40,50,60\n"
                          "[Progress]\nImage=bar.bmp\nTile=2\nStyle=1\n"
                          "[Progress.Chunk]\nBitmap=chunk.bmp\n"
                          "[Tabs]\nImage=tab.bmp\nBorder=tabborder.bmp\nFrame=3\n"
                          "[Tab.Pane]\nImage=pane.bmp\nLeftWidth=9\nTopHeight=2\nRightWidth=5\n"
                          "BottomHeight=40\n"
                          "[GroupBox]\nImage=group.bmp\nBackgroundAlignment=2\n"
                          "BackgroundLeftShift=-3\nBackgroundRightShift=7\nTile=5\n"
                          "[Headerbar]\nImage=item.bmp\nFrame=3\n"
                          "[HorzScrollThumb]\nImage=item.bmp\nFrameCount=2\n"
                          "[VertScrollThumb]\nImage=item.bmp\n";
  TSkinContent c;
  ASSERT_TRUE(Load(c, skin, ini));

  ASSERT_TRUE(c.MenuItem);
  EXPECT_EQ(c.MenuItem->Margins.right, 4); // keys match in any letter case
  EXPECT_EQ(c.MenuItem->Tile, 0);          // 2 reads as 0 here ...
  EXPECT_EQ(c.MenuItem->FrameCount, 5);    // fixed, whatever the description says
  EXPECT_EQ(c.MenuItem->NormalColour, 255);
  EXPECT_EQ(c.MenuItem->MouseOverColour, -1);
  EXPECT_EQ(c.MenuItem->MouseOverColour2, 40 | (50 << 8) | (60 << 16));
  EXPECT_EQ(c.MenuItem->NormalColour2, 1 | (2 << 8) | (3 << 16)); // the skin's ButtonText
  EXPECT_EQ(c.MenuItem->Image.Width(), 50);

  // "Progress" needs "Bitmap", "Progress.Chunk" needs "Image".
  EXPECT_FALSE(c.Progress);
  EXPECT_FALSE(c.ProgressChunk);

  ASSERT_TRUE(c.Tabs);
  EXPECT_EQ(c.Tabs->Image2.Width(), 6);
  EXPECT_EQ(c.Tabs->FrameCount, 5);
  ASSERT_TRUE(c.TabPane);
  ExpectMargins(*c.TabPane, 4, 2, 4, 4); // clamped to 4
  ASSERT_TRUE(c.GroupBox);
  EXPECT_EQ(c.GroupBox->BackgroundAlignment, 2);
  EXPECT_EQ(c.GroupBox->BackgroundLeftShift, -3);
  EXPECT_EQ(c.GroupBox->BackgroundRightShift, 7);
  EXPECT_EQ(c.GroupBox->Tile, 0);
  EXPECT_EQ(c.GroupBox->FrameCount, 1);
  EXPECT_EQ(c.Headerbar->FrameCount, 3); // kept: the description gave one
  EXPECT_EQ(c.HorzScrollThumb->FrameCount, 2);
  EXPECT_EQ(c.VertScrollThumb->FrameCount, 3);

  // ... but as 1 in "Progress".
  TSkinContent p;
  ASSERT_TRUE(Load(p, skin,
                   "[Progress]\nBitmap=bar.bmp\nTile=2\nStyle=1\n"
                   "[Progress.Chunk]\nImage=chunk.bmp\nFrame=3\n"));
  ASSERT_TRUE(p.Progress);
  EXPECT_EQ(p.Progress->Tile, 1);
  EXPECT_EQ(p.Progress->FrameCount, 1);    // Style 1
  EXPECT_EQ(p.Progress->NormalColour2, 0); // no colours read
  ASSERT_TRUE(p.ProgressChunk);
  EXPECT_EQ(p.ProgressChunk->FrameCount, 3);
  TSkinContent p2;
  ASSERT_TRUE(Load(p2, skin, "[Progress]\nBitmap=bar.bmp\n"));
  EXPECT_EQ(p2.Progress->FrameCount, 2);

  // Image values: ".bmp" exactly, the name after the last "\" or ":".
  TSkinContent v;
  ASSERT_TRUE(Load(v, skin,
                   "[MenuItem]\nImage=C:\\skins\\ITEM.bmp\n"
                   "[ExtraImages]\nImage=item.BMP\n"));
  EXPECT_EQ(v.MenuItem->Image.Width(), 50);
  ASSERT_TRUE(v.ExtraImages);
  EXPECT_TRUE(v.ExtraImages->Image.Empty());
}

TEST(SkinElements, FrameSidesTitleAndButtons) {
  TSkinBuilder skin;
  skin.Image("left.bmp", Solid(8, 40, RGB(1, 1, 1)))
      .Image("top.bmp",
             Bmp(30, 60, [](int x, int y) { return y < 30 ? RGB(200, 40, 40) : RGB(x, y, 0); }))
      .Image("buttons.bmp", Solid(100, 20, RGB(2, 2, 2)))
      .Image("check.bmp", Solid(40, 20, RGB(3, 3, 3)))
      .Image("radio.bmp", Solid(104, 13, RGB(4, 4, 4)))
      .Image("textback.bmp", Solid(20, 20, RGB(5, 5, 5)));
  const std::string ini = "[Personality]\n"
                          "Left=left.bmp\nLeftTopHeight=30\nLeftBotHeight=5\nLeftStretch=3\n"
                          "Top=top.bmp\nTopTopHeight=7\nTopBotHeight=9\nTopFrame=2\nTopTrans=0\n"
                          "TextBack=textback.bmp\nTextShift=11\nTextShiftVert=2\nTextRightClip=60\n"
                          "TextAlignment=1\nTextbackground=1\nTXTBackleft=3\nTXTBackRight=4\n"
                          "ActiveTextR=300\nActiveTextG=0\nActiveTextB=16\n"
                          "InActiveTextR=1\nInActiveTextG=-1\nInActiveTextB=1\n"
                          "[Fonts]\nFontHeight=18\n"
                          "[Buttons]\nBitmap=buttons.bmp\nLeftWidth=3\nTopHeight=2\nRightWidth=5\n"
                          "BottomHeight=1\nTile=4\nTrans=1\nCheckButton=check.bmp\n"
                          "RadioButton=radio.bmp\nPressedColour2=9 9 9\n";
  TSkinContent c;
  ASSERT_TRUE(Load(c, skin, ini));
  ExpectMargins(c.Left, 0, 30, 0, 5);
  EXPECT_EQ(c.Left.Tile, 1);       // clamped to 1
  EXPECT_EQ(c.Left.Trans, 1);      // default
  EXPECT_EQ(c.Left.FrameCount, 1); // default
  ExpectMargins(c.Top, 7, 0, 9, 0);
  EXPECT_EQ(c.Top.Trans, 0);
  EXPECT_TRUE(c.Right.Image.Empty());
  EXPECT_EQ(c.Right.FrameCount, 1);

  ExpectMargins(c.Title, 11, 2, 60, 0);
  EXPECT_EQ(c.Title.Image.Width(), 20);
  EXPECT_EQ(c.Title.TextAlignment, 1);
  EXPECT_EQ(c.Title.TextBackground, 1);
  EXPECT_EQ(c.Title.TextBackLeft, 3);
  EXPECT_EQ(c.Title.TextBackRight, 4);
  EXPECT_EQ(c.Title.FontHeight, 18);
  EXPECT_EQ(c.Title.ActiveTextColour, 44 | (16 << 16)); // each number keeps its low 8 bits
  EXPECT_EQ(c.Title.InactiveTextColour, clNone);        // a missing number: not set

  ExpectMargins(c.Buttons, 3, 2, 5, 1);
  EXPECT_EQ(c.Buttons.Tile, 0);
  EXPECT_EQ(c.Buttons.Trans, 1);
  EXPECT_EQ(c.Buttons.FrameCount, 5);
  // Check image 40 x 20: cells of 16 give 2, raised to 4. Radio 104 x 13: cells of 13 give 8.
  EXPECT_EQ(c.Buttons.CheckFrameCount, 4);
  EXPECT_EQ(c.Buttons.RadioFrameCount, 8);
  EXPECT_FALSE(c.Buttons.HasNormalColour2);
  EXPECT_TRUE(c.Buttons.HasPressedColour2);
  EXPECT_EQ(c.Buttons.PressedColour2, 9 | (9 << 8) | (9 << 16));
  EXPECT_EQ(c.Buttons.NormalColour2, SysColor(COLOR_BTNTEXT)); // no ButtonText in the skin

  // The reference colour: the "Top" pixel at (30 div 3, (60 div 2) div 3) = (10, 10).
  EXPECT_EQ(c.ReferenceColour(), static_cast<TColor>(RGB(200, 40, 40)));
  const TColor r = c.ReferenceColour();
  const int saturation = ImgUtil::ColorSaturation(r);
  ASSERT_GT(saturation, 110);
  const TColor bottom = ImgUtil::MixColors(r, clWhite, (5625 - saturation * 25) / 140 + 50);
  const TColor top = ImgUtil::MixColors(c.Colours[scButtonFace], clWhite, 150);
  // A vertical ramp of 40 rows from the top colour to the bottom one.
  EXPECT_EQ(Pixel(c.Toolbar->Image, 5, 0), static_cast<COLORREF>(top));
  EXPECT_EQ(Pixel(c.Toolbar->Image, 5, 39),
            static_cast<COLORREF>(ImgUtil::GradientEntry(40, top, bottom, 39)));
  EXPECT_EQ(Pixel(c.Toolbar->Image, 0, 20),
            static_cast<COLORREF>(ImgUtil::GradientEntry(40, top, bottom, 20)));

  // A light grey reference mixes with 0x808080 instead; without a "Top" image it is ButtonFace.
  TSkinContent g;
  ASSERT_TRUE(Load(g, skin, "[Colours]\nButtonFace=200 200 200\n"));
  EXPECT_EQ(g.ReferenceColour(), 200 | (200 << 8) | (200 << 16));
  const TColor gTop = ImgUtil::MixColors(g.ReferenceColour(), clWhite, 150);
  const TColor gBottom = ImgUtil::MixColors(0x808080, g.ReferenceColour(), 150);
  EXPECT_EQ(Pixel(g.Toolbar->Image, 0, 39),
            static_cast<COLORREF>(ImgUtil::GradientEntry(40, gTop, gBottom, 39)));
  EXPECT_NE(gBottom, bottom);
  LOGBRUSH lb{};
  ASSERT_EQ(GetObjectA(g.ButtonFaceBrush(), sizeof lb, &lb), static_cast<int>(sizeof lb));
  EXPECT_EQ(lb.lbColor, RGB(200, 200, 200));
}

TEST(SkinElements, ColourTableAndExtraColours) {
  TSkinBuilder skin;
  const std::string ini = "[Colours]\nButtonFace=10 20 30\nMenu=1 1 1\n"
                          "[ColourA]\ncolor=5 6 7\n"
                          "[COLOURS]\nWindowText=9 9 9\n"
                          "[colour2]\n"
                          "[Customcolors]\nColor0=1 2 3\nColor9=4,5,6\n";
  TSkinContent c;
  ASSERT_TRUE(Load(c, skin, ini));
  EXPECT_EQ(c.Colours[scButtonFace], 10 | (20 << 8) | (30 << 16));
  EXPECT_EQ(c.Colours[scMenubar], c.Colours[scButtonFace]); // default: ButtonFace just read
  EXPECT_FALSE(c.ColourDefined[scMenubar]);
  EXPECT_TRUE(c.ColourDefined[scMenu]);
  EXPECT_EQ(c.Colours[scWindowText], SysColor(COLOR_WINDOWTEXT)); // only the first section
  EXPECT_FALSE(c.ColourDefined[scWindowText]);
  EXPECT_EQ(c.Colours[scButtonDkShadow], SysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(c.Colours[scTitleTextNoActive], SysColor(COLOR_INACTIVECAPTIONTEXT));
  EXPECT_EQ(c.Colours[9], 0);
  ASSERT_EQ(c.ExtraColours.size(), 2u);
  EXPECT_EQ(c.ExtraColours[0], 5 | (6 << 8) | (7 << 16));
  EXPECT_EQ(c.ExtraColours[1], SysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(c.CustomColours[0], 1 | (2 << 8) | (3 << 16));
  EXPECT_EQ(c.CustomColours[5], clWhite);
  EXPECT_EQ(c.CustomColours[9], 4 | (5 << 8) | (6 << 16));
  // ButtonFace is a system colour here: the reference colour and the brush hold its RGB value.
  TSkinContent d;
  ASSERT_TRUE(Load(d, skin, ""));
  EXPECT_EQ(d.ReferenceColour(), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
}

TEST(SkinElements, CaptionButtons) {
  TSkinBuilder skin;
  skin.Image("b57.bmp", Solid(57, 19, RGB(1, 1, 1)))
      .Image("b100.bmp", Solid(100, 19, RGB(2, 2, 2)))
      .Image("icon.bmp", Solid(16, 16, RGB(3, 3, 3)))
      .Image("mdi.bmp", Bmp(192, 10, [](int x, int) { return RGB(x / 64 * 100, 7, 7); }));
  const std::string ini = "[Buttons]\nAction=1\n[Button]\n[Button.Radio]\n[Button.Checkbox]\n"
                          "[Button1]\nAction=1\nVisibility=2\nXcoord=50\nYcoord=3\n"
                          "ButtonImage=b57.bmp\n"
                          "[button2]\nAction=2\nButtonImage=b100.bmp\nframe=4\nCombineOp=2\n"
                          "[Button5]\nAction=-1\n"
                          "[Button6]\nAction=-1\nVisibility=0\nButtonImage=b57.bmp\n"
                          "[Button7]\nAction=4\nXcoord=1\nYcoord=1\nButtonImage=b100.bmp\n"
                          "[Button8]\nAction=3\nButtonImage=icon.bmp\n"
                          "[Button9]\nAction=11\nButtonImage=icon.bmp\nframe=1\n"
                          "[Button10]\nAction=0\nframe=-2\n"
                          "[Button11]\nAction=3\nButtonImage=icon.bmp\nframe=-1\n"
                          "[MDICONTROLS]\nImage=mdi.bmp\n";
  TSkinContent c;
  ASSERT_TRUE(Load(c, skin, ini));
  ASSERT_EQ(c.CaptionButtons.size(), 8u + 3u);
  const auto& b = c.CaptionButtons;
  EXPECT_EQ(b[0]->Name, "BUTTON1");
  EXPECT_EQ(b[0]->FrameCount, 3); // 57 / 19 = 3.0
  EXPECT_EQ(b[0]->Visibility1, 0);
  EXPECT_EQ(b[0]->CombineOp, -1);
  EXPECT_EQ(b[1]->Name, "BUTTON2");
  EXPECT_EQ(b[1]->FrameCount, 4);
  EXPECT_EQ(b[1]->CombineOp, 2);
  EXPECT_EQ(b[2]->Name, "BUTTON6"); // Button5 (Action -1, no Visibility) is dropped
  EXPECT_EQ(b[2]->Visibility1, -1);
  EXPECT_EQ(b[2]->FrameCount, 6); // negative Action
  EXPECT_EQ(b[3]->Name, "BUTTON7");
  EXPECT_EQ(b[3]->XCoord, 50); // Action 4 takes the maximize button's position
  EXPECT_EQ(b[3]->YCoord, 3);
  EXPECT_EQ(b[3]->FrameCount, 6); // 100 / 19 > 3.8
  EXPECT_EQ(b[4]->Action, 3);
  EXPECT_TRUE(b[4]->Image.Empty()); // no state count: the icon image goes
  EXPECT_EQ(b[5]->Action, 11);
  EXPECT_FALSE(b[5]->Image.Empty()); // a state count was given
  // A negative state count is one state, not "none given": the image stays.
  EXPECT_EQ(b[6]->Name, "BUTTON10");
  EXPECT_EQ(b[6]->FrameCount, 1);
  EXPECT_EQ(b[7]->Action, 3);
  EXPECT_EQ(b[7]->FrameCount, 1);
  EXPECT_FALSE(b[7]->Image.Empty());
  for (int i = 0; i < 3; ++i) {
    TDataSkinSysButton& mdi = *b[8 + i];
    EXPECT_EQ(mdi.Action, 7 + i);
    EXPECT_EQ(mdi.XCoord, 60 - 20 * i);
    ASSERT_EQ(mdi.Image.Width(), 64);
    EXPECT_EQ(Pixel(mdi.Image, 0, 0), RGB(100 * i, 7, 7));
    EXPECT_EQ(Pixel(mdi.Image, 63, 9), RGB(100 * i, 7, 7));
  }

  // Without "MDICONTROLS" the MDI buttons have no image.
  TSkinContent n;
  ASSERT_TRUE(Load(n, skin, ""));
  ASSERT_EQ(n.CaptionButtons.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(n.CaptionButtons[i]->Image.Empty());
    EXPECT_EQ(n.CaptionButtons[i]->XCoord, 4 * (3 - i));
  }
}

TEST(SkinElements, CombinedEditFrameAndComboArrow) {
  const COLORREF edge = RGB(10, 10, 200), button = RGB(20, 200, 20), glyph = RGB(0, 0, 0);
  TSkinBuilder skin;
  // SunkEdge: 4 states of 10 x 10 in one colour; ComboButton: 4 states of 12 x 12; ExtraImages:
  // 5 glyph cells of 4 x 4.
  skin.Image("sunk.bmp", Solid(40, 10, edge))
      .Image("combo.bmp", Solid(48, 12, button))
      .Image("extra.bmp", Solid(20, 4, glyph));
  const std::string ini = "[SunkEdge]\nImage=sunk.bmp\nLeftWidth=2\nTopHeight=3\nRightWidth=2\n"
                          "BottomHeight=4\n"
                          "[ComboButton]\nImage=combo.bmp\n"
                          "[ExtraImages]\nImage=extra.bmp\nTrans=1\n";
  TSkinContent c;
  ASSERT_TRUE(Load(c, skin, ini));
  ASSERT_TRUE(c.SunkEdge && c.ComboButton && c.ComboxArrow);
  const int w = GetSystemMetrics(SM_CXHSCROLL) + 2;
  TDataSkinBorder& combo = *c.ComboButton;
  EXPECT_EQ(combo.Style, 2);
  ExpectMargins(combo, 2, 3, w + 2, 4);
  ASSERT_EQ(combo.Image.Width(), 200);
  ASSERT_EQ(combo.Image.Height(), 21);
  EXPECT_EQ(combo.FrameCount, 4);
  for (int b = 0; b < 4; ++b) {
    const int x0 = 50 * b;
    EXPECT_EQ(Pixel(combo.Image, x0 + 0, 0), edge);
    EXPECT_EQ(Pixel(combo.Image, x0 + 10, 10), kMagenta); // the inside is transparent
    EXPECT_EQ(Pixel(combo.Image, x0 + 49 - w - 1, 17), kMagenta);
    EXPECT_EQ(Pixel(combo.Image, x0 + 49 - w, 10), edge);
    EXPECT_EQ(Pixel(combo.Image, x0 + 50 - w, 1), button);
    EXPECT_EQ(Pixel(combo.Image, x0 + 49, 20), button);
    // The glyph cell (4 x 4) centred in the button part.
    const int gx = x0 + 50 - w + (w - 4) / 2, gy = (21 - 4) / 2;
    EXPECT_EQ(Pixel(combo.Image, gx, gy), glyph);
    EXPECT_EQ(Pixel(combo.Image, gx + 3, gy + 3), glyph);
    EXPECT_EQ(Pixel(combo.Image, gx - 1, gy), button);
  }
  // "SunkEdge" holds the mirror image, with the drop-down at the left.
  TDataSkinObject& sunk = *c.SunkEdge;
  ExpectMargins(sunk, w + 2, 3, 2, 4);
  ASSERT_EQ(sunk.Image.Width(), 200);
  for (int x : {0, 3, 25, 49 - w, 49})
    for (int y : {0, 10, 20})
      EXPECT_EQ(Pixel(sunk.Image, 199 - x, y), Pixel(combo.Image, x, y)) << x << "," << y;

  // ComboxArrow: 17 x 17 from each 50-wide state, (50 (i + 1) - 19, 2) on.
  TDataSkinObject& arrow = *c.ComboxArrow;
  ASSERT_EQ(arrow.Image.Width(), 68);
  ASSERT_EQ(arrow.Image.Height(), 17);
  EXPECT_EQ(arrow.FrameCount, 4);
  for (int i = 0; i < 4; ++i)
    for (int x : {0, 8, 16})
      for (int y : {0, 16})
        EXPECT_EQ(Pixel(arrow.Image, 17 * i + x, y),
                  Pixel(combo.Image, 50 * (i + 1) - 19 + x, 2 + y));

  // Without "SunkEdge": the combo image with magenta turned into ButtonFace.
  TSkinBuilder plain;
  plain.Image("combo.bmp",
              Bmp(48, 12, [](int x, int) { return x % 12 < 2 ? RGB(255, 0, 255) : RGB(1, 2, 3); }));
  TSkinContent p;
  ASSERT_TRUE(Load(p, plain, "[Colours]\nButtonFace=90 91 92\n[ComboButton]\nImage=combo.bmp\n"));
  ASSERT_TRUE(p.ComboxArrow);
  EXPECT_EQ(p.ComboxArrow->FrameCount, 4);
  EXPECT_EQ(Pixel(p.ComboxArrow->Image, 0, 0), RGB(90, 91, 92));
  EXPECT_EQ(Pixel(p.ComboxArrow->Image, 13, 5), RGB(90, 91, 92));
  EXPECT_EQ(Pixel(p.ComboxArrow->Image, 5, 5), RGB(1, 2, 3));
  EXPECT_EQ(Pixel(p.ComboButton->Image, 0, 0), kMagenta);   // the combo image itself stays
  EXPECT_EQ(Pixel(p.ComboButton->Image2, 47, 0), kMagenta); // mirrored copy
  EXPECT_EQ(Pixel(p.ComboButton->Image2, 0, 0), RGB(1, 2, 3));

  // Neither: the arrow exists with an empty image.
  TSkinContent none;
  ASSERT_TRUE(Load(none, plain, ""));
  ASSERT_TRUE(none.ComboxArrow);
  EXPECT_TRUE(none.ComboxArrow->Image.Empty());
}

TEST(SkinElements, TrackFallsBackToResources) {
  TSkinBuilder skin;
  skin.Image("t.bmp", Solid(30, 5, RGB(1, 1, 1)));
  TSkinContent c;
  ASSERT_TRUE(Load(c, skin, "[Track]\nLeftWidth=1\n[TRACKVERT]\nImage=t.bmp\nFrame=2\n"));
  ASSERT_TRUE(c.Track && c.TrackVert);
  TBitmap resource;
  ASSERT_TRUE(resource.LoadFromResourceName(GetModuleHandleA(nullptr), "TRACK"));
  EXPECT_EQ(c.Track->Image.Width(), resource.Width());
  EXPECT_EQ(c.Track->Image.Height(), resource.Height());
  EXPECT_EQ(Pixel(c.Track->Image, 0, 0), Pixel(resource, 0, 0));
  ExpectMargins(*c.Track, 3, 3, 3, 3);
  EXPECT_EQ(c.Track->FrameCount, 1);
  EXPECT_EQ(c.Track->Tile, 0);
  EXPECT_EQ(c.TrackVert->Image.Width(), 30); // from the skin, keeping its "Frame"
  EXPECT_EQ(c.TrackVert->FrameCount, 2);
  TBitmap vertical, glyphs;
  EXPECT_TRUE(vertical.LoadFromResourceName(GetModuleHandleA(nullptr), "TRACKVERT"));
  EXPECT_EQ(vertical.Width(), resource.Height());
  ASSERT_TRUE(glyphs.LoadFromResourceName(GetModuleHandleA(nullptr), "TARPAULMENU"));
  EXPECT_EQ(glyphs.Height(), 16);
  EXPECT_EQ(glyphs.Width() % 16, 0);
  EXPECT_GE(glyphs.Width(), 64);
  EXPECT_EQ(Pixel(glyphs, 0, 0), RGB(255, 255, 255));
}

TEST(SkinElements, HostileContentIsHarmless) {
  TSkinBuilder skin;
  skin.Image("tiny.bmp", Solid(2, 2, RGB(1, 1, 1)))
      .Image("thin.bmp", Solid(3, 30, RGB(2, 2, 2)))
      .Image("mdi.bmp", Solid(5, 5, RGB(3, 3, 3)));
  const std::string ini = "[Personality]\nLeft=tiny.bmp\nLeftFrame=0\nTop=thin.bmp\nTopFrame=-4\n"
                          "Right=tiny.bmp\nRightTopHeight=900\nRightBotHeight=-7\n"
                          "menuBar=tiny.bmp\nTileLeftMenu=-5\n"
                          "[Colours]\nButtonFace=,,\nHilight=12\n"
                          "[SunkEdge]\nImage=tiny.bmp\nLeftWidth=500\nRightWidth=500\n"
                          "TopHeight=-3\nBottomHeight=99\nTile=1\n"
                          "[ComboButton]\nImage=tiny.bmp\nLeftWidth=40\nTile=1\n"
                          "[ExtraImages]\nImage=thin.bmp\n"
                          "[Progress.Chunk]\nImage=tiny.bmp\nFrame=-1\n"
                          "[Headerbar]\nImage=tiny.bmp\nFrame=-3\n"
                          "[HorzScrollThumb]\nImage=tiny.bmp\nFrameCount=0\n"
                          "[Buttons]\nBitmap=tiny.bmp\nCheckButton=tiny.bmp\nCheckButtonFrame=-2\n"
                          "[Button1]\nButtonImage=thin.bmp\nframe=0\n"
                          "[MDICONTROLS]\nImage=mdi.bmp\n";
  TSkinContent c;
  ASSERT_TRUE(Load(c, skin, ini));
  ExpectSafe(c);
  EXPECT_EQ(c.Left.FrameCount, 1);
  EXPECT_EQ(c.Top.FrameCount, 1);
  EXPECT_EQ(c.Right.Margins.bottom, 0);
  EXPECT_EQ(c.Right.Margins.top, 900); // kept: painters drop margins that do not fit
  EXPECT_EQ(c.MenuBar->Margins.left, 0);
  EXPECT_EQ(c.Colours[scButtonFace], 0);
  EXPECT_EQ(c.Colours[scHilight], 12);
  EXPECT_EQ(c.ProgressChunk->FrameCount, 1);
  EXPECT_EQ(c.Headerbar->FrameCount, 1);
  EXPECT_EQ(c.HorzScrollThumb->FrameCount, 1);
  EXPECT_EQ(c.Buttons.CheckFrameCount, 4);
  // The combined frame was built from cells narrower than their margins.
  EXPECT_EQ(c.ComboButton->Image.Width(), 200);
  EXPECT_EQ(c.ComboxArrow->Image.Width(), 68);
  EXPECT_EQ(c.SunkEdge->Margins.top, 0);
  // MDI image 5 wide: no pixels for three buttons.
  ASSERT_EQ(c.CaptionButtons.size(), 4u);
  EXPECT_TRUE(c.CaptionButtons[1]->Image.Empty());
  EXPECT_EQ(c.CaptionButtons[1]->XCoord, 12);

  // No archive at all, and archives that are not skins: the content loaded before stays.
  TSkinContent e;
  ASSERT_TRUE(Load(e, skin, ini));
  EXPECT_FALSE(LoadSkinContent(std::vector<std::uint8_t>{}, e));
  EXPECT_FALSE(LoadSkinContent(std::vector<std::uint8_t>{1, 2, 3}, e));
  const TSkinNotifier old = SetSkinNotifier([](const std::string&) {});
  std::vector<std::uint8_t> garbage(64, 0x5A);
  EXPECT_FALSE(LoadSkinContent(garbage, e));
  SetSkinNotifier(old);
  ASSERT_EQ(e.CaptionButtons.size(), 4u);
  EXPECT_EQ(e.Top.Image.Width(), 3);
  EXPECT_EQ(e.Colours[scHilight], 12);
  // An archive without a description: every default.
  TSkinContent d;
  ASSERT_TRUE(LoadSkinContent(BuildStoredSkin(BuildSkinArchive({{"a.bmp", Solid(1, 1, 0)}})), d));
  EXPECT_EQ(d.CaptionButtons.size(), 3u);
  ASSERT_TRUE(d.Track);
  ExpectSafe(d);
}

TEST(SkinElements, ReloadingReleasesEveryGdiObject) {
  // The counter itself sees objects come and go.
  const long before = GdiCount::Count();
  ASSERT_GE(before, 0) << "GDI objects cannot be counted here";
  HBRUSH brushes[10];
  for (HBRUSH& b : brushes)
    b = CreateSolidBrush(RGB(1, 2, 3));
  EXPECT_EQ(GdiCount::Count(), before + 10);
  for (HBRUSH b : brushes)
    DeleteObject(b);
  EXPECT_EQ(GdiCount::Count(), before);

  const std::vector<std::uint8_t> stored = LoadResourceBytes("DEFAULT_SKIN");
  TSkinBuilder combo;
  combo.Image("s.bmp", Solid(40, 10, RGB(1, 1, 1))).Image("c.bmp", Solid(48, 12, RGB(2, 2, 2)));
  const std::vector<std::uint8_t> crafted =
      combo.Stored("[SunkEdge]\nImage=s.bmp\n[ComboButton]\nImage=c.bmp\n"
                   "[Personality]\nTop=s.bmp\n");
  {
    TSkinContent c;
    ASSERT_TRUE(LoadSkinContent(stored, c));
    // Draw from a few elements, so that their images have device contexts as well.
    for (TDataSkinObject* e : c.Elements())
      e->Image.CanvasHandle();
    const long loaded = GdiCount::Count();
    const long bitmaps = TBitmap::LiveGdiObjects();
    for (int i = 0; i < 100; ++i) { // ends with the default skin, as measured
      ASSERT_TRUE(LoadSkinContent(i % 2 ? stored : crafted, c));
      if (i % 2)
        for (TDataSkinObject* e : c.Elements())
          e->Image.CanvasHandle();
    }
    EXPECT_EQ(GdiCount::Count(), loaded);
    EXPECT_EQ(TBitmap::LiveGdiObjects(), bitmaps);
  }
  EXPECT_EQ(GdiCount::Count(), before);
}

TEST(SkinElements, LoadingLeavesGdiObjectsToThePaint) {
  // Every image of the default skin, derived ones included, is made in plain memory: the
  // load creates no DIB section and no device context; the first paint of an image does.
  const std::vector<std::uint8_t> stored = LoadResourceBytes("DEFAULT_SKIN");
  TSkinContent c;
  const long bitmaps = TBitmap::LiveGdiObjects();
  ASSERT_TRUE(LoadSkinContent(stored, c));
  EXPECT_EQ(TBitmap::LiveGdiObjects(), bitmaps);
  for (TDataSkinObject* e : c.Elements())
    EXPECT_FALSE(e->Image.HasHandle()) << e->Name;
  for (const auto& b : c.CaptionButtons)
    EXPECT_FALSE(b->Image.HasHandle()) << b->Name;
  ASSERT_NE(c.Top.Image.CanvasHandle(), nullptr);
  EXPECT_EQ(TBitmap::LiveGdiObjects(), bitmaps + 2); // the DIB section and its context
}

TEST(SkinElements, AReaderKeptBetweenLoadsGivesWhatANewOneGives) {
  const std::vector<std::uint8_t> stored = LoadResourceBytes("DEFAULT_SKIN");
  TSkinBuilder other;
  other.Image("t.bmp", Solid(30, 12, RGB(9, 8, 7)));
  const std::vector<std::uint8_t> crafted = other.Stored("[Personality]\nTop=t.bmp\n");
  TSkinReader kept;
  TSkinContent fresh, reused;
  ASSERT_TRUE(LoadSkinContent(stored, fresh));
  ASSERT_TRUE(LoadSkinContent(stored, reused, kept));
  ASSERT_TRUE(LoadSkinContent(crafted, reused, kept));
  EXPECT_EQ(reused.Top.Image.Width(), 30);
  ASSERT_TRUE(LoadSkinContent(stored, reused, kept));
  const std::vector<TDataSkinObject*> a = fresh.Elements(), b = reused.Elements();
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    SCOPED_TRACE(a[i]->Name);
    EXPECT_EQ(a[i]->Name, b[i]->Name);
    ASSERT_EQ(a[i]->Image.Width(), b[i]->Image.Width());
    ASSERT_EQ(a[i]->Image.Height(), b[i]->Image.Height());
    for (int y = 0; y < a[i]->Image.Height(); ++y)
      ASSERT_EQ(
          0, std::memcmp(a[i]->Image.ScanLine(y), b[i]->Image.ScanLine(y), a[i]->Image.RowBytes()));
  }
  EXPECT_EQ(fresh.ReferenceColour(), reused.ReferenceColour());
  EXPECT_EQ(fresh.CaptionButtons.size(), reused.CaptionButtons.size());
}
