// What screen readers learn of the controls, asked as a reader asks, and
// the events that tell them of a change.
#include <gtest/gtest.h>

#include "i18n/own_texts.h"
#include "support/accessibility_win.h"
#include "support/gui_win.h"
#include "widgets/activity_indicator_win.h"
#include "widgets/labels_win.h"
#include "widgets/option_boxes_win.h"
#include "widgets/panels_win.h"
#include "widgets/vector_image_win.h"

namespace tavrin::test {
namespace {

class Accessibility : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    form_.Show();
    Activate(form_.Handle());
  }

  AccessibleFacts Read(const Control& control) {
    const std::optional<AccessibleFacts> facts = ReadAccessible(control.Handle());
    EXPECT_TRUE(facts.has_value()) << "no object for " << testing::PrintToString(control.Name());
    return facts.value_or(AccessibleFacts{});
  }
};

TEST_F(Accessibility, EachControlTellsItsRoleNameStateAndAction) {
  auto& label = form_.Add<Label>(L"Label", &form_, DesignRect{0, 0, 100, 15});
  label.SetCaption(L"Adapter");
  auto& markup = form_.Add<MarkupLabel>(L"Markup", &form_, DesignRect{0, 15, 200, 15});
  markup.SetMarkup(L"<C><B>Fast</B> games</C>");
  auto& group = form_.Add<GroupBox>(L"Group", &form_, DesignRect{0, 30, 200, 60});
  group.SetCaption(L"Options");
  auto& box = form_.Add<CheckBox>(L"Box", &group, DesignRect{10, 20, 100, 17});
  box.SetCaption(L"TcpNoDelay");
  auto& link = form_.Add<VectorImage>(L"Link", &form_, DesignRect{200, 0, 60, 30});
  link.OnClick = [](Component&) {};
  link.SetTabStop(true);
  link.SetAccessibleName(L"Home page");
  auto& picture = form_.Add<VectorImage>(L"Picture", &form_, DesignRect{200, 40, 60, 30});
  auto& indicator = form_.Add<ActivityIndicator>(L"Busy", &form_, DesignRect{200, 80, 32, 32});
  indicator.SetAccessibleName(L"Working");

  struct Case {
    const Control* control;
    AccessibleFacts facts;
  };
  const std::wstring check = OwnTranslate(OwnText::ActionCheck);
  const Case cases[] = {
      {&label, {ROLE_SYSTEM_STATICTEXT, L"Adapter", STATE_SYSTEM_READONLY, L"", L""}},
      {&markup, {ROLE_SYSTEM_STATICTEXT, L"Fast games", STATE_SYSTEM_READONLY, L"", L""}},
      {&group, {ROLE_SYSTEM_GROUPING, L"Options", 0, L"", L""}},
      {&box, {ROLE_SYSTEM_CHECKBUTTON, L"TcpNoDelay", STATE_SYSTEM_FOCUSABLE, check, L""}},
      {&link,
       {ROLE_SYSTEM_LINK, L"Home page", STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE,
        OwnTranslate(OwnText::ActionJump), L""}},
      {&picture, {ROLE_SYSTEM_GRAPHIC, L"", 0, L"", L""}},
      {&indicator, {ROLE_SYSTEM_ANIMATION, L"Working", 0, L"", L""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.control->Name()));
    const AccessibleFacts facts = Read(*c.control);
    EXPECT_EQ(facts.role, c.facts.role);
    EXPECT_EQ(facts.name, c.facts.name);
    EXPECT_EQ(facts.state, c.facts.state);
    EXPECT_EQ(facts.action, c.facts.action);
    EXPECT_EQ(facts.description, c.facts.description);
  }
  // A plain container is left to the system's own object.
  auto& panel = form_.Add<Panel>(L"Panel", &form_, DesignRect{0, 100, 50, 50});
  EXPECT_EQ(Read(panel).role, ROLE_SYSTEM_CLIENT);
}

