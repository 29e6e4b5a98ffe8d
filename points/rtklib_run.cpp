#include "rtklib_run.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "failure.h"
#include "gps_time.h"
#include "temporary_file.h"

extern char** environ;

namespace marvolt {
namespace {

constexpr const char* kProgram = "rnx2rtkp";
constexpr std::size_t kLabelColumn = 60;
constexpr std::size_t kMostHeaderLines = 2000;
constexpr std::streamoff kTailBytes = 65536;  // where the last epoch of a rover file is sought
constexpr double kProgressStep = 0.001;       // the least change of share reported
constexpr int kConfigurationDescriptor = 3;   // rnx2rtkp reads its configuration from /dev/fd/3

std::string label(const std::string& line) {
    return line.size() > kLabelColumn ? line.substr(kLabelColumn) : std::string();
}

// The seconds since 1980-01-06 of "y m d h m s" (a two-digit year from 1980 to 2079); nullopt
// when the text holds no such date.
std::optional<double> readDateFields(const std::string& text) {
    std::istringstream in(text);
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    double second = 0.0;
    if (!(in >> year >> month >> day >> hour >> minute >> second)) return std::nullopt;
    if (year < 100) year += year < 80 ? 2000 : 1900;
    if (year < 1980 || year > 2999 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 ||
        hour > 23 || minute < 0 || minute > 59 || second < 0 || second >= 61)
        return std::nullopt;
    return daySeconds(year, month, day) + hour * 3600.0 + minute * 60.0 + second;
}

// The header lines of a RINEX file, up to END OF HEADER.
std::vector<std::string> headerLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (lines.size() < kMostHeaderLines && std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        if (label(line).rfind("END OF HEADER", 0) == 0) break;
    }
    return lines;
}

// The time of the last epoch line in the last bytes of a RINEX observation file.
std::optional<double> lastEpochTime(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    const std::streamoff size = in.tellg();
    if (size <= 0) return std::nullopt;
    in.seekg(std::max<std::streamoff>(0, size - kTailBytes));
    std::optional<double> last;
    std::string line;
    while (std::getline(in, line)) {
        const bool version3 = !line.empty() && line[0] == '>';
        if (!version3 && (line.size() < 29 || line[0] != ' ' || line[3] != ' ')) continue;
        if (const auto time = readDateFields(version3 ? line.substr(1) : line)) last = time;
    }
    return last;
}

// The observation span of the rover: TIME OF FIRST OBS to TIME OF LAST OBS, or to its last
// epoch line.
std::pair<double, double> observationSpan(const std::string& path) {
    std::optional<double> first, last;
    for (const std::string& line : headerLines(path)) {
        const std::string what = label(line);
        if (what.rfind("TIME OF FIRST OBS", 0) == 0) first = readDateFields(line.substr(0, 43));
        if (what.rfind("TIME OF LAST OBS", 0) == 0) last = readDateFields(line.substr(0, 43));
    }
    if (!last) last = lastEpochTime(path);
    return {first.value_or(0.0), last.value_or(0.0)};
}

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
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
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
        const ssize_t n = ::pread(fd, block, sizeof block, offset);
        if (n < 0 && errno == EINTR) continue;
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
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
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

bool hasSecondFrequency(const std::string& observationPath) {
    for (const std::string& line : headerLines(observationPath)) {
        const std::string what = label(line);
        const bool version2 = what.rfind("# / TYPES OF OBSERV", 0) == 0;
        const bool version3 = what.rfind("SYS / # / OBS TYPES", 0) == 0;
        if (!version2 && !version3) continue;
        std::istringstream types(line.substr(version2 ? 6 : 7, kLabelColumn - (version2 ? 6 : 7)));
        std::string type;
        while (types >> type) {
            if (version2 && (type == "L2" || type == "P2" || type == "C2")) return true;
            if (version3 && type.size() == 3 && type.rfind("L2", 0) == 0) return true;
        }
    }
    return false;
}

int navigationSystems(const std::vector<std::string>& paths) {
    int mask = 0;
    for (const std::string& path : paths) {
        std::ifstream in(path, std::ios::binary);
        std::string first;
        if (!std::getline(in, first) || first.size() < 41) continue;
        const bool version2 = first.substr(0, 9).find("2.") != std::string::npos;
        const char kind = version2 ? first[20] : first[40];
        switch (kind) {
            case 'N':
            case 'G':
                mask |= version2 && kind == 'G' ? 4 : 1;
                break;
            case 'H':
            case 'S':
                mask |= 2;
                break;
            case 'R':
                mask |= 4;
                break;
            case 'E':
                mask |= 8;
                break;
            case 'J':
                mask |= 16;
                break;
            case 'C':
                mask |= 32;
                break;
            case 'I':
                mask |= 64;
                break;
            case 'M':
                mask |= 1 | 4 | 8 | 16 | 32;
                break;
            default:
                break;
        }
    }
    return mask == 0 ? 1 : mask;
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
                           const std::function<bool(double share)>& progress) {
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
        const ssize_t n = ::read(errors.ends[0], block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
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
                    if (!progress(share)) {
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
    progress(1.0);
    return RunOutcome::Done;
}

}  // namespace marvolt
