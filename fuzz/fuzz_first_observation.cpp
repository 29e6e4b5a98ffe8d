// The header's first observation in any file: found with a time of day in whole seconds,
// or not found, or refused with a Failure.

#include "failure.h"
#include "fuzz_input.h"
#include "rinex_oracle.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace marvolt;
    const auto lines = oracle::WholeFileLines::fromBytes(fuzz::textOf(data, size));
    double date = 0.0;
    try {
        const FirstObservation first = oracle::findFirstObservation(lines, date);
        fuzz::require(first.time >= 0.0 && first.time < 86400.0, "a time of day in seconds");
    } catch (const Failure&) {
    }
    return 0;
}
