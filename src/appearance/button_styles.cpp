#include "appearance/button_styles.h"

#include <utility>

#include "appearance/family_colors.h"
#include "base/ascii_case.h"

namespace tavrin {
namespace {

using Attributes = TStyledButtonAttributes;
using enum TButtonDrawStyle;
using enum TBorderDrawStyle;

const TColor kAccentLight = LightenColor(AccentColor, 10);

const std::vector<std::wstring>& MorvaneClasses() {
  static const std::vector<std::wstring> classes{L"Primary"};
  return classes;
}

const std::vector<std::wstring>& MorvaneAppearances() {
  static const std::vector<std::wstring> appearances{L"Normal", L"Header", L"Outline"};
  return appearances;
}

struct RegisteredFamily {
  std::wstring name;
  std::shared_ptr<IStyledButtonAttributes> family;
};

std::vector<RegisteredFamily>& Families() {
  static std::vector<RegisteredFamily> families;
  return families;
}

// The list's own spelling of `name`, or the fallback when the list lacks it.
std::wstring Canonical(const std::vector<std::wstring>& list, std::wstring_view name,
                       const std::wstring& fallback) {
  for (const auto& entry : list) {
    if (EqualIgnoringAsciiCase(entry, name)) return entry;
  }
  return fallback;
}

void FillOutline(Attributes& n, Attributes& p, Attributes& s, Attributes& h, Attributes& d) {
  n.ButtonDrawStyle = btnClear;
  n.ButtonColor = AccentColor;
  n.BorderColor = AccentColor;
  n.FontColor = clBlack;
  p = s = h = d = n;
  p.ButtonDrawStyle = btnSolid;
  p.FontColor = clWhite;
  h.ButtonDrawStyle = btnSolid;
  h.ButtonColor = kAccentLight;
  h.FontColor = clWhite;
  s = h;
  d.BorderColor = GrayOf(LightenColor(AccentColor, 70));
  d.FontColor = GrayOf(LightenColor(clBlack, 70));
}

void FillHeader(Attributes& n, Attributes& p, Attributes& s, Attributes& h, Attributes& d) {
  n.ButtonDrawStyle = btnClear;
  n.ButtonColor = clWhite;
  n.BorderColor = clBlack;
  n.FontColor = clBlack;
  p = s = h = d = n;
  p.ButtonDrawStyle = btnSolid;
  p.BorderDrawStyle = brdClear;
  p.ButtonColor = AccentColor;
  p.BorderColor = AccentColor;
  p.FontColor = clWhite;
  h = p;
  s = p;
  s.ButtonColor = kAccentLight;
  d.BorderColor = GrayOf(LightenColor(AccentColor, 50));
  d.FontColor = GrayOf(LightenColor(clBlack, 50));
}

void FillNormal(Attributes& n, Attributes& p, Attributes& s, Attributes& h, Attributes& d) {
  n.ButtonDrawStyle = btnSolid;
  n.ButtonColor = AccentColor;
  n.BorderColor = AccentColor;
  n.FontColor = clWhite;
  p = s = h = d = n;
  h.ButtonColor = kAccentLight;
  d.ButtonColor = clWhite;
  d.BorderColor = clSilver;
  d.FontColor = clSilver;
  d.BorderWidth = 0;
}

}  // namespace

void TMorvaneButtonStyles::FillStateAttributes(const std::wstring&, const std::wstring&,
                                               const std::wstring& appearance, Attributes& normal,
                                               Attributes& pressed, Attributes& selected,
                                               Attributes& hot, Attributes& disabled) {
  normal.BorderDrawStyle = brdSolid;
  normal.BorderWidth = 0;
  normal.FontStyle = 0;
  normal.DrawType = TButtonDrawType::btRoundRect;
  if (EqualIgnoringAsciiCase(appearance, L"Outline")) {
    FillOutline(normal, pressed, selected, hot, disabled);
  } else if (EqualIgnoringAsciiCase(appearance, L"Header")) {
    FillHeader(normal, pressed, selected, hot, disabled);
  } else {
    FillNormal(normal, pressed, selected, hot, disabled);
  }
}

std::wstring TMorvaneButtonStyles::FamilyName() const { return L"Morvane"; }

const std::vector<std::wstring>& TMorvaneButtonStyles::FamilyClasses() const {
  return MorvaneClasses();
}

const std::vector<std::wstring>& TMorvaneButtonStyles::FamilyAppearances() const {
  return MorvaneAppearances();
}

void TMorvaneButtonStyles::DefaultStyleFor(int, std::wstring& styleClass,
                                           std::wstring& appearance) const {
  styleClass = L"Primary";
  appearance = L"Normal";
}

void RegisterStyleFamily(std::shared_ptr<IStyledButtonAttributes> family) {
  std::wstring name = family->FamilyName();
  Families().push_back({std::move(name), std::move(family)});
}

void RegisterMorvaneStyles() { RegisterStyleFamily(std::make_shared<TMorvaneButtonStyles>()); }

std::optional<TButtonLook> ResolveButtonLook(std::wstring_view familyName,
                                             std::wstring_view styleClass,
                                             std::wstring_view appearance) {
  for (const auto& [name, family] : Families()) {
    if (!EqualIgnoringAsciiCase(name, familyName)) continue;
    std::wstring defaultClass;
    std::wstring defaultAppearance;
    family->DefaultStyleFor(0, defaultClass, defaultAppearance);
    TButtonLook look;
    using enum TButtonState;
    family->FillStateAttributes(
        name, Canonical(family->FamilyClasses(), styleClass, defaultClass),
        Canonical(family->FamilyAppearances(), appearance, defaultAppearance), look[Normal],
        look[Pressed], look[Selected], look[Hot], look[Disabled]);
    return look;
  }
  return std::nullopt;
}

TButtonLook HighContrastLook(const TButtonLook& look) {
  TButtonLook contrast = look;
  for (TStyledButtonAttributes& a : contrast.sets) {
    a.ButtonDrawStyle = btnSolid;
    a.BorderDrawStyle = brdSolid;
    a.ButtonColor = clWindow;
    a.BorderColor = clWindowText;
    a.FontColor = clWindowText;
  }
  using enum TButtonState;
  contrast[Pressed].ButtonColor = contrast[Pressed].BorderColor = clHighlight;
  contrast[Pressed].FontColor = clHighlightText;
  contrast[Hot].BorderColor = contrast[Selected].BorderColor = clHighlight;
  contrast[Disabled].BorderColor = contrast[Disabled].FontColor = clGrayText;
  return contrast;
}

TButtonState ChooseButtonState(const TButtonCondition& c) {
  if (!c.enabled) return TButtonState::Disabled;
  if (c.pushed || c.down) return TButtonState::Pressed;
  if (c.focused) return TButtonState::Selected;
  if (c.hot) return TButtonState::Hot;
  return TButtonState::Normal;
}

}  // namespace tavrin
