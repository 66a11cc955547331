#pragma once

#include <memory>

#include "app/adapter_lookahead.h"
#include "app/tuning_controller.h"

namespace tavrin {

// The active adapter on this machine, from the adapter list and WMI. Any
// thread may call it.
FoundAdapter SearchActiveAdapter();

// The controller's collaborators on this machine: the registry, the
// connection manager and the maker's public-address endpoint, with the
// adapters found by `adapters`.
TuningServices SystemTuningServices(std::shared_ptr<InterfaceThread> interfaceThread,
                                    std::shared_ptr<AdapterDiscovery> adapters);

}  // namespace tavrin
