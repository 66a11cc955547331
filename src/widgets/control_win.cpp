#include "widgets/control_win.h"

#include <algorithm>
#include <cwchar>
#include <set>
#include <stdexcept>
#include <string>
#include <system_error>

#include "base/dpi.h"
#include "base/error_report.h"
#include "base/text_encoding.h"

namespace tavrin {
namespace {

constexpr DWORD kNonClientStyles =
    WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_HSCROLL | WS_VSCROLL;
constexpr DWORD kNonClientExStyles =
    WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME;

// Every control's window carries its control, so that any window found (the
// focus, a message's target) can be told to be ours.
constexpr wchar_t kControlProperty[] = L"Tavrin.Control";

unsigned NextAlignSerial() {
  static unsigned serial = 0;
  return ++serial;
}

// Where a child window sits in its parent's client area.
RECT PlaceOf(HWND child, HWND parent) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace

Control::Control(std::wstring name, Control* parent, DesignRect bounds, bool visible)
    : Component(std::move(name)), parent_(parent), bounds_(bounds), visible_(visible) {
  if (parent_) parent_->children_.push_back(this);
}

Control::~Control() {
  DestroyHandle();
  if (parent_) std::erase(parent_->children_, this);
  for (Control* child : children_) child->parent_ = nullptr;
}

void Control::DestroyHandle() {
  if (handle_) DestroyWindow(handle_);  // WM_NCDESTROY clears handle_
}

void Control::RegisterWindowClass() const {
  static std::set<std::wstring> registered;
  if (!registered.insert(WindowClass()).second) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &Control::WindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  static const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hCursor = arrow;
  // Only a top-level window shows an icon; making one for a class costs more
  // than the window itself.
  if (IsForm()) windowClass.hIcon = LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(1));
  windowClass.lpszClassName = WindowClass();
  RegisterClassExW(&windowClass);
}

RECT Control::InitialRect() const {
  return {Scale(bounds_.left), Scale(bounds_.top), Scale(bounds_.left + bounds_.width),
          Scale(bounds_.top + bounds_.height)};
}

void Control::CreateHandle() {
  if (handle_) return;
  if (!IsSystemClass()) RegisterWindowClass();
  const RECT rect = InitialRect();
  const DWORD style = Style() | (visible_ && parent_ ? WS_VISIBLE : 0) |
                      (enabled_ ? 0 : WS_DISABLED) | (tabStop_ ? WS_TABSTOP : 0);
  HWND window = CreateWindowExW(ExStyle(), WindowClass(), caption_.c_str(), style, rect.left,
                                rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                parent_ ? parent_->handle_ : nullptr, nullptr,
                                GetModuleHandleW(nullptr), this);
  if (!window) {
    const DWORD error = GetLastError();
    const std::string what =
        "A window could not be created for " + (Name().empty() ? "a control" : WideToUtf8(Name()));
    // A window procedure that refuses its window leaves no system error.
    if (error == ERROR_SUCCESS) throw std::runtime_error(what + ".");
    throw std::system_error(static_cast<int>(error), std::system_category(), what);
  }
  handle_ = window;
  if (IsSystemClass()) {
    SetPropW(window, kControlProperty, this);
    systemProc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Control::SystemWindowProc)));
  }
  SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(CurrentFont()), FALSE);
  HandleCreated();
  if (!hint_.empty()) SetHint(hint_);
  bool madeChildren = false;
  for (Control* child : children_) {
    if (child->visible_ && !child->handle_) {
      child->CreateHandle();
      madeChildren = true;
    }
  }
  if (madeChildren) AlignChildren();
}

void Control::Loaded() {
  if (visible_ && (!parent_ || parent_->handle_)) CreateHandle();
}

