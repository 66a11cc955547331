#pragma once

#include <windows.h>

namespace tavrin {

// The claim to run alone in this logon session, held through a named mutex
// until the object goes.
class SingleInstance {
 public:
  explicit SingleInstance(const wchar_t* name);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // Another instance holds the name: an earlier one, one of another account,
  // or one that started at the same moment.
  bool AnotherRuns() const { return anotherRuns_; }

 private:
  HANDLE mutex_ = nullptr;
  bool anotherRuns_ = false;
};

}  // namespace tavrin
