// Stands in for the system's netshell.dll: frees the fake manager's property
// records, and leaves a trace of every load so that tests can see which copy
// was loaded.

#include <windows.h>
#include <netcon.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    SetEnvironmentVariableW(L"TAVRIN_FAKE_NETSHELL_LOADED", path);
  }
  return TRUE;
}

extern "C" __declspec(dllexport) void WINAPI NcFreeNetconProperties(NETCON_PROPERTIES* properties) {
  using Free = void (*)(NETCON_PROPERTIES*);
  const HMODULE manager = GetModuleHandleW(L"fake_netcon.dll");
  const auto free = manager ? reinterpret_cast<Free>(reinterpret_cast<void*>(
                                  GetProcAddress(manager, "FakeNetconFreeProperties")))
                            : nullptr;
  if (free) free(properties);
}
