#pragma once

#include <windows.h>

#include <memory>

#include "service/check_in.h"

namespace tavrin {

// The program's own: WinHTTP, the registry, the interface language, 10 ms
// sleeps, the update prompt, owned by `promptOwner`, and the shell.
ServiceHost SystemServiceHost(std::shared_ptr<InterfaceThread> interfaceThread, HWND promptOwner);

}  // namespace tavrin
