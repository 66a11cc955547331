#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "sys/wmi_adapter_source.h"

namespace tavrin {
namespace {

using Microsoft::WRL::ComPtr;

constexpr wchar_t kAdapterQuery[] =
    L"SELECT * FROM Win32_NetworkAdapter WHERE (NetConnectionStatus = 2 OR "
    L"NetConnectionStatus = 9) AND PhysicalAdapter = True";
constexpr wchar_t kConfigurationQuery[] =
    L"SELECT * FROM Win32_NetworkAdapterConfiguration WHERE Index = ";

[[noreturn]] void Fail(HRESULT hr, const char* what) {
  throw std::system_error(hr, std::system_category(), what);
}

class Variant {
 public:
  Variant() { VariantInit(&value_); }
  ~Variant() { VariantClear(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;

  VARIANT* get() { return &value_; }
  VARIANT* operator&() { return &value_; }
  const VARIANT& operator*() const { return value_; }
  const VARIANT* operator->() const { return &value_; }

 private:
  VARIANT value_;
};

class Bstr {
 public:
  explicit Bstr(const std::wstring& text)
      : value_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {
    if (!value_) Fail(E_OUTOFMEMORY, "SysAllocStringLen");
  }
  ~Bstr() { SysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return value_; }

 private:
  BSTR value_;
};

// WMI reports its own failures (an invalid query, access denied) as an
// exception raised by the call; its code says more than DISP_E_EXCEPTION.
HRESULT RaisedCode(EXCEPINFO& raised) {
  if (raised.pfnDeferredFillIn) raised.pfnDeferredFillIn(&raised);
  SysFreeString(raised.bstrSource);
  SysFreeString(raised.bstrDescription);
  SysFreeString(raised.bstrHelpFile);
  return FAILED(raised.scode) ? raised.scode : DISP_E_EXCEPTION;
}

// A late-bound call or property read; WMI's objects want both flags even for
// plain properties.
HRESULT Invoke(IDispatch* object, DISPID id, std::initializer_list<const Bstr*> args,
               Variant& result) {
  std::vector<VARIANTARG> argv(args.size());
  auto slot = argv.rbegin();  // IDispatch takes its arguments last first
  for (const Bstr* arg : args) {
    VariantInit(&*slot);
    slot->vt = VT_BSTR;
    slot->bstrVal = arg->get();
    ++slot;
  }
  DISPPARAMS params{argv.data(), nullptr, static_cast<UINT>(argv.size()), 0};
  EXCEPINFO raised{};
  const HRESULT hr =
      object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                     &params, &result, &raised, nullptr);
  return hr == DISP_E_EXCEPTION ? RaisedCode(raised) : hr;
}

HRESULT Invoke(IDispatch* object, const wchar_t* name, std::initializer_list<const Bstr*> args,
               Variant& result) {
  DISPID id = 0;
  auto* names = const_cast<LPOLESTR>(name);
  const HRESULT hr = object->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id);
  return FAILED(hr) ? hr : Invoke(object, id, args, result);
}

// A call whose result must be an object.
HRESULT InvokeForObject(IDispatch* object, const wchar_t* name,
                        std::initializer_list<const Bstr*> args, ComPtr<IDispatch>& result) {
  Variant value;
  HRESULT hr = Invoke(object, name, args, value);
  if (SUCCEEDED(hr) && (value->vt != VT_DISPATCH || !value->pdispVal)) hr = DISP_E_TYPEMISMATCH;
  if (SUCCEEDED(hr)) result = value->pdispVal;
  return hr;
}

ComPtr<IEnumVARIANT> EnumeratorOf(IDispatch* objectSet) {
  Variant value;
  HRESULT hr = Invoke(objectSet, DISPID_NEWENUM, {}, value);
  const bool isObject = value->vt == VT_UNKNOWN || value->vt == VT_DISPATCH;
  if (SUCCEEDED(hr) && (!isObject || !value->punkVal)) hr = DISP_E_TYPEMISMATCH;
  ComPtr<IEnumVARIANT> items;
  if (SUCCEEDED(hr)) hr = value->punkVal->QueryInterface(IID_IEnumVARIANT, &items);
  if (FAILED(hr)) Fail(hr, "_NewEnum");
  return items;
}

// The next item of a walk; nothing once Next reports anything but success.
ComPtr<IDispatch> NextItem(IEnumVARIANT* items) {
  Variant item;
  ULONG fetched = 0;
  if (items->Next(1, &item, &fetched) != S_OK || fetched != 1) return nullptr;
  if (item->vt != VT_DISPATCH || !item->pdispVal) Fail(DISP_E_TYPEMISMATCH, "IEnumVARIANT::Next");
  return item->pdispVal;
}

void ReadProperty(IDispatch* object, const wchar_t* name, Variant& value) {
  const HRESULT hr = Invoke(object, name, {}, value);
  if (FAILED(hr)) Fail(hr, "property read");
}

std::optional<std::wstring> AsText(const VARIANT& value) {
  Variant text;
  if (FAILED(VariantChangeType(&text, const_cast<VARIANT*>(&value), 0, VT_BSTR))) {
    return std::nullopt;
  }
  return std::wstring(text->bstrVal, SysStringLen(text->bstrVal));
}

std::vector<std::wstring> Elements(SAFEARRAY* array) {
  LONG lower = 0;
  LONG upper = -1;
  HRESULT hr = SafeArrayGetLBound(array, 1, &lower);
  if (SUCCEEDED(hr)) hr = SafeArrayGetUBound(array, 1, &upper);
  VARTYPE type = VT_EMPTY;
  if (SUCCEEDED(hr)) hr = SafeArrayGetVartype(array, &type);
  if (SUCCEEDED(hr) && type != VT_BSTR && type != VT_VARIANT) hr = DISP_E_TYPEMISMATCH;
  if (FAILED(hr)) Fail(hr, "IPAddress bounds");

  std::vector<std::wstring> elements;
  for (LONG i = lower; i <= upper; ++i) {
    Variant element;
    if (type == VT_BSTR) {
      // Typed only once filled: a failed copy leaves no text to free.
      hr = SafeArrayGetElement(array, &i, &element.get()->bstrVal);
      if (SUCCEEDED(hr)) element.get()->vt = VT_BSTR;
    } else {
      hr = SafeArrayGetElement(array, &i, &element);
    }
    if (FAILED(hr)) Fail(hr, "IPAddress element");
    auto text = AsText(*element);
    if (!text) Fail(DISP_E_TYPEMISMATCH, "IPAddress element");
    elements.push_back(std::move(*text));
  }
  return elements;
}

class WmiAdapterSource final : public AdapterSource {
 public:
  void QueryAdapters() override {
    CLSID locatorClass{};
    ComPtr<IDispatch> locator;
    HRESULT hr = CLSIDFromProgID(L"WbemScripting.SWbemLocator", &locatorClass);
    if (SUCCEEDED(hr)) {
      hr = CoCreateInstance(locatorClass, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                            IID_IDispatch, &locator);
    }
    const Bstr server(L"."), space(L"root\\CIMV2"), none(L""), query(kAdapterQuery);
    if (SUCCEEDED(hr)) {
      hr = InvokeForObject(locator.Get(), L"ConnectServer", {&server, &space, &none, &none},
                           services_);
    }
    ComPtr<IDispatch> adapters;
    if (SUCCEEDED(hr)) hr = InvokeForObject(services_.Get(), L"ExecQuery", {&query}, adapters);
    if (FAILED(hr)) throw AdapterReadError(hr, "WMI adapter query");
    adapters_ = EnumeratorOf(adapters.Get());
  }

