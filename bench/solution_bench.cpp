#include "solution_bench.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>

#include "measurement.h"
#include "services.h"
#include "solution.h"

namespace marvolt::bench {
namespace {

constexpr int kSecondsPerDay = 86400;
constexpr double kTarget = 1.5;  // x the floor
constexpr double kPeakTargetMegabytes = 64.0;
constexpr double kMegabyte = 1e6;
constexpr std::size_t kBlock = std::size_t{1} << 20;

class QuietServices : public Services {
  public:
    void message(const std::string&) override { ++messages; }
    void errorBox(const std::string&) override {}
    void busyCursor() override {}
    void normalCursor() override {}
    int messages = 0;
};

// A day of a kinematic solution as rnx2rtkp writes it (calendar time, degrees), `rate`
// epochs a second, the rover creeping north-east; its size in bytes.
std::size_t writeDay(const std::string& path, int rate) {
    std::FILE* out = std::fopen(path.c_str(), "w");
    if (!out) throw std::runtime_error("cannot create " + path);
    std::fputs(
        "% program   : RTKLIB ver.2.4.3\n"
        "% (lat/lon/height=WGS84/ellipsoidal,Q=1:fix,2:float,3:sbas,4:dgps,5:single,6:ppp,"
        "ns=# of satellites)\n"
        "%  GPST                  latitude(deg) longitude(deg)  height(m)   Q  ns   sdn(m)   "
        "sde(m)   sdu(m)  sdne(m)  sdeu(m)  sdun(m) age(s)  ratio\n",
        out);
    const long epochs = static_cast<long>(kSecondsPerDay) * rate;
    for (long i = 0; i < epochs; ++i) {
        const long millisecond = i * 1000 / rate;
        const long second = millisecond / 1000;
        std::fprintf(out,
                     "2023/07/11 %02ld:%02ld:%02ld.%03ld   %12.9f  %13.9f  %9.4f   %d  %2d   "
                     "0.0045   0.0045   0.0097   0.0027   0.0011  -0.0030   0.03    5.9\n",
                     second / 3600, second / 60 % 60, second % 60, millisecond % 1000,
                     52.2 + i * 1e-9, 21.0 + i * 2e-9, 110.0 + (i % 1000) * 1e-4,
                     i % 7 == 0 ? 2 : 1, 12 + static_cast<int>(i % 9));
    }
    const long size = std::ftell(out);
    if (std::fclose(out) != 0) throw std::runtime_error("cannot write " + path);
    return static_cast<std::size_t>(size);
}

// The floor: the file read in blocks of 1 MiB and every line split into its blank-separated
// fields; how many fields there were.
std::size_t readAndSplit(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw std::runtime_error("cannot open " + path);
    std::string block(kBlock, '\0');
    std::string carry;
    std::size_t fields = 0;
    std::string_view field[64];
    const auto split = [&](std::string_view line) {
        std::size_t count = 0;
        std::size_t i = 0;
        while (i < line.size()) {
            while (i < line.size() && line[i] == ' ') ++i;
            const std::size_t start = i;
            while (i < line.size() && line[i] != ' ') ++i;
            if (i > start && count < 64) field[count++] = line.substr(start, i - start);
        }
        fields += count;
    };
    for (;;) {
        const ssize_t n = ::read(fd, block.data(), block.size());
        if (n <= 0) break;
        std::string_view data(block.data(), static_cast<std::size_t>(n));
        std::size_t from = 0;
        for (std::size_t at; (at = data.find('\n', from)) != std::string_view::npos;
             from = at + 1) {
            if (carry.empty()) {
                split(data.substr(from, at - from));
            } else {
                carry.append(data.substr(from, at - from));
                split(carry);
                carry.clear();
            }
        }
        carry.append(data.substr(from));
    }
    ::close(fd);
    return fields;
}

struct Timing {
    double seconds = std::numeric_limits<double>::infinity();
    std::size_t peakBytes = 0;
};

template <typename Work>
Timing best(int runs, Work&& work) {
    Timing timing;
    for (int run = 0; run < runs; ++run) {
        resetPeakMemory();
        timing.seconds = std::min(timing.seconds, wallSeconds(work));
        timing.peakBytes = std::max(timing.peakBytes, peakMemory());
    }
    return timing;
}

}  // namespace

int runSolutionBench(int runs) {
    std::string folder = (std::filesystem::temp_directory_path() / "marvolt-bench-XXXXXX").string();
    if (!::mkdtemp(folder.data())) throw std::runtime_error("cannot make a temporary folder");
    bool met = true;
    std::printf("%-34s %9s %9s %7s %7s %9s\n", "solution file", "floor [s]", "read [s]", "ratio",
                "target", "peak [MB]");
    for (const int rate : {1, 20}) {
        const std::string path = folder + "/day_" + std::to_string(rate) + "hz.pos";
        const std::size_t bytes = writeDay(path, rate);
        readAndSplit(path);  // untimed: brings the file into the page cache
        std::size_t fields = 0;
        const Timing floor = best(runs, [&] { fields = readAndSplit(path); });
        QuietServices services;
        std::size_t epochs = 0;
        double sum = 0.0;
        const Timing read = best(runs, [&] {
            epochs = 0;
            readSolution(
                path, 0.0, [&](const SolutionEpoch& e) { ++epochs, sum += e.x; }, services);
        });
        if (epochs != static_cast<std::size_t>(kSecondsPerDay) * rate || services.messages != 0)
            throw std::runtime_error("the solution did not read whole: " + path);
        const double ratio = read.seconds / floor.seconds;
        const double peak = static_cast<double>(read.peakBytes) / kMegabyte;
        met = met && ratio <= kTarget && peak < kPeakTargetMegabytes;
        char what[64];
        std::snprintf(what, sizeof what, "%zu epochs (%d Hz), %.0f MB", epochs, rate,
                      static_cast<double>(bytes) / kMegabyte);
        std::printf("%-34s %9.3f %9.3f %7.2f %7.1f %9.1f\n", what, floor.seconds, read.seconds,
                    ratio, kTarget, peak);
        std::filesystem::remove(path);
    }
    std::filesystem::remove_all(folder);
    std::printf("targets %s\n", met ? "met" : "NOT met");
    return met ? 0 : 1;
}

}  // namespace marvolt::bench
