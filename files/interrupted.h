#pragma once
// System calls made again when a signal interrupts them before they did anything.

#include <cerrno>

namespace marvolt {

// Calls `call` until it does not fail with EINTR; gives its last result.
template <typename Call>
auto unlessInterrupted(Call&& call) -> decltype(call()) {
    for (;;) {
        const auto result = call();
        if (!(result < 0 && errno == EINTR)) return result;
    }
}

}  // namespace marvolt
