#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "base/error_report.h"
#include "base/system_messages.h"
#include "base/text_encoding.h"
#include "support/gui_win.h"
#include "widgets/activity_indicator_win.h"
#include "widgets/form_win.h"
#include "widgets/labels_win.h"
#include "widgets/option_boxes_win.h"
#include "widgets/panels_win.h"
#include "widgets/vector_image_win.h"

namespace tavrin::test {
namespace {

using Controls = FormTest;

// A panel that counts the moves made to its window.
class MovePanel : public Panel {
 public:
  using Panel::Panel;
  int moves = 0;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_WINDOWPOSCHANGING) ++moves;
    return Panel::HandleMessage(message, wParam, lParam);
  }
};

// Remembers where it was in its form whenever it had a message while on screen.
class PlaceWatcher : public Panel {
 public:
  using Panel::Panel;
  std::vector<RECT> placesOnScreen;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (IsWindowVisible(Handle())) {
      RECT place;
      GetWindowRect(Handle(), &place);
      MapWindowPoints(nullptr, GetAncestor(Handle(), GA_ROOT), reinterpret_cast<POINT*>(&place), 2);
      placesOnScreen.push_back(place);
    }
    return Panel::HandleMessage(message, wParam, lParam);
  }
};

// Paints its top half in one colour and its bottom half in another; between
// the two it can have another window paint.
class TwoToneSwatch : public Panel {
 public:
  TwoToneSwatch(std::wstring name, Control* parent, DesignRect bounds, COLORREF top,
                COLORREF bottom)
      : Panel(std::move(name), parent, bounds), top_(top), bottom_(bottom) {}
  HWND paintMeanwhile = nullptr;

 protected:
  void Paint(HDC dc, const RECT& client) override {
    Fill(dc, {0, 0, client.right, client.bottom / 2}, top_);
    if (paintMeanwhile) {
      InvalidateRect(paintMeanwhile, nullptr, FALSE);
      UpdateWindow(paintMeanwhile);
    }
    Fill(dc, {0, client.bottom / 2, client.right, client.bottom}, bottom_);
  }

 private:
  static void Fill(HDC dc, const RECT& area, COLORREF color) {
    BrushHandle brush(CreateSolidBrush(color));
    FillRect(dc, &area, brush.get());
  }
  COLORREF top_;
  COLORREF bottom_;
};

TEST_F(Controls, DockedControlsFillTheirParentInOrderTopRightClient) {
  auto& head = form_.Add<Panel>(L"Head", &form_, DesignRect{0, 0, 300, 50});
  head.SetAlign(Align::Top);
  auto& right = form_.Add<Panel>(L"Right", &head, DesignRect{0, 0, 120, 50});
  right.SetAlign(Align::Right);
  auto& rest = form_.Add<Panel>(L"Rest", &head, DesignRect{});
  rest.SetAlign(Align::Client, {10, 10, 10, 10});
  auto& body = form_.Add<Panel>(L"Body", &form_, DesignRect{});
  body.SetAlign(Align::Client);
  auto& placed = form_.Add<Panel>(L"Placed", &body, DesignRect{15, 6, 40, 20});

  EXPECT_EQ(RectInParent(head.Handle()), (RECT{0, 0, 300, 50}));
  EXPECT_EQ(RectInParent(right.Handle()), (RECT{180, 0, 300, 50}));
  EXPECT_EQ(RectInParent(rest.Handle()), (RECT{10, 10, 170, 40}));
  EXPECT_EQ(RectInParent(body.Handle()), (RECT{0, 50, 300, 200}));
  EXPECT_EQ(RectInParent(placed.Handle()), (RECT{15, 6, 55, 26}));

  // A control docked later at the same height goes above the others.
  auto& strip = form_.Add<Panel>(L"Strip", &form_, DesignRect{0, 0, 300, 2});
  strip.SetAlign(Align::Top);
  EXPECT_EQ(RectInParent(strip.Handle()), (RECT{0, 0, 300, 2}));
  EXPECT_EQ(RectInParent(head.Handle()), (RECT{0, 2, 300, 52}));

  // A hidden docked control gives its room back.
  head.SetVisible(false);
  EXPECT_EQ(RectInParent(body.Handle()), (RECT{0, 2, 300, 200}));
}

