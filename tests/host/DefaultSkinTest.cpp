// The default skin as skingen writes it: the set of files, the BMP format of every image, and
// the agreement between the images and the description that names them (cell counts, margins,
// frame geometry, transparent key colour).
#include "BmpFile.h"
#include "WinSkinIni.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kImageNames = {
    "buttons.bmp",         "checkbox.bmp",      "radiobutton.bmp",    "progress.bmp",
    "progresschunk.bmp",   "tab.bmp",           "tabsheet.bmp",       "comboboxbtn.bmp",
    "statusbar.bmp",       "header.bmp",        "scrollbararrow.bmp", "scrollbarhthumb.bmp",
    "scrollbarvthumb.bmp", "scrollbarhbar.bmp", "scrollbarvbar.bmp",  "menubackground.bmp",
    "menuitem.bmp",        "extraimages.bmp",   "trackthumbh.bmp",    "trackbot.bmp",
    "trackbar.bmp",        "trackbarv.bmp",     "mdibutton.bmp",      "spin.bmp",
    "spinarrow.bmp",       "spinh.bmp",         "spinharrow.bmp",     "closebutton.bmp",
    "maxbutton.bmp",       "minbutton.bmp",     "restrorebutton.bmp", "helpbutton.bmp",
    "frameleft.bmp",       "frameright.bmp",    "frametop.bmp",       "framebottom.bmp",
    "mincaption.bmp"};

std::string Lower(std::string s) {
  for (char& c : s)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string Trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 32)
    ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32)
    --e;
  return s.substr(b, e - b);
}

std::vector<std::uint8_t> ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The description as the skin reader sees it: first section of a name wins, first line of a
// key wins, names compare in any letter case, an empty value counts as absent.
class TIni {
public:
  struct TEntry {
    std::string Key; // as written
    std::string Value;
  };
  explicit TIni(const std::string& text) {
    std::string line;
    std::vector<TEntry>* current = nullptr;
    std::set<std::string> seen;
    auto flush = [&] {
      const std::string t = Trim(line);
      line.clear();
      if (t.empty() || t[0] == ';') return;
      if (t.front() == '[' && t.back() == ']') {
        const std::string name = Trim(t.substr(1, t.size() - 2));
        FOrder.push_back(name);
        current = seen.insert(Lower(name)).second ? &FSections[Lower(name)] : nullptr;
        return;
      }
      const auto eq = t.find('=');
      if (current && eq != std::string::npos)
        current->push_back({Trim(t.substr(0, eq)), Trim(t.substr(eq + 1))});
    };
    for (char c : text) {
      if (c == '\r' || c == '\n')
        flush();
      else
        line += c;
    }
    flush();
  }
  bool HasSection(const std::string& s) const { return FSections.count(Lower(s)) != 0; }
  std::optional<std::string> Get(const std::string& section, const std::string& key) const {
    const auto it = FSections.find(Lower(section));
    if (it == FSections.end()) return std::nullopt;
    for (const TEntry& e : it->second)
      if (Lower(e.Key) == Lower(key))
        return e.Value.empty() ? std::nullopt : std::optional<std::string>(e.Value);
    return std::nullopt;
  }
  int Int(const std::string& section, const std::string& key, int def) const {
    const auto v = Get(section, key);
    if (!v) return def;
    char* end = nullptr;
    const long n = std::strtol(v->c_str(), &end, 10);
    return *end == '\0' ? static_cast<int>(n) : def;
  }
  const std::vector<std::string>& SectionOrder() const { return FOrder; }
  const std::vector<TEntry>& Entries(const std::string& section) const {
    return FSections.at(Lower(section));
  }

private:
  std::map<std::string, std::vector<TEntry>> FSections;
  std::vector<std::string> FOrder;
};

struct TRgb {
  int R, G, B;
};

struct TBmp {
  int Width = 0, Height = 0;
  std::vector<TRgb> Pixels; // top row first
  TRgb At(int x, int y) const { return Pixels[static_cast<std::size_t>(y * Width + x)]; }
};

std::uint32_t Le(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i)
    v = (v << 8) | b[at + static_cast<std::size_t>(i)];
  return v;
}

