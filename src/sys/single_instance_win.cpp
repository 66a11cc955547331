#include "sys/single_instance_win.h"

namespace tavrin {

SingleInstance::SingleInstance(const wchar_t* name) {
  if (HANDLE running = OpenMutexW(MUTEX_ALL_ACCESS, FALSE, name)) {
    CloseHandle(running);
    anotherRuns_ = true;
    return;
  }
  // Another account's instance: the mutex is there but not ours to open.
  if (GetLastError() == ERROR_ACCESS_DENIED) {
    anotherRuns_ = true;
    return;
  }
  mutex_ = CreateMutexW(nullptr, TRUE, name);
  const DWORD error = GetLastError();
  // A start racing this one created it since we looked.
  anotherRuns_ = error == ERROR_ALREADY_EXISTS || (!mutex_ && error == ERROR_ACCESS_DENIED);
}

SingleInstance::~SingleInstance() {
  if (!mutex_) return;
  if (!anotherRuns_) ReleaseMutex(mutex_);
  CloseHandle(mutex_);
}

}  // namespace tavrin
