// The reading half of setup_file.h.
#include "setup/setup_fields.h"
#include "setup/setup_file.h"

#include "rules/number_rules.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <string>

namespace vq {

namespace f = setup_fields;

namespace {

using Json = nlohmann::json;

// Where a check failed; thrown inside the reader only.
struct Refusal {
  std::string Field;
  std::string Problem;
};

std::string Path(const std::string &parent, const char *key) {
  return parent.empty() ? std::string(key) : parent + "." + key;
}

const char *KindOf(const Json &value) {
  switch (value.type()) {
  case Json::value_t::object:
    return "an object";
  case Json::value_t::array:
    return "an array";
  case Json::value_t::string:
    return "a text";
  case Json::value_t::boolean:
    return "true or false";
  case Json::value_t::null:
    return "null";
  default:
    return "a number";
  }
}

const Json &Member(const Json &object, const std::string &parent, const char *key) {
  const auto found = object.find(key);
  if (found == object.end())
    throw Refusal{Path(parent, key), "is missing"};
  return *found;
}

const Json &Object(const Json &object, const std::string &parent, const char *key) {
  const Json &value = Member(object, parent, key);
  if (!value.is_object())
    throw Refusal{Path(parent, key), std::string("is ") + KindOf(value) + ", not an object"};
  return value;
}

const std::string &Text(const Json &object, const std::string &parent, const char *key) {
  const Json &value = Member(object, parent, key);
  if (!value.is_string())
    throw Refusal{Path(parent, key), std::string("is ") + KindOf(value) + ", not a text"};
  return value.get_ref<const std::string &>();
}

bool Flag(const Json &object, const std::string &parent, const char *key) {
  const Json &value = Member(object, parent, key);
  if (!value.is_boolean())
    throw Refusal{Path(parent, key), std::string("is ") + KindOf(value) + ", not true or false"};
  return value.get<bool>();
}

bool Chosen(const Json &object, const std::string &parent, const char *key, f::Choice choice) {
  const std::string &word = Text(object, parent, key);
  if (word == choice.Yes)
    return true;
  if (word == choice.No)
    return false;
  throw Refusal{Path(parent, key),
                "is " + QuotedExcerpt(word) + "; it takes \"" + choice.Yes + "\" or \"" + choice.No + "\""};
}

// A whole number from `lowest` to `highest`.
int64_t Whole(const Json &object, const std::string &parent, const char *key, int64_t lowest, int64_t highest) {
  const Json &value = Member(object, parent, key);
  const std::string range = " (" + std::to_string(lowest) + " to " + std::to_string(highest) + ")";
  if (value.is_number_unsigned()) {
    const uint64_t number = value.get<uint64_t>();
    if (number > static_cast<uint64_t>(highest) || static_cast<int64_t>(number) < lowest)
      throw Refusal{Path(parent, key), std::to_string(number) + " is out of range" + range};
    return static_cast<int64_t>(number);
  }
  if (value.is_number_integer()) {
    const int64_t number = value.get<int64_t>();
    if (number < lowest || number > highest)
      throw Refusal{Path(parent, key), std::to_string(number) + " is out of range" + range};
    return number;
  }
  if (value.is_number())
    throw Refusal{Path(parent, key), "is not a whole number"};
  throw Refusal{Path(parent, key), std::string("is ") + KindOf(value) + ", not a whole number"};
}

void ReadHeader(const Json &root) {
  const std::string &format = Text(root, "", f::Format);
  if (format != SetupFormatName)
    throw Refusal{f::Format,
                  "is " + QuotedExcerpt(format) + ": not a setup file of this program (\"" + SetupFormatName + "\")"};
  const Json &version = Member(root, "", f::Version);
  if (version.is_number_unsigned() && version.get<uint64_t>() > static_cast<uint64_t>(SetupFormatVersion))
    throw Refusal{f::Version, "is " + std::to_string(version.get<uint64_t>()) +
                                  ": the file is newer than this program reads (up to " +
                                  std::to_string(SetupFormatVersion) + ")"};
  Whole(root, "", f::Version, 1, SetupFormatVersion);
  Text(root, "", f::ProgramVersion);
  Text(root, "", f::SavedAt);
}

void ReadChannels(const Json &root, BoardSetup &setup) {
  const Json &channels = Object(root, "", f::Channels);
  for (std::size_t channel = 0; channel < f::ChannelNames.size(); ++channel) {
    const std::string channelPath = Path(f::Channels, f::ChannelNames[channel]);
    const Json &registers = Object(channels, f::Channels, f::ChannelNames[channel]);
    for (const f::RegisterField &field : f::ChannelRegisters) {
      const WordAddress address(field.Reg, static_cast<Channel>(channel));
      const Json &reg = Object(registers, channelPath, field.Name);
      setup.SetCode(
          address, static_cast<uint16_t>(Whole(reg, Path(channelPath, field.Name), f::Code, 0, RegisterMask(address))));
    }
  }
}

void ReadFunction(const Json &root, BoardSetup &setup) {
  const Json &function = Object(root, "", f::Function);
  FunctionWord options;
  options.SdoDisabled = Chosen(function, f::Function, f::Sdo, f::Disabled);
  options.LocalGroundOffsetAdjust = Chosen(function, f::Function, f::GroundOffset, f::Enabled);
  const std::string d0Path = Path(f::Function, f::D0), d1Path = Path(f::Function, f::D1);
  const Json &d0 = Object(function, f::Function, f::D0);
  options.D0Output = Chosen(d0, d0Path, f::Direction, f::Output);
  options.D0High = Chosen(d0, d0Path, f::Level, f::HighLow);
  const Json &d1 = Object(function, f::Function, f::D1);
  options.D1Output = Chosen(d1, d1Path, f::Direction, f::Output);
  options.D1High = Chosen(d1, d1Path, f::Level, f::HighLow);
  setup.SetCode(Command::FunctionRegister, options.Bits());
}

void ReadLines(const Json &root, BoardSetup &setup) {
  const Json &lines = Object(root, "", f::Lines);
  ControlLines &l = setup.Lines;
  l.BinaryCoding = Chosen(lines, f::Lines, f::Coding, f::BinaryCoding);
  l.Ldac = Chosen(lines, f::Lines, f::Ldac, f::HighLow);
  setup.PulseAfterDataWrite = Flag(lines, f::Lines, f::PulseAfterDataWrite);
  l.Clr = Chosen(lines, f::Lines, f::Clr, f::HighLow);
  l.Rstin = Chosen(lines, f::Lines, f::Rstin, f::HighLow);
  l.DriveD0 = Chosen(lines, f::Lines, f::DriveD0, f::HighLow);
  l.DriveD1 = Chosen(lines, f::Lines, f::DriveD1, f::HighLow);
}

// The parser's own words without its prefix ("[json.exception.parse_error.101] ")
// and without the token it last read, which may be anything.
std::string ParseProblem(const std::string &what) {
  std::string problem = what.substr(what.find("] ") == std::string::npos ? 0 : what.find("] ") + 2);
  if (const std::size_t lastRead = problem.find("; last read"); lastRead != std::string::npos)
    problem.resize(lastRead);
  return "it is not JSON: " + problem;
}

std::filesystem::path SystemPath(const std::string &path) {
#if defined(_WIN32)
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
#else
  return std::filesystem::path(path);
#endif
}

} // namespace

SetupReading ParseSetup(std::string_view text) {
  SetupReading reading;
  if (text.size() > LargestSetupFile) {
    reading.Problem = "it is larger than 1 MiB, far more than a setup takes";
    return reading;
  }
  try {
    const Json root = Json::parse(text.begin(), text.end());
    if (!root.is_object())
      throw Refusal{"", std::string("it holds ") + KindOf(root) + ", not a setup object"};
    ReadHeader(root);
    BoardSetup setup;
    ReadChannels(root, setup);
    ReadFunction(root, setup);
    ReadLines(root, setup);
    reading.Value = setup;
  } catch (const Refusal &refusal) {
    reading.Field = refusal.Field;
    reading.Problem = refusal.Problem;
  } catch (const Json::exception &error) {
    reading.Problem = ParseProblem(error.what());
  }
  return reading;
}

SetupFileReading ReadSetupFile(const std::string &path) {
  SetupFileReading result;
  const std::string refused = "The setup " + QuotedExcerpt(path) + " was not opened: ";
  std::ifstream file(SystemPath(path), std::ios::binary);
  if (!file) {
    result.Message = refused + "the file cannot be read. Nothing was written to the board.";
    return result;
  }
  // One byte more than the limit tells a file that is too large, whatever
  // it is (a pipe or a device has no size to ask for).
  std::string text(LargestSetupFile + 1, '\0');
  file.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (file.bad()) {
    result.Message = refused + "reading the file failed. Nothing was written to the board.";
    return result;
  }
  text.resize(static_cast<std::size_t>(file.gcount()));
  SetupReading reading = ParseSetup(text);
  if (reading.Value) {
    result.Value = reading.Value;
    return result;
  }
  result.Message = refused + (reading.Field.empty() ? "" : "field \"" + reading.Field + "\" ") + reading.Problem +
                   ". Nothing was written to the board.";
  return result;
}

} // namespace vq
