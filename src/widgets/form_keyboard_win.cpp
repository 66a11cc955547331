// The form's keyboard: focus movement, the focus's keeping and hand-over,
// and the keyboard-cue state (see form_win.h).
#include <algorithm>
#include <utility>

#include "widgets/form_win.h"

namespace tavrin {
namespace {

bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

bool Within(HWND window, HWND ancestor) {
  return window && (window == ancestor || IsChild(ancestor, window));
}

// The stop after (or before) the one holding the focus, round the end; the
// first (or last) when none holds it.
Control* Step(const std::vector<Control*>& stops, HWND focus, bool forward) {
  if (stops.empty()) return nullptr;
  const auto at = std::find_if(stops.begin(), stops.end(),
                               [focus](const Control* c) { return c->Handle() == focus; });
  const std::size_t count = stops.size();
  if (at == stops.end()) return forward ? stops.front() : stops.back();
  const auto index = static_cast<std::size_t>(at - stops.begin());
  return stops[forward ? (index + 1) % count : (index + count - 1) % count];
}

// With the user's "always show keyboard cues" off, marks hide until the
// keyboard is used.
WORD InitialUiState() {
  BOOL cuesAlways = FALSE;
  SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &cuesAlways, 0);
  return cuesAlways ? 0 : UISF_HIDEFOCUS | UISF_HIDEACCEL;
}

BOOL CALLBACK TellUiState(HWND child, LPARAM change) {
  SendMessageW(child, WM_UPDATEUISTATE, static_cast<WPARAM>(change), 0);
  return TRUE;
}

}  // namespace

bool Form::HandleNavigationKey(const MSG& message) {
  if (message.message != WM_KEYDOWN) return false;
  auto* form = dynamic_cast<Form*>(Control::FromHandle(GetAncestor(message.hwnd, GA_ROOT)));
  return form && form->NavigationKey(message.wParam);
}

bool Form::NavigationKey(WPARAM key) {
  const bool back = KeyHeld(VK_SHIFT);
  switch (key) {
    case VK_TAB:
      if (KeyHeld(VK_CONTROL)) {
        if (!SwitchPage(!back)) return false;
      } else {
        MoveFocus(!back);
      }
      break;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      MoveFocusAmongNeighbours(key == VK_RIGHT || key == VK_DOWN);
      break;
    default:
      return false;
  }
  ChangeUiState(UIS_CLEAR, UISF_HIDEFOCUS);
  return true;
}

void Form::MoveFocus(bool forward) {
  if (Control* next = Step(TabStops(), GetFocus(), forward)) next->Focus();
}

void Form::MoveFocusAmongNeighbours(bool forward) {
  Control* focused = Control::FromHandle(GetFocus());
  if (!focused || focused == this || !focused->Parent()) return;
  std::vector<Control*> neighbours = focused->Parent()->TabStops();
  std::erase_if(neighbours,
                [focused](const Control* c) { return c->Parent() != focused->Parent(); });
  if (Control* next = Step(neighbours, focused->Handle(), forward)) next->Focus();
}

void Form::TakeFocus() {
  const auto waitsToBeEnabled = [](HWND window) {
    return Control::FromHandle(window) && IsWindowVisible(window) && !IsWindowEnabled(window);
  };
  if (parkedFrom_) {
    if (waitsToBeEnabled(parkedFrom_)) return;
    parkedFrom_ = nullptr;
  }
  Control* target = Control::FromHandle(std::exchange(savedFocus_, nullptr));
  if (target && &target->Root() != this) target = nullptr;
  if (target && waitsToBeEnabled(target->Handle())) {
    parkedFrom_ = target->Handle();  // it comes back when enabled
    return;
  }
  if (!target || !target->CanFocus()) target = firstFocus_;
  if (!target || !target->CanFocus()) {
    const std::vector<Control*> stops = TabStops();
    target = stops.empty() ? nullptr : stops.front();
  }
  if (target) target->Focus();
}

void Form::FocusLeaving(Control& leaving, bool disabled) {
  if (disabled) {
    parkedFrom_ = leaving.Handle();
    SetFocus(Handle());
    return;
  }
  // Hidden: on to the next stop outside it, round the end.
  const std::vector<Control*> stops = TabStops();
  const HWND focus = GetFocus();
  const auto at = std::find_if(stops.begin(), stops.end(),
                               [focus](const Control* c) { return c->Handle() == focus; });
  const std::size_t start = at == stops.end() ? 0 : static_cast<std::size_t>(at - stops.begin());
  for (std::size_t i = 1; i <= stops.size(); ++i) {
    Control* next = stops[(start + i) % stops.size()];
    if (!Within(next->Handle(), leaving.Handle())) {
      next->Focus();
      return;
    }
  }
  SetFocus(Handle());
}

void Form::FocusReturning(Control& returning) {
  if (!parkedFrom_ || parkedFrom_ != returning.Handle()) return;
  parkedFrom_ = nullptr;
  if (GetFocus() == Handle()) {
    returning.Focus();
  } else if (!GetFocus()) {
    savedFocus_ = returning.Handle();  // inactive: it gets the focus on return
  }
}

void Form::ChangeUiState(WORD action, WORD flags) {
  // "As the last input suggests": the user's setting stands in for that.
  if (action == UIS_INITIALIZE) action = InitialUiState() & UISF_HIDEFOCUS ? UIS_SET : UIS_CLEAR;
  if (action != UIS_SET && action != UIS_CLEAR) return;
  const WORD wanted = action == UIS_SET ? uiState_ | flags : uiState_ & ~flags;
  if (wanted != uiState_) SendMessageW(Handle(), WM_UPDATEUISTATE, MAKEWPARAM(action, flags), 0);
}

// Every window inside hears of it, system ones too, which draw by it.
void Form::UpdateUiState(WPARAM wParam) {
  const WORD flags = HIWORD(wParam);
  if (LOWORD(wParam) == UIS_SET) {
    uiState_ |= flags;
  } else if (LOWORD(wParam) == UIS_CLEAR) {
    uiState_ &= ~flags;
  }
  EnumChildWindows(Handle(), TellUiState, static_cast<LPARAM>(wParam));
}

std::optional<LRESULT> Form::KeyboardMessage(UINT message, WPARAM wParam) {
  switch (message) {
    case WM_CREATE:
      uiState_ = InitialUiState();
      break;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        if (const HWND focus = GetFocus(); focus != Handle() && Within(focus, Handle())) {
          savedFocus_ = focus;
        }
      }
      break;  // activated, the default gives this window the focus
    case WM_SETFOCUS:
      TakeFocus();
      return 0;
    case WM_KILLFOCUS:
      // Moved on to a control of its own: a parked focus stays there.
      if (Within(reinterpret_cast<HWND>(wParam), Handle())) parkedFrom_ = nullptr;
      return 0;
    case WM_CHANGEUISTATE:
      ChangeUiState(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_UPDATEUISTATE:
      UpdateUiState(wParam);
      return 0;
    case WM_QUERYUISTATE:
      return uiState_;
  }
  return std::nullopt;
}

}  // namespace tavrin
