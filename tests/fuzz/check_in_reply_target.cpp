// A check-in reply's body read as the program reads it, up to what the update
// prompt is built from: the offer, the notice's texts, style, link and flags,
// and the prompt's texts in the language sent along.
// Input: the language's code NUL the body's bytes.

#include "fuzz_input.h"
#include "service/update_prompt.h"

using namespace tavrin;
using namespace tavrin::fuzz;

namespace {

// What may go to the elevated shell: an http(s) URL of URL characters only.
void RequireSafeForTheShell(const std::wstring& url, const char* what) {
  if (url.empty()) return;
  Require(IsWebUrl(url), what);
  for (const wchar_t c : url) {
    Require(c > L' ' && c < 0x7F &&
                std::wstring_view(L"\"<>\\^`{|}").find(c) == std::wstring_view::npos,
            what);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto fields = Fields(data, size, 2);
  const std::wstring language = Wide(fields[0]);
  const std::wstring reply = Wide(fields[1]);

  const UpdateOffer offer = ReadUpdateOffer(reply);
  RequireSafeForTheShell(offer.url, "the update's URL may not be opened");
  RequireSafeForTheShell(offer.info.url, "the notice's link may not be opened");
  if (!offer.url.empty()) {
    Require(offer.url == ReadUpdateItem(reply), "the offer is not the reply's update");
  }
  static_cast<void>(offer.info.StayOnTop());
  for (const int kind : {kPromptMessage, kPromptYes, kPromptNo}) {
    Require(!UpdatePromptText(kind, language).empty(), "a prompt text is missing");
  }
  return 0;
}
