#pragma once

// Test control of the fake connection manager (fake_netcon.dll), a stand-in
// for the system's Network Connections objects.

#include <windows.h>
#include <netcon.h>

#ifdef FAKE_NETCON_BUILD
#define FAKE_NETCON_API extern "C" __declspec(dllexport)
#else
#define FAKE_NETCON_API extern "C" __declspec(dllimport)
#endif

namespace fake_netcon {

// The system's identifiers, which mingw declares without defining.
constexpr CLSID kManagerClass = {
    0xBA126AD1, 0x2166, 0x11D1, {0xB1, 0xD0, 0x00, 0x80, 0x5F, 0xC1, 0x27, 0x0E}};
constexpr IID kManagerInterface = {
    0xC08956A2, 0x1CD3, 0x11D1, {0xB1, 0xC5, 0x00, 0x80, 0x5F, 0xC1, 0x27, 0x0E}};
constexpr IID kEnumInterface = {
    0xC08956A0, 0x1CD3, 0x11D1, {0xB1, 0xC5, 0x00, 0x80, 0x5F, 0xC1, 0x27, 0x0E}};
constexpr IID kConnectionInterface = {
    0xC08956A1, 0x1CD3, 0x11D1, {0xB1, 0xC5, 0x00, 0x80, 0x5F, 0xC1, 0x27, 0x0E}};

struct Connection {
  GUID id;
  HRESULT properties;  // what GetProperties returns
  HRESULT action;      // what Connect and Disconnect return
};

// One Connect or Disconnect call, by position in the configured list.
struct Call {
  int connection;
  bool connect;
  bool operator==(const Call&) const = default;
};

}  // namespace fake_netcon

// Replaces the connections the next enumerations list and clears the calls.
FAKE_NETCON_API void FakeNetconConfigure(const fake_netcon::Connection* connections, int count);
// Copies up to capacity calls, returns how many there were.
FAKE_NETCON_API int FakeNetconCalls(fake_netcon::Call* calls, int capacity);
// Manager, enumerator and connection objects still alive.
FAKE_NETCON_API int FakeNetconLiveObjects();
// Property records handed out and not yet freed.
FAKE_NETCON_API int FakeNetconOutstandingProperties();
// NcFreeNetconProperties of the fake netshell.dll forwards here.
FAKE_NETCON_API void FakeNetconFreeProperties(NETCON_PROPERTIES* properties);
