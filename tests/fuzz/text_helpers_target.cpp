// ExtractBetween and Unescape on any text, markers and start position.
// Input: one byte of position, then text NUL start marker NUL end marker.

#include "fuzz_input.h"
#include "base/ascii_case.h"
#include "service/text_helpers.h"

using namespace tavrin;
using namespace tavrin::fuzz;

namespace {

void CheckExtract(const std::wstring& text, const std::wstring& start, const std::wstring& end,
                  std::ptrdiff_t position) {
  const Extracted got = ExtractBetween(text, start, end, position);
  if (got.next == 0) {
    Require(got.value.empty(), "nothing found but a value");
    return;
  }
  // The value stands right before the end marker, which is where `next` says.
  Require(got.next >= 2, "next before the text");
  const auto endAt = static_cast<std::size_t>(got.next - 2);
  Require(endAt <= text.size() && got.value.size() <= endAt, "next past the text");
  Require(text.compare(endAt - got.value.size(), got.value.size(), got.value) == 0,
          "value is not the text before the end marker");
  if (end.empty()) {
    Require(endAt == text.size(), "no end marker but the value stops early");
  } else {
    Require(AsciiUpper(text.substr(endAt, end.size())) == AsciiUpper(end),
            "no end marker where next points");
  }
}

void CheckUnescape(const std::wstring& text) {
  try {
    Require(Unescape(text).size() <= text.size(), "unescaping made the text longer");
  } catch (const ConversionError&) {
    // a malformed \u escape: the one failure Unescape may report
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::ptrdiff_t position = static_cast<std::int8_t>(data[0]);
  const auto fields = Fields(data + 1, size - 1, 3);
  const std::wstring text = Wide(fields[0]);
  CheckExtract(text, Wide(fields[1]), Wide(fields[2]), position);
  CheckUnescape(text);
  return 0;
}
