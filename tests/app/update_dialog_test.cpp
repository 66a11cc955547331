#include "app/update_dialog.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "base/dpi.h"
#include "base/owners_win.h"
#include "base/text_encoding.h"
#include "i18n/own_texts.h"
#include "prompt_driver_win.h"
#include "support/accessibility_win.h"
#include "support/gui_win.h"

namespace tavrin::test {
namespace {

std::string Narrow(std::wstring_view text) { return WideToUtf8(text); }

// The prompt lays itself out for the monitor's dpi, as the program (aware per
// monitor by its manifest) sees it.
const bool kDpiAware = SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);

// Shows the prompt and, once it is up, hands it to `answer`, which inspects it
// and answers it as the user would.
class PromptTest : public testing::Test {
 protected:
  bool Show(const std::wstring& reply, std::function<void(Prompt&)> answer) {
    const PromptAnswerer answerer(std::move(answer));
    const bool accepted = UpdateDialog(reply, options_);
    EXPECT_TRUE(answerer.Answered()) << "the prompt never showed";
    return accepted;
  }

  static void Key(HWND focus, WPARAM key) { PostMessageW(focus, WM_KEYDOWN, key, 0); }
  // A key pressed and let go on the focus, served as the prompt's own loop
  // serves it.
  static void Press(HWND dialog, WPARAM key) {
    const HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, key, 0);
    PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (IsDialogMessageW(dialog, &message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }

  ComApartment com_;  // the interface thread's, for the screen reader's view

  UpdateDialogOptions options_{L"en", L"Tavrin", 10,
                               [this](const std::wstring& url) { opened_.push_back(url); },
                               [this] { ++holds_; }};
  std::vector<std::wstring> opened_;
  int holds_ = 0;
};

constexpr wchar_t kUpdate[] = LR"({"update":"https://dl.example.test/setup.exe"})";

std::wstring WithInfo(const std::wstring& info) {
  return LR"({"update":"https://dl.example.test/setup.exe","info":{)" + info + L"}}";
}

// The colour of the brush the dialog paints a control's background with.
COLORREF BackgroundOf(HWND dialog, UINT colorMessage, HWND control) {
  const HDC dc = GetDC(dialog);
  const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
      dialog, colorMessage, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
  ReleaseDC(dialog, dc);
  LOGBRUSH described{};
  GetObjectW(brush, sizeof described, &described);
  return described.lbColor;
}

TEST_F(PromptTest, SpeaksTheInterfaceLanguage) {
  struct Case {
    const wchar_t* language;
    const wchar_t* yes;
    const wchar_t* no;
    const char* messageStart;
  };
  const Case cases[] = {
      {L"ko", L"\uc608", L"\uc544\ub2c8\uc624", "\xec\x97\x85\xeb\x8d\xb0\xec\x9d\xb4\xed\x8a\xb8"},
      {L"ja", L"\u306f\u3044", L"\u3044\u3044\u3048", "\xe3\x81\x93\xe3\x81\xae"},
      {L"zh", L"\u662f", L"\u5426", "\xe8\xaf\xa5"},
      {L"de", L"Ja", L"Nein", "Dieses Programm ist aktualisiert worden.\r\rEs wird"},
      {L"ru", L"\u0414\u0430", L"\u041d\u0435\u0442", "\xd0\x94\xd0\xb0\xd0\xbd"},
      {L"it", L"S\u00ec", L"No", "\xc3\x88 disponibile"},
      {L"fr", L"Oui", L"Non", "Ce programme a \xc3\xa9t\xc3\xa9"},
      {L"en", L"Yes", L"No", "This program has been updated.\r\rIt is recommended"},
      {L"xx", L"Yes", L"No", "This program has been updated."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.language));
    options_.language = c.language;
    options_.caption = L"Tavrin \u00e9";
    Show(kUpdate, [&](Prompt& p) {
      EXPECT_EQ(Narrow(WindowText(p.dialog)), "Tavrin \xc3\xa9");
      EXPECT_EQ(Narrow(WindowText(p.message)).rfind(c.messageStart, 0), 0u)
          << Narrow(WindowText(p.message));
      EXPECT_EQ(Narrow(WindowText(p.yes)), Narrow(c.yes));
      EXPECT_EQ(Narrow(WindowText(p.no)), Narrow(c.no));
      Click(p.no);
    });
  }
}

TEST_F(PromptTest, YesIsTheDefaultAndNoTheCancelAnswer) {
  struct Case {
    const char* name;
    void (*answer)(Prompt&);
    bool accepted;
  };
  const Case cases[] = {
      {"Yes", [](Prompt& p) { Click(p.yes); }, true},
      {"No", [](Prompt& p) { Click(p.no); }, false},
      {"Enter", [](Prompt&) { Key(GetFocus(), VK_RETURN); }, true},
      {"Esc", [](Prompt&) { Key(GetFocus(), VK_ESCAPE); }, false},
      {"close box", [](Prompt& p) { PostMessageW(p.dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const bool accepted = Show(kUpdate, [&](Prompt& p) {
      EXPECT_EQ(GetFocus(), p.yes);
      EXPECT_EQ(LOWORD(SendMessageW(p.dialog, DM_GETDEFID, 0, 0)), IDYES);
      c.answer(p);
    });
    EXPECT_EQ(accepted, c.accepted);
  }
  EXPECT_TRUE(opened_.empty());
  EXPECT_EQ(holds_, 0);
}

TEST_F(PromptTest, IsCentredWhiteAndKeepsTheOtherWindowsOut) {
  const HWND main = CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                    200, 100, nullptr, nullptr, nullptr, nullptr);
  Show(kUpdate, [&](Prompt& p) {
    EXPECT_FALSE(IsWindowEnabled(main));
    RECT rect{};
    GetWindowRect(p.dialog, &rect);
    EXPECT_NEAR((rect.left + rect.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((rect.top + rect.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    EXPECT_EQ(GetWindowLongW(p.dialog, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(BackgroundOf(p.dialog, WM_CTLCOLORDLG, p.dialog), RGB(255, 255, 255));
    EXPECT_EQ(p.separator, nullptr);
    EXPECT_EQ(p.holdBox, nullptr);
    EXPECT_EQ(p.link, nullptr);
    Click(p.no);
  });
  EXPECT_TRUE(IsWindowEnabled(main));
  DestroyWindow(main);
}

TEST_F(PromptTest, BelongsToTheMainWindowWhicheverWindowIsActive) {
  const auto topLevel = [](const wchar_t* title) {
    return CreateWindowExW(0, L"STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                           nullptr, nullptr, nullptr, nullptr);
  };
  const HWND main = topLevel(L"main");
  const HWND other = topLevel(L"other");
  for (const HWND active : {other, HWND{}}) {
    SCOPED_TRACE(active ? "another window" : "none of this thread's");
    SetActiveWindow(active);
    options_.owner = main;
    Show(kUpdate, [&](Prompt& p) {
      EXPECT_EQ(GetWindow(p.dialog, GW_OWNER), main);
      Click(p.no);
    });
  }
  DestroyWindow(other);
  DestroyWindow(main);
}

TEST_F(PromptTest, StaysOnTopOnlyWhenTheFlagSaysSo) {
  const struct {
    const wchar_t* flag;
    bool topmost;
  } cases[] = {{L"modal stayontop", true}, {L"StayOnTop", false}, {L"", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.flag));
    Show(WithInfo(LR"("flag":")" + std::wstring(c.flag) + L"\""), [&](Prompt& p) {
      EXPECT_EQ((GetWindowLongW(p.dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, c.topmost);
      Click(p.no);
    });
  }
}

// S(x) at the dpi the prompt was laid out for.
struct Scaled {
  int dpi, growth, separator, control, left;
};
constexpr Scaled kScales[] = {{96, 30, 66, 56, 10}, {144, 45, 99, 84, 15}};

const Scaled& ScaleOf(HWND dialog) {
  const int dpi = static_cast<int>(GetDpiForWindow(dialog));
  if (const char* expected = std::getenv("TAVRIN_EXPECT_DPI")) {
    EXPECT_EQ(dpi, std::atoi(expected)) << "the prefix's LogPixels did not take";
  }
  for (const Scaled& scale : kScales) {
    if (scale.dpi == dpi) return scale;
  }
  ADD_FAILURE() << "no expectations for " << dpi << " dpi";
  return kScales[0];
}

TEST_F(PromptTest, NoticeGoesAtTheFootOfTheGrownBox) {
  int plainHeight = 0;
  Show(kUpdate, [&](Prompt& p) {
    plainHeight = p.Height();
    Click(p.no);
  });
  const struct {
    const wchar_t* style;
    bool holdBox, link;
  } cases[] = {{L"hold", true, false},
               {L"note", false, true},
               {L"Note", false, false},  // styles are case-sensitive
               {L"banner", false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.style));
    const std::wstring info = LR"("style":")" + std::wstring(c.style) +
                              LR"(","text":"Read \"this\"","url":"https://n.test")";
    Show(WithInfo(info), [&](Prompt& p) {
      const Scaled& s = ScaleOf(p.dialog);
      const int height = p.Height();
      EXPECT_EQ(height - plainHeight, s.growth);
      RECT dialogRect{};
      GetWindowRect(p.dialog, &dialogRect);
      ASSERT_NE(p.separator, nullptr);
      const RECT separator = InDialog(p.dialog, p.separator);
      EXPECT_EQ(separator.left, 0);
      EXPECT_EQ(separator.top, height - s.separator);
      EXPECT_EQ(separator.right, dialogRect.right - dialogRect.left);
      EXPECT_EQ(separator.bottom - separator.top, 1);
      ASSERT_EQ(p.holdBox != nullptr, c.holdBox);
      ASSERT_EQ(p.link != nullptr, c.link);
      if (HWND control = p.holdBox ? p.holdBox : p.link) {
        const RECT rect = InDialog(p.dialog, control);
        EXPECT_EQ(rect.left, s.left);
        EXPECT_EQ(rect.top, height - s.control);
        EXPECT_EQ(Narrow(WindowText(control)), "Read \"this\"");
      }
      if (p.holdBox) {
        EXPECT_EQ(SendMessageW(p.holdBox, BM_GETCHECK, 0, 0), BST_UNCHECKED);
      }
      Click(p.no);
    });
  }
}

TEST_F(PromptTest, TheLinkIsBlueUnderlinedAndTheSeparatorGrey) {
  Show(WithInfo(LR"("style":"note","text":"News","url":"https://n.test")"), [&](Prompt& p) {
    ASSERT_NE(p.link, nullptr);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(p.link, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_TRUE(font.lfUnderline);
    const HDC dc = GetDC(p.dialog);
    SendMessageW(p.dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(p.link));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
    ReleaseDC(p.dialog, dc);
    EXPECT_EQ(BackgroundOf(p.dialog, WM_CTLCOLORSTATIC, p.separator), RGB(0xCC, 0xCC, 0xCC));
    Click(p.no);
  });
}

TEST_F(PromptTest, HighContrastShowsTheSystemPairs) {
  using Theme = DarkContrastTheme;
  struct Case {
    bool on;
    COLORREF background, separator, link;
  };
  for (const Case c : {Case{false, RGB(255, 255, 255), RGB(0xCC, 0xCC, 0xCC), RGB(0, 0, 255)},
                       Case{true, Theme::kWindow, Theme::kText, Theme::kHotLight}}) {
    SCOPED_TRACE(c.on ? "on" : "off");
    const Theme theme(c.on);
    Show(WithInfo(LR"("style":"note","text":"News","url":"https://n.test")"), [&](Prompt& p) {
      ASSERT_NE(p.link, nullptr);
      EXPECT_EQ(PixelAt(p.dialog, 2, 2), c.background);
      EXPECT_EQ(PixelAt(p.separator, 5, 0), c.separator);
      RECT area;
      GetClientRect(p.link, &area);
      EXPECT_GT(CountPixels(p.link, area, c.link), 0);
      EXPECT_EQ(PixelAt(p.link, area.right - 1, 0), c.background);
      if (c.on) {  // the message in window text on window
        GetClientRect(p.message, &area);
        EXPECT_GT(CountPixels(p.message, area, Theme::kText), 0);
        EXPECT_EQ(PixelAt(p.message, area.right - 1, area.bottom - 1), Theme::kWindow);
      }
      Click(p.no);
    });
  }
}

// The rightmost column in `area` where something other than `background` shows.
int InkRight(HWND window, const RECT& area, COLORREF background) {
  PixelAt(window, 0, 0);  // painted
  const HDC dc = GetDC(window);
  int right = -1;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      if (GetPixel(dc, x, y) != background) right = std::max(right, x);
    }
  }
  ReleaseDC(window, dc);
  return right;
}

TEST_F(PromptTest, FollowsAMoveToAMonitorOfAnotherScale) {
  Show(WithInfo(LR"("style":"hold","text":"Not now")"), [&](Prompt& p) {
    ASSERT_NE(p.holdBox, nullptr);
    Click(p.holdBox);
    const int from = static_cast<int>(GetDpiForWindow(p.dialog));
    const int to = from == 96 ? 144 : 96;
    RECT suggested{100, 80, 700, 500};
    SendMessageW(p.dialog, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));

    RECT window{};
    GetWindowRect(p.dialog, &window);
    EXPECT_EQ(window.left, 100);
    EXPECT_EQ(window.top, 80);
    const RECT yes = InDialog(p.dialog, p.yes);
    EXPECT_EQ(yes.bottom - yes.top, ScaleForDpi(26, to));
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, to));
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(p.message, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    EXPECT_EQ(font.lfHeight, metrics.lfMessageFont.lfHeight);
    const RECT hold = InDialog(p.dialog, p.holdBox);
    EXPECT_EQ(hold.left, ScaleForDpi(10, to));
    EXPECT_EQ(SendMessageW(p.holdBox, BM_GETCHECK, 0, 0), BST_CHECKED);
    // The warning icon drawn at its own size, which is the new scale's.
    const int left = ScaleForDpi(16, to), size = ScaleForDpi(32, to);
    const int gap = ScaleForDpi(8, to);  // short of the message
    const int right = InkRight(p.dialog, {0, 0, left + size + gap, left + size}, RGB(255, 255, 255));
    EXPECT_GT(right, left + size * 3 / 4);
    EXPECT_LT(right, left + size);
    Click(p.no);
  });
}

TEST_F(PromptTest, ClickingTheLinkOpensOnlyAWebPageAndKeepsTheBoxOpen) {
  const struct {
    const wchar_t* url;
    std::vector<std::wstring> opened;
  } cases[] = {{L"https://n.test/news", {L"https://n.test/news"}},
               {L"C:\\\\Windows\\\\notepad.exe", {}},
               {L"https://n.test/\u202Eexe.txt", {}},
               {L"https://n.test/\\\" --x", {}},
               {L"", {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.url));
    opened_.clear();
    Show(WithInfo(LR"("style":"note","text":"News","url":")" + std::wstring(c.url) + L"\""),
         [&](Prompt& p) {
           ASSERT_NE(p.link, nullptr);
           SendMessageW(p.link, WM_LBUTTONDOWN, MK_LBUTTON, 0);
           SendMessageW(p.link, WM_LBUTTONUP, 0, 0);
           EXPECT_TRUE(IsWindowVisible(p.dialog));
           Click(p.no);
         });
    EXPECT_EQ(opened_, c.opened);
  }
}

TEST_F(PromptTest, TheNoticeLinkIsATabStopThatEnterAndSpaceOpenAndReadersReadAsALink) {
  const bool accepted = Show(
      WithInfo(LR"("style":"note","text":"News","url":"https://n.test/news")"), [&](Prompt& p) {
        ASSERT_NE(p.link, nullptr);
        Press(p.dialog, VK_TAB);
        Press(p.dialog, VK_TAB);
        ASSERT_EQ(GetFocus(), p.link);
        Press(p.dialog, VK_RETURN);  // opens the link; Yes stays unanswered
        Press(p.dialog, VK_SPACE);
        EXPECT_TRUE(IsWindowVisible(p.dialog));
        EXPECT_EQ(opened_.size(), 2u);

        const std::optional<AccessibleFacts> facts = ReadAccessible(p.link);
        ASSERT_TRUE(facts.has_value());
        EXPECT_EQ(facts->role, ROLE_SYSTEM_LINK);
        EXPECT_EQ(facts->name, L"News");
        EXPECT_EQ(facts->state,
                  STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED);
        EXPECT_EQ(facts->action, OwnTranslate(OwnText::ActionJump, L"en"));
        EXPECT_EQ(DoDefaultAction(p.link), S_OK);
        Press(p.dialog, VK_TAB);  // and serves what the action posted
        EXPECT_EQ(GetFocus(), p.yes);
        Press(p.dialog, VK_ESCAPE);
      });
  EXPECT_FALSE(accepted);
  EXPECT_EQ(opened_, std::vector<std::wstring>(3, L"https://n.test/news"));
}

// The user's message font at 36 pixels while it lives.
class LargeMessageFont {
 public:
  LargeMessageFont() {
    saved_.cbSize = sizeof saved_;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof saved_, &saved_, 0);
    NONCLIENTMETRICSW large = saved_;
    large.lfMessageFont.lfHeight = -36;
    EXPECT_TRUE(SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof large, &large, 0));
  }
  ~LargeMessageFont() { SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof saved_, &saved_, 0); }
  LargeMessageFont(const LargeMessageFont&) = delete;
  LargeMessageFont& operator=(const LargeMessageFont&) = delete;

