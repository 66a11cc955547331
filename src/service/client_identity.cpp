#include "service/client_identity.h"

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <vector>

#include "base/text_encoding.h"

namespace tavrin {
namespace {

constexpr wchar_t kIdentityKey[] = L"Software\\Morvane";
constexpr wchar_t kIdentityValue[] = L"MUID";
constexpr std::uint32_t kReadWrite = reg::kKeyRead | reg::kKeyWrite;

std::wstring Format(const wchar_t* format, unsigned a, unsigned b, unsigned c) {
  wchar_t text[16] = {};
  std::swprintf(text, std::size(text), format, a, b, c);
  return text;
}

std::wstring Hex(std::uint32_t value, int digits) {
  return Format(digits == 8 ? L"%08X" : L"%04X", value, 0, 0);
}

bool WriteString(ScopedKey& key, const std::wstring& name, const std::wstring& value) {
  std::vector<std::uint8_t> data = WideToUtf16Le(value);
  data.insert(data.end(), {0, 0});
  return key.Keys().SetValue(key.Get(), name, reg::kSz, data.data(),
                             static_cast<std::uint32_t>(data.size())) == reg::kSuccess;
}

// Only REG_SZ and REG_EXPAND_SZ read as strings; anything else is a failure.
bool ReadString(ScopedKey& key, const std::wstring& name, std::wstring& value) {
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  if (key.Keys().QueryValue(key.Get(), name, &type, nullptr, &size) != reg::kSuccess) return false;
  if (type != reg::kSz && type != reg::kExpandSz) return false;
  std::vector<std::uint8_t> data(size);
  if (size != 0 &&
      key.Keys().QueryValue(key.Get(), name, &type, data.data(), &size) != reg::kSuccess) {
    return false;
  }
  value = Utf16LeToWide(data.data(), size);
  value.resize(std::min(value.size(), value.find(L'\0')));
  return true;
}

}  // namespace

std::wstring NewClientID(IdentitySources& sources) {
  std::wstring id = Hex(sources.Random(0x7FFFFFFF), 8);
  const LocalClock date = sources.Now();
  id += Format(L"%02u%02u%02u", date.year % 100, date.month, date.day);
  id += Hex(sources.Random(0xFFFF), 4);
  const LocalClock time = sources.Now();  // read again, after the second number
  id += Format(L"%02u%02u%02u", time.hour, time.minute, time.second);
  id += Hex(sources.Random(0x7FFFFFFF), 8);
  return id;
}

std::wstring GetClientID(RegistryKeys& keys, IdentitySources& sources) {
  ScopedKey key(keys);
  if (key.Create(reg::kCurrentUser, kIdentityKey, kReadWrite) != reg::kSuccess) return L"";
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  if (keys.QueryValue(key.Get(), kIdentityValue, &type, nullptr, &size) == reg::kFileNotFound &&
      !WriteString(key, kIdentityValue, NewClientID(sources))) {
    return L"";
  }
  std::wstring id;
  return ReadString(key, kIdentityValue, id) ? id : L"";
}

}  // namespace tavrin
