#include "prompt_driver_win.h"

namespace tavrin::test {
namespace {

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

BOOL CALLBACK SortControl(HWND child, LPARAM prompt) {
  Prompt& p = *reinterpret_cast<Prompt*>(prompt);
  const LONG style = GetWindowLongW(child, GWL_STYLE);
  if (ClassOf(child) == L"Button" && (style & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
    p.holdBox = child;
  } else if (ClassOf(child) == L"Static") {
    const RECT rect = InDialog(p.dialog, child);
    if (rect.bottom - rect.top == 1) {
      p.separator = child;
    } else if (style & SS_NOTIFY) {
      p.link = child;
    } else {
      p.message = child;
    }
  }
  return TRUE;
}

BOOL CALLBACK FindPrompt(HWND window, LPARAM found) {
  if (ClassOf(window) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

PromptAnswerer* current = nullptr;

}  // namespace

RECT InDialog(HWND dialog, HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

Prompt::Prompt(HWND window) : dialog(window) {
  yes = GetDlgItem(dialog, IDYES);
  no = GetDlgItem(dialog, IDNO);
  EnumChildWindows(dialog, &SortControl, reinterpret_cast<LPARAM>(this));
}

int Prompt::Height() const {
  RECT rect{};
  GetWindowRect(dialog, &rect);
  return rect.bottom - rect.top;
}

void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

PromptAnswerer::PromptAnswerer(std::function<void(Prompt&)> answer) : answer_(std::move(answer)) {
  current = this;
  timer_ = SetTimer(nullptr, 0, 20, &OnTimer);
}

PromptAnswerer::~PromptAnswerer() {
  KillTimer(nullptr, timer_);
  current = nullptr;
}

void CALLBACK PromptAnswerer::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (current == nullptr || current->answered_) return;
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindPrompt, reinterpret_cast<LPARAM>(&found));
  if (found == nullptr) return;
  current->answered_ = true;
  Prompt prompt(found);
  current->answer_(prompt);
}

}  // namespace tavrin::test
