#pragma once

#include "widgets/control_win.h"
#include "widgets/markup.h"

namespace tavrin {

// A line of text of fixed size, in the window-text colour.
class Label : public Control {
 public:
  using Control::Control;

  void SetCentered(bool centered);

 protected:
  const wchar_t* WindowClass() const override { return L"Tavrin.Label"; }
  bool PublishesCaption() const override { return true; }
  void Paint(HDC dc, const RECT& client) override;
  long AccessibleRole() const override;
  long AccessibleState() const override;

 private:
  bool centered_ = false;
};

// A line of marked-up text (see markup.h), centred vertically. Screen
// readers get the text without its tags.
class MarkupLabel : public Control {
 public:
  using Control::Control;

  void SetMarkup(const std::wstring& markup);
  const std::wstring& Markup() const { return markup_; }

 protected:
  const wchar_t* WindowClass() const override { return L"Tavrin.MarkupLabel"; }
  void Paint(HDC dc, const RECT& client) override;
  long AccessibleRole() const override;
  long AccessibleState() const override;

 private:
  std::wstring markup_;
  MarkupLine line_;
};

}  // namespace tavrin
