#pragma once
// The folder each kind of file was last chosen in, kept between runs, so that every file
// dialog opens where the user's files of that kind are.

#include <QString>

namespace marvolt {

// The kinds of file the dialogs choose: each has a folder of its own.
inline const QString kTimeFiles = QStringLiteral("timeFiles");
inline const QString kRinexFiles = QStringLiteral("rinexFiles");

// The folder a file of `kind` was last chosen in; empty before the first choice.
QString rememberedFolder(const QString& kind);
// Keeps the folder of the chosen file `path` for the next dialog of `kind`.
void rememberFolderOf(const QString& kind, const QString& path);

}  // namespace marvolt
