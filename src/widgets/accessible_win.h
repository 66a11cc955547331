#pragma once

#include <windows.h>

#include <string>

// What a screen reader learns of a window that draws itself. The window
// answers WM_GETOBJECT with the system's standard object for its client
// area, wrapped: place, parent, neighbours and hit testing stay the system's,
// while role, name, description, state and default action come from the
// window's source.
// The standard object alone would call every such window a plain "client"
// with no name worth reading; a UI Automation provider would say more, but
// readers still speak this interface to every system control, and it is the
// one the system's own accessibility library can wrap for us.
namespace tavrin {

class AccessibleSource {
 public:
  // A ROLE_SYSTEM_ value.
  virtual long AccessibleRole() const = 0;
  virtual std::wstring AccessibleName() const = 0;
  // What it does, in a sentence or two; empty: the system's own answer.
  virtual std::wstring AccessibleDescription() const { return {}; }
  // STATE_SYSTEM_ bits of its own, beyond those the window itself shows
  // (focusable, focused, unavailable, invisible), which are added.
  virtual long AccessibleState() const = 0;
  // Empty when there is none.
  virtual std::wstring DefaultAction() const = 0;
  // Starts the default action; false when there is none.
  virtual bool DoDefaultAction() = 0;

 protected:
  ~AccessibleSource() = default;
};

// The answer to WM_GETOBJECT for the client object. The object handed out
// finds the source through the window at each call, so it may outlive both:
// once the window has gone, or ForgetAccessibleSource was called, it
// answers that it is disconnected.
LRESULT AnswerAccessibleObject(HWND window, WPARAM wParam, AccessibleSource& source);
void ForgetAccessibleSource(HWND window);

// Tells readers that the window's state (pressed, checked, busy...) or its
// name changed.
void NotifyStateChange(HWND window);
void NotifyNameChange(HWND window);

}  // namespace tavrin
