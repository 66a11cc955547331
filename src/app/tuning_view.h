#pragma once

#include <string>

#include "app/tweaks.h"

namespace tavrin {

// What the tuning controller needs of the main window; the window implements
// it, tests use a fake. All calls come on the interface thread.
class TuningView {
 public:
  virtual ~TuningView() = default;

  virtual void ShowAdapter(const std::wstring& name, const std::wstring& address) = 0;
  virtual bool GetOption(OptionBox box) = 0;
  // A change of the box's state runs its change handler at once, as a click does.
  virtual void SetOption(OptionBox box, bool checked) = 0;
  virtual void EnableOptions(bool enabled) = 0;
  virtual void ShowStartButton(const std::wstring& caption, bool enabled, bool pressed) = 0;
  virtual void ShowBusy(bool on) = 0;
  // Modal; returns when the user has dismissed it.
  virtual void ShowError(const std::wstring& text) = 0;
};

}  // namespace tavrin
