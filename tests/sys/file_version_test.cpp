#include "sys/file_version.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

TEST(FormatVersion, FillsEachPlaceholderInTurnAndNothingElse) {
  struct Case {
    const wchar_t* format;
    const wchar_t* text;
  };
  for (const Case c :
       {Case{L"%d.%d.%d.%d", L"1.5.9.0"}, Case{L"%d", L"1"}, Case{L"%d.%d.%d.%d.%d", L"1.5.9.0.%d"},
        Case{L"%s %x %n %%d", L"%s %x %n %1"}, Case{L"", L""}, Case{L"%", L"%"}}) {
    EXPECT_EQ(FormatVersion(c.format, {1, 5, 9, 0}), c.text)
        << testing::PrintToString(std::wstring(c.format));
  }
}

}  // namespace
}  // namespace tavrin
