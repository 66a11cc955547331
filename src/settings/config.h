#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "sys/registry_keys.h"

namespace tavrin {

// A stored setting of the wrong type or size. Reads never catch it: it goes
// to the caller and, unhandled, to the error report.
class ConfigError : public std::runtime_error {
 public:
  explicit ConfigError(const std::wstring& message);
  const std::wstring& Message() const { return message_; }

 private:
  std::wstring message_;
};

// The per-user settings store over HKEY_CURRENT_USER\Software\<path>. Reads
// fall back to their default when a value is absent; writes never fail
// visibly. Open one for a pass of reads or for one write, then let it go.
class TConfig {
 public:
  TConfig(RegistryKeys& keys, const std::wstring& path);

  bool ReadBoolean(const std::wstring& name, bool fallback);
  std::int32_t ReadInteger(const std::wstring& name, std::int32_t fallback);
  std::wstring ReadString(const std::wstring& name, const std::wstring& fallback);

  bool WriteBoolean(const std::wstring& name, bool value);
  std::int32_t WriteInteger(const std::wstring& name, std::int32_t value);
  std::wstring WriteString(const std::wstring& name, const std::wstring& value);

 private:
  bool ValueExists(const std::wstring& name);
  void Write(const std::wstring& name, std::uint32_t type, const std::uint8_t* data,
             std::size_t size);

  ScopedKey FReg;
};

}  // namespace tavrin
