#include "app/interface_translation.h"

#include <gtest/gtest.h>

#include "i18n/translation.h"
#include "widgets/component.h"
#include "widgets/menu.h"

namespace tavrin::test {
namespace {

constexpr char kTable[] =
    "ko=\xED\x83\x80\xEB\xB8\x8C\xEB\xA6\xB0\n"  // 타브린
    "en=Tavrin\n"
    "ja=\xE3\x82\xBF\xE3\x83\x96\xE3\x83\xAA\xE3\x83\xB3\n"  // タブリン
    "\n"
    "ko=\xEC\xB2\x98\xEC\x9D\x8C\xED\x99\x94\xEB\xA9\xB4\n"  // 처음화면
    "en=Home\n"
    "ja=\xE3\x83\x9B\xE3\x83\xBC\xE3\x83\xA0\n";  // ホーム

const std::wstring kTitleKo = L"\uD0C0\uBE0C\uB9B0";
const std::wstring kTitleJa = L"\u30BF\u30D6\u30EA\u30F3";
const std::wstring kHomeKo = L"\uCC98\uC74C\uD654\uBA74";
const std::wstring kHomeJa = L"\u30DB\u30FC\u30E0";

// A component with a published caption, a form or not.
class Captioned : public Component {
 public:
  Captioned(std::wstring name, std::wstring caption, bool form = false)
      : Component(std::move(name)), caption_(std::move(caption)), form_(form) {}
  bool IsForm() const override { return form_; }
  std::wstring GetCaption() const override { return caption_; }
  void SetCaption(const std::wstring& caption) override {
    caption_ = caption;
    ++writes;
  }
  int writes = 0;

 protected:
  bool PublishesCaption() const override { return true; }

 private:
  std::wstring caption_;
  bool form_;
};

class InterfaceTranslation : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadTranslationTable(kTable);
    saved_ = CurrentLanguage;
  }
  void TearDown() override { CurrentLanguage = saved_; }

  // A window as designed: its caption, a button, a check box whose caption is
  // not in the table, and an image without a caption that owns a button.
  struct Window {
    Captioned form{L"FrmTavrin", kTitleKo, true};
    Captioned& button = form.Add<Captioned>(L"BtnHome", kHomeKo);
    Captioned& check = form.Add<Captioned>(L"ChkTcpNoDelay", L"TcpNoDelay");
    Component& image = form.Add<Component>(L"ImgLogo");
    Captioned& nested = image.Add<Captioned>(L"Nested", kHomeKo);
  };

 private:
  std::wstring saved_;
};

TEST_F(InterfaceTranslation, FormsShowKoreanOnlyToKoreanUsers) {
  struct Case {
    const wchar_t* language;
    std::wstring title;
    std::wstring button;
  };
  for (const Case& c : {Case{L"ja", L"Tavrin", kHomeJa}, Case{L"ko", kTitleKo, kHomeKo},
                        Case{L"de", L"Tavrin", L"Home"}, Case{L"en", L"Tavrin", L"Home"}}) {
    Window window;
    CurrentLanguage = c.language;
    TranslateComponent(&window.form);
    EXPECT_EQ(window.form.GetCaption(), c.title) << c.language;
    EXPECT_EQ(window.button.GetCaption(), c.button) << c.language;
    EXPECT_EQ(window.nested.GetCaption(), c.button) << "owned by a component without caption";
    EXPECT_EQ(window.check.GetCaption(), L"TcpNoDelay");
    EXPECT_EQ(window.check.writes, 1) << "written back even when unchanged";
  }
}

TEST_F(InterfaceTranslation, ALanguageArgumentBecomesTheInterfaceLanguageEvenWithoutAComponent) {
  CurrentLanguage = L"ko";
  TranslateComponent(nullptr, L"en");
  EXPECT_EQ(CurrentLanguage, L"en");

  Window window;
  TranslateComponent(&window.form, L"ja");
  EXPECT_EQ(CurrentLanguage, L"ja");
  EXPECT_EQ(window.button.GetCaption(), kHomeJa);

  TranslateComponent(&window.form, L"ko");  // again, on a translated window
  EXPECT_EQ(window.form.GetCaption(), kTitleKo);
  EXPECT_EQ(window.button.GetCaption(), kHomeKo);
}

TEST_F(InterfaceTranslation, OnlyWhatTheWindowOwnsIsTranslated) {
  Window window;
  Captioned stranger(L"Stranger", kHomeKo);  // shown on the window, owned by nobody
  TranslateComponent(&window.form, L"ja");
  EXPECT_EQ(stranger.GetCaption(), kHomeKo);
}

TEST_F(InterfaceTranslation, PopupMenuItemsAreTranslatedThroughTheMenuAndAsComponents) {
  Captioned form(L"FrmTavrin", kTitleKo, true);
  auto& menu = form.Add<PopupMenu>(L"PopupMenu1");
  auto& item = form.Add<MenuItem>(L"MnuHome", kHomeKo);
  auto& sub = form.Add<MenuItem>(L"MnuSub", kHomeKo);
  auto& unowned = menu.Items();  // the root: translated through the menu only
  unowned.SetCaption(kHomeKo);
  MenuItem added(L"MnuAdded", kHomeKo);  // added at run time, owned by no component
  menu.Items().Append(item);
  item.Append(sub);
  sub.Append(added);

  TranslateComponent(&form, L"ja");
  EXPECT_EQ(unowned.GetCaption(), kHomeJa);
  EXPECT_EQ(item.GetCaption(), kHomeJa);
  EXPECT_EQ(sub.GetCaption(), kHomeJa);
  EXPECT_EQ(added.GetCaption(), kHomeJa);

  TranslateMenuItem(nullptr);  // nothing to do
}

}  // namespace
}  // namespace tavrin::test
