// The main window as a screen reader reads it, in the interface language:
// every control's role, name, state and default action, and Run pressed
// through its default action with the events that follow the cycle.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_window_fixture_win.h"
#include "i18n/own_texts.h"
#include "support/accessibility_win.h"

namespace tavrin::test {
namespace {

struct Expected {
  const Control* control;
  long role;
  std::wstring name;
  long state;  // the focus aside
  std::wstring action;
};

void ExpectRead(const std::vector<Expected>& controls) {
  for (const Expected& e : controls) {
    SCOPED_TRACE(testing::PrintToString(e.control->Name()));
    const std::optional<AccessibleFacts> facts = ReadAccessible(e.control->Handle());
    ASSERT_TRUE(facts.has_value());
    EXPECT_EQ(facts->role, e.role);
    EXPECT_EQ(facts->name, e.name);
    EXPECT_EQ(facts->state & ~STATE_SYSTEM_FOCUSED, e.state);
    EXPECT_EQ(facts->action, e.action);
  }
}

// The tagline the fixture picks, read without its marks.
constexpr wchar_t kFirstTagline[] = L"<B>게임 반응 속도</B>를 손쉽게 향상 시킵니다.";

std::wstring WithoutBold(std::wstring text) {
  for (const std::wstring mark : {L"<B>", L"</B>"}) {
    for (auto at = text.find(mark); at != std::wstring::npos; at = text.find(mark)) {
      text.erase(at, mark.size());
    }
  }
  return text;
}

using MainWindowAccessibility = MainWindow;

TEST_F(MainWindowAccessibility, EveryControlIsReadInTheInterfaceLanguage) {
  constexpr long kFocusable = STATE_SYSTEM_FOCUSABLE;
  constexpr long kText = STATE_SYSTEM_READONLY;
  for (const wchar_t* language : {L"en", L"ja", L"fr"}) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(language)));
    CurrentLanguage = language;
    TFrmTavrin& form = Open();
    const std::wstring press = OwnTranslate(OwnText::ActionPress);
    const std::wstring pageSwitch = OwnTranslate(OwnText::ActionSwitch);
    const std::wstring check = OwnTranslate(OwnText::ActionCheck);
    const long tab = kFocusable | STATE_SYSTEM_SELECTABLE;
    ExpectRead({
        {form.BtnHome, ROLE_SYSTEM_PAGETAB, Translate(L"처음화면"), tab | STATE_SYSTEM_SELECTED,
         pageSwitch},
        {form.BtnConfig, ROLE_SYSTEM_PAGETAB, Translate(L"환경설정"), tab, pageSwitch},
        {form.ImgLogo, ROLE_SYSTEM_LINK, OwnTranslate(OwnText::LogoName),
         kFocusable | STATE_SYSTEM_LINKED, OwnTranslate(OwnText::ActionJump)},
        {form.LblTitle, ROLE_SYSTEM_STATICTEXT, L"Tavrin", kText, L""},
        {form.LblContent, ROLE_SYSTEM_STATICTEXT, WithoutBold(Translate(kFirstTagline)), kText,
         L""},
        {form.BtnStart, ROLE_SYSTEM_PUSHBUTTON, Translate(L"실행하기"), kFocusable, press},
        {form.Indicator, ROLE_SYSTEM_ANIMATION, OwnTranslate(OwnText::BusyName),
         STATE_SYSTEM_INVISIBLE, L""},
    });
    form.BtnHomeClick(*form.BtnConfig);
    ExpectRead({
        {form.BtnConfig, ROLE_SYSTEM_PAGETAB, Translate(L"환경설정"), tab | STATE_SYSTEM_SELECTED,
         pageSwitch},
        {form.GroupBox1, ROLE_SYSTEM_GROUPING, Translate(L"네트워크 아답터 정보"), 0, L""},
        {form.LblAdapter, ROLE_SYSTEM_STATICTEXT, L"Test Ethernet", kText, L""},
        {form.ChkTcpNoDelay, ROLE_SYSTEM_CHECKBUTTON, L"TcpNoDelay",
         kFocusable | (form.ChkTcpNoDelay->Checked() ? STATE_SYSTEM_CHECKED : 0),
         form.ChkTcpNoDelay->Checked() ? OwnTranslate(OwnText::ActionUncheck) : check},
        {form.LblVersion, ROLE_SYSTEM_STATICTEXT, Translate(L"버전") + L": 0.0.0.0", kText, L""},
    });
  }
}

TEST_F(MainWindowAccessibility, RunPressedThroughItsDefaultActionIsFollowedByTheEventsReadersHear) {
  TFrmTavrin& form = Open();
  const HWND start = form.BtnStart->Handle();
  WinEventRecorder events;
  clock_->HoldFirstSleep();
  ASSERT_EQ(DoDefaultAction(start), S_OK);
  Pump();
  clock_->WaitUntilHeld();
  ASSERT_EQ(form.Controller().FStatus, stBusy);
  std::optional<AccessibleFacts> facts = ReadAccessible(start);
  ASSERT_TRUE(facts.has_value());
  EXPECT_EQ(facts->name, OwnTranslate(OwnText::BusyName));
  EXPECT_TRUE(facts->state & STATE_SYSTEM_UNAVAILABLE);
  EXPECT_EQ(ReadAccessible(form.Indicator->Handle())->state,
            STATE_SYSTEM_BUSY | STATE_SYSTEM_ANIMATED);
  Pump();
  EXPECT_EQ(events.Count(EVENT_OBJECT_STATECHANGE, start), 1);  // unavailable
  EXPECT_EQ(events.Count(EVENT_OBJECT_NAMECHANGE, start), 1);
  EXPECT_EQ(events.Count(EVENT_OBJECT_STATECHANGE, form.Indicator->Handle()), 1);

  events.Clear();
  clock_->Release();
  ASSERT_TRUE(SettlesIn(form.Controller(), stRunning));
  facts = ReadAccessible(start);
  EXPECT_EQ(facts->name, Translate(L"실행중"));
  EXPECT_EQ(facts->state & ~STATE_SYSTEM_FOCUSED, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_PRESSED);
  Pump();
  EXPECT_EQ(events.Count(EVENT_OBJECT_STATECHANGE, start), 2);  // available, pressed
  EXPECT_EQ(events.Count(EVENT_OBJECT_NAMECHANGE, start), 1);
  EXPECT_EQ(events.Count(EVENT_OBJECT_STATECHANGE, form.Indicator->Handle()), 1);
  EXPECT_TRUE(errors_.empty());
}

}  // namespace
}  // namespace tavrin::test
