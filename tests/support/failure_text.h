#pragma once
// The text of the Failure an action ends with, so a test checks what the user would read.

#include <functional>
#include <string>

namespace marvolt::testing {

// The Failure's text, or "no failure" when the action ran to its end.
std::string failureText(const std::function<void()>& action);

}  // namespace marvolt::testing
