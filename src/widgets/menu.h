#pragma once

#include <string>
#include <utility>
#include <vector>

#include "widgets/component.h"

namespace tavrin {

// A menu item: a caption and ordered sub-items. Items are owned like any
// component (by the window they are designed on); the menu tree only links them.
class MenuItem : public Component {
 public:
  explicit MenuItem(std::wstring name = {}, std::wstring caption = {})
      : Component(std::move(name)), caption_(std::move(caption)) {}

  std::wstring GetCaption() const override { return caption_; }
  void SetCaption(const std::wstring& caption) override { caption_ = caption; }
  void Append(MenuItem& item) { items_.push_back(&item); }
  const std::vector<MenuItem*>& Items() const { return items_; }

 protected:
  bool PublishesCaption() const override { return true; }

 private:
  std::wstring caption_;
  std::vector<MenuItem*> items_;
};

// A popup menu: a root item, without a caption of its own, that lists the items.
class PopupMenu : public Component {
 public:
  using Component::Component;
  MenuItem& Items() { return root_; }

 private:
  MenuItem root_;
};

}  // namespace tavrin
