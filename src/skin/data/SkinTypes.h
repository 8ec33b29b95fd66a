// Enumerations shared by the skin data component, the skin manager and the skinners.
#pragma once

// What kinds of controls a skin data component skins (bit i of SkinControls is member i).
enum TSkinControlType {
  xcMainMenu,
  xcPopupMenu,
  xcMenuItem,
  xcToolbar,
  xcControlbar,
  xcCombo,
  xcCheckBox,
  xcRadioButton,
  xcProgress,
  xcScrollbar,
  xcEdit,
  xcButton,
  xcBitBtn,
  xcSpeedButton,
  xcSpin,
  xcPanel,
  xcGroupBox,
  xcStatusBar,
  xcTab,
  xcTrackBar,
  xcSystemMenu,
  xcFastReport
};

// Options of a skin data component (bit i of Options is member i).
enum TSkinOption {
  xoMDIScrollbar,
  xoMenuMerge,
  xoTransparent,
  xoPreview,
  xoParentBackGround,
  xoNoFocusRect,
  xoToolbarBK,
  xoToolbarButton,
  xoMDIChildBorder,
  xoMenuBG,
  xoCaptionButtonHint,
  xoFormScrollbar
};

enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

// Requests the skin manager carries out through its one-shot timer.
enum TSkinRequest { srActivate = 1, srDeactivate = 2, srRefresh = 3 };

constexpr unsigned SkinBit(int member) {
  return 1u << member;
}
