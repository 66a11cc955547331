#pragma once

#include <memory>

#include "app/tuning_controller.h"

namespace tavrin {

// The controller's collaborators on this machine: the registry, WMI, the
// connection manager and the maker's public-address endpoint.
TuningServices SystemTuningServices(std::shared_ptr<InterfaceThread> interfaceThread);

}  // namespace tavrin
