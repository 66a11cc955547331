// The translation table loaded from any resource bytes, then asked for a text
// in a language. Input: table bytes NUL text NUL language code.

#include "fuzz_input.h"
#include "i18n/translation.h"

using namespace tavrin;
using namespace tavrin::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto fields = Fields(data, size, 3);
  for (const std::wstring& line : TranslationLines(fields[0])) {
    Require(line.find_first_of(L"\r\n") == std::wstring::npos, "a line holds a line break");
  }
  LoadTranslationTable(fields[0]);
  const std::wstring text = Wide(fields[1]);
  const std::wstring translated = Translate(text, Wide(fields[2]));
  Require(translated.find(L"\\n") == std::wstring::npos, "a backslash-n was left in a translation");
  return 0;
}
