#include "Unit_main.h"
#include "WinSkinData.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  RegisterSkinClasses();
  TApplication app;
  Application->Initialize();
  Application->CreateForm<TForm_main>();
  Application->Run();
  return 0;
}
