#include "rinex_version.h"

#include "failure.h"
#include "file_path.h"
#include "labelled_line.h"
#include "observation_header.h"

namespace marvolt {

namespace {

constexpr std::string_view kGzipStart = "\x1F\x8B";
constexpr std::string_view kCompressStart = "\x1F\x9D";
constexpr int kNewestVersion = 4;

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The whole part of a version written as digits with an optional point and decimals;
// 0 for anything else.
int majorVersion(std::string_view version) {
    const std::size_t point = version.find('.');
    const std::string_view whole = version.substr(0, point);
    const std::string_view decimals =
        point == std::string_view::npos ? std::string_view() : version.substr(point + 1);
    if (whole.empty() || whole.size() > 3 ||
        whole.find_first_not_of("0123456789") != std::string_view::npos ||
        decimals.find_first_not_of("0123456789") != std::string_view::npos)
        return 0;
    int major = 0;
    for (const char c : whole) major = major * 10 + (c - '0');
    return major;
}

Failure compressed(const std::string& path, const char* kind) {
    return Failure("Plik \"" + fullPath(path) + "\" jest skompresowany (" + kind +
                   "). Rozpakuj go przed analizą.");
}

}  // namespace

const EpochLayout& layoutOfFile(std::string_view firstLine, const std::string& path) {
    if (firstLine.substr(0, kGzipStart.size()) == kGzipStart) throw compressed(path, "gzip");
    if (firstLine.substr(0, kCompressStart.size()) == kCompressStart)
        throw compressed(path, "compress");
    if (hasLabel(firstLine, kCompactVersionLabel)) throw compressed(path, "Hatanaka");
    if (!hasLabel(firstLine, kVersionLabel)) return EpochLayout::rinex2();

    const std::string_view version = trimmed(firstLine.substr(0, kVersionLength));
    const int major = majorVersion(version);
    if (major < 1 || major > kNewestVersion)
        throw Failure("Plik \"" + fullPath(path) + "\" ma nieobsługiwaną wersję RINEX " +
                      std::string(version) + ".");
    const char type = firstLine[kFileTypePosition];
    if (type != kObservationFileType)
        throw Failure("Plik \"" + fullPath(path) + "\" nie jest plikiem obserwacji RINEX (typ " +
                      std::string(1, type) + ").");
    return major < EpochLayout::rinex3().version() ? EpochLayout::rinex2() : EpochLayout::rinex3();
}

}  // namespace marvolt
