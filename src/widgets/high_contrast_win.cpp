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
         HighContrastFlagsOn(setting.dwFlags);
}

}  // namespace

bool HighContrastFlagsOn(unsigned long flags) { return (flags & HCF_HIGHCONTRASTON) != 0; }

bool HighContrastOn() { return Source() ? Source()() : SystemHighContrastOn(); }

void SetHighContrastSource(std::function<bool()> source) { Source() = std::move(source); }

}  // namespace tavrin
