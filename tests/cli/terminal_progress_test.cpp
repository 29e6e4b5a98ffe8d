// marvolt-cli's progress line: drawn on standard error when it is a terminal (here a
// pseudo-terminal), never otherwise, and standard output the same either way.

#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <regex>
#include <string>
#include <vector>

#include "cli_process.h"
#include "platform_skip.h"
#include "temp_folder.h"

namespace marvolt::testing {
namespace {

#ifndef _WIN32
struct TerminalRun {
    int status = -1;
    std::string terminal;  // what standard error drew on the terminal
};

// Runs marvolt-cli under the C locale with standard error (and input) on a pseudo-terminal
// and standard output into `output`.
TerminalRun runOnTerminal(std::vector<std::string> arguments, const std::string& output) {
    arguments.insert(arguments.begin(), MARVOLT_CLI);
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    int terminal = -1;
    const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child == 0) {
        const int out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(out, STDOUT_FILENO);
        ::clearenv();
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    TerminalRun run;
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(terminal, buffer, sizeof buffer);
        if (count > 0)
            run.terminal.append(buffer, static_cast<std::size_t>(count));
        else if (!(count < 0 && errno == EINTR))
            break;  // EIO once the program has ended
    }
    ::close(terminal);
    int status = 0;
    ::waitpid(child, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

#endif

TEST(CliProgress, DrawnOnATerminalOnlyAndWipedWhenDone) {
    MARVOLT_NOT_ON_WINDOWS("no pseudo-terminal can be given a process");
#ifndef _WIN32
    const TempFolder folder;
    for (const auto& [command, drawn] :
         {std::pair("analyse", "(\rAnaliza: [0-9]+%)+\r +\r"),
          std::pair("modify", "(\rAnaliza: [0-9]+%)+\r +\r(\rModyfikacja: [0-9]+%)+\r +\r")}) {
        SCOPED_TRACE(command);
        const std::string survey = readBytes(MARVOLT_EXAMPLES "/pomiar.11o");
        std::vector<std::string> arguments = {command, MARVOLT_EXAMPLES "/punkty.txt",
                                              folder.write("terminal.11o", survey)};
        const TerminalRun onTerminal = runOnTerminal(arguments, folder.file("out.txt"));
        EXPECT_EQ(onTerminal.status, 0);
        EXPECT_TRUE(std::regex_match(onTerminal.terminal, std::regex(drawn)))
            << onTerminal.terminal;
        arguments[2] = folder.write("piped.11o", survey);
        const CliRun piped = runCli(arguments);
        EXPECT_EQ(piped.err, "");
        std::string out = readBytes(folder.file("out.txt"));
        const std::string terminalName = "terminal.11o", pipedName = "piped.11o";
        for (std::size_t at; (at = out.find(terminalName)) != std::string::npos;)
            out.replace(at, terminalName.size(), pipedName);
        EXPECT_EQ(out, piped.out);
    }
#endif
}

}  // namespace
}  // namespace marvolt::testing
