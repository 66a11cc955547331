#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sys/registry_keys.h"

// Single registry values addressed by full path texts such as
// "HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\MSMQ\Parameters". Every call opens
// its key in the 64-bit view (creating it when missing), does one thing,
// closes the key and reports nothing.
namespace tavrin {

// Index i stands for the predefined root key 0x80000000 + i.
inline constexpr std::array<std::wstring_view, 7> RootKeyNames = {
    L"HKEY_CLASSES_ROOT",     L"HKEY_CURRENT_USER",   L"HKEY_LOCAL_MACHINE", L"HKEY_USERS",
    L"HKEY_PERFORMANCE_DATA", L"HKEY_CURRENT_CONFIG", L"HKEY_DYN_DATA"};

// Exact, case-sensitive match; 0 (no root key) for any other name.
RegHandle RootKeyFromName(std::wstring_view name);

void WriteRegistryInteger(RegistryKeys& keys, const std::wstring& path,
                          const std::wstring& valueName, std::int32_t value);
void DeleteRegistryValue(RegistryKeys& keys, const std::wstring& path,
                         const std::wstring& valueName);
// A REG_DWORD value, read without creating anything; nothing when the key or
// the value is missing or of another type.
std::optional<std::int32_t> ReadRegistryInteger(RegistryKeys& keys, const std::wstring& path,
                                                const std::wstring& valueName);

}  // namespace tavrin