// Parses a 24-bit uncompressed BMP; a failed expectation names the file.
std::optional<TBmp> ParseBmp(const std::vector<std::uint8_t>& b, const std::string& name) {
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') {
    ADD_FAILURE() << name << ": no BMP header";
    return std::nullopt;
  }
  EXPECT_EQ(Le(b, 2, 4), b.size()) << name << ": file size field";
  EXPECT_EQ(Le(b, 14, 4), 40u) << name << ": info header size";
  EXPECT_EQ(Le(b, 26, 2), 1u) << name << ": planes";
  EXPECT_EQ(Le(b, 28, 2), 24u) << name << ": bits per pixel";
  EXPECT_EQ(Le(b, 30, 4), 0u) << name << ": compression";
  const auto w = static_cast<std::int32_t>(Le(b, 18, 4));
  const auto h = static_cast<std::int32_t>(Le(b, 22, 4));
  const std::uint32_t offset = Le(b, 10, 4);
  if (w <= 0 || h <= 0 || w > 4096 || h > 4096) {
    ADD_FAILURE() << name << ": size " << w << " x " << h;
    return std::nullopt;
  }
  const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) & ~std::size_t{3};
  if (offset < 54 || offset + stride * static_cast<std::size_t>(h) != b.size()) {
    ADD_FAILURE() << name << ": pixel data does not fill the file exactly";
    return std::nullopt;
  }
  TBmp bmp;
  bmp.Width = w;
  bmp.Height = h;
  for (int y = 0; y < h; ++y) {
    const std::size_t row = offset + stride * static_cast<std::size_t>(h - 1 - y);
    for (int x = 0; x < w; ++x) {
      const std::size_t p = row + static_cast<std::size_t>(x) * 3;
      bmp.Pixels.push_back({b[p + 2], b[p + 1], b[p]});
    }
  }
  return bmp;
}

bool IsKey(TRgb c) {
  return c.R == 255 && c.G == 0 && c.B == 255;
}

fs::path RunSkingen(const std::string& tag) {
  const fs::path dir =
      fs::temp_directory_path() / ("tarnel-defaultskin-" + std::to_string(::getpid()) + "-" + tag);
  fs::remove_all(dir);
  const std::string cmd = std::string("\"") + TARNEL_SKINGEN + "\" \"" + dir.string() + "\" \"" +
                          TARNEL_DEFAULT_SKIN_INI + "\"";
  EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
  return dir;
}

// How the skin reader cuts an image into cells.
struct TStrip {
  int Cells = 1;
  bool Vertical = false; // cells stacked instead of side by side
};

class DefaultSkin : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    Dir = new fs::path(RunSkingen("a"));
    const auto iniBytes = ReadFile(*Dir / "skin.ini");
    Ini = new TIni(std::string(iniBytes.begin(), iniBytes.end()));
    Images = new std::map<std::string, TBmp>;
    for (const std::string& n : kImageNames)
      if (auto bmp = ParseBmp(ReadFile(*Dir / n), n)) (*Images)[n] = *bmp;
  }
  static void TearDownTestSuite() {
    fs::remove_all(*Dir);
    delete Images;
    delete Ini;
    delete Dir;
  }

  static const TBmp& Image(const std::string& name) { return Images->at(name); }

  // The cell layout of the image that `key` of `section` names, following the reader's fixed
  // cell counts and the counts the description gives. Fails for an image key it does not know.
  static std::optional<TStrip> StripOf(const std::string& section, const std::string& key) {
    const TIni& ini = *Ini;
    const std::string s = Lower(section), k = Lower(key);
    if (s == "personality") {
      for (const char* side : {"left", "right", "top", "bottom"})
        if (k == side)
          return TStrip{ini.Int(section, key + "Frame", 1), k == "top" || k == "bottom"};
      if (k == "menubar") return TStrip{2, true};
      if (k == "textback") return TStrip{2, true};
    }
    if (s.rfind("button", 0) == 0 && s != "buttons" && k == "buttonimage")
      return TStrip{ini.Int(section, "frame", 0), false};
    if (s == "buttons") {
      if (k == "bitmap") return TStrip{5, false};
      if (k == "checkbutton") return TStrip{ini.Int(section, "CheckButtonFrame", 0), false};
      if (k == "radiobutton") return TStrip{ini.Int(section, "RadioButtonFrame", 0), false};
    }
    if (s == "mdicontrols" && k == "image") return TStrip{12, false};
    if (s == "progress" && k == "bitmap")
      return TStrip{ini.Int(section, "Style", 0) != 0 ? 1 : 2, false};
    if (s == "tabs" && k == "border") return TStrip{1, false};
    if ((s == "updown.horz" || s == "updown.vert") && (k == "image" || k == "glyphimage"))
      return TStrip{8, false};
    if (k != "image") return std::nullopt;
    static const std::map<std::string, int> fixed = {
        {"tabs", 5},        {"tab.pane", 1},   {"statusbaredges", 3}, {"combobutton", 4},
        {"extraimages", 5}, {"menuitem", 5},   {"menubackground", 1}, {"scrollbar", 23},
        {"horzscroll", 4},  {"vertscroll", 4}, {"groupbox", 1},       {"groupboxedge", 2},
        {"toolbars", 5},    {"sunkedge", 4}};
    if (const auto it = fixed.find(s); it != fixed.end()) return TStrip{it->second, false};
    if (s.rfind("trackbar.thumb", 0) == 0) return TStrip{5, false};
    if (s == "headerbar") {
      const int frame = ini.Int(section, "Frame", 0);
      return TStrip{frame == 0 ? 5 : frame, false};
    }
    if (s == "horzscrollthumb" || s == "vertscrollthumb")
      return TStrip{ini.Int(section, "FrameCount", 3), false};
    if (s == "progress.chunk" || s == "track" || s == "trackvert")
      return TStrip{ini.Int(section, "Frame", 0), false};
    return std::nullopt;
  }

  static bool IsImageValue(const std::string& value) {
    return value.size() > 4 && Lower(value.substr(value.size() - 4)) == ".bmp";
  }

  static fs::path* Dir;
  static TIni* Ini;
  static std::map<std::string, TBmp>* Images;
};

