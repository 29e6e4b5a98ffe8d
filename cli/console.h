#pragma once
// What the program needs of the system's console: its arguments in UTF-8, output in UTF-8,
// and whether standard error is one.

#include <string>
#include <vector>

namespace marvolt::cli {

// The arguments that follow the program's name, in UTF-8, with the console made ready to
// show UTF-8 output. On Windows the arguments are taken from the UTF-16 command line, which
// holds every name (argv has the ANSI code page's), and standard output and error write their
// bytes as they are, lines ended by LF as on Linux.
std::vector<std::string> programArguments(int argc, char** argv);

// True when standard error is a terminal (on Windows, a console), where a progress line
// can be drawn over itself.
bool standardErrorIsTerminal();

}  // namespace marvolt::cli
