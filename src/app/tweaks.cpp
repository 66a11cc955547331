#include "app/tweaks.h"

#include "sys/registry.h"

namespace tavrin {

std::wstring TweakKeyPath(TweakKey key, const std::wstring& interfaceId) {
  switch (key) {
    case TweakKey::kInterface:
      return std::wstring(kInterfacesPath) + interfaceId;
    case TweakKey::kMessageQueuing:
      return std::wstring(kMessageQueuingPath);
    case TweakKey::kMultimedia:
      return std::wstring(kMultimediaPath);
  }
  return {};
}

void ApplyTweaks(RegistryKeys& keys, const std::wstring& interfaceId,
                 const OptionStates& selected) {
  for (const ValueChange& change : kValueChanges) {
    if (!selected[static_cast<std::size_t>(change.box)]) continue;
    WriteRegistryInteger(keys, TweakKeyPath(change.key, interfaceId),
                         std::wstring(change.valueName), change.applyValue);
  }
}

void RevertTweaks(RegistryKeys& keys, const std::wstring& interfaceId) {
  for (const ValueChange& change : kValueChanges) {
    const std::wstring path = TweakKeyPath(change.key, interfaceId);
    const std::wstring name(change.valueName);
    if (change.revertValue) {
      WriteRegistryInteger(keys, path, name, *change.revertValue);
    } else {
      DeleteRegistryValue(keys, path, name);
    }
  }
}

bool TweakHeld(RegistryKeys& keys, const std::wstring& interfaceId, OptionBox box) {
  for (const ValueChange& change : kValueChanges) {
    if (change.box != box) continue;
    if (ReadRegistryInteger(keys, TweakKeyPath(change.key, interfaceId),
                            std::wstring(change.valueName)) != change.applyValue) {
      return false;
    }
  }
  return true;
}

void RemoveInterfaceTweaks(RegistryKeys& keys, const std::wstring& interfaceId) {
  for (const ValueChange& change : kValueChanges) {
    if (change.key != TweakKey::kInterface) continue;
    DeleteRegistryValue(keys, TweakKeyPath(change.key, interfaceId), std::wstring(change.valueName));
  }
}

}  // namespace tavrin
