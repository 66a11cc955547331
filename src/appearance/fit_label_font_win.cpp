#include "appearance/fit_label_font.h"
#include "widgets/labels_win.h"

namespace tavrin {

void FitLabelFont(Label& label) {
  const std::wstring caption = label.GetCaption();
  SIZE text{};
  {
    WindowDc dc(label.Handle());
    SelectObjectScope font(dc.Get(), label.CurrentFont());
    GetTextExtentPoint32W(dc.Get(), caption.c_str(), static_cast<int>(caption.size()), &text);
  }
  RECT client;
  GetClientRect(label.Handle(), &client);
  if (text.cx <= client.right) return;
  FontSpec font = label.Font();
  font.SetSize(FittedFontSize(font.Size(), client.right, text.cx));
  label.SetFont(font);
}

}  // namespace tavrin
