#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "base/text_encoding.h"

// Shared by the fuzz targets: how an input's bytes become the pieces a target
// feeds the code under test, and how a broken invariant is reported.
namespace tavrin::fuzz {

// The input's bytes split at NUL bytes into at most `count` fields; missing
// fields are empty, and the last one keeps any further NULs.
inline std::vector<std::string_view> Fields(const std::uint8_t* data, std::size_t size,
                                            std::size_t count) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> fields;
  while (fields.size() + 1 < count) {
    const std::size_t nul = rest.find('\0');
    if (nul == rest.npos) break;
    fields.push_back(rest.substr(0, nul));
    rest.remove_prefix(nul + 1);
  }
  fields.push_back(rest);
  fields.resize(count);
  return fields;
}

inline std::wstring Wide(std::string_view bytes) { return Utf8ToWide(bytes); }

// A broken invariant is a finding like a crash: abort, so the fuzzer keeps
// the input.
inline void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

}  // namespace tavrin::fuzz