TEST_F(Controls, ADpiChangeScalesEverythingAndMakesFontsAnew) {
  auto& body = form_.Add<Panel>(L"Body", &form_, DesignRect{});
  body.SetAlign(Align::Client, {10, 0, 0, 0});
  auto& label = form_.Add<Label>(L"Label", &body, DesignRect{241, 282, 32, 15});
  const HFONT before = label.CurrentFont();

  RECT suggested{100, 100, 100 + 600, 100 + 500};
  SendMessageW(form_.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&suggested));

  EXPECT_EQ(form_.Dpi(), 144);
  EXPECT_EQ(RectInParent(label.Handle()), (RECT{362, 423, 362 + 48, 423 + 23}));
  EXPECT_EQ(RectInParent(body.Handle()).left, 15);
  EXPECT_NE(label.CurrentFont(), before);
  LOGFONTW font{};
  GetObjectW(label.CurrentFont(), sizeof font, &font);
  EXPECT_EQ(font.lfHeight, -17);  // -11 at 144 dpi, rounded away from zero
}

TEST_F(Controls, CardPanelShowsExactlyOnePage) {
  ShowWindow(form_.Handle(), SW_SHOWNA);
  auto& cards = form_.Add<CardPanel>(L"Cards", &form_, DesignRect{0, 50, 300, 150});
  Panel& first = cards.AddCard(form_, L"Card1");
  Panel& second = cards.AddCard(form_, L"Card2");
  auto& onSecond = form_.Add<PlaceWatcher>(L"OnSecond", &second, DesignRect{10, 10, 50, 15});
  EXPECT_TRUE(IsWindowVisible(first.Handle()));
  // A page gets its windows when it first shows.
  EXPECT_EQ(second.Handle(), nullptr);
  EXPECT_EQ(onSecond.Handle(), nullptr);

  cards.SetActiveCard(1);
  EXPECT_EQ(RectInParent(second.Handle()), (RECT{0, 0, 300, 150}));
  EXPECT_EQ(RectInParent(onSecond.Handle()), (RECT{10, 10, 60, 25}));
  // Never on screen anywhere else, not even while the page was being made:
  // a click aimed at what another program saw there would miss.
  Pump();
  EXPECT_THAT(onSecond.placesOnScreen, testing::Each(RECT{10, 60, 60, 75}));
  EXPECT_FALSE(onSecond.placesOnScreen.empty());  // it painted, on screen
  EXPECT_FALSE(first.Visible());
  EXPECT_TRUE(second.Visible());
  EXPECT_FALSE(GetWindowLongW(first.Handle(), GWL_STYLE) & WS_VISIBLE);
  EXPECT_TRUE(GetWindowLongW(second.Handle(), GWL_STYLE) & WS_VISIBLE);

  cards.SetActiveCard(5);  // no such page: nothing changes
  EXPECT_EQ(cards.ActiveCard(), 1u);
}

// A control asks for a repaint only while it is on screen: a change made
// while it is hidden must still show once it shows.
TEST_F(Controls, AChangeShowsWhetherMadeOnScreenOrWhileHidden) {
  auto& cards = form_.Add<CardPanel>(L"Cards", &form_, DesignRect{0, 0, 300, 200});
  Panel& first = cards.AddCard(form_, L"Card1");
  Panel& second = cards.AddCard(form_, L"Card2");
  form_.Show();
  first.SetColor(clBlack);
  EXPECT_EQ(PixelAt(first.Handle(), 5, 5), RGB(0, 0, 0));

  second.SetColor(clSilver);
  cards.SetActiveCard(1);
  EXPECT_EQ(PixelAt(second.Handle(), 5, 5), RGB(192, 192, 192));
  first.SetColor(clGray);
  cards.SetActiveCard(0);
  EXPECT_EQ(PixelAt(first.Handle(), 5, 5), RGB(128, 128, 128));
}

