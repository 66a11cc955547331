#pragma once

// GDI+ with the project's NOMINMAX and WIN32_LEAN_AND_MEAN: its headers want
// min, max and the COM stream types in scope.
#include <windows.h>
#include <objidl.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

namespace tavrin {

// GDI+ is usable while one of these lives (the program's lifetime, or a test's).
class GdiplusSession {
 public:
  GdiplusSession();
  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;

 private:
  ULONG_PTR token_ = 0;
};

}  // namespace tavrin
