#pragma once

#include <string>

namespace tavrin {

class Component;
class MenuItem;

// Translates the component's caption and, recursively, those of everything it
// owns (ownership order, not visual nesting). A non-empty language becomes
// CurrentLanguage first, even for a null component. Forms show Korean only to
// Korean users and English to everyone else.
void TranslateComponent(Component* component, const std::wstring& language = L"");

// Translates the item's caption and, recursively, its sub-items.
void TranslateMenuItem(MenuItem* item);

}  // namespace tavrin
