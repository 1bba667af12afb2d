// What every fuzz target shares: a property check that stops the run at the first broken property,
// naming it, so libFuzzer keeps the input that broke it.
#pragma once

#include <cstdio>
#include <string_view>

namespace vq::fuzz {

[[noreturn]] inline void Broken(const char *property, const char *file, int line) {
  std::fprintf(stderr, "\n%s:%d: property broken: %s\n", file, line, property);
  std::fflush(stderr);
  __builtin_trap();
}

// The input as text, bytes unchanged.
inline std::string_view Text(const unsigned char *data, std::size_t size) {
  return {reinterpret_cast<const char *>(data), size};
}

} // namespace vq::fuzz

#define VQ_PROPERTY(condition)                                                                                         \
  do {                                                                                                                 \
    if (!(condition)) {                                                                                                \
      ::vq::fuzz::Broken(#condition, __FILE__, __LINE__);                                                              \
    }                                                                                                                  \
  } while (false)
