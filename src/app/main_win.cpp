#include <windows.h>
#include <commctrl.h>
#include <imm.h>
#include <objbase.h>

#include <chrono>
#include <memory>

#include "app/error_dialog_win.h"
#include "app/main_window_win.h"
#include "app/service_host_win.h"
#include "app/tuning_services_win.h"
#include "app/window_dispatcher_win.h"
#include "appearance/button_styles.h"
#include "base/error_report.h"
#include "base/owners_win.h"
#include "i18n/localisation.h"
#include "sys/process_random.h"
#include "sys/shell_open.h"
#include "sys/single_instance_win.h"
#include "widgets/gdiplus_win.h"

namespace tavrin {
namespace {

void RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (Form::HandleNavigationKey(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void RunProgram() {
  // Nothing here takes typed text. Without this every window of the thread
  // would get an input method context, set up and activated for nothing.
  ImmDisableIME(0);
  const auto adapters = std::make_shared<AdapterLookahead>(SearchActiveAdapter);
  // The connection restart runs COM on this thread.
  ComApartment com;
  GdiplusSession gdiplus;
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  SetErrorHandler(ShowErrorReport);
  const auto dispatcher = std::make_shared<WindowDispatcher>(
      [](std::exception_ptr error) { HandleError(error, L"a step handed to the window"); });
  RunGuarded(L"the main window", [&] {
    TuningServices tuning = SystemTuningServices(dispatcher, adapters);
#ifdef TAVRIN_TEST_WAIT_LIMIT_MS
    // A build for the tests only, which wait for the limit; never shipped.
    tuning.waitLimit = std::chrono::milliseconds(TAVRIN_TEST_WAIT_LIMIT_MS);
#endif
    TFrmTavrin form(std::move(tuning),
                    {ShellOpen, ProcessRandom,
                     [dispatcher](HWND owner) { return SystemServiceHost(dispatcher, owner); }});
    form.SetMainForm(true);
    RunGuarded(L"FrmTavrin.FormCreate", [&] { form.FormCreate(); });
    form.Show();
    RunMessageLoop();
    ApplicationTerminating = true;  // a check-in still waiting stops
  });
  dispatcher->Close();
}

}  // namespace
}  // namespace tavrin

// One instance per logon session; a second start ends at once, showing nothing.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  tavrin::InitLocalisation();
  tavrin::RegisterMorvaneStyles();
  const tavrin::SingleInstance instance(L"TavrinMutex");
  if (instance.AnotherRuns()) return 0;
  tavrin::RunProgram();
  return 0;
}
