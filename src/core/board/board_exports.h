// What a board library needs to export its entry points: no exception may
// cross the C interface, so every entry point runs its work through Guarded
// and the caller only ever sees a status.
#pragma once

namespace vq {

template <typename Call> auto Guarded(Call call, decltype(call()) failure) noexcept {
  try {
    return call();
  } catch (...) {
    return failure;
  }
}

} // namespace vq
