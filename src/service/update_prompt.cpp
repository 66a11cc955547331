#include "service/update_prompt.h"

#include <algorithm>
#include <array>

#include "base/dpi.h"
#include "service/text_helpers.h"

namespace tavrin {
namespace {

struct PromptTexts {
  const wchar_t* language;
  const wchar_t* message;
  const wchar_t* yes;
  const wchar_t* no;
};

// Paragraphs are separated by two CRs; no LF is used. The last row answers
// every other code.
constexpr std::array<PromptTexts, 8> kPromptTexts = {{
    {L"ko",
     L"\uc5c5\ub370\uc774\ud2b8 \uc815\ubcf4\uac00 \uc788\uc2b5\ub2c8\ub2e4.\r\r"
     L"\uc548\uc815\uc801\uc73c\ub85c \uc0ac\uc6a9\ud558\uae30 \uc704\ud574 "
     L"\uc5c5\ub370\uc774\ud2b8\ub97c \ud558\uc2dc\uae38 \uad8c\uc7a5\ud569\ub2c8\ub2e4.\r\r"
     L"\ub2e4\uc6b4\ub85c\ub4dc \ubc1b\uc73c\uc2dc\uaca0\uc2b5\ub2c8\uae4c?",
     L"\uc608", L"\uc544\ub2c8\uc624"},
    {L"ja",
     L"\u3053\u306e\u30d7\u30ed\u30b0\u30e9\u30e0\u304c\u30a2\u30c3\u30d7\u30c7\u30fc\u30c8"
     L"\u3055\u308c\u307e\u3057\u305f\u3002\r\r"
     L"\u5b89\u5b9a\u7684\u306b\u4f7f\u7528\u3059\u308b\u305f\u3081\u306b\u65b0\u3057\u304f"
     L"\u30c0\u30a6\u30f3\u30ed\u30fc\u30c9\u00b7\u5b9f\u884c\u3059\u308b\u3053\u3068\u3092"
     L"\u304a\u52e7\u3081\u3057\u307e\u3059\u3002\r\r"
     L"\u30c0\u30a6\u30f3\u30ed\u30fc\u30c9\u3057\u307e\u3059\u304b\u3002",
     L"\u306f\u3044", L"\u3044\u3044\u3048"},
    {L"zh",
     L"\u8be5\u7a0b\u5e8f\u5df2\u66f4\u65b0\u3002\r\r"
     L"\u5efa\u8bae\u4e0b\u8f7d\u5e76\u6267\u884c\u65b0\u7a0b\u5e8f\u4ee5\u7a33\u5b9a"
     L"\u4f7f\u7528\u3002\r\r"
     L"\u60a8\u8981\u4e0b\u8f7d\u5417\uff1f",
     L"\u662f", L"\u5426"},
    {L"de",
     L"Dieses Programm ist aktualisiert worden.\r\r"
     L"Es wird empfohlen, es herunterzuladen und neu auszuf\u00fchren, um es stabil zu "
     L"verwenden.\r\r"
     L"M\u00f6chten Sie es herunterladen?",
     L"Ja", L"Nein"},
    {L"ru",
     L"\u0414\u0430\u043d\u043d\u0430\u044f \u043f\u0440\u043e\u0433\u0440\u0430\u043c\u043c"
     L"\u0430 \u0431\u044b\u043b\u0430 \u043e\u0431\u043d\u043e\u0432\u043b\u0435\u043d"
     L"\u0430.\r\r"
     L"\u0420\u0435\u043a\u043e\u043c\u0435\u043d\u0434\u0443\u0435\u0442\u0441\u044f "
     L"\u0441\u043a\u0430\u0447\u0430\u0442\u044c \u0438 \u0432\u044b\u043f\u043e\u043b"
     L"\u043d\u0438\u0442\u044c \u043d\u043e\u0432\u043e\u0435 \u0434\u043b\u044f "
     L"\u0441\u0442\u0430\u0431\u0438\u043b\u044c\u043d\u043e\u0433\u043e "
     L"\u0438\u0441\u043f\u043e\u043b\u044c\u0437\u043e\u0432\u0430\u043d\u0438\u044f.\r\r"
     L"\u0412\u044b \u0445\u043e\u0442\u0438\u0442\u0435 \u0437\u0430\u0433\u0440\u0443"
     L"\u0437\u0438\u0442\u044c \u0435\u0435?",
     L"\u0414\u0430", L"\u041d\u0435\u0442"},
    {L"it",
     L"\u00c8 disponibile una nuova versione del programma.\r\r"
     L"Ti suggeriamo di scaricare ed aggiornare il programma.\r\r"
     L"Vuoi scaricare la nuova versione del programma?",
     L"S\u00ec", L"No"},
    {L"fr",
     L"Ce programme a \u00e9t\u00e9 mis \u00e0 jour.\r\r"
     L"Il est recommand\u00e9 de t\u00e9l\u00e9charger et d'ex\u00e9cuter la nouvelle "
     L"version pour une utilisation stable.\r\r"
     L"Voulez-vous le t\u00e9l\u00e9charger?",
     L"Oui", L"Non"},
    {nullptr,
     L"This program has been updated.\r\r"
     L"It is recommended to download and execute new for stable use.\r\r"
     L"Do you want to download it?",
     L"Yes", L"No"},
}};

// Printable ASCII less the blank and the characters RFC 3986 leaves out of
// URLs: "<>\^`{|}.
bool IsUrlCharacter(wchar_t c) {
  if (c <= L' ' || c >= 0x7F) return false;
  return std::wstring_view(L"\"<>\\^`{|}").find(c) == std::wstring_view::npos;
}

const PromptTexts& TextsFor(const std::wstring& language) {
  for (const PromptTexts& row : kPromptTexts) {
    if (row.language == nullptr || language == row.language) return row;
  }
  return kPromptTexts.back();
}

}  // namespace

std::wstring UpdatePromptText(int kind, const std::wstring& language) {
  const PromptTexts& row = TextsFor(language);
  switch (kind) {
    case kPromptYes:
      return row.yes;
    case kPromptNo:
      return row.no;
    default:
      return row.message;
  }
}

std::wstring ReadMember(const std::wstring& text, const std::wstring& name) {
  const std::wstring raw = ExtractBetween(text, L"\"" + name + L"\":\"", L"\"").value;
  try {
    return Unescape(raw);
  } catch (const ConversionError&) {
    return L"";  // a malformed \u makes the member empty, never half a prompt
  }
}

std::wstring ReadUpdateItem(const std::wstring& reply) { return ReadMember(reply, L"update"); }

bool UpdateInfo::StayOnTop() const { return flag.find(L"stayontop") != std::wstring::npos; }

UpdateInfo ReadUpdateInfo(const std::wstring& reply) {
  const std::wstring info = ExtractBetween(reply, L"\"info\":{", L"}").value;
  return {ReadMember(info, L"style"), ReadMember(info, L"text"), ReadMember(info, L"flag"),
          ReadMember(info, L"url")};
}

bool IsWebUrl(const std::wstring& target) {
  const auto startsWith = [&](std::wstring_view scheme) {
    if (target.size() <= scheme.size()) return false;
    for (std::size_t i = 0; i < scheme.size(); ++i) {
      wchar_t c = target[i];
      if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
      if (c != scheme[i]) return false;
    }
    return true;
  };
  if (!startsWith(L"http://") && !startsWith(L"https://")) return false;
  return std::ranges::all_of(target, IsUrlCharacter);
}

UpdateOffer ReadUpdateOffer(const std::wstring& reply) {
  const auto webOnly = [](std::wstring url) { return IsWebUrl(url) ? url : std::wstring(); };
  UpdateInfo info = ReadUpdateInfo(reply);
  info.url = webOnly(std::move(info.url));
  return {webOnly(ReadUpdateItem(reply)), std::move(info)};
}

int NoticeGrowth(int dpi, int heightAdjust) { return ScaleForDpi(40 - heightAdjust, dpi); }

NoticePlacement PlaceNotice(int dpi, int height, int heightAdjust) {
  return {height - ScaleForDpi(76 - heightAdjust, dpi), ScaleForDpi(10, dpi),
          height - ScaleForDpi(66 - heightAdjust, dpi)};
}

}  // namespace tavrin
