// Whole-number reading of any text: plain decimal texts give what strtoll gives within the
// 32-bit range, and a refusal carries its text.

#include <cerrno>
#include <climits>

#include "failure.h"
#include "fuzz_input.h"
#include "numbers.h"

namespace {

// Blanks, an optional sign and one or more decimal digits, nothing else.
bool plainDecimal(std::string_view text) {
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string_view::npos) return false;
    if (text[i] == '+' || text[i] == '-') ++i;
    if (i == text.size()) return false;
    for (; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace marvolt;
    const std::string text(fuzz::textOf(data, size));
    try {
        const std::int32_t value = readInteger(text);
        if (plainDecimal(text)) {
            errno = 0;
            const long long expected = std::strtoll(text.c_str(), nullptr, 10);
            fuzz::require(errno == 0 && expected == value, "a decimal reads as strtoll");
        }
    } catch (const Failure& failure) {
        fuzz::require(
            failure.text() == fuzz::asFailureText("'" + text + "' is not a valid integer value"),
            "the refusal names the text");
        if (plainDecimal(text)) {
            errno = 0;
            const long long expected = std::strtoll(text.c_str(), nullptr, 10);
            fuzz::require(errno == ERANGE || expected < INT32_MIN || expected > INT32_MAX,
                          "only decimals out of range are refused");
        }
    }
    return 0;
}