fs::path* DefaultSkin::Dir = nullptr;
TIni* DefaultSkin::Ini = nullptr;
std::map<std::string, TBmp>* DefaultSkin::Images = nullptr;

TEST_F(DefaultSkin, WritesExactlyTheArchiveImagesAndTheDescription) {
  std::set<std::string> expected(kImageNames.begin(), kImageNames.end());
  expected.insert("skin.ini");
  std::set<std::string> found;
  for (const auto& e : fs::directory_iterator(*Dir))
    found.insert(e.path().filename().string());
  EXPECT_EQ(found, expected);
  EXPECT_EQ(Images->size(), kImageNames.size()) << "every image parses as a 24-bit BMP";
  EXPECT_EQ(ReadFile(*Dir / "skin.ini"), ReadFile(TARNEL_DEFAULT_SKIN_INI))
      << "the description is copied unchanged";
}

TEST_F(DefaultSkin, OutputIsTheSameOnEveryRun) {
  const fs::path again = RunSkingen("b");
  for (const std::string& n : kImageNames)
    EXPECT_EQ(ReadFile(*Dir / n), ReadFile(again / n)) << n;
  fs::remove_all(again);
}

TEST_F(DefaultSkin, DescriptionNamesOnlyGeneratedImagesAndUsesThemAll) {
  std::set<std::string> used;
  for (const std::string& section : Ini->SectionOrder())
    for (const auto& e : Ini->Entries(section)) {
      if (!IsImageValue(e.Value)) continue;
      // The reader refuses an extension in any other letter case.
      EXPECT_EQ(e.Value.substr(e.Value.size() - 4), ".bmp") << section << "/" << e.Key;
      EXPECT_EQ(e.Value, Lower(e.Value)) << section << "/" << e.Key;
      EXPECT_EQ(e.Value.find_first_of("\\:/"), std::string::npos) << section << "/" << e.Key;
      EXPECT_TRUE(Images->count(e.Value)) << section << "/" << e.Key << " names " << e.Value;
      used.insert(e.Value);
    }
  for (const std::string& n : kImageNames)
    EXPECT_TRUE(used.count(n)) << n << " is generated but never named";
}

