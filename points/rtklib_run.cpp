#include "rtklib_run.h"

#include <algorithm>
#include <cerrno>

#include "block_writer.h"
#include "failure.h"
#include "file_io.h"
#include "rtklib_inputs.h"
#include "rtklib_process.h"
#include "temporary_file.h"

namespace marvolt {
namespace {

constexpr const char* kProgram = "rnx2rtkp";
constexpr double kShareStep = 0.001;  // the least change of share reported
constexpr int kQuietAsk = 200;        // ms: how often progress is asked while all is quiet

void writeText(int fd, const std::string& text) {
    if (!writeAll(fd, text.data(), text.size())) throw streamWriteError();
}

// True when the file behind `fd` holds a line that is not a "%" header line.
bool holdsSolution(int fd) {
    constexpr std::size_t kBlock = 65536;
    std::uint64_t offset = 0;
    bool lineStart = true;
    for (;;) {
        const std::string block = readBytesAt(fd, offset, kBlock);
        if (block.empty()) return false;
        for (const char c : block) {
            if (lineStart && c != '%' && c != '\n' && c != '\r') return true;
            lineStart = c == '\n';
        }
        offset += block.size();
    }
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
    const std::string program = findRtklibProgram(kProgram);
    const Replacement replacement = prepareReplacement(output);
    const auto [first, last] = observationSpan(inputs.rover);

    TemporaryFile configuration(replacement.target + ".rnx2rtkp", output);
    writeText(configuration.fd(), rtklibConfiguration(hasSecondFrequency(inputs.rover),
                                                      navigationSystems(inputs.navigation)));
    TemporaryFile solution(replacement.target, output);
    std::vector<std::string> arguments = {kProgram, "-k", RtklibProcess::passedName(configuration),
                                          inputs.rover, inputs.base};
    arguments.insert(arguments.end(), inputs.navigation.begin(), inputs.navigation.end());

    RtklibProcess child(program, arguments, solution.fd(), configuration.fd());

    // The standard error: progress lines ended by CR, messages by LF.
    std::string pending, lastMessage;
    double latest = -1.0, shown = -1.0;
    bool backward = false;
    char block[4096];
    for (;;) {
        if (!child.errorsWaiting(kQuietAsk)) {
            if (!progress(std::max(shown, 0.0), std::max(latest, 0.0))) {
                child.stop();
                return RunOutcome::Stopped;
            }
            continue;
        }
        const std::size_t n = child.readErrors(block, sizeof block);
        if (n == 0) break;
        for (std::size_t i = 0; i < n; ++i) {
            if (block[i] != '\r' && block[i] != '\n') {
                if (pending.size() < 1024) pending += block[i];
                continue;
            }
            if (const auto time = progressTime(pending)) {
                backward = backward || *time < latest;
                latest = std::max(latest, *time);
                const double share = progressShare(*time, first, last, backward);
                if (share >= shown + kShareStep) {
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
    if (!child.succeeded())
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
