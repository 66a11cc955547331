#include <gtest/gtest.h>

#include <stdexcept>

#include "appearance/fit_label_font.h"
#include "appearance/styled_button_win.h"
#include "appearance/theme_helper_win.h"
#include "support/gui_win.h"
#include "widgets/form_win.h"
#include "widgets/labels_win.h"
#include "widgets/panels_win.h"

namespace tavrin::test {
namespace {

constexpr COLORREF kAccent = RGB(0x3D, 0x84, 0xDD);
constexpr COLORREF kWhite = RGB(255, 255, 255);

class Appearance : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    form_.Show();
  }
};

TEST_F(Appearance, OutlineButtonInEveryState) {
  auto& button = form_.Add<StyledButton>(L"BtnStart", &form_, DesignRect{20, 20, 162, 68});
  button.SetStyle(L"Morvane", L"Outline");
  button.SetRadius(6);
  button.SetCaption(L"Run");
  ExpectButtonLook(button.Handle(), {kWhite, kAccent, RGB(0, 0, 0)}, "normal");

  POINT centre{81, 34};
  ClientToScreen(button.Handle(), &centre);
  SetCursorPos(centre.x, centre.y);
  SendMessageW(button.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(81, 34));
  ASSERT_EQ(button.State(), TButtonState::Hot);
  ExpectButtonLook(button.Handle(), {RGB(0x50, 0x90, 0xE0), kAccent, kWhite}, "hot");
  SendMessageW(button.Handle(), WM_MOUSELEAVE, 0, 0);
  SetCursorPos(0, 0);

  button.SetDown(true);
  ExpectButtonLook(button.Handle(), {kAccent, kAccent, kWhite}, "down");
  button.SetDown(false);
  button.SetEnabled(false);
  button.SetCaption(L"Busy");
  ExpectButtonLook(button.Handle(), {kWhite, RGB(0xD7, 0xD7, 0xD7), RGB(0xB3, 0xB3, 0xB3)},
                   "disabled");
}

TEST_F(Appearance, HeaderButtonsOutlinedUntilDown) {
  auto& bar = form_.Add<StyledToolbar>(L"BtnHead", &form_, DesignRect{10, 10, 280, 30});
  bar.SetButtonSize(70, 30);
  bar.SetStyle(L"Morvane", L"Header", 4);
  ToolButton& home = bar.AddButton(form_, L"BtnHome", L"Home");
  ToolButton& config = bar.AddButton(form_, L"BtnConfig", L"Config");
  home.SetDown(true);
  ExpectButtonLook(home.Handle(), {kAccent, kAccent, kWhite}, "down");
  ExpectButtonLook(config.Handle(), {kWhite, RGB(0, 0, 0), RGB(0, 0, 0)}, "up");
}

