#pragma once

#include <string>

// Texts the program shows beyond the shipped translation table (which stays
// byte for byte as shipped), in the same seven languages.
namespace tavrin {

enum class OwnText {
  NetworkDidNotAnswer,
  // What each option does; each names the registry value it writes.
  ExplainTcpAckFrequency,
  ExplainTcpDelAckTicks,
  ExplainTcpNoDelay,
  ExplainNetworkThrottlingIndex,
  ExplainSystemResponsiveness,
  // What a press of the start button does; "{adapter}" stands for the adapter.
  ExplainStartApplies,
  ExplainStartReverts,
  TheActiveAdapter,  // "{adapter}" when no adapter was found
  AdaptersUnreadable,
  UpdateLinkDidNotOpen,
  // What screen readers are told: names where no caption says it, and the
  // default actions of the controls.
  LogoName,
  BusyName,
  ActionPress,
  ActionSwitch,
  ActionJump,
  ActionCheck,
  ActionUncheck,
  Count,  // keep last: tests walk every text
};

// The text in `language` (CurrentLanguage when empty), else in English.
std::wstring OwnTranslate(OwnText text, const std::wstring& language = L"");

}  // namespace tavrin
