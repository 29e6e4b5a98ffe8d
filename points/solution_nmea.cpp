#include "solution_nmea.h"

#include <cmath>

#include "ecef.h"
#include "failure.h"
#include "gps_time.h"
#include "solution_fields.h"

namespace marvolt {
namespace {

constexpr std::size_t kMostFields = 32;
constexpr std::size_t kGgaFields = 12;  // through the geoid separation
constexpr std::size_t kRmcFields = 10;  // through the date
constexpr std::size_t kZdaFields = 5;   // through the year
constexpr double kHalfDay = kSecondsPerDay / 2;

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The body between "$" and "*hh"; false when the checksum is there and wrong.
bool checkedBody(std::string_view line, std::string_view& body) {
    const std::size_t star = line.rfind('*');
    body = line.substr(1, star == std::string_view::npos ? star : star - 1);
    if (star == std::string_view::npos) return true;
    if (line.size() != star + 3) return false;
    const int high = hexDigit(line[star + 1]), low = hexDigit(line[star + 2]);
    if (high < 0 || low < 0) return false;
    unsigned sum = 0;
    for (char c : body) sum ^= static_cast<unsigned char>(c);
    return sum == static_cast<unsigned>(high * 16 + low);
}

// "hhmmss" or "hhmmss.ss" as seconds since midnight.
bool readTimeOfDay(std::string_view text, double& seconds) {
    int hour = 0, minute = 0;
    double second = 0.0;
    if (text.size() < 6 || !readWhole(text.substr(0, 2), 0, 23, hour) ||
        !readWhole(text.substr(2, 2), 0, 59, minute) || !readDecimal(text.substr(4), second) ||
        second < 0.0 || second >= 61.0)
        return false;
    seconds = hour * 3600.0 + minute * 60.0 + second;
    return true;
}

// "ddmm.mmm" or "dddmm.mmm" with its hemisphere, as degrees.
bool readAngle(std::string_view text, std::string_view hemisphere, char negative, char positive,
               double& degrees) {
    double value = 0.0;
    if (!readDecimal(text, value) || value < 0.0 || hemisphere.size() != 1 ||
        (hemisphere[0] != negative && hemisphere[0] != positive))
        return false;
    const double whole = std::floor(value / 100.0);
    const double minutes = value - whole * 100.0;
    if (minutes >= 60.0) return false;
    degrees = whole + minutes / 60.0;
    if (hemisphere[0] == negative) degrees = -degrees;
    return true;
}

bool readGga(const std::string_view* f, std::size_t count, NmeaSentence& sentence) {
    int quality = 0;
    if (count < kGgaFields || !readWhole(f[6], 0, 9, quality)) return false;
    static constexpr SolutionQuality kQualities[] = {
        SolutionQuality::Single, SolutionQuality::Single, SolutionQuality::Dgps,
        SolutionQuality::Single, SolutionQuality::Fix,    SolutionQuality::Float};
    if (quality != 1 && quality != 2 && quality != 4 && quality != 5) return true;
    double latitude = 0.0, longitude = 0.0, altitude = 0.0, separation = 0.0;
    SolutionEpoch& epoch = sentence.epoch;
    epoch.satellites = 0;
    if (!readTimeOfDay(f[1], sentence.timeOfDay) || !readAngle(f[2], f[3], 'S', 'N', latitude) ||
        latitude > 90.0 || !readAngle(f[4], f[5], 'W', 'E', longitude) || longitude > 180.0 ||
        (!f[7].empty() && !readWhole(f[7], 0, 999, epoch.satellites)) ||
        !readDecimal(f[9], altitude) || (!f[11].empty() && !readDecimal(f[11], separation)))
        return false;
    const Ecef position = toEcef(Geodetic{latitude * kRadiansPerDegree,
                                          longitude * kRadiansPerDegree, altitude + separation});
    epoch.x = position.x;
    epoch.y = position.y;
    epoch.z = position.z;
    epoch.quality = kQualities[quality];
    epoch.sd.reset();
    epoch.velocity.reset();
    sentence.kind = NmeaSentence::Kind::Position;
    return true;
}

// A date, read or not there: false only when it is there and wrong.
bool takeDate(std::string_view time, int year, int month, int day, NmeaSentence& sentence) {
    if (!readTimeOfDay(time, sentence.timeOfDay)) return false;
    sentence.day = daySeconds(year, month, day);
    sentence.kind = NmeaSentence::Kind::Date;
    return true;
}

bool readRmc(const std::string_view* f, std::size_t count, NmeaSentence& sentence) {
    if (count < kRmcFields) return false;
    if (f[1].empty() || f[9].empty()) return true;
    int day = 0, month = 0, year = 0;
    if (f[9].size() != 6 || !readWhole(f[9].substr(0, 2), 1, 31, day) ||
        !readWhole(f[9].substr(2, 2), 1, 12, month) || !readWhole(f[9].substr(4, 2), 0, 99, year))
        return false;
    return takeDate(f[1], year < 80 ? 2000 + year : 1900 + year, month, day, sentence);
}

bool readZda(const std::string_view* f, std::size_t count, NmeaSentence& sentence) {
    if (count < kZdaFields) return false;
    if (f[1].empty() || f[2].empty() || f[3].empty() || f[4].empty()) return true;
    int day = 0, month = 0, year = 0;
    if (!readWhole(f[2], 1, 31, day) || !readWhole(f[3], 1, 12, month) ||
        !readWhole(f[4], 1980, 2999, year))
        return false;
    return takeDate(f[1], year, month, day, sentence);
}

// The instant at `timeOfDay` on the day that brings it within half a day of `reference`.
double nearestInstant(double reference, double timeOfDay) {
    double instant = std::floor(reference / kSecondsPerDay) * kSecondsPerDay + timeOfDay;
    if (instant - reference > kHalfDay) instant -= kSecondsPerDay;
    if (reference - instant > kHalfDay) instant += kSecondsPerDay;
    return instant;
}

}  // namespace

bool readNmeaSentence(std::string_view line, NmeaSentence& sentence) {
    sentence.kind = NmeaSentence::Kind::Other;
    std::string_view body;
    if (line.empty() || line[0] != '$' || !checkedBody(line, body)) return false;
    std::string_view f[kMostFields];
    const std::size_t count = cutAt(body, ',', f, kMostFields);
    if (count > kMostFields || f[0].size() != 5) return count <= kMostFields;
    const std::string_view type = f[0].substr(2);
    if (type == "GGA") return readGga(f, count, sentence);
    if (type == "RMC") return readRmc(f, count, sentence);
    if (type == "ZDA") return readZda(f, count, sentence);
    return true;
}

NmeaDating::NmeaDating(const std::string& path, double observationDate,
                       const std::function<void(const SolutionEpoch&)>& emit)
    : path_(path), observationDate_(observationDate), emit_(emit) {}

void NmeaDating::date(double utc) {
    reference_ = utc;
    known_ = true;
    // The waiting epochs came before this date: each is dated from the one after it.
    double after = utc;
    for (auto held = held_.rbegin(); held != held_.rend(); ++held) {
        held->time = nearestInstant(after, held->time);
        after = held->time;
    }
    for (const SolutionEpoch& held : held_) emit(held.time, held);
    held_.clear();
    held_.shrink_to_fit();
}

void NmeaDating::position(double timeOfDay, const SolutionEpoch& epoch) {
    if (!known_) {
        held_.push_back(epoch);
        held_.back().time = timeOfDay;
        if (held_.size() >= kMostHeld) releaseByObservationDate();
        return;
    }
    reference_ = nearestInstant(reference_, timeOfDay);
    emit(reference_, epoch);
}

void NmeaDating::finish() {
    if (!held_.empty()) releaseByObservationDate();
}

void NmeaDating::emit(double utc, SolutionEpoch epoch) {
    epoch.time = gpsFromUtc(utc);
    emit_(epoch);
}

void NmeaDating::releaseByObservationDate() {
    if (observationDate_ == 0.0)
        throw Failure("Plik \"" + path_ +
                      "\" nie zawiera daty (zdań RMC ani ZDA); podaj też plik RINEX.");
    const bool wholeDay = observationDate_ == std::floor(observationDate_);
    reference_ = dateTimeSeconds(observationDate_) + (wholeDay ? kHalfDay : 0.0);
    known_ = true;
    std::vector<SolutionEpoch> held;
    held.swap(held_);
    for (const SolutionEpoch& epoch : held) position(epoch.time, epoch);
}

}  // namespace marvolt
