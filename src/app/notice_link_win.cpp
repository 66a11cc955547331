#include "app/notice_link_win.h"

#include <commctrl.h>
#include <oleacc.h>

#include <utility>

#include "i18n/own_texts.h"
#include "widgets/control_win.h"
#include "widgets/gdi_win.h"

namespace tavrin {
namespace {
constexpr UINT_PTR kSubclassId = 1;
}

NoticeLink::NoticeLink(HWND link, int id, std::wstring language)
    : link_(link), id_(id), language_(std::move(language)) {
  SetWindowLongPtrW(link_, GWL_STYLE, GetWindowLongPtrW(link_, GWL_STYLE) | WS_TABSTOP);
  SetWindowSubclass(link_, &NoticeLink::Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

NoticeLink::~NoticeLink() {
  if (!IsWindow(link_)) return;
  RemoveWindowSubclass(link_, &NoticeLink::Proc, kSubclassId);
  ForgetAccessibleSource(link_);
}

long NoticeLink::AccessibleRole() const { return ROLE_SYSTEM_LINK; }

std::wstring NoticeLink::AccessibleName() const { return WindowText(link_); }

long NoticeLink::AccessibleState() const { return STATE_SYSTEM_LINKED; }

std::wstring NoticeLink::DefaultAction() const {
  return OwnTranslate(OwnText::ActionJump, language_);
}

bool NoticeLink::DoDefaultAction() {
  PostMessageW(GetParent(link_), WM_COMMAND, MAKEWPARAM(id_, STN_CLICKED),
               reinterpret_cast<LPARAM>(link_));
  return true;
}

void NoticeLink::Open() {
  SendMessageW(GetParent(link_), WM_COMMAND, MAKEWPARAM(id_, STN_CLICKED),
               reinterpret_cast<LPARAM>(link_));
}

// Enter and Space are the link's, not the dialog's: Enter would answer Yes.
bool NoticeLink::WantsKey(LPARAM message) const {
  const auto* msg = reinterpret_cast<const MSG*>(message);
  return msg && (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP) &&
         (msg->wParam == VK_RETURN || msg->wParam == VK_SPACE);
}

// Over the text as the system drew it, unless the dialog hides focus marks.
void NoticeLink::MarkFocus() {
  if (GetFocus() != link_) return;
  if (SendMessageW(GetParent(link_), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) return;
  RECT client;
  GetClientRect(link_, &client);
  const HDC dc = GetDC(link_);
  DrawFocusMark(dc, client, GetSysColor(COLOR_WINDOWTEXT));
  ReleaseDC(link_, dc);
}

LRESULT NoticeLink::Message(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE:
      return DefSubclassProc(link_, message, wParam, lParam) |
             (WantsKey(lParam) ? DLGC_WANTMESSAGE : 0);
    case WM_KEYDOWN:
    case WM_KEYUP: {
      const auto outcome = keys_.OnKey(message, wParam, lParam);
      if (outcome == KeyPressTracker::Outcome::kNotMine) break;
      if (outcome == KeyPressTracker::Outcome::kClicked) Open();
      return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      keys_.Cancel();
      InvalidateRect(link_, nullptr, TRUE);
      break;
    case WM_PAINT: {
      const LRESULT result = DefSubclassProc(link_, message, wParam, lParam);
      MarkFocus();
      return result;
    }
    case WM_GETOBJECT:
      if (static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT)) {
        return AnswerAccessibleObject(link_, wParam, *this);
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(link_, &NoticeLink::Proc, kSubclassId);
      ForgetAccessibleSource(link_);
      break;
  }
  return DefSubclassProc(link_, message, wParam, lParam);
}

LRESULT CALLBACK NoticeLink::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR self) noexcept {
  try {
    return reinterpret_cast<NoticeLink*>(self)->Message(message, wParam, lParam);
  } catch (...) {
    // Nothing may cross the window procedure; the link stays as the system has it.
    return DefSubclassProc(window, message, wParam, lParam);
  }
}

}  // namespace tavrin
