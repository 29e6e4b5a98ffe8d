// marvolt-window-bench: how long the window's thread is ever kept from its events while the
// analysis and the modification of a large file run in the real window (under Xvfb, say).
//
//   marvolt-window-bench --generate FOLDER HOURS RATE   writes FOLDER/czasy.txt and
//                                                        FOLDER/dzien.11o (as marvolt-bench)
//   marvolt-window-bench TIMEFILE RINEXFILE [SHOT.png]  imports, analyses and modifies
//
// A timer asks for the window's thread every 5 ms; the longest wait between two of its
// turns from the start of the work (the file chosen) to the end of the step is printed for
// each step, with every wait of 50 ms or more and the moment the progress dialog showed. The
// message boxes are answered as they show; with SHOT a picture of the screen is taken a
// second into the analysis.

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <string>

#include "durov.h"
#include "locale_settings.h"
#include "survey_files.h"

namespace {

// The longest time between two turns of a timer on the window's thread, from the start of
// the work (its progress dialog made, the file chosen) to the end of the step.
class GapMeter {
  public:
    explicit GapMeter(const QWidget& window) {
        QObject::connect(&timer_, &QTimer::timeout, [this, &window] {
            const qint64 gap = clock_.restart();
            since_ += gap;
            const auto* dialog = window.findChild<QWidget*>("progressDialog");
            if (!working_) {
                working_ = dialog != nullptr;
                workFrom_ = since_;
                return;
            }
            if (!shown_ && dialog && dialog->isVisible()) {
                shown_ = true;
                std::printf("  %s: the progress dialog shown %.2f s after the work began\n", name_,
                            seconds(since_ - workFrom_));
            }
            if (gap >= 50)
                std::printf("  %s: a wait of %lld ms, ending %.2f s after the work began\n", name_,
                            static_cast<long long>(gap), seconds(since_ - workFrom_));
            longest_ = std::max(longest_, gap);
        });
    }
    void start(const char* name) {
        name_ = name;
        longest_ = 0;
        since_ = 0;
        working_ = false;
        shown_ = false;
        clock_.start();
        timer_.start(5);
    }
    qint64 stop() {
        timer_.stop();
        return std::max(longest_, clock_.elapsed());
    }

  private:
    static double seconds(qint64 ms) { return static_cast<double>(ms) / 1000.0; }

    QTimer timer_;
    QElapsedTimer clock_;
    const char* name_ = "";
    qint64 longest_ = 0;
    qint64 since_ = 0;
    qint64 workFrom_ = 0;
    bool working_ = false;
    bool shown_ = false;
};

void answerMessageBoxes() {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            std::printf("  message: %s\n", box->text().toUtf8().constData());
            box->accept();
        }
    });
    poll->start(20);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 5 && std::string(argv[1]) == "--generate") {
        const std::string folder = argv[2];
        std::filesystem::create_directories(folder);
        const int hours = std::stoi(argv[3]);
        const auto file = marvolt::bench::writeRinexFile(folder + "/dzien.11o", hours,
                                                         std::stoi(argv[4]), "\r\n");
        marvolt::bench::writeTimeFile(folder + "/czasy.txt", hours);
        std::printf("%zu bytes, %d epochs\n", file.bytes, file.epochs);
        return 0;
    }
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: marvolt-window-bench TIMEFILE RINEXFILE [SHOT.png]\n");
        return 64;
    }
    QApplication application(argc, argv);
    marvolt::TimeTable table(marvolt::localeFromEnvironment());
    marvolt::TfrmDurov window(table);
    window.show();
    QString next;
    window.services().setDialogRunner([&next](QFileDialog& dialog) {
        dialog.selectFile(next);
        return int(QDialog::Accepted);
    });
    answerMessageBoxes();
    const QString shot = argc == 4 ? QString::fromLocal8Bit(argv[3]) : QString();
    QTimer::singleShot(200, [&] {
        GapMeter meter(window);
        QElapsedTimer clock;
        const auto step = [&](const char* name, const char* button, const QString& file) {
            next = file;
            meter.start(name);
            clock.start();
            window.findChild<QPushButton*>(button)->click();
            const qint64 gap = meter.stop();
            std::printf("%s: %.2f s, longest wait of the window's thread %lld ms\n", name,
                        static_cast<double>(clock.elapsed()) / 1000.0, static_cast<long long>(gap));
        };
        next = QString::fromLocal8Bit(argv[1]);
        window.findChild<QPushButton*>("btnPlikCzas")->click();
        if (!shot.isEmpty())
            QTimer::singleShot(1000, [&] { window.screen()->grabWindow(0).save(shot); });
        step("analysis", "btnPlikRinex", QString::fromLocal8Bit(argv[2]));
        step("modification", "btnModyfikuj", QString());
        window.close();
    });
    return application.exec();
}
