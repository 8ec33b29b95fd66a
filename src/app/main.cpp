#include "Unit_main.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  TApplication app;
  Application->CreateForm<TForm_main>();
  Application->Run();
  return 0;
}
