#include "i18n/localisation.h"

#include <cwchar>

#include "i18n/translation.h"

namespace tavrin {

std::wstring GetUserLanguage() {
  const LCID locale = GetUserDefaultLCID();
  const int size = GetLocaleInfoW(locale, LOCALE_SISO639LANGNAME, nullptr, 0);
  if (size < 1) return L"en";
  std::wstring name(static_cast<std::size_t>(size), L'\0');
  if (GetLocaleInfoW(locale, LOCALE_SISO639LANGNAME, name.data(), size) < 1) return L"en";
  name.resize(std::wcslen(name.c_str()));
  return name;
}

std::string_view TranslationResource(HMODULE module) {
  HRSRC found = FindResourceW(module, L"translate", RT_RCDATA);
  if (!found) return {};
  HGLOBAL loaded = LoadResource(module, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return {};
  return {static_cast<const char*>(bytes), SizeofResource(module, found)};
}

void InitLocalisation() {
  LoadTranslationTable(TranslationResource(GetModuleHandleW(nullptr)));
  // Three-letter names are cut: "kok" gives the Korean interface.
  CurrentLanguage = GetUserLanguage().substr(0, 2);
}

}  // namespace tavrin
