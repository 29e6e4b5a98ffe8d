#include "window_services.h"

#include <QtTest>
#include <QtWidgets>

#include "application_title.h"
#include "file_filters.h"
#include "modal_answerer.h"
#include "remembered_folders.h"
#include "temp_folder.h"

using marvolt::qtNameFilters;
using marvolt::WindowServices;
using marvolt::testing::ModalAnswerer;
using marvolt::testing::TempFolder;

namespace {

// The patterns of a Qt name filter "Name (p1 p2)".
QStringList patternsOf(const QString& nameFilter) {
    const qsizetype open = nameFilter.lastIndexOf(QLatin1Char('('));
    return nameFilter.mid(open + 1).chopped(1).split(QLatin1Char(' '));
}

// Runs `step` on the open file dialog as soon as it shows.
void whenDialogShows(const std::function<void(QFileDialog&)>& step) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, step] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        poll->deleteLater();
        poll->stop();
        step(*dialog);
    });
    poll->start(5);
}

}  // namespace

class WindowServicesTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void filtersBecomeQtNameFilters() {
        QCOMPARE(qtNameFilters(marvolt::kTimeFileFilter),
                 QStringList({"Pliki tekstowe (*.txt)", "Wszystkie pliki (*)"}));
        QCOMPARE(qtNameFilters(marvolt::rinexFilter(2012)),
                 QStringList({"Pliki RINEX (*.??o *.??O *.rnx *.RNX)", "Pliki RINEX 2 (*.*o)",
                              "Pliki RINEX 2012 (*.12o)", "Pliki RINEX 2011 (*.11o)",
                              "Pliki RINEX 3 (*.rnx)", "Wszystkie pliki (*)"}));
        QCOMPARE(qtNameFilters("Dane|*.txt;*.dat"), QStringList({"Dane (*.txt *.dat)"}));
        QCOMPARE(qtNameFilters(marvolt::rinexFilter(2001)).mid(2, 2),
                 QStringList({"Pliki RINEX 2001 (*.01o)", "Pliki RINEX 2000 (*.00o)"}));
    }

    // What each entry lists in a folder: "*.*" must list a name without an extension too.
    void filtersListTheirFiles_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("listed");
        const QString longName = "ABCD00POL_R_20263421000_01H_01S_MO.rnx";
        QStringList all = {"a.12o", "b.11O", "c.10o", "d.12n", "noext", "punkty.txt"};
        all.prepend(longName);  // sorts first: upper case before lower
        QTest::newRow("text files") << "Pliki tekstowe (*.txt)" << QStringList{"punkty.txt"};
        QTest::newRow("every file") << "Wszystkie pliki (*)" << all;
        QTest::newRow("RINEX 2012") << "Pliki RINEX 2012 (*.12o)" << QStringList{"a.12o"};
        QTest::newRow("RINEX 2011, any case") << "Pliki RINEX 2011 (*.11o)" << QStringList{"b.11O"};
        QTest::newRow("every observation file") << "Pliki RINEX (*.??o *.??O *.rnx *.RNX)"
                                                << QStringList{longName, "a.12o", "b.11O", "c.10o"};
        QTest::newRow("any year's RINEX 2")
            << "Pliki RINEX 2 (*.*o)" << QStringList{"a.12o", "b.11O", "c.10o"};
        QTest::newRow("RINEX 3 long names") << "Pliki RINEX 3 (*.rnx)" << QStringList{longName};
    }
    void filtersListTheirFiles() {
        QFETCH(QString, filter);
        QFETCH(QStringList, listed);
        TempFolder folder;
        for (const char* name : {"a.12o", "b.11O", "c.10o", "d.12n", "noext", "punkty.txt",
                                 "ABCD00POL_R_20263421000_01H_01S_MO.rnx"})
            folder.write(name, "x");
        QVERIFY(qtNameFilters(marvolt::kTimeFileFilter).contains(filter) ||
                qtNameFilters(marvolt::rinexFilter(2012)).contains(filter));
        QDir dir(QString::fromStdString(folder.path()));
        dir.setNameFilters(patternsOf(filter));
        dir.setFilter(QDir::Files);  // case ignored, as the dialog ignores it
        dir.setSorting(QDir::Name);
        QCOMPARE(dir.entryList(), listed);
    }

    // A typed name of a missing file is taken as it is; the chosen entry's position is
    // where the next dialog starts, whichever filter it has; the file name starts empty.
    void dialogTakesTypedNameAndKeepsFilterPosition() {
        QWidget window;
        WindowServices services(&window);
        TempFolder folder;
        const QString missing = QString::fromStdString(folder.file("nie-ma-mnie.txt"));
        ModalAnswerer boxes;  // an overwrite question would be caught here

        whenDialogShows([&](QFileDialog& dialog) {
            QCOMPARE(dialog.nameFilters(), qtNameFilters(marvolt::kTimeFileFilter));
            QCOMPARE(dialog.selectedNameFilter(), QString("Pliki tekstowe (*.txt)"));
            dialog.selectNameFilter("Wszystkie pliki (*)");
            dialog.selectFile(missing);
            QMetaObject::invokeMethod(&dialog, "accept");  // the Open button
        });
        QCOMPARE(services.chooseFile(marvolt::kTimeFileFilter),
                 std::optional<std::string>(missing.toStdString()));
        QVERIFY(boxes.seen.empty());

        QString startedOn, startName = "?";
        whenDialogShows([&](QFileDialog& dialog) {
            startedOn = dialog.selectedNameFilter();
            startName = dialog.findChild<QLineEdit*>("fileNameEdit")->text();
            dialog.reject();
        });
        QCOMPARE(services.chooseFile(marvolt::rinexFilter(2012)), std::nullopt);
        QCOMPARE(startedOn, QString("Pliki RINEX 2 (*.*o)"));
        QCOMPARE(startName, QString());

        // A cancelled dialog leaves the kept position as it was.
        whenDialogShows([&](QFileDialog& dialog) {
            startedOn = dialog.selectedNameFilter();
            dialog.reject();
        });
        QCOMPARE(services.chooseFile(marvolt::kTimeFileFilter), std::nullopt);
        QCOMPARE(startedOn, QString("Wszystkie pliki (*)"));
    }

    // Each kind of file opens in the folder it was last chosen in, also for the services of
    // a later run; the other kind keeps its own.
    void dialogOpensInTheFolderOfItsKind() {
        TempFolder timeFolder, rinexFolder;
        const QString timeFile = QString::fromStdString(timeFolder.write("czasy.txt", "x"));
        const QString rinexFile = QString::fromStdString(rinexFolder.write("a.12o", "x"));
        QWidget window;
        {
            WindowServices services(&window);
            for (const auto& [file, kind] : {std::pair(timeFile, marvolt::kTimeFiles),
                                             std::pair(rinexFile, marvolt::kRinexFiles)}) {
                whenDialogShows([file = file](QFileDialog& dialog) {
                    dialog.selectFile(file);
                    QMetaObject::invokeMethod(&dialog, "accept");
                });
                QVERIFY(services.chooseFile(marvolt::kTimeFileFilter, kind));
            }
        }
        WindowServices later(&window);
        for (const auto& [folder, kind] : {std::pair(timeFolder.path(), marvolt::kTimeFiles),
                                           std::pair(rinexFolder.path(), marvolt::kRinexFiles)}) {
            QString openedIn;
            whenDialogShows([&](QFileDialog& dialog) {
                openedIn = dialog.directory().absolutePath();
                dialog.reject();
            });
            QCOMPARE(later.chooseFile(marvolt::kTimeFileFilter, kind), std::nullopt);
            QCOMPARE(openedIn, QDir(QString::fromStdString(folder)).absolutePath());
        }
    }

    void messageWindowAndErrorBox_data() {
        QTest::addColumn<bool>("error");
        QTest::addColumn<int>("icon");
        QTest::newRow("message window") << false << int(QMessageBox::NoIcon);
        QTest::newRow("error box") << true << int(QMessageBox::Critical);
    }
    void messageWindowAndErrorBox() {
        QFETCH(bool, error);
        QFETCH(int, icon);
        QWidget window;
        WindowServices services(&window);
        ModalAnswerer boxes;
        const std::string text = "Wczytałem 3 punktów. Liczba błędnych wierszy: 0.";
        if (error)
            services.errorBox(text);
        else
            services.message(text);
        QCOMPARE(boxes.seen.size(), std::size_t(1));
        const auto& box = boxes.seen.front();
        QCOMPARE(box.caption, marvolt::applicationTitle());
        QCOMPARE(box.text, QString::fromStdString(text));
        QCOMPARE(int(box.icon), icon);
        QCOMPARE(box.buttons.size(), 1);
        QCOMPARE(QString(box.buttons.front()).remove('&'), QString("OK"));
        QVERIFY(box.centredOnScreen);
    }

    // One busy state, not a stack: the normal cursor comes back at the first call.
    void busyAndNormalCursor() {
        QWidget window;
        WindowServices services(&window);
        QVERIFY(!QGuiApplication::overrideCursor());
        services.busyCursor();
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        services.busyCursor();
        services.normalCursor();
        QVERIFY(!QGuiApplication::overrideCursor());
        services.normalCursor();
        QVERIFY(!QGuiApplication::overrideCursor());
    }
};

QTEST_MAIN(WindowServicesTest)
#include "window_services_test.moc"
