#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The component model: every component may own further components, kept in
// creation order and destroyed with their owner. Ownership is not the visual
// nesting: a window owns every control designed on it.
namespace tavrin {

class Component {
 public:
  explicit Component(std::wstring name = {}) : name_(std::move(name)) {}
  virtual ~Component();
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  const std::wstring& Name() const { return name_; }
  Component* Owner() const { return owner_; }
  std::size_t ComponentCount() const { return owned_.size(); }
  Component& Components(std::size_t index) const { return *owned_[index]; }

  // Creates a component owned by this one and returns it once it is ready.
  template <class T, class... Args>
  T& Add(Args&&... args) {
    auto owned = std::make_unique<T>(std::forward<Args>(args)...);
    T& component = *owned;
    Adopt(std::move(owned));
    return component;
  }
  // Destroys an owned component before its owner goes.
  void Free(Component& owned);

  // Forms are the program's top-level windows.
  virtual bool IsForm() const { return false; }

  // Run-time access to published string properties by name; a component
  // without the property gives nothing and refuses the write.
  virtual std::optional<std::wstring> GetStringProperty(std::wstring_view name) const;
  virtual bool SetStringProperty(std::wstring_view name, const std::wstring& value);

 protected:
  // Components that publish "Caption" override these three.
  virtual bool PublishesCaption() const { return false; }
  virtual std::wstring GetCaption() const { return {}; }
  virtual void SetCaption(const std::wstring&) {}

  // Runs once the component has its owner; controls make their window here.
  virtual void Loaded() {}

 private:
  void Adopt(std::unique_ptr<Component> owned);

  std::wstring name_;
  Component* owner_ = nullptr;
  std::vector<std::unique_ptr<Component>> owned_;
};

}  // namespace tavrin
