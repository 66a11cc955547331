#include <windows.h>

#include <mutex>
#include <random>

#include "sys/process_random.h"

namespace tavrin {
namespace {

std::uint64_t CounterSeed() {
  LARGE_INTEGER counter{};
  if (QueryPerformanceCounter(&counter) && counter.QuadPart != 0) return counter.QuadPart;
  return GetTickCount64();
}

}  // namespace

std::uint32_t ProcessRandom(std::uint32_t range) {
  if (range == 0) return 0;
  static std::mutex lock;
  static std::mt19937 engine(static_cast<std::mt19937::result_type>(CounterSeed()));
  const std::scoped_lock hold(lock);
  return std::uniform_int_distribution<std::uint32_t>(0, range - 1)(engine);
}

}  // namespace tavrin
