#include "settings/config.h"

#include "base/text_encoding.h"
#include "sys/registry_text.h"

namespace tavrin {
namespace {

[[noreturn]] void Fail(const wchar_t* format, const std::wstring& name) {
  std::wstring message(format);
  message.replace(message.find(L"%s"), 2, name);
  throw ConfigError(message);
}

}  // namespace

ConfigError::ConfigError(const std::wstring& message)
    : std::runtime_error(WideToUtf8(message)), message_(message) {}

TConfig::TConfig(RegistryKeys& keys, const std::wstring& path) : FReg(keys) {
  // A key that neither opens nor can be created leaves a store whose reads
  // give their defaults and whose writes do nothing.
  FReg.Create(reg::kCurrentUser, L"Software\\" + path, reg::kKeyAllAccess);
}

bool TConfig::ValueExists(const std::wstring& name) {
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  return FReg.IsOpen() &&
         FReg.Keys().QueryValue(FReg.Get(), name, &type, nullptr, &size) == reg::kSuccess;
}

std::int32_t TConfig::ReadInteger(const std::wstring& name, std::int32_t fallback) {
  if (!ValueExists(name)) return fallback;
  std::uint8_t data[4] = {};
  std::uint32_t size = sizeof data;
  std::uint32_t type = 0;
  if (FReg.Keys().QueryValue(FReg.Get(), name, &type, data, &size) != reg::kSuccess) {
    Fail(L"Failed to get data for '%s'", name);
  }
  if (type == reg::kDword || type == reg::kDwordBigEndian) {
    // Both kinds are taken as stored, little-endian.
    return reg::DwordFromBytes(data);
  }
  Fail(L"Invalid data type for '%s'", name);
}

bool TConfig::ReadBoolean(const std::wstring& name, bool fallback) {
  if (!ValueExists(name)) return fallback;
  return ReadInteger(name, 0) != 0;
}

std::wstring TConfig::ReadString(const std::wstring& name, const std::wstring& fallback) {
  if (!ValueExists(name)) return fallback;
  const StoredText stored = QueryText(FReg, name);
  if (stored.status != reg::kSuccess) Fail(L"Failed to get data for '%s'", name);
  if (stored.size == 0) return L"";  // empty reads as empty, whatever its type
  if (!stored.IsText()) Fail(L"Invalid data type for '%s'", name);
  return stored.text;
}

void TConfig::Write(const std::wstring& name, std::uint32_t type, const std::uint8_t* data,
                    std::size_t size) {
  if (!FReg.IsOpen()) return;
  FReg.Keys().SetValue(FReg.Get(), name, type, data, static_cast<std::uint32_t>(size));
}

std::int32_t TConfig::WriteInteger(const std::wstring& name, std::int32_t value) {
  const auto data = reg::DwordBytes(value);
  Write(name, reg::kDword, data.data(), data.size());
  return value;
}

bool TConfig::WriteBoolean(const std::wstring& name, bool value) {
  WriteInteger(name, value ? 1 : 0);
  return value;
}

std::wstring TConfig::WriteString(const std::wstring& name, const std::wstring& value) {
  if (FReg.IsOpen()) SetText(FReg, name, value);
  return value;
}

}  // namespace tavrin
