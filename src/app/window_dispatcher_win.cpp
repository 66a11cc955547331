#include "app/window_dispatcher_win.h"

#include <utility>

namespace tavrin {
namespace {

constexpr wchar_t kClassName[] = L"TavrinDispatcher";
constexpr UINT kRunPending = WM_APP + 1;

void RegisterDispatcherClass(WNDPROC proc) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = proc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);  // fails harmlessly when already registered
}

}  // namespace

WindowDispatcher::WindowDispatcher(std::function<void(std::exception_ptr)> onError)
    : onError_(std::move(onError)), threadId_(GetCurrentThreadId()) {
  RegisterDispatcherClass(&WindowProc);
  window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

WindowDispatcher::~WindowDispatcher() { Close(); }

void WindowDispatcher::RunOnInterfaceThread(std::function<void()> step) {
  if (GetCurrentThreadId() == threadId_) {
    // Already there: waiting for our own queue would never end.
    if (!IsClosed()) step();
    return;
  }
  auto task = std::make_shared<Task>();
  task->step = std::move(step);
  std::future<void> done = task->done.get_future();
  HWND window = nullptr;
  {
    std::lock_guard lock(mutex_);
    if (closed_) return;
    pending_.push_back(task);
    window = window_;
  }
  PostMessageW(window, kRunPending, 0, 0);
  done.wait();
}

bool WindowDispatcher::IsClosed() {
  std::lock_guard lock(mutex_);
  return closed_;
}

std::shared_ptr<WindowDispatcher::Task> WindowDispatcher::TakeNext() {
  std::lock_guard lock(mutex_);
  if (pending_.empty()) return nullptr;
  std::shared_ptr<Task> task = std::move(pending_.front());
  pending_.pop_front();
  return task;
}

// One step at a time: a step that runs a modal loop (a prompt) lets the steps
// after it run from that loop instead of holding them until it ends.
void WindowDispatcher::RunPending() {
  while (const std::shared_ptr<Task> task = TakeNext()) {
    try {
      task->step();
    } catch (...) {
      if (onError_) onError_(std::current_exception());
    }
    task->done.set_value();
  }
}

void WindowDispatcher::Close() {
  HWND window = nullptr;
  {
    std::lock_guard lock(mutex_);
    if (closed_) return;
    closed_ = true;
    window = std::exchange(window_, nullptr);
  }
  while (const std::shared_ptr<Task> task = TakeNext()) task->done.set_value();
  if (window != nullptr && GetCurrentThreadId() == threadId_) DestroyWindow(window);
}

LRESULT CALLBACK WindowDispatcher::WindowProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) noexcept {
  if (message == kRunPending) {
    if (auto* self =
            reinterpret_cast<WindowDispatcher*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
      self->RunPending();
    }
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace tavrin
