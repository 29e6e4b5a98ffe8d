#pragma once
// The version line of the window's footer: the date the executable was last changed.

#include <QString>

#include "locale_settings.h"

namespace marvolt {

// "Wersja programu: " and the file's last modification in local time as "D.MM.YYYY".
QString versionLine(const QString& executablePath, const LocaleSettings& locale);

}  // namespace marvolt
