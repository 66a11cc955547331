#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "widgets/colors.h"

// Styled buttons take their look from a named style family instead of the
// system theme: the family fills one attribute set per button state.
namespace tavrin {

enum class TButtonDrawType { btRoundRect, btRounded, btRect, btEllipse };
enum class TButtonDrawStyle { btnClear, btnSolid };
enum class TBorderDrawStyle { brdClear, brdSolid };

using TFontStyles = std::uint8_t;
inline constexpr TFontStyles fsBold = 1;
inline constexpr TFontStyles fsItalic = 2;
inline constexpr TFontStyles fsUnderline = 4;
inline constexpr TFontStyles fsStrikeOut = 8;

struct TStyledButtonAttributes {
  TButtonDrawType DrawType = TButtonDrawType::btRect;
  TButtonDrawStyle ButtonDrawStyle = TButtonDrawStyle::btnSolid;
  TBorderDrawStyle BorderDrawStyle = TBorderDrawStyle::brdSolid;
  TColor ButtonColor = RgbColor(225, 225, 225);
  TColor BorderColor = RgbColor(173, 173, 173);
  int BorderWidth = 1;  // pixels at 100 % scale; 0 draws a one-pixel line
  TColor FontColor = clBlack;
  TFontStyles FontStyle = 0;

  bool operator==(const TStyledButtonAttributes&) const = default;
};

enum class TButtonState { Normal, Pressed, Selected, Hot, Disabled };
inline constexpr std::size_t kButtonStateCount = 5;

// One attribute set per state, indexed by TButtonState.
struct TButtonLook {
  std::array<TStyledButtonAttributes, kButtonStateCount> sets;
  const TStyledButtonAttributes& operator[](TButtonState s) const {
    return sets[static_cast<std::size_t>(s)];
  }
  TStyledButtonAttributes& operator[](TButtonState s) { return sets[static_cast<std::size_t>(s)]; }
};

// A style family as the button layer sees it.
class IStyledButtonAttributes {
 public:
  virtual ~IStyledButtonAttributes() = default;
  virtual void FillStateAttributes(const std::wstring& family, const std::wstring& styleClass,
                                   const std::wstring& appearance, TStyledButtonAttributes& normal,
                                   TStyledButtonAttributes& pressed,
                                   TStyledButtonAttributes& selected, TStyledButtonAttributes& hot,
                                   TStyledButtonAttributes& disabled) = 0;
  virtual std::wstring FamilyName() const = 0;
  virtual const std::vector<std::wstring>& FamilyClasses() const = 0;
  virtual const std::vector<std::wstring>& FamilyAppearances() const = 0;
  // The class and appearance a button showing this dialog result takes.
  virtual void DefaultStyleFor(int modalResult, std::wstring& styleClass,
                               std::wstring& appearance) const = 0;
};

// The program's own family, "Morvane".
class TMorvaneButtonStyles final : public IStyledButtonAttributes {
 public:
  void FillStateAttributes(const std::wstring& family, const std::wstring& styleClass,
                           const std::wstring& appearance, TStyledButtonAttributes& normal,
                           TStyledButtonAttributes& pressed, TStyledButtonAttributes& selected,
                           TStyledButtonAttributes& hot,
                           TStyledButtonAttributes& disabled) override;
  std::wstring FamilyName() const override;
  const std::vector<std::wstring>& FamilyClasses() const override;
  const std::vector<std::wstring>& FamilyAppearances() const override;
  void DefaultStyleFor(int modalResult, std::wstring& styleClass,
                       std::wstring& appearance) const override;
};

// Appends the family to the layer's list under its FamilyName.
void RegisterStyleFamily(std::shared_ptr<IStyledButtonAttributes> family);
// Start-up registration of "Morvane"; runs before any window exists.
void RegisterMorvaneStyles();

// The look a button naming this family, class and appearance gets; nothing
// when no registered family has that name, and the button keeps its own look.
std::optional<TButtonLook> ResolveButtonLook(std::wstring_view family, std::wstring_view styleClass,
                                             std::wstring_view appearance);

// The look in the user's high-contrast colours: window text on window, the
// highlight pair when pressed, a highlight outline when hot or focused and
// grey text when disabled. Shapes and font styles stay.
TButtonLook HighContrastLook(const TButtonLook& look);

// What a button's state is chosen from.
struct TButtonCondition {
  bool enabled = true;
  bool down = false;    // held in the down position by code
  bool pushed = false;  // the mouse button is held down on it
  bool focused = false;
  bool hot = false;  // the mouse is over it
};
TButtonState ChooseButtonState(const TButtonCondition& condition);

}  // namespace tavrin
