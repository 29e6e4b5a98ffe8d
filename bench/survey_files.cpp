#include "survey_files.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>

namespace marvolt::bench {

namespace {

constexpr int kYear = 2011, kMonth = 6, kDay = 4;
constexpr int kSecondsPerHour = 3600;
constexpr int kWatchAhead = 2 * 60 + 35;
constexpr double kPi = 3.14159265358979323846;
constexpr double kL1Wavelength = 0.190293672798365;
constexpr double kL2Wavelength = 0.244210213424568;
constexpr int kPrns[kSatelliteCount] = {2, 5, 7, 10, 13, 15, 17, 20, 24, 26, 28, 30};
constexpr std::size_t kChunk = 1 << 20;
constexpr std::size_t kObservationsPerLine = 5;

std::string headerRecord(const std::string& content, const char* label) {
    std::string line = content;
    line.resize(60, ' ');
    return line + label + "\n";
}

std::string header(int hours, int rate) {
    char time[64];
    std::string text =
        headerRecord("     2.11           OBSERVATION DATA    G (GPS)", "RINEX VERSION / TYPE") +
        headerRecord("marvolt-bench       MARVOLT             20110604 235959 UTC",
                     "PGM / RUN BY / DATE") +
        headerRecord("Generated " + std::to_string(rate) + " Hz data for timing Marvolt",
                     "COMMENT") +
        headerRecord("BENCH", "MARKER NAME") +
        headerRecord("  3662541.2183  1405872.5906  5019963.4471", "APPROX POSITION XYZ") +
        headerRecord("        1.5000        0.0000        0.0000", "ANTENNA: DELTA H/E/N") +
        headerRecord("     1     1", "WAVELENGTH FACT L1/2") +
        headerRecord("     9    C1    L1    L2    P1    P2    D1    D2    S1    S2",
                     "# / TYPES OF OBSERV") +
        headerRecord(rate == 1 ? "     1.000" : "     0.050", "INTERVAL");
    std::snprintf(time, sizeof time, "%6d%6d%6d%6d%6d%13.7f     GPS", kYear, kMonth, kDay, 0, 0,
                  0.0);
    text += headerRecord(time, "TIME OF FIRST OBS");
    const int last = hours * kSecondsPerHour - 1;
    std::snprintf(time, sizeof time, "%6d%6d%6d%6d%6d%13.7f     GPS", kYear, kMonth, kDay,
                  last / 3600, last / 60 % 60, last % 60 + (rate - 1.0) / rate);
    text += headerRecord(time, "TIME OF LAST OBS");
    return text + headerRecord("", "END OF HEADER");
}

// Appends a value as the F14.3 field of an observation, then its loss-of-lock indicator
// (blank) and signal strength (a digit, or blank for 0).
void appendObservation(std::string& out, double value, int strength) {
    char field[16];
    std::memset(field, ' ', sizeof field);
    std::int64_t thousandths = std::llround(value * 1000.0);
    const bool negative = thousandths < 0;
    std::uint64_t magnitude = negative ? -static_cast<std::uint64_t>(thousandths) : thousandths;
    int position = 13;
    for (int digit = 0; digit < 3; ++digit, magnitude /= 10)
        field[position--] = static_cast<char>('0' + magnitude % 10);
    field[position--] = '.';
    do {
        field[position--] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0 && position >= 0);
    if (negative && position >= 0) field[position] = '-';
    if (strength > 0) field[15] = static_cast<char>('0' + strength);
    out.append(field, sizeof field);
}

// One satellite over the day: its range swings with half a sidereal day.
struct Track {
    double range, amplitude, phase, ambiguity1, ambiguity2;
};

void appendSatellite(std::string& out, const Track& track, double second) {
    const double omega = 2.0 * kPi / 43082.0;
    const double angle = omega * second + track.phase;
    const double range = track.range + track.amplitude * std::sin(angle);
    const double rate = track.amplitude * omega * std::cos(angle);
    const double iono = 4.0 + 2.0 * std::sin(angle / 2.0);
    const double snr = 44.0 + 6.0 * std::cos(angle);
    const int strength = static_cast<int>(snr / 6.0);
    const double observations[kObservationTypeCount] = {
        range + 0.3,                                               // C1
        range / kL1Wavelength + track.ambiguity1,                  // L1
        (range + 0.65 * iono) / kL2Wavelength + track.ambiguity2,  // L2
        range + 0.1,                                               // P1
        range + 1.65 * iono,                                       // P2
        -rate / kL1Wavelength,                                     // D1
        -rate / kL2Wavelength,                                     // D2
        snr,                                                       // S1
        snr - 6.0,                                                 // S2
    };
    for (std::size_t i = 0; i < kObservationTypeCount; ++i) {
        const bool phase = i == 1 || i == 2;
        appendObservation(out, observations[i], phase ? strength : 0);
        if ((i + 1) % kObservationsPerLine == 0 || i + 1 == kObservationTypeCount) out += '\n';
    }
}

// Gives the written text to the file whenever a chunk is full, and at the end.
class ChunkedFile {
  public:
    ChunkedFile(const std::string& path, const char* lineEnd)
        : out_(path, std::ios::binary | std::ios::trunc), lineEnd_(lineEnd) {
        if (!out_) throw std::runtime_error("cannot create " + path);
        text.reserve(kChunk + 4096);
    }
    void flushIfFull() {
        if (text.size() >= kChunk) flush();
    }
    // Writes the text gathered, its LF line ends as the file's own.
    void flush() {
        if (lineEnd_ != "\n") {
            ended_.clear();
            for (const char c : text) {
                if (c == '\n')
                    ended_ += lineEnd_;
                else
                    ended_ += c;
            }
            text.swap(ended_);
        }
        out_.write(text.data(), static_cast<std::streamsize>(text.size()));
        written_ += text.size();
        lines_ += static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
        text.clear();
        if (!out_) throw std::runtime_error("cannot write the generated file");
    }
    std::size_t written() const { return written_; }
    std::size_t lines() const { return lines_; }

