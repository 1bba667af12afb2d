#include "remote/mnemonic.h"

#include <stdexcept>

namespace vq::remote {

namespace {

bool EqualIgnoringCase(std::string_view text, std::string_view upper) {
  if (text.size() != upper.size())
    return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (AsciiUpper(text[i]) != upper[i])
      return false;
  return true;
}

} // namespace

Mnemonic::Mnemonic(std::string_view written) {
  std::size_t i = written.starts_with('*') ? 1 : 0;
  const std::size_t first = i;
  while (i < written.size() && written[i] >= 'A' && written[i] <= 'Z')
    ++i;
  shortLength_ = i;
  while (i < written.size() && IsAsciiLower(written[i]))
    ++i;
  if (shortLength_ == first || i != written.size())
    throw std::invalid_argument("not a command word: \"" + std::string(written) + "\"");
  long_.reserve(written.size());
  for (char c : written)
    long_ += AsciiUpper(c);
}

bool Mnemonic::Matches(std::string_view text) const {
  return EqualIgnoringCase(text, ShortForm()) || EqualIgnoringCase(text, long_);
}

} // namespace vq::remote
