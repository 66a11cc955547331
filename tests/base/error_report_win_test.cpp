// Error texts as a French Windows words them: run with a French user locale.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <system_error>

#include "base/error_report.h"

namespace tavrin {
namespace {

// What the program's error handler is told when `fail` throws in a guarded call.
std::wstring ReportedMessage(void (*fail)()) {
  std::wstring message = L"nothing reported";
  const ErrorHandler previous =
      SetErrorHandler([&](const ErrorReport& report) { message = report.message; });
  RunGuarded(L"test", fail);
  SetErrorHandler(previous);
  return message;
}

TEST(FrenchErrorTexts, ReachTheReportReadable) {
  ASSERT_EQ(PRIMARYLANGID(GetUserDefaultUILanguage()), LANG_FRENCH)
      << "needs a French user locale (ctest's base_error_texts_fr_FR gives it)";
  struct Case {
    const char* title;
    void (*fail)();
    const wchar_t* message;
  };
  const Case cases[] = {
      {"a Win32 error",
       [] {
         throw std::system_error(ERROR_ACCESS_DENIED, std::system_category(), "RegOpenKeyExW");
       },
       L"RegOpenKeyExW: Acc\u00E8s refus\u00E9."},
      {"an HRESULT",
       [] { throw std::system_error(E_ACCESSDENIED, std::system_category(), "ExecQuery"); },
       L"ExecQuery: Acc\u00E8s refus\u00E9."},
      {"narrow text in the ANSI code page", [] { throw std::runtime_error("Acc\xE8s refus\xE9"); },
       L"Acc\u00E8s refus\u00E9"},
      {"the program's own UTF-8 stays UTF-8",
       [] { throw std::runtime_error("Acc\xC3\xA8s refus\xC3\xA9"); }, L"Acc\u00E8s refus\u00E9"},
  };
  for (const Case& c : cases) EXPECT_EQ(ReportedMessage(c.fail), c.message) << c.title;
}

}  // namespace
}  // namespace tavrin
