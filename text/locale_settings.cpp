#include "locale_settings.h"

#include <string_view>

namespace marvolt {

namespace {

// The parts of the locale's time format that the long time text needs.
struct TimeFormat {
    std::string separator;  // between the hour and the minutes
    bool leadingZero = true;
    bool twelveHour = false;
};

// Expands the composite conversions %T, %R and %r into their parts.
std::string expandTimeFormat(std::string_view format, std::string_view twelveHourFormat) {
    std::string expanded;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            expanded += format[i];
            continue;
        }
        const char conversion = format[++i];
        if (conversion == 'T') {
            expanded += "%H:%M:%S";
        } else if (conversion == 'R') {
            expanded += "%H:%M";
        } else if (conversion == 'r') {
            expanded += twelveHourFormat.empty() ? "%I:%M:%S %p" : std::string(twelveHourFormat);
        } else {
            expanded += '%';
            expanded += conversion;
        }
    }
    return expanded;
}

// Reads a strftime time format: the hour conversion (%H, %I with a leading zero, %k, %l
// without; a "-" or "_" flag drops the zero), the text up to the minutes, and the AM/PM mark.
TimeFormat readTimeFormat(std::string_view format) {
    TimeFormat result;
    bool afterHour = false;
    bool separatorDone = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            if (afterHour && !separatorDone) result.separator += format[i];
            continue;
        }
        bool noPadding = false;
        while (i + 1 < format.size() &&
               std::string_view("-_0^#EO").find(format[i + 1]) != std::string_view::npos) {
            noPadding = noPadding || format[i + 1] == '-' || format[i + 1] == '_';
            ++i;
        }
        if (++i == format.size()) break;
        const char conversion = format[i];
        if (conversion == '%') {
            if (afterHour && !separatorDone) result.separator += '%';
            continue;
        }
        const bool hour = std::string_view("HIkl").find(conversion) != std::string_view::npos;
        if (hour && !afterHour) {
            afterHour = true;
            result.leadingZero = !noPadding && (conversion == 'H' || conversion == 'I');
        } else if (afterHour) {
            separatorDone = true;
        }
        if (conversion == 'I' || conversion == 'l' || conversion == 'p' || conversion == 'P') {
            result.twelveHour = true;
        }
    }
    return result;
}

}  // namespace

void applyTimeFormat(std::string_view timeFormat, std::string_view twelveHourFormat,
                     LocaleSettings& settings) {
    const TimeFormat format = readTimeFormat(expandTimeFormat(timeFormat, twelveHourFormat));
    if (!format.separator.empty()) settings.timeSeparator = format.separator;
    settings.longTimeLeadingZero = format.leadingZero;
    settings.longTimeTwelveHour = format.twelveHour;
}

}  // namespace marvolt
