// The performance counter, read directly (<chrono> does not build with the GBK execution
// character set of the Windows tree).
#pragma once
#include <windows.h>

inline LONGLONG Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t.QuadPart;
}

inline double Seconds(LONGLONG ticks) {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  return static_cast<double>(ticks) / frequency;
}
