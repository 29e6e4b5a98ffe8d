// marvolt-bench: times the import, the analysis and the modification on a generated day of
// 1 Hz data against the plain read and write of the same file, and the plain scan of every
// line for every key that the index replaces.

#include <malloc.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis.h"
#include "analysis_report.h"
#include "epoch_key.h"
#include "measurement.h"
#include "modification.h"
#include "rinex_oracle.h"
#include "solution_bench.h"
#include "survey_files.h"
#include "time_file_import.h"

namespace marvolt::bench {
namespace {

constexpr int kExitUsage = 64;
constexpr int kMaxHours = 24;
constexpr int kDefaultRuns = 3;
constexpr int kMaxRuns = 20;
constexpr int kFreshBufferSize = 1 << 20;
constexpr double kMillisecondsPerDay = 86400000.0;
constexpr double kMegabyte = 1e6;
constexpr double kAnalysisTarget = 2.0;  // x the block read
constexpr double kCopyTarget = 1.5;      // x the kernel copy, for a file kept as it is
constexpr double kStreamTarget = 1.2;    // x the streamed rewrite, for any other
constexpr double kPeakTargetMegabytes = 64.0;
constexpr int kMaxRate = 20;
constexpr int kImportRows = 1000000;
constexpr double kImportTargetSeconds = 3.0;

const char* const kUsage =
    "Usage: marvolt-bench [--hours H] [--runs N] [--rate R] [--line-ends crlf|lf]\n"
    "       marvolt-bench --import\n"
    "       marvolt-bench --solution [--runs N]\n"
    "Generates H hours (1 to 24, default 24) of RINEX data at R epochs a second (1 to 20,\n"
    "default 1) with CR LF (default) or LF line ends, and a time file of 200 points, in a\n"
    "temporary folder, and times the steps on them, each the best of N runs (1 to 20,\n"
    "default 3). With --import it times only the import of a time file of 1,000,000 points\n"
    "in random STOP order. With --solution it times the reading of a day of solution epochs\n"
    "at 1 Hz and at 20 Hz.\n";

// A whole number written in decimal digits only; 0 for anything else.
int wholeNumber(const std::string& text) {
    if (text.empty() || text.size() > 4 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    return std::stoi(text);
}

// Keeps the last texts shown.
class QuietServices : public Services {
  public:
    std::string lastMessage;
    std::string error;

    void message(const std::string& text) override { lastMessage = text; }
    void errorBox(const std::string& text) override { error = text; }
    void busyCursor() override {}
    void normalCursor() override {}
};

// A folder of its own under the system's temporary folder, removed at the end.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "marvolt-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
        path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string path;
};

// Wall time of one measurement and the peak of resident memory during it.
struct Timing {
    double seconds = 0.0;
    std::size_t peakBytes = 0;
};

// A line of the table: a measurement against its floor.
struct Row {
    const char* what;
    Timing timing;
    const char* floorName;
    double floorSeconds;
    double target;  // the ratio not to pass; 0 for none
};

double timeOfDay(const std::optional<std::int32_t>& milliseconds) {
    return milliseconds ? *milliseconds / kMillisecondsPerDay : 0.0;
}

// A matched epoch line and the flag the modification should have left on it.
struct Match {
    std::size_t line;
    char flag;
};

// The plain scan: every line of the file compared with the STOP and the GO key of every
// point, in STOP order.
std::vector<Match> naiveScan(const TimeTable& table, double observationDate,
                             const oracle::WholeFileLines& lines) {
    std::vector<Match> matches;
    const std::string date = oracle::datePiece(observationDate);
    for (int row = 0; row < table.rowCount(); ++row) {
        const TimeRecord& record = table.row(row);
        const std::string stopKey = epochKey(date, timeOfDay(record.time(Field::Stop2)));
        const std::string goKey = epochKey(date, timeOfDay(record.time(Field::Go2)));
        for (std::size_t line = 0; line < lines.size(); ++line) {
            if (oracle::lineMatches(lines[line], stopKey)) matches.push_back({line, kStopFlag});
            if (oracle::lineMatches(lines[line], goKey)) matches.push_back({line, kGoFlag});
        }
    }
    return matches;
}

// Runs one step of the work; a failure ends the benchmark with its text.
template <typename Step>
void runStep(QuietServices& services, const char* name, Step&& step) {
    if (!runOperation(services, step)) throw std::runtime_error(name + (": " + services.error));
}

void printRow(const Row& row) {
    char target[16] = "";
    if (row.target > 0) std::snprintf(target, sizeof target, "%.1f", row.target);
    std::printf("%-52s %9.3f %7.2f %7s  %-14s %8.1f\n", row.what, row.timing.seconds,
                row.timing.seconds / row.floorSeconds, target, row.floorName,
                static_cast<double>(row.timing.peakBytes) / kMegabyte);
}

// What one run of the benchmark works on.
struct Setup {
    int hours = kMaxHours;
    int runs = kDefaultRuns;
    int rate = 1;      // epochs a second
    bool crLf = true;  // CR LF line ends, as the modification writes them
};

int run(const Setup& setup) {
    // Buffers of a megabyte or more always come fresh from the system and go back to it,
    // so no measurement finds its buffer already in memory from an earlier one.
    ::mallopt(M_MMAP_THRESHOLD, kFreshBufferSize);
    const ScratchFolder folder;
    const std::string rinex = folder.path + "/bench.11o";
    const std::string timeFile = folder.path + "/bench.txt";
    const std::string floorTarget = folder.path + "/floor.11o";
    const std::string pristine = folder.path + "/pristine.11o";

    std::printf(
        "marvolt-bench: %d h of %d Hz data, %d satellites, %d observation types, %s line "
        "ends\n",
        setup.hours, setup.rate, kSatelliteCount, kObservationTypeCount,
        setup.crLf ? "CR LF" : "LF");
    std::fflush(stdout);
    const SurveyFile survey =
        writeRinexFile(rinex, setup.hours, setup.rate, setup.crLf ? "\r\n" : "\n");
    writeTimeFile(timeFile, setup.hours);
    plainCopy(rinex, pristine);
    const double fileBytes = static_cast<double>(survey.bytes);
    std::printf("file %s: %.1f MB, %zu lines, %d epochs; time file of %d points\n\n", rinex.c_str(),
                fileBytes / kMegabyte, survey.lines, survey.epochs, kPointCount);

    // Runs one measurement `runs` times and keeps the best time and the highest peak; each
    // run starts, after `prepare` (untimed), from a fresh peak of resident memory, with no
    // earlier write still on its way to the disk.
    const auto measure = [&](auto&& work, auto&& prepare) {
        Timing best;
        best.seconds = std::numeric_limits<double>::infinity();
        for (int run = 0; run < setup.runs; ++run) {
            prepare();
            ::sync();
            resetPeakMemory();
            best.seconds = std::min(best.seconds, wallSeconds(work));
            best.peakBytes = std::max(best.peakBytes, peakMemory());
        }
        return best;
    };
    const auto nothing = [] {};

    blockRead(rinex);  // untimed: brings the whole file into the page cache
    const Timing read = measure([&] { blockRead(rinex); }, nothing);
    kernelCopy(rinex, floorTarget);
    const Timing stream = measure([&] { streamedReadWrite(rinex, floorTarget); }, nothing);
    const Timing copy = measure([&] { kernelCopy(rinex, floorTarget); }, nothing);
    const Timing backupCopy = measure([&] { plainCopy(rinex, floorTarget); }, nothing);
    std::filesystem::remove(floorTarget);

    QuietServices services;
    HeldDate held;
    // Every import starts on an empty table, so that each run imports the same points.
    std::unique_ptr<TimeTable> table;
    const Timing import = measure(
        [&] {
            table = std::make_unique<TimeTable>();
            table->open();
            runStep(services, "import", [&] { importTimeFile(timeFile, *table, services); });
        },
        nothing);
    AnalysisResult result;
    const auto analyse = [&] {
        runStep(services, "analysis", [&] {
            result = analyseRinex(rinex, *table, held);
            writeShiftedTimes(result, *table);
            showReport(result, services, [](const std::string&) {});
        });
    };
    const Timing analysis = measure(analyse, nothing);
    if (!result.allFound() || table->recordCount() != kPointCount)
        throw std::runtime_error("the analysis did not find every epoch: " + services.lastMessage);

    // Each modification starts from the generated file, analysed again (untimed), as a
    // surveyor's does.
    const auto fresh = [&] {
        kernelCopy(pristine, rinex);
        analyse();
    };
    const auto modifyWith = [&](ModificationOptions options) {
        return measure(
            [&] {
                runStep(services, "modification", [&] { modifyRinex(result, options, services); });
            },
            fresh);
    };
    const Timing flags = modifyWith({false, EventStyle::Flags});
    const Timing flagsWithBackup = modifyWith({true, EventStyle::Flags});
    const Timing records = modifyWith({false, EventStyle::Records});

    // The plain scan holds the whole file: only for 1 Hz files.
    std::vector<Match> matches;
    fresh();
    modifyRinex(result, {false, EventStyle::Flags}, services);
    const bool naiveRuns = setup.rate == 1;
    const Timing naive =
        naiveRuns
            ? measure(
                  [&] { matches = naiveScan(*table, held.date(), oracle::readWholeFile(rinex)); },
                  nothing)
            : Timing{};
    if (naiveRuns) {
        // Checked afterwards: the plain scan and the result agree, and the flags are written.
        const oracle::WholeFileLines flagged = oracle::readWholeFile(rinex);
        bool flagsRight = matches.size() == 2u * kPointCount;
        for (const Match& match : matches)
            flagsRight = flagsRight && flagged[match.line][kEpochFlagPosition] == match.flag;
        if (!flagsRight) throw std::runtime_error("the flagged file does not hold every flag");
    }

    // A file that needs no line-end change is modified by a copy in the kernel; any other, and
    // the event records, by a streamed rewrite.
    const Timing& flagsFloor = setup.crLf ? copy : stream;
    const double flagsTarget = setup.crLf ? kCopyTarget : kStreamTarget;
    const Row rows[] = {
        {"read: 1 MiB blocks into one buffer", read, "read", read.seconds, 0},
        {"stream: 1 MiB blocks to a new file, fsync, rename", stream, "stream", stream.seconds, 0},
        {"copy: copy_file_range to a new file, fsync, rename", copy, "copy", copy.seconds, 0},
        {"backup copy: the file system's copy, fsync", backupCopy, "backup copy",
         backupCopy.seconds, 0},
        {"import of the time file", import, "read", read.seconds, 0},
        {"analysis", analysis, "read", read.seconds, kAnalysisTarget},
        {"modification, flags, no backup", flags, setup.crLf ? "copy" : "stream",
         flagsFloor.seconds, flagsTarget},
        {"modification, flags, with backup", flagsWithBackup,
         setup.crLf ? "copy+backup" : "stream+backup", flagsFloor.seconds + backupCopy.seconds,
         flagsTarget},
        {"modification, event records, no backup", records, "stream", stream.seconds,
         kStreamTarget},
        {"naive: read, every line x every key", naive, "read", read.seconds, 0},
    };

    std::printf(
        "Each time is the best of %d runs, after one untimed read that brings the file into\n"
        "the page cache, so the floors are the cost of memory and system calls for a file in\n"
        "the cache. Before each run, earlier writes are flushed to disk (sync, untimed), and\n"
        "each modification runs on the generated file just analysed (untimed). Writes end\n"
        "with fsync and a rename over the old file, as the modification's safe rewrite does.\n"
        "The naive loop (1 Hz only) reads the file as lines, then compares every line with\n"
        "the STOP and GO key of every point. ratio = wall time / floor. peak = highest\n"
        "resident memory of the process during the measurement.\n\n",
        setup.runs);
    std::printf("%-52s %9s %7s %7s  %-14s %8s\n", "measurement", "wall [s]", "ratio", "target",
                "floor", "peak [MB]");
    bool met = true;
    for (const Row& row : rows) {
        if (&row == &rows[std::size(rows) - 1] && !naiveRuns) continue;
        printRow(row);
        met = met && (row.target == 0 || row.timing.seconds / row.floorSeconds <= row.target);
    }

    std::size_t peak = 0;
    for (const Timing* timing : {&analysis, &flags, &flagsWithBackup, &records})
        peak = std::max(peak, timing->peakBytes);
    const double peakMegabytes = static_cast<double>(peak) / kMegabyte;
    std::printf(
        "\npeak resident memory of the analysis and the modifications: %.1f MB (target "
        "%.0f MB) for a file of %.1f MB\n",
        peakMegabytes, kPeakTargetMegabytes, fileBytes / kMegabyte);
    met = met && peakMegabytes < kPeakTargetMegabytes;
    std::printf("targets %s\n", met ? "met" : "NOT met");
    // The summary for scripts; the program never sets a locale, so the point is the C one.
    std::printf("ratios: analysis/read=%.2f modify/readwrite=%.2f peak/file=%.2f ",
                analysis.seconds / read.seconds, flags.seconds / flagsFloor.seconds,
                static_cast<double>(peak) / fileBytes);
    if (naiveRuns)
        std::printf("naive/analysis=%.2f", naive.seconds / analysis.seconds);
    else
        std::printf("naive/analysis=-");
    std::printf(" peakMB=%.1f\n", peakMegabytes);
    return 0;
}

// The import of a time file of a million points in random STOP order, each point put in
// its place as it comes.
int runImport() {
    const ScratchFolder folder;
    const std::string timeFile = folder.path + "/points.txt";
    writeShuffledTimeFile(timeFile, kImportRows);
    QuietServices services;
    TimeTable table;
    table.open();
    const double seconds = wallSeconds(
        [&] { runStep(services, "import", [&] { importTimeFile(timeFile, table, services); }); });
    if (table.recordCount() != kImportRows)
        throw std::runtime_error("the import did not take every point: " + services.lastMessage);
    std::printf("import of %d points in random STOP order: %.2f s (target %.0f s): %s\n",
                kImportRows, seconds, kImportTargetSeconds,
                seconds <= kImportTargetSeconds ? "met" : "NOT met");
    return 0;
}

}  // namespace
}  // namespace marvolt::bench

