// An HTTP body decoded by the charset its Content-Type declares, and the text
// encodings underneath. Input: the Content-Type value NUL the body's bytes.

#include <algorithm>

#include "fuzz_input.h"
#include "sys/http_charset.h"

using namespace tavrin;
using namespace tavrin::fuzz;

namespace {

// The system's code pages stand-in: windows-1252 as Latin-1, the rest missing.
std::optional<std::wstring> Latin1Only(std::string_view bytes, unsigned codePage) {
  if (codePage != 1252) return std::nullopt;
  std::wstring text;
  for (const unsigned char b : bytes) text.push_back(b);
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto fields = Fields(data, size, 2);
  const std::string_view body = fields[1];
  const std::wstring contentType = Wide(fields[0]);
  static_cast<void>(DecodeDeclaredCharset(body, contentType, Latin1Only));

  // Whatever UTF-8 decodes to comes back the same through an encode.
  const std::wstring text = Utf8ToWide(body);
  Require(Utf8ToWide(WideToUtf8(text)) == text, "UTF-8 does not round-trip");
  // UTF-16LE keeps every code unit, lone surrogates included.
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(body.data());
  const std::vector<std::uint8_t> again = WideToUtf16Le(Utf16LeToWide(bytes, body.size()));
  Require(again.size() == body.size() / 2 * 2 && std::equal(again.begin(), again.end(), bytes),
          "UTF-16LE does not round-trip");
  return 0;
}
