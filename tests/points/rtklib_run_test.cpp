// Running rnx2rtkp: the inputs it is given, its progress, a real run on the static hour of
// stations 0759 and 3040, and a run stopped half-way.

#include "rtklib_run.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ecef.h"
#include "failure_text.h"
#include "gps_time.h"
#include "scripted_services.h"
#include "solution.h"
#include "temp_folder.h"
#include "test_platform.h"

namespace marvolt {
namespace {

const std::string kData = std::string(MARVOLT_TEST_DATA) + "/";

TEST(RtklibRunTest, SolutionPaths) {
    EXPECT_EQ(solutionPathFor("/d/07590920.05o"), "/d/07590920.marvolt.pos");
    EXPECT_EQ(solutionPathFor("/d.x/rover"), "/d.x/rover.marvolt.pos");
    EXPECT_EQ(solutionPathFor("a.b.rnx"), "a.b.marvolt.pos");
    EXPECT_EQ(solutionPathFor("/d/.hidden"), "/d/.hidden.marvolt.pos");
}

// Which frequencies and satellite systems the RINEX headers give rnx2rtkp.
TEST(RtklibRunTest, FrequenciesAndSystemsFromTheHeaders) {
    EXPECT_TRUE(hasSecondFrequency(kData + "rtk_07590920.05o"));  // L1 C1 L2 P2
    EXPECT_TRUE(hasSecondFrequency(kData + "glab_demo3.10o"));    // G: L1C L2P ...
    EXPECT_FALSE(hasSecondFrequency(kData + "missing.05o"));
    const testing::TempFolder folder;
    const std::string l1 = folder.write(
        "l1.05o",
        "     2.11           OBSERVATION DATA    G (GPS)             RINEX VERSION / TYPE\n"
        "     3    L1    C1    D1                                    # / TYPES OF OBSERV\n"
        "                                                            END OF HEADER\n"
        "     2    L2    P2                                          # / TYPES OF OBSERV\n");
    EXPECT_FALSE(hasSecondFrequency(l1));
    EXPECT_NE(rtklibConfiguration(false, 1).find("pos1-frequency=l1\n"), std::string::npos);
    EXPECT_NE(rtklibConfiguration(true, 5).find("pos1-frequency=l1+2\npos1-elmask=15\n"
                                                "pos1-navsys=5\n"),
              std::string::npos);

    const auto nav = [&](const std::string& name, const std::string& first) {
        return folder.write(name, first + "\n");
    };
    const std::string glonass =
        nav("a.05g",
            "     2.01           G: GLONASS NAV DATA                     RINEX VERSION / TYPE");
    const std::string galileo =
        nav("b.rnx",
            "     3.04           N: GNSS NAV DATA    E: GALILEO          RINEX VERSION / TYPE");
    const std::string mixed =
        nav("c.rnx",
            "     3.04           N: GNSS NAV DATA    M: MIXED            RINEX VERSION / TYPE");
    const std::string gps = kData + "rtk_07590920.05n";
    EXPECT_EQ(navigationSystems({gps}), 1);
    EXPECT_EQ(navigationSystems({gps, glonass}), 5);
    EXPECT_EQ(navigationSystems({galileo}), 8);
    EXPECT_EQ(navigationSystems({mixed}), 61);
    EXPECT_EQ(navigationSystems({kData + "missing.05n"}), 1);
}

// Progress: the forward pass is the first half, the backward pass the second.
TEST(RtklibRunTest, ProgressShares) {
    const double start = daySeconds(2005, 4, 2);
    EXPECT_EQ(progressTime("processing : 2005/04/02 00:30:00 Q=1"), start + 1800);
    EXPECT_EQ(progressTime("\rprocessing : 2005/04/02 00:30:00 Q=1"), start + 1800);
    EXPECT_EQ(progressTime("reading..."), std::nullopt);
    EXPECT_EQ(progressTime("processing : 2005/13/02 00:30:00 Q=1"), std::nullopt);
    EXPECT_DOUBLE_EQ(progressShare(start, start, start + 3600, false), 0.0);
    EXPECT_DOUBLE_EQ(progressShare(start + 900, start, start + 3600, false), 0.125);
    EXPECT_DOUBLE_EQ(progressShare(start + 2700, start, start + 3600, true), 0.625);
    EXPECT_DOUBLE_EQ(progressShare(start, start, start + 3600, true), 1.0);
    EXPECT_DOUBLE_EQ(progressShare(start + 7200, start, start + 3600, false), 0.5);
}

bool rnx2rtkpOnPath() {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "";
    for (std::size_t from = 0; from <= folders.size();) {
        const std::size_t colon = std::min(folders.find(':', from), folders.size());
        if (::access((folders.substr(from, colon - from) + "/rnx2rtkp").c_str(), X_OK) == 0)
            return true;
        from = colon + 1;
    }
    return false;
}

using testing::namesIn;

// The inputs copied into a folder of their own, where the solution is written.
RtklibInputs copiedInputs(const testing::TempFolder& folder) {
    for (const char* name :
         {"rtk_07590920.05o", "rtk_30400920.05o", "rtk_07590920.05n", "rtk_30400920.05n"})
        std::filesystem::copy_file(kData + name, folder.file(name));
    return {folder.file("rtk_07590920.05o"),
            folder.file("rtk_30400920.05o"),
            {folder.file("rtk_07590920.05n"), folder.file("rtk_30400920.05n")}};
}

TEST(RtklibRunTest, StaticHourOfStation0759) {
    if (!rnx2rtkpOnPath()) GTEST_SKIP() << "rnx2rtkp is not on the PATH (Debian package rtklib)";
    const testing::TempFolder folder;
    const RtklibInputs inputs = copiedInputs(folder);
    const std::string output = solutionPathFor(inputs.rover);
    std::vector<double> shares;
    ASSERT_EQ(computeSolution(inputs, output,
                              [&](double s, GpsSeconds) { return shares.push_back(s), true; }),
              RunOutcome::Done);
    ASSERT_GT(shares.size(), 100u);
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
    EXPECT_LT(shares[shares.size() / 4], 0.5);
    EXPECT_EQ(shares.back(), 1.0);

    testing::ScriptedServices services;
    std::vector<SolutionEpoch> epochs;
    readSolution(
        output, 0.0, [&](const SolutionEpoch& e) { epochs.push_back(e); }, services);
    ASSERT_GE(epochs.size(), 110u);
    EXPECT_LE(epochs.size(), 120u);
    Ecef sum;
    int fixed = 0;
    for (const SolutionEpoch& e : epochs) {
        sum = {sum.x + e.x, sum.y + e.y, sum.z + e.z};
        fixed += e.quality == SolutionQuality::Fix;
    }
    EXPECT_GT(fixed * 2, static_cast<int>(epochs.size()));
    const double n = static_cast<double>(epochs.size());
    const Ecef mean{sum.x / n, sum.y / n, sum.z / n};
    const Geodetic known{35.160875024 * kRadiansPerDegree, 139.613838565 * kRadiansPerDegree,
                         70.2797};
    const Ecef k = toEcef(known);
    const Enu off = toEnu(enuAxes(known.latitude, known.longitude),
                          Ecef{mean.x - k.x, mean.y - k.y, mean.z - k.z});
    EXPECT_LT(std::hypot(off.e, off.n), 0.02);
    EXPECT_LT(std::fabs(off.u), 0.04);
    EXPECT_EQ(
        namesIn(folder.path()),
        (std::set<std::string>{"rtk_07590920.05n", "rtk_07590920.05o", "rtk_07590920.marvolt.pos",
                               "rtk_30400920.05n", "rtk_30400920.05o"}));
}

// Stopped at the first progress: the process is ended and waited for, nothing is left.
TEST(RtklibRunTest, StopEndsTheRunAndLeavesNoFile) {
    if (!rnx2rtkpOnPath()) GTEST_SKIP() << "rnx2rtkp is not on the PATH (Debian package rtklib)";
    const testing::TempFolder folder;
    const RtklibInputs inputs = copiedInputs(folder);
    const std::set<std::string> before = namesIn(folder.path());
    int calls = 0;
    EXPECT_EQ(computeSolution(inputs, solutionPathFor(inputs.rover),
                              [&](double, GpsSeconds) { return ++calls, false; }),
              RunOutcome::Stopped);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(namesIn(folder.path()), before);
#ifndef _WIN32
    errno = 0;
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);  // no child left, ended or not
    EXPECT_EQ(errno, ECHILD);
#endif
}

// Without rnx2rtkp, and with inputs it cannot use.
TEST(RtklibRunTest, Failures) {
    const testing::TempFolder folder;
    const RtklibInputs inputs = copiedInputs(folder);
    const std::string output = folder.file("out.pos");
    const auto keepGoing = [](double, GpsSeconds) { return true; };
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    testing::setVariable("PATH", folder.path());
    EXPECT_EQ(testing::failureText([&] { computeSolution(inputs, output, keepGoing); }),
              "Do obliczenia rozwiązania potrzebny jest program rnx2rtkp z pakietu rtklib.");
    testing::setVariable("PATH", path);
    if (!rnx2rtkpOnPath()) GTEST_SKIP() << "rnx2rtkp is not on the PATH (Debian package rtklib)";
    // The base given as the rover's navigation: no position can be computed.
    const RtklibInputs noNavigation{inputs.rover, inputs.base, {inputs.base}};
    EXPECT_EQ(testing::failureText([&] { computeSolution(noNavigation, output, keepGoing); }),
              "Program rnx2rtkp nie obliczył żadnej pozycji z plików \"" + inputs.rover +
                  "\" i \"" + inputs.base + "\".");
    EXPECT_FALSE(std::filesystem::exists(output));
}

}  // namespace
}  // namespace marvolt
