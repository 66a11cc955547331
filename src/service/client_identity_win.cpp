#include <windows.h>

#include "service/client_identity.h"
#include "sys/process_random.h"

namespace tavrin {
namespace {

class SystemSources final : public IdentitySources {
 public:
  std::uint32_t Random(std::uint32_t range) override { return ProcessRandom(range); }
  LocalClock Now() override {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
  }
};

}  // namespace

IdentitySources& SystemIdentitySources() {
  static SystemSources sources;
  return sources;
}

}  // namespace tavrin
