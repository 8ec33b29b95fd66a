#include "Unit_gallery.h"
#include "WinSkinData.h"

const TClassInfo& TForm_gallery::StaticClassInfo() {
  static const TClassInfo info{"TForm_gallery", &TForm::StaticClassInfo(), nullptr, {}};
  return info;
}

TForm_gallery::TForm_gallery(TComponent* owner) : TForm(owner) {
  RegisterSkinClasses(); // TSkinData in the stored description
  ReadStoredDescription();
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

const TClassInfo& TForm_galleryChild::StaticClassInfo() {
  static const TClassInfo info{"TForm_galleryChild", &TForm::StaticClassInfo(), nullptr, {}};
  return info;
}

TForm_galleryChild::TForm_galleryChild(TComponent* owner) : TForm(owner) {
  ReadStoredDescription();
  HandleNeeded();
  DoCreate();
}
