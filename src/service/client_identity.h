#pragma once

#include <cstdint>
#include <string>

#include "sys/registry_keys.h"

// The per-user client identifier sent with every check-in: made once, kept
// under HKEY_CURRENT_USER\Software\Morvane as "MUID", never renewed.
namespace tavrin {

struct LocalClock {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// Where a new identifier takes its chance and its time from.
class IdentitySources {
 public:
  virtual ~IdentitySources() = default;
  // A number from 0 to range - 1 from the process's generator.
  virtual std::uint32_t Random(std::uint32_t range) = 0;
  virtual LocalClock Now() = 0;
};

// 32 characters: random, date, random, time, random, without separators.
std::wstring NewClientID(IdentitySources& sources);

// The stored identifier, made and stored first when there is none; empty on
// any registry failure, including a stored value that is not a string.
std::wstring GetClientID(RegistryKeys& keys, IdentitySources& sources);

// The process's generator and the local clock (Windows builds only).
IdentitySources& SystemIdentitySources();

}  // namespace tavrin
