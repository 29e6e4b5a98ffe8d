#include <windows.h>

#include <string>

#include "locale_settings.h"
#include "wide_text.h"

namespace marvolt {

namespace {

// One item of the user's locale in UTF-8; empty when the locale gives none.
std::string localeInfo(LCTYPE item) {
    wchar_t value[128];
    const int length = ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, value, 128);
    return length > 1 ? utf8Of(std::wstring_view(value, static_cast<std::size_t>(length - 1)))
                      : std::string();
}

// A Windows time format ("HH:mm:ss", "h:mm:ss tt", text in quotes) as the strftime format
// of the same layout, which applyTimeFormat reads.
std::string strftimeFormat(const std::string& format) {
    std::string result;
    for (std::size_t i = 0; i < format.size();) {
        const char c = format[i];
        std::size_t run = 1;
        while (i + run < format.size() && format[i + run] == c) ++run;
        if (c == '\'') {  // quoted text, as it is
            const std::size_t end = format.find('\'', i + 1);
            const std::size_t stop = end == std::string::npos ? format.size() : end;
            result += format.substr(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        if (c == 'H') {
            result += run > 1 ? "%H" : "%k";
        } else if (c == 'h') {
            result += run > 1 ? "%I" : "%l";
        } else if (c == 'm') {
            result += "%M";
        } else if (c == 's') {
            result += "%S";
        } else if (c == 't') {
            result += "%p";
        } else {
            result.append(c == '%' ? 2 * run : run, c);  // strftime writes % as %%
        }
        i += run;
    }
    return result;
}

}  // namespace

LocaleSettings localeFromEnvironment() {
    LocaleSettings settings;
    const auto take = [](LCTYPE item, std::string& field) {
        const std::string text = localeInfo(item);
        if (!text.empty()) field = text;
    };
    applyTimeFormat(strftimeFormat(localeInfo(LOCALE_STIMEFORMAT)), "", settings);
    take(LOCALE_SDECIMAL, settings.decimalSeparator);
    take(LOCALE_S1159, settings.amString);
    take(LOCALE_S2359, settings.pmString);
    for (std::size_t i = 0; i < settings.longMonthNames.size(); ++i)
        take(LOCALE_SMONTHNAME1 + static_cast<LCTYPE>(i), settings.longMonthNames[i]);
    // Windows counts the days from Monday (LOCALE_SDAYNAME1), the settings from Sunday.
    for (std::size_t i = 0; i < settings.longDayNames.size(); ++i)
        take(LOCALE_SDAYNAME1 + static_cast<LCTYPE>((i + 6) % 7), settings.longDayNames[i]);
    return settings;
}

}  // namespace marvolt
