#include "cli_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <stdexcept>
#include <string_view>

#include "temp_folder.h"

extern char** environ;

namespace marvolt::testing {

namespace {

std::vector<std::string> environmentInCLocale() {
    std::vector<std::string> variables;
    for (char** entry = environ; *entry; ++entry) {
        const std::string_view variable(*entry);
        if (variable.rfind("LC_", 0) == 0 || variable.rfind("LANG", 0) == 0) continue;
        variables.emplace_back(variable);
    }
    variables.emplace_back("LC_ALL=C");
    return variables;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> result;
    for (auto& text : texts) result.push_back(text.data());
    result.push_back(nullptr);
    return result;
}

}  // namespace

CliRun runCli(const std::vector<std::string>& arguments, const std::string& workingFolder,
              const std::string& output, const std::vector<std::string>& added) {
    const TempFolder streams;
    const std::string outFile = output.empty() ? streams.file("stdout") : output;
    const std::string errFile = streams.file("stderr");

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT, 0600);
    if (!workingFolder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());

    std::vector<std::string> argumentTexts{MARVOLT_CLI};
    argumentTexts.insert(argumentTexts.end(), arguments.begin(), arguments.end());
    std::vector<std::string> environment = environmentInCLocale();
    environment.insert(environment.end(), added.begin(), added.end());
    std::vector<char*> argv = pointers(argumentTexts);
    std::vector<char*> envp = pointers(environment);

    pid_t child = 0;
    const int spawned =
        posix_spawn(&child, MARVOLT_CLI, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::runtime_error("cannot start " MARVOLT_CLI);

    int waitStatus = 0;
    if (waitpid(child, &waitStatus, 0) != child) throw std::runtime_error("waitpid failed");
    CliRun run;
    run.status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus);
    if (output.empty()) run.out = readBytes(outFile);
    run.err = readBytes(errFile);
    return run;
}

}  // namespace marvolt::testing
