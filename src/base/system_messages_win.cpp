#include <windows.h>

#include <memory>

#include "base/system_messages.h"

namespace tavrin {

std::wstring SystemNarrowToWide(std::string_view text) {
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  std::wstring wide(length > 0 ? length : 0, L'\0');
  if (length > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
  return wide;
}

std::optional<std::wstring> SystemErrorMessage(int code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  const std::unique_ptr<wchar_t, decltype(&LocalFree)> owned(buffer, &LocalFree);
  if (length == 0) return std::nullopt;
  std::wstring text(buffer, length);
  text.erase(text.find_last_not_of(L" \r\n") + 1);
  if (text.empty()) return std::nullopt;
  return text;
}

}  // namespace tavrin
