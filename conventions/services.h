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
