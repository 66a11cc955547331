// The process starts here, before the C runtime and any constructor. From now
// on every DLL loaded by name (the delay-loaded imports, COM servers, the theme
// engine) comes from the system directory only, never from the folder the
// program was started from, which for a download is anybody's.
#include <windows.h>

extern "C" int WinMainCRTStartup();  // the C runtime's start, which calls wWinMain

extern "C" int TavrinEntry() {
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  return WinMainCRTStartup();
}
