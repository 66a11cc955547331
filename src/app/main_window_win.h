#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "app/tuning_controller.h"
#include "app/tuning_view.h"
#include "appearance/styled_button_win.h"
#include "service/check_in.h"
#include "widgets/activity_indicator_win.h"
#include "widgets/form_win.h"
#include "widgets/labels_win.h"
#include "widgets/option_boxes_win.h"
#include "widgets/panels_win.h"
#include "widgets/vector_image_win.h"

namespace tavrin {

// What the main window takes from the program beyond the controller's needs.
struct MainWindowServices {
  std::function<bool(const std::wstring& target)> shellOpen;
  // A number below the range, from the process's generator.
  std::function<std::uint32_t(std::uint32_t range)> random;
  // What the check-in with the maker's service runs on; its prompt belongs to
  // the given window.
  std::function<ServiceHost(HWND promptOwner)> serviceHost;
};

// The program's only window: a header with two page buttons and the maker's
// logo, the home page with the start button and the settings page with the
// adapter, the five options and the version. It shows the tuning controller's
// state and owns it.
class TFrmTavrin final : public Form, public TuningView {
 public:
  TFrmTavrin(TuningServices tuning, MainWindowServices services);
  ~TFrmTavrin() override;

  // The creation sequence; an error ends it where it happens and goes to the
  // caller, the window staying usable.
  void FormCreate();
  void BtnHomeClick(Component& sender);
  TTuningController& Controller() { return controller_; }

  void ShowAdapter(const std::wstring& name, const std::wstring& address) override;
  // The option box of a tweak.
  CheckBox& Option(OptionBox box) const;
  bool GetOption(OptionBox box) override;
  void SetOption(OptionBox box, bool checked) override;
  void EnableOptions(bool enabled) override;
  void ShowStartButton(const std::wstring& caption, bool enabled, bool pressed) override;
  void ShowBusy(bool on) override;
  void ShowError(const std::wstring& text) override;

  Panel* PnlHead = nullptr;
  StyledToolbar* BtnHead = nullptr;
  ToolButton* BtnHome = nullptr;
  ToolButton* BtnConfig = nullptr;
  ToolButton* BtnDonate = nullptr;
  Panel* PnlLogo = nullptr;
  VectorImage* ImgLogo = nullptr;
  CardPanel* PnlMain = nullptr;
  Panel* Card1 = nullptr;
  Label* LblTitle = nullptr;
  MarkupLabel* LblContent = nullptr;
  StyledButton* BtnStart = nullptr;
  ActivityIndicator* Indicator = nullptr;
  Panel* Card2 = nullptr;
  GroupBox* GroupBox1 = nullptr;
  Label* LblAdapter = nullptr;
  Label* LblIPAddress = nullptr;
  GroupBox* GroupBox2 = nullptr;
  CheckBox* ChkTCPAckFrequency = nullptr;
  CheckBox* ChkTcpDelAckTick = nullptr;
  CheckBox* ChkTcpNoDelay = nullptr;
  GroupBox* GroupBox3 = nullptr;
  CheckBox* ChkNetworkThrottlingIndex = nullptr;
  CheckBox* ChkSystemResponsiveness = nullptr;
  Label* LblVersion = nullptr;

 protected:
  const wchar_t* WindowClass() const override { return L"TFrmTavrin"; }
  bool SwitchPage(bool forward) override;

 private:
  void CreateHeader();
  void CreateHomePage();
  void CreateSettingsPage();
  CheckBox& AddOption(OptionBox box, std::wstring name, GroupBox* group, int left, int top);
  void UseDesktopFont();
  void ShowTagline();
  // The start button's tooltip: what a press does now, to which adapter.
  void ExplainStart();
  // The check-in's services, telling the user through this window's error box.
  ServiceHost ServiceHostWithErrorBox();

  MainWindowServices services_;
  std::wstring startAdapter_;
  std::array<CheckBox*, kOptionBoxCount> options_{};
  TTuningController controller_;
};

}  // namespace tavrin
