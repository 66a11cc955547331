#include "build_config.h"
#include "sys/network.h"

namespace tavrin {

bool IsOnline() { return IsOnline(SystemHttp(), std::wstring(build::kApiUrl) + L"/myip"); }

}  // namespace tavrin
