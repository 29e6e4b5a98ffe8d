#include "long_work.h"

#include <QEventLoop>
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
    QProgressDialog dialog(label_, QString(), 0, 1000, window_);
    dialog.setObjectName(QStringLiteral("progressDialog"));
    dialog.setWindowTitle(applicationTitle());
    dialog.setWindowModality(Qt::NonModal);  // the window's close box stops the work too
    auto* stopButton = new QPushButton(QStringLiteral("Przerwij"));
    dialog.setCancelButton(stopButton);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumDuration(kDialogAfterMs);
    // Its window is made now, before the work keeps the processors and the display server
    // busy: made then, the first show held the window's thread for up to 0.4 s.
    dialog.ensurePolished();
    dialog.winId();
    dialog.setValue(0);  // from now on: shown after kDialogAfterMs
    QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, [this, &dialog] {
        if (!stop()) dialog.show();  // too late: the work goes on to its end
    });
    QTimer redraw;
    QObject::connect(&redraw, &QTimer::timeout, &dialog, [this, &dialog, stopButton] {
        dialog.setValue(progress_.permille());
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
