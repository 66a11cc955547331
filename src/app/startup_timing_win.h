#pragma once

#include <windows.h>

#include <cstdio>

#include "widgets/form_win.h"

namespace tavrin {

// Writes the milliseconds since this process started to startup_ms.txt.
inline void ReportStartupTime() {
  FILETIME created, exited, kernel, user, now;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  GetSystemTimePreciseAsFileTime(&now);
  const auto ticks = [](const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  if (FILE* out = std::fopen("startup_ms.txt", "w")) {
    std::fprintf(out, "%.1f\n", static_cast<double>(ticks(now) - ticks(created)) / 10000.0);
    std::fclose(out);
  }
}

// A build with TAVRIN_STARTUP_TIMING reports the time to the window's first
// complete paint and closes; the program proper does nothing here.
inline void AfterFirstShow([[maybe_unused]] Form& form) {
#ifdef TAVRIN_STARTUP_TIMING
  RedrawWindow(form.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  ReportStartupTime();
  form.Close();
#endif
}

}  // namespace tavrin
