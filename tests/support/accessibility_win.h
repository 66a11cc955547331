#pragma once

#include <windows.h>
#include <oleacc.h>
#include <wrl/client.h>

#include <optional>
#include <string>
#include <vector>

// What a screen reader reads of a window, asked as a reader asks: through
// AccessibleObjectFromWindow, which sends WM_GETOBJECT.
namespace tavrin::test {

struct AccessibleFacts {
  long role = 0;
  std::wstring name;
  long state = 0;
  std::wstring action;  // the default action's name
  std::wstring description;
};

Microsoft::WRL::ComPtr<IAccessible> ClientObjectOf(HWND window);
// Nothing when the window gives no object.
std::optional<AccessibleFacts> ReadAccessible(HWND window);
// The default action through the object; its HRESULT.
HRESULT DoDefaultAction(HWND window);

// The accessibility events raised for this process's windows while it
// lives; they arrive as messages are dispatched.
class WinEventRecorder {
 public:
  struct Event {
    DWORD event;
    HWND window;
    LONG object;
  };
  WinEventRecorder();
  ~WinEventRecorder();
  WinEventRecorder(const WinEventRecorder&) = delete;
  WinEventRecorder& operator=(const WinEventRecorder&) = delete;

  // Of one kind, for the client object of `window`.
  int Count(DWORD event, HWND window) const;
  void Clear() { events_.clear(); }

 private:
  static void CALLBACK Heard(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child,
                             DWORD, DWORD);
  HWINEVENTHOOK hook_ = nullptr;
  std::vector<Event> events_;
};

}  // namespace tavrin::test
