#pragma once

#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "base/error_report.h"

namespace tavrin::test {

// Takes the program's error handler while it lives and records each report
// with the thread it was made on.
class ErrorRecorder {
 public:
  struct Seen {
    ErrorReport report;
    std::thread::id thread;
  };

  ErrorRecorder()
      : previous_(SetErrorHandler([this](const ErrorReport& report) {
          const std::scoped_lock lock(mutex_);
          seen_.push_back({report, std::this_thread::get_id()});
        })) {}
  ~ErrorRecorder() { SetErrorHandler(std::move(previous_)); }
  ErrorRecorder(const ErrorRecorder&) = delete;
  ErrorRecorder& operator=(const ErrorRecorder&) = delete;

  std::vector<Seen> Reports() {
    const std::scoped_lock lock(mutex_);
    return seen_;
  }

 private:
  std::mutex mutex_;
  std::vector<Seen> seen_;
  ErrorHandler previous_;
};

}  // namespace tavrin::test