LRESULT CALLBACK Control::WindowProc(HWND window, UINT message, WPARAM wParam,
                                     LPARAM lParam) noexcept {
  auto* self = reinterpret_cast<Control*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<Control*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->handle_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    SetPropW(window, kControlProperty, self);
  }
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  LRESULT result = 0;
  try {
    result = self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    HandleError(std::current_exception(), self->Where(message));
    result = DefWindowProcW(window, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    RemovePropW(window, kControlProperty);
    ForgetAccessibleSource(window);
    self->ForgetHandles();
  }
  return result;
}

LRESULT CALLBACK Control::SystemWindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) noexcept {
  auto* self = static_cast<Control*>(GetPropW(window, kControlProperty));
  if (!self || !self->systemProc_) return DefWindowProcW(window, message, wParam, lParam);
  const WNDPROC systemProc = self->systemProc_;
  if (message == WM_NCDESTROY) {
    RemovePropW(window, kControlProperty);
    ForgetAccessibleSource(window);
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(systemProc));
    self->systemProc_ = nullptr;
    return CallWindowProcW(systemProc, window, message, wParam, lParam);
  }
  try {
    return self->SystemMessage(message, wParam, lParam);
  } catch (...) {
    HandleError(std::current_exception(), self->Where(message));
    return CallWindowProcW(systemProc, window, message, wParam, lParam);
  }
}

LRESULT Control::SystemMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (const std::optional<LRESULT> result = SharedMessage(message, wParam, lParam)) return *result;
  return CallWindowProcW(systemProc_, handle_, message, wParam, lParam);
}

// Answered alike for our own windows and system-class ones.
std::optional<LRESULT> Control::SharedMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETOBJECT:
      if (static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT) && AccessibleRole() != 0) {
        return AnswerAccessibleObject(handle_, wParam, *this);
      }
      break;
    case WM_CHANGEUISTATE:
    case WM_QUERYUISTATE:
      // The form keeps the keyboard-cue state for every window inside; the
      // system's controls draw their focus by it too.
      if (parent_ && Root().handle_) return SendMessageW(Root().handle_, message, wParam, lParam);
      break;
  }
  return std::nullopt;
}

std::wstring Control::AccessibleName() const {
  return accessibleName_.empty() ? GetCaption() : accessibleName_;
}

void Control::SetAccessibleName(std::wstring name) {
  const std::wstring before = AccessibleName();
  accessibleName_ = std::move(name);
  if (AccessibleName() != before) NotifyNameChange(handle_);
}

bool Control::PostClick() {
  if (handle_) PostMessageW(handle_, BM_CLICK, 0, 0);
  return true;
}

Control* Control::FromHandle(HWND window) {
  return window ? static_cast<Control*>(GetPropW(window, kControlProperty)) : nullptr;
}

Control& Control::Root() {
  Control* root = this;
  while (root->parent_) root = root->parent_;
  return *root;
}

// The children's windows went before this one, system-class ones included,
// which never pass through our window procedure to say so.
void Control::ForgetHandles() {
  handle_ = nullptr;
  for (Control* child : children_) child->ForgetHandles();
}

std::wstring Control::Where(UINT message) const {
  wchar_t text[16];
  std::swprintf(text, 16, L"0x%04X", message);
  return (Name().empty() ? std::wstring(L"a control") : Name()) + L", window message " + text;
}

void Control::Invalidate() {
  if (handle_ && IsWindowVisible(handle_)) InvalidateRect(handle_, nullptr, FALSE);
}

LRESULT Control::Default(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(handle_, message, wParam, lParam);
}

LRESULT Control::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_NCPAINT:
      // With no frame there is nothing to draw, yet the default would still
      // take a device context to draw it with.
      if (!(Style() & kNonClientStyles) && !(ExStyle() & kNonClientExStyles)) return 0;
      break;
    case WM_PAINT: {
      BufferedPaint paint(handle_);
      if (paint.Covered()) return 0;
      BrushHandle background(CreateSolidBrush(ResolveColor(Color())));
      FillRect(paint.Dc(), &paint.Client(), background.get());
      Paint(paint.Dc(), paint.Client());
      return 0;
    }
    case WM_SIZE:
      AlignChildren();
      break;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(CurrentFont());
    case WM_COMMAND:
      if (Control* child = ChildWithHandle(reinterpret_cast<HWND>(lParam))) {
        child->Notified(HIWORD(wParam));
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return ColorChild(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam));
    case WM_UPDATEUISTATE:
      Invalidate();
      break;
  }
  if (const std::optional<LRESULT> result = SharedMessage(message, wParam, lParam)) return *result;
  return Default(message, wParam, lParam);
}

