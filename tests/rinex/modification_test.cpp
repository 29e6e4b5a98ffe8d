#include "modification.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "analysis.h"
#include "date_time.h"
#include "epoch_key.h"
#include "epoch_layout.h"
#include "failure.h"
#include "platform_skip.h"
#include "rinex_oracle.h"
#include "rinex_samples.h"
#include "scripted_services.h"
#include "stopping_progress.h"
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

// A point as the analysis left it: STOP2 and GO2 on the receiver's clock.
struct Shifted {
    std::string name, stop2, go2;
};

const std::vector<Shifted> kP1 = {{"P1", "6:00:12", "6:00:42"}};

// The data epochs of the key in a plain scan of every line.
std::vector<std::size_t> scanFor(const oracle::WholeFileLines& lines, const std::string& key) {
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (oracle::lineMatches(lines[i], key) && oracle::isDataEpoch(lines[i])) found.push_back(i);
    return found;
}

// The result an analysis of the file on 3 April 2012 gives for the points.
AnalysisResult resultOf(const std::string& file, const std::vector<Shifted>& points) {
    const oracle::WholeFileLines lines = oracle::readWholeFile(file);
    AnalysisResult result;
    result.file = file;
    result.identity = lines.identity();
    result.observationDate = encodeDate(2012, 4, 3);
    result.insertedBlocks = oracle::insertedEventBlocks(lines, result.layout);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const char flag = lines[i].size() > 28 ? lines[i][28] : ' ';
        if ((flag == '2' || flag == '3') && oracle::isDataEpoch(result.layout, lines, i))
            ++result.markedEpochCount;
    }
    const std::string date = oracle::datePiece(result.observationDate);
    for (const auto& p : points) {
        PointEpochs point;
        point.record = result.points.size();
        point.punkt = p.name;
        point.stopKey = epochKey(date, readTimeText(p.stop2, LocaleSettings{}));
        point.goKey = epochKey(date, readTimeText(p.go2, LocaleSettings{}));
        point.stopLines = scanFor(lines, point.stopKey);
        point.goLines = scanFor(lines, point.goKey);
        result.points.push_back(point);
    }
    return result;
}

// A survey of 3 April 2012, first observation at 06:00:12, with two epoch lines (06:00:12
// and 06:00:42) whose flags are `stop` and `go`.
std::vector<std::string> surveyLines(char stop, char go) {
    using testing::epochLine;
    return {kVersion, testing::firstObservationRecord(2012, 4, 3, 6, 0, "12.0000000"), kEnd,
            epochLine(2012, 4, 3, 6, 0, 12, testing::Padding::Blank, stop),
            epochLine(2012, 4, 3, 6, 0, 42, testing::Padding::Blank, go)};
}

// A file of LF lines as the modification writes it: CR LF ends, the flags at the lines
// (counted from 1) in the flag column of the layout.
std::string flaggedCopy(const std::string& original, const std::vector<std::pair<int, char>>& flags,
                        const EpochLayout& layout = EpochLayout::rinex2()) {
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; start < original.size(); start = end + 1) {
        end = original.find('\n', start);
        lines.push_back(original.substr(start, end - start));
    }
    for (const auto& [line, flag] : flags) lines[line - 1][layout.flagPosition()] = flag;
    return joinLines(lines, "\r\n");
}

