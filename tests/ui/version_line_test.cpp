#include "version_line.h"

#include <QtTest>

#include "temp_folder.h"

using marvolt::versionLine;

class VersionLineTest : public QObject {
    Q_OBJECT
  private slots:
    // The line shows the file's own modification date in local time, not today's.
    void dateOfLastModification_data() {
        QTest::addColumn<QDateTime>("modified");
        QTest::addColumn<QString>("line");
        QTest::newRow("single-digit day, month with its zero")
            << QDateTime(QDate(2012, 5, 7), QTime(10, 0)) << "Wersja programu: 7.05.2012";
        QTest::newRow("two-digit day and month")
            << QDateTime(QDate(2011, 12, 31), QTime(23, 59, 59)) << "Wersja programu: 31.12.2011";
        QTest::newRow("just after local midnight")
            << QDateTime(QDate(2020, 2, 29), QTime(0, 0, 1)) << "Wersja programu: 29.02.2020";
    }
    void dateOfLastModification() {
        QFETCH(QDateTime, modified);
        QFETCH(QString, line);
        marvolt::testing::TempFolder folder;
        const QString path = QString::fromStdString(folder.write("Marvolt", "binary"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
        file.close();
        QCOMPARE(versionLine(path, {}), line);
    }
};

QTEST_GUILESS_MAIN(VersionLineTest)
#include "version_line_test.moc"
