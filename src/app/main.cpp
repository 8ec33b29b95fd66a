#include "SingleInstance.h"
#include "Unit_main.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // A second start shows the running Tarnel and ends before it makes anything of its own. The
  // mark is held until the application and its windows are gone.
  TSingleInstance instance;
  if (!instance.Claim()) return 0;
  TApplication app;
  TForm_main* main = Application->CreateForm<TForm_main>();
  TSingleInstance::Publish(main->Handle());
  Application->Run();
  return 0;
}
