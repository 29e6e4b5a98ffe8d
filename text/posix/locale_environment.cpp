#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <string_view>

#include "locale_settings.h"

namespace marvolt {

namespace {

// The locale's text in UTF-8 (names of a locale with another character set converted).
std::string toUtf8(const std::string& text, const char* codeset) {
    const std::string_view set = codeset ? codeset : "";
    const bool ascii = std::all_of(text.begin(), text.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii || set == "UTF-8" || set.empty()) return text;
    const iconv_t converter = iconv_open("UTF-8", codeset);
    if (converter == reinterpret_cast<iconv_t>(-1)) return std::string();
    std::string input = text;
    std::string output(text.size() * 4, '\0');
    char* in = input.data();
    char* out = output.data();
    std::size_t inLeft = input.size();
    std::size_t outLeft = output.size();
    const bool converted =
        iconv(converter, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(converter);
    if (!converted) return std::string();
    output.resize(output.size() - outLeft);
    return output;
}

}  // namespace

LocaleSettings localeFromEnvironment() {
    LocaleSettings settings;
    const locale_t locale = newlocale(LC_TIME_MASK | LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
    if (locale == static_cast<locale_t>(0)) return settings;

    const char* codeset = nl_langinfo_l(CODESET, locale);
    const auto take = [&](nl_item item, std::string& field) {
        const char* value = nl_langinfo_l(item, locale);
        const std::string text = value ? toUtf8(value, codeset) : std::string();
        if (!text.empty()) field = text;
    };

    applyTimeFormat(nl_langinfo_l(T_FMT, locale), nl_langinfo_l(T_FMT_AMPM, locale), settings);
    take(RADIXCHAR, settings.decimalSeparator);
    take(AM_STR, settings.amString);
    take(PM_STR, settings.pmString);
    static constexpr nl_item kMonths[] = {MON_1, MON_2, MON_3, MON_4,  MON_5,  MON_6,
                                          MON_7, MON_8, MON_9, MON_10, MON_11, MON_12};
    for (std::size_t i = 0; i < settings.longMonthNames.size(); ++i) {
        take(kMonths[i], settings.longMonthNames[i]);
    }
    static constexpr nl_item kDays[] = {DAY_1, DAY_2, DAY_3, DAY_4, DAY_5, DAY_6, DAY_7};
    for (std::size_t i = 0; i < settings.longDayNames.size(); ++i) {
        take(kDays[i], settings.longDayNames[i]);
    }
    freelocale(locale);
    return settings;
}

}  // namespace marvolt
