#include "base/error_report.h"

#include <utility>

#include "base/text_encoding.h"

namespace tavrin {
namespace {

ErrorHandler& CurrentHandler() {
  static ErrorHandler handler;
  return handler;
}

std::wstring MessageOf(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    std::wstring message = Utf8ToWide(e.what());
    if (!message.empty()) return message;
  } catch (...) {
  }
  return L"An unexpected error occurred.";
}

}  // namespace

ErrorReport DescribeError(std::exception_ptr error, std::wstring_view where) {
  return {MessageOf(error), L"Where: " + std::wstring(where) +
                                L"\nWhat was under way there stopped; Tavrin goes on running."};
}

ErrorHandler SetErrorHandler(ErrorHandler handler) {
  return std::exchange(CurrentHandler(), std::move(handler));
}

void HandleError(std::exception_ptr error, std::wstring_view where) noexcept {
  try {
    if (CurrentHandler()) CurrentHandler()(DescribeError(error, where));
  } catch (...) {
    // The report itself failed; nothing is left to tell the user with.
  }
}

}  // namespace tavrin
