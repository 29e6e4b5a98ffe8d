#include "survey_solution.h"

#include "services.h"
#include "text_encoding.h"

namespace marvolt {

EpochCollector collectSurvey(const std::string& solution, const AnalysedSurvey& survey,
                             Services& services) {
    EpochCollector collector(survey.windows);
    readSolution(
        solution, survey.observationDate, [&](const SolutionEpoch& epoch) { collector.add(epoch); },
        services);
    collector.finish();
    return collector;
}

void addGridCoordinates(std::vector<PointResult>& points, Grid grid, Services& services) {
    if (grid == Grid::None) return;
    GridConverter converter(grid);
    for (PointResult& point : points) {
        if (point.coordinate.epochsUsed == 0) continue;
        point.grid = converter.convert(point.coordinate.lat, point.coordinate.lon);
        if (!point.grid)
            services.message("Punkt " + cp1250ToUtf8(point.window.name) +
                             " leży poza obszarem układu " + gridName(grid) +
                             "; pominąłem jego współrzędne płaskie.");
    }
}

SurveyPoints checkedPoints(const EpochCollector& collector, double trim, Grid grid,
                           Services& services) {
    SurveyPoints result{surveyPoints(collector, trim), std::nullopt};
    addGridCoordinates(result.points, grid, services);
    result.watchOffset = watchOffset(result.points, collector.tolerance());
    return result;
}

}  // namespace marvolt
