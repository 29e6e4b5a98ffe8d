#include "long_work.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <exception>
#include <thread>
#include <vector>

#include "application_title.h"

namespace marvolt {

namespace {

// How long the work runs before the progress dialog shows, and how often it is redrawn.
constexpr int kDialogAfterMs = 500;
constexpr int kRedrawMs = 50;

// The services of work on another thread: what it asks is kept, to be shown by the window's
// thread once the work has ended, in the same order.
class DeferredServices : public Services {
  public:
    void message(const std::string& text) override {
        calls_.push_back([text](Services& shown) { shown.message(text); });
    }
    void errorBox(const std::string& text) override {
        calls_.push_back([text](Services& shown) { shown.errorBox(text); });
    }
    void busyCursor() override {
        calls_.push_back([](Services& shown) { shown.busyCursor(); });
    }
    void normalCursor() override {
        calls_.push_back([](Services& shown) { shown.normalCursor(); });
    }
    void showThrough(Services& shown) const {
        for (const auto& call : calls_) call(shown);
    }

  private:
    std::vector<std::function<void(Services&)>> calls_;
};

}  // namespace

bool SharedProgress::passPointOfNoReturn() {
    State running = State::Running;
    return state_.compare_exchange_strong(running, State::PastNoReturn) ||
           running == State::PastNoReturn;
}

bool SharedProgress::requestStop() {
    State running = State::Running;
    return state_.compare_exchange_strong(running, State::StopAsked) || running == State::StopAsked;
}

void LongWork::run(const std::function<void(Progress&, Services&)>& work, Services& shown) {
    QProgressDialog dialog(label_, QString(), 0, 1000, window_);
    dialog.setObjectName(QStringLiteral("progressDialog"));
    dialog.setWindowTitle(applicationTitle());
    dialog.setWindowModality(Qt::NonModal);  // the window's close box stops the work too
    auto* stopButton = new QPushButton(QStringLiteral("Przerwij"));
    dialog.setCancelButton(stopButton);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumDuration(kDialogAfterMs);
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
    DeferredServices asked;
    std::exception_ptr thrown;
    std::thread thread([&] {
        try {
            work(progress_, asked);
        } catch (...) {
            thrown = std::current_exception();
        }
        QMetaObject::invokeMethod(&untilEnded, &QEventLoop::quit, Qt::QueuedConnection);
    });
    untilEnded.exec();
    thread.join();
    redraw.stop();
    dialog.hide();
    asked.showThrough(shown);
    if (thrown) std::rethrow_exception(thrown);
}

}  // namespace marvolt
