#include "modification.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "analysis.h"
#include "date_time.h"
#include "failure.h"
#include "rinex_samples.h"
#include "scripted_services.h"
#include "temp_folder.h"
#include "time_file_import.h"

namespace marvolt {
namespace {

using testing::headerRecord;
using testing::joinLines;
using testing::readBytes;
using Log = std::vector<std::string>;

const std::string kBackupFailed =
    "message: UWAGA: Z jakiegoś powodu utworzenie kopii nie powiodło się!";
const std::string kDone = "message: Zakończyłem modyfikację pliku ";

const std::string kVersion =
    headerRecord("     2.11           OBSERVATION DATA    G (GPS)", "RINEX VERSION / TYPE");
const std::string kEnd = headerRecord("", "END OF HEADER");
const std::string kObservation = testing::kObservationLine;

// A point as the analysis left it: STOP2 and GO2 (STOP is STOP2, so the order is theirs).
struct Shifted {
    std::string name, stop2, go2;
};

// A survey of 3 April 2012, first observation at 06:00:12, with two epoch lines (06:00:12
// and 06:00:42) whose flags are `stop` and `go`.
std::vector<std::string> surveyLines(char stop, char go) {
    using testing::epochLine;
    return {kVersion, testing::firstObservationRecord(2012, 4, 3, 6, 0, "12.0000000"), kEnd,
            epochLine(2012, 4, 3, 6, 0, 12, testing::Padding::Blank, stop),
            epochLine(2012, 4, 3, 6, 0, 42, testing::Padding::Blank, go)};
}

void addShifted(TimeTable& table, const std::vector<Shifted>& points) {
    for (const auto& p : points) {
        table.insert();
        table.setText(Field::Punkt, p.name);
        table.setText(Field::Stop, p.stop2);
        table.setText(Field::Stop2, p.stop2);
        table.setText(Field::Go2, p.go2);
        table.post();
    }
}

std::set<std::string> folderNames(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

class Modification : public ::testing::Test {
  protected:
    void SetUp() override {
        table.open();
        state.analysedDate = encodeDate(2012, 4, 3);
    }
    // Writes the file as the analysed one and modifies it; the log of this run.
    Log modify(bool makeBackup) {
        const std::size_t start = services.log.size();
        modifyRinex(table, state, makeBackup, services);
        return Log(services.log.begin() + static_cast<std::ptrdiff_t>(start), services.log.end());
    }
    // A modification that must fail: its text, with the log of the run in `log`.
    std::string failingModify(bool makeBackup, Log& log) {
        const std::size_t start = services.log.size();
        std::string text = "no failure";
        try {
            modifyRinex(table, state, makeBackup, services);
        } catch (const Failure& failure) {
            text = failure.text();
        }
        log.assign(services.log.begin() + static_cast<std::ptrdiff_t>(start), services.log.end());
        return text;
    }
    // Point P1 (08:00:00 to 08:00:30 on the watch) analysed without errors against the
    // survey file of surveyLines; the file's path.
    std::string analyseSurvey() {
        testing::addPoints(table, {{"P1", "8:00:00", "8:00:30"}});
        const std::string survey =
            folder.write("survey.12o", joinLines(surveyLines('0', '0'), "\n"));
        services.answers.push_back(survey);
        EXPECT_EQ(analyseRinex(table, state, view, services), AnalysisOutcome::NoErrors);
        return survey;
    }

    testing::ScriptedServices services;
    testing::RecordingView view{services.log};
    TimeTable table{LocaleSettings{}};
    WorkState state;
    testing::TempFolder folder;
};

TEST_F(Modification, FlagsStopAndGoEpochLinesAndNothingElse) {
    struct Case {
        const char* name;
        std::vector<Shifted> points;
        std::string input;
        std::vector<std::string> expected;  // written back with CR LF after every line
    };
    const std::vector<Case> cases = {
        {"STOP gets 3, GO gets 2, LF ends become CR LF",
         {{"P1", "6:00:12", "6:00:42"}},
         joinLines({kVersion, kEnd, " 12  4  3  6  0 12.0000000  0  1G05", kObservation,
                    " 12  4  3  6  0 42.0000000  0  1G05", kObservation,
                    " 12  4  3  6  0 50.0000000  0  1G05", kObservation},
                   "\n"),
         {kVersion, kEnd, " 12  4  3  6  0 12.0000000  3  1G05", kObservation,
          " 12  4  3  6  0 42.0000000  2  1G05", kObservation,
          " 12  4  3  6  0 50.0000000  0  1G05", kObservation}},
        {"zero-padded epochs; flags already there are overwritten",
         {{"P1", "6:00:12", "6:00:42"}},
         joinLines({" 12 04 03 06 00 12.0000000  4  1G05", " 12 04 03 06 00 42.0000000  3  1G05"},
                   "\r\n"),
         {" 12 04 03 06 00 12.0000000  3  1G05", " 12 04 03 06 00 42.0000000  2  1G05"}},
        {"a GO on the next point's STOP ends with 3",
         {{"P1", "6:00:12", "6:00:42"}, {"P2", "6:00:42", "6:01:00"}},
         joinLines({" 12  4  3  6  0 12.0000000  0  1G05", " 12  4  3  6  0 42.0000000  0  1G05",
                    " 12  4  3  6  1  0.0000000  0  1G05"},
                   "\r\n"),
         {" 12  4  3  6  0 12.0000000  3  1G05", " 12  4  3  6  0 42.0000000  3  1G05",
          " 12  4  3  6  1  0.0000000  2  1G05"}},
        {"STOP and GO of one point on one line ends with 2",
         {{"P1", "6:00:12", "6:00:12"}},
         joinLines({" 12  4  3  6  0 12.0000000  0  1G05"}, "\r\n"),
         {" 12  4  3  6  0 12.0000000  2  1G05"}},
        {"every line of a key is flagged, in both layouts",
         {{"P1", "6:00:12", "6:00:42"}},
         joinLines({" 12  4  3  6  0 12.0000000  0  1G05", " 12 04 03 06 00 12.0000000  0  1G05",
                    " 12  4  3  6  0 42.0000000  0  1G05"},
                   "\n"),
         {" 12  4  3  6  0 12.0000000  3  1G05", " 12 04 03 06 00 12.0000000  3  1G05",
          " 12  4  3  6  0 42.0000000  2  1G05"}},
        {"lines of 18 to 28 bytes have no flag column and stay; 29 bytes get the flag",
         {{"P1", "6:00:12", "6:00:42"}},
         joinLines({" 12  4  3  6  0 12", " 12  4  3  6  0 12.0000000  ",
                    " 12  4  3  6  0 42.0000000  0"},
                   "\n"),
         {" 12  4  3  6  0 12", " 12  4  3  6  0 12.0000000  ", " 12  4  3  6  0 42.0000000  2"}},
        {"another day's epoch at the same time stays",
         {{"P1", "6:00:12", "6:00:42"}},
         joinLines({" 12  4  4  6  0 12.0000000  0  1G05", " 12  4  3  6  0 42.0000000  0  1G05"},
                   "\n"),
         {" 12  4  4  6  0 12.0000000  0  1G05", " 12  4  3  6  0 42.0000000  2  1G05"}},
        {"a 0x1A at the very end and no last line end",
         {{"P1", "6:00:12", "6:00:42"}},
         " 12  4  3  6  0 12.0000000  0  1G05\r\n 12  4  3  6  0 42.0000000  0  1G05\x1A",
         {" 12  4  3  6  0 12.0000000  3  1G05", " 12  4  3  6  0 42.0000000  2  1G05"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TimeTable points{LocaleSettings{}};
        points.open();
        addShifted(points, c.points);
        state.analysedFile = folder.write("survey.12o", c.input);
        modifyRinex(points, state, false, services);
        EXPECT_EQ(readBytes(state.analysedFile), joinLines(c.expected, "\r\n"));
    }
}

TEST_F(Modification, RunningTwiceGivesOneRunsFileAndTheBackupOfTheFirst) {
    addShifted(table, {{"P1", "6:00:12", "6:00:42"}});
    const std::string original =
        joinLines({kVersion, kEnd, " 12  4  3  6  0 12.0000000  0  1G05", kObservation,
                   " 12  4  3  6  0 42.0000000  0  1G05", kObservation},
                  "\n");
    const std::string flagged =
        joinLines({kVersion, kEnd, " 12  4  3  6  0 12.0000000  3  1G05", kObservation,
                   " 12  4  3  6  0 42.0000000  2  1G05", kObservation},
                  "\r\n");
    state.analysedFile = folder.write("survey.12o", original);
    const Log done = {"normal", kDone + state.analysedFile};

    EXPECT_EQ(modify(true), done);
    EXPECT_EQ(readBytes(state.analysedFile), flagged);
    EXPECT_EQ(readBytes(state.analysedFile + ".bak"), original);

    EXPECT_EQ(modify(true), done);
    EXPECT_EQ(readBytes(state.analysedFile), flagged);
    EXPECT_EQ(readBytes(state.analysedFile + ".bak"), flagged);
}

TEST_F(Modification, NoBackupIsMadeOrChangedWhenNotAsked) {
    addShifted(table, {{"P1", "6:00:12", "6:00:42"}});
    const std::string input = " 12  4  3  6  0 12.0000000  0  1G05\n";
    state.analysedFile = folder.write("survey.12o", input);
    EXPECT_EQ(modify(false), (Log{"normal", kDone + state.analysedFile}));
    EXPECT_EQ(folderNames(folder.path()), std::set<std::string>{"survey.12o"});

    folder.write("survey.12o.bak", "older backup");
    folder.write("survey.12o", input);
    modify(false);
    EXPECT_EQ(readBytes(folder.file("survey.12o.bak")), "older backup");
}

TEST_F(Modification, AFailedBackupIsReportedAndTheWorkGoesOn) {
    addShifted(table, {{"P1", "6:00:12", "6:00:42"}});
    state.analysedFile = folder.write("survey.12o", " 12  4  3  6  0 12.0000000  0  1G05\n");
    std::filesystem::create_directory(folder.file("survey.12o.bak"));
    EXPECT_EQ(modify(true), (Log{kBackupFailed, "normal", kDone + state.analysedFile}));
    EXPECT_EQ(readBytes(state.analysedFile), " 12  4  3  6  0 12.0000000  3  1G05\r\n");
    EXPECT_TRUE(std::filesystem::is_empty(folder.file("survey.12o.bak")));
}

TEST_F(Modification, AFailedRewriteLeavesTheFileAsItWasAndNothingBehind) {
    addShifted(table, {{"P1", "6:00:12", "6:00:42"}});
    const std::string input = " 12  4  3  6  0 12.0000000  0  1G05\n";
    // A name of the longest length a folder allows: no longer name (the backup, the file
    // written before it replaces this one) can be made beside it.
    const std::string name = std::string(251, 'a') + ".12o";
    state.analysedFile = folder.write(name, input);

    Log log;
    EXPECT_EQ(failingModify(true, log),
              "Cannot create file \"" + state.analysedFile + "\". File name too long");
    EXPECT_EQ(log, Log{kBackupFailed});
    EXPECT_EQ(readBytes(state.analysedFile), input);
    EXPECT_EQ(folderNames(folder.path()), std::set<std::string>{name});
}

TEST_F(Modification, AFileThatVanishedFailsTheBackupThenTheReading) {
    addShifted(table, {{"P1", "6:00:12", "6:00:42"}});
    state.analysedFile = folder.file("survey.12o");
    Log log;
    EXPECT_EQ(failingModify(true, log), "File not found");
    EXPECT_EQ(log, Log{kBackupFailed});
    EXPECT_TRUE(folderNames(folder.path()).empty());
}

TEST_F(Modification, RefusesFilesWhoseRewriteWouldLoseBytes) {
    addShifted(table, {{"P1", "6:00:12", "6:00:42"}});
    struct Case {
        const char* name;
        std::string bytes;
    };
    const std::vector<Case> cases = {
        {"CR-only line ends",
         " 12  4  3  6  0 12.0000000  0  1G05\r 12  4  3  6  0 42.0000000  0  1G05\r"},
        {"a 0x1A inside", " 12  4  3  6  0 12.0000000  0  1G05\x1A\n 12  4  3  6  0 42.0000000\n"},
        {"a 0x1A before the last line", " 12  4  3  6  0 12.0000000  0  1G05\n\x1A\nEND\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        state.analysedFile = folder.write("survey.12o", c.bytes);
        Log log;
        EXPECT_EQ(failingModify(true, log),
                  "Plik \"" + state.analysedFile +
                      "\" zawiera znak CR bez LF albo znak 0x1A przed końcem pliku; zapisanie go "
                      "na nowo zgubiłoby dane. Plik nie został zmieniony.");
        EXPECT_EQ(log, Log{});
        EXPECT_EQ(readBytes(state.analysedFile), c.bytes);
        EXPECT_EQ(readBytes(state.analysedFile + ".bak"), c.bytes);
        EXPECT_EQ(folderNames(folder.path()),
                  (std::set<std::string>{"survey.12o", "survey.12o.bak"}));
    }
}

TEST_F(Modification, WithoutAnAnalysedFileThereIsNothingToModify) {
    Log log;
    EXPECT_EQ(failingModify(true, log),
              "Nie ma pliku RINEX do modyfikacji: najpierw wykonaj analizę pliku RINEX.");
    EXPECT_EQ(log, Log{});
}

TEST_F(Modification, TheFinalMessageShowsTheFullPath) {
    addShifted(table, {{"P1", "6:00:12", "6:00:42"}});
    folder.write("survey.12o", " 12  4  3  6  0 12.0000000  0  1G05\n");
    std::filesystem::create_directory(folder.file("sub"));
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    Log relative, dotted;
    state.analysedFile = "survey.12o";
    relative = modify(false);
    state.analysedFile = "./sub/../survey.12o";
    dotted = modify(false);
    std::filesystem::current_path(before);
    EXPECT_EQ(relative, (Log{"normal", kDone + folder.path() + "/survey.12o"}));
    EXPECT_EQ(dotted, relative);
}

TEST_F(Modification, RewritesTheAnalysedFileAfterALaterImport) {
    const std::string survey = analyseSurvey();
    const std::string times = folder.write("times.txt", "P2 9:00:00 9:00:30\n");
    services.answers.push_back(times);
    importTimeFile(table, services);

    EXPECT_EQ(modify(false), (Log{"normal", kDone + survey}));
    EXPECT_EQ(readBytes(times), "P2 9:00:00 9:00:30\n");
    EXPECT_EQ(readBytes(survey), joinLines(surveyLines('3', '2'), "\r\n"));
}

TEST_F(Modification, AnAnalysisThatFailedPartWayLeavesTheLastCompleteOneToRewrite) {
    const std::string survey = analyseSurvey();
    // Another day's file whose first observation has a broken time: its date is taken over,
    // the button stays enabled, but neither that file nor its date may be used to flag.
    const std::string other =
        headerRecord("  2013     5     6     6     0           12     GPS", "TIME OF FIRST OBS") +
        "\n 13  5  6  6  0 12.0000000  0  1G05\n";
    const std::string broken = folder.write("other.13o", other);
    services.answers.push_back(broken);
    EXPECT_THROW(analyseRinex(table, state, view, services), Failure);
    ASSERT_TRUE(view.modifyEnabled);

    EXPECT_EQ(modify(false), (Log{"normal", kDone + survey}));
    EXPECT_EQ(readBytes(broken), other);
    EXPECT_EQ(readBytes(survey), joinLines(surveyLines('3', '2'), "\r\n"));
}

// The analysed file's own epochs, found in a real file, flagged with nothing else changed.
TEST_F(Modification, FlagsARealFileByteForByte) {
    const std::string original =
        readBytes(std::string(MARVOLT_TEST_DATA) + "/gnsstk_bahr1620.04o");
    testing::addPoints(table, {{"B1", "9:00:00", "9:00:30"}, {"B2", "9:30:00", "9:59:30"}});
    services.answers.push_back(folder.write("bahr1620.04o", original));
    ASSERT_EQ(analyseRinex(table, state, view, services), AnalysisOutcome::NoErrors);
    modify(true);

    // Expected: the file's LF lines, flags at lines 16 (3), 33 (2), 998 (3), 1997 (2).
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; start < original.size(); start = end + 1) {
        end = original.find('\n', start);
        lines.push_back(original.substr(start, end - start));
    }
    for (const auto& [line, flag] :
         std::vector<std::pair<int, char>>{{16, '3'}, {33, '2'}, {998, '3'}, {1997, '2'}})
        lines[line - 1][28] = flag;
    EXPECT_EQ(readBytes(state.analysedFile), joinLines(lines, "\r\n"));
    EXPECT_EQ(readBytes(state.analysedFile + ".bak"), original);
}

}  // namespace
}  // namespace marvolt
