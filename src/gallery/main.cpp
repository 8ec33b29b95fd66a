#include "Unit_gallery.h"

// Opens the gallery's five windows; the main form's close ends the program. A form that cannot
// be made is reported in the application's error box, and the program ends with exit code 1.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  TApplication app;
  try {
    Application->CreateForm<TForm_gallery>();
    Application->CreateForm<TForm_galleryDialog>()->Show();
    Application->CreateForm<TForm_galleryMdi>()->Show();
    Application->CreateForm<TForm_galleryChild>()->Show();
    Application->CreateForm<TForm_galleryMenu>()->Show();
  } catch (...) {
    ReportCurrentException();
    return 1;
  }
  Application->Run();
  return 0;
}