TEST_F(DefaultSkin, EveryStripDividesIntoItsCellsAndMarginsFitACell) {
  int checked = 0;
  for (const std::string& section : Ini->SectionOrder())
    for (const auto& e : Ini->Entries(section)) {
      if (!IsImageValue(e.Value) || !Images->count(e.Value)) continue;
      const auto strip = StripOf(section, e.Key);
      if (!strip) {
        ADD_FAILURE() << "no cell rule for the image key " << section << "/" << e.Key;
        continue;
      }
      const TBmp& img = Image(e.Value);
      const std::string what = section + "/" + e.Key + " (" + e.Value + ")";
      ASSERT_GE(strip->Cells, 1) << what;
      const int along = strip->Vertical ? img.Height : img.Width;
      EXPECT_EQ(along % strip->Cells, 0)
          << what << ": " << along << " px, " << strip->Cells << " cells";
      const int cw = strip->Vertical ? img.Width : img.Width / strip->Cells;
      const int ch = strip->Vertical ? img.Height / strip->Cells : img.Height;
      // Margins of the element, where the section has them, must leave a middle to stretch.
      if (Lower(section) == "personality") {
        const int first = Ini->Int(section, e.Key + "TopHeight", 0);
        const int second = Ini->Int(section, e.Key + "BotHeight", 0);
        const bool side = Lower(e.Key) == "left" || Lower(e.Key) == "right";
        if (side)
          EXPECT_LT(first + second, ch) << what;
        else if (Lower(e.Key) != "menubar")
          EXPECT_LT(first + second, cw) << what;
        else
          EXPECT_LT(Ini->Int(section, "TileLeftMenu", 1) + Ini->Int(section, "TileRightMenu", 1),
                    cw)
              << what;
      } else if (Lower(e.Key) == "image" || Lower(e.Key) == "bitmap") {
        EXPECT_LT(Ini->Int(section, "LeftWidth", 0) + Ini->Int(section, "RightWidth", 0), cw)
            << what;
        EXPECT_LT(Ini->Int(section, "TopHeight", 0) + Ini->Int(section, "BottomHeight", 0), ch)
            << what;
      }
      ++checked;
    }
  EXPECT_GE(checked, static_cast<int>(kImageNames.size()));
}

TEST_F(DefaultSkin, TransparentKeyIsExactAndHasNoPinkFringe) {
  for (const auto& [name, img] : *Images)
    for (int y = 0; y < img.Height; ++y)
      for (int x = 0; x < img.Width; ++x) {
        const TRgb c = img.At(x, y);
        if (IsKey(c)) continue;
        // Region building treats green 0..1 as the key too; a blend with the key shows pink.
        const bool nearKey = c.R == 255 && c.G <= 1 && c.B == 255;
        const bool pinkish = c.R >= 200 && c.B >= 200 && c.G + 60 < std::min(c.R, c.B);
        if (nearKey || pinkish) {
          ADD_FAILURE() << name << " (" << x << ", " << y << ") = " << c.R << " " << c.G << " "
                        << c.B;
          return;
        }
      }
}

TEST_F(DefaultSkin, TheProgramsOwnReadersSeeTheSameSkin) {
  // The description through the skin's INI reader, the images through its BMP decoder.
  const auto iniBytes = ReadFile(*Dir / "skin.ini");
  TQuickIni quick;
  quick.LoadFromStream(iniBytes.data(), iniBytes.size());
  int keys = 0;
  for (const std::string& section : Ini->SectionOrder())
    for (const auto& e : Ini->Entries(section)) {
      EXPECT_EQ(quick.ReadString(section, e.Key, "?"), e.Value.empty() ? "?" : e.Value)
          << section << "/" << e.Key;
      ++keys;
    }
  EXPECT_GT(keys, 100);
  for (const auto& [name, img] : *Images) {
    const auto bytes = ReadFile(*Dir / name);
    BmpFile::TBmpImage decoded;
    ASSERT_TRUE(BmpFile::Decode(bytes.data(), bytes.size(), decoded)) << name;
    ASSERT_EQ(decoded.Width, img.Width) << name;
    ASSERT_EQ(decoded.Height, img.Height) << name;
    EXPECT_EQ(decoded.BitsPerPixel, 24) << name;
    for (int y = 0; y < img.Height; ++y)
      for (int x = 0; x < img.Width; ++x) {
        const TRgb c = img.At(x, y);
        const auto rgb = static_cast<std::uint32_t>(c.R << 16 | c.G << 8 | c.B);
        ASSERT_EQ(decoded.PixelRGB(x, y), rgb) << name << " (" << x << ", " << y << ")";
      }
  }
}

// A colour text of the description: the first three decimal numbers, any separators.
std::optional<TRgb> ColourText(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  std::vector<int> n;
  for (std::size_t i = 0; i < text->size() && n.size() < 3;) {
    if (!std::isdigit(static_cast<unsigned char>((*text)[i]))) {
      ++i;
      continue;
    }
    int v = 0;
    while (i < text->size() && std::isdigit(static_cast<unsigned char>((*text)[i])))
      v = v * 10 + ((*text)[i++] - '0');
    n.push_back(v & 0xFF);
  }
  if (n.size() < 3) return std::nullopt;
  return TRgb{n[0], n[1], n[2]};
}

bool operator==(TRgb a, TRgb b) {
  return a.R == b.R && a.G == b.G && a.B == b.B;
}

std::ostream& operator<<(std::ostream& os, TRgb c) {
  return os << c.R << " " << c.G << " " << c.B;
}

