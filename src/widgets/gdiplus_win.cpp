#include "widgets/gdiplus_win.h"

namespace tavrin {

GdiplusSession::GdiplusSession() {
  Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&token_, &input, nullptr);
}

GdiplusSession::~GdiplusSession() {
  if (token_ != 0) Gdiplus::GdiplusShutdown(token_);
}

}  // namespace tavrin
