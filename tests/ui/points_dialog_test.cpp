// The points dialog: its table's states, colours and offsets, the CSV it saves against
// marvolt-cli's, a stopped rnx2rtkp, the chart's windows and zoom, and a day at 20 Hz
// computed while the window's thread stays free.

#include "points_dialog.h"

#include <QAreaSeries>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineSeries>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "gps_time.h"
#include "points_chart.h"
#include "points_model.h"
#include "scripted_services.h"
#include "temp_folder.h"
#include "time_file_import.h"

using namespace marvolt;
using marvolt::testing::readBytes;
using marvolt::testing::TempFolder;

namespace {

const std::string kData = MARVOLT_TEST_DATA;
const std::string kDrive = kData + "/solutions/matrtklib_rover_1Hz_rtk.pos";
const std::string kStops = kData + "/solutions/matrtklib_stops.txt";

// The survey of a time file whose watch ran with the receiver, dated on a GPS day.
AnalysedSurvey surveyOf(const std::string& timeFile, int year, int month, int day) {
    TimeTable table;
    table.open();
    testing::ScriptedServices services;
    importTimeFile(timeFile, table, services);
    table.setShiftedTimes(0.0);
    const double date = gpsDateTime(daySeconds(year, month, day));
    return {"", date, watchWindows(table, date, TimeSystem::Gps)};
}

PointResult point(const char* name, PointState state, std::optional<double> stopOffset,
                  std::optional<double> goOffset) {
    PointResult p;
    p.window = {name, 1000.0, 1100.0};
    p.state = state;
    p.epochsWindow = state == PointState::NoData ? 0 : 100;
    p.epochsStanding = state == PointState::Moving ? 30 : 100;
    if (stopOffset) p.stopData = 1000.0 + *stopOffset;
    if (goOffset) p.goData = 1100.0 + *goOffset;
    p.coordinate.epochsUsed = state == PointState::Ok || state == PointState::Shifted ? 96 : 0;
    return p;
}

// A day at 20 Hz in RTKLIB's .pos form: the antenna drives east at 2 m/s and stands still
// in 20 windows of 3 minutes; and the time file of those windows.
void writeTwentyHertzDay(const TempFolder& folder) {
    std::string pos = "%  GPST                  latitude(deg) longitude(deg)  height(m)   Q  ns\n";
    pos.reserve(120'000'000);
    std::string times;
    const auto standing = [](long second) { return second % 4320 >= 600 && second % 4320 < 780; };
    for (int p = 0; p < 20; ++p) {
        const long stop = p * 4320L + 600;
        char line[64];
        std::snprintf(line, sizeof line, "P%d %ld:%02ld:%02ld %ld:%02ld:%02ld\n", p, stop / 3600,
                      stop / 60 % 60, stop % 60, (stop + 180) / 3600, (stop + 180) / 60 % 60,
                      (stop + 180) % 60);
        times += line;
    }
    double east = 0.0;
    char line[128];
    for (long tick = 0; tick < 86400L * 20; ++tick) {
        const long second = tick / 20;
        if (!standing(second)) east += 2.0 / 20;
        const int n = std::snprintf(line, sizeof line,
                                    "2024/03/05 %02ld:%02ld:%02ld.%03ld %.9f %.9f 100.0 1 12\n",
                                    second / 3600, second / 60 % 60, second % 60, tick % 20 * 50,
                                    52.0, 21.0 + east / 68600.0);
        pos.append(line, static_cast<std::size_t>(n));
    }
    folder.write("day20hz.pos", pos);
    folder.write("day20hz.txt", times);
}

int speedSamples(const PointsChart* chart) {
    int count = 0;
    for (const QLineSeries* piece : chart->speedPieces()) count += piece->count();
    return count;
}

}  // namespace

class PointsDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        QSettings("Marvolt", "Marvolt").remove("points");  // each test from the defaults
        dialog = std::make_unique<PointsDialog>();
        dialog->findChild<QComboBox*>("cmbUklad")->setCurrentText("brak");
        dialog->show();
    }
    void cleanup() { dialog.reset(); }

    // Each state in its colour, the offsets with their sign, the numbers in the tool tip.
    void modelStatesColoursAndOffsets() {
        PointsModel model;
        model.setPoints({point("A", PointState::Ok, 0.4, -1.0),
                         point("B", PointState::Shifted, -5.04, std::nullopt),
                         point("C", PointState::Moving, std::nullopt, std::nullopt),
                         point("D", PointState::NoData, std::nullopt, std::nullopt)},
                        false, 3.0);
        QCOMPARE(model.columnCount(), 17);  // marvolt-cli's columns without x and y
        const int state = model.columnCount() - 1;
        const int stopOffset = state - 2, goOffset = state - 1;
        const struct {
            const char* state;
            QColor colour;
            const char* stopOffset;
            const char* goOffset;
            const char* hintPart;
        } rows[] = {
            {"OK", QColor(0, 255, 0), "+0.4", "-1.0", "STOP w danych +0.4 s od zegarka"},
            {"przesunięty", QColor(255, 255, 0), "-5.0", "", "GO w danych nie widać"},
            {"ruch", QColor(255, 0, 0), "", "", "z nich nieruchomych 30: mniej niż połowa"},
            {"brak danych", QColor(255, 0, 0), "", "", "Brak epok rozwiązania"},
        };
        for (int r = 0; r < 4; ++r) {
            const auto& row = rows[r];
            QCOMPARE(model.index(r, state).data().toString(), QString(row.state));
            QCOMPARE(model.index(r, state).data(Qt::BackgroundRole).value<QColor>(), row.colour);
            QVERIFY(!model.index(r, 0).data(Qt::BackgroundRole).isValid());
            QCOMPARE(model.index(r, stopOffset).data().toString(), QString(row.stopOffset));
            QCOMPARE(model.index(r, goOffset).data().toString(), QString(row.goOffset));
            QVERIFY2(model.index(r, 0).data(Qt::ToolTipRole).toString().contains(row.hintPart),
                     qPrintable(model.index(r, 0).data(Qt::ToolTipRole).toString()));
        }
        QCOMPARE(model.headerData(stopOffset, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QString("stop_offset_s"));
    }

    // The real drive: the dialog's CSV is marvolt-cli's, byte for byte; the chart shades one
    // window per point from STOP to GO, red where not OK, and a row's click shows its window
    // with its margins; a change of the table greys it all.
    void driveCsvChartAndStaleTable() {
        TempFolder folder;
        const std::string cliCsv = folder.file("cli.csv"), dialogCsv = folder.file("dialog.csv");
        const std::string command = std::string(MARVOLT_CLI) +
                                    " points --grid none --shift 0:00:00 --csv " + cliCsv + " " +
                                    kStops + " " + kDrive + " >/dev/null";
        QVERIFY(std::system(command.c_str()) != -1);

        dialog->setSurvey(surveyOf(kStops, 2023, 7, 11));
        QSignalSpy ended(dialog.get(), &PointsDialog::computationEnded);
        dialog->compute({kDrive, {}, {}});
        QVERIFY(ended.wait(20000));
        dialog->saveCsv(dialogCsv);
        QCOMPARE(readBytes(dialogCsv), readBytes(cliCsv));

        // A watch 10 s early: the data ends lie 10 s after it, the line under the table says so.
        auto* watchLine = dialog->findChild<QLabel*>("lblZegarek");
        QVERIFY(!watchLine->isVisible());
        AnalysedSurvey early = surveyOf(kStops, 2023, 7, 11);
        for (WatchWindow& window : early.windows) {
            window.stop -= 10.0;
            window.go -= 10.0;
        }
        dialog->setSurvey(early);
        dialog->compute({kDrive, {}, {}});
        QVERIFY(ended.wait(20000));
        QVERIFY(watchLine->isVisible());
        QVERIFY2(watchLine->text().startsWith("Zegarek: postoje w danych zaczynają się i kończą "
                                              "średnio o 10.0 s później"),
                 qPrintable(watchLine->text()));
        QCOMPARE(watchLine->palette().color(QPalette::WindowText), QColor(255, 0, 0));

        auto* model =
            qobject_cast<PointsModel*>(dialog->findChild<QTableView*>("grdPunkty")->model());
        auto* chart = dialog->findChild<PointsChart*>("chtPredkosc");
        QList<QAreaSeries*> areas;
        for (QAbstractSeries* series : chart->chart()->series())
            if (auto* area = qobject_cast<QAreaSeries*>(series)) areas << area;
        QCOMPARE(areas.size(), model->rowCount());
        QCOMPARE(model->rowCount(), 10);
        for (int r = 0; r < model->rowCount(); ++r) {
            const PointResult& p = model->points()[static_cast<std::size_t>(r)];
            QCOMPARE(areas[r]->name(), QString::fromStdString(p.window.name));
            const QList<QPointF> upper = areas[r]->upperSeries()->points();
            QCOMPARE(upper.size(), 2);
            QCOMPARE(upper[0].x(), chart->axisTime(p.window.stop));
            QCOMPARE(upper[1].x(), chart->axisTime(p.window.go));
            QCOMPARE(areas[r]->brush().color().red() == 255, p.state != PointState::Ok);
        }
        QCOMPARE(model->points()[3].state, PointState::Shifted);

        auto* table = dialog->findChild<QTableView*>("grdPunkty");
        const int row = 3;
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          table->visualRect(model->index(row, 0)).center());
        const PointResult& p = model->points()[row];
        const double margin =
            std::min(kEndMargin, (model->points()[row + 1].window.stop - p.window.go) / 2);
        const double marginBefore =
            std::min(kEndMargin, (p.window.stop - model->points()[row - 1].window.go) / 2);
        QCOMPARE(static_cast<qreal>(chart->timeAxis()->min().toMSecsSinceEpoch()),
                 chart->axisTime(p.window.stop - marginBefore));
        QCOMPARE(static_cast<qreal>(chart->timeAxis()->max().toMSecsSinceEpoch()),
                 chart->axisTime(p.window.go + margin));
        QVERIFY(dialog->saveChart(QString::fromStdString(folder.file("chart.png"))));
        QVERIFY(QImage(QString::fromStdString(folder.file("chart.png"))).width() > 100);

        // The speed line is broken at the solution's gaps (27 of them longer than 5 s, the
        // tolerance of 3 s and the interval of 2 s): no piece bridges one.
        chart->showAll();
        int pieces = 0;
        for (const QLineSeries* piece : chart->speedPieces()) {
            pieces += piece->count() > 0 ? 1 : 0;
            for (int i = 1; i < piece->count(); ++i)
                QVERIFY(piece->at(i).x() - piece->at(i - 1).x() <= 5000.0);
        }
        QCOMPARE(pieces, 28);

        // A longer trim checks the points again from the solution read: fewer epochs averaged.
        const int averaged = model->points()[3].coordinate.epochsUsed;
        auto* trim = dialog->findChild<QDoubleSpinBox*>("spnObciecie");
        trim->setValue(12.0);
        emit trim->editingFinished();
        QVERIFY(ended.wait(20000));
        QVERIFY(model->points()[3].coordinate.epochsUsed < averaged);

        auto* stale = dialog->findChild<QLabel*>("lblNieaktualne");
        QVERIFY(!stale->isVisible());
        dialog->setSurvey(std::nullopt);
        QVERIFY(stale->isVisible());
        QCOMPARE(stale->text(),
                 "Tabela czasów zmieniła się od analizy. Wykonaj analizę jeszcze raz.");
        QVERIFY(!table->isEnabled());
        QVERIFY(!dialog->findChild<QPushButton*>("btnZapiszCsv")->isEnabled());
    }

    // The trim and the grid chosen are those of the next dialog.
    void trimAndGridRemembered() {
        auto* trim = dialog->findChild<QDoubleSpinBox*>("spnObciecie");
        trim->setValue(3.5);
        emit trim->editingFinished();
        dialog->findChild<QComboBox*>("cmbUklad")->setCurrentText("PL-1992");
        dialog = std::make_unique<PointsDialog>();
        QCOMPARE(dialog->findChild<QDoubleSpinBox*>("spnObciecie")->value(), 3.5);
        QCOMPARE(dialog->findChild<QComboBox*>("cmbUklad")->currentText(), "PL-1992");
    }

    // "Przerwij" while rnx2rtkp runs: the process ends and nothing is left in the folder.
    void stopEndsRnx2rtkp() {
        TempFolder folder, bin;
        const std::string pidFile = bin.file("pid");
        const std::string script =
            bin.write("rnx2rtkp", "#!/bin/sh\necho $$ > " + pidFile +
                                      "\nprintf 'processing : 2005/04/02 00:10:00 Q=1\\r' >&2\n"
                                      "exec sleep 30\n");
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QByteArray::fromStdString(bin.path()) + ":" + path);
        const std::string rover = folder.write("rover.05o", "");
        folder.write("base.05o", "");
        folder.write("nav.05n", "");
        AnalysedSurvey survey = surveyOf(kStops, 2005, 4, 2);
        survey.rinex = rover;
        dialog->setSurvey(survey);
        QSignalSpy ended(dialog.get(), &PointsDialog::computationEnded);
        QElapsedTimer clock;
        clock.start();
        dialog->compute({{}, folder.file("base.05o"), {folder.file("nav.05n")}});
        auto* stop = dialog->findChild<QPushButton*>("btnPrzerwij");
        auto* bar = dialog->findChild<QProgressBar*>("prgObliczenie");
        QTRY_VERIFY(bar->text().contains("(epoka 0:10:00)"));
        QVERIFY(bar->isVisible());
        QVERIFY(stop->isEnabled());
        QTest::mouseClick(stop, Qt::LeftButton);
        QVERIFY(ended.wait(5000));
        qputenv("PATH", path);
        QVERIFY(clock.elapsed() < 5000);
        const pid_t pid = std::stoi(readBytes(pidFile));
        errno = 0;
        QCOMPARE(::kill(pid, 0), -1);  // ended and waited for
        QCOMPARE(errno, ESRCH);
        QStringList left = QDir(QString::fromStdString(folder.path())).entryList(QDir::Files);
        QCOMPARE(left, QStringList({"base.05o", "nav.05n", "rover.05o"}));
        QVERIFY(!stop->isEnabled());
    }

    // A day at 20 Hz read and drawn: the window's thread never waits 100 ms, and the speed
    // line holds no more than its bound, for the whole day and zoomed in.
    void twentyHertzDayKeepsTheWindowFree() {
        TempFolder folder;
        writeTwentyHertzDay(folder);
        dialog->setSurvey(surveyOf(folder.file("day20hz.txt"), 2024, 3, 5));
        QSignalSpy ended(dialog.get(), &PointsDialog::computationEnded);
        QElapsedTimer sinceTick;
        qint64 longest = 0;
        QTimer ticks;
        ticks.setInterval(20);
        connect(&ticks, &QTimer::timeout,
                [&] { longest = std::max(longest, sinceTick.restart()); });
        sinceTick.start();
        ticks.start();
        dialog->compute({folder.file("day20hz.pos"), {}, {}});
        QVERIFY(ended.wait(60000));
        QTest::qWait(200);  // what the end leaves to draw
        ticks.stop();
        qInfo("longest gap between the window's 20 ms ticks: %lld ms", longest);
        QVERIFY(longest < 100);

        auto* chart = dialog->findChild<PointsChart*>("chtPredkosc");
        QCOMPARE(qobject_cast<PointsModel*>(dialog->findChild<QTableView*>("grdPunkty")->model())
                     ->rowCount(),
                 20);
        QVERIFY(speedSamples(chart) > PointsChart::kMostShown / 2);
        QVERIFY(speedSamples(chart) <= PointsChart::kMostShown);
        chart->showPoint(5);
        QVERIFY(speedSamples(chart) <= PointsChart::kMostShown);
        QVERIFY(speedSamples(chart) > 100);  // 5 minutes of 1 s track
    }

  private:
    std::unique_ptr<PointsDialog> dialog;
};

QTEST_MAIN(PointsDialogTest)
#include "points_dialog_test.moc"
