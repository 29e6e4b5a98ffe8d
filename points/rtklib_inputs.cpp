#include "rtklib_inputs.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "failure.h"
#include "gps_time.h"
#include "labelled_line.h"
#include "observation_header.h"

namespace marvolt {
namespace {

constexpr std::streamoff kTailBytes = 65536;  // where the last epoch of a rover file is sought

}  // namespace

std::optional<double> readDateFields(const std::string& text) {
    std::istringstream in(text);
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    double second = 0.0;
    if (!(in >> year >> month >> day >> hour >> minute >> second)) return std::nullopt;
    if (year < 100) year += year < 80 ? 2000 : 1900;
    if (year < 1980 || year > 2999 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 ||
        hour > 23 || minute < 0 || minute > 59 || second < 0 || second >= 61)
        return std::nullopt;
    return daySeconds(year, month, day) + hour * 3600.0 + minute * 60.0 + second;
}

namespace {

// The header lines of a file that may not be there: rnx2rtkp names a file it cannot read
// itself, so what these lines give is only a best guess at its options (none for such a file).
std::vector<std::string> headerIfReadable(const std::string& path, std::size_t mostLines = 2000) {
    try {
        return readHeaderLines(path, mostLines);
    } catch (const Failure&) {
        return {};
    }
}

// The time of the last epoch line in the last bytes of a RINEX observation file.
std::optional<double> lastEpochTime(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    const std::streamoff size = in.tellg();
    if (size <= 0) return std::nullopt;
    in.seekg(std::max<std::streamoff>(0, size - kTailBytes));
    std::optional<double> last;
    std::string line;
    while (std::getline(in, line)) {
        const bool version3 = !line.empty() && line[0] == '>';
        if (!version3 && (line.size() < 29 || line[0] != ' ' || line[3] != ' ')) continue;
        if (const auto time = readDateFields(version3 ? line.substr(1) : line)) last = time;
    }
    return last;
}

// The observation span of the rover: TIME OF FIRST OBS to TIME OF LAST OBS, or to its last
// epoch line.
}  // namespace

std::pair<double, double> observationSpan(const std::string& path) {
    std::optional<double> first, last;
    for (const std::string& line : headerIfReadable(path)) {
        if (hasLabel(line, kFirstObservationLabel)) first = readDateFields(line.substr(0, 43));
        if (hasLabel(line, "TIME OF LAST OBS")) last = readDateFields(line.substr(0, 43));
    }
    if (!last) last = lastEpochTime(path);
    return {first.value_or(0.0), last.value_or(0.0)};
}

bool hasSecondFrequency(const std::string& observationPath) {
    for (const std::string& line : headerIfReadable(observationPath)) {
        const bool version2 = hasLabel(line, "# / TYPES OF OBSERV");
        const bool version3 = hasLabel(line, "SYS / # / OBS TYPES");
        if (!version2 && !version3) continue;
        std::istringstream types(
            line.substr(version2 ? 6 : 7, kLabelPosition - (version2 ? 6 : 7)));
        std::string type;
        while (types >> type) {
            if (version2 && (type == "L2" || type == "P2" || type == "C2")) return true;
            if (version3 && type.size() == 3 && type.rfind("L2", 0) == 0) return true;
        }
    }
    return false;
}

int navigationSystems(const std::vector<std::string>& paths) {
    int mask = 0;
    for (const std::string& path : paths) {
        const std::vector<std::string> header = headerIfReadable(path, 1);
        if (header.empty() || header[0].size() < 41) continue;
        const std::string& first = header[0];
        const bool version2 = first.substr(0, 9).find("2.") != std::string::npos;
        const char kind = version2 ? first[20] : first[40];
        switch (kind) {
            case 'N':
            case 'G':
                mask |= version2 && kind == 'G' ? 4 : 1;
                break;
            case 'H':
            case 'S':
                mask |= 2;
                break;
            case 'R':
                mask |= 4;
                break;
            case 'E':
                mask |= 8;
                break;
            case 'J':
                mask |= 16;
                break;
            case 'C':
                mask |= 32;
                break;
            case 'I':
                mask |= 64;
                break;
            case 'M':
                mask |= 1 | 4 | 8 | 16 | 32;
                break;
            default:
                break;
        }
    }
    return mask == 0 ? 1 : mask;
}

}  // namespace marvolt
