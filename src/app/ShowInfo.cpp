#include "ShowInfo.h"
#include "Forms.h"

void ShowInfo(const std::string& text) {
  MessageBoxA(Application ? Application->Handle() : nullptr, text.c_str(), "提示", 0x40040);
}
