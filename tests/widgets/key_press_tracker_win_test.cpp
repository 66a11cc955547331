#include "widgets/key_press_tracker_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavrin::test {
namespace {

constexpr LPARAM kRepeat = 1 << 30;  // the key was already down

struct Key {
  UINT message;
  WPARAM key;
  LPARAM flags = 0;
};

const Key kSpaceDown{WM_KEYDOWN, VK_SPACE};
const Key kSpaceRepeat{WM_KEYDOWN, VK_SPACE, kRepeat};
const Key kSpaceUp{WM_KEYUP, VK_SPACE};
const Key kEnterDown{WM_KEYDOWN, VK_RETURN};
const Key kEnterRepeat{WM_KEYDOWN, VK_RETURN, kRepeat};
const Key kEnterUp{WM_KEYUP, VK_RETURN};
const Key kTabDown{WM_KEYDOWN, VK_TAB};
const Key kCancel{0, 0};  // stands for the focus leaving

struct KeyCase {
  std::string name;
  std::vector<Key> keys;
  int clicks;
};

class KeyPresses : public testing::TestWithParam<KeyCase> {};

TEST_P(KeyPresses, ClickAsASystemButtonDoes) {
  KeyPressTracker tracker;
  int clicks = 0;
  for (const Key& key : GetParam().keys) {
    if (key.message == 0) {
      tracker.Cancel();
      continue;
    }
    if (tracker.OnKey(key.message, key.key, key.flags) == KeyPressTracker::Outcome::kClicked) {
      ++clicks;
    }
  }
  EXPECT_EQ(clicks, GetParam().clicks);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, KeyPresses,
    testing::Values(
        KeyCase{"SpaceClicksOnRelease", {kSpaceDown, kSpaceUp}, 1},
        KeyCase{"SpaceHeldDownClicksNotYet", {kSpaceDown, kSpaceRepeat}, 0},
        KeyCase{"SpaceRepeatsClickOnce", {kSpaceDown, kSpaceRepeat, kSpaceRepeat, kSpaceUp}, 1},
        KeyCase{"SpaceHeldWhenTheFocusCameClicksNothing", {kSpaceRepeat, kSpaceUp}, 0},
        KeyCase{"SpaceReleasedAloneClicksNothing", {kSpaceUp}, 0},
        KeyCase{
            "FocusLostWhileHeldClicksNothing", {kSpaceDown, kCancel, kSpaceRepeat, kSpaceUp}, 0},
        KeyCase{"EnterClicksAtOnce", {kEnterDown}, 1},
        KeyCase{"EnterRepeatsClickOnce", {kEnterDown, kEnterRepeat, kEnterRepeat, kEnterUp}, 1}),
    [](const testing::TestParamInfo<KeyCase>& info) { return info.param.name; });

TEST(KeyPressTracker, LeavesOtherKeysToTheControl) {
  KeyPressTracker tracker;
  EXPECT_EQ(tracker.OnKey(kTabDown.message, kTabDown.key, 0), KeyPressTracker::Outcome::kNotMine);
  EXPECT_EQ(tracker.OnKey(kEnterUp.message, kEnterUp.key, 0), KeyPressTracker::Outcome::kNotMine);
  EXPECT_EQ(tracker.OnKey(WM_CHAR, VK_SPACE, 0), KeyPressTracker::Outcome::kNotMine);
  EXPECT_EQ(tracker.OnKey(kSpaceDown.message, kSpaceDown.key, 0), KeyPressTracker::Outcome::kTaken);
  EXPECT_TRUE(tracker.Pressed());  // drawn pushed while held
}

}  // namespace
}  // namespace tavrin::test
