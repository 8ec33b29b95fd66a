#pragma once
#include <string>

// The program's information box: the text, caption "提示", information icon, top-most, one OK
// button, owned by the application's hidden window. Returns when the user closes it.
void ShowInfo(const std::string& text);
