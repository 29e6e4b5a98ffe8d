// Marvolt: the window of the stop-and-go flagging of RINEX observation files.

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "durov.h"
#include "locale_settings.h"
#include "time_table.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // The icon of the window, and the desktop entry that the desktop shell shows it under.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/marvolt.svg")));
    QGuiApplication::setDesktopFileName(QStringLiteral("example.marvolt.Marvolt"));
    // Qt's own dialogs (the open dialog) speak the user's language.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_") + QLocale::system().name(),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        application.installTranslator(&qtTexts);

    marvolt::TimeTable table(marvolt::localeFromEnvironment());
    marvolt::TfrmDurov frmDurov(table);
    frmDurov.show();
    return application.exec();
}
