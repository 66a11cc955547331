#pragma once

#include <string>
#include <string_view>
#include <vector>

// The translation table carried in the executable, keyed by Korean source
// texts, and the interface language chosen at start.
namespace tavrin {

// Two-letter code of the interface language; fixed at start, not limited to
// the table's seven languages.
extern std::wstring CurrentLanguage;

// The lines of a resource's bytes (UTF-8, optional BOM); CR LF, LF and CR each
// end a line.
std::vector<std::wstring> TranslationLines(std::string_view bytes);

// Replaces the table with the lines of a resource's bytes (UTF-8, optional BOM).
void LoadTranslationTable(std::string_view bytes);

// The text's entry in `language` (CurrentLanguage when empty), else English,
// else the text itself. Never fails.
std::wstring Translate(const std::wstring& text, const std::wstring& language = L"");

}  // namespace tavrin
