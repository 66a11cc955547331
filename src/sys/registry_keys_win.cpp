#include <windows.h>

#include "sys/registry_keys.h"

namespace tavrin {
namespace {

HKEY ToHkey(RegHandle handle) { return reinterpret_cast<HKEY>(handle); }

class Win32RegistryKeys final : public RegistryKeys {
 public:
  long CreateKey(RegHandle parent, const std::wstring& subKey, std::uint32_t access,
                 RegHandle& key) override {
    HKEY opened = nullptr;
    const LONG rc = RegCreateKeyExW(ToHkey(parent), subKey.c_str(), 0, nullptr,
                                    REG_OPTION_NON_VOLATILE, access, nullptr, &opened, nullptr);
    key = rc == ERROR_SUCCESS ? reinterpret_cast<RegHandle>(opened) : 0;
    return rc;
  }

  long OpenKey(RegHandle parent, const std::wstring& subKey, std::uint32_t access,
               RegHandle& key) override {
    HKEY opened = nullptr;
    const LONG rc = RegOpenKeyExW(ToHkey(parent), subKey.c_str(), 0, access, &opened);
    key = rc == ERROR_SUCCESS ? reinterpret_cast<RegHandle>(opened) : 0;
    return rc;
  }

  long QueryValue(RegHandle key, const std::wstring& name, std::uint32_t* type, std::uint8_t* data,
                  std::uint32_t* size) override {
    DWORD winType = 0;
    DWORD winSize = size ? *size : 0;
    const LONG rc = RegQueryValueExW(ToHkey(key), name.c_str(), nullptr, &winType, data,
                                     size ? &winSize : nullptr);
    if (type) *type = winType;
    if (size) *size = winSize;
    return rc;
  }

  long SetValue(RegHandle key, const std::wstring& name, std::uint32_t type,
                const std::uint8_t* data, std::uint32_t size) override {
    return RegSetValueExW(ToHkey(key), name.c_str(), 0, type, data, size);
  }

  long DeleteValue(RegHandle key, const std::wstring& name) override {
    return RegDeleteValueW(ToHkey(key), name.c_str());
  }

  long CloseKey(RegHandle key) override { return RegCloseKey(ToHkey(key)); }
};

}  // namespace

RegistryKeys& SystemRegistry() {
  static Win32RegistryKeys keys;
  return keys;
}

}  // namespace tavrin
