#include "rtklib_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "failure.h"
#include "interrupted.h"

extern char** environ;

namespace marvolt {

namespace {

constexpr int kPassedDescriptor = 3;  // the program reads the passed file from /dev/fd/3

pid_t spawn(const std::string& program, const std::vector<std::string>& arguments, int output,
            int passed, int errors) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errors, STDERR_FILENO);
    posix_spawn_file_actions_adddup2(&actions, passed, kPassedDescriptor);
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int error = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) throw Failure("Nie mogę uruchomić programu rnx2rtkp.");
    return pid;
}

}  // namespace

struct RtklibProcess::Running {
    pid_t pid = -1;
    int errors = -1;  // the read end of the standard error's pipe
};

std::string findRtklibProgram(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + program;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    throw Failure("Do obliczenia rozwiązania potrzebny jest program rnx2rtkp z pakietu rtklib.");
}

std::string RtklibProcess::passedName(const TemporaryFile&) {
    return "/dev/fd/" + std::to_string(kPassedDescriptor);
}

RtklibProcess::RtklibProcess(const std::string& program, const std::vector<std::string>& arguments,
                             int output, int passed)
    : running_(std::make_unique<Running>()) {
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC) != 0) throw Failure("Nie mogę uruchomić programu rnx2rtkp.");
    running_->errors = ends[0];
    try {
        running_->pid = spawn(program, arguments, output, passed, ends[1]);
    } catch (const Failure&) {
        ::close(ends[0]);
        ::close(ends[1]);
        throw;
    }
    ::close(ends[1]);
}

RtklibProcess::~RtklibProcess() {
    if (running_->pid > 0) stop();
    ::close(running_->errors);
}

bool RtklibProcess::errorsWaiting(int milliseconds) {
    pollfd ready = {running_->errors, POLLIN, 0};
    return unlessInterrupted([&] { return ::poll(&ready, 1, milliseconds); }) != 0;
}

std::size_t RtklibProcess::readErrors(char* into, std::size_t size) {
    const ssize_t n = unlessInterrupted([&] { return ::read(running_->errors, into, size); });
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

void RtklibProcess::stop() {
    ::kill(running_->pid, SIGTERM);
    succeeded();
}

bool RtklibProcess::succeeded() {
    int status = 0;
    unlessInterrupted([&] { return ::waitpid(running_->pid, &status, 0); });
    running_->pid = -1;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace marvolt
