#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace tavrin {

struct UpdateDialogOptions {
  std::wstring language;  // picks the prompt's texts
  std::wstring caption;   // the application title, translated
  int heightAdjust = 0;   // taken off the notice's layout distances
  std::function<void(const std::wstring& url)> shellOpen;  // the notice link
  std::function<void()> sendHold;  // when the hold box was ticked, whatever the answer
  HWND owner = nullptr;  // the main window, which the prompt belongs to
};

// Asks whether to download the update the reply offers, in a modal box of our
// own on the calling (interface) thread, with the notice of the reply's "info"
// object, owned by `options.owner`. True when the user answered Yes. Windows
// builds only.
bool UpdateDialog(const std::wstring& reply, const UpdateDialogOptions& options);

}  // namespace tavrin
