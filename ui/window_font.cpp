#include "window_font.h"

#include <QFile>
#include <QFontDatabase>

namespace marvolt {

namespace {

constexpr int kFontPixels = 11;
const char* const kWineTahoma = "/usr/share/wine/fonts/tahoma.ttf";

QString loadFamily() {
    if (QFile::exists(QString::fromLatin1(kWineTahoma))) {
        const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(kWineTahoma));
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (!families.isEmpty()) return families.first();
    }
    return QStringLiteral("Tahoma");
}

}  // namespace

QFont windowFont() {
    static const QString family = loadFamily();
    QFont font(family);
    font.setPixelSize(kFontPixels);
    // Where no Tahoma is installed, the nearest sans-serif faces stand in.
    font.setFamilies({family, QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace marvolt
