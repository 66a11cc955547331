#include "widgets/panels_win.h"

namespace tavrin {

Panel& CardPanel::AddCard(Component& owner, std::wstring name) {
  // Only the first page shows at once; the others get their windows when shown.
  Panel& card = owner.Add<Panel>(std::move(name), this, Bounds(), cards_.empty());
  card.SetAlign(Align::Client);
  cards_.push_back(&card);
  return card;
}

void CardPanel::SetActiveCard(std::size_t index) {
  if (index >= cards_.size()) return;
  const bool focusInside = ContainsFocus();
  active_ = index;
  Panel& shown = *cards_[index];
  shown.SetVisible(true);
  // The focus goes along to the page shown rather than stay on a hidden one.
  if (focusInside && !shown.ContainsFocus()) {
    const std::vector<Control*> stops = shown.TabStops();
    if (!stops.empty()) stops.front()->Focus();
  }
  for (Panel* card : cards_) {
    if (card != &shown) card->SetVisible(false);
  }
}

void Shape::SetBrushColor(TColor color) {
  brush_ = color;
  Invalidate();
}

void Shape::SetPenColor(TColor color) {
  pen_ = color;
  Invalidate();
}

void Shape::Paint(HDC dc, const RECT& client) {
  BrushHandle fill(CreateSolidBrush(ResolveColor(brush_)));
  FillRect(dc, &client, fill.get());
  BrushHandle outline(CreateSolidBrush(ResolveColor(pen_)));
  FrameRect(dc, &client, outline.get());
}

}  // namespace tavrin
