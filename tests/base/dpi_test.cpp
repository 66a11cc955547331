#include "base/dpi.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

TEST(MulDivRounded, RoundsHalvesAwayFromZeroAndRefusesWhatWindowsRefuses) {
  struct Case {
    int number, numerator, denominator, expected;
  };
  for (const Case c :
       {Case{194, 50, 100, 97}, Case{123, 50, 100, 62}, Case{255, 50, 100, 128},
        Case{-255, 50, 100, -128}, Case{255, -50, 100, -128}, Case{255, 50, -100, -128},
        Case{-255, -50, -100, -128}, Case{1, 1, 3, 0}, Case{2, 1, 3, 1}, Case{7, 0, 5, 0},
        Case{5, 5, 0, -1}, Case{0x7FFFFFFF, 2, 1, -1},
        Case{0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF}}) {
    EXPECT_EQ(MulDivRounded(c.number, c.numerator, c.denominator), c.expected)
        << c.number << " * " << c.numerator << " / " << c.denominator;
  }
}

}  // namespace
}  // namespace tavrin
