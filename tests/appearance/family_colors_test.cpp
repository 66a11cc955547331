#include "appearance/family_colors.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

TEST(ColourRules, GiveTheFamilysDerivedColours) {
  struct Case {
    const char* name;
    TColor actual, expected;
  };
  for (const Case c : {
           Case{"accent", AccentColor, RgbColor(0x3D, 0x84, 0xDD)},
           Case{"accent, light", LightenColor(AccentColor, 10), RgbColor(0x50, 0x90, 0xE0)},
           Case{"header, disabled outline", GrayOf(LightenColor(AccentColor, 50)),
                RgbColor(0xBC, 0xBC, 0xBC)},
           Case{"header, disabled caption", GrayOf(LightenColor(clBlack, 50)),
                RgbColor(0x80, 0x80, 0x80)},
           Case{"outline, disabled outline", GrayOf(LightenColor(AccentColor, 70)),
                RgbColor(0xD7, 0xD7, 0xD7)},
           Case{"outline, disabled caption", GrayOf(LightenColor(clBlack, 70)),
                RgbColor(0xB3, 0xB3, 0xB3)},
           Case{"white stays white", LightenColor(clWhite, 50), clWhite},
           Case{"nothing added at 0 %", LightenColor(AccentColor, 0), AccentColor},
           Case{"white at 100 %", LightenColor(AccentColor, 100), clWhite},
       }) {
    EXPECT_EQ(c.actual, c.expected) << c.name;
  }
}

TEST(GrayOf, RoundsExactHalvesToEven) {
  struct Case {
    TColor colour;
    std::uint8_t grey;
  };
  for (const Case c : {Case{RgbColor(0, 0, 0), 0}, Case{RgbColor(255, 255, 255), 255},
                       Case{RgbColor(0, 0, 250), 28},     // 28.5
                       Case{RgbColor(0, 60, 20), 38},     // 37.5
                       Case{RgbColor(6, 238, 0), 142},    // 141.5
                       Case{RgbColor(255, 0, 0), 76}}) {  // 76.245
    EXPECT_EQ(GrayOf(c.colour), RgbColor(c.grey, c.grey, c.grey)) << std::hex << c.colour;
  }
}

}  // namespace
}  // namespace tavrin
