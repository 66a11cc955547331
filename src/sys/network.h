#pragma once

#include <string>

#include "sys/reachability.h"

// The active adapter, its restart and the reachability probe (Windows).
namespace tavrin {

// The connected physical adapter that carries the local IPv4 network: its WMI
// Name, its GUID in braces and the address by which it was recognised.
// Throws when WMI fails past the adapter query (see AdapterSource).
bool GetActiveAdapter(std::wstring& name, std::wstring& guid, std::wstring& ip);

// The first preferred unicast IPv4 address of a non-loopback adapter that can
// send; empty when there is none. Throws when the adapter list is unreadable.
std::wstring GetLocalIP();

// Disconnects (false) or connects (true) the network connection whose GUID
// equals id, letter case aside. COM must be initialised on the thread.
bool SetAdapterConnected(const std::wstring& id, bool connected);

// One probe of the maker's public-address endpoint.
bool IsOnline();

}  // namespace tavrin
