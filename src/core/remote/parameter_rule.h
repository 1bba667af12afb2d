// What a command's parameter takes (its rule), and the value a line gave it. A rule accepts one or more
// forms of data: a number (integer, real or boolean, with static limits and units), words from a list,
// a quoted text. The line is checked against the rules before anything runs.
#pragma once

#include "remote/error_queue.h"
#include "remote/mnemonic.h"

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace vq::remote {

enum class ValueKind : uint8_t { Absent, Number, Boolean, Word, Text };

// One parameter's value as the handler receives it.
struct Parameter {
  ValueKind Kind = ValueKind::Absent;
  // A number in the rule's base unit (volts for a voltage given in mV); whole for an integer rule.
  double Number = 0;
  // An integer rule's value, rounded half to even from a decimal ("1.5" gives 2).
  int32_t Integer = 0;
  // A boolean: ON, OFF, or a number (non-zero after rounding is ON).
  bool On = false;
  // A word: its index in the rule's list.
  int Word = -1;
  // A quoted text without its quotes, a doubled quote taken as one. Valid UTF-8 without control
  // characters.
  std::string Text;
};

enum class NumberForm : uint8_t { None, Integer, Real, Boolean };

// Unit suffixes a number may carry, in any letter case, with or without a blank before them.
enum class Unit : uint8_t {
  None,
  Volt, // V, MV (millivolts); a bare number is volts
};

// A further check of a value against something known before the line runs (a list of allowed
// numbers, say): NoError or the error to queue.
using ValueCheck = ErrorCode (*)(const Parameter &value);

struct ParameterRule {
  NumberForm Numbers = NumberForm::None;
  // Inclusive limits of a number after units and rounding; a number outside them is DataOutOfRange.
  double Min = -std::numeric_limits<double>::infinity();
  double Max = std::numeric_limits<double>::infinity();
  Unit Units = Unit::None;
  std::vector<Mnemonic> Words;
  bool Text = false;
  // Only trailing parameters may be optional; an absent one has ValueKind::Absent.
  bool Optional = false;
  ValueCheck Check = nullptr;

  // The same rule also taking these words ("1..4 or ALL").
  ParameterRule OrWords(std::initializer_list<std::string_view> words) const;
  ParameterRule Optionally() const;
  ParameterRule CheckedBy(ValueCheck check) const;
};

// Whole numbers from min to max: decimal (rounded), #H hexadecimal, #Q octal or #B binary.
ParameterRule IntegerParameter(int32_t min, int32_t max);
// Decimal numbers from min to max, without units.
ParameterRule RealParameter(double min, double max);
// Volts, bare or with V or MV; limits in volts where they are known before the line runs.
ParameterRule VoltageParameter(double min = -std::numeric_limits<double>::infinity(),
                               double max = std::numeric_limits<double>::infinity());
// ON, OFF or a number.
ParameterRule BooleanParameter();
// One of the words, written the SCPI way ("INPut"): short or long form, any letter case.
ParameterRule WordParameter(std::initializer_list<std::string_view> words);
// A quoted text ('...' or "...").
ParameterRule TextParameter();

struct DataToken;

// Checks a token of the line against a rule and fills the value. NoError, or the error to queue:
// DataTypeError for a form the rule does not take (a word for a number, a unit where none goes, an
// unknown unit), DataOutOfRange for a number outside the limits, IllegalParameterValue for a word not
// in the list, or whatever the rule's check says.
ErrorCode TakeParameter(const DataToken &token, const ParameterRule &rule, Parameter &value);

} // namespace vq::remote
