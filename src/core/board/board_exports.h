// What a board library needs to export its entry points: no exception may
// cross the C interface, so every entry point runs its work through
// CallCatching and the caller only ever sees a status.
#pragma once

namespace vq {

// Runs `call` and returns what it returns; an exception becomes `failure`.
template <typename Call> auto CallCatching(Call call, decltype(call()) failure) noexcept {
  try {
    return call();
  } catch (...) {
    return failure;
  }
}

} // namespace vq
