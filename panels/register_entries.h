// The entries of the register panel's three lists. The selection actions
// compare a list's text with these exactly; selections from code use them too.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace vq {

struct RegisterEntry {
  const char *text;
  int16_t select; // register select code
};

inline constexpr std::array<RegisterEntry, 5> RegisterEntries = {{
    {"Function Register", 0},
    {"Data Register", 2},
    {"Coarse Gain Register", 3},
    {"Fine Gain Register", 4},
    {"Offset Register", 5},
}};

// Index = DAC address code.
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

} // namespace vq
