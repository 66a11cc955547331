// The styled button and the tool bar as controls: clicks, presses, the
// disabled state and the error boundary of their window procedure.
#include "appearance/styled_button_win.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "appearance/family_colors.h"
#include "i18n/own_texts.h"
#include "support/accessibility_win.h"
#include "support/gui_win.h"
#include "widgets/form_win.h"

namespace tavrin::test {
namespace {

using StyledButtons = FormTest;

TEST_F(StyledButtons, TheCaptionIsTheWindowTextForScreenReaders) {
  auto& button = form_.Add<StyledButton>(L"Button", &form_, DesignRect{0, 20, 100, 30});
  button.SetCaption(L"Run");
  EXPECT_EQ(WindowText(button.Handle()), L"Run");
}

TEST_F(StyledButtons, ToolbarLaysOutVisibleButtonsAndKeepsOneDown) {
  auto& bar = form_.Add<StyledToolbar>(L"Bar", &form_, DesignRect{10, 10, 280, 30});
  bar.SetButtonSize(70, 30);
  bar.SetIndent(10);
  bar.SetStyle(L"Morvane", L"Header", 4);
  ToolButton& home = bar.AddButton(form_, L"Home", L"Home");
  ToolButton& config = bar.AddButton(form_, L"Config", L"Config");
  ToolButton& donate = bar.AddButton(form_, L"Donate", L"Donate");

  EXPECT_EQ(RectInParent(home.Handle()), (RECT{10, 0, 80, 30}));
  EXPECT_EQ(RectInParent(config.Handle()), (RECT{80, 0, 150, 30}));
  EXPECT_EQ(RectInParent(donate.Handle()), (RECT{150, 0, 220, 30}));
  home.SetVisible(false);
  EXPECT_EQ(RectInParent(config.Handle()), (RECT{10, 0, 80, 30}));

  home.SetDown(true);
  config.SetDown(true);
  EXPECT_FALSE(home.Down());
  EXPECT_TRUE(config.Down());
  home.SetDown(true);
  EXPECT_TRUE(home.Down());
  EXPECT_FALSE(config.Down());
  EXPECT_FALSE(donate.Down());
  EXPECT_EQ(home.Look()[TButtonState::Pressed].ButtonColor, AccentColor);
}

TEST_F(StyledButtons, SpaceClicksOnReleaseEnterAtOnceAndAClickTakesTheFocus) {
  auto& button = form_.Add<StyledButton>(L"Button", &form_, DesignRect{0, 0, 100, 30});
  auto& other = form_.Add<StyledButton>(L"Other", &form_, DesignRect{0, 40, 100, 30});
  int clicks = 0;
  button.OnClick = [&clicks](Component&) { ++clicks; };
  form_.Show();
  Activate(form_.Handle());
  EXPECT_TRUE(GetWindowLongW(button.Handle(), GWL_STYLE) & WS_TABSTOP);
  button.Focus();

  SendMessageW(button.Handle(), WM_KEYDOWN, VK_SPACE, 0);
  SendMessageW(button.Handle(), WM_KEYDOWN, VK_SPACE, 1 << 30);  // auto-repeat
  EXPECT_EQ(button.State(), TButtonState::Pressed);
  EXPECT_EQ(clicks, 0);
  SendMessageW(button.Handle(), WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(button.State(), TButtonState::Normal);
  PressKeys({VK_RETURN});
  EXPECT_EQ(clicks, 2);
  // A press that loses the focus before the release is no click.
  SendMessageW(button.Handle(), WM_KEYDOWN, VK_SPACE, 0);
  other.Focus();
  SendMessageW(button.Handle(), WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(clicks, 2);

  SendMessageW(button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(button.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(button.Focused());
  EXPECT_EQ(clicks, 3);
}

// A push button is pressed while down; a page's tab is selected while down;
// a link is a link. Each names its action in the interface language.
TEST_F(StyledButtons, ScreenReadersLearnTheRoleStateAndActionOfEachKind) {
  auto& bar = form_.Add<StyledToolbar>(L"Bar", &form_, DesignRect{0, 0, 280, 30});
  bar.SetButtonSize(70, 30);
  ToolButton& page = bar.AddButton(form_, L"Page", L"Home");
  ToolButton& link = bar.AddButton(form_, L"Link", L"Donate");
  link.SetRole(StyledButton::Role::Link);
  auto& push = form_.Add<StyledButton>(L"Push", &form_, DesignRect{0, 40, 100, 30});
  push.SetCaption(L"Run");
  form_.SetFirstFocus(&push);
  form_.Show();
  constexpr long kFocusable = STATE_SYSTEM_FOCUSABLE;
  constexpr long kFocused = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED;

  struct Case {
    StyledButton* button;
    AccessibleFacts up;
    long downState;
  };
  const Case cases[] = {
      {&push,
       {ROLE_SYSTEM_PUSHBUTTON, L"Run", kFocused, OwnTranslate(OwnText::ActionPress), L""},
       kFocused | STATE_SYSTEM_PRESSED},
      {&page,
       {ROLE_SYSTEM_PAGETAB, L"Home", kFocusable | STATE_SYSTEM_SELECTABLE,
        OwnTranslate(OwnText::ActionSwitch), L""},
       kFocusable | STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_SELECTED},
      {&link,
       {ROLE_SYSTEM_LINK, L"Donate", kFocusable | STATE_SYSTEM_LINKED,
        OwnTranslate(OwnText::ActionJump), L""},
       kFocusable | STATE_SYSTEM_LINKED},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.button->Name()));
    const auto up = ReadAccessible(c.button->Handle());
    ASSERT_TRUE(up.has_value());
    EXPECT_EQ(up->role, c.up.role);
    EXPECT_EQ(up->name, c.up.name);
    EXPECT_EQ(up->state, c.up.state);
    EXPECT_EQ(up->action, c.up.action);
    EXPECT_EQ(up->description, c.up.description);
    c.button->SetDown(true);
    EXPECT_EQ(ReadAccessible(c.button->Handle())->state, c.downState);
    c.button->SetDown(false);
  }
  push.SetEnabled(false);
  EXPECT_EQ(ReadAccessible(push.Handle())->state, kFocusable | STATE_SYSTEM_UNAVAILABLE);
}

TEST_F(StyledButtons, ItsDefaultActionIsAClickAndReadersHearOfPressesAndNewCaptions) {
  auto& button = form_.Add<StyledButton>(L"Button", &form_, DesignRect{0, 0, 100, 30});
  int clicks = 0;
  button.OnClick = [&clicks](Component&) { ++clicks; };
  WinEventRecorder events;
  EXPECT_EQ(DoDefaultAction(button.Handle()), S_OK);
  Pump();
  EXPECT_EQ(clicks, 1);
  button.SetEnabled(false);
  EXPECT_EQ(DoDefaultAction(button.Handle()), S_OK);
  Pump();
  EXPECT_EQ(clicks, 1);  // unavailable: nothing happens, as with a click

  button.SetDown(true);
  button.SetDown(true);
  button.SetCaption(L"Running");
  button.SetAccessibleName(L"Working");
  button.SetCaption(L"");  // the name stays what was set
  Pump();
  EXPECT_EQ(events.Count(EVENT_OBJECT_STATECHANGE, button.Handle()), 2);  // disabled, down
  EXPECT_EQ(events.Count(EVENT_OBJECT_NAMECHANGE, button.Handle()), 2);
  EXPECT_EQ(ReadAccessible(button.Handle())->name, L"Working");
}

TEST_F(StyledButtons, AnErrorInAHandlerStopsAtTheWindowProcedure) {
  auto& button = form_.Add<StyledButton>(L"BtnStart", &form_, DesignRect{0, 0, 100, 30});
  int clicks = 0;
  button.OnClick = [&](Component&) {
    ++clicks;
    throw std::runtime_error("Invalid data type for 'status'");
  };
  SendMessageW(button.Handle(), BM_CLICK, 0, 0);
  SendMessageW(button.Handle(), BM_CLICK, 0, 0);

  EXPECT_EQ(clicks, 2);
  ASSERT_EQ(errors_.size(), 2u);
  EXPECT_EQ(errors_[0].message, L"Invalid data type for 'status'");
  EXPECT_NE(errors_[0].details.find(L"BtnStart"), std::wstring::npos);
  EXPECT_TRUE(IsWindow(button.Handle()));
}

TEST_F(StyledButtons, DisabledButtonsIgnoreClicks) {
  auto& button = form_.Add<StyledButton>(L"Button", &form_, DesignRect{0, 0, 100, 30});
  int clicks = 0;
  button.OnClick = [&](Component&) { ++clicks; };
  button.SetEnabled(false);
  SendMessageW(button.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(button.State(), TButtonState::Disabled);
  button.SetEnabled(true);
  SendMessageW(button.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
}

TEST_F(StyledButtons, ButtonPressedWhileTheMouseIsHeldOnItAndClickedOnRelease) {
  form_.Show();
  auto& button = form_.Add<StyledButton>(L"Button", &form_, DesignRect{10, 10, 100, 30});
  int clicks = 0;
  button.OnClick = [&](Component&) { ++clicks; };
  SendMessageW(button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(button.State(), TButtonState::Pressed);
  SendMessageW(button.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(500, 5));
  EXPECT_NE(button.State(), TButtonState::Pressed);  // dragged off
  SendMessageW(button.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
  EXPECT_EQ(clicks, 0);
  SendMessageW(button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(button.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(clicks, 1);
  EXPECT_NE(button.State(), TButtonState::Pressed);
}

TEST_F(StyledButtons, DisablingAHeldButtonEndsThePressWithoutAClick) {
  form_.Show();
  auto& button = form_.Add<StyledButton>(L"Button", &form_, DesignRect{10, 10, 100, 30});
  int clicks = 0;
  button.OnClick = [&](Component&) { ++clicks; };
  SendMessageW(button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ASSERT_EQ(GetCapture(), button.Handle());
  button.SetEnabled(false);
  EXPECT_EQ(GetCapture(), nullptr);
  button.SetEnabled(true);
  SendMessageW(button.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_NE(button.State(), TButtonState::Pressed);
  SendMessageW(button.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(clicks, 0);
}

}  // namespace
}  // namespace tavrin::test
