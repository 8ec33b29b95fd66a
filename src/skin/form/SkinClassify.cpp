// The form skinner's child controls: which skinner each control of a skinned window gets, the
// list of those skinners and their release.
#include "WinSkinForm.h"
#include "WinSkinData.h"
#include "SkinButtons.h"
#include "SkinCheckRadio.h"
#include "SkinCombo.h"
#include "SkinDateTime.h"
#include "SkinEdit.h"
#include "SkinListView.h"
#include "SkinPanels.h"
#include "SkinTabs.h"
#include "SkinToolBar.h"
#include "WinSubClass.h"

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Lower(std::string s) {
  for (char& c : s)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string Upper(std::string s) {
  for (char& c : s)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool Has(const TSkinData& data, TSkinControlType type) {
  return (data.SkinControls() & SkinBit(type)) != 0;
}

bool HasTabs(const TSkinData& data) {
  return data.Tabs && !data.Tabs->Image.Empty();
}

TControlClass Make(TControlSkinKind kind, bool recolor = false, int variant = 0) {
  TControlClass c;
  c.Kind = kind;
  c.Recolor = recolor;
  c.Variant = variant;
  return c;
}

// A windowed control with a border: its window and client rectangles differ in size.
bool HasBorder(const TControl& control) {
  auto* wc = dynamic_cast<const TWinControl*>(&control);
  HWND wnd = wc ? wc->WindowHandle() : nullptr;
  if (!wnd) return false;
  RECT w{}, c{};
  GetWindowRect(wnd, &w);
  GetClientRect(wnd, &c);
  return (w.right - w.left) != c.right || (w.bottom - w.top) != c.bottom;
}

bool Scrollable(const TControl& control) {
  auto* wc = dynamic_cast<const TWinControl*>(&control);
  if (!wc) return false;
  if (HWND wnd = wc->WindowHandle())
    if (GetWindowLongPtrA(wnd, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) return true;
  return control.InheritsFrom("TCustomListBox") || control.InheritsFrom("TCustomMemo") ||
         control.InheritsFrom("TCustomTreeView") || control.InheritsFrom("TScrollBox");
}

// The kind a Skin3rd line gives the class, or false when no line names it.
bool Skin3rdKind(const TSkinData& data, const std::string& upperName, std::string& kind) {
  const std::string key = Lower(upperName) + "=";
  for (const std::string& line : data.Skin3rd()) {
    const std::string lower = Lower(line);
    if (lower.compare(0, key.size(), key) != 0) continue;
    kind = lower.substr(lower.find('=') + 1, 50);
    return true;
  }
  return false;
}

TControlClass FromSkin3rd(const TControl& control, const TSkinData& data, const std::string& n,
                          const std::string& kind) {
  TControlClass none;
  none.BySkin3rd = true;
  auto need = [&](TSkinControlType type, TControlClass c) {
    c.BySkin3rd = true;
    return Has(data, type) ? c : none;
  };
  if (kind == "nil") return none;
  if (kind == "combobox") return need(xcCombo, Make(ckComboBox));
  if (kind == "comboboxex") return need(xcCombo, Make(ckComboBoxEx));
  if (kind == "edit") return HasBorder(control) ? need(xcEdit, Make(ckEdit)) : none;
  if (kind == "radiobutton") return need(xcRadioButton, Make(ckRadioButton));
  if (kind == "panel") return need(xcPanel, Make(ckBox, true, 1));           // made transparent
  if (kind == "trackbar") return need(xcButton, Make(ckTrackBar, false, 1)); // transparent
  if (kind == "button") return need(xcButton, Make(ckButton));
  if (kind == "datetimepicker") return need(xcCombo, Make(ckDateTime));
  if (kind == "mediaplayer") return need(xcButton, Make(ckMediaPlayer));
  if (kind == "bitbtn") {
    const bool dropDown =
        n == "TCXBUTTON" && Lower(GetPropValue(&control, "Kind")) == "cxbkdropdownbutton";
    return need(xcButton, Make(dropDown ? ckMenuButton : ckBitButton));
  }
  if (kind == "pngbitbtn" || kind == "pngspeedbutton") {
    TControlClass c = Make(kind == "pngbitbtn" ? ckBitButton : ckSpeedButton);
    c.ImageProperty = "PngImage";
    return need(xcButton, c);
  }
  if (kind == "menubtn") return need(xcButton, Make(ckMenuButton));
  if (kind == "speedbutton") return need(xcSpeedButton, Make(ckSpeedButton));
  if (kind == "tab") return HasTabs(data) ? need(xcTab, Make(ckTab)) : none;
  if (kind == "progress") return need(xcProgress, Make(ckProgress));
  if (kind == "scrollbar") {
    TControlClass c = Make(ckScrollbar);
    c.ChildrenAfter = true;
    return need(xcScrollbar, c);
  }
  if (kind == "singlescrollbar") return need(xcScrollbar, Make(ckSingleScrollbar));
  if (kind == "embedscrollbar") return need(xcScrollbar, Make(ckEmbedScrollbar));
  if (kind == "container") {
    TControlClass c = Make(ckContainer);
    c.ChildrenAfter = true;
    c.BySkin3rd = true;
    return c;
  }
  if (kind == "groupbox") return need(xcGroupBox, Make(ckGroupBox, true));
  if (kind == "advpagecontrol") return need(xcTab, Make(ckAdvPage, true, 4));
  if (kind == "radiogroup") return need(xcGroupBox, Make(ckRadioGroup, true));
  if (kind == "checkgroup") return need(xcPanel, Make(ckCheckGroup, true));
  if (kind == "checkbox") return need(xcCheckBox, Make(ckCheckBox));
  return none; // an unknown kind handles the control and leaves it unskinned
}

TControlClass BuiltIn(const TControl& c, const TSkinData& data, bool skinNC, const std::string& n) {
  auto is = [&](const char* cls) { return c.InheritsFrom(cls); };
  auto named = [&](std::initializer_list<const char*> names) {
    return std::any_of(names.begin(), names.end(), [&](const char* x) { return n == x; });
  };
  const bool tabs = Has(data, xcTab) && HasTabs(data);
  if (is("TCustomTabControl") && tabs) {
    if (!is("TPageControl")) return Make(ckTab, false, 2);
    const std::string style = Lower(GetPropValue(&c, "Style"));
    return Make(!style.empty() && style != "tstabs" ? ckTabBtn : ckTab);
  }
  if (is("TToolButton") && skinNC) return Make(ckToolButton);
  if (is("TCoolBar") && Has(data, xcToolbar)) return Make(ckCoolBar);
  if (n == "TTABSET" && tabs) return Make(ckTab31);
  if (is("TTabSheet") && tabs) return Make(ckTabSheet);
  if (n == "TTABBEDNOTEBOOK" && tabs) return Make(ckTab);
  if (n == "TMVCPANEL") {
    TControlClass r = Make(ckContainer);
    r.ChildrenAfter = true;
    return r;
  }
  if (is("THeaderControl") && Has(data, xcPanel)) return Make(ckHeader);
  if (is("TCustomCheckBox") && Has(data, xcCheckBox)) return Make(ckCheckBox);
  if (is("TTrackBar") && Has(data, xcTrackBar)) return Make(ckTrackBar);
  if (named({"TUPDOWN", "TSPINBUTTON"}) && Has(data, xcSpin)) return Make(ckUpDown);
  if (n == "TMEDIAPLAYER" && Has(data, xcButton)) return Make(ckMediaPlayer);
  if (is("TCustomRadioGroup") && Has(data, xcRadioButton)) return Make(ckRadioGroup, true);
  if (n == "TDBNAVIGATOR" && Has(data, xcPanel)) {
    TControlClass r = Make(ckBox, true);
    r.ChildrenAfter = true;
    return r;
  }
  if (named({"TRZDBCHECKBOX", "TRZCHECKBOX"}) && Has(data, xcCheckBox))
    return Make(ckObjImage, true, 1);
  if (named({"TRZRADIOBUTTON", "TRZDBRADIOBUTTON"}) && Has(data, xcRadioButton))
    return Make(ckObjImage, true, 2);
  if (named({"TCXDBCHECKBOX", "TCXCHECKBOX"}) && Has(data, xcCheckBox))
    return Make(ckObjImage, true, 3);
  if (is("TCustomGroupBox") && Has(data, xcPanel)) {
    TControlClass r = Make(ckGroupBox);
    r.ChildrenFirst = true;
    return r;
  }
  if (is("TRadioButton") && Has(data, xcRadioButton)) return Make(ckRadioButton);
  if (is("TToolBar") && Has(data, xcToolbar)) return Make(ckToolBar);
  if (is("TCustomStatusBar") && Has(data, xcStatusBar)) return Make(ckStatusBar);
  if (is("TProgressBar") && Has(data, xcProgress)) return Make(ckProgress);
  if (is("TScrollBar") && Has(data, xcScrollbar)) return Make(ckScControl);
  if (n == "TTNTCOMBOBOX" && Has(data, xcCombo)) return Make(ckComboBox);
  if (is("TCustomComboBox") && Has(data, xcCombo)) return Make(ckComboBox);
  if (is("TDateTimePicker") && Has(data, xcEdit)) {
    const bool upDown = Lower(GetPropValue(&c, "DateMode")) == "dmupdown" ||
                        Lower(GetPropValue(&c, "Kind")) == "dtktime";
    return Make(upDown ? ckEdit : ckDateTime);
  }
  if (n == "TRICHEDIT" && Has(data, xcScrollbar)) return Make(ckScrollbar);
  if (named({"TWWDBRICHEDIT", "TDXDBMEMO"}) && Has(data, xcScrollbar)) return Make(ckScrollbar);
  // A bitmap button is never skinned as a plain button.
  if (is("TBitBtn")) return Has(data, xcBitBtn) ? Make(ckBitButton) : Make(ckNone);
  if (is("TSpeedButton") && Has(data, xcSpeedButton)) return Make(ckSpeedButton);
  if (is("TCustomPanel") && Has(data, xcPanel)) {
    TControlClass r = Make(ckBox, true);
    r.ChildrenFirst = true;
    return r;
  }
  if (named({"TDXTREELIST", "TDXDBTREELIST", "TDXDBGRID"}) && Has(data, xcScrollbar))
    return Make(ckScrollbar);
  if (is("TCustomListView") && Has(data, xcScrollbar)) return Make(ckListView);
  if (is("TCustomMemo") && Has(data, xcScrollbar)) return Make(ckScrollbar);
  if (is("TCustomGrid") && Has(data, xcScrollbar)) return Make(ckScrollbar);
  if (Scrollable(c) && Has(data, xcScrollbar)) return Make(ckScrollbar);
  if (is("TButton") && Has(data, xcButton)) return Make(ckButton);
  if (is("TCustomEdit") && Has(data, xcEdit)) return Make(ckEdit);
  if (!named({"TDCEDIT", "TDCDBEDIT"})) {
    if (is("TCustomFrame")) return Make(ckFrame);
    if (is("TCustomForm")) return Make(ckEmbeddedForm, true);
    return Make(ckNone);
  }
  const int buttons = GetOrdProp(&c, "NumButtons");
  if (buttons == 1 && Has(data, xcCombo)) return Make(ckComboBox);
  if (buttons == 0 && Has(data, xcEdit)) return Make(ckEditByHandle);
  return Make(ckNone);
}
} // namespace

TControlClass DecideControlClass(const TControl& control, const TSkinData& data, bool skinNC) {
  const std::string n = Upper(control.ClassName());
  if (std::string kind; Skin3rdKind(data, n, kind)) return FromSkin3rd(control, data, n, kind);
  if (n == "TDBCOMBOBOXEH" || n == "TFRDESIGNERPAGE" || n == "TFRPBOX") return Make(ckNone);
  return BuiltIn(control, data, skinNC, n);
}

TControlClass DecideWindowClass(const std::string& c, DWORD s, const TSkinData& data) {
  if (c == "button") {
    // The button type is the low four bits of the style, one value per type.
    const DWORD type = s & 0xF;
    if (type == BS_OWNERDRAW || type == BS_GROUPBOX || (s & BS_BITMAP)) return Make(ckNone);
    switch (type) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
      return Has(data, xcCheckBox) ? Make(ckCheckBox) : Make(ckNone);
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return Has(data, xcRadioButton) ? Make(ckRadioButton) : Make(ckNone);
    default:
      return Has(data, xcButton) ? Make(ckButton) : Make(ckNone);
    }
  }
  const bool tabStop = (s & WS_TABSTOP) != 0;
  if (c == "combobox" && Has(data, xcCombo))
    return (s & 3) == CBS_SIMPLE ? Make(ckNone) : Make(ckComboBox);
  if (c == "comboboxex32" && Has(data, xcCombo)) return Make(ckComboBoxEx);
  if (c == "scrollbar" && !tabStop) return Make(ckSizer);
  if (c == "systreeview32") return Make(ckNone);
  if (c == "#32770" && !tabStop) {
    TControlClass r = Make(ckDialog);
    r.ChildrenFirst = true;
    return r;
  }
  if (c == "tpanel" || c == "ttntpanel.unicodeclass" || c == "ttntsilentpaintpanel.unicodeclass") {
    TControlClass r = Make(ckRawPanel);
    r.ChildrenFirst = true;
    return r;
  }
  if (c == "tcheckbox" && Has(data, xcCheckBox)) return Make(ckCheckBox);
  if (c == "tcombobox" && Has(data, xcCombo)) return Make(ckComboBox);
  if (c == "tbutton" && Has(data, xcButton)) return Make(ckButton);
  if (c == "tprogressbar") return Make(ckProgress);
  if (c == "tsilentpaintpanel") return Make(ckRawPanel);
  if (c == "systabcontrol32" && Has(data, xcTab) && !(s & 0x2000)) return Make(ckTab);
  if (c == "toolbarwindow32") return Make(ckBoxH);
  if (c == "edit" && Has(data, xcEdit)) return Make(ckEdit);
  return Make(ckNone);
}

const char* ControlSkinKindName(TControlSkinKind kind) {
  static const char* const kNames[] = {"none",
                                       "Button",
                                       "BitButton",
                                       "SpeedButton",
                                       "MenuButton",
                                       "CheckBox",
                                       "RadioButton",
                                       "ComboBox",
                                       "ComboBoxEx",
                                       "Edit",
                                       "EditByHandle",
                                       "DateTime",
                                       "Tab",
                                       "TabBtn",
                                       "Tab31",
                                       "TabSheet",
                                       "AdvPage",
                                       "Header",
                                       "TrackBar",
                                       "UpDown",
                                       "MediaPlayer",
                                       "GroupBox",
                                       "RadioGroup",
                                       "CheckGroup",
                                       "Box",
                                       "BoxH",
                                       "ToolBar",
                                       "StatusBar",
                                       "Progress",
                                       "ScControl",
                                       "Scrollbar",
                                       "SingleScrollbar",
                                       "EmbedScrollbar",
                                       "ListView",
                                       "ObjImage",
                                       "Sizer",
                                       "Container",
                                       "ToolButton",
                                       "CoolBar",
                                       "Frame",
                                       "EmbeddedForm",
                                       "Dialog",
                                       "RawPanel"};
  static_assert(sizeof kNames / sizeof kNames[0] == ckRawPanel + 1);
  return kind >= ckNone && kind <= ckRawPanel ? kNames[kind] : "?";
}

// ---------------------------------------------------------------------------------------------
// The list of control skinners

bool TWinSkinForm::AddControl(TSkinControl* skinner) {
  if (!skinner) return false;
  if (std::find(FControls.begin(), FControls.end(), skinner) != FControls.end()) return true;
  FControls.push_back(skinner);
  return false;
}

void TWinSkinForm::RemoveControl(TSkinControl* skinner) {
  auto it = std::find(FControls.rbegin(), FControls.rend(), skinner);
  if (it != FControls.rend()) FControls.erase(std::next(it).base());
}

TSkinControl* TWinSkinForm::FindByHandle(HWND wnd) const {
  for (TSkinControl* s : FControls)
    if (s->Handle == wnd) return s;
  return nullptr;
}

TSkinControl* TWinSkinForm::FindByControl(const TControl* control) const {
  for (TSkinControl* s : FControls)
    if (s->Control == control) return s;
  return nullptr;
}

void TWinSkinForm::PurgeDestroyed() {
  std::vector<TSkinControl*> gone;
  for (TSkinControl* s : FControls)
    if (s->LifeState == 6) gone.push_back(s);
  for (TSkinControl* s : gone) {
    RemoveControl(s);
    s->Form = nullptr;
    TSkinControl::Free(s);
  }
}

void TWinSkinForm::ReplaceScrollSkinner(HWND wnd) {
  if (!wnd || !FSkinData) return;
  auto it = std::find_if(FControls.rbegin(), FControls.rend(),
                         [&](TSkinControl* s) { return s->Handle == wnd; });
  if (it == FControls.rend()) return;
  TSkinControl* old = *it;
  auto* scroller = dynamic_cast<TSkinScrollbar*>(old);
  TControl* control = old->Control;
  if (!scroller || !control) return;
  const bool listView = dynamic_cast<TSkinListView*>(old) != nullptr;
  const bool single = scroller->SingleBar;
  RemoveControl(old);
  old->Form = nullptr;
  TSkinControl::Free(old);
  auto* wc = dynamic_cast<TWinControl*>(control);
  if (!wc || !wc->HandleAllocated()) return;
  TSkinScrollbar* skinner = listView ? new TSkinListView(control) : new TSkinScrollbar(control);
  skinner->SingleBar = single;
  skinner->AttachControl(this, FSkinData, false);
  if (!skinner->Attached) delete skinner;
}

void TWinSkinForm::FreeAll() {
  while (!FControls.empty()) {
    TSkinControl* s = FControls.front();
    FControls.erase(FControls.begin());
    s->Form = nullptr; // out of the list already
    if (FSkinState != stReleasing && s->LifeState != 6) s->Unskin();
    TSkinControl::Free(s);
  }
}

// ---------------------------------------------------------------------------------------------
// Walks

namespace {
// Whether the control's window says it is skinned already.
bool AnswersSkinned(TControl* control) {
  auto* wc = dynamic_cast<TWinControl*>(control);
  if (!wc || !wc->HandleAllocated()) return false;
  return control->Perform(SKM_QUERY) == 1;
}

void TabOrderWalk(TWinControl* parent, std::vector<TWinControl*>& out) {
  for (TWinControl* c : parent->TabList()) {
    out.push_back(c);
    TabOrderWalk(c, out);
  }
}
} // namespace

namespace {
// A skinner of kind S for a toolkit control (which owns it), prepared by `prepare` and
// attached; dropped (null) when the control cannot be taken over.
template <class S, class Prepare>
S* AttachNewSkinner(TControl* control, TWinSkinForm* form, TSkinData* data, bool recolor,
                    Prepare prepare) {
  auto* skinner = new S(control);
  prepare(skinner);
  skinner->AttachControl(form, data, recolor);
  if (skinner->Attached) return skinner;
  delete skinner;
  return nullptr;
}

template <class S>
S* AttachNewSkinner(TControl* control, TWinSkinForm* form, TSkinData* data, bool recolor) {
  return AttachNewSkinner<S>(control, form, data, recolor, [](S*) {});
}
} // namespace

void TWinSkinForm::SkinChildren(TCustomForm* form) {
  if (!form || !FSkinData) return;
  PurgeDestroyed();
  SkinOwned(form);
  std::vector<TWinControl*> ordered;
  TabOrderWalk(form, ordered);
  for (TWinControl* c : ordered) {
    if (!c->HandleAllocated() || c->Tag == FSkinData->DisableTag() || AnswersSkinned(c)) continue;
    ClassifyControl(c, form);
  }
}

void TWinSkinForm::SkinOwned(TComponent* owner) {
  if (!owner) return;
  const std::vector<TComponent*> owned = owner->Components();
  for (TComponent* component : owned)
    if (auto* control = dynamic_cast<TControl*>(component))
      ClassifyControl(control, dynamic_cast<TControl*>(owner));
}

void TWinSkinForm::SkinContained(TWinControl* parent) {
  if (!parent) return;
  const std::vector<TControl*> children = parent->Controls();
  for (TControl* child : children)
    ClassifyControl(child, parent);
}

void TWinSkinForm::ClassifyControl(TControl* control, TControl* form) {
  if (!control || !FSkinData) return;
  TSkinData& data = *FSkinData;
  auto* wc = dynamic_cast<TWinControl*>(control);
  if (control->Tag == data.DisableTag()) {
    const std::string name = Lower(control->ClassName());
    if (wc && (name.find("radiogroup") != std::string::npos ||
               name.find("checkgroup") != std::string::npos))
      for (TControl* child : wc->Controls())
        child->Tag = data.DisableTag();
    return;
  }
  if (!control->Parent() || FindByControl(control) || AnswersSkinned(control)) return;
  const std::string n = Upper(control->ClassName());
  if (wc && !wc->HandleAllocated()) {
    try {
      wc->HandleNeeded();
    } catch (...) {
    }
    if (!wc->HandleAllocated()) return;
  }
  if (data.OnSkinControl) {
    TComponent* supplied = nullptr;
    data.OnSkinControl(this, &data, form, control, n, supplied);
    if (supplied) {
      if (auto* skinner = dynamic_cast<TSkinControl*>(supplied);
          skinner && std::find(FControls.begin(), FControls.end(), skinner) == FControls.end()) {
        AddControl(skinner);
        skinner->AttachControl(this, &data, skinner->Recolor);
      }
      if (wc && control->InheritsFrom("TCustomPanel")) SkinContained(wc);
      return;
    }
  }
  const TControlClass decision = DecideControlClass(*control, data, FSkinNC);
  if (decision.ChildrenFirst && wc) SkinContained(wc);
  switch (decision.Kind) {
  case ckButton:
    AttachNewSkinner<TSkinButton>(control, this, &data, decision.Recolor);
    break;
  case ckBitButton:
    AttachNewSkinner<TSkinBitButton>(control, this, &data, decision.Recolor,
                                     [&](auto* s) { s->ImageProperty = decision.ImageProperty; });
    break;
  case ckSpeedButton: {
    auto* skinner = new TSkinSpeedButton(control);
    skinner->ImageProperty = decision.ImageProperty;
    skinner->AttachGraphic(this, &data);
    if (!skinner->Attached) delete skinner;
    break;
  }
  case ckMenuButton:
    AttachNewSkinner<TSkinMenuButton>(control, this, &data, decision.Recolor);
    break;
  case ckCheckBox:
    AttachNewSkinner<TSkinCheckBox>(control, this, &data, decision.Recolor);
    break;
  case ckRadioButton:
    AttachNewSkinner<TSkinRadioButton>(control, this, &data, decision.Recolor);
    break;
  case ckEdit:
    AttachNewSkinner<TSkinEdit>(control, this, &data, decision.Recolor);
    break;
  case ckComboBox:
  case ckComboBoxEx:
    AttachNewSkinner<TSkinComBox>(control, this, &data, decision.Recolor,
                                  [&](auto* s) { s->Extended = decision.Kind == ckComboBoxEx; });
    break;
  case ckUpDown:
    AttachNewSkinner<TSkinUpDown>(control, this, &data, decision.Recolor);
    break;
  case ckDateTime:
    AttachNewSkinner<TSkinDateTime>(control, this, &data, decision.Recolor);
    break;
  case ckEditByHandle:
    if (wc) {
      auto* skinner = new TSkinEdit(control);
      skinner->AttachHandle(wc->Handle(), &data, this);
      if (!skinner->Attached) delete skinner;
    }
    break;
  case ckTab:
    AttachNewSkinner<TSkinTab>(control, this, &data, decision.Recolor,
                               [&](auto* s) { s->Mode = static_cast<BYTE>(decision.Variant); });
    break;
  case ckTabBtn:
    AttachNewSkinner<TSkinTabBtn>(control, this, &data, decision.Recolor);
    break;
  case ckTabSheet:
    AttachNewSkinner<TSkinTabSheet>(control, this, &data, decision.Recolor);
    break;
  case ckStatusBar:
    AttachNewSkinner<TSkinStatusBar>(control, this, &data, decision.Recolor);
    break;
  case ckRadioGroup:
    if (wc && Has(data, xcRadioButton))
      for (TControl* child : wc->Controls())
        if (!FindByControl(child) && child->Tag != data.DisableTag())
          AttachNewSkinner<TSkinRadioButton>(child, this, &data, false);
    AttachNewSkinner<TSkinGroupBox>(control, this, &data, true);
    break;
  case ckGroupBox:
    AttachNewSkinner<TSkinGroupBox>(control, this, &data, decision.Recolor);
    break;
  case ckBox:
    // Variant 1: the control is made transparent too.
    if (auto* s = AttachNewSkinner<TSkinBox>(control, this, &data, decision.Recolor);
        s && decision.Variant == 1)
      s->Transparent.Set(control);
    break;
  case ckProgress:
    AttachNewSkinner<TSkinProgress>(control, this, &data, decision.Recolor);
    break;
  case ckToolBar:
    AttachNewSkinner<TSkinToolBar>(control, this, &data, decision.Recolor);
    break;
  case ckTrackBar:
    if (auto* s = AttachNewSkinner<TSkinTrackBar>(control, this, &data, decision.Recolor);
        s && decision.Variant == 1)
      s->Transparent.Set(control);
    break;
  case ckScrollbar:
    AttachNewSkinner<TSkinScrollbar>(control, this, &data, decision.Recolor);
    break;
  case ckSingleScrollbar:
    AttachNewSkinner<TSkinScrollbar>(control, this, &data, decision.Recolor,
                                     [](auto* s) { s->SingleBar = true; });
    break;
  case ckEmbedScrollbar:
    if (wc)
      for (TControl* child : wc->Controls()) {
        if (FindByControl(child) || !dynamic_cast<TWinControl*>(child)) continue;
        if (child->InheritsFrom("TScrollBar"))
          AttachNewSkinner<TSkinScControl>(child, this, &data, false);
        else if (Scrollable(*child))
          AttachNewSkinner<TSkinScrollbar>(child, this, &data, false);
      }
    break;
  case ckScControl:
    AttachNewSkinner<TSkinScControl>(control, this, &data, decision.Recolor);
    break;
  case ckListView:
    AttachNewSkinner<TSkinListView>(control, this, &data, decision.Recolor);
    break;
  case ckHeader:
    AttachNewSkinner<TSkinHeader>(control, this, &data, decision.Recolor);
    break;
  case ckFrame:
    SkinOwned(control);
    break;
  case ckEmbeddedForm:
    SkinOwned(control);
    break;
  default:
    break; // kinds whose skinners are not part of the engine yet keep their standard look
  }
  if (decision.ChildrenAfter && wc) SkinContained(wc);
}

void TWinSkinForm::SkinChildWindows(HWND wnd) {
  std::vector<HWND> children;
  for (HWND child = GetTopWindow(wnd); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetWindowLongPtrA(child, GWL_STYLE) & WS_CHILD) children.push_back(child);
  for (HWND child : children)
    ClassifyWindow(child);
}

void TWinSkinForm::ClassifyWindow(HWND wnd) {
  if (!wnd || !IsWindow(wnd) || !FSkinData || FindByHandle(wnd)) return;
  char buf[101] = {};
  GetClassNameA(wnd, buf, sizeof buf);
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(wnd, GWL_STYLE));
  const TControlClass decision = DecideWindowClass(Lower(buf), style, *FSkinData);
  if (decision.ChildrenFirst) SkinChildWindows(wnd);
  TSkinControl* skinner = nullptr; // the Controls list owns a raw window's skinner
  switch (decision.Kind) {
  case ckButton:
    skinner = new TSkinButton(nullptr);
    break;
  case ckCheckBox:
    skinner = new TSkinCheckBox(nullptr);
    break;
  case ckRadioButton:
    skinner = new TSkinRadioButton(nullptr);
    break;
  case ckEdit:
    skinner = new TSkinEdit(nullptr);
    break;
  case ckComboBox:
  case ckComboBoxEx: {
    auto* combo = new TSkinComBox(nullptr);
    combo->Extended = decision.Kind == ckComboBoxEx;
    skinner = combo;
    break;
  }
  case ckTab:
    skinner = new TSkinTab(nullptr);
    break;
  case ckProgress:
    skinner = new TSkinProgress(nullptr);
    break;
  case ckBoxH:
  case ckDialog: // a dialog inside a window: its children first, then its background
    skinner = new TSkinBoxH(nullptr);
    break;
  case ckSizer:
    skinner = new TSkinSizer(nullptr);
    break;
  default:
    return;
  }
  skinner->AttachHandle(wnd, FSkinData, this);
  if (!skinner->Attached) delete skinner;
}
