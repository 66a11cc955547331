#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "support/gui_win.h"

// Finds the update prompt once it shows on this thread and answers it as the
// user would, from a timer that its modal loop serves.
namespace tavrin::test {

// The window's rectangle in the dialog's client coordinates.
RECT InDialog(HWND dialog, HWND control);

// The controls of a shown prompt, told apart by kind.
struct Prompt {
  explicit Prompt(HWND window);
  int Height() const;

  HWND dialog = nullptr;
  HWND message = nullptr;
  HWND yes = nullptr;
  HWND no = nullptr;
  HWND separator = nullptr;
  HWND holdBox = nullptr;
  HWND link = nullptr;
};

void Click(HWND button);

// While it lives, the next prompt to show is handed to `answer`, once.
class PromptAnswerer {
 public:
  explicit PromptAnswerer(std::function<void(Prompt&)> answer);
  ~PromptAnswerer();
  PromptAnswerer(const PromptAnswerer&) = delete;
  PromptAnswerer& operator=(const PromptAnswerer&) = delete;
  bool Answered() const { return answered_; }

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);

  std::function<void(Prompt&)> answer_;
  bool answered_ = false;
  UINT_PTR timer_ = 0;
};

}  // namespace tavrin::test
