#include "i18n/translation.h"

#include <algorithm>
#include <new>

#include "base/ascii_case.h"
#include "base/text_encoding.h"

namespace tavrin {

std::wstring CurrentLanguage;

namespace {

// Blocks of `code=text` lines, one language each, separated by empty lines.
std::vector<std::wstring> TranslationTable;

std::wstring_view CodeOf(std::wstring_view line) {
  const auto equals = line.find(L'=');
  return equals == line.npos ? std::wstring_view() : line.substr(0, equals);
}

std::wstring_view TextOf(std::wstring_view line) {
  const auto equals = line.find(L'=');
  return equals == line.npos ? std::wstring_view() : line.substr(equals + 1);
}

// Backslash-n in a text stands for a line break, shown as a lone CR.
std::wstring WithLineBreaks(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\\' && i + 1 < text.size() && text[i + 1] == L'n') {
      out.push_back(L'\r');
      ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

std::size_t BlockStart(std::size_t line) {
  while (line > 0 && !TranslationTable[line - 1].empty()) --line;
  return line;
}

const std::wstring* LineForCode(std::size_t blockStart, std::wstring_view code) {
  for (auto line = TranslationTable.begin() + blockStart;
       line != TranslationTable.end() && !line->empty(); ++line) {
    if (CodeOf(*line) == code) return &*line;
  }
  return nullptr;
}

}  // namespace

std::vector<std::wstring> TranslationLines(std::string_view bytes) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
  const std::wstring text = Utf8ToWide(bytes);
  std::vector<std::wstring> lines;
  std::size_t begin = 0;
  while (begin < text.size()) {
    const std::size_t end = std::min(text.find_first_of(L"\r\n", begin), text.size());
    lines.emplace_back(text, begin, end - begin);
    const bool crlf = end + 1 < text.size() && text[end] == L'\r' && text[end + 1] == L'\n';
    begin = end + (crlf ? 2 : 1);
  }
  return lines;
}

void LoadTranslationTable(std::string_view bytes) {
  try {
    TranslationTable = TranslationLines(bytes);
  } catch (const std::bad_alloc&) {
    TranslationTable.clear();  // the interface then shows its source texts
  }
}

std::wstring Translate(const std::wstring& text, const std::wstring& language) {
  if (text.empty()) return text;
  const auto hit = std::ranges::find_if(TranslationTable, [&text](const std::wstring& line) {
    return EqualIgnoringAsciiCase(TextOf(line), text);
  });
  if (hit == TranslationTable.end()) return WithLineBreaks(text);
  const auto blockStart = BlockStart(static_cast<std::size_t>(hit - TranslationTable.begin()));
  const std::wstring_view wanted = language.empty() ? CurrentLanguage : language;
  for (const std::wstring_view code : {wanted, std::wstring_view(L"en")}) {
    if (const std::wstring* line = LineForCode(blockStart, code)) {
      return WithLineBreaks(TextOf(*line));
    }
  }
  return WithLineBreaks(text);
}

}  // namespace tavrin
