#include "sys/single_instance_win.h"

#include <sddl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace tavrin::test {
namespace {

constexpr wchar_t kName[] = L"TavrinSingleInstanceTest";

TEST(SingleInstance, TheFirstClaimsAndLaterStartsSeeItUntilItGoes) {
  std::optional<SingleInstance> first(std::in_place, kName);
  EXPECT_FALSE(first->AnotherRuns());
  EXPECT_TRUE(SingleInstance(kName).AnotherRuns());
  first.reset();
  EXPECT_FALSE(SingleInstance(kName).AnotherRuns());
}

// An instance of another account in the same session, as seen from here: its
// mutex exists but grants this account no more than waiting on it.
TEST(SingleInstance, AMutexThisAccountMayNotOpenCountsAsRunning) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
      L"D:(A;;0x00100000;;;WD)", SDDL_REVISION_1, &descriptor, nullptr));
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
  HANDLE other = CreateMutexW(&attributes, TRUE, kName);
  LocalFree(descriptor);
  ASSERT_NE(other, nullptr);
  HANDLE opened = OpenMutexW(MUTEX_ALL_ACCESS, FALSE, kName);
  const DWORD error = GetLastError();
  if (opened) CloseHandle(opened);
  ASSERT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED)) << "the mutex's DACL is not enforced";

  EXPECT_TRUE(SingleInstance(kName).AnotherRuns());
  CloseHandle(other);
}

// Holds each of `count` threads until all have come, as often as asked.
class Rendezvous {
 public:
  explicit Rendezvous(int count) : count_(count), waiting_(count) {}
  void ArriveAndWait() {
    std::unique_lock lock(mutex_);
    const int round = round_;
    if (--waiting_ == 0) {
      waiting_ = count_;
      ++round_;
      all_.notify_all();
    } else {
      all_.wait(lock, [&] { return round_ != round; });
    }
  }

 private:
  std::mutex mutex_;
  std::condition_variable all_;
  const int count_;
  int waiting_;
  int round_ = 0;
};

// Starts at the same moment can all find no mutex, then all create it.
TEST(SingleInstance, OfStartsAtTheSameMomentExactlyOneClaims) {
  constexpr int kStarts = 8;
  for (int round = 0; round < 20; ++round) {
    Rendezvous together(kStarts);
    std::atomic<int> claims{0};
    std::vector<std::thread> starts;
    for (int i = 0; i < kStarts; ++i) {
      starts.emplace_back([&] {
        together.ArriveAndWait();
        const SingleInstance instance(kName);
        if (!instance.AnotherRuns()) ++claims;
        together.ArriveAndWait();  // every start has decided before any ends
      });
    }
    for (std::thread& start : starts) start.join();
    ASSERT_EQ(claims, 1) << "round " << round;
  }
}

}  // namespace
}  // namespace tavrin::test
