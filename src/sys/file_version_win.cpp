#include <windows.h>

#include <vector>

#include "sys/file_version.h"

namespace tavrin {

std::wstring GetFileVersion(const std::wstring& path, const std::wstring& format) {
  const std::wstring unknown = L"0.0.0.0";
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return unknown;
  std::vector<BYTE> info(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, info.data())) return unknown;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) ||
      fixed == nullptr || length < sizeof *fixed) {
    return unknown;
  }
  return FormatVersion(format, {HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                                HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)});
}

std::wstring GetAppVersion(const std::wstring& format) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return L"0.0.0.0";
    if (length < path.size()) {
      path.resize(length);
      return GetFileVersion(path, format);
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace tavrin
