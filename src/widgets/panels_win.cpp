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
  active_ = index;
  for (std::size_t i = 0; i < cards_.size(); ++i) cards_[i]->SetVisible(i == index);
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
