#include "appearance/button_styles.h"

#include <gtest/gtest.h>

#include "appearance/fit_label_font.h"

namespace tavrin {
namespace {

using enum TButtonState;
using enum TButtonDrawStyle;
using enum TBorderDrawStyle;

constexpr TColor kAccent = RgbColor(0x3D, 0x84, 0xDD);
constexpr TColor kAccentLight = RgbColor(0x50, 0x90, 0xE0);
constexpr TColor kWhite = RgbColor(0xFF, 0xFF, 0xFF);
constexpr TColor kBlack = RgbColor(0, 0, 0);
constexpr TColor kGrey = RgbColor(0xC0, 0xC0, 0xC0);

// One row of the family's table: fill style and colour, outline style and colour, caption.
struct Row {
  const wchar_t* appearance;
  TButtonState state;
  TButtonDrawStyle fill;
  TColor fillColour;
  TBorderDrawStyle outline;
  TColor outlineColour;
  TColor caption;
};

constexpr Row kFamilyTable[] = {
    {L"Normal", Normal, btnSolid, kAccent, brdSolid, kAccent, kWhite},
    {L"Normal", Pressed, btnSolid, kAccent, brdSolid, kAccent, kWhite},
    {L"Normal", Selected, btnSolid, kAccent, brdSolid, kAccent, kWhite},
    {L"Normal", Hot, btnSolid, kAccentLight, brdSolid, kAccent, kWhite},
    {L"Normal", Disabled, btnSolid, kWhite, brdSolid, kGrey, kGrey},
    {L"Header", Normal, btnClear, kWhite, brdSolid, kBlack, kBlack},
    {L"Header", Pressed, btnSolid, kAccent, brdClear, kAccent, kWhite},
    {L"Header", Selected, btnSolid, kAccentLight, brdClear, kAccent, kWhite},
    {L"Header", Hot, btnSolid, kAccent, brdClear, kAccent, kWhite},
    {L"Header", Disabled, btnClear, kWhite, brdSolid, RgbColor(0xBC, 0xBC, 0xBC),
     RgbColor(0x80, 0x80, 0x80)},
    {L"Outline", Normal, btnClear, kAccent, brdSolid, kAccent, kBlack},
    {L"Outline", Pressed, btnSolid, kAccent, brdSolid, kAccent, kWhite},
    {L"Outline", Selected, btnSolid, kAccentLight, brdSolid, kAccent, kWhite},
    {L"Outline", Hot, btnSolid, kAccentLight, brdSolid, kAccent, kWhite},
    {L"Outline", Disabled, btnClear, kAccent, brdSolid, RgbColor(0xD7, 0xD7, 0xD7),
     RgbColor(0xB3, 0xB3, 0xB3)},
};

class StyleFamily : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterMorvaneStyles(); }
};

TEST_F(StyleFamily, FillsEveryStateAsTheFamilyTable) {
  for (const Row& row : kFamilyTable) {
    const auto look = ResolveButtonLook(L"Morvane", L"Primary", row.appearance);
    ASSERT_TRUE(look.has_value());
    const TStyledButtonAttributes expected{TButtonDrawType::btRoundRect,
                                           row.fill,
                                           row.outline,
                                           row.fillColour,
                                           row.outlineColour,
                                           0,
                                           row.caption,
                                           0};
    EXPECT_EQ((*look)[row.state], expected) << testing::PrintToString(std::wstring(row.appearance))
                                            << " state " << static_cast<int>(row.state);
  }
}

