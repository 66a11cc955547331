#include "appearance/theme_helper_win.h"

#include <commctrl.h>
#include <dwmapi.h>

#include <stdexcept>

#include "base/error_report.h"
#include "widgets/form_win.h"
#include "widgets/high_contrast_win.h"
#include "widgets/panels_win.h"

namespace tavrin {
namespace {
constexpr DWORD kUseImmersiveDarkMode = 20;  // DWMWA_USE_IMMERSIVE_DARK_MODE
constexpr UINT_PTR kHookId = 0x7A;
}  // namespace

TThemeHelper& TThemeHelper::Attach(Component* owner) {
  auto* form = dynamic_cast<Form*>(owner);
  if (!form) throw std::runtime_error("TThemeHelper Owner must be a TForm");
  return form->Add<TThemeHelper>(*form);
}

TThemeHelper::TThemeHelper(Form& form) : FForm(&form) {}

void TThemeHelper::Loaded() {
  BOOL dark = -1;  // all bits set: true; unsupported systems ignore the request
  DwmSetWindowAttribute(FForm->Handle(), kUseImmersiveDarkMode, &dark, sizeof dark);

  FShape = &FForm->Add<Shape>(L"", FForm, DesignRect{0, 0, FForm->Bounds().width, 2});
  FShape->SetBrushColor(FActiveColor);
  FShape->SetPenColor(FActiveColor);
  FShape->SetAlign(Align::Top);

  FHooked = SetWindowSubclass(FForm->Handle(), &TThemeHelper::FormWndProc, kHookId,
                              reinterpret_cast<DWORD_PTR>(this));
  UpdateAccentBar();
}

TThemeHelper::~TThemeHelper() {
  if (FHooked && FForm->Handle()) {
    RemoveWindowSubclass(FForm->Handle(), &TThemeHelper::FormWndProc, kHookId);
  }
}

LRESULT CALLBACK TThemeHelper::FormWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR self) noexcept {
  auto& helper = *reinterpret_cast<TThemeHelper*>(self);
  RunGuarded(L"TThemeHelper", [&] {
    if (message == WM_ACTIVATE) helper.FIsActive = LOWORD(wParam) != WA_INACTIVE;
    if (message == WM_SIZE || message == WM_ACTIVATE || message == WM_SYSCOLORCHANGE ||
        message == WM_SETTINGCHANGE) {
      helper.UpdateAccentBar();
    }
  });
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, &TThemeHelper::FormWndProc, kHookId);
    helper.FHooked = false;
  }
  // Every message goes on unchanged.
  return DefSubclassProc(window, message, wParam, lParam);
}

void TThemeHelper::UpdateAccentBar() {
  const TColor active = HighContrastOn() ? clWindowText : FActiveColor;
  const TColor color = FIsActive ? active : clGrayText;
  FShape->SetBrushColor(color);
  FShape->SetPenColor(color);
  FShape->SetVisible(FForm->GetBorderStyle() != BorderStyle::None);
}

}  // namespace tavrin