 private:
  NONCLIENTMETRICSW saved_{};
};

// Larger text than the layout's own sizes: the buttons and the hold box grow
// with it rather than cut it.
TEST_F(PromptTest, ButtonsAndTheHoldBoxAreTallEnoughForALargerFont) {
  const LargeMessageFont large;
  Show(WithInfo(LR"("style":"hold","text":"Not now")"), [&](Prompt& p) {
    ASSERT_NE(p.holdBox, nullptr);
    TEXTMETRICW text{};
    const HDC dc = GetDC(p.yes);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(p.yes, WM_GETFONT, 0, 0)));
    GetTextMetricsW(dc, &text);
    SelectObject(dc, old);
    ReleaseDC(p.yes, dc);
    ASSERT_GT(text.tmHeight, ScaleForDpi(26, GetDpiForWindow(p.dialog)));
    for (HWND control : {p.yes, p.no, p.holdBox}) {
      const RECT rect = InDialog(p.dialog, control);
      EXPECT_GE(rect.bottom - rect.top, text.tmHeight) << Narrow(WindowText(control));
    }
    RECT client;
    GetClientRect(p.dialog, &client);
    EXPECT_LE(InDialog(p.dialog, p.holdBox).bottom, client.bottom);
    Click(p.no);
  });
}

TEST_F(PromptTest, ATickedHoldBoxSendsTheHoldWhateverTheAnswer) {
  const struct {
    bool tick, yes;
    int holds;
  } cases[] = {{true, false, 1}, {true, true, 1}, {false, true, 0}, {false, false, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "tick " << c.tick << ", yes " << c.yes);
    holds_ = 0;
    const bool accepted = Show(WithInfo(LR"("style":"hold","text":"Not now")"), [&](Prompt& p) {
      ASSERT_NE(p.holdBox, nullptr);
      if (c.tick) Click(p.holdBox);
      Click(c.yes ? p.yes : p.no);
    });
    EXPECT_EQ(accepted, c.yes);
    EXPECT_EQ(holds_, c.holds);
  }
}

}  // namespace
}  // namespace tavrin::test
