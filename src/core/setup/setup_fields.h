// The names of a setup file's fields and of the words its choices take,
// shared by the reader and the writer so the two never drift apart.
#pragma once

#include "board/registers.h"

#include <array>

namespace vq::setup_fields {

inline constexpr const char *Format = "format";
inline constexpr const char *Version = "version";
inline constexpr const char *ProgramVersion = "program_version";
inline constexpr const char *SavedAt = "saved_at";
inline constexpr const char *Channels = "channels";
inline constexpr const char *Function = "function_register";
inline constexpr const char *Lines = "control_lines";
inline constexpr const char *Code = "code";

inline constexpr std::array<const char *, 4> ChannelNames = {"A", "B", "C", "D"};

struct RegisterField {
  Register Reg;
  const char *Name;
};
// A channel's registers in the order a load writes them, data last.
inline constexpr std::array<RegisterField, 4> ChannelRegisters = {{
    {Register::CoarseGain, "coarse_gain"},
    {Register::FineGain, "fine_gain"},
    {Register::Offset, "offset"},
    {Register::Data, "data"},
}};

// The function register's options.
inline constexpr const char *Sdo = "sdo";
inline constexpr const char *GroundOffset = "local_ground_offset_adjust";
inline constexpr const char *D0 = "d0";
inline constexpr const char *D1 = "d1";
inline constexpr const char *Direction = "direction";
inline constexpr const char *Level = "level";

// The control lines.
inline constexpr const char *Coding = "coding";
inline constexpr const char *Ldac = "ldac";
inline constexpr const char *PulseAfterDataWrite = "pulse_after_data_write";
inline constexpr const char *Clr = "clr";
inline constexpr const char *Rstin = "rstin";
inline constexpr const char *DriveD0 = "drive_d0";
inline constexpr const char *DriveD1 = "drive_d1";

// A two-way choice: the word for true, then the word for false.
struct Choice {
  const char *Yes;
  const char *No;
};
inline constexpr Choice HighLow = {"high", "low"};
inline constexpr Choice Disabled = {"disabled", "enabled"};
inline constexpr Choice Enabled = {"enabled", "disabled"};
inline constexpr Choice Output = {"output", "input"};
inline constexpr Choice BinaryCoding = {"binary", "twos-complement"};

} // namespace vq::setup_fields
