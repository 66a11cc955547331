#pragma once

#include <windows.h>

#include "appearance/family_colors.h"
#include "widgets/component.h"

namespace tavrin {

class Form;
class Shape;

// The window's own marks: a dark title bar, and a 2-pixel strip in the
// accent colour along the top of the client area that turns to the system's
// grey-text colour while the window is inactive. The form owns the helper
// and the strip; the helper follows the form's messages until it goes.
class TThemeHelper : public Component {
 public:
  // Fails with "TThemeHelper Owner must be a TForm" for any other owner, and
  // then leaves the owner as it was.
  static TThemeHelper& Attach(Component* owner);

  explicit TThemeHelper(Form& form);
  ~TThemeHelper() override;

  Shape& Bar() const { return *FShape; }

 protected:
  void Loaded() override;

 private:
  static LRESULT CALLBACK FormWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR self) noexcept;
  void UpdateAccentBar();

  Form* FForm;
  TColor FActiveColor = AccentColor;
  bool FIsActive = true;
  Shape* FShape = nullptr;
  bool FHooked = false;
};

}  // namespace tavrin
