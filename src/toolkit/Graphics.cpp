#include "Graphics.h"

COLORREF ColorToRGB(TColor color) {
  if (color < 0) return GetSysColor(color & 0xFF);
  return static_cast<COLORREF>(color & 0xFFFFFF);
}

namespace {
struct TColorName {
  const char* Name;
  TColor Value;
};
const TColorName kColorNames[] = {
    {"clBlack", clBlack},
    {"clWhite", clWhite},
    {"clMaroon", clMaroon},
    {"clRed", clRed},
    {"clBlue", clBlue},
    {"clGreen", clGreen},
    {"clGray", clGray},
    {"clSilver", clSilver},
    {"clNavy", clNavy},
    {"clFuchsia", clFuchsia},
    {"clNone", clNone},
    {"clBtnFace", clBtnFace},
    {"clWindow", clWindow},
    {"clWindowText", clWindowText},
    {"clBtnText", clBtnText},
    {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText},
    {"clBtnShadow", clBtnShadow},
    {"clBtnHighlight", clBtnHighlight},
    {"clGrayText", clGrayText},
    {"clMenu", clMenu},
    {"clMenuText", clMenuText},
    {"clInfoBk", clInfoBk},
};
} // namespace

std::string ColorToString(TColor color) {
  for (const auto& c : kColorNames)
    if (c.Value == color) return c.Name;
  return std::to_string(color);
}

TColor StringToColor(const std::string& text) {
  for (const auto& c : kColorNames)
    if (text == c.Name) return c.Value;
  char* end = nullptr;
  long long v = std::strtoll(text.c_str(), &end, 0);
  if (text.empty() || (end && *end)) throw Exception("Invalid colour " + text);
  return static_cast<TColor>(v);
}

void TFont::Assign(const TFont& other) {
  Name = other.Name;
  Height = other.Height;
  Charset = other.Charset;
  Color = other.Color;
  Style = other.Style;
  Changed();
}

HFONT TFont::Handle() const {
  if (!FHandle) {
    LOGFONTA lf{};
    lf.lfHeight = Height;
    lf.lfWeight = (Style & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (Style & fsItalic) ? 1 : 0;
    lf.lfUnderline = (Style & fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = (Style & fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = static_cast<BYTE>(Charset);
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(lf.lfFaceName, Name.c_str(), LF_FACESIZE);
    FHandle.Reset(CreateFontIndirectA(&lf));
  }
  return FHandle.Get();
}

void TFont::Changed() {
  FHandle.Reset();
  if (OnChange) OnChange();
}

static const std::vector<const char*> kFontStyles{"fsBold", "fsItalic", "fsUnderline",
                                                  "fsStrikeOut"};

bool SetFontProp(TFont& font, std::string_view field, const std::string& value) {
  if (field == "Name")
    font.Name = value;
  else if (field == "Height")
    font.Height = std::stoi(value);
  else if (field == "Charset")
    font.Charset = value == "DEFAULT_CHARSET"  ? DEFAULT_CHARSET
                   : value == "GB2312_CHARSET" ? GB2312_CHARSET
                   : value == "ANSI_CHARSET"   ? ANSI_CHARSET
                                               : std::stoi(value);
  else if (field == "Color")
    font.Color = StringToColor(value);
  else if (field == "Style")
    font.Style = StringToSet(kFontStyles, value);
  else
    return false;
  font.Changed();
  return true;
}

std::string GetFontProp(const TFont& font, std::string_view field, bool* found) {
  *found = true;
  if (field == "Name") return font.Name;
  if (field == "Height") return std::to_string(font.Height);
  if (field == "Charset") return std::to_string(font.Charset);
  if (field == "Color") return ColorToString(font.Color);
  if (field == "Style") return SetToString(kFontStyles, font.Style);
  *found = false;
  return {};
}
