// How queries answer: plain decimal numbers, volts and degrees with six digits after the point, words
// in their short upper-case form, texts in double quotes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vq::remote {

// "-5", "65535".
std::string IntegerAnswer(int64_t value);

// Six digits after the point, rounded half to even: "1.000000", "-4.096000", "25.375000"; never
// "-0.000000". A value that is not a finite number answers SCPI's not-a-number, "9.91E+37".
std::string DecimalAnswer(double value);

// "ON" or "OFF".
std::string_view BooleanAnswer(bool on);

// A word written the SCPI way in its short form: "INPut" answers "INP", "HIGH" answers "HIGH".
std::string_view WordAnswer(std::string_view written);

// A text in double quotes, its double quotes doubled.
std::string TextAnswer(std::string_view text);

} // namespace vq::remote
