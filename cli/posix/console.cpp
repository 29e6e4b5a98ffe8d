#include "console.h"

#include <unistd.h>

namespace marvolt::cli {

// The arguments are the bytes given, and the terminal shows the locale's encoding as it is.
std::vector<std::string> programArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

bool standardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

}  // namespace marvolt::cli
