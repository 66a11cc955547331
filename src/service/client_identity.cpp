#include "service/client_identity.h"

#include <cwchar>
#include <iterator>

#include "sys/registry_text.h"

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
  StoredText stored = QueryText(key, kIdentityValue);
  if (stored.status == reg::kFileNotFound) {
    if (SetText(key, kIdentityValue, NewClientID(sources)) != reg::kSuccess) return L"";
    stored = QueryText(key, kIdentityValue);
  }
  // Only text values count; anything else is left as it is and sends nothing.
  return stored.status == reg::kSuccess && stored.IsText() ? stored.text : L"";
}

}  // namespace tavrin
