// The analysis and the modification of a large file in the window: run off the window's
// thread with the controls disabled and a progress dialog, stopped by its "Przerwij" or by
// closing the window.
#include <QFileDialog>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <thread>

#include "durov.h"
#include "long_work.h"
#include "modal_answerer.h"
#include "temp_folder.h"

using marvolt::Field;
using marvolt::testing::ModalAnswerer;
using marvolt::testing::readBytes;
using marvolt::testing::TempFolder;

namespace {

std::string record(const std::string& values, const std::string& label) {
    return values + std::string(60 - values.size(), ' ') + label + "\r\n";
}

// About 100 MB of RINEX 2 (CR LF): one epoch a second from 10:00:00 on 3 April 2012, each
// with 40 observation lines, so that reading it takes a good many of the window's turns.
std::string largeSurvey() {
    std::string file =
        record("     2.11           OBSERVATION DATA    G (GPS)", "RINEX VERSION / TYPE") +
        record("  2012     4     3    10     0    0.0000000     GPS", "TIME OF FIRST OBS") +
        record("", "END OF HEADER");
    const std::string observations = [] {
        std::string lines;
        for (int i = 0; i < 40; ++i) lines += std::string(62, ' ') + "23629347.915 8\r\n";
        return lines;
    }();
    char epoch[64];
    for (int second = 0; second < 32000; ++second) {
        std::snprintf(epoch, sizeof epoch, " 12  4  3%3d%3d%11.7f  0  1G05\r\n", 10 + second / 3600,
                      second / 60 % 60, static_cast<double>(second % 60));
        file += epoch + observations;
    }
    return file;
}

}  // namespace

class WindowWorkTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        survey = largeSurvey();
    }
    void init() {
        table = std::make_unique<marvolt::TimeTable>();
        window = std::make_unique<marvolt::TfrmDurov>(*table);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        table->insert(0);
        table->setText(Field::Punkt, "101");
        table->setText(Field::Stop, "10:00:00");
        table->setText(Field::Go, "10:00:30");
        table->post();
        rinex = folder.write("duzy.12o", survey);
        window->services().setDialogRunner([this](QFileDialog& dialog) {
            dialog.selectFile(QString::fromStdString(rinex));
            return int(QDialog::Accepted);
        });
    }
    void cleanup() {
        window.reset();
        table.reset();
    }

    // "Przerwij" during the analysis: no result, the report says so, Modify and the points
    // are disabled though an analysis before it had enabled them; meanwhile the controls
    // were disabled and the dialog named the work.
    void stoppedAnalysis() {
        ModalAnswerer boxes;  // none is expected from the stopped one
        QTest::mouseClick(button("btnPlikRinex"), Qt::LeftButton);
        QVERIFY(button("btnModyfikuj")->isEnabled() && button("btnWspolrzedne")->isEnabled());
        const std::size_t messagesBefore = boxes.seen.size();
        QString label;
        bool controlsEnabled = true;
        whileWorking([&](QProgressDialog& dialog) {
            label = dialog.labelText();
            controlsEnabled = button("btnPlikCzas")->isEnabled() || button("BitBtn1")->isEnabled();
            stopButton(dialog)->click();
        });
        QTest::mouseClick(button("btnPlikRinex"), Qt::LeftButton);
        QCOMPARE(label, "Analiza pliku RINEX...");
        QVERIFY(!controlsEnabled);
        QCOMPARE(report(), "Analiza przerwana.");
        QCOMPARE(window->findChild<QLineEdit*>("edtData")->text(), QString());
        QVERIFY(!button("btnModyfikuj")->isEnabled());
        QVERIFY(!button("btnWspolrzedne")->isEnabled());
        QVERIFY(button("btnPlikCzas")->isEnabled());
        QCOMPARE(boxes.seen.size(), messagesBefore);
    }

    // The dialog shows once the work has run for half a second (its timer may be 5% early),
    // never sooner, though the work looks long from its first steps; it shows the share done.
    void theDialogWaitsHalfASecond() {
        marvolt::LongWork longWork(window.get(), "Analiza pliku RINEX...");
        QElapsedTimer sinceStart;
        qint64 shownAfter = -1;
        int shownValue = -1;
        auto* poll = new QTimer(window.get());
        connect(poll, &QTimer::timeout, [&] {
            const auto* dialog = window->findChild<QProgressDialog*>("progressDialog");
            if (!dialog || !dialog->isVisible() || shownAfter >= 0) return;
            shownAfter = sinceStart.elapsed();
            shownValue = dialog->value();
        });
        poll->start(2);
        sinceStart.start();
        longWork.run([](marvolt::Progress& progress, marvolt::Services&) {
            for (int step = 1; step <= 120; ++step) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                progress.advance(step / 120.0);
            }
        });
        delete poll;
        QVERIFY2(shownAfter >= 450, qPrintable(QString::number(shownAfter)));
        QVERIFY2(shownValue > 0 && shownValue < 100, qPrintable(QString::number(shownValue)));
    }

    // "Przerwij" during the modification: the file as it was, nothing beside it, the stop
    // said; the analysis still holds, so Modify stays enabled.
    void stoppedModification() {
        ModalAnswerer boxes;
        QTest::mouseClick(button("btnPlikRinex"), Qt::LeftButton);
        QVERIFY(button("btnModyfikuj")->isEnabled());
        const std::size_t messagesBefore = boxes.seen.size();
        QString label;
        whileWorking([&](QProgressDialog& dialog) {
            label = dialog.labelText();
            stopButton(dialog)->click();
        });
        QTest::mouseClick(button("btnModyfikuj"), Qt::LeftButton);
        QCOMPARE(label, "Modyfikacja pliku RINEX...");
        QCOMPARE(boxes.texts().mid(qsizetype(messagesBefore)),
                 QStringList({"Modyfikacja przerwana; plik nie został zmieniony."}));
        QVERIFY(readBytes(rinex) == survey);
        QCOMPARE(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
        QVERIFY(button("btnModyfikuj")->isEnabled());
    }

    // Closing the window during the analysis stops it, then closes the window.
    void closingStopsTheWorkThenCloses() {
        ModalAnswerer boxes;  // none is expected
        whileWorking([&](QProgressDialog&) { QVERIFY(!window->close()); });
        QTest::mouseClick(button("btnPlikRinex"), Qt::LeftButton);
        QCOMPARE(report(), "Analiza przerwana.");
        QVERIFY(!window->isVisible());
    }

  private:
    // Runs `step` on the progress dialog as soon as the work has begun.
    void whileWorking(const std::function<void(QProgressDialog&)>& step) {
        auto* poll = new QTimer(window.get());
        connect(poll, &QTimer::timeout, [this, poll, step] {
            auto* dialog = window->findChild<QProgressDialog*>("progressDialog");
            if (!dialog) return;
            poll->stop();
            poll->deleteLater();
            step(*dialog);
        });
        poll->start(1);
    }
    static QPushButton* stopButton(QProgressDialog& dialog) {
        auto* stop = dialog.findChild<QPushButton*>();
        if (!stop || stop->text() != "Przerwij") qFatal("no Przerwij");
        return stop;
    }
    QPushButton* button(const char* name) const { return window->findChild<QPushButton*>(name); }
    QString report() const { return window->findChild<QTextEdit*>("memRaport")->toPlainText(); }

    std::string survey;
    TempFolder folder;
    std::string rinex;
    std::unique_ptr<marvolt::TimeTable> table;
    std::unique_ptr<marvolt::TfrmDurov> window;
};

QTEST_MAIN(WindowWorkTest)
#include "window_work_test.moc"