// Every control docked realigns all of its siblings; a move costs a round of
// messages and a repaint, so only the controls whose place changes move.
TEST_F(Controls, RealigningMovesOnlyTheControlsWhosePlaceChanges) {
  auto& head = form_.Add<MovePanel>(L"Head", &form_, DesignRect{0, 0, 300, 50});
  head.SetAlign(Align::Top);
  auto& body = form_.Add<MovePanel>(L"Body", &form_, DesignRect{});
  body.SetAlign(Align::Client);
  head.moves = body.moves = 0;

  form_.Realign();
  auto& side = form_.Add<Panel>(L"Side", &form_, DesignRect{0, 0, 40, 200});
  side.SetAlign(Align::Right);
  EXPECT_EQ(head.moves, 0);
  EXPECT_EQ(body.moves, 1);
  EXPECT_EQ(RectInParent(body.Handle()), (RECT{0, 50, 260, 200}));
}

// A panel that counts its paints.
class PaintCounter : public Panel {
 public:
  using Panel::Panel;
  int paints = 0;

 protected:
  void Paint(HDC, const RECT&) override { ++paints; }
};

// A window its children cover whole has nothing to paint; one they cover in
// part still paints the rest.
TEST_F(Controls, OnlyWhatChildrenLeaveUncoveredIsPainted) {
  auto& covered = form_.Add<PaintCounter>(L"Covered", &form_, DesignRect{0, 0, 100, 100});
  form_.Add<Panel>(L"Cover", &covered, DesignRect{0, 0, 100, 100});
  auto& half = form_.Add<PaintCounter>(L"Half", &form_, DesignRect{150, 0, 100, 100});
  half.SetColor(clBlack);
  form_.Add<Panel>(L"LeftHalf", &half, DesignRect{0, 0, 50, 100});
  form_.Show();
  Pump();

  EXPECT_EQ(covered.paints, 0);
  EXPECT_GE(half.paints, 1);
  EXPECT_EQ(PixelAt(half.Handle(), 75, 50), RGB(0, 0, 0));
}

class SunkenPanel : public Panel {
 public:
  using Panel::Panel;

 protected:
  DWORD ExStyle() const override { return WS_EX_CLIENTEDGE; }
};

// Frameless controls skip the default non-client paint; one with an edge
// still gets its edge drawn.
TEST_F(Controls, AControlWithAnEdgeHasItDrawn) {
  auto& sunken = form_.Add<SunkenPanel>(L"Sunken", &form_, DesignRect{0, 0, 100, 100});
  sunken.SetColor(clBlack);
  form_.Show();
  Pump();
  RedrawWindow(sunken.Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);

  HDC dc = GetWindowDC(sunken.Handle());
  const COLORREF outerCorner = GetPixel(dc, 0, 0);
  ReleaseDC(sunken.Handle(), dc);
  EXPECT_EQ(outerCorner, GetSysColor(COLOR_BTNSHADOW));
}

// Paints share one off-screen bitmap per thread. Each control must still show
// its own picture whatever was painted before it, and a paint made while
// another is under way (a modal loop's, say) must not draw into the other's
// picture.
TEST_F(Controls, EachPaintShowsOnlyItsOwnPicture) {
  constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);
  auto& large =
      form_.Add<TwoToneSwatch>(L"Large", &form_, DesignRect{0, 0, 200, 160}, kRed, kGreen);
  auto& small =
      form_.Add<TwoToneSwatch>(L"Small", &form_, DesignRect{210, 0, 40, 40}, kBlue, kBlue);
  auto& tall = form_.Add<TwoToneSwatch>(L"Tall", &form_, DesignRect{260, 0, 30, 190}, kGreen, kRed);
  large.paintMeanwhile = small.Handle();
  form_.Show();

  EXPECT_EQ(PixelAt(large.Handle(), 5, 5), kRed);
  EXPECT_EQ(PixelAt(large.Handle(), 195, 155), kGreen);
  EXPECT_EQ(PixelAt(small.Handle(), 35, 35), kBlue);
  EXPECT_EQ(PixelAt(tall.Handle(), 5, 5), kGreen);
  EXPECT_EQ(PixelAt(tall.Handle(), 25, 185), kRed);

  InvalidateRect(large.Handle(), nullptr, FALSE);
  EXPECT_EQ(PixelAt(large.Handle(), 5, 5), kRed);
  EXPECT_EQ(PixelAt(large.Handle(), 100, 60), kRed);
  EXPECT_EQ(PixelAt(small.Handle(), 5, 5), kBlue);
}

