#pragma once

#include <cstdio>
#include <string>

namespace vq {

// printf-style text of bounded length for the log's and the map's lines:
// every pattern here yields a short line, longer output is cut.
inline std::string FormattedText(const char *pattern, auto... arguments) {
  char text[160];
  std::snprintf(text, sizeof text, pattern, arguments...);
  return text;
}

} // namespace vq
