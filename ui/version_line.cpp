#include "version_line.h"

#include <QDateTime>
#include <QFileInfo>

#include "date_time.h"
#include "date_time_pattern.h"

namespace marvolt {

QString versionLine(const QString& executablePath, const LocaleSettings& locale) {
    const QDateTime changed = QFileInfo(executablePath).lastModified().toLocalTime();
    const QDate date = changed.date();
    const QTime time = changed.time();
    const double value = encodeDate(date.year(), date.month(), date.day()) +
                         encodeTime(time.hour(), time.minute(), time.second(), time.msec());
    return QStringLiteral("Wersja programu: ") +
           QString::fromStdString(formatDateTime("D.MM.YYYY", value, locale));
}

}  // namespace marvolt
