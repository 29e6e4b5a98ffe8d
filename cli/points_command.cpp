#include "points_command.h"

#include <unistd.h>

#include <cmath>
#include <iostream>
#include <memory>
#include <optional>

#include "analysis.h"
#include "file_path.h"
#include "locale_settings.h"
#include "points_report.h"
#include "rtklib_run.h"
#include "solution.h"
#include "survey_solution.h"
#include "time_file_import.h"
#include "time_system.h"
#include "watch_windows.h"

namespace marvolt::cli {

namespace {

constexpr double kSecondsPerDay = 86400.0;

// The analysis as the points need it: its report printed, STOP2 and GO2 written into the
// table, the observation date given back.
double analysedDate(const std::string& rinexPath, TimeTable& table, PrintingView& view,
                    Services& services) {
    HeldDate held;
    return printedAnalysis(rinexPath, table, held, view, services).observationDate;
}

// The solution read into the collector. Without a date, the windows are laid on the day of
// the solution's first epoch (receiver time taken as GPS time).
EpochCollector collectSolution(const std::string& path, const TimeTable& table,
                               std::optional<double> observationDate, TimeSystem system,
                               Services& services) {
    std::optional<EpochCollector> collector;
    if (observationDate) collector.emplace(watchWindows(table, *observationDate, system));
    readSolution(
        path, observationDate.value_or(0.0),
        [&](const SolutionEpoch& epoch) {
            if (!collector)
                collector.emplace(
                    watchWindows(table, std::floor(gpsDateTime(epoch.time)), TimeSystem::Gps));
            collector->add(epoch);
        },
        services);
    if (!collector) collector.emplace(watchWindows(table, 0.0, TimeSystem::Gps));
    collector->finish();
    return std::move(*collector);
}

// The share of a long step done, on one line of a terminal (standard error), redrawn in
// place and wiped when the step ends; nothing at all when standard error is no terminal.
class TerminalProgress {
  public:
    explicit TerminalProgress(std::string step)
        : step_(std::move(step)), shown_(::isatty(STDERR_FILENO) == 1) {}
    bool operator()(double share, GpsSeconds /*epoch*/) {
        const int percent = static_cast<int>(share * 100.0);
        if (shown_ && percent != *last_) {
            *last_ = percent;
            std::cerr << '\r' << step_ << ": " << percent << '%' << std::flush;
        }
        return true;
    }
    ~TerminalProgress() {
        if (shown_ && *last_ >= 0) std::cerr << '\r' << std::string(step_.size() + 6, ' ') << '\r';
    }

  private:
    std::string step_;
    bool shown_;
    std::shared_ptr<int> last_ = std::make_shared<int>(-1);  // shared by the copies
};

}  // namespace

int runPoints(const CommandLine& line, PrintingServices& services, std::ostream& out) {
    TimeTable table(localeFromEnvironment());
    table.open();
    PrintingView view(out);
    std::vector<PointResult> points;
    std::optional<double> offset;
    const bool ran = runOperation(services, [&] {
        importTimeFile(fullPath(line.timeFile), table, services);
        std::optional<double> observationDate;
        TimeSystem system = TimeSystem::Gps;
        std::string solution = line.solutionFile.empty() ? "" : fullPath(line.solutionFile);
        if (line.shiftSeconds) {
            const double shift = *line.shiftSeconds / kSecondsPerDay;
            view.showShift(shiftText(shift, table.locale()));
            table.setShiftedTimes(shift);
        } else {
            const std::string rinex = fullPath(line.rinexFile);
            observationDate = analysedDate(rinex, table, view, services);
            system = readTimeSystem(rinex);
            if (!line.baseFile.empty()) {
                std::vector<std::string> navigation;
                for (const std::string& nav : line.navFiles) navigation.push_back(fullPath(nav));
                solution = solutionPathFor(rinex);
                computeSolution({rinex, fullPath(line.baseFile), navigation}, solution,
                                TerminalProgress("rnx2rtkp"));
            }
        }
        const EpochCollector collector =
            collectSolution(solution, table, observationDate, system, services);
        SurveyPoints checked = checkedPoints(collector, line.trim, line.grid, services);
        points = std::move(checked.points);
        offset = checked.watchOffset;
        if (!line.csvFile.empty()) writePointsCsv(fullPath(line.csvFile), points);
    });
    if (!ran) return kExitFailed;

    out << pointsTable(points, line.grid != Grid::None);
    if (offset) out << watchOffsetLine(*offset) << '\n';
    for (const PointResult& point : points)
        if (point.state != PointState::Ok) return kExitPointsNotOk;
    return kExitDone;
}

}  // namespace marvolt::cli
