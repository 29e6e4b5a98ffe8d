#include "time_file_save_dialog.h"

#include <QFileDialog>

#include "file_filters.h"
#include "remembered_folders.h"
#include "window_services.h"

namespace marvolt {

std::optional<std::string> chooseTimeFileToSave(QWidget* parent) {
    QFileDialog dialog(parent, QString::fromUtf8("Zapisz tabelę czasów"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);  // as the open dialog
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(qtNameFilters(kTimeFileFilter));
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    const QString folder = rememberedFolder(kTimeFiles);
    if (!folder.isEmpty()) dialog.setDirectory(folder);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    rememberFolderOf(kTimeFiles, dialog.selectedFiles().first());
    return dialog.selectedFiles().first().toStdString();
}

}  // namespace marvolt
