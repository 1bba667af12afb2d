// The choices of the register panel's three lists. The selection actions
// compare a list's text with these exactly; selections from code use them too.
#pragma once

#include "board/registers.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

namespace vq {

// A view of the register panel: a channel's register, or none for the
// function register.
struct RegisterChoice {
  const char *Text;
  std::optional<Register> Reg;
};

inline constexpr std::array<RegisterChoice, 5> RegisterChoices = {{
    {"Function Register", std::nullopt},
    {"Data Register", Register::Data},
    {"Coarse Gain Register", Register::CoarseGain},
    {"Fine Gain Register", Register::FineGain},
    {"Offset Register", Register::Offset},
}};

// Index = channel code.
inline constexpr std::array<const char *, 5> ChannelChoices = {"DAC A", "DAC B", "DAC C", "DAC D", "ALL DACs"};

// Index = coarse gain code.
inline constexpr std::array<const char *, 3> RangeChoices = {"Output Range = ± 4.096 V", "Output Range = ± 4.201 V",
                                                             "Output Range = ± 4.311 V"};
// The one coarse gain code of the register's two bits that selects no range.
inline constexpr int32_t NoRangeCode = 3;

// Position of `text` among `choices`, compared exactly; none when it is not there.
template <std::size_t N>
std::optional<int> ChoiceIndex(const std::array<const char *, N> &choices, const QString &text) {
  for (std::size_t i = 0; i < N; ++i)
    if (text == QString::fromUtf8(choices[i]))
      return static_cast<int>(i);
  return std::nullopt;
}

// The register choice with exactly this text, if any.
inline const RegisterChoice *FindRegisterChoice(const QString &text) {
  for (const RegisterChoice &choice : RegisterChoices)
    if (text == QString::fromUtf8(choice.Text))
      return &choice;
  return nullptr;
}

template <std::size_t N> QStringList ChoiceTexts(const std::array<const char *, N> &choices) {
  QStringList texts;
  for (const char *text : choices)
    texts << QString::fromUtf8(text);
  return texts;
}

} // namespace vq
