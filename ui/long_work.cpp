#include "long_work.h"

#include <QEventLoop>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <thread>

#include "application_title.h"

namespace marvolt {

namespace {

// How long the work runs before the progress dialog shows, and how often it is redrawn.
constexpr int kDialogAfterMs = 500;
constexpr int kRedrawMs = 50;

}  // namespace

void LongWork::DeferredServices::message(const std::string& text) {
    calls_.push_back([text](Services& shown) { shown.message(text); });
}

void LongWork::DeferredServices::errorBox(const std::string& text) {
    calls_.push_back([text](Services& shown) { shown.errorBox(text); });
}

void LongWork::DeferredServices::busyCursor() {
    calls_.push_back([](Services& shown) { shown.busyCursor(); });
}

void LongWork::DeferredServices::normalCursor() {
    calls_.push_back([](Services& shown) { shown.normalCursor(); });
}

void LongWork::DeferredServices::showThrough(Services& shown) const {
    for (const auto& call : calls_) call(shown);
}

bool SharedProgress::passPointOfNoReturn() {
    State running = State::Running;
    return state_.compare_exchange_strong(running, State::PastNoReturn) ||
           running == State::PastNoReturn;
}

bool SharedProgress::requestStop() {
    State running = State::Running;
    return state_.compare_exchange_strong(running, State::StopAsked) || running == State::StopAsked;
}

void LongWork::run(const std::function<void(Progress&, Services&)>& work) {
    QProgressDialog dialog(label_, QString(), 0, 100, window_);
    dialog.setObjectName(QStringLiteral("progressDialog"));
    dialog.setWindowTitle(applicationTitle());
    dialog.setWindowModality(Qt::NonModal);  // the window's close box stops the work too
    auto* stopButton = new QPushButton(QStringLiteral("Przerwij"));
    dialog.setCancelButton(stopButton);
    // The bar is moved by hand, not through the dialog's setValue: that would show the dialog
    // as soon as it guessed the work to be long, and the dialog shows after kDialogAfterMs.
    auto* bar = new QProgressBar;
    bar->setRange(0, 100);  // whole per cent: the bar is redrawn only when the number changes
    dialog.setBar(bar);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    bar->setValue(0);
    dialog.setMinimumDuration(kDialogAfterMs);  // from now on, with the bar at its start
    // Its window is made now, before the work keeps the processors and the disk busy: made
    // then, its first show held the window's thread for up to 0.4 s.
    dialog.ensurePolished();
    dialog.winId();
    QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, [this, &dialog] {
        if (!stop()) dialog.show();  // too late: the work goes on to its end
    });
    QTimer redraw;
    QObject::connect(&redraw, &QTimer::timeout, &dialog, [this, bar, stopButton] {
        bar->setValue(progress_.permille() / 10);
        stopButton->setEnabled(!progress_.pastPointOfNoReturn());
    });
    redraw.start(kRedrawMs);

    QEventLoop untilEnded;
    std::thread thread([&] {
        try {
            work(progress_, asked_);
        } catch (...) {
            thrown_ = std::current_exception();
        }
        QMetaObject::invokeMethod(&untilEnded, &QEventLoop::quit, Qt::QueuedConnection);
    });
    untilEnded.exec();
    thread.join();
    redraw.stop();
}

void LongWork::finish(Services& shown) {
    asked_.showThrough(shown);
    if (thrown_) std::rethrow_exception(thrown_);
}

}  // namespace marvolt
