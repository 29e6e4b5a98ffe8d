#include "remembered_folders.h"

#include <QFileInfo>
#include <QSettings>

namespace marvolt {

namespace {

QSettings programSettings() {
    return QSettings(QStringLiteral("Marvolt"), QStringLiteral("Marvolt"));
}

QString key(const QString& kind) { return QStringLiteral("folders/") + kind; }

}  // namespace

QString rememberedFolder(const QString& kind) {
    return programSettings().value(key(kind)).toString();
}

void rememberFolderOf(const QString& kind, const QString& path) {
    programSettings().setValue(key(kind), QFileInfo(path).absolutePath());
}

}  // namespace marvolt
