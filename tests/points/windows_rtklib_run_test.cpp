// rnx2rtkp started with CreateProcessW, here a stand-in of it (fake_rnx2rtkp.exe as
// rnx2rtkp.exe on the PATH): its files given by names with a blank, the configuration read by
// its name, the solution through its standard output, progress and errors through its
// standard error, and a run stopped part-way.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "failure_text.h"
#include "rtklib_run.h"
#include "temp_folder.h"
#include "test_platform.h"

namespace marvolt {
namespace {

const std::string kData = std::string(MARVOLT_TEST_DATA) + "/";

using testing::namesIn;

TEST(WindowsRtklibRun, TheProgramOnThePathComputesStopsAndFails) {
    const testing::TempFolder folder;
    const std::string programs = folder.file("programs");
    std::filesystem::create_directory(programs);
    std::filesystem::copy_file(MARVOLT_FAKE_RNX2RTKP, programs + "\\rnx2rtkp.exe");
    const std::string data = folder.file("survey data");
    std::filesystem::create_directory(data);
    for (const char* name : {"rtk_07590920.05o", "rtk_30400920.05o", "rtk_07590920.05n"})
        std::filesystem::copy_file(kData + name, data + "\\" + name);
    const RtklibInputs inputs{
        data + "\\rtk_07590920.05o", data + "\\rtk_30400920.05o", {data + "\\rtk_07590920.05n"}};
    const std::set<std::string> before = namesIn(data);
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    testing::setVariable("PATH", programs);

    const std::string output = solutionPathFor(inputs.rover);
    int calls = 0;
    EXPECT_EQ(computeSolution(inputs, output, [&](double, double) { return ++calls, false; }),
              RunOutcome::Stopped);
    EXPECT_EQ(calls, 1);
    // Wine closes the handles of a program it ended a moment after the end is reported, and
    // the name of the removed solution goes with the last of them.
    for (int i = 0; i < 100 && namesIn(data) != before; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(namesIn(data), before);

    std::vector<double> shares;
    EXPECT_EQ(computeSolution(inputs, output,
                              [&](double s, double) { return shares.push_back(s), true; }),
              RunOutcome::Done);
    EXPECT_EQ(testing::readBytes(output).substr(0, 3), "%  ");
    EXPECT_NE(testing::readBytes(output).find("2005/04/02 00:00:00.000   35.000000000"),
              std::string::npos);
    ASSERT_GE(shares.size(), 2u);
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
    EXPECT_EQ(shares.back(), 1.0);
    std::set<std::string> after = before;
    after.insert("rtk_07590920.marvolt.pos");
    EXPECT_EQ(namesIn(data), after);

    const RtklibInputs missing{inputs.rover, inputs.base, {data + "\\none.05n"}};
    EXPECT_EQ(
        testing::failureText(
            [&] { computeSolution(missing, output, [](double, double) { return true; }); }),
        "Program rnx2rtkp zakończył obliczenie błędem („cannot open " + data + "\\none.05n”).");
    EXPECT_EQ(namesIn(data), after);
    testing::setVariable("PATH", path);
}

}  // namespace
}  // namespace marvolt
