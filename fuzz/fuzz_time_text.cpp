// Time text reading of any text: a time of day from 0 up to 1, or the refusal's text.

#include "date_time.h"
#include "failure.h"
#include "fuzz_input.h"
#include "locale_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace marvolt;
    static const LocaleSettings locale;
    const std::string text(fuzz::textOf(data, size));
    try {
        const double time = readTimeText(text, locale);
        fuzz::require(time >= 0.0 && time < 1.0, "a time of day");
    } catch (const Failure& failure) {
        fuzz::require(failure.text() == fuzz::asFailureText("'" + text + "' is not a valid time"),
                      "the refusal names the text");
    }
    return 0;
}
