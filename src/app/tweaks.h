#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "i18n/own_texts.h"
#include "sys/registry_keys.h"

// The tweak catalogue: the five system settings the start button applies and
// reverts, as data. Catalogue order is the order of apply and revert.
namespace tavrin {

// The option boxes, in catalogue order.
enum class OptionBox {
  ChkTCPAckFrequency,
  ChkTcpDelAckTick,
  ChkTcpNoDelay,
  ChkNetworkThrottlingIndex,
  ChkSystemResponsiveness,
};
inline constexpr std::size_t kOptionBoxCount = 5;
using OptionStates = std::array<bool, kOptionBoxCount>;

struct Tweak {
  OptionBox box;
  std::wstring_view caption;      // shown on the box, never translated
  std::wstring_view settingsKey;  // where the user's choice is kept
  OwnText explanation;            // the box's tooltip and description
};

inline constexpr std::array<Tweak, kOptionBoxCount> kTweaks = {{
    {OptionBox::ChkTCPAckFrequency, L"TcpAckFrequency", L"tcpackfrequency",
     OwnText::ExplainTcpAckFrequency},
    {OptionBox::ChkTcpDelAckTick, L"TcpDelAckTick", L"tcpdelacktick",
     OwnText::ExplainTcpDelAckTicks},
    {OptionBox::ChkTcpNoDelay, L"TcpNoDelay", L"tcpnodelay", OwnText::ExplainTcpNoDelay},
    {OptionBox::ChkNetworkThrottlingIndex, L"NetworkThrottlingIndex", L"networkthrottleindex",
     OwnText::ExplainNetworkThrottlingIndex},
    {OptionBox::ChkSystemResponsiveness, L"SystemResponsiveness", L"systemresponsivess",
     OwnText::ExplainSystemResponsiveness},
}};

enum class TweakKey { kInterface, kMessageQueuing, kMultimedia };

// One registry value a tweak sets; the revert deletes it, or writes
// `revertValue` when it has one.
struct ValueChange {
  OptionBox box;
  TweakKey key;
  std::wstring_view valueName;
  std::int32_t applyValue;
  std::optional<std::int32_t> revertValue;
};

inline constexpr std::array<ValueChange, 6> kValueChanges = {{
    {OptionBox::ChkTCPAckFrequency, TweakKey::kInterface, L"TcpAckFrequency", 1, std::nullopt},
    {OptionBox::ChkTcpDelAckTick, TweakKey::kInterface, L"TcpDelAckTicks", 0, std::nullopt},
    {OptionBox::ChkTcpNoDelay, TweakKey::kInterface, L"TCPNoDelay", 1, std::nullopt},
    {OptionBox::ChkTcpNoDelay, TweakKey::kMessageQueuing, L"TCPNoDelay", 1, std::nullopt},
    {OptionBox::ChkNetworkThrottlingIndex, TweakKey::kMultimedia, L"NetworkThrottlingIndex", -1,
     10},
    {OptionBox::ChkSystemResponsiveness, TweakKey::kMultimedia, L"SystemResponsiveness", 0, 20},
}};

inline constexpr std::wstring_view kInterfacesPath =
    L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\";
inline constexpr std::wstring_view kMessageQueuingPath =
    L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\MSMQ\\Parameters";
inline constexpr std::wstring_view kMultimediaPath =
    L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows "
    L"NT\\CurrentVersion\\Multimedia\\SystemProfile";

// The registry path of a tweak key; the interface key ends in the interface
// identifier, whatever it is (empty included).
std::wstring TweakKeyPath(TweakKey key, const std::wstring& interfaceId);

// Writes the values of every selected tweak, in catalogue order.
void ApplyTweaks(RegistryKeys& keys, const std::wstring& interfaceId, const OptionStates& selected);
// Removes or resets all six values, whatever was applied before.
void RevertTweaks(RegistryKeys& keys, const std::wstring& interfaceId);
// Whether every value the tweak writes holds what its apply wrote.
bool TweakHeld(RegistryKeys& keys, const std::wstring& interfaceId, OptionBox box);
// Removes the three values of the interface key alone.
void RemoveInterfaceTweaks(RegistryKeys& keys, const std::wstring& interfaceId);

}  // namespace tavrin
