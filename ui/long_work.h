#pragma once
// The analysis and the modification of a day's file run on a thread of their own while the
// window goes on repainting: once the work has run for half a second a progress dialog
// shows the share of the file done, with "Przerwij" to stop it.

#include <QString>
#include <atomic>
#include <functional>

#include "progress.h"
#include "services.h"

class QWidget;

namespace marvolt {

// The progress of work on another thread, read by the window's thread.
class SharedProgress : public Progress {
  public:
    void advance(double share) override {
        permille_.store(static_cast<int>(share * 1000.0), std::memory_order_relaxed);
    }
    bool stopRequested() override { return state_.load() == State::StopAsked; }
    bool passPointOfNoReturn() override;

    // Asks the work to stop; false once it has passed the point of no return.
    bool requestStop();
    int permille() const { return permille_.load(std::memory_order_relaxed); }
    bool stopAsked() const { return state_.load() == State::StopAsked; }
    bool pastPointOfNoReturn() const { return state_.load() == State::PastNoReturn; }

  private:
    enum class State { Running, StopAsked, PastNoReturn };
    std::atomic<int> permille_{0};
    std::atomic<State> state_{State::Running};
};

class LongWork {
  public:
    // The dialog's text (such as "Analiza pliku RINEX...") and the window it belongs to.
    LongWork(QWidget* window, const QString& label) : window_(window), label_(label) {}

    // Runs `work` on a thread of its own and returns once it has ended, the window's events
    // going on meanwhile. What the work asked of the user (a message, the cursor) is then
    // shown through `shown`, in its order, and what it threw is thrown again here.
    void run(const std::function<void(Progress&, Services&)>& work, Services& shown);
    // Asks the work to stop (the window is closing); false when it can no longer be stopped.
    bool stop() { return progress_.requestStop(); }
    // The work was asked to stop before its point of no return: it stopped.
    bool stopped() const { return progress_.stopAsked(); }

  private:
    QWidget* window_;
    QString label_;
    SharedProgress progress_;
};

}  // namespace marvolt
