#pragma once
// The analysis and the modification of a day's file run on a thread of their own while the
// window goes on repainting: once the work has run for half a second a progress dialog
// shows the share of the file done, with "Przerwij" to stop it.

#include <QString>
#include <atomic>
#include <exception>
#include <functional>
#include <string>
#include <vector>

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
    // going on meanwhile.
    void run(const std::function<void(Progress&, Services&)>& work);
    // Then shows through `shown` what the work asked of the user (a message, the cursor), in
    // its order, and throws again what it threw.
    void finish(Services& shown);
    // Asks the work to stop (the window is closing); false when it can no longer be stopped.
    bool stop() { return progress_.requestStop(); }
    // The work was asked to stop before its point of no return: it stopped.
    bool stopped() const { return progress_.stopAsked(); }

    // The services of work on another thread: what it asks is kept, to be shown by the
    // window's thread once the work has ended, in the same order.
    class DeferredServices : public Services {
      public:
        void message(const std::string& text) override;
        void errorBox(const std::string& text) override;
        void busyCursor() override;
        void normalCursor() override;
        void showThrough(Services& shown) const;

      private:
        std::vector<std::function<void(Services&)>> calls_;
    };

  private:
    QWidget* window_;
    QString label_;
    SharedProgress progress_;
    DeferredServices asked_;
    std::exception_ptr thrown_;
};

}  // namespace marvolt
