// The form's keyboard, driven by real key events: where Tab, Shift+Tab and
// the arrows take the focus, where the focus goes when its control hides or
// is disabled, and the keyboard-cue state.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/gui_win.h"
#include "widgets/form_win.h"
#include "widgets/labels_win.h"
#include "widgets/option_boxes_win.h"
#include "widgets/panels_win.h"
#include "widgets/vector_image_win.h"

namespace tavrin::test {
namespace {

// Counts the cue changes it hears of.
class CueListener : public Label {
 public:
  using Label::Label;
  std::vector<WPARAM> heard;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_UPDATEUISTATE) heard.push_back(wParam);
    return Label::HandleMessage(message, wParam, lParam);
  }
};

// Tab stops in nested panels: a header row (A, B), two pages (C and D on
// the first, E on the second) and a label that is no stop.
class Keyboard : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    form_.CreateHandle();
    head_ = &form_.Add<Panel>(L"Head", &form_, DesignRect{0, 0, 300, 40});
    a_ = &Box(L"A", *head_, 0);
    b_ = &Box(L"B", *head_, 100);
    pages_ = &form_.Add<CardPanel>(L"Pages", &form_, DesignRect{0, 40, 300, 160});
    Panel& first = pages_->AddCard(form_, L"First");
    Panel& second = pages_->AddCard(form_, L"Second");
    c_ = &Box(L"C", first, 0);
    listener_ = &form_.Add<CueListener>(L"Text", &first, DesignRect{0, 30, 100, 20});
    d_ = &Box(L"D", first, 100);
    e_ = &Box(L"E", second, 0);
  }

  CheckBox& Box(const wchar_t* name, Control& parent, int left) {
    auto& box = form_.Add<CheckBox>(name, &parent, DesignRect{left, 0, 90, 20});
    box.SetCaption(name);
    return box;
  }

  void Show() {
    form_.Show();
    Activate(form_.Handle());
  }

  // The caption of the focused window, or "form", or nothing.
  std::wstring Focus() const {
    const HWND focus = GetFocus();
    if (focus == form_.Handle()) return L"form";
    return focus ? WindowText(focus) : L"";
  }

  // Where the focus is after each of `presses` presses of `keys`.
  std::vector<std::wstring> FocusAfter(std::initializer_list<WORD> keys, int presses) {
    std::vector<std::wstring> seen;
    for (int i = 0; i < presses; ++i) {
      PressKeys(keys);
      seen.push_back(Focus());
    }
    return seen;
  }

  Form form_{L"KeyboardForm", 300, 200};
  Panel* head_ = nullptr;
  CardPanel* pages_ = nullptr;
  CheckBox* a_ = nullptr;
  CheckBox* b_ = nullptr;
  CheckBox* c_ = nullptr;
  CheckBox* d_ = nullptr;
  CheckBox* e_ = nullptr;
  CueListener* listener_ = nullptr;
};

using Names = std::vector<std::wstring>;

TEST_F(Keyboard, TabGoesRoundTheShownStopsInTheirOrderAndShiftTabBack) {
  Show();
  EXPECT_EQ(Focus(), L"A");  // the first stop, when the form names none
  EXPECT_EQ(FocusAfter({VK_TAB}, 4), (Names{L"B", L"C", L"D", L"A"}));
  EXPECT_EQ(FocusAfter({VK_SHIFT, VK_TAB}, 3), (Names{L"D", L"C", L"B"}));
  pages_->SetActiveCard(1);
  EXPECT_EQ(FocusAfter({VK_TAB}, 3), (Names{L"E", L"A", L"B"}));
}

TEST_F(Keyboard, TheFirstFocusGoesWhereTheFormSays) {
  form_.SetFirstFocus(d_);
  Show();
  EXPECT_EQ(Focus(), L"D");
}

TEST_F(Keyboard, ArrowsMoveAmongTheStopsOfOneParentOnly) {
  Show();
  EXPECT_EQ(FocusAfter({VK_RIGHT}, 2), (Names{L"B", L"A"}));
  EXPECT_EQ(FocusAfter({VK_LEFT}, 1), (Names{L"B"}));
  c_->Focus();
  EXPECT_EQ(FocusAfter({VK_DOWN}, 2), (Names{L"D", L"C"}));
  EXPECT_EQ(FocusAfter({VK_UP}, 1), (Names{L"D"}));
}

TEST_F(Keyboard, ThePageThatHidesTakesTheFocusToThePageShown) {
  Show();
  d_->Focus();
  pages_->SetActiveCard(1);
  EXPECT_EQ(Focus(), L"E");
  // Space goes to the box that shows, never to the hidden one.
  PressKeys({VK_SPACE});
  EXPECT_TRUE(e_->Checked());
  EXPECT_FALSE(d_->Checked());

  // A focus outside the pages stays where it is.
  a_->Focus();
  pages_->SetActiveCard(0);
  EXPECT_EQ(Focus(), L"A");
}

