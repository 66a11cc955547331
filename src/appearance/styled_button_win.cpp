#include "appearance/styled_button_win.h"

#include <oleacc.h>

#include "appearance/button_painter_win.h"
#include "i18n/own_texts.h"
#include "widgets/high_contrast_win.h"

namespace tavrin {

StyledButton::StyledButton(std::wstring name, Control* parent, DesignRect bounds, bool visible)
    : Control(std::move(name), parent, bounds, visible) {
  SetTabStop(true);
}

void StyledButton::SetStyle(const std::wstring& family, const std::wstring& appearance,
                            const std::wstring& styleClass) {
  if (const auto look = ResolveButtonLook(family, styleClass, appearance)) look_ = *look;
  Redraw();
}

void StyledButton::SetRadius(int radius) {
  radius_ = radius;
  Redraw();
}

void StyledButton::SetDown(bool down) {
  if (down == down_) return;
  down_ = down;
  Redraw();
  NotifyStateChange(Handle());
}

// The focus has a mark of its own, so it does not choose the state.
TButtonState StyledButton::State() const {
  return ChooseButtonState({.enabled = Enabled(),
                            .down = down_,
                            .pushed = press_.Pressed() || keys_.Pressed(),
                            .hot = hot_});
}

void StyledButton::Redraw() { Invalidate(); }

void StyledButton::TrackHot() {
  if (!hot_) {
    hot_ = true;
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = Handle();
    TrackMouseEvent(&track);
  }
}

LRESULT StyledButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE:
      TrackHot();
      press_.OnMouse(Handle(), message, lParam);
      Redraw();
      return 0;
    case WM_MOUSELEAVE:
      hot_ = false;
      Redraw();
      return 0;
    case WM_LBUTTONDOWN:
      if (TabStop()) Focus();
      [[fallthrough]];
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      // The click may take the button along: nothing of it is touched after.
      if (press_.OnMouse(Handle(), message, lParam) == PressTracker::Outcome::kClicked) {
        Click();
      } else {
        Redraw();
      }
      return 0;
    case BM_CLICK:
      if (Enabled()) Click();
      return 0;
    case WM_ENABLE:
      hot_ = false;
      keys_.Cancel();
      press_.Cancel(Handle());
      Redraw();
      return 0;
    case WM_KEYDOWN:
    case WM_KEYUP: {
      const auto outcome = keys_.OnKey(message, wParam, lParam);
      if (outcome == KeyPressTracker::Outcome::kNotMine) break;
      Redraw();
      // Redrawn first: the click may take the button along.
      if (outcome == KeyPressTracker::Outcome::kClicked && Enabled()) Click();
      return 0;
    }
    case WM_GETDLGCODE:
      return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case WM_SETFOCUS:
      Redraw();
      break;
    case WM_KILLFOCUS:
      keys_.Cancel();
      Redraw();
      break;
  }
  return Control::HandleMessage(message, wParam, lParam);
}

void StyledButton::Paint(HDC dc, const RECT& client) {
  const TButtonLook& look = HighContrastOn() ? HighContrastLook(look_) : look_;
  const TStyledButtonAttributes& attributes = look[State()];
  DrawStyledButton(dc, client, attributes, radius_, Dpi(), GetCaption(), Font());
  if (Focused() && FocusCuesShown()) {
    const int inset = Scale(3);
    const RECT mark{client.left + inset, client.top + inset, client.right - inset,
                    client.bottom - inset};
    DrawFocusMark(dc, mark, ResolveColor(attributes.FontColor));
  }
}

long StyledButton::AccessibleRole() const {
  switch (role_) {
    case Role::PageTab:
      return ROLE_SYSTEM_PAGETAB;
    case Role::Link:
      return ROLE_SYSTEM_LINK;
    case Role::Push:
      break;
  }
  return ROLE_SYSTEM_PUSHBUTTON;
}

long StyledButton::AccessibleState() const {
  switch (role_) {
    case Role::PageTab:
      return STATE_SYSTEM_SELECTABLE | (down_ ? STATE_SYSTEM_SELECTED : 0);
    case Role::Link:
      return STATE_SYSTEM_LINKED;
    case Role::Push:
      break;
  }
  return down_ ? STATE_SYSTEM_PRESSED : 0;
}

std::wstring StyledButton::DefaultAction() const {
  switch (role_) {
    case Role::PageTab:
      return OwnTranslate(OwnText::ActionSwitch);
    case Role::Link:
      return OwnTranslate(OwnText::ActionJump);
    case Role::Push:
      break;
  }
  return OwnTranslate(OwnText::ActionPress);
}

ToolButton::ToolButton(std::wstring name, StyledToolbar* toolbar, DesignRect bounds)
    : StyledButton(std::move(name), toolbar, bounds), toolbar_(toolbar) {
  SetRole(Role::PageTab);
}

void ToolButton::SetDown(bool down) {
  StyledButton::SetDown(down);
  if (down) toolbar_->ReleaseOthers(*this);
}

void StyledToolbar::SetStyle(const std::wstring& family, const std::wstring& appearance,
                             int radius) {
  family_ = family;
  appearance_ = appearance;
  radius_ = radius;
  for (ToolButton* button : buttons_) {
    button->SetStyle(family_, appearance_);
    button->SetRadius(radius_);
  }
}

void StyledToolbar::SetButtonSize(int width, int height) {
  buttonWidth_ = width;
  buttonHeight_ = height;
  AlignChildren();
}

void StyledToolbar::SetIndent(int indent) {
  indent_ = indent;
  AlignChildren();
}

ToolButton& StyledToolbar::AddButton(Component& owner, std::wstring name,
                                     const std::wstring& caption) {
  ToolButton& button =
      owner.Add<ToolButton>(std::move(name), this, DesignRect{0, 0, buttonWidth_, buttonHeight_});
  button.SetCaption(caption);
  button.SetStyle(family_, appearance_);
  button.SetRadius(radius_);
  buttons_.push_back(&button);
  AlignChildren();
  return button;
}

void StyledToolbar::ReleaseOthers(const ToolButton& keep) {
  for (ToolButton* button : buttons_) {
    if (button != &keep && button->Down()) button->SetDown(false);
  }
}

void StyledToolbar::AlignChildren() {
  int x = Scale(indent_);
  for (ToolButton* button : buttons_) {
    if (!button->Visible() || !button->Handle()) continue;
    const int width = Scale(buttonWidth_);
    SetWindowPos(button->Handle(), nullptr, x, 0, width, Scale(buttonHeight_),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    x += width;
  }
}

}  // namespace tavrin