TEST_F(DefaultSkin, ColourTableMatchesTheFlatAreasOfTheImages) {
  // Surfaces drawn both from the colour table and from images must not show a seam.
  const auto face = ColourText(Ini->Get("Colours", "ButtonFace"));
  const auto menu = ColourText(Ini->Get("Colours", "Menu"));
  const auto scroll = ColourText(Ini->Get("Colours", "Scrollbar"));
  ASSERT_TRUE(face && menu && scroll);
  const TBmp& pane = Image(*Ini->Get("Tab.Pane", "Image"));
  EXPECT_EQ(pane.At(pane.Width / 2, pane.Height / 2), *face) << "page background";
  const TBmp& status = Image(*Ini->Get("StatusBarEdges", "Image"));
  EXPECT_EQ(status.At(status.Width / 3 + 2, status.Height / 2), *face) << "status bar panel";
  const TBmp& menuBack = Image(*Ini->Get("MenuBackground", "Image"));
  EXPECT_EQ(menuBack.At(menuBack.Width / 2, menuBack.Height / 2), *menu) << "menu background";
  const TBmp& track = Image(*Ini->Get("VertScroll", "Image"));
  EXPECT_EQ(track.At(track.Width / 8, track.Height / 2), *scroll) << "scroll bar track";
  const auto active = ColourText(Ini->Get("Colours", "TitleTextActive"));
  ASSERT_TRUE(active);
  const TRgb fromKeys{Ini->Int("Personality", "ActiveTextR", -1),
                      Ini->Int("Personality", "ActiveTextG", -1),
                      Ini->Int("Personality", "ActiveTextB", -1)};
  EXPECT_EQ(fromKeys, *active);
}

TEST_F(DefaultSkin, FrameSidesAndCaptionButtonsFitTheTitleBar) {
  const TIni& ini = *Ini;
  const TBmp& left = Image(*ini.Get("Personality", "Left"));
  const TBmp& right = Image(*ini.Get("Personality", "Right"));
  const TBmp& top = Image(*ini.Get("Personality", "Top"));
  const TBmp& bottom = Image(*ini.Get("Personality", "Bottom"));
  const int titleHeight = top.Height / ini.Int("Personality", "TopFrame", 1);
  const int borderRight = right.Width / ini.Int("Personality", "RightFrame", 1);
  // The side borders run beside the whole title band, and all sides are equally tall.
  EXPECT_EQ(ini.Int("Personality", "LeftTopHeight", 0), titleHeight);
  EXPECT_EQ(ini.Int("Personality", "RightTopHeight", 0), titleHeight);
  EXPECT_EQ(left.Height, right.Height);
  EXPECT_EQ(ini.Int("Personality", "LeftBotHeight", 0),
            bottom.Height / ini.Int("Personality", "BottomFrame", 1));
  EXPECT_GE(titleHeight, 24);
  EXPECT_LE(titleHeight, 32);
  // Rounded top corners: the outermost corner pixels are transparent, the title band is not.
  for (int cell = 0; cell < 2; ++cell) {
    EXPECT_TRUE(IsKey(left.At(cell * left.Width / 2, 0)));
    EXPECT_TRUE(IsKey(right.At((cell + 1) * right.Width / 2 - 1, 0)));
    EXPECT_FALSE(IsKey(top.At(top.Width / 2, cell * titleHeight + titleHeight / 2)));
  }

  int buttons = 0;
  for (const std::string& section : ini.SectionOrder()) {
    const std::string s = Lower(section);
    if (s.rfind("button", 0) != 0 || s == "buttons" || !ini.Get(section, "ButtonImage")) continue;
    const TBmp& img = Image(*ini.Get(section, "ButtonImage"));
    const int y = ini.Int(section, "Ycoord", 0);
    EXPECT_GE(y, 0) << section;
    EXPECT_LE(y + img.Height, titleHeight) << section;
    // Four cells: normal, pressed, hot, and the inactive or disabled look.
    EXPECT_EQ(ini.Int(section, "frame", 0), 4) << section;
    if (ini.Int(section, "Align", 0) == 1) {
      const int x = ini.Int(section, "Xcoord", 0);
      EXPECT_GE(x - img.Width / 4, borderRight) << section << " overlaps the right border";
      EXPECT_LE(x, 100) << section;
    }
    ++buttons;
  }
  // Close, maximize, minimize, restore and context help.
  EXPECT_EQ(buttons, 5);
}

} // namespace
