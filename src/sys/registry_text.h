#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sys/registry_keys.h"

// Text values over the key interface: UTF-16LE data, written as REG_SZ with
// its terminating NUL and read up to the first NUL.
namespace tavrin {

struct StoredText {
  long status = reg::kSuccess;  // the query's; the rest holds only on success
  std::uint32_t type = reg::kNone;
  std::uint32_t size = 0;  // bytes as stored
  std::wstring text;       // the data as text, whatever the type says

  bool IsText() const { return type == reg::kSz || type == reg::kExpandSz; }
};

StoredText QueryText(const ScopedKey& key, const std::wstring& name);

// SetValue's result.
long SetText(const ScopedKey& key, const std::wstring& name, std::wstring_view text);

}  // namespace tavrin