int main(int argc, char** argv) {
    using namespace marvolt::bench;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() == 1 && arguments[0] == "--help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    Setup setup;
    if (arguments.size() == 1 && arguments[0] == "--import") {
        try {
            return runImport();
        } catch (const std::exception& failure) {
            std::fprintf(stderr, "marvolt-bench: %s\n", failure.what());
            return 2;
        }
    }
    const bool solution = !arguments.empty() && arguments[0] == "--solution";
    for (std::size_t i = solution ? 1 : 0; i < arguments.size(); i += 2) {
        const std::string& name = arguments[i];
        const std::string value = i + 1 < arguments.size() ? arguments[i + 1] : "";
        const int number = wholeNumber(value);
        // A number option: its value within 1 to `most`, kept in `field`.
        const auto numberOption = [&](int most, int& field) {
            field = number;
            return number >= 1 && number <= most;
        };
        bool good = false;
        if (name == "--hours") {
            good = numberOption(kMaxHours, setup.hours);
        } else if (name == "--runs") {
            good = numberOption(kMaxRuns, setup.runs);
        } else if (name == "--rate") {
            good = numberOption(kMaxRate, setup.rate);
        } else if (name == "--line-ends") {
            good = value == "crlf" || value == "lf";
            setup.crLf = value == "crlf";
        }
        if (!good) {
            std::fputs(kUsage, stderr);
            return kExitUsage;
        }
    }
    try {
        if (solution) return runSolutionBench(setup.runs);
        return run(setup);
    } catch (const std::exception& failure) {
        std::fflush(stdout);
        std::fprintf(stderr, "marvolt-bench: %s\n", failure.what());
        return 2;
    }
}
