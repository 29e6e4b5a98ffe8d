#include "window_services.h"

#include <QApplication>
#include <QFileDialog>
#include <QPushButton>

#include "application_title.h"
#include "message_box.h"
#include "remembered_folders.h"

namespace marvolt {

namespace {

QString qtPatterns(const QString& patterns) {
    QStringList result;
    for (const QString& pattern : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        result << (pattern.trimmed() == QLatin1String("*.*") ? QStringLiteral("*")
                                                             : pattern.trimmed());
    return result.join(QLatin1Char(' '));
}

// A modal box of the program: the application title as its window title, an OK that is both the
// default and the cancel button, centred on the screen; with `skip`, a button that skips the rest
// of a series. True when that button was pressed.
bool showBox(QMessageBox::Icon icon, const std::string& text, bool skip = false) {
    ScreenCentredBox box(icon, applicationTitle(), QString::fromStdString(text));
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    const QAbstractButton* skipButton =
        skip ? box.addButton(QStringLiteral("Pomiń pozostałe"), QMessageBox::RejectRole) : nullptr;
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return skipButton && box.clickedButton() == skipButton;
}

}  // namespace

QStringList qtNameFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        result << parts[i] + QStringLiteral(" (") + qtPatterns(parts[i + 1]) + QLatin1Char(')');
    return result;
}

WindowServices::WindowServices(QWidget* window)
    : window_(window), runDialog_([](QFileDialog& dialog) { return dialog.exec(); }) {}

std::optional<std::string> WindowServices::chooseFile(const std::string& filter,
                                                      const QString& kind) {
    // A fresh dialog each time: its file name starts empty.
    QFileDialog openTXT(window_);
    openTXT.setOption(QFileDialog::DontUseNativeDialog);
    openTXT.setAcceptMode(QFileDialog::AcceptOpen);
    openTXT.setFileMode(QFileDialog::AnyFile);  // a typed name of a missing file is taken
    const QString folder = rememberedFolder(kind);
    if (!folder.isEmpty()) openTXT.setDirectory(folder);
    const QStringList filters = qtNameFilters(filter);
    openTXT.setNameFilters(filters);
    if (filterPosition_ < filters.size()) openTXT.selectNameFilter(filters[filterPosition_]);

    if (runDialog_(openTXT) != QDialog::Accepted) return std::nullopt;
    const QStringList files = openTXT.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    filterPosition_ = std::max<qsizetype>(0, filters.indexOf(openTXT.selectedNameFilter()));
    rememberFolderOf(kind, files.first());
    return files.first().toStdString();
}

void WindowServices::message(const std::string& text) { showBox(QMessageBox::NoIcon, text); }

bool WindowServices::seriesMessage(const std::string& text) {
    return showBox(QMessageBox::NoIcon, text, true);
}

void WindowServices::errorBox(const std::string& text) { showBox(QMessageBox::Critical, text); }

void WindowServices::busyCursor() {
    if (busy_) return;
    busy_ = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void WindowServices::normalCursor() {
    if (!busy_) return;
    busy_ = false;
    QApplication::restoreOverrideCursor();
}

}  // namespace marvolt
