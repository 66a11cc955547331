#include "widgets/accessible_win.h"

#include <oleacc.h>
#include <wrl/client.h>

#include <atomic>
#include <new>
#include <utility>

namespace tavrin {
namespace {

using Microsoft::WRL::ComPtr;

constexpr wchar_t kSourceProperty[] = L"Tavrin.Accessible";

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// Runs a step that may throw; nothing may cross into the caller's COM.
template <class Step>
HRESULT Guarded(Step step) noexcept {
  try {
    return step();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

HRESULT ReturnText(const std::wstring& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

// The system's standard client object with the source's answers in place of
// its role, name, state and default action.
class WrappedAccessible final : public IAccessible, public IOleWindow {
 public:
  WrappedAccessible(HWND window, ComPtr<IAccessible> standard)
      : window_(window), standard_(std::move(standard)) {}

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible) {
      *out = static_cast<IAccessible*>(this);
    } else if (iid == IID_IOleWindow) {
      *out = static_cast<IOleWindow*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // IOleWindow: how a reader finds the window of an object.
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override {
    if (!out) return E_POINTER;
    *out = window_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return standard_->GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return standard_->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return standard_->GetIDsOfNames(iid, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argument) override {
    return standard_->Invoke(id, iid, locale, flags, params, result, exception, argument);
  }

  // IAccessible: what the source knows.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!IsSelf(child)) return standard_->get_accName(child, name);
    return WithSource([&](AccessibleSource& s) { return ReturnText(s.AccessibleName(), name); });
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!IsSelf(child)) return standard_->get_accRole(child, role);
    if (!role) return E_POINTER;
    return WithSource([&](AccessibleSource& s) {
      role->vt = VT_I4;
      role->lVal = s.AccessibleRole();
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!IsSelf(child)) return standard_->get_accState(child, state);
    if (!state) return E_POINTER;
    return WithSource([&](AccessibleSource& s) {
      state->vt = VT_I4;
      state->lVal = s.AccessibleState() | WindowState();
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    if (!IsSelf(child)) return standard_->get_accDefaultAction(child, action);
    return WithSource([&](AccessibleSource& s) { return ReturnText(s.DefaultAction(), action); });
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (!IsSelf(child)) return standard_->accDoDefaultAction(child);
    return WithSource(
        [](AccessibleSource& s) { return s.DoDefaultAction() ? S_OK : DISP_E_MEMBERNOTFOUND; });
  }

  // IAccessible: what the system knows.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    return standard_->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    return standard_->get_accChild(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    if (!IsSelf(child)) return standard_->get_accDescription(child, text);
    return WithSource([&](AccessibleSource& s) {
      const std::wstring description = s.AccessibleDescription();
      return description.empty() ? standard_->get_accDescription(child, text)
                                 : ReturnText(description, text);
    });
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return standard_->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
    return standard_->get_accKeyboardShortcut(child, keys);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    return standard_->get_accFocus(focus);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    return standard_->get_accSelection(selection);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    return standard_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override {
    return standard_->accHitTest(left, top, child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

 private:
  ~WrappedAccessible() = default;

  template <class Step>
  HRESULT WithSource(Step step) {
    auto* source = static_cast<AccessibleSource*>(GetPropW(window_, kSourceProperty));
    if (!source) return RPC_E_DISCONNECTED;
    return Guarded([&] { return step(*source); });
  }

  long WindowState() const {
    long state = 0;
    if (GetWindowLongW(window_, GWL_STYLE) & WS_TABSTOP) state |= STATE_SYSTEM_FOCUSABLE;
    if (GetFocus() == window_) state |= STATE_SYSTEM_FOCUSED;
    if (!IsWindowEnabled(window_)) state |= STATE_SYSTEM_UNAVAILABLE;
    if (!IsWindowVisible(window_)) state |= STATE_SYSTEM_INVISIBLE;
    return state;
  }

  HWND window_;
  ComPtr<IAccessible> standard_;
  std::atomic<ULONG> references_{1};
};

}  // namespace

LRESULT AnswerAccessibleObject(HWND window, WPARAM wParam, AccessibleSource& source) {
  SetPropW(window, kSourceProperty, &source);
  ComPtr<IAccessible> standard;
  if (FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, IID_IAccessible, &standard))) return 0;
  ComPtr<IAccessible> wrapped;
  wrapped.Attach(new WrappedAccessible(window, std::move(standard)));
  return LresultFromObject(IID_IAccessible, wParam, wrapped.Get());
}

void ForgetAccessibleSource(HWND window) { RemovePropW(window, kSourceProperty); }

void NotifyStateChange(HWND window) {
  if (window) NotifyWinEvent(EVENT_OBJECT_STATECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}

void NotifyNameChange(HWND window) {
  if (window) NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace tavrin
