#pragma once

#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace tavrin {

// The adapters could not be read at all (WMI cannot be reached, or refuses
// the query); the code is the system's HRESULT.
class AdapterReadError : public std::system_error {
 public:
  AdapterReadError(int code, const char* what) : std::system_error(code, std::system_category(), what) {}
};

// What discovery reads about the adapters, one call per step of the two WMI
// queries, so that the Windows source answers each with one WMI call and tests
// can script any outcome. Calls marked "throws" let their failures escape.
class AdapterSource {
 public:
  enum class Property { kIndex, kName, kGuid };

  virtual ~AdapterSource() = default;

  // Runs the query for connected physical adapters. Throws AdapterReadError
  // when it cannot run.
  virtual void QueryAdapters() = 0;
  // Steps to the next adapter; false when there is none. Throws.
  virtual bool NextAdapter() = 0;
  // Whether the current adapter's Index is null. Throws.
  virtual bool IndexIsNull() = 0;
  // A property of the current adapter as text (Index in decimal); nothing
  // when it cannot be read as text.
  virtual std::optional<std::wstring> Read(Property property) = 0;

  // Runs the configuration query for an adapter's Index. Throws.
  virtual void QueryConfigurations(const std::wstring& index) = 0;
  // Steps to the next configuration; false when there is none. Throws.
  virtual bool NextConfiguration() = 0;
  // The current configuration's IPAddress elements from the lower to the
  // upper bound; nothing when it is null or not an array. Throws.
  virtual std::optional<std::vector<std::wstring>> ReadAddresses() = 0;
};

// The adapter carrying the first of the local addresses (most likely first)
// that lies in the network of an address it lists: among the adapters that
// are not excluded by name, the first in the source's order. With no local
// address, the first address without a "." matches. One walk serves every
// candidate. On false the outputs hold what the last adapter examined left in
// them. Throws when the adapters cannot be read.
bool FindActiveAdapter(AdapterSource& source, const std::vector<std::wstring>& localIps,
                       std::wstring& name, std::wstring& guid, std::wstring& ip);

// Compares the texts before each address's last "." (empty when there is none).
bool SameNetworkPrefix(const std::wstring& a, const std::wstring& b);

}  // namespace tavrin
