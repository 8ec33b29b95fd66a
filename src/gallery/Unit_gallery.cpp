#include "Unit_gallery.h"
#include "Buttons.h"
#include "Menus.h"
#include "WinSkinData.h"

namespace {

// A strip of 16 x 16 glyphs, one filled disc per colour on a magenta ground (the bottom-left
// pixel, so the ground is transparent).
TBitmap DiscGlyph(std::initializer_list<COLORREF> colours) {
  constexpr int kSize = 16;
  TBitmap glyph(kSize * static_cast<int>(colours.size()), kSize);
  HDC dc = glyph.CanvasHandle();
  const RECT all{0, 0, glyph.Width(), kSize};
  const TBrushHandle ground(CreateSolidBrush(RGB(255, 0, 255)));
  FillRect(dc, &all, ground.Get());
  int x = 0;
  for (COLORREF colour : colours) {
    const TBrushHandle brush(CreateSolidBrush(colour));
    const TSelectObject selBrush(dc, brush.Get());
    const TSelectObject selPen(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, x + 2, 2, x + 15, 15);
    x += kSize;
  }
  glyph.ReleaseCanvas();
  return glyph;
}

// Glyphs for the buttons that show the glyph layout: slices for normal, disabled, down (and
// Down for speed buttons), and a one-slice glyph that a disabled button engraves.
void GiveGlyphs(TForm* form) {
  for (TComponent* c : form->Components()) {
    if (auto* ok = dynamic_cast<TBitBtn*>(c); ok && c->Name == "BitBtnOK") {
      ok->SetGlyph(DiscGlyph({RGB(0, 160, 0), RGB(128, 128, 128), RGB(0, 96, 0)}));
      ok->SetNumGlyphs(3);
    }
    if (auto* off = dynamic_cast<TBitBtn*>(c); off && c->Name == "BitBtnDisabled")
      off->SetGlyph(DiscGlyph({RGB(200, 0, 0)}));
    if (auto* speed = dynamic_cast<TSpeedButton*>(c); speed && c->Name == "SpeedButton1") {
      speed->SetGlyph(
          DiscGlyph({RGB(0, 0, 200), RGB(128, 128, 128), RGB(0, 0, 120), RGB(0, 120, 200)}));
      speed->SetNumGlyphs(4);
    }
  }
}

} // namespace

const TClassInfo& TForm_gallery::StaticClassInfo() {
  static const TClassInfo info{"TForm_gallery", &TForm::StaticClassInfo(), nullptr, {}};
  return info;
}

TForm_gallery::TForm_gallery(TComponent* owner) : TForm(owner) {
  RegisterSkinClasses(); // TSkinData in the stored description
  ReadStoredDescription();
  GiveGlyphs(this);
  HandleNeeded();
  DoCreate();
}

void TForm_gallery::BindField(TComponent* c) {
  if (c->Name == "SkinData1") SkinData1 = dynamic_cast<TSkinData*>(c);
}

const TClassInfo& TForm_galleryDialog::StaticClassInfo() {
  static const TClassInfo info{"TForm_galleryDialog", &TForm::StaticClassInfo(), nullptr, {}};
  return info;
}

TForm_galleryDialog::TForm_galleryDialog(TComponent* owner) : TForm(owner) {
  ReadStoredDescription();
  HandleNeeded();
  DoCreate();
}

TNotifyEvent TForm_galleryDialog::FindMethod(std::string_view name) const {
  auto* self = const_cast<TForm_galleryDialog*>(this);
  if (name == "OkClick") return [self](TObject* sender) { self->OkClick(sender); };
  return {};
}

void TForm_galleryDialog::OkClick(TObject*) {
  Close();
}

const TClassInfo& TForm_galleryMdi::StaticClassInfo() {
  static const TClassInfo info{"TForm_galleryMdi", &TForm::StaticClassInfo(), nullptr, {}};
  return info;
}

TForm_galleryMdi::TForm_galleryMdi(TComponent* owner) : TForm(owner) {
  ReadStoredDescription();
  HandleNeeded();
  DoCreate();
}

void TForm_galleryMdi::BindField(TComponent* c) {
  if (c->Name == "WindowItem") WindowMenu = dynamic_cast<TMenuItem*>(c);
}

TNotifyEvent TForm_galleryMdi::FindMethod(std::string_view name) const {
  auto* self = const_cast<TForm_galleryMdi*>(this);
  if (name == "CascadeClick")
    return [self](TObject*) { SendMessageA(self->ClientHandle(), WM_MDICASCADE, 0, 0); };
  if (name == "TileClick")
    return
        [self](TObject*) { SendMessageA(self->ClientHandle(), WM_MDITILE, MDITILE_VERTICAL, 0); };
  return {};
}

const TClassInfo& TForm_galleryChild::StaticClassInfo() {
  static const TClassInfo info{"TForm_galleryChild", &TForm::StaticClassInfo(), nullptr, {}};
  return info;
}

TForm_galleryChild::TForm_galleryChild(TComponent* owner) : TForm(owner) {
  ReadStoredDescription();
  HandleNeeded();
  DoCreate();
}

const TClassInfo& TForm_galleryMenu::StaticClassInfo() {
  static const TClassInfo info{"TForm_galleryMenu", &TForm::StaticClassInfo(), nullptr, {}};
  return info;
}

TForm_galleryMenu::TForm_galleryMenu(TComponent* owner) : TForm(owner) {
  ReadStoredDescription();
  HandleNeeded();
  DoCreate();
}

void TForm_galleryMenu::BindField(TComponent* c) {
  if (c->Name == "LastCommand") LastCommand = dynamic_cast<TEdit*>(c);
}

TNotifyEvent TForm_galleryMenu::FindMethod(std::string_view name) const {
  auto* self = const_cast<TForm_galleryMenu*>(this);
  if (name == "CommandClick") return [self](TObject* s) { self->CommandClick(s); };
  if (name == "CheckedClick") return [self](TObject* s) { self->CheckedClick(s); };
  if (name == "ExitClick") return [self](TObject* s) { self->ExitClick(s); };
  return {};
}

void TForm_galleryMenu::CommandClick(TObject* sender) {
  auto* item = dynamic_cast<TMenuItem*>(sender);
  if (!item || !LastCommand) return;
  std::string text;
  for (char ch : item->Caption())
    if (ch != '&') text += ch;
  LastCommand->SetText(text);
}

void TForm_galleryMenu::CheckedClick(TObject* sender) {
  if (auto* item = dynamic_cast<TMenuItem*>(sender)) item->SetChecked(!item->Checked());
  CommandClick(sender);
}

void TForm_galleryMenu::ExitClick(TObject* sender) {
  CommandClick(sender);
  Close();
}
