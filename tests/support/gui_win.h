#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "base/error_report.h"
#include "base/owners_win.h"
#include "widgets/form_win.h"

// In-process GUI tests: the process is DPI aware, GDI+ runs and the style
// family is registered before the first test; each test records the errors
// that reach the error handler.
namespace tavrin::test {

// Dispatches what is queued for this thread, for about `milliseconds`.
void Pump(int milliseconds = 0);

// Dispatches this thread's messages until `done` holds or `limitMs` pass;
// whether it holds. The limit is generous: under emulation everything is slow.
bool PumpUntil(const std::function<bool()>& done, int limitMs = 60000);

// Brings a top-level window forward, active, so that keys go to it.
void Activate(HWND window);
// Presses the keys in order and lets them go in reverse, as real key events
// for the active window, and dispatches what they bring (through the
// form's keyboard handling, as the program's message loop does).
void PressKeys(std::initializer_list<WORD> keys);

// The colour of a client pixel as the window shows it, after it has painted.
COLORREF PixelAt(HWND window, int x, int y);
// How many pixels of the client rectangle `area` have exactly this colour.
int CountPixels(HWND window, const RECT& area, COLORREF color);

// The window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND window);

// What this thread's tooltips hold for `control`: the texts of its tools.
std::vector<std::wstring> TooltipTexts(HWND control);
// A tooltip of this thread that shows; null when none does.
HWND ShownTooltip();
// Shows the focus cue in `window`'s top-level window, as the keyboard's first use does.
void ShowFocusCues(HWND window);

// What a styled button shows: the face inside, the middle of its left edge
// (the outline, or the face where there is none) and the caption's ink.
struct ButtonLook {
  COLORREF face;
  COLORREF edge;
  COLORREF caption;
};
void ExpectButtonLook(HWND button, const ButtonLook& look, const char* what);

// A message box this thread shows next: its title and text.
struct SeenMessageBox {
  std::wstring title;
  std::wstring text;
  HWND owner = nullptr;
  bool foreground = false;
  HICON icon = nullptr;
};
// Runs `show`, which must open one modal message box, answers it with OK
// and returns what it showed; nothing when no box came.
std::optional<SeenMessageBox> AnswerMessageBox(const std::function<void()>& show);

// A dark contrast theme while it lives: its colours through SetSysColors, and
// the setting itself through the seam, as Wine refuses SPI_SETHIGHCONTRAST.
class DarkContrastTheme {
 public:
  static constexpr COLORREF kWindow = RGB(0, 0, 0);
  static constexpr COLORREF kText = RGB(255, 255, 255);
  static constexpr COLORREF kHighlight = RGB(0x1A, 0xEB, 0xFF);
  static constexpr COLORREF kHighlightText = RGB(0, 0, 0);
  static constexpr COLORREF kGrayText = RGB(0x3F, 0xF2, 0x3F);
  static constexpr COLORREF kHotLight = RGB(0xFF, 0xFF, 0x00);

  // `on`: whether the setting reports the theme; the colours come either way.
  explicit DarkContrastTheme(bool on);
  ~DarkContrastTheme();
  DarkContrastTheme(const DarkContrastTheme&) = delete;
  DarkContrastTheme& operator=(const DarkContrastTheme&) = delete;

 private:
  static constexpr std::array<int, 6> kElements = {COLOR_WINDOW,    COLOR_WINDOWTEXT,
                                                   COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT,
                                                   COLOR_GRAYTEXT,  COLOR_HOTLIGHT};
  std::array<COLORREF, kElements.size()> saved_{};
};

// The user's "always show keyboard cues", set while it lives; forms made
// meanwhile start from it.
class KeyboardCues {
 public:
  explicit KeyboardCues(bool always);
  ~KeyboardCues();
  KeyboardCues(const KeyboardCues&) = delete;
  KeyboardCues& operator=(const KeyboardCues&) = delete;

 private:
  BOOL saved_ = FALSE;
};

class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::vector<ErrorReport> errors_;

 private:
  // The interface thread's apartment, as the program has it: what screen
  // readers are handed is marshalled through it.
  ComApartment com_;
  ErrorHandler previous_;
};

// Controls on a 300 by 200 form that has its window, not shown, in 8-point
// Tahoma.
class FormTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    form_.CreateHandle();
    form_.SetFont({L"Tahoma", -11});
  }
  Form form_{L"TestForm", 300, 200};
};

}  // namespace tavrin::test

inline std::ostream& operator<<(std::ostream& out, const RECT& r) {
  return out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
inline bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }
