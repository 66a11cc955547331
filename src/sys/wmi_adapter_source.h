#pragma once

#include <memory>

#include "sys/adapter_discovery.h"

namespace tavrin {

// The adapters as WMI lists them, read late-bound through WbemScripting
// (Windows builds only). COM must be initialised while the source lives.
std::unique_ptr<AdapterSource> MakeWmiAdapterSource();

}  // namespace tavrin
