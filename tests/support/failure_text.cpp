#include "failure_text.h"

#include <sys/resource.h>

#include <csignal>
#include <stdexcept>

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

std::string failureTextWithFileSizeLimit(std::size_t bytes, const std::function<void()>& action) {
    rlimit saved{};
    if (::getrlimit(RLIMIT_FSIZE, &saved) != 0) throw std::runtime_error("no file size limit");
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = bytes;
    if (::setrlimit(RLIMIT_FSIZE, &small) != 0) throw std::runtime_error("cannot limit files");
    std::string text;
    try {
        text = failureText(action);
    } catch (...) {
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
        throw;
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    return text;
}

}  // namespace marvolt::testing
