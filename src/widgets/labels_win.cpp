#include "widgets/labels_win.h"

#include <oleacc.h>

namespace tavrin {

void Label::SetCentered(bool centered) {
  centered_ = centered;
  Invalidate();
}

void Label::Paint(HDC dc, const RECT& client) {
  SelectObjectScope font(dc, CurrentFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ResolveColor(clWindowText));
  RECT area = client;
  const std::wstring text = GetCaption();
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
            DT_SINGLELINE | DT_NOPREFIX | (centered_ ? DT_CENTER : DT_LEFT));
}

long Label::AccessibleRole() const { return ROLE_SYSTEM_STATICTEXT; }
long Label::AccessibleState() const { return STATE_SYSTEM_READONLY; }
long MarkupLabel::AccessibleRole() const { return ROLE_SYSTEM_STATICTEXT; }
long MarkupLabel::AccessibleState() const { return STATE_SYSTEM_READONLY; }

void MarkupLabel::SetMarkup(const std::wstring& markup) {
  markup_ = markup;
  line_ = ParseMarkup(markup);
  SetCaption(PlainText(line_));
}

void MarkupLabel::Paint(HDC dc, const RECT& client) {
  FontSpec boldSpec = Font();
  boldSpec.bold = true;
  const FontHandle bold = CreateFontFor(boldSpec, Dpi());
  const auto fontOf = [&](const MarkupRun& run) { return run.bold ? bold.get() : CurrentFont(); };

  int width = 0;
  int height = 0;
  std::vector<SIZE> sizes;
  for (const MarkupRun& run : line_.runs) {
    SelectObjectScope font(dc, fontOf(run));
    SIZE size{};
    GetTextExtentPoint32W(dc, run.text.c_str(), static_cast<int>(run.text.size()), &size);
    sizes.push_back(size);
    width += size.cx;
    height = std::max<int>(height, size.cy);
  }
  int x = line_.centered ? client.left + (client.right - client.left - width) / 2 : client.left;
  const int y = client.top + (client.bottom - client.top - height) / 2;
  SetBkMode(dc, TRANSPARENT);
  for (std::size_t i = 0; i < line_.runs.size(); ++i) {
    const MarkupRun& run = line_.runs[i];
    SelectObjectScope font(dc, fontOf(run));
    SetTextColor(dc, run.gray ? RGB(128, 128, 128) : ResolveColor(clWindowText));
    // Runs line up at the bottom: a shorter font sits lower by the difference.
    TextOutW(dc, x, y + height - sizes[i].cy, run.text.c_str(), static_cast<int>(run.text.size()));
    x += sizes[i].cx;
  }
}

}  // namespace tavrin
