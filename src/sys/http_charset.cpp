#include "sys/http_charset.h"

#include <cstdint>
#include <utility>

#include "base/ascii_case.h"
#include "base/text_encoding.h"

namespace tavrin {
namespace {

std::wstring_view Trim(std::wstring_view text) {
  const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// Names as replies write them, with the aliases seen in the wild.
constexpr std::pair<std::wstring_view, unsigned> kCodePages[] = {
    {L"utf-8", kUtf8CodePage},
    {L"utf8", kUtf8CodePage},
    {L"utf-16", kUtf16LeCodePage},
    {L"utf-16le", kUtf16LeCodePage},
    {L"utf-16be", kUtf16BeCodePage},
    {L"us-ascii", 20127},
    {L"windows-1250", 1250},
    {L"windows-1251", 1251},
    {L"windows-1252", 1252},
    {L"windows-1253", 1253},
    {L"windows-1254", 1254},
    {L"windows-1255", 1255},
    {L"windows-1256", 1256},
    {L"windows-1257", 1257},
    {L"windows-1258", 1258},
    {L"iso-8859-1", 28591},
    {L"latin1", 28591},
    {L"iso-8859-2", 28592},
    {L"iso-8859-5", 28595},
    {L"iso-8859-15", 28605},
    {L"koi8-r", 20866},
    {L"koi8-u", 21866},
    {L"shift_jis", 932},
    {L"shift-jis", 932},
    {L"sjis", 932},
    {L"windows-31j", 932},
    {L"euc-jp", 20932},
    {L"euc-kr", 949},
    {L"ks_c_5601-1987", 949},
    {L"gb2312", 936},
    {L"gbk", 936},
    {L"gb18030", 54936},
    {L"big5", 950},
};

}  // namespace

std::wstring CharsetOfContentType(std::wstring_view contentType) {
  std::wstring_view rest = contentType;
  for (std::size_t semicolon; (semicolon = rest.find(L';')) != std::wstring_view::npos;) {
    rest.remove_prefix(semicolon + 1);
    const std::wstring_view parameter = rest.substr(0, rest.find(L';'));
    const std::size_t equals = parameter.find(L'=');
    if (equals == std::wstring_view::npos ||
        !EqualIgnoringAsciiCase(Trim(parameter.substr(0, equals)), L"charset")) {
      continue;
    }
    std::wstring_view value = Trim(parameter.substr(equals + 1));
    if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"') {
      value = value.substr(1, value.size() - 2);
    }
    return std::wstring(value);
  }
  return {};
}

std::optional<unsigned> CodePageOfCharset(std::wstring_view charset) {
  for (const auto& [name, page] : kCodePages) {
    if (EqualIgnoringAsciiCase(name, charset)) return page;
  }
  return std::nullopt;
}

std::wstring DecodeDeclaredCharset(std::string_view bytes, std::wstring_view contentType,
                                   const CodePageDecoder& decodeCodePage) {
  const unsigned codePage =
      CodePageOfCharset(CharsetOfContentType(contentType)).value_or(kUtf8CodePage);
  if (codePage == kUtf16LeCodePage || codePage == kUtf16BeCodePage) {
    std::string ordered(bytes);
    if (codePage == kUtf16BeCodePage) {
      for (std::size_t i = 0; i + 1 < ordered.size(); i += 2) std::swap(ordered[i], ordered[i + 1]);
    }
    return Utf16LeToWide(reinterpret_cast<const std::uint8_t*>(ordered.data()), ordered.size());
  }
  if (codePage != kUtf8CodePage) {
    if (std::optional<std::wstring> text = decodeCodePage(bytes, codePage)) return *text;
  }
  return Utf8ToWide(bytes);
}

}  // namespace tavrin
