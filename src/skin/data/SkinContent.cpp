// Skin element objects, colour texts and the bookkeeping of a loaded content (taking over a
// freshly loaded one, listing and finding elements); SkinElements.cpp reads a description into
// them.
#include "SkinElements.h"
#include "TextCase.h"

#include <algorithm>
#include <utility>

// ---------------------------------------------------------------------------------------------
// Elements

int TDataSkinObject::CellWidth() const {
  return Image.Width() / std::max(FrameCount, 1);
}

RECT TDataSkinObject::CellRect(int index) const {
  const int count = std::max(FrameCount, 1);
  index = std::clamp(index, 0, count - 1);
  const int w = CellWidth();
  return RECT{index * w, 0, index * w + w, Image.Height()};
}

// ---------------------------------------------------------------------------------------------
// Colours

TColor StrToColour(std::string_view text) {
  int values[3] = {0, 0, 0};
  int count = 0;
  bool inNumber = false;
  for (char ch : text) {
    if (ch >= '0' && ch <= '9') {
      if (!inNumber) {
        inNumber = true;
        ++count;
      }
      // Only the low 8 bits of each number are kept; they follow from the digits alone.
      if (count <= 3) values[count - 1] = (values[count - 1] * 10 + (ch - '0')) & 0xFF;
    } else {
      inNumber = false;
    }
  }
  return values[0] | (values[1] << 8) | (values[2] << 16);
}

// ---------------------------------------------------------------------------------------------
// TSkinContent

void TSkinContent::TakeOver(TSkinContent& other) {
  if (&other == this) return;
  std::swap(SkinName, other.SkinName);
  std::swap(Left, other.Left);
  std::swap(Right, other.Right);
  std::swap(Top, other.Top);
  std::swap(Bottom, other.Bottom);
  std::swap(Buttons, other.Buttons);
  std::swap(Title, other.Title);
  std::swap(Progress, other.Progress);
  std::swap(ProgressChunk, other.ProgressChunk);
  std::swap(MenuBar, other.MenuBar);
  std::swap(GroupBoxEdge, other.GroupBoxEdge);
  std::swap(GroupBox, other.GroupBox);
  std::swap(Tabs, other.Tabs);
  std::swap(StatusBarEdges, other.StatusBarEdges);
  std::swap(TabPane, other.TabPane);
  std::swap(ToolBars, other.ToolBars);
  std::swap(ComboButton, other.ComboButton);
  std::swap(SunkEdge, other.SunkEdge);
  std::swap(ExtraImages, other.ExtraImages);
  std::swap(Headerbar, other.Headerbar);
  std::swap(MenuItem, other.MenuItem);
  std::swap(MenuBackground, other.MenuBackground);
  std::swap(Scrollbar, other.Scrollbar);
  std::swap(HorzScroll, other.HorzScroll);
  std::swap(VertScroll, other.VertScroll);
  std::swap(HorzScrollThumb, other.HorzScrollThumb);
  std::swap(VertScrollThumb, other.VertScrollThumb);
  std::swap(TrackbarThumbHorz, other.TrackbarThumbHorz);
  std::swap(TrackbarThumbVert, other.TrackbarThumbVert);
  std::swap(TrackbarThumbLeft, other.TrackbarThumbLeft);
  std::swap(TrackbarThumbRight, other.TrackbarThumbRight);
  std::swap(TrackbarThumbUp, other.TrackbarThumbUp);
  std::swap(TrackbarThumbDown, other.TrackbarThumbDown);
  std::swap(UpDownHorz, other.UpDownHorz);
  std::swap(UpDownVert, other.UpDownVert);
  std::swap(Track, other.Track);
  std::swap(TrackVert, other.TrackVert);
  std::swap(ComboxArrow, other.ComboxArrow);
  std::swap(Toolbar, other.Toolbar);
  std::swap(CaptionButtons, other.CaptionButtons);
  std::swap(Colours, other.Colours);
  std::swap(ColourDefined, other.ColourDefined);
  std::swap(ExtraColours, other.ExtraColours);
  std::swap(CustomColours, other.CustomColours);
  std::swap(FButtonFaceBrush, other.FButtonFaceBrush);
}

std::vector<TDataSkinObject*> TSkinContent::Elements() const {
  auto* self = const_cast<TSkinContent*>(this);
  std::vector<TDataSkinObject*> all{&self->Left,   &self->Right,   &self->Top,
                                    &self->Bottom, &self->Buttons, &self->Title};
  for (TDataSkinObject* e : {static_cast<TDataSkinObject*>(Progress.get()),
                             ProgressChunk.get(),
                             MenuBar.get(),
                             GroupBoxEdge.get(),
                             static_cast<TDataSkinObject*>(GroupBox.get()),
                             static_cast<TDataSkinObject*>(Tabs.get()),
                             StatusBarEdges.get(),
                             TabPane.get(),
                             ToolBars.get(),
                             static_cast<TDataSkinObject*>(ComboButton.get()),
                             SunkEdge.get(),
                             ExtraImages.get(),
                             Headerbar.get(),
                             MenuItem.get(),
                             MenuBackground.get(),
                             Scrollbar.get(),
                             HorzScroll.get(),
                             VertScroll.get(),
                             HorzScrollThumb.get(),
                             VertScrollThumb.get(),
                             TrackbarThumbHorz.get(),
                             TrackbarThumbVert.get(),
                             TrackbarThumbLeft.get(),
                             TrackbarThumbRight.get(),
                             TrackbarThumbUp.get(),
                             TrackbarThumbDown.get(),
                             static_cast<TDataSkinObject*>(UpDownHorz.get()),
                             static_cast<TDataSkinObject*>(UpDownVert.get()),
                             Track.get(),
                             TrackVert.get(),
                             ComboxArrow.get(),
                             Toolbar.get()})
    if (e) all.push_back(e);
  return all;
}

TDataSkinObject* TSkinContent::FindElement(std::string_view name) const {
  for (TDataSkinObject* e : Elements())
    if (TextCase::Same(e->Name, name)) return e;
  return nullptr;
}
