#pragma once

#include <exception>
#include <functional>
#include <string>
#include <string_view>

// Errors that escape an event handler or the window's creation stop at the
// dispatch boundary and go to the program's error handler, which tells the
// user; the program goes on running.
namespace tavrin {

struct ErrorReport {
  std::wstring message;  // what went wrong, from the error itself
  std::wstring details;  // where it was caught and what that means for the user
};

ErrorReport DescribeError(std::exception_ptr error, std::wstring_view where);

using ErrorHandler = std::function<void(const ErrorReport&)>;

// Replaces the handler; the old one is returned so a test can put it back.
ErrorHandler SetErrorHandler(ErrorHandler handler);

// Hands the error to the handler; never throws, whatever the handler does.
void HandleError(std::exception_ptr error, std::wstring_view where) noexcept;

// Runs `action` and turns anything it throws into HandleError; true when it
// ran through.
template <class Action>
bool RunGuarded(std::wstring_view where, Action&& action) noexcept {
  try {
    action();
    return true;
  } catch (...) {
    HandleError(std::current_exception(), where);
    return false;
  }
}

}  // namespace tavrin