TEST_F(Controls, CaptionsAreWindowTextForScreenReaders) {
  auto& label = form_.Add<Label>(L"Label", &form_, DesignRect{0, 0, 100, 15});
  auto& group = form_.Add<GroupBox>(L"Group", &form_, DesignRect{0, 60, 200, 60});
  auto& check = form_.Add<CheckBox>(L"Check", &group, DesignRect{10, 20, 100, 17});
  auto& markup = form_.Add<MarkupLabel>(L"Markup", &form_, DesignRect{0, 130, 200, 30});
  label.SetCaption(L"Label text");
  group.SetCaption(L"Group text");
  check.SetCaption(L"TcpNoDelay");
  markup.SetMarkup(L"<C><FC:clGray>Minimize <B>latency</B>.</FC></C>");

  EXPECT_EQ(WindowText(label.Handle()), L"Label text");
  EXPECT_EQ(WindowText(group.Handle()), L"Group text");
  EXPECT_EQ(WindowText(check.Handle()), L"TcpNoDelay");
  EXPECT_EQ(WindowText(markup.Handle()), L"Minimize latency.");
  EXPECT_EQ(check.GetStringProperty(L"Caption"), L"TcpNoDelay");
  EXPECT_EQ(markup.GetStringProperty(L"Caption"), std::nullopt);
}

// A control of a class the system does not know.
class UnknownControl : public Control {
 public:
  using Control::Control;

 protected:
  const wchar_t* WindowClass() const override { return L"Tavrin.NoSuchClass"; }
  bool IsSystemClass() const override { return true; }
};

TEST_F(Controls, AWindowThatCannotBeMadeIsReportedWithItsNameAndTheSystemsReason) {
  std::wstring message;
  try {
    form_.Add<UnknownControl>(L"Odd", &form_, DesignRect{0, 0, 10, 10});
  } catch (...) {
    message = DescribeError(std::current_exception(), L"a test").message;
  }
  // Windows cannot find the class; Wine says it does not exist.
  std::vector<std::wstring> expected;
  for (const int code : {ERROR_CANNOT_FIND_WND_CLASS, ERROR_CLASS_DOES_NOT_EXIST}) {
    expected.push_back(L"A window could not be created for Odd: " +
                       SystemErrorMessage(code).value_or(L"?"));
  }
  EXPECT_NE(std::find(expected.begin(), expected.end(), message), expected.end())
      << WideToUtf8(message);
}

