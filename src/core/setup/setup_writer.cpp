// The writing half of setup_file.h.
#include "setup/setup_fields.h"
#include "setup/setup_file.h"

#include "boardlog/register_values.h"
#include "rules/conversions.h"
#include "rules/number_rules.h"
#include "version/version.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <ctime>
#include <stdexcept>

namespace vq {

namespace f = setup_fields;

namespace {

using Json = nlohmann::ordered_json;

const char *Word(f::Choice choice, bool value) {
  return value ? choice.Yes : choice.No;
}

// Values in units are for people: a few decimals, not float noise.
double Rounded(double value, double scale) {
  return std::round(value * scale) / scale;
}

// The value a data code stands for on the channel's range with the coding
// line as saved; none for a coarse gain code that selects no range.
Json DataVolts(uint16_t data, uint16_t coarse, bool binaryCoding) {
  const std::optional<float> range = RangeForCoarseCode(coarse);
  if (!range)
    return nullptr;
  // A two's complement code is the offset binary code with its top bit flipped.
  const int32_t offsetBinary = binaryCoding ? data : data ^ 0x8000;
  return Rounded(CodeToVolts(offsetBinary, *range), 1e6);
}

Json RegisterJson(const BoardSetup &setup, Register reg, Channel channel) {
  const uint16_t code = *setup.Code({reg, channel});
  Json field = {{f::Code, code}};
  switch (reg) {
  case Register::Data:
    field["volts"] = DataVolts(code, *setup.Code({Register::CoarseGain, channel}), setup.Lines.BinaryCoding);
    break;
  case Register::CoarseGain:
    if (const std::optional<float> range = RangeForCoarseCode(code))
      field["range_volts"] = Rounded(*range, 1e3);
    else
      field["range_volts"] = nullptr;
    break;
  case Register::FineGain:
    field["steps"] = FineGainValue(code);
    break;
  case Register::Offset:
    field["lsb"] = OffsetValue(code);
    break;
  }
  return field;
}

Json LineOptions(bool output, bool high) {
  return {{f::Direction, Word(f::Output, output)}, {f::Level, Word(f::HighLow, high)}};
}

std::string UtcText(std::chrono::system_clock::time_point at) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(at);
  std::tm parts{};
#if defined(_WIN32)
  gmtime_s(&parts, &seconds);
#else
  gmtime_r(&seconds, &parts);
#endif
  char text[32];
  const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
  return std::string(text, length);
}

std::string UnknownRegisters(const BoardSetup &setup) {
  std::string names;
  for (WordAddress address : ReadableRegisters) {
    if (setup.Code(address))
      continue;
    names += names.empty() ? "" : ", ";
    names += RegisterLongTitle(address);
  }
  return names;
}

} // namespace

std::string SetupText(const BoardSetup &setup, std::chrono::system_clock::time_point savedAt) {
  if (!setup.IsComplete())
    throw std::invalid_argument("a setup file needs every register; not known: " + UnknownRegisters(setup));
  Json channels = Json::object();
  for (std::size_t channel = 0; channel < f::ChannelNames.size(); ++channel) {
    Json registers = Json::object();
    // People read data first; the load order lives in the load, not here.
    for (Register reg : {Register::Data, Register::CoarseGain, Register::FineGain, Register::Offset})
      for (const f::RegisterField &field : f::ChannelRegisters)
        if (field.Reg == reg)
          registers[field.Name] = RegisterJson(setup, reg, static_cast<Channel>(channel));
    channels[f::ChannelNames[channel]] = registers;
  }
  const FunctionWord options = *setup.Function();
  const ControlLines &lines = setup.Lines;
  const Json file = {
      {f::Format, SetupFormatName},
      {f::Version, SetupFormatVersion},
      {f::ProgramVersion, FullVersion},
      {f::SavedAt, UtcText(savedAt)},
      {f::Channels, channels},
      {f::Function,
       {{f::Sdo, Word(f::Disabled, options.SdoDisabled)},
        {f::GroundOffset, Word(f::Enabled, options.LocalGroundOffsetAdjust)},
        {f::D0, LineOptions(options.D0Output, options.D0High)},
        {f::D1, LineOptions(options.D1Output, options.D1High)}}},
      {f::Lines,
       {{f::Coding, Word(f::BinaryCoding, lines.BinaryCoding)},
        {f::Ldac, Word(f::HighLow, lines.Ldac)},
        {f::PulseAfterDataWrite, setup.PulseAfterDataWrite},
        {f::Clr, Word(f::HighLow, lines.Clr)},
        {f::Rstin, Word(f::HighLow, lines.Rstin)},
        {f::DriveD0, Word(f::HighLow, lines.DriveD0)},
        {f::DriveD1, Word(f::HighLow, lines.DriveD1)}}},
  };
  return file.dump(2) + "\n";
}

WriteResult WriteSetupFile(const std::string &path, const BoardSetup &setup,
                           std::chrono::system_clock::time_point savedAt) {
  if (!setup.IsComplete()) {
    WriteResult refused;
    refused.Message = "The setup was not saved to " + QuotedExcerpt(path) +
                      ": the program knows neither from a read nor from a write what these registers hold: " +
                      UnknownRegisters(setup) + ". No file was written.";
    return refused;
  }
  return WriteFile(path, SetupText(setup, savedAt));
}

} // namespace vq
