#include "widgets/component.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "widgets/menu.h"

namespace tavrin {
namespace {

// Notes its destruction in a shared log.
class Logged : public Component {
 public:
  Logged(std::wstring name, std::vector<std::wstring>& log)
      : Component(std::move(name)), log_(log) {}
  ~Logged() override { log_.push_back(Name()); }

 private:
  std::vector<std::wstring>& log_;
};

class FailsToLoad : public Component {
 protected:
  void Loaded() override { throw std::runtime_error("no window"); }
};

TEST(Component, OwnsInCreationOrderAndDestroysLastCreatedFirst) {
  std::vector<std::wstring> log;
  {
    Logged root(L"root", log);
    auto& first = root.Add<Logged>(L"first", log);
    first.Add<Logged>(L"grandchild", log);
    root.Add<Logged>(L"second", log);
    ASSERT_EQ(root.ComponentCount(), 2u);
    EXPECT_EQ(root.Components(0).Name(), L"first");
    EXPECT_EQ(root.Components(1).Name(), L"second");
    EXPECT_EQ(first.Owner(), &root);
  }
  EXPECT_EQ(log, (std::vector<std::wstring>{L"root", L"second", L"first", L"grandchild"}));
}

TEST(Component, FreeDestroysOneOwnedComponentAndIgnoresStrangers) {
  std::vector<std::wstring> log;
  Component root;
  auto& a = root.Add<Logged>(L"a", log);
  root.Add<Logged>(L"b", log);
  Component stranger;
  root.Free(stranger);
  root.Free(a);
  EXPECT_EQ(log, std::vector<std::wstring>{L"a"});
  ASSERT_EQ(root.ComponentCount(), 1u);
  EXPECT_EQ(root.Components(0).Name(), L"b");
}

TEST(Component, AComponentThatFailsToLoadIsNotKept) {
  Component root;
  EXPECT_THROW(root.Add<FailsToLoad>(), std::runtime_error);
  EXPECT_EQ(root.ComponentCount(), 0u);
}

TEST(Component, CaptionIsReachableByNameOnlyWhereItIsPublished) {
  Component plain;
  EXPECT_EQ(plain.GetStringProperty(L"Caption"), std::nullopt);
  EXPECT_FALSE(plain.SetStringProperty(L"Caption", L"x"));

  MenuItem item(L"Item", L"old");
  EXPECT_EQ(item.GetStringProperty(L"caption"), L"old");
  EXPECT_TRUE(item.SetStringProperty(L"CAPTION", L"new"));
  EXPECT_EQ(item.GetCaption(), L"new");
  EXPECT_EQ(item.GetStringProperty(L"Hint"), std::nullopt);
}

}  // namespace
}  // namespace tavrin
