#include "sys/registry_text.h"

#include <algorithm>
#include <vector>

#include "base/text_encoding.h"

namespace tavrin {

StoredText QueryText(const ScopedKey& key, const std::wstring& name) {
  StoredText stored;
  stored.status = key.Keys().QueryValue(key.Get(), name, &stored.type, nullptr, &stored.size);
  if (stored.status != reg::kSuccess || stored.size == 0) return stored;
  std::vector<std::uint8_t> data(stored.size);
  stored.status = key.Keys().QueryValue(key.Get(), name, &stored.type, data.data(), &stored.size);
  if (stored.status != reg::kSuccess) return stored;
  stored.text = Utf16LeToWide(data.data(), stored.size);
  stored.text.resize(std::min(stored.text.size(), stored.text.find(L'\0')));
  return stored;
}

long SetText(const ScopedKey& key, const std::wstring& name, std::wstring_view text) {
  std::vector<std::uint8_t> data = WideToUtf16Le(text);
  data.insert(data.end(), {0, 0});
  return key.Keys().SetValue(key.Get(), name, reg::kSz, data.data(),
                             static_cast<std::uint32_t>(data.size()));
}

}  // namespace tavrin
