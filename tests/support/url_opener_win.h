#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace tavrin::test {

// For its lifetime, http and https URLs that the shell opens go to the URL
// recorder (url_recorder_win.cpp) instead of a browser; the opener the
// system had comes back afterwards.
class RecordingUrlOpener {
 public:
  RecordingUrlOpener();
  ~RecordingUrlOpener();
  RecordingUrlOpener(const RecordingUrlOpener&) = delete;
  RecordingUrlOpener& operator=(const RecordingUrlOpener&) = delete;

  // The URLs opened so far, once `count` of them have arrived or `limit` has
  // passed (the shell starts the opener in the background).
  std::vector<std::wstring> Opened(std::size_t count = 1,
                                   std::chrono::milliseconds limit = std::chrono::seconds(60)) const;

 private:
  std::vector<std::pair<std::wstring, std::wstring>> saved_;  // key, previous command
};

}  // namespace tavrin::test
