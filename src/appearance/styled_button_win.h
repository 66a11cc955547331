#pragma once

#include <string>
#include <vector>

#include "appearance/button_styles.h"
#include "widgets/control_win.h"
#include "widgets/key_press_tracker_win.h"
#include "widgets/press_tracker_win.h"

namespace tavrin {

// A button drawn in the look of a style family (see button_styles.h). A tab
// stop: Space (on release) and Enter press it as a click does, and the
// focus shows as a dotted frame in the caption's colour, not as the family's
// "Selected" look, which for most appearances is the hover look. Code can
// hold it in the down position.
class StyledButton : public Control {
 public:
  StyledButton(std::wstring name, Control* parent, DesignRect bounds, bool visible = true);

  // Takes the family's look for this class and appearance; a family nobody
  // registered leaves the current look.
  void SetStyle(const std::wstring& family, const std::wstring& appearance,
                const std::wstring& styleClass = L"");
  void SetRadius(int radius);
  const TButtonLook& Look() const { return look_; }

  bool Down() const { return down_; }
  virtual void SetDown(bool down);
  TButtonState State() const;

  // What the button is to a screen reader: a push button (pressed while
  // down), the tab of a page (selected while down) or a link.
  enum class Role { Push, PageTab, Link };
  void SetRole(Role role) { role_ = role; }

 protected:
  const wchar_t* WindowClass() const override { return L"Tavrin.StyledButton"; }
  bool PublishesCaption() const override { return true; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint(HDC dc, const RECT& client) override;
  long AccessibleRole() const override;
  long AccessibleState() const override;
  std::wstring DefaultAction() const override;
  bool DoDefaultAction() override { return PostClick(); }

 private:
  void TrackHot();
  void Redraw();

  TButtonLook look_;
  Role role_ = Role::Push;
  int radius_ = 0;
  bool down_ = false;
  PressTracker press_;
  KeyPressTracker keys_;
  bool hot_ = false;
};

class StyledToolbar;

// A toolbar button: family, appearance and radius come from its toolbar, and
// holding one down releases the toolbar's other down button. It is a page's
// tab unless given another role.
class ToolButton : public StyledButton {
 public:
  ToolButton(std::wstring name, StyledToolbar* toolbar, DesignRect bounds);
  void SetDown(bool down) override;

 private:
  StyledToolbar* toolbar_;
};

// A row of tool buttons of one size, left to right after an indent.
class StyledToolbar : public Control {
 public:
  using Control::Control;

  void SetStyle(const std::wstring& family, const std::wstring& appearance, int radius);
  void SetButtonSize(int width, int height);
  void SetIndent(int indent);
  ToolButton& AddButton(Component& owner, std::wstring name, const std::wstring& caption);
  // Releases every down button but `keep`.
  void ReleaseOthers(const ToolButton& keep);

 protected:
  const wchar_t* WindowClass() const override { return L"Tavrin.Toolbar"; }
  void AlignChildren() override;

 private:
  std::vector<ToolButton*> buttons_;
  std::wstring family_;
  std::wstring appearance_;
  int radius_ = 0;
  int buttonWidth_ = 23;
  int buttonHeight_ = 22;
  int indent_ = 0;
};

}  // namespace tavrin
