#include "watch_windows.h"

#include "date_time.h"

namespace marvolt {

std::vector<WatchWindow> watchWindows(const TimeTable& table, double observationDate,
                                      TimeSystem system) {
    std::vector<WatchWindow> windows;
    for (int i = 0; i < table.recordCount(); ++i) {
        const TimeRecord& record = table.record(i);
        const auto onGpsTime = [&](Field field) {
            const auto& time = record.time(field);
            return gpsSeconds(observationDate + (time ? timeValue(*time) : 0.0), system);
        };
        windows.push_back({record.punkt, onGpsTime(Field::Stop2), onGpsTime(Field::Go2)});
    }
    return windows;
}

AnalysedSurvey analysedSurvey(const std::string& rinex, double observationDate,
                              const TimeTable& table) {
    return {rinex, observationDate, watchWindows(table, observationDate, readTimeSystem(rinex))};
}

}  // namespace marvolt
