#pragma once

#include "widgets/control_win.h"

namespace tavrin {

// A captioned frame around related controls.
class GroupBox : public Control {
 public:
  using Control::Control;

 protected:
  const wchar_t* WindowClass() const override { return L"Tavrin.GroupBox"; }
  bool PublishesCaption() const override { return true; }
  void Paint(HDC dc, const RECT& client) override;
  long AccessibleRole() const override;
};

// The system check box, a tab stop. A change of its state, by a click, by
// Space or by SetChecked, runs OnClick; the state is kept without a window
// too.
class CheckBox : public Control {
 public:
  CheckBox(std::wstring name, Control* parent, DesignRect bounds, bool visible = true);

  bool Checked() const { return checked_; }
  void SetChecked(bool checked);

 protected:
  const wchar_t* WindowClass() const override { return L"BUTTON"; }
  bool IsSystemClass() const override { return true; }
  DWORD Style() const override { return WS_CHILD | BS_AUTOCHECKBOX; }
  bool PublishesCaption() const override { return true; }
  void Notified(WORD code) override;
  void HandleCreated() override;
  long AccessibleRole() const override;
  long AccessibleState() const override;
  std::wstring DefaultAction() const override;
  bool DoDefaultAction() override { return PostClick(); }

 private:
  bool checked_ = false;
};

}  // namespace tavrin
