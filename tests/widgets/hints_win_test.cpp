// Tooltips that explain controls, against the system's tooltip control.
#include <gtest/gtest.h>

#include "support/gui_win.h"
#include "widgets/form_win.h"
#include "widgets/option_boxes_win.h"
#include "widgets/panels_win.h"

namespace tavrin::test {
namespace {

bool Overlap(const RECT& a, const RECT& b) {
  RECT both;
  return IntersectRect(&both, &a, &b) != FALSE;
}

RECT ScreenRect(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  return rect;
}

class Hinted : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    form_.Show();
    box_.SetHint(L"Sends small packets at once.");
    Pump();
  }
  // Puts the form's top-left corner at this screen position.
  void MoveForm(int x, int y) {
    SetWindowPos(form_.Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Pump();
  }
  CheckBox& box_ = form_.Add<CheckBox>(L"Box", &form_, DesignRect{20, 20, 150, 17});
  CheckBox& other_ = form_.Add<CheckBox>(L"Other", &form_, DesignRect{20, 100, 150, 17});
};

TEST_F(Hinted, TheKeyboardFocusShowsTheTipBesideTheControlUntilTheFocusLeaves) {
  const RECT work = [] {
    RECT area;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
  }();
  const struct {
    const char* where;
    POINT form;
    bool below;
  } cases[] = {
      {"room below", {100, 100}, true},
      {"at the screen's bottom", {100, work.bottom - 60}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.where);
    MoveForm(c.form.x, c.form.y);
    ShowFocusCues(box_.Handle());
    SetFocus(box_.Handle());
    Pump();
    ASSERT_NE(ShownTooltip(), nullptr);
    const RECT tip = ScreenRect(ShownTooltip());
    const RECT control = ScreenRect(box_.Handle());
    EXPECT_FALSE(Overlap(tip, control));
    EXPECT_EQ(tip.top >= control.bottom, c.below);
    EXPECT_LE(tip.bottom, work.bottom);
    SetFocus(other_.Handle());
    Pump();
    EXPECT_EQ(ShownTooltip(), nullptr) << "still shown after the focus left";
  }
}

TEST_F(Hinted, AFocusWhileTheFocusCueIsHiddenShowsNoTipUntilTheKeyboardIsUsed) {
  SetFocus(other_.Handle());
  SendMessageW(form_.Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
  SetFocus(box_.Handle());  // as a click gives it
  Pump();
  EXPECT_EQ(ShownTooltip(), nullptr);
  ShowFocusCues(box_.Handle());  // the keyboard comes into use
  Pump();
  EXPECT_NE(ShownTooltip(), nullptr);
}

TEST_F(Hinted, ThePointerRestingOnTheControlShowsTheTipWithoutCoveringIt) {
  MoveForm(100, 100);
  const RECT control = ScreenRect(box_.Handle());
  SetCursorPos((control.left + control.right) / 2, (control.top + control.bottom) / 2);
  ASSERT_TRUE(PumpUntil([] { return ShownTooltip() != nullptr; }, 10000))
      << "no tip under a resting pointer";
  EXPECT_FALSE(Overlap(ScreenRect(ShownTooltip()), control));
  SetCursorPos(0, 0);
}

TEST_F(Hinted, TheTextFollowsTheHintAndGoesWithTheControl) {
  EXPECT_EQ(TooltipTexts(box_.Handle()),
            (std::vector<std::wstring>{L"Sends small packets at once.",
                                       L"Sends small packets at once."}));
  box_.SetHint(L"Another text.");
  EXPECT_EQ(TooltipTexts(box_.Handle()),
            (std::vector<std::wstring>{L"Another text.", L"Another text."}));
  box_.SetHint(L"");
  EXPECT_TRUE(TooltipTexts(box_.Handle()).empty());

  // A hint given before the window exists reaches it when it is made.
  auto& page = form_.Add<Panel>(L"Page", &form_, DesignRect{0, 150, 100, 40}, false);
  auto& later = form_.Add<CheckBox>(L"Later", &page, DesignRect{0, 0, 40, 17});
  later.SetHint(L"Made later.");
  ASSERT_EQ(later.Handle(), nullptr);
  page.SetVisible(true);
  Pump();
  ASSERT_NE(later.Handle(), nullptr);
  EXPECT_EQ(TooltipTexts(later.Handle()),
            (std::vector<std::wstring>{L"Made later.", L"Made later."}));
  const HWND gone = later.Handle();
  later.DestroyHandle();
  EXPECT_TRUE(TooltipTexts(gone).empty());
}

}  // namespace
}  // namespace tavrin::test
