// Colours and fonts of the toolkit: the colour model (packed RGB or a system colour index), colour
// names, and fonts whose handles are made on first use.
#pragma once
#include "Classes.h"
#include "Handles.h"

#include <string>
#include <string_view>

// A colour: 0 or more is packed RGB; a negative value is a system colour whose low 8 bits
// index GetSysColor.
using TColor = int32_t;
constexpr TColor SysColor(int index) {
  return static_cast<TColor>(0x80000000u | unsigned(index));
}
constexpr TColor clBlack = 0x000000, clWhite = 0xFFFFFF, clMaroon = 0x000080, clRed = 0x0000FF,
                 clBlue = 0xFF0000, clGreen = 0x008000, clGray = 0x808080, clSilver = 0xC0C0C0,
                 clNavy = 0x800000, clFuchsia = 0xFF00FF, clNone = 0x1FFFFFFF;
constexpr TColor clBtnFace = SysColor(COLOR_BTNFACE), clWindow = SysColor(COLOR_WINDOW),
                 clWindowText = SysColor(COLOR_WINDOWTEXT), clBtnText = SysColor(COLOR_BTNTEXT),
                 clHighlight = SysColor(COLOR_HIGHLIGHT),
                 clHighlightText = SysColor(COLOR_HIGHLIGHTTEXT),
                 clBtnShadow = SysColor(COLOR_BTNSHADOW),
                 clBtnHighlight = SysColor(COLOR_BTNHIGHLIGHT),
                 clGrayText = SysColor(COLOR_GRAYTEXT), clMenu = SysColor(COLOR_MENU),
                 clMenuText = SysColor(COLOR_MENUTEXT), clInfoBk = SysColor(COLOR_INFOBK);
COLORREF ColorToRGB(TColor color);
std::string ColorToString(TColor color);
TColor StringToColor(const std::string& text); // names such as "clBtnFace", or a number

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TFont {
public:
  TFont() = default;
  TFont(const TFont&) = delete;
  TFont& operator=(const TFont&) = delete;
  void Assign(const TFont& other);

  std::string Name = "MS Sans Serif";
  int Height = -11; // negative: character height in pixels; positive: cell height
  int Charset = DEFAULT_CHARSET;
  TColor Color = clWindowText;
  unsigned Style = 0;

  HFONT Handle() const; // made on first use, remade after Changed()
  void Changed();
  std::function<void()> OnChange;

private:
  mutable TFontHandle FHandle;
};

// Sets one field of a font from a "Font.Xxx" property name; returns false when unknown.
bool SetFontProp(TFont& font, std::string_view field, const std::string& value);
std::string GetFontProp(const TFont& font, std::string_view field, bool* found);