    std::string text;

  private:
    std::ofstream out_;
    std::string lineEnd_;
    std::string ended_;
    std::size_t written_ = 0;
    std::size_t lines_ = 0;
};

std::string clockText(int seconds) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return text;
}

}  // namespace

SurveyFile writeRinexFile(const std::string& path, int hours, int rate, const char* lineEnd) {
    Track tracks[kSatelliteCount];
    for (int s = 0; s < kSatelliteCount; ++s)
        tracks[s] = {22.8e6 + 1.0e5 * s, 2.4e6 + 4.0e4 * s, 0.5 * s, 1.0e5 * (s - 6),
                     -7.0e4 * (s - 5)};
    std::string satellites;
    for (int prn : kPrns) {
        char id[8];
        std::snprintf(id, sizeof id, "G%2d", prn);
        satellites += id;
    }

    ChunkedFile file(path, lineEnd);
    file.text = header(hours, rate);
    SurveyFile survey;
    survey.epochs = hours * kSecondsPerHour * rate;
    for (int epoch = 0; epoch < survey.epochs; ++epoch) {
        const int second = epoch / rate;
        const double seconds = second % 60 + static_cast<double>(epoch % rate) / rate;
        char text[40];
        std::snprintf(text, sizeof text, " %02d%3d%3d%3d%3d%11.7f  0%3d", kYear % 100, kMonth, kDay,
                      second / 3600, second / 60 % 60, seconds, kSatelliteCount);
        file.text += text;
        file.text += satellites;
        file.text += '\n';
        for (const Track& track : tracks)
            appendSatellite(file.text, track, static_cast<double>(epoch) / rate);
        file.flushIfFull();
    }
    file.flush();
    survey.bytes = file.written();
    survey.lines = file.lines();
    return survey;
}

void writeTimeFile(const std::string& path, int hours) {
    // Room at the end of the day for the last occupation and the watch's lead.
    const int spacing = (hours * kSecondsPerHour - 300) / kPointCount;
    const int occupation = spacing * 2 / 3;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (int point = 0; point < kPointCount; ++point) {
        const int stop = point * spacing + kWatchAhead;
        out << 'P' << point + 1 << ' ' << clockText(stop) << ' ' << clockText(stop + occupation)
            << '\n';
    }
    if (!out) throw std::runtime_error("cannot write " + path);
}

void writeShuffledTimeFile(const std::string& path, int points) {
    constexpr int kOccupation = 60;
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> stops(0, 23 * kSecondsPerHour);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (int point = 0; point < points; ++point) {
        const int stop = stops(random);
        out << 'P' << point + 1 << ' ' << clockText(stop) << ' ' << clockText(stop + kOccupation)
            << '\n';
    }
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace marvolt::bench
