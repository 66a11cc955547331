#include "support/gui_win.h"

#include "appearance/button_styles.h"
#include "widgets/gdiplus_win.h"

namespace tavrin::test {
namespace {

class GuiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    gdiplus_ = std::make_unique<GdiplusSession>();
    RegisterMorvaneStyles();
  }
  void TearDown() override { gdiplus_.reset(); }

 private:
  std::unique_ptr<GdiplusSession> gdiplus_;
};

[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

}  // namespace

void Pump(int milliseconds) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (milliseconds > 0) Sleep(5);
  } while (GetTickCount64() < end);
}

COLORREF PixelAt(HWND window, int x, int y) {
  UpdateWindow(GetAncestor(window, GA_ROOT));
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  HDC dc = GetDC(window);
  const COLORREF color = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return color;
}

int CountPixels(HWND window, const RECT& area, COLORREF color) {
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  HDC dc = GetDC(window);
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) count += GetPixel(dc, x, y) == color;
  }
  ReleaseDC(window, dc);
  return count;
}

RECT RectInParent(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(),
                                                      static_cast<int>(text.size()))));
  return text;
}

void GuiTest::SetUp() {
  previous_ = SetErrorHandler([this](const ErrorReport& report) { errors_.push_back(report); });
}

void GuiTest::TearDown() { SetErrorHandler(previous_); }

}  // namespace tavrin::test
