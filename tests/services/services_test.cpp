#include "services.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace marvolt {
namespace {

// Records the calls of an operation.
class CallLog : public Services {
  public:
    std::vector<std::string> calls;
    void message(const std::string& text) override { calls.push_back("message: " + text); }
    void errorBox(const std::string& text) override { calls.push_back("error: " + text); }
    void busyCursor() override { calls.push_back("busy"); }
    void normalCursor() override { calls.push_back("normal"); }
};

TEST(RunOperation, ShowsFailureInErrorBoxAndRestoresCursor) {
    CallLog services;
    const bool done = runOperation(services, [&] {
        BusyCursor busy(services);
        services.message("Wczytano 3 punkty");
        throw Failure("File not found");
    });
    EXPECT_FALSE(done);
    EXPECT_EQ(services.calls, (std::vector<std::string>{"busy", "message: Wczytano 3 punkty",
                                                        "normal", "error: File not found."}));
}

TEST(RunOperation, SucceedsWithoutErrorBox) {
    CallLog services;
    EXPECT_TRUE(runOperation(services, [&] { services.message("OK"); }));
    EXPECT_EQ(services.calls, (std::vector<std::string>{"message: OK"}));
}

TEST(RunOperation, LeavesOtherErrorsAlone) {
    CallLog services;
    EXPECT_THROW(runOperation(services, [] { throw std::logic_error("bug"); }), std::logic_error);
    EXPECT_TRUE(services.calls.empty());
}

TEST(BusyCursor, RestoreShowsNormalCursorOnce) {
    CallLog services;
    {
        BusyCursor busy(services);
        busy.restore();
        services.message("Koniec");
    }
    EXPECT_EQ(services.calls, (std::vector<std::string>{"busy", "normal", "message: Koniec"}));
}

}  // namespace
}  // namespace marvolt
