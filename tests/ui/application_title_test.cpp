#include "application_title.h"

#include <QtTest>

using marvolt::applicationTitle;

class ApplicationTitleTest : public QObject {
    Q_OBJECT
  private slots:
    void titleOfExecutableName_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("title");
        QTest::newRow("windows name") << "C:\\Program Files\\MARVOLT.EXE"
                                      << "Marvolt";
        QTest::newRow("linux name") << "/usr/local/bin/Marvolt"
                                    << "Marvolt";
        QTest::newRow("first letter kept as it is") << "/x/y/marvolt-cli"
                                                    << "marvolt-cli";
        QTest::newRow("everything after the first dot goes") << "/x/MarVolt.v2.exe"
                                                             << "Marvolt";
        QTest::newRow("dot in a folder name does not count") << "/opt/a.b/GEO"
                                                             << "Geo";
        QTest::newRow("polish letters lowered") << "/x/ŻÓŁW.EXE"
                                                << "Żółw";
        QTest::newRow("no folder") << "DUROV"
                                   << "Durov";
    }
    void titleOfExecutableName() {
        QFETCH(QString, path);
        QFETCH(QString, title);
        QCOMPARE(applicationTitle(path), title);
    }
};

QTEST_GUILESS_MAIN(ApplicationTitleTest)
#include "application_title_test.moc"
