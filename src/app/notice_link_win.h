#pragma once

#include <windows.h>

#include <string>

#include "widgets/accessible_win.h"
#include "widgets/key_press_tracker_win.h"

namespace tavrin {

// The update prompt's notice link, a static text that the dialog colours
// and underlines, made something the keyboard and screen readers reach: a
// tab stop that Enter opens at once and Space on release, as a click does,
// with a dotted frame while it has the focus; a reader reads it as a link
// whose default action opens it. Opening it is the click's notification,
// sent to the dialog.
class NoticeLink final : public AccessibleSource {
 public:
  // `language` names the default action.
  NoticeLink(HWND link, int id, std::wstring language);
  ~NoticeLink();
  NoticeLink(const NoticeLink&) = delete;
  NoticeLink& operator=(const NoticeLink&) = delete;

 protected:
  long AccessibleRole() const override;
  std::wstring AccessibleName() const override;
  long AccessibleState() const override;
  std::wstring DefaultAction() const override;
  bool DoDefaultAction() override;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR self) noexcept;
  LRESULT Message(UINT message, WPARAM wParam, LPARAM lParam);
  bool WantsKey(LPARAM message) const;
  void Open();
  void MarkFocus();

  HWND link_;
  int id_;
  std::wstring language_;
  KeyPressTracker keys_;
};

}  // namespace tavrin
