// The floor of the program's start-up: a plain window of the same size and
// title, built the same way, that finds the active adapter as the program
// does before it shows. What the program takes beyond this is its own.
// clang-format off
#include <windows.h>
#include <objbase.h>
// clang-format on

#include <string>

#include "sys/adapter_discovery_win.h"

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateFloorWindow(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = L"StartupFloor";
  RegisterClassExW(&windowClass);
  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT rect{0, 0, 498, 426};
  AdjustWindowRectEx(&rect, kStyle, FALSE, 0);
  return CreateWindowExW(0, L"StartupFloor", L"Tavrin", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                         rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, instance,
                         nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // The apartment stays for the process, as in the program.
  const HRESULT com = CoInitialize(nullptr);
  try {
    std::wstring name, guid, ip;
    tavrin::GetActiveAdapter(name, guid, ip);
  } catch (...) {
    // Found or not, the window shows.
  }
  HWND window = CreateFloorWindow(instance);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return 0;
}
