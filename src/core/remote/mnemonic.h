// One word of a command header or of a parameter's choices, written the SCPI way: the short form in
// upper case, the rest of the long form in lower case ("VOLTage", "INPut", "CODE", "*IDN").
#pragma once

#include <string>
#include <string_view>

namespace vq::remote {

class Mnemonic {
public:
  Mnemonic() = default; // matches nothing a line can give
  // Throws std::invalid_argument when the word is not of that form (letters only, upper case first,
  // no upper case after the first lower case; a leading '*' marks a common command).
  explicit Mnemonic(std::string_view written);

  // True when the text is the short or the long form, in any letter case.
  bool Matches(std::string_view text) const;

  std::string_view ShortForm() const { return std::string_view(long_).substr(0, shortLength_); }
  std::string_view LongForm() const { return long_; }
  bool operator==(const Mnemonic &other) const { return long_ == other.long_ && shortLength_ == other.shortLength_; }

private:
  std::string long_; // upper case
  std::size_t shortLength_ = 0;
};

// ASCII letters to upper case; every other byte unchanged, whatever the locale.
constexpr char AsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
constexpr bool IsAsciiLower(char c) {
  return c >= 'a' && c <= 'z';
}
constexpr bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
constexpr bool IsAsciiDigit(char c) {
  return c >= '0' && c <= '9';
}
// What may follow the first letter of a header node or a word.
constexpr bool IsWordChar(char c) {
  return IsAsciiLetter(c) || IsAsciiDigit(c) || c == '_';
}

} // namespace vq::remote
