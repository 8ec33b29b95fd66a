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

// The skin manager's activation state: nothing activated yet, activated (a form was activated
// or activation was asked for at run time), or the manager is being destroyed.
enum TActivationState { asNone = 0, asActivated = 1, asDestroying = 4 };

// What the next popup menu window belongs to, as the menu skinners announce it: an ordinary
// popup menu, a drop-down of a menu bar, or a system menu.
enum TPopupKind { mkPopupMenu = 0, mkMenuBarDropDown = 1, mkSystemMenu = 2 };

// The life of a form skinner: made, skinning, refreshing, releasing, re-framing, released.
enum TSkinState {
  stNew = 0,
  stActive = 1,
  stRefreshing = 3,
  stReleasing = 4,
  stReframing = 5,
  stReleased = 6
};
