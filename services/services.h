#pragma once
// What an operation may ask of the user, and nothing more. The window implements it
// with real dialogs, marvolt-cli by printing, the tests with a recording fake.

#include <string>

namespace marvolt {

class Services {
  public:
    virtual ~Services() = default;

    // A modal message window (UTF-8 text).
    virtual void message(const std::string& text) = 0;
    // One message of a series of like messages (the bad rows of one import, the missing
    // epochs of one analysis); true when the user asks to skip the rest of the series. Where
    // nothing can be skipped it is a plain message.
    virtual bool seriesMessage(const std::string& text) {
        message(text);
        return false;
    }
    // The error box for an error that ended an operation (UTF-8, "." rule applied by the caller).
    virtual void errorBox(const std::string& text) = 0;
    virtual void busyCursor() = 0;
    virtual void normalCursor() = 0;
};

// Shows the busy cursor for its lifetime; the normal cursor comes back also when
// an operation ends with an error.
class BusyCursor {
  public:
    explicit BusyCursor(Services& services) : services_(services) { services_.busyCursor(); }
    ~BusyCursor() { restore(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
    // Restores the normal cursor now (an operation that still has messages to show).
    void restore() {
        if (active_) {
            active_ = false;
            services_.normalCursor();
        }
    }

  private:
    Services& services_;
    bool active_ = true;
};

// The messages of one series: once the user skips the rest, no more of them are shown.
class MessageSeries {
  public:
    explicit MessageSeries(Services& services) : services_(services) {}
    void show(const std::string& text) {
        if (!skipped_) skipped_ = services_.seriesMessage(text);
    }

  private:
    Services& services_;
    bool skipped_ = false;
};

// Runs one user operation the way every front end does: a Failure that ends it is
// shown in the error box. Returns false when the operation ended with an error.
template <typename Operation>
bool runOperation(Services& services, Operation&& operation);

}  // namespace marvolt

#include "failure.h"

template <typename Operation>
bool marvolt::runOperation(Services& services, Operation&& operation) {
    try {
        operation();
        return true;
    } catch (const Failure& failure) {
        services.errorBox(errorBoxText(failure.text()));
        return false;
    }
}
