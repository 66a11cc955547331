#include "widgets/option_boxes_win.h"

#include <oleacc.h>

#include "i18n/own_texts.h"

namespace tavrin {

void GroupBox::Paint(HDC dc, const RECT& client) {
  SelectObjectScope font(dc, CurrentFont());
  const std::wstring caption = GetCaption();
  SIZE text{};
  GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);

  RECT frame{client.left, client.top + metrics.tmHeight / 2, client.right, client.bottom};
  BrushHandle line(CreateSolidBrush(RGB(220, 220, 220)));
  FrameRect(dc, &frame, line.get());

  // The caption interrupts the frame's top line.
  const int indent = Scale(8);
  const int gap = Scale(2);
  RECT behind{indent - gap, client.top, indent + text.cx + gap, client.top + metrics.tmHeight};
  BrushHandle background(CreateSolidBrush(ResolveColor(Color())));
  FillRect(dc, &behind, background.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ResolveColor(clWindowText));
  TextOutW(dc, indent, client.top, caption.c_str(), static_cast<int>(caption.size()));
}

CheckBox::CheckBox(std::wstring name, Control* parent, DesignRect bounds, bool visible)
    : Control(std::move(name), parent, bounds, visible) {
  SetTabStop(true);
}

long GroupBox::AccessibleRole() const { return ROLE_SYSTEM_GROUPING; }

void CheckBox::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  if (Handle()) SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  NotifyStateChange(Handle());
  Click();
}

void CheckBox::Notified(WORD code) {
  if (code != BN_CLICKED) return;
  checked_ = SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
  NotifyStateChange(Handle());
  Click();
}

long CheckBox::AccessibleRole() const { return ROLE_SYSTEM_CHECKBUTTON; }

long CheckBox::AccessibleState() const { return checked_ ? STATE_SYSTEM_CHECKED : 0; }

std::wstring CheckBox::DefaultAction() const {
  return OwnTranslate(checked_ ? OwnText::ActionUncheck : OwnText::ActionCheck);
}

void CheckBox::HandleCreated() {
  if (checked_) SendMessageW(Handle(), BM_SETCHECK, BST_CHECKED, 0);
}

}  // namespace tavrin
