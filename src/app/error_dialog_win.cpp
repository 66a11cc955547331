#include "app/error_dialog_win.h"

#include <windows.h>

#include "app/application_title.h"

namespace tavrin {

void ShowErrorReport(const ErrorReport& report) {
  const std::wstring title =
      (ApplicationTitle.empty() ? L"Tavrin" : ApplicationTitle) + L" - Error";
  const std::wstring text = report.message + L"\n\n" + report.details;
  MessageBoxW(GetActiveWindow(), text.c_str(), title.c_str(),
              MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

}  // namespace tavrin
