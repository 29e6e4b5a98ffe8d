#pragma once
// The text of the Failure an action ends with, so a test checks what the user would read.

#include <cstddef>
#include <functional>
#include <string>

namespace marvolt::testing {

// The Failure's text, or "no failure" when the action ran to its end.
std::string failureText(const std::function<void()>& action);

// The same, with files limited to `bytes` (SIGXFSZ ignored meanwhile, so a write past the
// limit fails, also for root); the limit and the signal are as before afterwards.
std::string failureTextWithFileSizeLimit(std::size_t bytes, const std::function<void()>& action);

// True where files can be limited in size (POSIX); a test of that limit is skipped elsewhere.
bool fileSizeLimits();

}  // namespace marvolt::testing
