// Times the start of programs: the milliseconds from just before a process is
// created until a visible top-level window of it answers a message. Showing a
// window paints it before the message loop runs, so the answer comes after
// the first paint. Each program is then closed before the next starts.
//   startup_probe ROUNDS PROGRAM...
// starts the programs by turns, ROUNDS times each, and prints one line per
// start: the round, the program and the milliseconds. Starting them all from
// here keeps Wine's desktop process alive between starts, as it is for a user.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD kPatienceMs = 30000;
// An ended process's teardown goes on after its handle signals; the next start
// waits this long so that it does not pay for it.
constexpr DWORD kSettleMs = 500;
// A started program runs this long before it is closed, so that its check-in
// is done: Wine's server keeps polling the connection of a program closed
// while it was still on the wire, without pause, slowing every later start.
constexpr DWORD kRunMs = 300;

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchShownWindow(HWND window, LPARAM search) {
  auto& wanted = *reinterpret_cast<Search*>(search);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != wanted.processId || !IsWindowVisible(window)) return TRUE;
  wanted.found = window;
  return FALSE;
}

// The first shown window of the process; null when the process ended first
// or nothing showed in time.
HWND AwaitShownWindow(const PROCESS_INFORMATION& process) {
  const ULONGLONG deadline = GetTickCount64() + kPatienceMs;
  while (GetTickCount64() < deadline) {
    Search search{process.dwProcessId, nullptr};
    EnumWindows(MatchShownWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) return nullptr;
  }
  return nullptr;
}

double MillisecondsSince(const LARGE_INTEGER& start) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 /
         static_cast<double>(frequency.QuadPart);
}

void CloseAndAwait(HWND window, const PROCESS_INFORMATION& process) {
  if (window) PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, kPatienceMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, INFINITE);
  }
}

// One start of the program: the milliseconds to its first answer, or a
// negative number when it showed nothing that answers.
double TimeOneStart(const std::wstring& program) {
  std::wstring commandLine = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return -1;
  }
  HWND window = AwaitShownWindow(process);
  DWORD_PTR ignored = 0;
  const bool answered =
      window && SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kPatienceMs, &ignored);
  const double elapsed = MillisecondsSince(start);
  Sleep(kRunMs);
  CloseAndAwait(window, process);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  Sleep(kSettleMs);
  return answered ? elapsed : -1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = argc > 2 ? _wtoi(argv[1]) : 0;
  if (rounds < 1) {
    std::fputs("usage: startup_probe ROUNDS PROGRAM...\n", stderr);
    return 2;
  }
  const std::vector<std::wstring> programs(argv + 2, argv + argc);
  // Unmeasured: the first start fills the caches.
  for (const std::wstring& program : programs) TimeOneStart(program);
  for (int round = 1; round <= rounds; ++round) {
    std::vector<std::wstring> order = programs;
    // Each program goes first as often as the others.
    if (round % 2 == 0) std::reverse(order.begin(), order.end());
    for (const std::wstring& program : order) {
      const double elapsed = TimeOneStart(program);
      if (elapsed < 0) {
        std::fwprintf(stderr, L"startup_probe: %ls showed no window that answers\n",
                      program.c_str());
        return 1;
      }
      std::wprintf(L"%d %ls %.1f\n", round, program.c_str(), elapsed);
      std::fflush(stdout);
    }
  }
  return 0;
}
