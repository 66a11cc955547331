#include "app/main_window_win.h"

#include <algorithm>
#include <array>

#include "app/application_title.h"
#include "app/interface_translation.h"
#include "appearance/fit_label_font.h"
#include "appearance/theme_helper_win.h"
#include "base/ascii_case.h"
#include "build_config.h"
#include "i18n/own_texts.h"
#include "i18n/translation.h"
#include "sys/file_version.h"

namespace tavrin {
namespace {

// Korean source texts; the translation table has every language's line.
constexpr std::array<const wchar_t*, 3> kTaglines = {
    L"<B>게임 반응 속도</B>를 손쉽게 향상 시킵니다.",
    L"최적화된 네트워크로 <B>지연 시간을 최소화</B>합니다.",
    L"간편한 설정으로 <B>게임 속도와 안정성</B>을 동시에 개선합니다.",
};

constexpr UINT kErrorBoxFlags = MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST;  // 0x00050010

}  // namespace

void TFrmTavrin::FormCreate() {
  TThemeHelper::Attach(this);
  TranslateComponent(this);
  FitLabelFont(*LblTitle);
  UseDesktopFont();
  Indicator->SetVisible(false);
  BtnDonate->SetVisible(false);
  PnlMain->SetActiveCard(0);
  ApplicationTitle = GetCaption();
  ShowTagline();
  LblVersion->SetCaption(Translate(L"버전") + L": " + GetAppVersion(L"%d.%d.%d.%d"));
  controller_.LoadState();
  // Only once the stored state is back: an error above skips this.
  CheckUpdate(
      std::wstring(build::kWebUrl) + L"/api.init.php",
      [this](bool accepted, const std::wstring&) {
        if (accepted) Close();  // the update is on its way: the program ends
      },
      10, ServiceHostWithErrorBox());
}

ServiceHost TFrmTavrin::ServiceHostWithErrorBox() {
  ServiceHost host = services_.serviceHost(Handle());
  host.showError = [this](const std::wstring& text) { ShowError(text); };
  return host;
}

void TFrmTavrin::UseDesktopFont() {
  LOGFONTW font{};
  if (SystemParametersInfoForDpi(SPI_GETICONTITLELOGFONT, sizeof font, &font, 0,
                                 static_cast<UINT>(Dpi()))) {
    SetFont(FontSpecOf(font, Dpi()));
  }
}

void TFrmTavrin::ShowTagline() {
  const std::wstring tagline = Translate(kTaglines[services_.random(kTaglines.size())]);
  LblContent->SetMarkup(L"<C><FC:clGray>" + tagline + L"</FC></C>");
}

void TFrmTavrin::BtnHomeClick(Component& sender) {
  const std::wstring& name = sender.Name();
  const auto press = [&sender] {
    if (auto* button = dynamic_cast<ToolButton*>(&sender)) button->SetDown(true);
  };
  if (EqualIgnoringAsciiCase(name, L"BtnHome")) {
    press();
    PnlMain->SetActiveCard(0);
  } else if (EqualIgnoringAsciiCase(name, L"BtnConfig")) {
    press();
    PnlMain->SetActiveCard(1);
  } else if (EqualIgnoringAsciiCase(name, L"BtnDonate")) {
    services_.shellOpen(std::wstring(build::kLinkUrl) + L"/donate?tavrin");
  } else if (EqualIgnoringAsciiCase(name, L"ImgLogo")) {
    services_.shellOpen(std::wstring(build::kLinkUrl) + L"/tavrin");
  }
}

// Round the pages as a property sheet's Ctrl+Tab goes round its tabs; a
// focused page button hands the focus to the one of the page shown.
bool TFrmTavrin::SwitchPage(bool forward) {
  const std::array<ToolButton*, 2> pageButtons = {BtnHome, BtnConfig};
  const std::size_t count = pageButtons.size();
  const std::size_t next = (PnlMain->ActiveCard() + (forward ? 1 : count - 1)) % count;
  const bool onPageButton =
      std::any_of(pageButtons.begin(), pageButtons.end(), [](auto* b) { return b->Focused(); });
  BtnHomeClick(*pageButtons[next]);
  if (onPageButton) pageButtons[next]->Focus();
  return true;
}

CheckBox& TFrmTavrin::Option(OptionBox box) const {
  return *options_[static_cast<std::size_t>(box)];
}

void TFrmTavrin::ShowAdapter(const std::wstring& name, const std::wstring& address) {
  LblAdapter->SetCaption(name);
  LblIPAddress->SetCaption(L"IP: " + address);
  // Without an adapter the name says it is unknown, and there is no address.
  startAdapter_ = address.empty() ? OwnTranslate(OwnText::TheActiveAdapter) : name;
  ExplainStart();
}

bool TFrmTavrin::GetOption(OptionBox box) { return Option(box).Checked(); }

void TFrmTavrin::SetOption(OptionBox box, bool checked) { Option(box).SetChecked(checked); }

void TFrmTavrin::EnableOptions(bool enabled) {
  for (const Tweak& tweak : kTweaks) Option(tweak.box).SetEnabled(enabled);
}

void TFrmTavrin::ShowStartButton(const std::wstring& caption, bool enabled, bool pressed) {
  // Empty while busy: readers hear what the indicator says, and hear each
  // change of name once.
  const std::wstring name = caption.empty() ? OwnTranslate(OwnText::BusyName) : L"";
  if (caption.empty()) BtnStart->SetAccessibleName(name);
  BtnStart->SetCaption(caption);
  BtnStart->SetAccessibleName(name);
  BtnStart->SetEnabled(enabled);
  BtnStart->SetDown(pressed);
  ExplainStart();
}

void TFrmTavrin::ExplainStart() {
  std::wstring text =
      OwnTranslate(BtnStart->Down() ? OwnText::ExplainStartReverts : OwnText::ExplainStartApplies);
  constexpr std::wstring_view kAdapter = L"{adapter}";
  if (const auto at = text.find(kAdapter); at != text.npos) {
    text.replace(at, kAdapter.size(), startAdapter_);
  }
  BtnStart->SetHint(text);
}

void TFrmTavrin::ShowBusy(bool on) {
  Indicator->SetVisible(on);
  Indicator->SetAnimating(on);
}

void TFrmTavrin::ShowError(const std::wstring& text) {
  MessageBoxW(Handle(), text.c_str(), GetCaption().c_str(), kErrorBoxFlags);
}

}  // namespace tavrin
