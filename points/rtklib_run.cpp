#include "rtklib_run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "failure.h"
#include "interrupted.h"
#include "rtklib_inputs.h"
#include "temporary_file.h"

extern char** environ;

namespace marvolt {
namespace {

constexpr const char* kProgram = "rnx2rtkp";
constexpr double kProgressStep = 0.001;  // the least change of share reported
constexpr int kConfigurationDescriptor = 3;
constexpr int kQuietAsk = 200;  // ms: how often progress is asked while all is quiet  // rnx2rtkp
                                // reads its configuration from /dev/fd/3

// The full path of rnx2rtkp on the PATH, or the Failure that it is missing.
std::string findProgram() {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + kProgram;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    throw Failure("Do obliczenia rozwiązania potrzebny jest program rnx2rtkp z pakietu rtklib.");
}

void writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n =
            unlessInterrupted([&] { return ::write(fd, text.data() + done, text.size() - done); });
        if (n <= 0) throw streamWriteError();
        done += static_cast<std::size_t>(n);
    }
}

// True when the file behind `fd` holds a line that is not a "%" header line.
bool holdsSolution(int fd) {
    char block[65536];
    off_t offset = 0;
    bool lineStart = true;
    for (;;) {
        const ssize_t n =
            unlessInterrupted([&] { return ::pread(fd, block, sizeof block, offset); });
        if (n <= 0) return false;
        for (ssize_t i = 0; i < n; ++i) {
            const char c = block[i];
            if (lineStart && c != '%' && c != '\n' && c != '\r') return true;
            lineStart = c == '\n';
        }
        offset += n;
    }
}

// The rnx2rtkp process: ended and waited for, whatever happens, before this is left.
class Child {
  public:
    explicit Child(pid_t pid) : pid_(pid) {}
    ~Child() {
        if (pid_ > 0) stop();
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    // Ends the process (SIGTERM) and waits for it.
    void stop() {
        ::kill(pid_, SIGTERM);
        wait();
    }
    // Waits for the process to end; its wait status.
    int wait() {
        int status = 0;
        unlessInterrupted([&] { return ::waitpid(pid_, &status, 0); });
        pid_ = -1;
        return status;
    }

  private:
    pid_t pid_;
};

// A pipe whose ends are closed when it goes.
struct Pipe {
    int ends[2] = {-1, -1};
    Pipe() {
        if (::pipe2(ends, O_CLOEXEC) != 0) throw Failure("Nie mogę uruchomić programu rnx2rtkp.");
    }
    ~Pipe() {
        for (int end : ends)
            if (end >= 0) ::close(end);
    }
    void closeWriteEnd() {
        ::close(ends[1]);
        ends[1] = -1;
    }
};

pid_t spawn(const std::string& program, const std::vector<std::string>& arguments, int output,
            int configuration, int errors) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errors, STDERR_FILENO);
    posix_spawn_file_actions_adddup2(&actions, configuration, kConfigurationDescriptor);
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

std::string solutionPathFor(const std::string& roverPath) {
    const std::size_t slash = roverPath.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = roverPath.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot > nameStart;
    return roverPath.substr(0, hasExtension ? dot : roverPath.size()) + ".marvolt.pos";
}

std::string rtklibConfiguration(bool secondFrequency, int navigationSystems) {
    // Debian's rtklib names the frequencies "l1" and "l1+2".
    return std::string(
               "pos1-posmode=kinematic\n"
               "pos1-soltype=combined\n"
               "pos1-frequency=") +
           (secondFrequency ? "l1+2" : "l1") +
           "\n"
           "pos1-elmask=15\n"
           "pos1-navsys=" +
           std::to_string(navigationSystems) +
           "\n"
           "pos1-ionoopt=brdc\n"
           "pos1-tropopt=saas\n"
           "ant2-postype=rinexhead\n"
           "out-solformat=llh\n"
           "out-timesys=gpst\n";
}

std::optional<double> progressTime(const std::string& text) {
    const std::string lead = "processing : ";
    const std::size_t at = text.find(lead);
    if (at == std::string::npos) return std::nullopt;
    std::string fields = text.substr(at + lead.size());
    std::replace(fields.begin(), fields.end(), '/', ' ');
    std::replace(fields.begin(), fields.end(), ':', ' ');
    return readDateFields(fields);
}

double progressShare(double time, double first, double last, bool backward) {
    if (last <= first) return backward ? 0.5 : 0.0;
    const double half = std::clamp((time - first) / (last - first), 0.0, 1.0) / 2;
    return backward ? 1.0 - half : half;
}

RunOutcome computeSolution(const RtklibInputs& inputs, const std::string& output,
                           const RtklibProgress& progress) {
    const std::string program = findProgram();
    const Replacement replacement = prepareReplacement(output);
    const auto [first, last] = observationSpan(inputs.rover);

    TemporaryFile configuration(replacement.target + ".rnx2rtkp", output);
    writeAll(configuration.fd(), rtklibConfiguration(hasSecondFrequency(inputs.rover),
                                                     navigationSystems(inputs.navigation)));
    TemporaryFile solution(replacement.target, output);
    std::vector<std::string> arguments = {kProgram, "-k", "/dev/fd/3", inputs.rover, inputs.base};
    arguments.insert(arguments.end(), inputs.navigation.begin(), inputs.navigation.end());

    Pipe errors;
    Child child(spawn(program, arguments, solution.fd(), configuration.fd(), errors.ends[1]));
    errors.closeWriteEnd();

    // The standard error: progress lines ended by CR, messages by LF.
    std::string pending, lastMessage;
    double latest = -1.0, shown = -1.0;
    bool backward = false;
    char block[4096];
    for (;;) {
        pollfd ready = {errors.ends[0], POLLIN, 0};
        if (unlessInterrupted([&] { return ::poll(&ready, 1, kQuietAsk); }) == 0) {
            if (!progress(std::max(shown, 0.0), std::max(latest, 0.0))) {
                child.stop();
                return RunOutcome::Stopped;
            }
            continue;
        }
        const ssize_t n =
            unlessInterrupted([&] { return ::read(errors.ends[0], block, sizeof block); });
        if (n <= 0) break;
        for (ssize_t i = 0; i < n; ++i) {
            if (block[i] != '\r' && block[i] != '\n') {
                if (pending.size() < 1024) pending += block[i];
                continue;
            }
            if (const auto time = progressTime(pending)) {
                backward = backward || *time < latest;
                latest = std::max(latest, *time);
                const double share = progressShare(*time, first, last, backward);
                if (share >= shown + kProgressStep) {
                    shown = share;
                    if (!progress(share, latest)) {
                        child.stop();
                        return RunOutcome::Stopped;
                    }
                }
            } else if (pending.find_first_not_of(' ') != std::string::npos) {
                lastMessage = pending;
            }
            pending.clear();
        }
    }
    const int status = child.wait();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw Failure("Program rnx2rtkp zakończył obliczenie błędem" +
                      (lastMessage.empty() ? std::string(".") : " („" + lastMessage + "”)."));
    if (!holdsSolution(solution.fd()))
        throw Failure("Program rnx2rtkp nie obliczył żadnej pozycji z plików \"" + inputs.rover +
                      "\" i \"" + inputs.base + "\".");
    solution.replaceTarget(replacement.ownership);
    progress(1.0, std::max(latest, 0.0));
    return RunOutcome::Done;
}

}  // namespace marvolt
