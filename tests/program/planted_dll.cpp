// A DLL a stranger could leave beside the program under the name of a system
// DLL. It exports nothing the program needs; loading it at all is the fault,
// so it appends its own path to "loaded.txt" in its folder.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  wchar_t record[MAX_PATH + 16] = {};
  lstrcpynW(record, path, MAX_PATH);
  wchar_t* name = record;
  for (wchar_t* at = record; *at; ++at) {
    if (*at == L'\\') name = at + 1;
  }
  lstrcpyW(name, L"loaded.txt");
  const HANDLE file = CreateFileW(record, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(file, path, length * sizeof(wchar_t), &written, nullptr);
    WriteFile(file, L"\n", sizeof(wchar_t), &written, nullptr);
    CloseHandle(file);
  }
  return TRUE;
}
