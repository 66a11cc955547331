#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "widgets/accessible_win.h"
#include "widgets/colors.h"
#include "widgets/component.h"
#include "widgets/gdi_win.h"
#include "widgets/hints_win.h"

// The base of every control: one window, placed in pixels at 96 dpi and
// scaled by the window's DPI, with the font and colour of its parent unless
// it has its own. Our own window classes share one window procedure, which
// stops every error at its boundary; a system class's window is subclassed
// only to answer for itself to screen readers.
namespace tavrin {

struct DesignRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// Docking inside the parent; docked controls are placed in the order top,
// right, client, and the rest by their own position.
enum class Align { None, Top, Right, Client };

struct Margins {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

class Control : public Component, protected AccessibleSource {
 public:
  // A control made hidden gets its window, and its children theirs, when it
  // first shows.
  Control(std::wstring name, Control* parent, DesignRect bounds, bool visible = true);
  ~Control() override;

  HWND Handle() const { return handle_; }
  Control* Parent() const { return parent_; }

  // Makes the window, and those of the children added while it had none; a
  // shown control added to an owner gets it at once if its parent has one.
  void CreateHandle();
  void DestroyHandle();

  const DesignRect& Bounds() const { return bounds_; }
  void SetBounds(const DesignRect& bounds);
  Align GetAlign() const { return align_; }
  void SetAlign(Align align, Margins margins = {});
  virtual int Dpi() const;
  int Scale(int designPixels) const;
  // Places every child by its alignment at the current DPI, and theirs.
  void Realign();

  // Puts the window above its siblings, which it then covers.
  void BringToFront();

  // The control of a window, or nothing for a window of no control.
  static Control* FromHandle(HWND window);
  // The top of the tree this control sits in: its form, once it has one.
  Control& Root();

  // Keyboard focus. A tab stop is reached with Tab and takes the focus when
  // clicked. A control hidden or disabled while it holds the focus hands it
  // to its form, which passes it on (see Form).
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool tabStop);
  // Shown, enabled and with a window.
  bool CanFocus() const;
  bool Focused() const;
  // The focus is on this window or on one inside it.
  bool ContainsFocus() const;
  void Focus();
  // The tab stops here and inside that can take the focus, in tab order:
  // the order in which the controls were added.
  std::vector<Control*> TabStops();

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const;
  void SetEnabled(bool enabled);

  const FontSpec& Font() const;
  HFONT CurrentFont() const;
  // Gives the control a font of its own, which its parent's no longer reaches.
  void SetFont(const FontSpec& font);
  // Makes fonts anew for the current DPI, here and below.
  void RefreshFonts();

  TColor Color() const;
  void SetColor(TColor color);

  // The caption is the window text, where screen readers find it.
  std::wstring GetCaption() const override;
  void SetCaption(const std::wstring& caption) override;

  // What the control does, in a sentence or two: its tooltip, and what
  // screen readers give as its description.
  const std::wstring& Hint() const { return hint_; }
  void SetHint(const std::wstring& hint);

  std::function<void(Component& sender)> OnClick;

  // What screen readers call the control where no caption says it (a
  // picture, a button while its caption is empty); empty: the caption.
  void SetAccessibleName(std::wstring name);

 protected:
  virtual const wchar_t* WindowClass() const = 0;
  // A system class (such as BUTTON) keeps its own window procedure; its
  // notifications come back through the parent.
  virtual bool IsSystemClass() const { return false; }
  virtual DWORD Style() const { return WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN; }
  virtual DWORD ExStyle() const { return 0; }
  virtual RECT InitialRect() const;

  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
  // Asks for a repaint of a window on screen. A window not shown yet is
  // painted whole when it shows, so it is left alone.
  void Invalidate();
  // Draws the control on its background colour; the picture is double-buffered.
  virtual void Paint(HDC, const RECT&) {}
  // A notification the control's system window sent its parent.
  virtual void Notified(WORD) {}
  // The window was just made: state kept until then goes to it.
  virtual void HandleCreated() {}
  virtual void AlignChildren();
  void Click();
  // The tooltips of the window this control is in; a form has them.
  virtual Hints* OwnHints() { return nullptr; }

  // What a screen reader is told. A role of 0 leaves the window to the
  // system's standard object; the name is the caption unless set otherwise.
  long AccessibleRole() const override { return 0; }
  std::wstring AccessibleName() const override;
  std::wstring AccessibleDescription() const override { return hint_; }
  long AccessibleState() const override { return 0; }
  std::wstring DefaultAction() const override { return {}; }
  bool DoDefaultAction() override { return false; }
  // A click that comes as a message, after the reader's call has returned.
  bool PostClick();

  // Asked of the root control: `leaving` holds the focus and is about to be
  // hidden, or has just been disabled; `returning` was enabled again.
  virtual void FocusLeaving(Control& /*leaving*/, bool /*disabled*/) {}
  virtual void FocusReturning(Control& /*returning*/) {}
  // Whether the focus is marked; the form follows the keyboard-cue state.
  virtual bool FocusCuesShown() const;

  void Loaded() override;

 private:
  void ForgetHandles();
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam,
                                     LPARAM lParam) noexcept;
  static LRESULT CALLBACK SystemWindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) noexcept;
  LRESULT SystemMessage(UINT message, WPARAM wParam, LPARAM lParam);
  std::optional<LRESULT> SharedMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void CollectTabStops(std::vector<Control*>& stops);
  void RegisterWindowClass() const;
  Control* ChildWithHandle(HWND window) const;
  LRESULT ColorChild(HWND child, HDC dc);
  RECT DockedRect(RECT& area) const;
  std::wstring Where(UINT message) const;

  HWND handle_ = nullptr;
  Control* parent_;
  std::vector<Control*> children_;
  DesignRect bounds_;
  Align align_ = Align::None;
  Margins margins_;
  unsigned alignSerial_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  bool tabStop_ = false;
  WNDPROC systemProc_ = nullptr;  // a system class's own procedure
  std::wstring caption_;  // kept until the window exists
  std::wstring hint_;
  std::wstring accessibleName_;
  std::optional<TColor> color_;
  std::optional<FontSpec> font_;
  FontHandle fontHandle_;
  BrushHandle childBrush_;
  COLORREF childBrushColor_ = CLR_INVALID;
};

// The text of any window, a control's caption or a system control's.
std::wstring WindowText(HWND window);

}  // namespace tavrin