Control* Control::ChildWithHandle(HWND window) const {
  if (!window) return nullptr;
  const auto it = std::find_if(children_.begin(), children_.end(),
                               [window](const Control* c) { return c->handle_ == window; });
  return it == children_.end() ? nullptr : *it;
}

LRESULT Control::ColorChild(HWND child, HDC dc) {
  const Control* control = ChildWithHandle(child);
  const COLORREF color = ResolveColor(control ? control->Color() : Color());
  if (!childBrush_ || childBrushColor_ != color) {
    childBrush_.reset(CreateSolidBrush(color));
    childBrushColor_ = color;
  }
  SetBkColor(dc, color);
  SetTextColor(dc, ResolveColor(clWindowText));
  return reinterpret_cast<LRESULT>(childBrush_.get());
}

void Control::SetBounds(const DesignRect& bounds) {
  bounds_ = bounds;
  if (parent_) parent_->AlignChildren();
}

void Control::SetAlign(Align align, Margins margins) {
  align_ = align;
  margins_ = margins;
  alignSerial_ = NextAlignSerial();
  if (parent_) parent_->AlignChildren();
}

int Control::Dpi() const { return parent_ ? parent_->Dpi() : USER_DEFAULT_SCREEN_DPI; }

int Control::Scale(int designPixels) const {
  return MulDivRounded(designPixels, Dpi(), USER_DEFAULT_SCREEN_DPI);
}

RECT Control::DockedRect(RECT& area) const {
  const Margins m{Scale(margins_.left), Scale(margins_.top), Scale(margins_.right),
                  Scale(margins_.bottom)};
  switch (align_) {
    case Align::Top: {
      const RECT r{area.left + m.left, area.top + m.top, area.right - m.right,
                   area.top + m.top + Scale(bounds_.height)};
      area.top = r.bottom + m.bottom;
      return r;
    }
    case Align::Right: {
      const RECT r{area.right - m.right - Scale(bounds_.width), area.top + m.top,
                   area.right - m.right, area.bottom - m.bottom};
      area.right = r.left - m.left;
      return r;
    }
    case Align::Client:
      return {area.left + m.left, area.top + m.top, area.right - m.right, area.bottom - m.bottom};
    case Align::None:
      break;
  }
  return InitialRect();
}