// What is set on a page before its windows exist reaches them when it shows.
TEST_F(Controls, AHiddenPagesControlsKeepTheirStateUntilTheyHaveWindows) {
  auto& cards = form_.Add<CardPanel>(L"Cards", &form_, DesignRect{0, 0, 300, 200});
  cards.AddCard(form_, L"Card1");
  Panel& page = cards.AddCard(form_, L"Card2");
  auto& check = form_.Add<CheckBox>(L"Check", &page, DesignRect{10, 20, 100, 17});
  auto& label = form_.Add<Label>(L"Label", &page, DesignRect{10, 50, 100, 15});
  int clicks = 0;
  check.OnClick = [&](Component&) { ++clicks; };
  check.SetChecked(true);
  check.SetEnabled(false);
  label.SetCaption(L"eth0");
  ASSERT_EQ(check.Handle(), nullptr);
  EXPECT_TRUE(check.Checked());
  EXPECT_EQ(label.GetCaption(), L"eth0");

  cards.SetActiveCard(1);
  EXPECT_EQ(SendMessageW(check.Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_FALSE(IsWindowEnabled(check.Handle()));
  EXPECT_EQ(WindowText(label.Handle()), L"eth0");
  EXPECT_EQ(clicks, 1);

  check.SetEnabled(true);
  SendMessageW(check.Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(check.Checked());
  EXPECT_EQ(clicks, 2);
}

TEST_F(Controls, CheckBoxRunsItsHandlerOnEveryChangeAndIsATabStop) {
  auto& check = form_.Add<CheckBox>(L"Check", &form_, DesignRect{10, 20, 100, 17});
  std::vector<bool> seen;
  check.OnClick = [&](Component& sender) {
    seen.push_back(static_cast<CheckBox&>(sender).Checked());
  };

  check.SetChecked(false);  // no change
  check.SetChecked(true);
  check.SetChecked(true);  // no change
  SendMessageW(check.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(seen, (std::vector<bool>{true, false}));
  EXPECT_TRUE(GetWindowLongW(check.Handle(), GWL_STYLE) & WS_TABSTOP);
}

TEST_F(Controls, ClosingAWindowLetsItsControlsForgetTheirWindowsSystemClassesIncluded) {
  auto& group = form_.Add<GroupBox>(L"Group", &form_, DesignRect{0, 0, 200, 100});
  auto& check = form_.Add<CheckBox>(L"Check", &group, DesignRect{10, 20, 100, 17});
  const HWND checkWindow = check.Handle();
  ASSERT_TRUE(IsWindow(checkWindow));
  DestroyWindow(form_.Handle());
  EXPECT_FALSE(IsWindow(checkWindow));
  EXPECT_EQ(form_.Handle(), nullptr);
  EXPECT_EQ(group.Handle(), nullptr);
  EXPECT_EQ(check.Handle(), nullptr);
}

TEST_F(Controls, IndicatorAdvancesOnlyWhileAnimatingAndShown) {
  form_.Show();
  auto& indicator = form_.Add<ActivityIndicator>(L"Indicator", &form_, DesignRect{0, 0, 32, 32});
  Pump(150);
  EXPECT_EQ(indicator.Frame(), 0u);

  indicator.SetAnimating(true);
  EXPECT_TRUE(PumpUntil([&] { return indicator.Frame() > 0; }));
  const std::size_t frame = indicator.Frame();

  indicator.SetVisible(false);  // still animating, but nothing to show
  EXPECT_FALSE(KillTimer(indicator.Handle(), 1)) << "a timer ran while hidden";
  indicator.SetVisible(true);
  EXPECT_TRUE(PumpUntil([&] { return indicator.Frame() != frame; }));

  indicator.SetAnimating(false);
  const std::size_t stopped = indicator.Frame();
  Pump(200);
  EXPECT_EQ(indicator.Frame(), stopped);
  EXPECT_FALSE(KillTimer(indicator.Handle(), 1)) << "a timer ran while still";
}

TEST_F(Controls, VectorImageShowsTheHandAndReportsClicks) {
  form_.Show();
  auto& image = form_.Add<VectorImage>(L"ImgLogo", &form_, DesignRect{3, 0, 112, 50});
  int clicks = 0;
  image.OnClick = [&](Component& sender) {
    EXPECT_EQ(sender.Name(), L"ImgLogo");
    ++clicks;
  };
  SendMessageW(image.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(image.Handle()),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
  SendMessageW(image.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  SendMessageW(image.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  SendMessageW(image.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));  // no press before
  EXPECT_EQ(clicks, 1);

  // Pressed, then dragged off and released: the release still comes here.
  SendMessageW(image.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(GetCapture(), image.Handle());
  SendMessageW(image.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(500, 10));
  EXPECT_EQ(GetCapture(), nullptr);
  // Pressed, then the mouse went to another window: a later release is no click.
  SendMessageW(image.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  SetCapture(form_.Handle());
  ReleaseCapture();
  SendMessageW(image.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(clicks, 1);
}

TEST_F(Controls, MarkupLabelDrawsGreyTextCentred) {
  form_.Show();
  auto& markup = form_.Add<MarkupLabel>(L"LblContent", &form_, DesignRect{0, 0, 300, 33});
  markup.SetMarkup(L"<C><FC:clGray>Minimize <B>latency</B>.</FC></C>");
  const RECT left{0, 0, 60, 33};
  const RECT middle{60, 0, 240, 33};
  EXPECT_GT(CountPixels(markup.Handle(), middle, RGB(128, 128, 128)), 0);
  EXPECT_EQ(CountPixels(markup.Handle(), left, RGB(128, 128, 128)), 0);
  EXPECT_EQ(CountPixels(markup.Handle(), middle, RGB(0, 0, 0)), 0);
}

}  // namespace
}  // namespace tavrin::test
