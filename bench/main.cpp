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
#include "epoch_key.h"
#include "line_list.h"
#include "measurement.h"
#include "modification.h"
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
constexpr double kTarget = 1.5;

const char* const kUsage =
    "Usage: marvolt-bench [--hours H] [--runs N]\n"
    "Generates H hours (1 to 24, default 24) of 1 Hz RINEX data and a time file of 200\n"
    "points in a temporary folder, and times the steps on them, each the best of N runs\n"
    "(1 to 20, default 3).\n";

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

class QuietView : public ResultView {
  public:
    void clearReport() override {}
    void addReportLine(const std::string&) override {}
    void showObservationDate(const std::string&) override {}
    void showFirstObservation(const std::string&) override {}
    void showShift(const std::string&, const std::string&) override {}
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
                             const LineList& lines) {
    std::vector<Match> matches;
    const std::string date = datePiece(observationDate);
    for (int row = 0; row < table.rowCount(); ++row) {
        const TimeRecord& record = table.row(row);
        const std::string stopKey = epochKey(date, timeOfDay(record.time(Field::Stop2)));
        const std::string goKey = epochKey(date, timeOfDay(record.time(Field::Go2)));
        for (std::size_t line = 0; line < lines.size(); ++line) {
            if (lineMatches(lines[line], stopKey)) matches.push_back({line, kStopFlag});
            if (lineMatches(lines[line], goKey)) matches.push_back({line, kGoFlag});
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
    std::printf("%-46s %9.3f %7.2f  %-15s %8.1f\n", row.what, row.timing.seconds,
                row.timing.seconds / row.floorSeconds, row.floorName,
                static_cast<double>(row.timing.peakBytes) / kMegabyte);
}

std::string verdict(double ratio) { return ratio <= kTarget ? "met" : "NOT met"; }

int run(int hours, int runs) {
    // Buffers of a megabyte or more always come fresh from the system and go back to it,
    // so no measurement finds its buffer already in memory from an earlier one.
    ::mallopt(M_MMAP_THRESHOLD, kFreshBufferSize);
    const ScratchFolder folder;
    const std::string rinex = folder.path + "/bench.11o";
    const std::string timeFile = folder.path + "/bench.txt";
    const std::string floorTarget = folder.path + "/floor.11o";

    std::printf("marvolt-bench: %d h of 1 Hz data, %d satellites, %d observation types\n", hours,
                kSatelliteCount, kObservationTypeCount);
    std::fflush(stdout);
    resetPeakMemory();
    const SurveyFile survey = writeRinexFile(rinex, hours);
    writeTimeFile(timeFile, hours);
    std::size_t overallPeak = peakMemory();
    const double fileBytes = static_cast<double>(survey.bytes);
    std::printf("file %s: %.1f MB, %zu lines, %d epochs; time file of %d points\n\n", rinex.c_str(),
                fileBytes / kMegabyte, survey.lines, survey.epochs, kPointCount);

    // Runs one measurement `runs` times and keeps the best time and the highest peak; each
    // run starts from a fresh peak of resident memory, with no earlier write still on its
    // way to the disk.
    const auto measure = [&](auto&& work) {
        Timing best;
        best.seconds = std::numeric_limits<double>::infinity();
        for (int run = 0; run < runs; ++run) {
            ::sync();
            resetPeakMemory();
            best.seconds = std::min(best.seconds, wallSeconds(work));
            best.peakBytes = std::max(best.peakBytes, peakMemory());
        }
        overallPeak = std::max(overallPeak, best.peakBytes);
        return best;
    };

    plainRead(rinex);  // untimed: brings the whole file into the page cache
    const Timing read = measure([&] { plainRead(rinex); });
    plainCopy(rinex, floorTarget);
    const Timing readWrite = measure([&] { plainReadWrite(rinex, floorTarget); });
    const Timing copy = measure([&] { plainCopy(rinex, floorTarget); });
    std::filesystem::remove(floorTarget);

    QuietServices services;
    QuietView view;
    double observationDate = 0.0;
    // Every import starts on an empty table, so that each run imports the same points.
    std::unique_ptr<TimeTable> table;
    const Timing import = measure([&] {
        table = std::make_unique<TimeTable>();
        table->open();
        runStep(services, "import", [&] { importTimeFile(timeFile, *table, services); });
    });
    AnalysisResult result;
    const Timing analysis = measure([&] {
        runStep(services, "analysis",
                [&] { result = analyseRinex(rinex, *table, observationDate, view, services); });
    });
    if (!result.allFound() || table->recordCount() != kPointCount)
        throw std::runtime_error("the analysis did not find every epoch: " + services.lastMessage);
    // Running the modification again gives the same file, so every run does the same work.
    const Timing modify = measure([&] {
        runStep(services, "modification", [&] {
            modifyRinex(result, {false, EventStyle::Flags}, services);
        });
    });
    const Timing modifyWithBackup = measure([&] {
        runStep(services, "modification", [&] {
            modifyRinex(result, {true, EventStyle::Flags}, services);
        });
    });
    std::vector<Match> matches;
    const Timing naive =
        measure([&] { matches = naiveScan(*table, observationDate, readLines(rinex)); });

    // Checked afterwards: the plain scan and the index agree, and the flags are written.
    const LineList flagged = readLines(rinex);
    bool flagsRight = matches.size() == 2u * kPointCount;
    for (const Match& match : matches)
        flagsRight = flagsRight && flagged[match.line][kEpochFlagPosition] == match.flag;
    if (!flagsRight) throw std::runtime_error("the flagged file does not hold every flag");

    const double backupFloor = readWrite.seconds + copy.seconds;
    const Row rows[] = {
        {"read: the file into one buffer", read, "read", read.seconds},
        {"read+write: buffer to a new file, fsync, rename", readWrite, "read+write",
         readWrite.seconds},
        {"copy: the file copied (as a backup is)", copy, "copy", copy.seconds},
        {"import of the time file", import, "read", read.seconds},
        {"analysis", analysis, "read", read.seconds},
        {"modification without backup", modify, "read+write", readWrite.seconds},
        {"modification with backup", modifyWithBackup, "read+write+copy", backupFloor},
        {"naive: read, every line x every key", naive, "read", read.seconds},
    };

    std::printf(
        "Each time is the best of %d runs, after one untimed read that brings the file into\n"
        "the page cache, so the floors are the cost of memory and system calls for a file in\n"
        "the cache. Before each run, earlier writes are flushed to disk (sync, untimed).\n"
        "Writes end with fsync and a rename over the old file, as the modification's safe\n"
        "rewrite does; the copy is the file system's, flushed, as the backup is. The naive loop\n"
        "reads the file as lines, then compares every line with the STOP and GO key of\n"
        "every point. ratio = wall time / floor. peak = highest resident memory of the\n"
        "process during the measurement.\n\n",
        runs);
    std::printf("%-46s %9s %7s  %-15s %8s\n", "measurement", "wall [s]", "ratio", "floor",
                "peak [MB]");
    for (const Row& row : rows) printRow(row);

    const double analysisRatio = analysis.seconds / read.seconds;
    const double modifyRatio = modify.seconds / readWrite.seconds;
    const double backupRatio = modifyWithBackup.seconds / backupFloor;
    const double peakRatio = static_cast<double>(overallPeak) / fileBytes;
    std::printf("\npeak resident memory over the run: %.1f MB = %.2f x the file (%.1f MB)\n",
                static_cast<double>(overallPeak) / kMegabyte, peakRatio, fileBytes / kMegabyte);
    std::printf(
        "targets (<= %.1f): analysis/read %s, modification/read+write %s, "
        "modification with backup/(read+write+copy) %s, peak/file %s\n",
        kTarget, verdict(analysisRatio).c_str(), verdict(modifyRatio).c_str(),
        verdict(backupRatio).c_str(), verdict(peakRatio).c_str());
    // The summary for scripts; the program never sets a locale, so the point is the C one.
    std::printf(
        "ratios: analysis/read=%.2f modify/readwrite=%.2f peak/file=%.2f "
        "naive/analysis=%.2f\n",
        analysisRatio, modifyRatio, peakRatio, naive.seconds / analysis.seconds);
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
    int hours = kMaxHours;
    int runs = kDefaultRuns;
    for (std::size_t i = 0; i < arguments.size(); i += 2) {
        const bool known = arguments[i] == "--hours" || arguments[i] == "--runs";
        const int value = i + 1 < arguments.size() ? wholeNumber(arguments[i + 1]) : 0;
        const int most = arguments[i] == "--hours" ? kMaxHours : kMaxRuns;
        if (!known || value < 1 || value > most) {
            std::fputs(kUsage, stderr);
            return kExitUsage;
        }
        (arguments[i] == "--hours" ? hours : runs) = value;
    }
    try {
        return run(hours, runs);
    } catch (const std::exception& failure) {
        std::fflush(stdout);
        std::fprintf(stderr, "marvolt-bench: %s\n", failure.what());
        return 2;
    }
}
