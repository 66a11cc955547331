#pragma once

#include "base/error_report.h"

namespace tavrin {

// The program's error report: a modal box with the error's message and the
// details of where it stopped, over the active window. The program goes on.
void ShowErrorReport(const ErrorReport& report);

}  // namespace tavrin
