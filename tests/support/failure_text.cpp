#include "failure_text.h"

#include "failure.h"

namespace marvolt::testing {

std::string failureText(const std::function<void()>& action) {
    try {
        action();
    } catch (const Failure& failure) {
        return failure.text();
    }
    return "no failure";
}

}  // namespace marvolt::testing
