#include "application_title.h"

#include <QCoreApplication>
#include <algorithm>

namespace marvolt {

QString applicationTitle(const QString& executablePath) {
    const qsizetype folderEnd = std::max(executablePath.lastIndexOf(QLatin1Char('/')),
                                         executablePath.lastIndexOf(QLatin1Char('\\')));
    QString name = executablePath.mid(folderEnd + 1);
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot >= 0) name.truncate(dot);
    return name.left(1) + name.mid(1).toLower();
}

QString applicationTitle() { return applicationTitle(QCoreApplication::applicationFilePath()); }

}  // namespace marvolt
