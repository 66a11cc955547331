#pragma once

#include "widgets/control_win.h"

namespace tavrin {

// A plain container in its colour, without bevel or caption.
class Panel : public Control {
 public:
  using Control::Control;

 protected:
  const wchar_t* WindowClass() const override { return L"Tavrin.Panel"; }
};

// Holds pages (panels filling it) and shows one at a time, by index. The
// focus on a page that hides moves to the first tab stop of the page shown.
class CardPanel : public Control {
 public:
  using Control::Control;

  Panel& AddCard(Component& owner, std::wstring name);
  void SetActiveCard(std::size_t index);
  std::size_t ActiveCard() const { return active_; }

 protected:
  const wchar_t* WindowClass() const override { return L"Tavrin.CardPanel"; }

 private:
  std::vector<Panel*> cards_;
  std::size_t active_ = 0;
};

// A filled rectangle with an outline, both in colours that may follow the
// system's colour scheme.
class Shape : public Control {
 public:
  using Control::Control;

  void SetBrushColor(TColor color);
  void SetPenColor(TColor color);

 protected:
  const wchar_t* WindowClass() const override { return L"Tavrin.Shape"; }
  void Paint(HDC dc, const RECT& client) override;

 private:
  TColor brush_ = clWhite;
  TColor pen_ = clBlack;
};

}  // namespace tavrin