TEST_F(Keyboard, AControlThatHidesHandsTheFocusToTheNextStop) {
  Show();
  b_->Focus();
  b_->SetVisible(false);
  EXPECT_EQ(Focus(), L"C");
  d_->Focus();
  d_->SetVisible(false);
  EXPECT_EQ(Focus(), L"A");  // round the end
}

TEST_F(Keyboard, ADisabledControlLeavesTheFocusOnTheFormAndGetsItBack) {
  Show();
  c_->Focus();
  c_->SetEnabled(false);
  EXPECT_EQ(Focus(), L"form");
  c_->SetEnabled(true);
  EXPECT_EQ(Focus(), L"C");

  // Unless the user went on meanwhile.
  c_->SetEnabled(false);
  EXPECT_EQ(FocusAfter({VK_TAB}, 1), (Names{L"A"}));
  c_->SetEnabled(true);
  EXPECT_EQ(Focus(), L"A");
}

TEST_F(Keyboard, TheFocusIsKeptWhileAnotherWindowIsActive) {
  Show();
  d_->Focus();
  const HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                     200, 100, nullptr, nullptr, nullptr, nullptr);
  Activate(other);
  ASSERT_EQ(GetForegroundWindow(), other);
  Activate(form_.Handle());
  EXPECT_EQ(Focus(), L"D");

  // A control disabled meanwhile waits for the form's return, then its own.
  Activate(other);
  d_->SetEnabled(false);
  Activate(form_.Handle());
  EXPECT_EQ(Focus(), L"form");
  d_->SetEnabled(true);
  EXPECT_EQ(Focus(), L"D");
  DestroyWindow(other);
}

TEST_F(Keyboard, FocusCuesHideUntilTheKeyboardIsUsedUnlessTheUserShowsThemAlways) {
  {
    KeyboardCues cues(false);
    Form form(L"CuesHidden", 100, 100);
    form.CreateHandle();
    EXPECT_FALSE(form.FocusCuesShown());
    EXPECT_EQ(SendMessageW(form.Handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS, UISF_HIDEFOCUS);
  }
  KeyboardCues cues(false);
  form_.DestroyHandle();
  form_.CreateHandle();  // made anew under the setting
  Show();
  ASSERT_FALSE(form_.FocusCuesShown());
  PressKeys({VK_TAB});
  EXPECT_TRUE(form_.FocusCuesShown());
  EXPECT_EQ(SendMessageW(listener_->Handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS, 0);
  // Every window inside heard of it once; a repeat changes nothing.
  PressKeys({VK_TAB});
  EXPECT_EQ(listener_->heard, (std::vector<WPARAM>{MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS)}));

  // A control asks through its form, as the system's own do.
  SendMessageW(a_->Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
  EXPECT_FALSE(form_.FocusCuesShown());
  KeyboardCues always(true);
  Form shown(L"CuesShown", 100, 100);
  shown.CreateHandle();
  EXPECT_TRUE(shown.FocusCuesShown());
}

TEST_F(Keyboard, AClickablePictureTakesEnterAndSpaceAndMarksItsFocus) {
  auto& picture = form_.Add<VectorImage>(L"Picture", head_, DesignRect{200, 5, 60, 30});
  picture.SetTabStop(true);
  int clicks = 0;
  picture.OnClick = [&clicks](Component&) { ++clicks; };
  KeyboardCues always(true);
  form_.DestroyHandle();
  form_.CreateHandle();
  Show();
  const COLORREF mark = GetSysColor(COLOR_WINDOWTEXT);
  EXPECT_EQ(PixelAt(picture.Handle(), 0, 0), GetSysColor(COLOR_WINDOW));

  EXPECT_EQ(FocusAfter({VK_TAB}, 2), (Names{L"B", L""}));  // the picture, after the boxes
  ASSERT_TRUE(picture.Focused());
  EXPECT_EQ(PixelAt(picture.Handle(), 0, 0), mark);
  EXPECT_EQ(PixelAt(picture.Handle(), 59, 2), mark);
  PressKeys({VK_RETURN});
  EXPECT_EQ(clicks, 1);
  PressKeys({VK_SPACE});
  EXPECT_EQ(clicks, 2);

  SendMessageW(form_.Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
  EXPECT_EQ(PixelAt(picture.Handle(), 0, 0), GetSysColor(COLOR_WINDOW));
}

}  // namespace
}  // namespace tavrin::test
