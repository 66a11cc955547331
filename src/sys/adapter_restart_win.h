#pragma once

#include <string>

namespace tavrin {

// Disconnects (false) or connects (true) the network connection whose GUID
// equals id, letter case aside. COM must be initialised on the thread.
bool SetAdapterConnected(const std::wstring& id, bool connected);

}  // namespace tavrin
