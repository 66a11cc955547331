#include "sys/registry_text.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/text_encoding.h"
#include "support/registry_backends.h"

namespace tavrin::test {
namespace {

class RegistryText : public RegistryTest {};

TEST_P(RegistryText, WritesTextWithItsNulAndReadsBackWhatItFinds) {
  ScopedKey key(keys());
  ASSERT_EQ(key.Create(reg::kCurrentUser, L"Software\\TavrinTest", reg::kKeyAllAccess),
            reg::kSuccess);
  ASSERT_EQ(SetText(key, L"Written", L"\uD55C x"), reg::kSuccess);
  EXPECT_EQ(ReadBack(keys(), kUserTestKey, L"Written"),
            (StoredValue{reg::kSz, {0x5C, 0xD5, ' ', 0, 'x', 0, 0, 0}}));

  // What another program may have left, and how it reads.
  struct Case {
    const wchar_t* name;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
    const wchar_t* text;
    bool isText;
  } const cases[] = {
      {L"Empty", reg::kSz, {}, L"", true},
      {L"NoNul", reg::kSz, {'a', 0, 'b', 0}, L"ab", true},
      {L"EarlyNul", reg::kSz, {'a', 0, 0, 0, 'b', 0, 0, 0}, L"a", true},
      {L"OddByte", reg::kSz, {'a', 0, 'b'}, L"a", true},
      {L"Expand", reg::kExpandSz, {'%', 0, 'X', 0, '%', 0, 0, 0}, L"%X%", true},
      {L"Number", reg::kDword, {'7', 0, 0, 0}, L"7", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.name));
    ASSERT_EQ(keys().SetValue(key.Get(), c.name, c.type, c.data.data(),
                              static_cast<std::uint32_t>(c.data.size())),
              reg::kSuccess);
    const StoredText stored = QueryText(key, c.name);
    EXPECT_EQ(stored.status, reg::kSuccess);
    EXPECT_EQ(stored.size, c.data.size());
    EXPECT_EQ(stored.text, c.text);
    EXPECT_EQ(stored.IsText(), c.isText);
  }
  EXPECT_EQ(QueryText(key, L"Missing").status, reg::kFileNotFound);
}

TAVRIN_FOR_EACH_REGISTRY(RegistryText);

}  // namespace
}  // namespace tavrin::test
