// The main window's controls as designed: positions and sizes in pixels at
// 96 dpi relative to the parent, captions as Korean source texts.
#include "app/logo_win.h"
#include "app/main_window_win.h"
#include "i18n/own_texts.h"

namespace tavrin {
namespace {
const FontSpec kDesignFont{L"Segoe UI", -12};
constexpr int kClientWidth = 498;
constexpr int kClientHeight = 426;
}  // namespace

TFrmTavrin::TFrmTavrin(TuningServices tuning, MainWindowServices services)
    : Form(L"FrmTavrin", kClientWidth, kClientHeight),
      services_(std::move(services)),
      controller_(*this, std::move(tuning)) {
  CreateHandle();
  SetCaption(L"Tavrin");
  SetColor(clWhite);
  SetFont(kDesignFont);
  CreateHeader();
  CreateHomePage();
  CreateSettingsPage();
  Realign();
}

TFrmTavrin::~TFrmTavrin() = default;

void TFrmTavrin::CreateHeader() {
  PnlHead = &Add<Panel>(L"PnlHead", this, DesignRect{0, 0, kClientWidth, 50});
  PnlHead->SetAlign(Align::Top);
  PnlHead->SetColor(clWindow);
  BtnHead = &Add<StyledToolbar>(L"BtnHead", PnlHead, DesignRect{10, 10, 358, 30});
  BtnHead->SetAlign(Align::Client, {10, 10, 10, 10});
  BtnHead->SetButtonSize(70, 30);
  BtnHead->SetIndent(10);
  BtnHead->SetStyle(L"Morvane", L"Header", 4);
  BtnHome = &BtnHead->AddButton(*this, L"BtnHome", L"처음화면");
  BtnConfig = &BtnHead->AddButton(*this, L"BtnConfig", L"환경설정");
  BtnDonate = &BtnHead->AddButton(*this, L"BtnDonate", L"후원하기");
  BtnDonate->SetRole(StyledButton::Role::Link);
  BtnHome->SetDown(true);

  // After the page buttons, which come first in the tab order.
  PnlLogo = &Add<Panel>(L"PnlLogo", PnlHead, DesignRect{378, 0, 120, 50});
  PnlLogo->SetAlign(Align::Right);
  PnlLogo->SetColor(clWindow);
  ImgLogo = &Add<VectorImage>(L"ImgLogo", PnlLogo, DesignRect{3, 0, 112, 50});
  ImgLogo->SetPicture(DrawMakerLogo, kLogoWidth, kLogoHeight);
  ImgLogo->SetTabStop(true);
  ImgLogo->SetAccessibleName(OwnTranslate(OwnText::LogoName));

  const auto onHome = [this](Component& sender) { BtnHomeClick(sender); };
  for (Control* control : {static_cast<Control*>(BtnHome), static_cast<Control*>(BtnConfig),
                           static_cast<Control*>(BtnDonate), static_cast<Control*>(ImgLogo)}) {
    control->OnClick = onHome;
  }
}

void TFrmTavrin::CreateHomePage() {
  PnlMain = &Add<CardPanel>(L"PnlMain", this, DesignRect{0, 50, kClientWidth, 376});
  PnlMain->SetAlign(Align::Client);
  Card1 = &PnlMain->AddCard(*this, L"Card1");
  Card1->SetColor(clWindow);

  LblTitle = &Add<Label>(L"LblTitle", Card1, DesignRect{8, 40, 484, 81});
  LblTitle->SetCaption(L"Tavrin");
  LblTitle->SetCentered(true);
  LblTitle->SetFont({.face = L"Tahoma", .height = -59, .antialiased = true});

  LblContent = &Add<MarkupLabel>(L"LblContent", Card1, DesignRect{0, 188, 500, 33});

  BtnStart = &Add<StyledButton>(L"BtnStart", Card1, DesignRect{176, 264, 162, 68});
  BtnStart->SetCaption(L"실행하기");
  BtnStart->SetStyle(L"Morvane", L"Outline");
  BtnStart->SetRadius(6);
  BtnStart->OnClick = [this](Component&) { controller_.BtnStartClick(); };
  SetFirstFocus(BtnStart);

  // Centred on the start button, over it.
  Indicator = &Add<ActivityIndicator>(L"Indicator", Card1, DesignRect{241, 282, 32, 32});
  Indicator->BringToFront();
  Indicator->SetAccessibleName(OwnTranslate(OwnText::BusyName));
}

void TFrmTavrin::CreateSettingsPage() {
  Card2 = &PnlMain->AddCard(*this, L"Card2");
  Card2->SetColor(clWindow);

  GroupBox1 = &Add<GroupBox>(L"GroupBox1", Card2, DesignRect{15, 6, 474, 67});
  GroupBox1->SetCaption(L"네트워크 아답터 정보");
  LblAdapter = &Add<Label>(L"LblAdapter", GroupBox1, DesignRect{17, 32, 304, 15});
  LblIPAddress = &Add<Label>(L"LblIPAddress", GroupBox1, DesignRect{344, 32, 109, 15});

  GroupBox2 = &Add<GroupBox>(L"GroupBox2", Card2, DesignRect{15, 87, 474, 98});
  GroupBox2->SetCaption(L"네이글 알고리즘 해제");
  ChkTCPAckFrequency =
      &AddOption(OptionBox::ChkTCPAckFrequency, L"ChkTCPAckFrequency", GroupBox2, 17, 32);
  ChkTcpDelAckTick =
      &AddOption(OptionBox::ChkTcpDelAckTick, L"ChkTcpDelAckTick", GroupBox2, 243, 32);
  ChkTcpNoDelay = &AddOption(OptionBox::ChkTcpNoDelay, L"ChkTcpNoDelay", GroupBox2, 17, 64);

  GroupBox3 = &Add<GroupBox>(L"GroupBox3", Card2, DesignRect{15, 199, 474, 66});
  GroupBox3->SetCaption(L"네트워크 쓰로틀링");
  ChkNetworkThrottlingIndex = &AddOption(OptionBox::ChkNetworkThrottlingIndex,
                                         L"ChkNetworkThrottlingIndex", GroupBox3, 17, 32);
  ChkSystemResponsiveness = &AddOption(OptionBox::ChkSystemResponsiveness,
                                       L"ChkSystemResponsiveness", GroupBox3, 243, 32);

  LblVersion = &Add<Label>(L"LblVersion", Card2, DesignRect{15, 344, 100, 15});
}

CheckBox& TFrmTavrin::AddOption(OptionBox box, std::wstring name, GroupBox* group, int left,
                                int top) {
  CheckBox& check = Add<CheckBox>(std::move(name), group, DesignRect{left, top, 200, 17});
  const Tweak& tweak = kTweaks[static_cast<std::size_t>(box)];
  check.SetCaption(std::wstring(tweak.caption));
  check.SetHint(OwnTranslate(tweak.explanation));
  check.OnClick = [this, box](Component&) { controller_.OptionClick(box); };
  options_[static_cast<std::size_t>(box)] = &check;
  return check;
}

}  // namespace tavrin
