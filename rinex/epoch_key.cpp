#include "epoch_key.h"

#include "date_time_pattern.h"

namespace marvolt {

std::string datePiece(double observationDate) {
    return EpochLayout::rinex2().datePiece(observationDate);
}

std::string epochKey(const std::string& datePiece, double time) {
    const LocaleSettings locale;
    std::string seconds = formatDateTime("s", time, locale);
    if (seconds.size() == 1) seconds.insert(0, 1, ' ');
    return datePiece + formatDateTime("HH MM ", time, locale) + seconds;
}

bool lineMatches(std::string_view line, std::string_view key) {
    return EpochLayout::rinex2().lineMatches(line, key);
}

bool isDataEpoch(std::string_view line) { return EpochLayout::rinex2().isDataEpoch(line, {}); }

}  // namespace marvolt
