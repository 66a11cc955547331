#include "widgets/high_contrast_win.h"

#include <windows.h>

namespace tavrin {
namespace {

std::function<bool()>& Source() {
  static std::function<bool()> source;
  return source;
}

bool SystemHighContrastOn() {
  HIGHCONTRASTW setting{};
  setting.cbSize = sizeof setting;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) &&
         (setting.dwFlags & HCF_HIGHCONTRASTON);
}

}  // namespace

bool HighContrastOn() { return Source() ? Source()() : SystemHighContrastOn(); }

void SetHighContrastSource(std::function<bool()> source) { Source() = std::move(source); }

}  // namespace tavrin
