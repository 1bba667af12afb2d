#include "boardlog/register_values.h"

#include "board/function_word.h"
#include "boardlog/formatted_text.h"
#include "boardlog/register_model.h"
#include "rules/conversions.h"

#include <cstdio>

namespace vq {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

int DigitValue(char c, bool decimal) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (decimal)
    return -1;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

std::string LimitText(uint16_t largest, bool decimal) {
  return decimal ? FormattedText("%u", static_cast<unsigned>(largest))
                 : FormattedText("%X", static_cast<unsigned>(largest));
}

} // namespace

std::string RegisterTitle(WordAddress address) {
  if (address.IsFunctionGroup())
    return "function";
  switch (address.SelectBits()) {
  case CodeOf(Register::Data):
    return "data";
  case CodeOf(Register::CoarseGain):
    return "coarse gain";
  case CodeOf(Register::FineGain):
    return "fine gain";
  case CodeOf(Register::Offset):
    return "offset";
  default:
    return FormattedText("register select %d", address.SelectBits());
  }
}

std::string ChannelTitle(WordAddress address) {
  if (address.IsFunctionGroup())
    return "";
  if (address.AddressedChannel() == Channel::All)
    return "ALL DACs";
  return std::string("DAC ") + static_cast<char>('A' + address.AddressBits());
}

std::string RegisterLongTitle(WordAddress address) {
  if (address.IsFunctionGroup())
    return "function register";
  return ChannelTitle(address) + " " + RegisterTitle(address);
}

std::string FunctionOptionsText(uint32_t bits) {
  const FunctionWord word = FunctionWord::FromBits(bits);
  auto line = [](const char *name, bool output, bool high) {
    if (!output)
      return std::string(name) + " input";
    return std::string(name) + " output " + (high ? "high" : "low");
  };
  return std::string(word.SdoDisabled ? "SDO disabled" : "SDO enabled") + ", " +
         line("D0", word.D0Output, word.D0High) + ", " + line("D1", word.D1Output, word.D1High) +
         ", local ground offset adjust " + (word.LocalGroundOffsetAdjust ? "on" : "off");
}

std::string RangeText(int32_t coarseCode) {
  if (const auto range = RangeForCoarseCode(coarseCode))
    return FormattedText("\xC2\xB1%.3f V", static_cast<double>(*range));
  return "no range";
}

std::string CodeText(uint16_t code, bool decimal) {
  return decimal ? FormattedText("%u", static_cast<unsigned>(code))
                 : FormattedText("%04X", static_cast<unsigned>(code));
}

std::string RegisterValueText(WordAddress address, uint16_t code, const RegisterModel &model) {
  if (address.IsFunctionGroup())
    return FunctionOptionsText(code);
  switch (address.SelectBits()) {
  case CodeOf(Register::Data): {
    const auto coarse = model.KnownCode(RangeRegisterOf(address.AddressedChannel()));
    const auto range = coarse ? RangeForCoarseCode(*coarse) : std::nullopt;
    const auto lines = model.Lines();
    if (!range || !lines)
      return range ? "coding not known" : "range not known";
    // A two's complement code is the offset binary code with the top bit flipped.
    const int32_t offsetBinary = lines->BinaryCoding ? code : (code ^ 0x8000);
    return FormattedText("%+.5f V", static_cast<double>(CodeToVolts(offsetBinary, *range)));
  }
  case CodeOf(Register::CoarseGain):
    return RangeText(code);
  case CodeOf(Register::FineGain):
    return FormattedText("%+d steps", FineGainValue(code));
  case CodeOf(Register::Offset):
    return FormattedText("%+g LSB", static_cast<double>(OffsetValue(code)));
  default:
    return "";
  }
}

TypedCode ReadTypedCode(std::string_view text, bool decimal, WordAddress address) {
  const uint16_t largest = LargestCode(address);
  const std::string limit = "0 to " + LimitText(largest, decimal);
  const std::string_view digits = Trimmed(text);
  uint32_t value = 0;
  bool tooLarge = false;
  bool isNumber = !digits.empty();
  for (char c : digits) {
    const int digit = DigitValue(c, decimal);
    if (digit < 0) {
      isNumber = false;
      break;
    }
    value = value * (decimal ? 10 : 16) + static_cast<uint32_t>(digit);
    tooLarge = tooLarge || value > largest;
    if (tooLarge)
      value = largest + 1u; // stays small however many digits follow
  }
  TypedCode result;
  if (!isNumber)
    result.Refusal = RegisterLongTitle(address) + ": '" + std::string(digits) + "' is not a " +
                     (decimal ? "decimal" : "hexadecimal") + " code; it takes " + limit + ". Nothing was written.";
  else if (tooLarge)
    result.Refusal = RegisterLongTitle(address) + ": " + std::string(digits) + " is above its largest code, " +
                     LimitText(largest, decimal) + ". Nothing was written.";
  else
    result.Code = static_cast<uint16_t>(value);
  return result;
}

} // namespace vq