TEST_F(Appearance, HighContrastDrawsButtonsAndStripInTheSystemPairs) {
  using Theme = DarkContrastTheme;
  auto& start = form_.Add<StyledButton>(L"BtnStart", &form_, DesignRect{20, 20, 162, 68});
  start.SetStyle(L"Morvane", L"Outline");
  start.SetRadius(6);
  start.SetCaption(L"Run");
  auto& bar = form_.Add<StyledToolbar>(L"BtnHead", &form_, DesignRect{10, 100, 280, 30});
  bar.SetButtonSize(70, 30);
  bar.SetStyle(L"Morvane", L"Header", 4);
  ToolButton& home = bar.AddButton(form_, L"BtnHome", L"Home");
  ToolButton& config = bar.AddButton(form_, L"BtnConfig", L"Config");
  home.SetDown(true);
  const HWND strip = TThemeHelper::Attach(&form_).Bar().Handle();

  {
    SCOPED_TRACE("off");
    const Theme theme(false);
    SendMessageW(form_.Handle(), WM_SYSCOLORCHANGE, 0, 0);
    // The program's own colours, whatever the system's are.
    ExpectButtonLook(home.Handle(), {kAccent, kAccent, kWhite}, "header down");
    EXPECT_EQ(PixelAt(strip, 10, 1), kAccent);
  }
  {
    SCOPED_TRACE("on");
    const Theme theme(true);
    SendMessageW(form_.Handle(), WM_SYSCOLORCHANGE, 0, 0);
    ExpectButtonLook(start.Handle(), {Theme::kWindow, Theme::kText, Theme::kText}, "normal");
    ExpectButtonLook(config.Handle(), {Theme::kWindow, Theme::kText, Theme::kText}, "header up");
    ExpectButtonLook(home.Handle(), {Theme::kHighlight, Theme::kHighlight, Theme::kHighlightText},
                     "header down");
    start.SetDown(true);
    ExpectButtonLook(start.Handle(),
                     {Theme::kHighlight, Theme::kHighlight, Theme::kHighlightText}, "down");
    start.SetDown(false);
    start.SetEnabled(false);
    ExpectButtonLook(start.Handle(), {Theme::kWindow, Theme::kGrayText, Theme::kGrayText},
                     "disabled");
    EXPECT_EQ(PixelAt(strip, 10, 1), Theme::kText);
    SendMessageW(form_.Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(PixelAt(strip, 10, 1), Theme::kGrayText);
    SendMessageW(form_.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
  }
  SendMessageW(form_.Handle(), WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_EQ(PixelAt(strip, 10, 1), kAccent);
}

// Dots of `color` along the row three pixels inside the top edge, clear of
// the corners: where the focus mark runs.
int FocusMarkDots(HWND button, COLORREF color) {
  RECT client;
  GetClientRect(button, &client);
  return CountPixels(button, {10, 3, client.right - 10, 4}, color);
}

TEST_F(Appearance, TheFocusShowsAsDotsInTheCaptionColourAndNotAsTheHoverLook) {
  using Theme = DarkContrastTheme;
  auto& start = form_.Add<StyledButton>(L"BtnStart", &form_, DesignRect{20, 100, 162, 68});
  start.SetStyle(L"Morvane", L"Outline");
  start.SetRadius(6);
  start.SetCaption(L"Run");
  SendMessageW(form_.Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  SetCursorPos(0, 0);
  Activate(form_.Handle());
  const HWND button = start.Handle();
  SendMessageW(button, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(FocusMarkDots(button, RGB(0, 0, 0)), 0);

  start.Focus();
  ExpectButtonLook(button, {kWhite, kAccent, RGB(0, 0, 0)}, "focused");
  // Every other pixel: about half the row.
  EXPECT_GT(FocusMarkDots(button, RGB(0, 0, 0)), 60);
  start.SetDown(true);
  ExpectButtonLook(button, {kAccent, kAccent, kWhite}, "focused and down");
  EXPECT_GT(FocusMarkDots(button, kWhite), 60);
  start.SetDown(false);
  {
    const Theme theme(true);
    SendMessageW(form_.Handle(), WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_GT(FocusMarkDots(button, Theme::kText), 60);
  }
  SendMessageW(form_.Handle(), WM_SYSCOLORCHANGE, 0, 0);

  // Marks hidden (no keyboard used yet): the focus shows nothing.
  SendMessageW(form_.Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
  ASSERT_TRUE(start.Focused());
  EXPECT_EQ(FocusMarkDots(button, RGB(0, 0, 0)), 0);
}

TEST_F(Appearance, AccentStripFollowsActivation) {
  TThemeHelper& helper = TThemeHelper::Attach(&form_);
  const HWND bar = helper.Bar().Handle();
  EXPECT_EQ(RectInParent(bar), (RECT{0, 0, 300, 2}));
  EXPECT_EQ(PixelAt(bar, 10, 0), kAccent);
  EXPECT_EQ(PixelAt(bar, 10, 1), kAccent);

  SendMessageW(form_.Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_EQ(PixelAt(bar, 10, 1), GetSysColor(COLOR_GRAYTEXT));
  SendMessageW(form_.Handle(), WM_ACTIVATE, WA_CLICKACTIVE, 0);
  EXPECT_EQ(PixelAt(bar, 10, 1), kAccent);
  SendMessageW(form_.Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
  SendMessageW(form_.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(PixelAt(bar, 10, 1), kAccent);
}

TEST_F(Appearance, AccentStripLiesAboveOtherTopContentAndSpansTheWidth) {
  auto& head = form_.Add<Panel>(L"PnlHead", &form_, DesignRect{0, 0, 300, 50});
  head.SetAlign(Align::Top);
  TThemeHelper& helper = TThemeHelper::Attach(&form_);
  EXPECT_EQ(RectInParent(head.Handle()), (RECT{0, 2, 300, 52}));

  SetWindowPos(form_.Handle(), nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER);
  RECT client;
  GetClientRect(form_.Handle(), &client);
  EXPECT_EQ(RectInParent(helper.Bar().Handle()), (RECT{0, 0, client.right, 2}));
}

TEST_F(Appearance, BorderlessFormHidesTheStripUntilItHasABorderAgain) {
  form_.SetBorderStyle(BorderStyle::None);
  TThemeHelper& helper = TThemeHelper::Attach(&form_);
  EXPECT_FALSE(helper.Bar().Visible());
  form_.SetBorderStyle(BorderStyle::Single);
  EXPECT_FALSE(helper.Bar().Visible());  // noticed on the next size or activation
  SendMessageW(form_.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_TRUE(helper.Bar().Visible());
}

TEST_F(Appearance, OnlyAFormCanOwnTheHelper) {
  auto& panel = form_.Add<Panel>(L"Panel", &form_, DesignRect{0, 0, 10, 10});
  const std::size_t owned = form_.ComponentCount();
  for (Component* owner : {static_cast<Component*>(&panel), static_cast<Component*>(nullptr)}) {
    try {
      TThemeHelper::Attach(owner);
      ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), "TThemeHelper Owner must be a TForm");
    }
  }
  EXPECT_EQ(form_.ComponentCount(), owned);
  EXPECT_EQ(panel.ComponentCount(), 0u);
}

TEST_F(Appearance, DestroyingTheHelperGivesTheFormItsWindowProcedureBack) {
  TThemeHelper& helper = TThemeHelper::Attach(&form_);
  Shape& bar = helper.Bar();
  form_.Free(helper);
  SendMessageW(form_.Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_EQ(PixelAt(bar.Handle(), 10, 1), kAccent);  // left in its last colour
  EXPECT_TRUE(bar.Visible());
}

TEST_F(Appearance, FitLabelFontShrinksOnlyACaptionThatDoesNotFit) {
  auto& label = form_.Add<Label>(L"LblTitle", &form_, DesignRect{8, 40, 284, 81});
  const FontSpec title{L"Tahoma", -59, false, false, false, false, true};
  struct Case {
    const wchar_t* caption;
    bool shrinks;
  };
  for (const Case c : {Case{L"Tavrin", false}, Case{L"Tavrin Tavrin Tavrin", true}}) {
    label.SetFont(title);
    label.SetCaption(c.caption);
    FitLabelFont(label);
    EXPECT_EQ(label.Font().Size() < 44, c.shrinks)
        << testing::PrintToString(std::wstring(c.caption));
    // A shrunk caption now about fits: one pass, truncated, may leave a pixel or two over.
    WindowDc dc(label.Handle());
    SelectObjectScope font(dc.Get(), label.CurrentFont());
    SIZE size{};
    GetTextExtentPoint32W(dc.Get(), c.caption, static_cast<int>(wcslen(c.caption)), &size);
    EXPECT_LE(size.cx, 284 + 4);
  }
  label.SetCaption(std::wstring(200, L'W'));
  label.SetFont(title);
  FitLabelFont(label);
  EXPECT_EQ(label.Font().Size(), 6);
}

}  // namespace
}  // namespace tavrin::test
