#include "base/error_report.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <system_error>
#include <vector>

namespace tavrin {
namespace {

class ErrorReporting : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = SetErrorHandler([this](const ErrorReport& r) { reports_.push_back(r); });
  }
  void TearDown() override { SetErrorHandler(previous_); }

  std::vector<ErrorReport> reports_;

 private:
  ErrorHandler previous_;
};

TEST_F(ErrorReporting, RunGuardedPassesErrorsToTheHandlerWithWhereTheyHappened) {
  EXPECT_TRUE(RunGuarded(L"quiet", [] {}));
  EXPECT_FALSE(RunGuarded(L"FrmTavrin.FormCreate",
                          [] { throw std::runtime_error("Invalid data type for 'status'"); }));
  EXPECT_FALSE(RunGuarded(L"BtnStart", [] { throw 42; }));
  EXPECT_FALSE(RunGuarded(L"ChkTcpNoDelay", [] { throw std::runtime_error(""); }));

  ASSERT_EQ(reports_.size(), 3u);
  EXPECT_EQ(reports_[0].message, L"Invalid data type for 'status'");
  EXPECT_NE(reports_[0].details.find(L"FrmTavrin.FormCreate"), std::wstring::npos);
  // Nothing to quote from the error: the user still gets a sentence.
  EXPECT_EQ(reports_[1].message, L"An unexpected error occurred.");
  EXPECT_NE(reports_[1].details.find(L"BtnStart"), std::wstring::npos);
  EXPECT_EQ(reports_[2].message, L"An unexpected error occurred.");
}

TEST_F(ErrorReporting, MessagesKeepTheirNonAsciiText) {
  RunGuarded(L"x", [] { throw std::runtime_error("\xEC\x8B\xA4\xED\x96\x89"); });
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_EQ(reports_[0].message, L"\uC2E4\uD589");
}

// Codes the system has no text for (WMI's, here) must still say what failed.
TEST_F(ErrorReporting, SystemErrorsWithoutATextShowTheirCodeInHex) {
  const int wmiInvalidClass = static_cast<int>(0x80041010u);
  RunGuarded(
      L"x", [&] { throw std::system_error(wmiInvalidClass, std::system_category(), "ExecQuery"); });
  RunGuarded(L"x", [&] { throw std::system_error(wmiInvalidClass, std::system_category()); });
  ASSERT_EQ(reports_.size(), 2u);
  EXPECT_EQ(reports_[0].message, L"ExecQuery: error 0x80041010");
  EXPECT_EQ(reports_[1].message, L"error 0x80041010");
}

TEST(ErrorReportingBoundary, AFailingHandlerDoesNotEscape) {
  const ErrorHandler previous = SetErrorHandler([](const ErrorReport&) { throw 1; });
  EXPECT_FALSE(RunGuarded(L"x", [] { throw std::runtime_error("first"); }));
  SetErrorHandler(previous);
}

}  // namespace
}  // namespace tavrin
