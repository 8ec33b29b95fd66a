#include "WinSkinPopMenu.h"
#include "SkinManage.h"

const TClassInfo& TWinSkinPopMenu::StaticClassInfo() {
  static const TClassInfo info{"TWinSkinPopMenu", &TObject::StaticClassInfo(), nullptr, {}};
  return info;
}

TWinSkinPopMenu::~TWinSkinPopMenu() {
  Detach();
  RecordSkinnerEvent(skPopupFreed, FHandle, FSkinData);
}

bool TWinSkinPopMenu::Attach(HWND wnd, TSkinData* data, HMENU menu) {
  if (WindowHooked()) return false;
  if (!HookWindow(wnd)) return false;
  FHandle = wnd;
  FSkinData = data;
  FMenuHandle = menu;
  RecordSkinnerEvent(skPopupAttach, wnd, data);
  return true;
}

void TWinSkinPopMenu::Detach() {
  if (!WindowHooked()) return;
  UnhookWindow();
  Background.Clear();
  RecordSkinnerEvent(skPopupDetach, FHandle, FSkinData);
}

LRESULT TWinSkinPopMenu::HookMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == SKM_QUERY) return 1;
  TSkinManage* manager = TSkinManage::Manager();
  // A window that goes is given back whether or not the skin is on.
  if (msg == WM_NCDESTROY || (msg == WM_DESTROY && manager && manager->Active())) Detach();
  return CallOldProc(msg, wparam, lparam);
}
