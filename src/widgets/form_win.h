#pragma once

#include <memory>

#include "widgets/control_win.h"

namespace tavrin {

enum class BorderStyle { Single, None };

// A top-level window of fixed client size: caption, system menu and minimise
// box, no maximise box; centred on its screen when first shown; follows the
// DPI of the monitor it is on.
class Form : public Control {
 public:
  Form(std::wstring name, int clientWidth, int clientHeight);
  // The window goes while the form's own state and its hooks still stand.
  ~Form() override { DestroyHandle(); }

  bool IsForm() const override { return true; }
  int Dpi() const override { return dpi_; }

  BorderStyle GetBorderStyle() const { return borderStyle_; }
  void SetBorderStyle(BorderStyle style);
  // The message loop ends when this form's window is destroyed.
  void SetMainForm(bool main) { mainForm_ = main; }

  void Show();
  void Close();

 protected:
  const wchar_t* WindowClass() const override { return L"Tavrin.Form"; }
  DWORD Style() const override;
  DWORD ExStyle() const override { return WS_EX_APPWINDOW; }
  RECT InitialRect() const override;
  // The window title, which the interface translation reaches by name.
  bool PublishesCaption() const override { return true; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  Hints* OwnHints() override;

 private:
  RECT OuterRect(int dpi) const;
  void DpiChanged(int dpi, const RECT& suggested);

  int dpi_;
  BorderStyle borderStyle_ = BorderStyle::Single;
  bool mainForm_ = false;
  bool shown_ = false;
  std::unique_ptr<Hints> hints_;  // made with the first hint, gone with the window
};

}  // namespace tavrin
