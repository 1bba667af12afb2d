#include "remote/parameter_rule.h"

#include "remote/program_data.h"

#include <cmath>

namespace vq::remote {

ParameterRule ParameterRule::OrWords(std::initializer_list<std::string_view> words) const {
  ParameterRule rule = *this;
  for (std::string_view word : words)
    rule.Words.emplace_back(word);
  return rule;
}

ParameterRule ParameterRule::Optionally() const {
  ParameterRule rule = *this;
  rule.Optional = true;
  return rule;
}

ParameterRule ParameterRule::CheckedBy(ValueCheck check) const {
  ParameterRule rule = *this;
  rule.Check = check;
  return rule;
}

ParameterRule IntegerParameter(int32_t min, int32_t max) {
  ParameterRule rule;
  rule.Numbers = NumberForm::Integer;
  rule.Min = min;
  rule.Max = max;
  return rule;
}

ParameterRule RealParameter(double min, double max) {
  ParameterRule rule;
  rule.Numbers = NumberForm::Real;
  rule.Min = min;
  rule.Max = max;
  return rule;
}

ParameterRule VoltageParameter(double min, double max) {
  ParameterRule rule = RealParameter(min, max);
  rule.Units = Unit::Volt;
  return rule;
}

ParameterRule BooleanParameter() {
  ParameterRule rule;
  rule.Numbers = NumberForm::Boolean;
  return rule;
}

ParameterRule WordParameter(std::initializer_list<std::string_view> words) {
  return ParameterRule{}.OrWords(words);
}

ParameterRule TextParameter() {
  ParameterRule rule;
  rule.Text = true;
  return rule;
}

namespace {

const Mnemonic &Volts() {
  static const Mnemonic word("V");
  return word;
}
const Mnemonic &Millivolts() {
  static const Mnemonic word("MV");
  return word;
}
const Mnemonic &OnWord() {
  static const Mnemonic word("ON");
  return word;
}
const Mnemonic &OffWord() {
  static const Mnemonic word("OFF");
  return word;
}

// What a number with this unit suffix is divided by to give the base unit; 0 when the unit does not
// belong there.
double UnitDivisor(Unit units, std::string_view suffix) {
  if (units == Unit::Volt) {
    if (Volts().Matches(suffix))
      return 1;
    if (Millivolts().Matches(suffix))
      return 1000; // dividing keeps "4096 MV" exactly the double of 4.096
  }
  return 0;
}

ErrorCode TakeNumber(double number, const ParameterRule &rule, Parameter &value) {
  if (!std::isfinite(number))
    return ErrorCode::DataOutOfRange;
  if (rule.Numbers == NumberForm::Boolean) {
    value.Kind = ValueKind::Boolean;
    value.On = std::nearbyint(number) != 0;
    return ErrorCode::NoError;
  }
  // Integers round half to even, the default rounding mode.
  if (rule.Numbers == NumberForm::Integer)
    number = std::nearbyint(number);
  if (number < rule.Min || number > rule.Max)
    return ErrorCode::DataOutOfRange;
  if (rule.Numbers == NumberForm::Integer && (number < INT32_MIN || number > INT32_MAX))
    return ErrorCode::DataOutOfRange; // a rule made by hand without limits
  value.Kind = ValueKind::Number;
  value.Number = number;
  if (rule.Numbers == NumberForm::Integer)
    value.Integer = static_cast<int32_t>(number);
  return ErrorCode::NoError;
}

ErrorCode TakeDecimal(const DataToken &token, const ParameterRule &rule, Parameter &value) {
  if (rule.Numbers == NumberForm::None)
    return ErrorCode::DataTypeError;
  double number = token.Decimal;
  if (!token.Unit.empty()) {
    const double divisor = UnitDivisor(rule.Units, token.Unit);
    if (divisor == 0)
      return ErrorCode::DataTypeError;
    number /= divisor;
  }
  if (token.OutOfRange)
    return ErrorCode::DataOutOfRange;
  return TakeNumber(number, rule, value);
}

ErrorCode TakeNonDecimal(const DataToken &token, const ParameterRule &rule, Parameter &value) {
  if (rule.Numbers != NumberForm::Integer && rule.Numbers != NumberForm::Boolean)
    return ErrorCode::DataTypeError;
  if (token.OutOfRange)
    return ErrorCode::DataOutOfRange;
  // Every limit is within 32 bits, so a value beyond that is out of range before the conversion.
  return TakeNumber(token.Bits > UINT32_MAX ? HUGE_VAL : static_cast<double>(token.Bits), rule, value);
}

ErrorCode TakeWord(const DataToken &token, const ParameterRule &rule, Parameter &value) {
  for (std::size_t i = 0; i < rule.Words.size(); ++i) {
    if (rule.Words[i].Matches(token.Content)) {
      value.Kind = ValueKind::Word;
      value.Word = static_cast<int>(i);
      return ErrorCode::NoError;
    }
  }
  if (rule.Numbers == NumberForm::Boolean) {
    const bool on = OnWord().Matches(token.Content);
    if (on || OffWord().Matches(token.Content)) {
      value.Kind = ValueKind::Boolean;
      value.On = on;
      return ErrorCode::NoError;
    }
    return ErrorCode::IllegalParameterValue;
  }
  return rule.Words.empty() ? ErrorCode::DataTypeError : ErrorCode::IllegalParameterValue;
}

ErrorCode TakeText(const DataToken &token, const ParameterRule &rule, Parameter &value) {
  if (!rule.Text)
    return ErrorCode::DataTypeError;
  value.Kind = ValueKind::Text;
  value.Text.clear();
  value.Text.reserve(token.Content.size());
  for (std::size_t i = 0; i < token.Content.size(); ++i) {
    value.Text += token.Content[i];
    if (token.Content[i] == token.Quote)
      ++i; // the second of a doubled quote
  }
  return ErrorCode::NoError;
}

} // namespace

ErrorCode TakeParameter(const DataToken &token, const ParameterRule &rule, Parameter &value) {
  ErrorCode error = ErrorCode::NoError;
  switch (token.Kind) {
  case TokenKind::Decimal:
    error = TakeDecimal(token, rule, value);
    break;
  case TokenKind::NonDecimal:
    error = TakeNonDecimal(token, rule, value);
    break;
  case TokenKind::Word:
    error = TakeWord(token, rule, value);
    break;
  case TokenKind::Text:
    error = TakeText(token, rule, value);
    break;
  }
  if (error == ErrorCode::NoError && rule.Check)
    error = rule.Check(value);
  return error;
}

} // namespace vq::remote