TEST_F(StyleFamily, NamesMatchIgnoringAsciiCaseAndUnknownOnesFallBack) {
  struct Case {
    const wchar_t* family;
    const wchar_t* styleClass;
    const wchar_t* appearance;
    const wchar_t* sameAs;  // the appearance whose look it gets
  };
  for (const Case c : {Case{L"morvane", L"Primary", L"outline", L"Outline"},
                       Case{L"MORVANE", L"primary", L"HEADER", L"Header"},
                       Case{L"Morvane", L"Primary", L"Flat", L"Normal"},
                       Case{L"Morvane", L"Secondary", L"Header", L"Header"},
                       Case{L"Morvane", L"", L"", L"Normal"}}) {
    const auto look = ResolveButtonLook(c.family, c.styleClass, c.appearance);
    ASSERT_TRUE(look.has_value()) << testing::PrintToString(std::wstring(c.family));
    EXPECT_EQ(look->sets, ResolveButtonLook(L"Morvane", L"Primary", c.sameAs)->sets)
        << testing::PrintToString(std::wstring(c.appearance));
  }
  EXPECT_FALSE(ResolveButtonLook(L"Classic", L"Primary", L"Normal").has_value());
}

// A family that records what the layer hands it.
class RecordingFamily final : public IStyledButtonAttributes {
 public:
  void FillStateAttributes(const std::wstring& family, const std::wstring& styleClass,
                           const std::wstring& appearance, TStyledButtonAttributes& normal,
                           TStyledButtonAttributes&, TStyledButtonAttributes&,
                           TStyledButtonAttributes&, TStyledButtonAttributes&) override {
    seen = family + L"/" + styleClass + L"/" + appearance;
    normal.BorderWidth = 7;
  }
  std::wstring FamilyName() const override { return L"Recorder"; }
  const std::vector<std::wstring>& FamilyClasses() const override { return classes; }
  const std::vector<std::wstring>& FamilyAppearances() const override { return appearances; }
  void DefaultStyleFor(int, std::wstring& styleClass, std::wstring& appearance) const override {
    styleClass = L"Main";
    appearance = L"Plain";
  }

  std::wstring seen;
  std::vector<std::wstring> classes{L"Main", L"Other"};
  std::vector<std::wstring> appearances{L"Plain", L"Fancy"};
};

TEST(StyleLayer, HandsTheFamilyItsOwnSpellingsAndTheFirstRegisteredWins) {
  auto first = std::make_shared<RecordingFamily>();
  auto second = std::make_shared<RecordingFamily>();
  RegisterStyleFamily(first);
  RegisterStyleFamily(second);

  const auto look = ResolveButtonLook(L"recorder", L"OTHER", L"fancy");
  ASSERT_TRUE(look.has_value());
  EXPECT_EQ(first->seen, L"Recorder/Other/Fancy");
  EXPECT_EQ(second->seen, L"");
  EXPECT_EQ((*look)[Normal].BorderWidth, 7);

  ResolveButtonLook(L"Recorder", L"Missing", L"Missing");
  EXPECT_EQ(first->seen, L"Recorder/Main/Plain");
}

TEST(ButtonState, FollowsThePrecedenceDisabledPressedSelectedHotNormal) {
  struct Case {
    TButtonCondition condition;
    TButtonState state;
  };
  for (const Case c : {
           Case{{.enabled = false, .down = true, .pushed = true, .focused = true, .hot = true},
                Disabled},
           Case{{.down = true, .focused = true, .hot = true}, Pressed},
           Case{{.pushed = true, .focused = true, .hot = true}, Pressed},
           Case{{.focused = true, .hot = true}, Selected},
           Case{{.hot = true}, Hot},
           Case{{}, Normal},
       }) {
    EXPECT_EQ(ChooseButtonState(c.condition), c.state) << static_cast<int>(c.state);
  }
}

TEST(FittedFontSize, ShrinksInProportionWithAFloorOfSix) {
  struct Case {
    int points, labelWidth, textWidth, expected;
  };
  for (const Case c : {Case{44, 484, 600, 35}, Case{44, 484, 4000, 6}, Case{44, 484, 484, 44},
                       Case{44, 484, 100, 44}, Case{44, 484, 485, 43}, Case{5, 10, 20, 6}}) {
    EXPECT_EQ(FittedFontSize(c.points, c.labelWidth, c.textWidth), c.expected)
        << c.points << " pt, " << c.textWidth << " px in " << c.labelWidth;
  }
}

}  // namespace
}  // namespace tavrin
