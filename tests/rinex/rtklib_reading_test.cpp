// RTKLIB's convbin (Debian's rtklib package) as a real reader of the marked files: with the
// events as separate records it must read every epoch, observation for observation, as it
// reads the original.

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "analysis.h"
#include "epoch_layout.h"
#include "modification.h"
#include "platform_skip.h"
#include "rinex_oracle.h"
#include "rinex_samples.h"
#include "rinex_version.h"
#include "scripted_services.h"
#include "temp_folder.h"

namespace marvolt {
namespace {

using testing::readBytes;

struct Reading {
    std::string output;  // the file convbin wrote, less the lines that name its run
    int epochs = -1;     // the observation epochs it says it read
};

// Converts the file, alone in its folder (convbin matches input names without regard to
// case), to RINEX 2.11.
Reading readWithConvbin(const std::string& file) {
    const std::string out = file + ".convbin";
    const std::string log = file + ".log";
    const std::string command =
        "convbin -r rinex -v 2.11 -o '" + out + "' '" + file + "' >'" + log + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    Reading reading;
    std::istringstream lines(readBytes(out));
    const std::regex ownRun("PGM / RUN BY / DATE|log:|MARKER NAME");
    for (std::string line; std::getline(lines, line);)
        if (!std::regex_search(line, ownRun)) reading.output += line + "\n";
    const std::string said = readBytes(log);
    const std::regex count("O=([0-9]+)");
    for (auto it = std::sregex_iterator(said.begin(), said.end(), count);
         it != std::sregex_iterator(); ++it)
        reading.epochs = std::stoi((*it)[1]);
    return reading;
}

// Three points over the file's data epochs: P1 from the first to a sixth of the way, P2
// from a third to half, P3 from two thirds to the last (the first STOP is the first epoch).
std::vector<testing::Point> pointsOver(const std::string& file) {
    const oracle::WholeFileLines lines = oracle::readWholeFile(file);
    const EpochLayout& layout = layoutOfFile(lines[0], file);
    // Hour, minute and second are the last three fields of the key.
    const std::size_t hour = layout.keyLength() - 8;
    std::vector<std::string> times;
    bool header = true;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (header) {
            header = lines[i].find("END OF HEADER") == std::string_view::npos;
        } else if (oracle::isDataEpoch(layout, lines, i) && layout.epochCode(lines[i])) {
            const std::string_view line = lines[i];
            times.push_back(std::string(line.substr(hour, 2)) + ":" +
                            std::string(line.substr(hour + 3, 2)) + ":" +
                            std::string(line.substr(hour + 6, 2)));
        }
    }
    const std::size_t n = times.size();
    return {{"P1", times[0], times[n / 6]},
            {"P2", times[n / 3], times[n / 2]},
            {"P3", times[2 * n / 3], times[n - 1]}};
}

TEST(RtklibReading, EventRecordsKeepEveryEpochTheFlagsMayLose) {
    MARVOLT_NOT_ON_WINDOWS("RTKLIB's convbin runs here as a Linux program");
    const char* files[] = {"geo_14601736.18o",
                           "geo_demo.10o",
                           "gnsstk_bahr1620.04o",
                           "gpstk_arlm200a.15o",
                           "gpstk_mixed211.05o",
                           "gpstk_nklg170b00.16o",
                           "rtk_07590920.05o",
                           "glab_demo3.10o",
                           "gnsstk_bahr1620_v304.rnx",
                           "gpstk_nklg170b00_v304.rnx",
                           "CEDA00USA_R_20182100000_23H_15S_MO.rnx"};
    for (const char* name : files) {
        SCOPED_TRACE(name);
        const testing::TempFolder folder;
        const std::string original = readBytes(std::string(MARVOLT_TEST_DATA) + "/" + name);
        std::string marked[2];
        const EventStyle styles[] = {EventStyle::Flags, EventStyle::Records};
        for (int s = 0; s < 2; ++s) {
            TimeTable table{LocaleSettings{}};
            table.open();
            testing::ScriptedServices services;
            testing::RecordingView view{services.log};
            HeldDate held;
            marked[s] = folder.write(std::string(s ? "records" : "flags") + ".obs", original);
            testing::addPoints(table, pointsOver(marked[s]));
            const AnalysisResult result =
                testing::analyseIntoView(marked[s], table, held, view, services);
            ASSERT_TRUE(result.allFound());
            modifyRinex(result, {false, styles[s]}, services);
        }
        const Reading asIs = readWithConvbin(folder.write("original.obs", original));
        const Reading flags = readWithConvbin(marked[0]);
        const Reading records = readWithConvbin(marked[1]);
        ASSERT_GT(asIs.epochs, 0);
        EXPECT_EQ(records.epochs, asIs.epochs);
        EXPECT_EQ(records.output, asIs.output);
        std::cout << name << ": RTKLIB reads " << asIs.epochs << " epochs of the original, "
                  << records.epochs << " with event records, " << flags.epochs << " with flags\n";
    }
}

}  // namespace
}  // namespace marvolt