TEST_F(Accessibility, StatesFollowTheControl) {
  auto& box = form_.Add<CheckBox>(L"Box", &form_, DesignRect{10, 20, 100, 17});
  auto& indicator = form_.Add<ActivityIndicator>(L"Busy", &form_, DesignRect{200, 80, 32, 32});
  box.SetChecked(true);
  box.Focus();
  EXPECT_EQ(Read(box).state, STATE_SYSTEM_CHECKED | STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED);
  EXPECT_EQ(Read(box).action, OwnTranslate(OwnText::ActionUncheck));
  box.SetEnabled(false);
  EXPECT_EQ(Read(box).state,
            STATE_SYSTEM_CHECKED | STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_UNAVAILABLE);

  indicator.SetAnimating(true);
  EXPECT_EQ(Read(indicator).state, STATE_SYSTEM_BUSY | STATE_SYSTEM_ANIMATED);
  indicator.SetAnimating(false);
  indicator.SetVisible(false);
  EXPECT_EQ(Read(indicator).state, STATE_SYSTEM_INVISIBLE);
}

TEST_F(Accessibility, TheDefaultActionClicksOnceTheCallHasReturned) {
  auto& box = form_.Add<CheckBox>(L"Box", &form_, DesignRect{10, 20, 100, 17});
  int changes = 0;
  box.OnClick = [&changes](Component&) { ++changes; };
  auto& link = form_.Add<VectorImage>(L"Link", &form_, DesignRect{200, 0, 60, 30});
  int clicks = 0;
  link.OnClick = [&clicks](Component&) { ++clicks; };
  auto& picture = form_.Add<VectorImage>(L"Picture", &form_, DesignRect{200, 40, 60, 30});

  EXPECT_EQ(DoDefaultAction(box.Handle()), S_OK);
  EXPECT_EQ(DoDefaultAction(link.Handle()), S_OK);
  EXPECT_EQ(changes + clicks, 0);  // a reader's call never waits on what it starts
  Pump();
  EXPECT_TRUE(box.Checked());
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(DoDefaultAction(picture.Handle()), DISP_E_MEMBERNOTFOUND);
}

TEST_F(Accessibility, AnObjectKeptAfterItsControlWentAnswersThatItIsDisconnected) {
  auto* label = &form_.Add<Label>(L"Label", &form_, DesignRect{0, 0, 100, 15});
  label->SetCaption(L"Adapter");
  const auto object = ClientObjectOf(label->Handle());
  ASSERT_NE(object, nullptr);
  form_.Free(*label);
  VARIANT self;
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  EXPECT_EQ(object->get_accName(self, &name), RPC_E_DISCONNECTED);
  EXPECT_EQ(name, nullptr);
}

TEST_F(Accessibility, ReadersHearOfFocusStateAndNameChanges) {
  auto& box = form_.Add<CheckBox>(L"Box", &form_, DesignRect{10, 20, 100, 17});
  auto& label = form_.Add<Label>(L"Label", &form_, DesignRect{0, 0, 100, 15});
  auto& indicator = form_.Add<ActivityIndicator>(L"Busy", &form_, DesignRect{200, 80, 32, 32});
  WinEventRecorder events;
  box.Focus();
  box.SetChecked(true);
  SendMessageW(box.Handle(), BM_CLICK, 0, 0);
  box.SetEnabled(false);
  box.SetEnabled(false);  // no change, no event
  label.SetCaption(L"Adapter");
  label.SetCaption(L"Adapter");
  indicator.SetAnimating(true);
  Pump();
  EXPECT_EQ(events.Count(EVENT_OBJECT_FOCUS, box.Handle()), 1);
  EXPECT_EQ(events.Count(EVENT_OBJECT_STATECHANGE, box.Handle()), 3);
  EXPECT_EQ(events.Count(EVENT_OBJECT_NAMECHANGE, label.Handle()), 1);
  EXPECT_EQ(events.Count(EVENT_OBJECT_STATECHANGE, indicator.Handle()), 1);
}

}  // namespace
}  // namespace tavrin::test
