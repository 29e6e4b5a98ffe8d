// The reading of any solution file: every epoch is a finite position of a known quality,
// the bad lines are told in at most eleven messages, and a file that ends the reading does
// so with one of its three texts.

#include <cmath>
#include <string>

#include "failure.h"
#include "fuzz_input.h"
#include "solution.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace marvolt;
    const std::string path = fuzz::writeScratchFile("solution.pos", fuzz::textOf(data, size));
    fuzz::QuietServices services;
    const auto finite = [](const Enu& v) {
        return std::isfinite(v.e) && std::isfinite(v.n) && std::isfinite(v.u);
    };
    const auto take = [&](const SolutionEpoch& e) {
        fuzz::require(
            std::isfinite(e.time) && std::isfinite(e.x) && std::isfinite(e.y) && std::isfinite(e.z),
            "a finite time and position");
        const int quality = static_cast<int>(e.quality);
        fuzz::require(quality >= 1 && quality <= 6, "a quality from fix to PPP");
        fuzz::require(!e.sd || (finite(*e.sd) && e.sd->e >= 0 && e.sd->n >= 0 && e.sd->u >= 0),
                      "finite, positive deviations");
        fuzz::require(!e.velocity || finite(*e.velocity), "a finite velocity");
    };
    try {
        readSolution(path, 0.0, take, services);
    } catch (const Failure& failure) {
        const std::string text = failure.text();
        const std::string file = "Plik \"" + path + "\" ";
        fuzz::require(text.rfind(file, 0) == 0 &&
                          (text.find("nie zawiera rozwiązania") != std::string::npos ||
                           text.find("podaje czas w systemie") != std::string::npos ||
                           text.find("nie zawiera daty") != std::string::npos),
                      "one of the texts that end the reading");
    }
    fuzz::require(services.messages.size() <= 11, "at most ten bad lines and the rest counted");
    for (const std::string& message : services.messages)
        fuzz::require(
            message.rfind("Wiersz ", 0) == 0 || message.rfind("Pominąłem jeszcze ", 0) == 0,
            "only bad-line messages");
    return 0;
}
