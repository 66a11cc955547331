#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// Start-up of the translation table and the interface language from the
// running executable and the user's locale (Windows builds only).
namespace tavrin {

// ISO 639 name of the user's regional-format locale; "en" when unavailable.
std::wstring GetUserLanguage();

// Bytes of the module's "translate" data resource; empty when it has none.
// They stay valid while the module is loaded.
std::string_view TranslationResource(HMODULE module);

// Loads the table from this executable and fixes CurrentLanguage. Runs first,
// before any window exists.
void InitLocalisation();

}  // namespace tavrin
