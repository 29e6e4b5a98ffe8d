#include "time_system.h"

#include <cmath>
#include <cstdio>

#include "date_time.h"
#include "failure.h"
#include "gps_time.h"
#include "observation_header.h"

namespace marvolt {

namespace {

constexpr int kBeiDouBehindGps = 14;
constexpr std::size_t kTimeSystemColumn = 48;  // columns 49-51
constexpr std::size_t kFileSystemColumn = 40;  // column 41 of "RINEX VERSION / TYPE"

}  // namespace

TimeSystem timeSystemOfRecord(std::string_view record, char fileSystem) {
    std::string_view name =
        record.size() > kTimeSystemColumn ? record.substr(kTimeSystemColumn, 3) : "";
    while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    if (name.empty())
        return fileSystem == 'R'   ? TimeSystem::Glonass
               : fileSystem == 'E' ? TimeSystem::Galileo
                                   : TimeSystem::Gps;
    if (name == "GPS") return TimeSystem::Gps;
    if (name == "GLO") return TimeSystem::Glonass;
    if (name == "GAL") return TimeSystem::Galileo;
    if (name == "BDT") return TimeSystem::BeiDou;
    if (name == "QZS") return TimeSystem::Qzss;
    throw Failure("Nieznany system czasu \"" + std::string(name) + "\" w pliku RINEX");
}

TimeSystem readTimeSystem(const std::string& path) {
    const std::vector<std::string> header = readHeaderLines(path);
    const char fileSystem = !header.empty() && header[0].size() > kFileSystemColumn
                                ? header[0][kFileSystemColumn]
                                : 'G';
    for (const std::string& line : header)
        if (isFirstObservationRecord(line)) return timeSystemOfRecord(line, fileSystem);
    return TimeSystem::Gps;
}

GpsSeconds gpsSeconds(double dateTime, TimeSystem system) {
    const double seconds = dateTimeSeconds(dateTime);
    switch (system) {
        case TimeSystem::Glonass:
            return gpsFromUtc(seconds);
        case TimeSystem::BeiDou:
            return seconds + kBeiDouBehindGps;
        default:
            return seconds;
    }
}

double gpsDateTime(GpsSeconds time) { return kGpsStartDateTime + time / kSecondsPerDay; }

std::string isoGpsTime(GpsSeconds time) {
    const long long tenths = std::llround(time * 10.0);
    const long long days = tenths / 864000;
    const long long ofDay = tenths % 864000;
    const CalendarDate date = decodeDate(kGpsStartDateTime + static_cast<double>(days));
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02lld:%02lld:%02lld.%lld", date.year,
                  date.month, date.day, ofDay / 36000, ofDay / 600 % 60, ofDay / 10 % 60,
                  ofDay % 10);
    return text;
}

}  // namespace marvolt
