// The entries of the register panel's three lists. The selection actions
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
struct RegisterEntry {
  const char *text;
  std::optional<Register> reg;
};

inline constexpr std::array<RegisterEntry, 5> RegisterEntries = {{
    {"Function Register", std::nullopt},
    {"Data Register", Register::Data},
    {"Coarse Gain Register", Register::CoarseGain},
    {"Fine Gain Register", Register::FineGain},
    {"Offset Register", Register::Offset},
}};

// Index = channel code.
inline constexpr std::array<const char *, 5> AddressEntries = {"DAC A", "DAC B", "DAC C", "DAC D", "ALL DACs"};

// Index = coarse gain code.
inline constexpr std::array<const char *, 3> CoarseEntries = {"Output Range = ± 4.096 V", "Output Range = ± 4.201 V",
                                                              "Output Range = ± 4.311 V"};

// Position of `text` among `entries`, compared exactly; none when it is not there.
template <std::size_t N>
std::optional<int> EntryIndex(const std::array<const char *, N> &entries, const QString &text) {
  for (std::size_t i = 0; i < N; ++i)
    if (text == QString::fromUtf8(entries[i]))
      return static_cast<int>(i);
  return std::nullopt;
}

// The register entry with exactly this text, if any.
inline const RegisterEntry *FindRegisterEntry(const QString &text) {
  for (const RegisterEntry &entry : RegisterEntries)
    if (text == QString::fromUtf8(entry.text))
      return &entry;
  return nullptr;
}

template <std::size_t N> QStringList EntryTexts(const std::array<const char *, N> &entries) {
  QStringList texts;
  for (const char *text : entries)
    texts << QString::fromUtf8(text);
  return texts;
}

} // namespace vq
