#include "widgets/component.h"

#include <algorithm>

#include "base/ascii_case.h"

namespace tavrin {

Component::~Component() {
  // Last created goes first, so nothing outlives what it was built on.
  while (!owned_.empty()) owned_.pop_back();
}

void Component::Adopt(std::unique_ptr<Component> owned) {
  Component& component = *owned;
  component.owner_ = this;
  owned_.push_back(std::move(owned));
  try {
    component.Loaded();  // may add components of its own to this owner
  } catch (...) {
    Free(component);
    throw;
  }
}

void Component::Free(Component& owned) {
  const auto it = std::find_if(owned_.begin(), owned_.end(),
                               [&owned](const auto& p) { return p.get() == &owned; });
  if (it == owned_.end()) return;
  const std::unique_ptr<Component> leaving = std::move(*it);
  owned_.erase(it);
}

std::optional<std::wstring> Component::GetStringProperty(std::wstring_view name) const {
  if (PublishesCaption() && EqualIgnoringAsciiCase(name, L"Caption")) return GetCaption();
  return std::nullopt;
}

bool Component::SetStringProperty(std::wstring_view name, const std::wstring& value) {
  if (!PublishesCaption() || !EqualIgnoringAsciiCase(name, L"Caption")) return false;
  SetCaption(value);
  return true;
}

}  // namespace tavrin
