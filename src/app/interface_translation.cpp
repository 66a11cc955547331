#include "app/interface_translation.h"

#include "i18n/translation.h"
#include "widgets/component.h"
#include "widgets/menu.h"

namespace tavrin {

void TranslateComponent(Component* component, const std::wstring& language) {
  if (!language.empty()) CurrentLanguage = language;
  if (component == nullptr) return;
  if (auto* menu = dynamic_cast<PopupMenu*>(component)) TranslateMenuItem(&menu->Items());
  if (const auto caption = component->GetStringProperty(L"Caption")) {
    const bool englishTitle = component->IsForm() && CurrentLanguage != L"ko";
    component->SetStringProperty(L"Caption",
                                 englishTitle ? Translate(*caption, L"en") : Translate(*caption));
  }
  for (std::size_t i = 0; i < component->ComponentCount(); ++i) {
    TranslateComponent(&component->Components(i), language);
  }
}

void TranslateMenuItem(MenuItem* item) {
  if (item == nullptr) return;
  item->SetCaption(Translate(item->GetCaption()));
  for (MenuItem* sub : item->Items()) TranslateMenuItem(sub);
}

}  // namespace tavrin