void Control::AlignChildren() {
  if (!handle_) return;
  RECT area;
  GetClientRect(handle_, &area);
  std::vector<Control*> order(children_);
  // Among top-docked controls the higher goes first, and of two at the same
  // height the one docked last.
  std::stable_sort(order.begin(), order.end(), [](const Control* a, const Control* b) {
    const auto key = [](const Control* c) {
      return c->align_ == Align::Top ? std::pair{c->bounds_.top, ~c->alignSerial_}
                                     : std::pair{0, 0u};
    };
    return key(a) < key(b);
  });
  for (const Align pass : {Align::Top, Align::Right, Align::Client, Align::None}) {
    for (Control* child : order) {
      if (child->align_ != pass || !child->handle_) continue;
      // A hidden control takes no room, but a hidden page is ready when shown.
      if ((pass == Align::Top || pass == Align::Right) && !child->visible_) continue;
      const RECT r = child->DockedRect(area);
      // Each move costs a round of messages, and every control added realigns
      // all of its siblings.
      if (const RECT now = PlaceOf(child->handle_, handle_); EqualRect(&now, &r)) continue;
      SetWindowPos(child->handle_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
}

void Control::Realign() {
  AlignChildren();
  for (Control* child : children_) child->Realign();
}

void Control::BringToFront() {
  if (handle_)
    SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Control::SetVisible(bool visible) {
  if (visible_ == visible) return;
  if (!visible && ContainsFocus()) Root().FocusLeaving(*this, false);
  // Off screen while the others take its room or it is put in its place.
  if (!handle_ && visible && parent_ && parent_->handle_) CreateHandle();
  visible_ = visible;
  if (handle_ && parent_ && !visible) ShowWindow(handle_, SW_HIDE);
  if (parent_) parent_->AlignChildren();
  if (handle_ && parent_ && visible) ShowWindow(handle_, SW_SHOWNA);
}

bool Control::Enabled() const { return enabled_; }

void Control::SetEnabled(bool enabled) {
  const bool changed = enabled != enabled_;
  const bool hadFocus = !enabled && ContainsFocus();
  enabled_ = enabled;
  if (!handle_) return;
  EnableWindow(handle_, enabled);  // a disabled window loses the focus
  if (!changed) return;
  NotifyStateChange(handle_);
  if (hadFocus) Root().FocusLeaving(*this, true);
  if (enabled) Root().FocusReturning(*this);
}

void Control::SetTabStop(bool tabStop) {
  tabStop_ = tabStop;
  if (!handle_) return;
  const LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
  SetWindowLongPtrW(handle_, GWL_STYLE, tabStop ? style | WS_TABSTOP : style & ~WS_TABSTOP);
}

bool Control::CanFocus() const {
  return handle_ && IsWindowVisible(handle_) && IsWindowEnabled(handle_);
}

bool Control::Focused() const { return handle_ && GetFocus() == handle_; }

bool Control::ContainsFocus() const {
  const HWND focus = GetFocus();
  return handle_ && focus && (focus == handle_ || IsChild(handle_, focus));
}

void Control::Focus() {
  if (handle_) SetFocus(handle_);
}

std::vector<Control*> Control::TabStops() {
  std::vector<Control*> stops;
  CollectTabStops(stops);
  return stops;
}

void Control::CollectTabStops(std::vector<Control*>& stops) {
  if (!CanFocus()) return;
  if (tabStop_) stops.push_back(this);
  for (Control* child : children_) child->CollectTabStops(stops);
}

bool Control::FocusCuesShown() const { return parent_ ? parent_->FocusCuesShown() : true; }

const FontSpec& Control::Font() const {
  if (font_ || !parent_) {
    static const FontSpec fallback{L"Segoe UI", -12};
    return font_ ? *font_ : fallback;
  }
  return parent_->Font();
}

HFONT Control::CurrentFont() const {
  if (fontHandle_) return fontHandle_.get();
  return parent_ ? parent_->CurrentFont() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void Control::SetFont(const FontSpec& font) {
  font_ = font;
  RefreshFonts();
}

void Control::RefreshFonts() {
  if (font_) fontHandle_ = CreateFontFor(*font_, Dpi());
  if (handle_) {
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(CurrentFont()), FALSE);
    Invalidate();
  }
  for (Control* child : children_) child->RefreshFonts();
}

TColor Control::Color() const {
  if (color_) return *color_;
  return parent_ ? parent_->Color() : clWindow;
}

void Control::SetColor(TColor color) {
  color_ = color;
  Invalidate();
}

void Control::SetHint(const std::wstring& hint) {
  hint_ = hint;
  if (!handle_) return;
  if (Hints* hints = Root().OwnHints()) hints->Set(handle_, hint_);
}

std::wstring Control::GetCaption() const { return handle_ ? WindowText(handle_) : caption_; }

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

void Control::SetCaption(const std::wstring& caption) {
  caption_ = caption;
  if (handle_ && caption != GetCaption()) {
    const std::wstring before = AccessibleName();
    SetWindowTextW(handle_, caption.c_str());
    Invalidate();
    // Readers speak a focused control anew when its name changes.
    if (AccessibleName() != before) NotifyNameChange(handle_);
  }
}

void Control::Click() {
  if (OnClick) OnClick(*this);
}

}  // namespace tavrin
