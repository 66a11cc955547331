#pragma once

#include <functional>

#include "widgets/control_win.h"
#include "widgets/gdiplus_win.h"
#include "widgets/key_press_tracker_win.h"
#include "widgets/press_tracker_win.h"

namespace tavrin {

// A picture drawn from paths, scaled into the box with its proportions kept,
// so it is crisp at any scale. Shows the hand cursor and reports clicks; as
// a tab stop, Enter and Space click it too and the focus shows as a dotted
// frame round it.
class VectorImage : public Control {
 public:
  // Draws the picture into a design box of the given size.
  using Drawing = std::function<void(Gdiplus::Graphics&)>;

  VectorImage(std::wstring name, Control* parent, DesignRect bounds);
  void SetPicture(Drawing drawing, float designWidth, float designHeight);

 protected:
  const wchar_t* WindowClass() const override { return L"Tavrin.VectorImage"; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint(HDC dc, const RECT& client) override;
  // A picture that reports clicks is a link; any other, a graphic.
  long AccessibleRole() const override;
  long AccessibleState() const override;
  std::wstring DefaultAction() const override;
  bool DoDefaultAction() override { return OnClick && PostClick(); }

 private:
  Drawing drawing_;
  float designWidth_ = 1;
  float designHeight_ = 1;
  PressTracker press_;
  KeyPressTracker keys_;
};

}  // namespace tavrin
