#include "epoch_key.h"

#include "date_time_pattern.h"

namespace marvolt {

std::string epochKey(const std::string& datePiece, double time) {
    const LocaleSettings locale;
    std::string seconds = formatDateTime("s", time, locale);
    if (seconds.size() == 1) seconds.insert(0, 1, ' ');
    return datePiece + formatDateTime("HH MM ", time, locale) + seconds;
}

}  // namespace marvolt
