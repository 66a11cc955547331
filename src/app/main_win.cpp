#include <windows.h>

#include "i18n/localisation.h"

// One instance per logon session; a second start ends at once, showing nothing.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  tavrin::InitLocalisation();
  if (HANDLE running = OpenMutexW(MUTEX_ALL_ACCESS, FALSE, L"TavrinMutex")) {
    CloseHandle(running);
    return 0;
  }
  CreateMutexW(nullptr, TRUE, L"TavrinMutex");  // held until the process ends
  return 0;
}
