// The main window by keyboard alone, with real key events: the focus at
// start, Tab round each page, Space and Enter on the buttons and the logo,
// Ctrl+Tab between the pages, and where the focus goes when its control
// hides or waits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_window_fixture_win.h"
#include "build_config.h"
#include "settings/config.h"

namespace tavrin::test {
namespace {

using Names = std::vector<std::wstring>;

// The focused control's name; the window's for the window itself.
std::wstring FocusName() {
  const Control* focused = Control::FromHandle(GetFocus());
  return focused ? focused->Name() : L"(none)";
}

Names FocusAfterEach(std::initializer_list<WORD> keys, int presses) {
  Names seen;
  for (int i = 0; i < presses; ++i) {
    PressKeys(keys);
    seen.push_back(FocusName());
  }
  return seen;
}

// A click of the mouse, as the window gets it.
void ClickOn(const Control& control) {
  SendMessageW(control.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(control.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Pump();
}

class MainWindowKeyboard : public MainWindow {
 protected:
  TFrmTavrin& OpenActive() {
    TFrmTavrin& form = Open();
    Activate(form.Handle());
    return form;
  }

  bool StoredOption(const wchar_t* name) {
    return TConfig(registry_, L"Tavrin").ReadBoolean(name, false);
  }
};

TEST_F(MainWindowKeyboard, TheFocusStartsOnRunAndTabGoesRoundEachPageInReadingOrder) {
  TFrmTavrin& form = OpenActive();
  EXPECT_EQ(FocusName(), L"BtnStart");
  EXPECT_EQ(FocusAfterEach({VK_TAB}, 4),
            (Names{L"BtnHome", L"BtnConfig", L"ImgLogo", L"BtnStart"}));
  EXPECT_EQ(FocusAfterEach({VK_SHIFT, VK_TAB}, 2), (Names{L"ImgLogo", L"BtnConfig"}));

  PressKeys({VK_RETURN});
  ASSERT_EQ(form.PnlMain->ActiveCard(), 1u);
  EXPECT_EQ(
      FocusAfterEach({VK_TAB}, 8),
      (Names{L"ImgLogo", L"ChkTCPAckFrequency", L"ChkTcpDelAckTick", L"ChkTcpNoDelay",
             L"ChkNetworkThrottlingIndex", L"ChkSystemResponsiveness", L"BtnHome", L"BtnConfig"}));
  EXPECT_TRUE(errors_.empty());
}

TEST_F(MainWindowKeyboard, CtrlTabSwitchesPagesAndTheFocusGoesAlongToThePageShown) {
  TFrmTavrin& form = OpenActive();
  PressKeys({VK_CONTROL, VK_TAB});
  EXPECT_EQ(form.PnlMain->ActiveCard(), 1u);
  EXPECT_TRUE(form.BtnConfig->Down());
  EXPECT_EQ(FocusName(), L"ChkTCPAckFrequency");

  // Space ticks the box, and the choice is stored.
  const bool before = form.ChkTCPAckFrequency->Checked();
  PressKeys({VK_SPACE});
  EXPECT_EQ(form.ChkTCPAckFrequency->Checked(), !before);
  EXPECT_EQ(StoredOption(L"tcpackfrequency"), !before);

  PressKeys({VK_CONTROL, VK_SHIFT, VK_TAB});
  EXPECT_EQ(form.PnlMain->ActiveCard(), 0u);
  EXPECT_TRUE(form.BtnHome->Down());
  EXPECT_EQ(FocusName(), L"BtnStart");

  // From a page button the focus goes to the button of the page shown.
  form.BtnHome->Focus();
  PressKeys({VK_CONTROL, VK_TAB});
  EXPECT_EQ(FocusName(), L"BtnConfig");
  PressKeys({VK_CONTROL, VK_TAB});
  EXPECT_EQ(form.PnlMain->ActiveCard(), 0u);
  EXPECT_EQ(FocusName(), L"BtnHome");
}

// Clicked with the mouse, a box keeps the focus; the page changes: the focus
// must not stay on the hidden box, where Space would tick it unseen.
TEST_F(MainWindowKeyboard, AHiddenOptionBoxNeverKeepsTheFocus) {
  TFrmTavrin& form = OpenActive();
  ClickOn(*form.BtnConfig);
  ClickOn(*form.ChkTcpNoDelay);
  ASSERT_EQ(FocusName(), L"ChkTcpNoDelay");
  const bool ticked = form.ChkTcpNoDelay->Checked();

  ClickOn(*form.BtnHome);
  EXPECT_EQ(form.PnlMain->ActiveCard(), 0u);
  EXPECT_EQ(FocusName(), L"BtnHome");
  PressKeys({VK_SPACE});
  EXPECT_EQ(form.ChkTcpNoDelay->Checked(), ticked);
  EXPECT_EQ(StoredOption(L"tcpnodelay"), ticked);

  // Switched by code, the page shown takes the focus too.
  form.BtnHomeClick(*form.BtnConfig);
  form.ChkTcpNoDelay->Focus();
  form.BtnHomeClick(*form.BtnHome);
  EXPECT_EQ(FocusName(), L"BtnStart");
  EXPECT_TRUE(errors_.empty());
}

TEST_F(MainWindowKeyboard, SpaceAndEnterRunTheCycleAndTheFocusComesBackWhenTheWaitEnds) {
  TFrmTavrin& form = OpenActive();
  clock_->HoldFirstSleep();
  PressKeys({VK_SPACE});
  clock_->WaitUntilHeld();
  EXPECT_EQ(form.Controller().FStatus, stBusy);
  // The disabled button cannot hold the focus: the window keeps it meanwhile.
  EXPECT_EQ(GetFocus(), form.Handle());
  clock_->Release();
  ASSERT_TRUE(SettlesIn(form.Controller(), stRunning));
  EXPECT_EQ(FocusName(), L"BtnStart");

  PressKeys({VK_RETURN});  // the fakes answer at once: it may settle meanwhile
  ASSERT_TRUE(SettlesIn(form.Controller(), stIdle));
  EXPECT_EQ(FocusName(), L"BtnStart");
  EXPECT_EQ(connections_.calls.size(), 4u);
  EXPECT_TRUE(errors_.empty());
}

TEST_F(MainWindowKeyboard, TheLogoOpensItsPageFromTheKeyboardAndAltF4Closes) {
  TFrmTavrin& form = OpenActive();
  form.ImgLogo->Focus();
  PressKeys({VK_RETURN});
  PressKeys({VK_SPACE});
  const std::wstring page = std::wstring(build::kLinkUrl) + L"/tavrin";
  EXPECT_EQ(opened_, (Names{page, page}));
  EXPECT_EQ(form.PnlMain->ActiveCard(), 0u);

  const HWND window = form.Handle();
  PressKeys({VK_MENU, VK_F4});
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace tavrin::test