  bool NextAdapter() override {
    adapter_ = NextItem(adapters_.Get());
    return adapter_ != nullptr;
  }

  bool IndexIsNull() override {
    Variant index;
    ReadProperty(adapter_.Get(), L"Index", index);
    return index->vt == VT_NULL;
  }

  std::optional<std::wstring> Read(Property property) override {
    const wchar_t* name = property == Property::kIndex  ? L"Index"
                          : property == Property::kName ? L"Name"
                                                        : L"GUID";
    Variant value;
    if (FAILED(Invoke(adapter_.Get(), name, {}, value))) return std::nullopt;
    return AsText(*value);
  }

  void QueryConfigurations(const std::wstring& index) override {
    const Bstr query(kConfigurationQuery + index);
    ComPtr<IDispatch> configurations;
    const HRESULT hr = InvokeForObject(services_.Get(), L"ExecQuery", {&query}, configurations);
    if (FAILED(hr)) Fail(hr, "configuration query");
    configurations_ = EnumeratorOf(configurations.Get());
  }

  bool NextConfiguration() override {
    configuration_ = NextItem(configurations_.Get());
    return configuration_ != nullptr;
  }

  std::optional<std::vector<std::wstring>> ReadAddresses() override {
    Variant addresses;
    ReadProperty(configuration_.Get(), L"IPAddress", addresses);
    if (!(addresses->vt & VT_ARRAY) || !addresses->parray) return std::nullopt;
    return Elements(addresses->parray);
  }

 private:
  ComPtr<IDispatch> services_;
  ComPtr<IEnumVARIANT> adapters_;
  ComPtr<IDispatch> adapter_;
  ComPtr<IEnumVARIANT> configurations_;
  ComPtr<IDispatch> configuration_;
};

}  // namespace

std::unique_ptr<AdapterSource> MakeWmiAdapterSource() {
  return std::make_unique<WmiAdapterSource>();
}

}  // namespace tavrin
