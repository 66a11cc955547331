// shldisp.h declares its ShellExecute method before shellapi.h makes that
// name a macro.
// clang-format off
#include <windows.h>
#include <exdisp.h>
#include <shlobj.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shellapi.h>
#include <wrl/client.h>
// clang-format on

// shellapi.h's macro would rename the shell dispatch's own method.
#undef ShellExecute

#include <memory>

#include "sys/browser_launch.h"

namespace tavrin {
namespace {

using Microsoft::WRL::ComPtr;

struct BstrFree {
  void operator()(BSTR text) const { SysFreeString(text); }
};
using Bstr = std::unique_ptr<OLECHAR, BstrFree>;

// A VARIANT that borrows its string: nothing to clear.
VARIANT StringArgument(BSTR text) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BSTR;
  value.bstrVal = text;
  return value;
}

// The desktop window's shell: its view's automation object leads to the
// shell's own dispatch interface, whose ShellExecute runs in the shell's
// process. Nothing when any step is missing.
ComPtr<IShellDispatch2> DesktopShell(HWND& desktop) {
  ComPtr<IShellWindows> windows;
  if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&windows)))) {
    return nullptr;
  }
  VARIANT desktopFolder;
  VariantInit(&desktopFolder);
  desktopFolder.vt = VT_I4;
  desktopFolder.lVal = CSIDL_DESKTOP;
  VARIANT nowhere;
  VariantInit(&nowhere);
  long window = 0;
  ComPtr<IDispatch> found;
  ComPtr<IServiceProvider> services;
  ComPtr<IShellBrowser> browser;
  ComPtr<IShellView> view;
  ComPtr<IDispatch> background;
  ComPtr<IShellFolderViewDual> folderView;
  ComPtr<IDispatch> application;
  ComPtr<IShellDispatch2> shell;
  if (windows->FindWindowSW(&desktopFolder, &nowhere, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                            &found) != S_OK ||
      !found || FAILED(found.As(&services)) ||
      FAILED(services->QueryService(SID_STopLevelBrowser, IID_PPV_ARGS(&browser))) ||
      FAILED(browser->QueryActiveShellView(&view)) || !view ||
      FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_PPV_ARGS(&background))) ||
      FAILED(background.As(&folderView)) || FAILED(folderView->get_Application(&application)) ||
      !application || FAILED(application.As(&shell))) {
    return nullptr;
  }
  desktop = reinterpret_cast<HWND>(static_cast<LONG_PTR>(window));
  return shell;
}

class SystemRoutes final : public ShellRoutes {
 public:
  bool OpenThroughDesktopShell(const std::wstring& url) override {
    HWND desktop = nullptr;
    const ComPtr<IShellDispatch2> shell = DesktopShell(desktop);
    if (!shell) return false;
    const Bstr file(SysAllocString(url.c_str()));
    const Bstr open(SysAllocString(L"open"));
    const Bstr nothing(SysAllocString(L""));
    if (!file || !open || !nothing) return false;
    // The browser comes up in the shell's process: let it take the foreground.
    DWORD shellProcess = 0;
    if (GetWindowThreadProcessId(desktop, &shellProcess)) AllowSetForegroundWindow(shellProcess);
    VARIANT show;
    VariantInit(&show);
    show.vt = VT_I4;
    show.lVal = SW_SHOWNORMAL;
    return SUCCEEDED(shell->ShellExecute(file.get(), StringArgument(nothing.get()),
                                         StringArgument(nothing.get()), StringArgument(open.get()),
                                         show));
  }

  bool OpenFromThisProcess(const std::wstring& url) override {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;  // its documented mark of success
  }
};

}  // namespace

ShellRoutes& SystemShellRoutes() {
  static SystemRoutes routes;
  return routes;
}

}  // namespace tavrin
