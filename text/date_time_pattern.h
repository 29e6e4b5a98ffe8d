#pragma once
// Date-time patterns: a pattern copied to text with its letter groups replaced.

#include <string>
#include <string_view>

#include "locale_settings.h"

namespace marvolt {

// Groups (case-insensitive): YY, YYYY, D, DD, MM (minutes right after an H group),
// mmmm, dddd, H, HH, s, SS. ":" stands for the locale's time separator; text in double
// quotes is copied without them; every other character as it is.
std::string formatDateTime(std::string_view pattern, double value, const LocaleSettings& locale);

}  // namespace marvolt