std::set<std::string> folderNames(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

class Modification : public ::testing::Test {
  protected:
    void SetUp() override { table.open(); }
    // Modifies the file of the result; the log of this run.
    Log modify(bool makeBackup, EventStyle events = EventStyle::Flags) {
        const std::size_t start = services.log.size();
        modifyRinex(result, {makeBackup, events}, services);
        return Log(services.log.begin() + static_cast<std::ptrdiff_t>(start), services.log.end());
    }
    // A modification that must fail: its text, with the log of the run in `log`.
    std::string failingModify(bool makeBackup, Log& log) {
        const std::size_t start = services.log.size();
        std::string text = "no failure";
        try {
            modifyRinex(result, {makeBackup, EventStyle::Flags}, services);
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
        result = testing::analyseIntoView(survey, table, held, view, services);
        EXPECT_TRUE(result.allFound());
        return survey;
    }

    testing::ScriptedServices services;
    testing::RecordingView view{services.log};
    TimeTable table{LocaleSettings{}};
    HeldDate held;
    AnalysisResult result;
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
        {"zero-padded epochs; flags of an earlier run are overwritten",
         {{"P1", "6:00:12", "6:00:42"}},
         joinLines({" 12 04 03 06 00 12.0000000  2  1G05", " 12 04 03 06 00 42.0000000  3  1G05"},
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
        {"event records at the second of a STOP or GO stay as they are",
         {{"P1", "6:00:12", "6:00:42"}},
         joinLines({" 12  4  3  6  0 12.0000000  4  1", kObservation,
                    " 12  4  3  6  0 12.0000000  0  1G05", " 12  4  3  6  0 42.0000000  2  1",
                    kObservation, " 12  4  3  6  0 42.0000000  6  1G05",
                    " 12  4  3  6  0 42.0000000  0  1G05"},
                   "\r\n"),
         {" 12  4  3  6  0 12.0000000  4  1", kObservation, " 12  4  3  6  0 12.0000000  3  1G05",
          " 12  4  3  6  0 42.0000000  2  1", kObservation, " 12  4  3  6  0 42.0000000  6  1G05",
          " 12  4  3  6  0 42.0000000  2  1G05"}},
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
        result = resultOf(folder.write("survey.12o", c.input), c.points);
        modify(false);
        EXPECT_EQ(readBytes(result.file), joinLines(c.expected, "\r\n"));
    }
}

TEST_F(Modification, RunningAgainGivesOneRunsFileAndKeepsTheBackupOfTheOriginal) {
    const std::string original =
        joinLines({kVersion, kEnd, " 12  4  3  6  0 12.0000000  0  1G05", kObservation,
                   " 12  4  3  6  0 42.0000000  0  1G05", kObservation},
                  "\n");
    const std::string flagged =
        joinLines({kVersion, kEnd, " 12  4  3  6  0 12.0000000  3  1G05", kObservation,
                   " 12  4  3  6  0 42.0000000  2  1G05", kObservation},
                  "\r\n");
    result = resultOf(folder.write("survey.12o", original), kP1);
    EXPECT_EQ(modify(true), (Log{"busy", "normal", kDone + result.file}));
    EXPECT_EQ(readBytes(result.file), flagged);
    EXPECT_EQ(readBytes(result.file + ".bak"), original);

    // Marked by the first run: the backup holds the file as it was before any marks.
    result = resultOf(result.file, kP1);
    EXPECT_EQ(result.markedEpochCount, 2u);
    EXPECT_EQ(modify(true), (Log{"busy", "normal",
                                 "message: Kopia oryginału z wcześniejszej modyfikacji zostaje "
                                 "bez zmian: " +
                                     result.file + ".bak",
                                 kDone + result.file}));
    EXPECT_EQ(readBytes(result.file), flagged);
    EXPECT_EQ(readBytes(result.file + ".bak"), original);
}

// Stopped at each look before the backup step, in each way of writing: the file and the
// older backup stay byte for byte, nothing else is left, the stop is said; once no look
// stops it, the progress reaches 1 and the file is what a run without one writes.
TEST_F(Modification, StoppedBeforeTheBackupLeavesEverythingAsItWas) {
    const std::string lf =
        " 12  4  3  6  0 12.0000000  0  1G05\n 12  4  3  6  0 42.0000000  0  1G05\n";
    const std::string crlf = flaggedCopy(lf, {});
    for (const auto& [input, style] :
         {std::pair(crlf, EventStyle::Flags),  // the kernel copy
          std::pair(lf, EventStyle::Flags), std::pair(crlf, EventStyle::Records)}) {
        result = resultOf(folder.write("plain.12o", input), kP1);
        modifyRinex(result, {false, style}, services);
        const std::string unstopped = readBytes(result.file);
        std::filesystem::remove(result.file);
        for (int stopAt = 1;; ++stopAt) {
            SCOPED_TRACE(std::to_string(stopAt) + (style == EventStyle::Flags ? " flags" : ""));
            folder.write("survey.12o.bak", "older backup");
            result = resultOf(folder.write("survey.12o", input), kP1);
            testing::StoppingProgress progress(stopAt);
            const std::size_t start = services.log.size();
            EXPECT_TRUE(modifyRinex(result, {true, style}, services, progress));
            const Log log(services.log.begin() + static_cast<std::ptrdiff_t>(start),
                          services.log.end());
            if (progress.looks < stopAt) {
                EXPECT_GE(stopAt, 3);  // the rewrite's look and the last one before the backup
                EXPECT_EQ(progress.shares.back(), 1.0);
                EXPECT_EQ(readBytes(result.file), unstopped);
                EXPECT_EQ(readBytes(result.file + ".bak"), input);
                break;
            }
            EXPECT_EQ(log, (Log{"busy", "normal",
                                "message: Modyfikacja przerwana; plik nie został zmieniony."}));
            EXPECT_EQ(readBytes(result.file), input);
            EXPECT_EQ(readBytes(result.file + ".bak"), "older backup");
            EXPECT_EQ(folderNames(folder.path()),
                      (std::set<std::string>{"survey.12o", "survey.12o.bak"}));
        }
    }
}

TEST_F(Modification, NoBackupIsMadeOrChangedWhenNotAsked) {
    const std::string input = " 12  4  3  6  0 12.0000000  0  1G05\n";
    result = resultOf(folder.write("survey.12o", input), kP1);
    EXPECT_EQ(modify(false), (Log{"busy", "normal", kDone + result.file}));
    EXPECT_EQ(folderNames(folder.path()), std::set<std::string>{"survey.12o"});

    folder.write("survey.12o.bak", "older backup");
    result = resultOf(folder.write("survey.12o", input), kP1);
    modify(false);
    EXPECT_EQ(readBytes(folder.file("survey.12o.bak")), "older backup");
}

TEST_F(Modification, AFailedBackupIsReportedAndTheWorkGoesOn) {
    result = resultOf(folder.write("survey.12o", " 12  4  3  6  0 12.0000000  0  1G05\n"), kP1);
    std::filesystem::create_directory(folder.file("survey.12o.bak"));
    EXPECT_EQ(modify(true), (Log{"busy", kBackupFailed, "normal", kDone + result.file}));
    EXPECT_EQ(readBytes(result.file), " 12  4  3  6  0 12.0000000  3  1G05\r\n");
    EXPECT_TRUE(std::filesystem::is_empty(folder.file("survey.12o.bak")));
}

// A signal that ends the program, come during the backup step (here with the message of a
// backup that failed), waits until the new file has taken the old one's place.
TEST_F(Modification, AnEndingSignalFromTheBackupStepOnWaitsForTheRename) {
    MARVOLT_NOT_ON_WINDOWS("signals, and a death test that forks");
#ifndef _WIN32
    result = resultOf(folder.write("survey.12o", " 12  4  3  6  0 12.0000000  0  1G05\n"), kP1);
    std::filesystem::create_directory(folder.file("survey.12o.bak"));
    struct SignalledWhileShown : testing::ScriptedServices {
        void message(const std::string& text) override {
            ::raise(SIGTERM);
            ScriptedServices::message(text);
        }
    };
    EXPECT_EXIT(
        {
            SignalledWhileShown services;
            modifyRinex(result, {true, EventStyle::Flags}, services);
            std::exit(0);
        },
        ::testing::KilledBySignal(SIGTERM), "");
    EXPECT_EQ(readBytes(result.file), " 12  4  3  6  0 12.0000000  3  1G05\r\n");
    EXPECT_EQ(folderNames(folder.path()), (std::set<std::string>{"survey.12o", "survey.12o.bak"}));
#endif
}

TEST_F(Modification, AFailedRewriteLeavesTheFileAsItWasAndNothingBehind) {
    const std::string input = " 12  4  3  6  0 12.0000000  0  1G05\n";
    // A name of the longest length a folder allows: no longer name (the file written before
    // it replaces this one, the backup) can be made beside it, and the backup is not tried.
    const std::string name = std::string(251, 'a') + ".12o";
    result = resultOf(folder.write(name, input), kP1);

    Log log;
#ifdef _WIN32  // Windows' reason depends on the file system (Wine's: not found)
    EXPECT_EQ(failingModify(true, log).rfind("Cannot create file \"" + result.file + "\". ", 0),
              0u);
#else
    EXPECT_EQ(failingModify(true, log),
              "Cannot create file \"" + result.file + "\". File name too long");
#endif
    EXPECT_EQ(log, (Log{"busy", "normal"}));
    EXPECT_EQ(readBytes(result.file), input);
    EXPECT_EQ(folderNames(folder.path()), std::set<std::string>{name});
}

TEST_F(Modification, AFileThatVanishedFailsOnReadingBeforeAnyBackup) {
    result = resultOf(folder.write("survey.12o", " 12  4  3  6  0 12.0000000  0  1G05\n"), kP1);
    std::filesystem::remove(result.file);
    Log log;
    EXPECT_EQ(failingModify(true, log), "File not found");
    EXPECT_EQ(log, (Log{"busy", "normal"}));
    EXPECT_TRUE(folderNames(folder.path()).empty());
}

TEST_F(Modification, AFileChangedSinceTheAnalysisIsRefusedAndLeftAsItIs) {
    const std::string analysed = joinLines(surveyLines('0', '0'), "\n");
    const auto kEpochAt = [](int second) {
        return testing::epochLine(2012, 4, 3, 6, 0, second, testing::Padding::Blank);
    };
    const std::string changed[] = {
        joinLines({kVersion, kEnd, kEpochAt(12), kObservation, kEpochAt(42)},
                  "\n"),                                  // lines moved down
        joinLines(surveyLines('0', '4'), "\n"),           // an epoch become an event
        joinLines({kVersion, kEnd, kEpochAt(12)}, "\n"),  // cut short
    };
    for (const std::string& bytes : changed) {
        result = resultOf(folder.write("survey.12o", analysed), kP1);
        folder.write("survey.12o", bytes);
        Log log;
        EXPECT_EQ(
            failingModify(true, log),
            "Plik \"" + result.file + "\" zmienił się od analizy. Wykonaj analizę jeszcze raz.");
        EXPECT_EQ(log, (Log{"busy", "normal"}));
        EXPECT_EQ(readBytes(result.file), bytes);
        EXPECT_EQ(folderNames(folder.path()), std::set<std::string>{"survey.12o"});
    }
}

// An edit that keeps the size, its modification time put back (as on file systems that keep
// times to 2 s): a kernel copy of the file would get its flags a column off. (A file read
// line by line is checked line by line.)
TEST_F(Modification, ASameSizeEditWithItsTimeKeptIsRefused) {
    testing::addPoints(table, {{"P1", "8:00:00", "8:00:30"}});
    const std::string bytes = joinLines(surveyLines('0', '0'), "\r\n");
    const std::string survey = folder.write("survey.12o", bytes);
    const auto before = std::filesystem::last_write_time(survey);
    result = testing::analyseIntoView(survey, table, held, view, services);
    ASSERT_TRUE(result.allFound() && result.writtenBackAsIs);
    // A blank taken from the first line and put at the end: the epoch lines move back.
    const std::string edited = bytes.substr(1) + " ";
    folder.write("survey.12o", edited);
    std::filesystem::last_write_time(survey, before);
    Log log;
    EXPECT_EQ(failingModify(true, log),
              "Plik \"" + survey + "\" zmienił się od analizy. Wykonaj analizę jeszcze raz.");
    EXPECT_EQ(readBytes(survey), edited);
    EXPECT_EQ(folderNames(folder.path()), std::set<std::string>{"survey.12o"});
}

TEST_F(Modification, RefusesFilesWhoseRewriteWouldLoseBytes) {
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
        result = resultOf(folder.write("survey.12o", c.bytes), kP1);
        Log log;
        EXPECT_EQ(failingModify(true, log),
                  "Plik \"" + result.file +
                      "\" zawiera znak CR bez LF albo znak 0x1A przed końcem pliku; zapisanie go "
                      "na nowo zgubiłoby dane. Plik nie został zmieniony.");
        EXPECT_EQ(log, (Log{"busy", "normal"}));
        EXPECT_EQ(readBytes(result.file), c.bytes);
        EXPECT_EQ(folderNames(folder.path()), std::set<std::string>{"survey.12o"});
    }
}

TEST_F(Modification, WithoutAnAnalysedFileThereIsNothingToModify) {
    Log log;
    EXPECT_EQ(failingModify(true, log),
              "Nie ma pliku RINEX do modyfikacji: najpierw wykonaj analizę pliku RINEX.");
    EXPECT_EQ(log, Log{});
}

TEST_F(Modification, TheFinalMessageShowsTheFullPath) {
    folder.write("survey.12o", " 12  4  3  6  0 12.0000000  0  1G05\n");
    std::filesystem::create_directory(folder.file("sub"));
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    Log relative, dotted;
    result = resultOf("survey.12o", kP1);
    relative = modify(false);
    result = resultOf("./sub/../survey.12o", kP1);
    dotted = modify(false);
    std::filesystem::current_path(before);
    EXPECT_EQ(relative, (Log{"busy", "normal", kDone + folder.file("survey.12o")}));
    EXPECT_EQ(dotted, relative);
}

TEST_F(Modification, WritesWhatTheAnalysisFoundWhateverTheTableHoldsSince) {
    const std::string survey = analyseSurvey();
    // A point added with no times (00:00:00 on the receiver's clock: the first STOP's second
    // here) and P1's STOP typed over: neither reaches the file.
    const std::string times = folder.write("times.txt", "P0 6:00:12 6:00:12\n");
    importTimeFile(times, table, services);
    table.edit(0);
    table.setText(Field::Stop, "7:00:00");
    table.post();

    EXPECT_EQ(modify(false), (Log{"busy", "normal", kDone + survey}));
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
    EXPECT_THROW(testing::analyseIntoView(broken, table, held, view, services), Failure);

    EXPECT_EQ(modify(false), (Log{"busy", "normal", kDone + survey}));
    EXPECT_EQ(readBytes(broken), other);
    EXPECT_EQ(readBytes(survey), joinLines(surveyLines('3', '2'), "\r\n"));
}

// A survey over a file with event records: the flag-6 cycle-slip record of line 63 shares
// its second with the data epoch of line 56, which alone is flagged.
TEST_F(Modification, EventRecordsOfARealFileStayAsTheyAre) {
    const std::string original = readBytes(std::string(MARVOLT_TEST_DATA) + "/gpstk_mixed211.05o");
    testing::addPoints(table, {{"E1", "13:10:36", "13:10:54"}, {"E3", "13:14:12", "13:14:48"}});
    result = testing::analyseIntoView(folder.write("mixed211.05o", original), table, held, view,
                                      services);
    ASSERT_TRUE(result.allFound());
    modify(false);
    EXPECT_EQ(readBytes(result.file),
              flaggedCopy(original, {{19, '3'}, {29, '2'}, {56, '3'}, {69, '2'}}));
}

// The analysed file's own epochs, found in a real file, flagged with nothing else changed.
TEST_F(Modification, FlagsARealFileByteForByte) {
    const std::string original = readBytes(std::string(MARVOLT_TEST_DATA) + "/gnsstk_bahr1620.04o");
    testing::addPoints(table, {{"B1", "9:00:00", "9:00:30"}, {"B2", "9:30:00", "9:59:30"}});
    result = testing::analyseIntoView(folder.write("bahr1620.04o", original), table, held, view,
                                      services);
    ASSERT_TRUE(result.allFound());
    modify(true);
    EXPECT_EQ(readBytes(result.file),
              flaggedCopy(original, {{16, '3'}, {33, '2'}, {998, '3'}, {1997, '2'}}));
    EXPECT_EQ(readBytes(result.file + ".bak"), original);
}

// Three epochs of 06:00:12, 06:00:42 and 06:01:00; P1 stops at the first and moves at the
// second, P2 stops at the second (P1's GO) and moves at the third, which carries the 2
// of an earlier flags run.
TEST_F(Modification, EventRecordsBeforeTheEpochsByteForByte) {
    const std::vector<Shifted> points = {{"P1", "6:00:12", "6:00:42"},
                                         {"P2", "6:00:42", "6:01:00"}};
    const std::vector<std::string> epochs = {kVersion,
                                             kEnd,
                                             " 12  4  3  6  0 12.0000000  0  1G05",
                                             kObservation,
                                             " 12  4  3  6  0 42.0000000  1  1G05",
                                             kObservation,
                                             " 12  4  3  6  1  0.0000000  2  1G05",
                                             kObservation};
    result = resultOf(folder.write("survey.12o", joinLines(epochs, "\n")), points);
    modify(false, EventStyle::Records);
    const std::string records = joinLines({kVersion,
                                           kEnd,
                                           " 12  4  3  6  0 12.0000000  3  2",
                                           headerRecord("P1", "MARKER NAME"),
                                           headerRecord("Stop & Go: STOP P1", "COMMENT"),
                                           " 12  4  3  6  0 12.0000000  0  1G05",
                                           kObservation,
                                           " 12  4  3  6  0 42.0000000  4  1",
                                           headerRecord("Stop & Go: GO P1", "COMMENT"),
                                           " 12  4  3  6  0 42.0000000  2  0",
                                           " 12  4  3  6  0 42.0000000  3  2",
                                           headerRecord("P2", "MARKER NAME"),
                                           headerRecord("Stop & Go: STOP P2", "COMMENT"),
                                           " 12  4  3  6  0 42.0000000  1  1G05",
                                           kObservation,
                                           " 12  4  3  6  1  0.0000000  4  1",
                                           headerRecord("Stop & Go: GO P2", "COMMENT"),
                                           " 12  4  3  6  1  0.0000000  2  0",
                                           " 12  4  3  6  1  0.0000000  0  1G05",
                                           kObservation},
                                          "\r\n");
    EXPECT_EQ(readBytes(result.file), records);

    // Again on the marked file (as a new analysis finds it): the same bytes. Then the flags
    // style on it removes the blocks and flags the epochs as it does on a file without them.
    result = resultOf(result.file, points);
    modify(false, EventStyle::Records);
    EXPECT_EQ(readBytes(result.file), records);
    result = resultOf(result.file, points);
    modify(false, EventStyle::Flags);
    std::vector<std::string> flagged = epochs;
    flagged[2][kEpochFlagPosition] = '3';
    flagged[4][kEpochFlagPosition] = '3';
    flagged[6][kEpochFlagPosition] = '2';
    EXPECT_EQ(readBytes(result.file), joinLines(flagged, "\r\n"));
}

// A table changed and analysed again moves the events: the old blocks go wherever they
// stand, the receiver's own event records stay.
TEST_F(Modification, EventRecordsMoveWithTheTableAndTheReceiversStay) {
    const std::string receiverEvent = " 12  4  3  6  0 30.0000000  3  1";
    const std::string receiverComment = headerRecord("Stop & Go: STOP X", "MARKER NAME");
    const std::vector<std::string> epochs = {kVersion,
                                             kEnd,
                                             " 12  4  3  6  0 12.0000000  0  1G05",
                                             receiverEvent,
                                             receiverComment,
                                             " 12  4  3  6  0 42.0000000  0  1G05",
                                             " 12  4  3  6  1  0.0000000  0  1G05"};
    result = resultOf(folder.write("survey.12o", joinLines(epochs, "\n")), kP1);
    modify(false, EventStyle::Records);
    result = resultOf(result.file, {{"P1", "6:00:42", "6:01:00"}});
    modify(false, EventStyle::Records);
    EXPECT_EQ(
        readBytes(result.file),
        joinLines(
            {kVersion, kEnd, " 12  4  3  6  0 12.0000000  0  1G05", receiverEvent, receiverComment,
             " 12  4  3  6  0 42.0000000  3  2", headerRecord("P1", "MARKER NAME"),
             headerRecord("Stop & Go: STOP P1", "COMMENT"), " 12  4  3  6  0 42.0000000  0  1G05",
             " 12  4  3  6  1  0.0000000  4  1", headerRecord("Stop & Go: GO P1", "COMMENT"),
             " 12  4  3  6  1  0.0000000  2  0", " 12  4  3  6  1  0.0000000  0  1G05"},
            "\r\n"));
}

TEST_F(Modification, FlagsRealVersion3FilesInColumn32) {
    struct Case {
        const char* file;
        std::vector<testing::Point> points;
        std::vector<std::pair<int, char>> flags;
    };
    const std::vector<Case> cases = {
        {"glab_demo3.10o", {{"G1", "10:00:00", "10:00:30"}}, {{67, '3'}, {82, '2'}}},
        {"CEDA00USA_R_20182100000_23H_15S_MO.rnx",
         {{"C1", "2:00:15", "2:00:45"}, {"C2", "14:00:00", "14:00:15"}},
         {{33, '3'}, {37, '2'}, {11099, '3'}, {11101, '2'}}},
        {"gnsstk_bahr1620_v304.rnx",
         {{"B1", "9:00:00", "9:00:30"}, {"B2", "9:30:00", "9:59:30"}},
         {{22, '3'}, {31, '2'}, {543, '3'}, {1072, '2'}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string original = readBytes(std::string(MARVOLT_TEST_DATA) + "/" + c.file);
        TimeTable fresh{LocaleSettings{}};
        fresh.open();
        testing::addPoints(fresh, c.points);
        result =
            testing::analyseIntoView(folder.write(c.file, original), fresh, held, view, services);
        ASSERT_TRUE(result.allFound());
        modify(true);
        EXPECT_EQ(readBytes(result.file), flaggedCopy(original, c.flags, EpochLayout::rinex3()));
        EXPECT_EQ(readBytes(result.file + ".bak"), original);
    }
}

// Version 3 records at 06:00:12 and 06:00:42: a data epoch and a new-site event at each
// second, the events before a MARKER NAME record and at the end of the file.
std::vector<std::string> version3Lines(char stop, char go) {
    using testing::epochRecord;
    using testing::Padding;
    return {headerRecord("     3.04           OBSERVATION DATA    M", "RINEX VERSION / TYPE"),
            testing::firstObservationRecord(2012, 4, 3, 6, 0, "12.0000000"),
            kEnd,
            epochRecord(2012, 4, 3, 6, 0, 12, Padding::Zero, '3'),
            headerRecord("G12", "MARKER NAME"),
            epochRecord(2012, 4, 3, 6, 0, 12, Padding::Zero, stop),
            testing::kSatelliteLine,
            epochRecord(2012, 4, 3, 6, 0, 42, Padding::Blank, go),
            testing::kSatelliteLine,
            epochRecord(2012, 4, 3, 6, 0, 42, Padding::Zero, '3', 0)};
}

TEST_F(Modification, Version3EventRecordsStayAndARunAgainChangesNothing) {
    testing::addPoints(table, {{"P1", "8:00:00", "8:00:30"}});
    const std::string survey = folder.write("survey.rnx", joinLines(version3Lines('0', '0'), "\n"));
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        result = testing::analyseIntoView(survey, table, held, view, services);
        ASSERT_TRUE(result.allFound());
        EXPECT_EQ(modify(false), (Log{"busy", "normal", kDone + survey}));
        EXPECT_EQ(readBytes(survey), joinLines(version3Lines('3', '2'), "\r\n"));
    }

    // The satellite line after the GO's record, now flagged 2, has become a header record:
    // the record is an event now, and the file is no longer the one analysed.
    std::vector<std::string> changed = version3Lines('3', '2');
    changed[8] = headerRecord("", "COMMENT");
    const std::string bytes = joinLines(changed, "\r\n");
    folder.write("survey.rnx", bytes);
    Log log;
    EXPECT_EQ(failingModify(false, log),
              "Plik \"" + survey + "\" zmienił się od analizy. Wykonaj analizę jeszcze raz.");
    EXPECT_EQ(readBytes(survey), bytes);
}

// In a version 3 file the event records take the records' own layout: the first 29 bytes,
// the flag in column 32, the count in columns 33 to 35; the receiver's event stays.
TEST_F(Modification, Version3EventRecordsInTheirOwnLayout) {
    testing::addPoints(table, {{"P1", "8:00:00", "8:00:30"}});
    const std::vector<std::string> original = version3Lines('0', '0');
    result = testing::analyseIntoView(folder.write("survey.rnx", joinLines(original, "\n")), table,
                                      held, view, services);
    ASSERT_TRUE(result.allFound());
    modify(false, EventStyle::Records);
    const std::string stop = original[5].substr(0, 29), go = original[7].substr(0, 29);
    EXPECT_EQ(readBytes(result.file),
              joinLines({original[0], original[1], original[2], original[3], original[4],
                         stop + "  3  2", headerRecord("P1", "MARKER NAME"),
                         headerRecord("Stop & Go: STOP P1", "COMMENT"), original[5], original[6],
                         go + "  4  1", headerRecord("Stop & Go: GO P1", "COMMENT"), go + "  2  0",
                         original[7], original[8], original[9]},
                        "\r\n"));
}

}  // namespace
}  // namespace marvolt
