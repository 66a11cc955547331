#include "base/error_report.h"

#include <cstdio>
#include <string_view>
#include <system_error>
#include <utility>

#include "base/system_messages.h"
#include "base/text_encoding.h"

namespace tavrin {
namespace {

ErrorHandler& CurrentHandler() {
  static ErrorHandler handler;
  return handler;
}

// The program's own texts are UTF-8; any other narrow text came from the
// system or the C++ runtime in the system's code page.
std::wstring NarrowText(std::string_view text) {
  std::wstring wide = Utf8ToWide(text);
  return WideToUtf8(wide) == text ? wide : SystemNarrowToWide(text);
}

// The runtime words system errors in narrow text, and has none for most COM
// codes: take the system's own wide text, or the code in hex.
std::wstring SystemErrorText(const std::system_error& error) {
  const int code = error.code().value();
  std::wstring text;
  if (auto message = SystemErrorMessage(code)) {
    text = std::move(*message);
  } else {
    wchar_t hex[24];
    std::swprintf(hex, 24, L"error 0x%08X", static_cast<unsigned>(code));
    text = hex;
  }
  // what() is the caller's text, ": " and the runtime's wording of the code.
  std::string_view what = error.what();
  const std::string runtimeText = error.code().message();
  if (what.ends_with(runtimeText)) what.remove_suffix(runtimeText.size());
  if (what.ends_with(": ")) what.remove_suffix(2);
  return what.empty() ? text : NarrowText(what) + L": " + text;
}

std::wstring MessageOf(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    const auto* system = dynamic_cast<const std::system_error*>(&e);
    if (system && system->code().category() == std::system_category()) {
      return SystemErrorText(*system);
    }
    std::wstring message = NarrowText(e.what());
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
