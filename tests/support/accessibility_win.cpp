#include "support/accessibility_win.h"

#include <algorithm>

namespace tavrin::test {
namespace {

using Microsoft::WRL::ComPtr;

VARIANT Self() {
  VARIANT self;
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

std::wstring TakeText(BSTR text) {
  std::wstring taken = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
  SysFreeString(text);
  return taken;
}

WinEventRecorder* recording = nullptr;

}  // namespace

ComPtr<IAccessible> ClientObjectOf(HWND window) {
  ComPtr<IAccessible> object;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                        reinterpret_cast<void**>(object.GetAddressOf())))) {
    return nullptr;
  }
  return object;
}

std::optional<AccessibleFacts> ReadAccessible(HWND window) {
  const ComPtr<IAccessible> object = ClientObjectOf(window);
  if (!object) return std::nullopt;
  AccessibleFacts facts;
  VARIANT value;
  VariantInit(&value);
  if (SUCCEEDED(object->get_accRole(Self(), &value)) && value.vt == VT_I4) facts.role = value.lVal;
  VariantInit(&value);
  if (SUCCEEDED(object->get_accState(Self(), &value)) && value.vt == VT_I4)
    facts.state = value.lVal;
  BSTR text = nullptr;
  if (SUCCEEDED(object->get_accName(Self(), &text))) facts.name = TakeText(text);
  text = nullptr;
  if (SUCCEEDED(object->get_accDefaultAction(Self(), &text))) facts.action = TakeText(text);
  text = nullptr;
  if (SUCCEEDED(object->get_accDescription(Self(), &text))) facts.description = TakeText(text);
  return facts;
}

HRESULT DoDefaultAction(HWND window) {
  const ComPtr<IAccessible> object = ClientObjectOf(window);
  return object ? object->accDoDefaultAction(Self()) : E_NOINTERFACE;
}

WinEventRecorder::WinEventRecorder() {
  recording = this;
  hook_ = SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, &WinEventRecorder::Heard,
                          GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
}

WinEventRecorder::~WinEventRecorder() {
  if (hook_) UnhookWinEvent(hook_);
  recording = nullptr;
}

void CALLBACK WinEventRecorder::Heard(HWINEVENTHOOK, DWORD event, HWND window, LONG object,
                                      LONG child, DWORD, DWORD) {
  if (recording && child == CHILDID_SELF) recording->events_.push_back({event, window, object});
}

int WinEventRecorder::Count(DWORD event, HWND window) const {
  return static_cast<int>(std::count_if(events_.begin(), events_.end(), [&](const Event& e) {
    return e.event == event && e.window == window && e.object == OBJID_CLIENT;
  }));
}

}  // namespace tavrin::test
