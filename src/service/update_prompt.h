#pragma once

#include <string>

// What the update prompt shows, read from the check-in reply, and where its
// extra controls go. The dialog itself is update_dialog.h.
namespace tavrin {

// `UpdatePromptText` kinds.
inline constexpr int kPromptMessage = 0;
inline constexpr int kPromptYes = 1;
inline constexpr int kPromptNo = 2;

// The prompt's own texts in eight languages, English for any other code.
std::wstring UpdatePromptText(int kind, const std::wstring& language);

// A string member of a reply: the raw value after "name":" up to the next
// unescaped quote, unescaped. Missing or malformed gives the empty string.
std::wstring ReadMember(const std::wstring& text, const std::wstring& name);

// The "update" value: not empty means an update is offered.
std::wstring ReadUpdateItem(const std::wstring& reply);

// The members of the reply's "info" object; missing ones are empty.
struct UpdateInfo {
  std::wstring style, text, flag, url;
  bool StayOnTop() const;
};
UpdateInfo ReadUpdateInfo(const std::wstring& reply);

// The program runs elevated: of what a reply names, only absolute http:// and
// https:// URLs made of the characters a URL may hold are ever handed to the
// shell. Anything else (a right-to-left override, a no-break space, a quote
// that ends the browser's argument) counts as no URL at all.
bool IsWebUrl(const std::wstring& target);

// What the prompt is built from, with that decision taken: the update's URL
// and the notice's link are empty unless they may go to the shell.
struct UpdateOffer {
  std::wstring url;  // empty: no update is offered and nothing is asked
  UpdateInfo info;
};
UpdateOffer ReadUpdateOffer(const std::wstring& reply);

// The growth of a prompt that shows a notice, and where the separator line and
// the check box or link label go once it has grown to outer height `height`.
// heightAdjust is taken off the layout distances.
int NoticeGrowth(int dpi, int heightAdjust);
struct NoticePlacement {
  int separatorTop;
  int controlLeft;
  int controlTop;
};
NoticePlacement PlaceNotice(int dpi, int height, int heightAdjust);

}  // namespace tavrin
