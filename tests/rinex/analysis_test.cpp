#include "analysis.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis_report.h"
#include "date_time.h"
#include "epoch_layout.h"
#include "failure.h"
#include "rinex_samples.h"
#include "scripted_services.h"
#include "stopping_progress.h"
#include "temp_folder.h"

namespace marvolt {
namespace {

using testing::epochLine;
using testing::headerRecord;
using testing::Padding;
using Log = std::vector<std::string>;

const std::string kNoErrors =
    "message: Nie znalazłem żadnych błedów w tabeli czasów. Możesz zmodyfikować RINEX.";
const std::string kErrors =
    "message: Tabela czasów zawiera błędy! Popraw je i zrób jeszcze raz analizę.";

const std::string kMarkedOnce =
    "report: UWAGA: Plik ma już znaczniki Stop & Go z wcześniejszej modyfikacji (1); "
    "modyfikacja zastąpi je nowymi.";

struct Epoch {
    int hour, minute, second;
};

// A survey of 3 April 2012 whose first observation is at 06:00:12: three header lines,
// then an epoch line and an observation line per epoch (lines 4, 6, 8, ...).
std::string surveyFile(const std::vector<Epoch>& epochs, Padding padding = Padding::Blank) {
    std::vector<std::string> lines = {
        headerRecord("     2.11           OBSERVATION DATA    G (GPS)", "RINEX VERSION / TYPE"),
        testing::firstObservationRecord(2012, 4, 3, 6, 0, "12.0000000"),
        headerRecord("", "END OF HEADER")};
    for (const auto& e : epochs) {
        lines.push_back(epochLine(2012, 4, 3, e.hour, e.minute, e.second, padding));
        lines.push_back(testing::kObservationLine);
    }
    return testing::joinLines(lines, "\r\n");
}

std::string found(int line, const char* moment, const std::string& point) {
    return "report: Wiersz " + std::to_string(line) + ": znalazłem obserwację " + moment +
           " dla punktu " + point;
}
std::string missing(const char* moment, const std::string& point) {
    return std::string("message: Nie znalazłem w RINEX obserwacji ") + moment + " dla punktu " +
           point + ".";
}

class Analysis : public ::testing::Test {
  protected:
    void SetUp() override { table.open(); }

    // Runs the analysis of the file; the log of this run only.
    Log analyse(const std::string& path, bool allFound) {
        const std::size_t start = services.log.size();
        result = testing::analyseIntoView(path, table, held, view, services);
        EXPECT_EQ(result.allFound(), allFound);
        return Log(services.log.begin() + static_cast<std::ptrdiff_t>(start), services.log.end());
    }
    // Runs an analysis that ends with a Failure; its text, and the log of this run.
    std::string failingAnalysis(const std::string& path, Log& log) {
        const std::size_t start = services.log.size();
        std::string text = "no failure";
        try {
            result = testing::analyseIntoView(path, table, held, view, services);
        } catch (const Failure& failure) {
            text = failure.text();
        }
        log.assign(services.log.begin() + static_cast<std::ptrdiff_t>(start), services.log.end());
        return text;
    }

    testing::ScriptedServices services;
    testing::RecordingView view{services.log};
    TimeTable table{LocaleSettings{}};
    HeldDate held;
    AnalysisResult result;
    testing::TempFolder folder;
};

TEST_F(Analysis, ShiftsTheWatchOntoTheFirstObservationInBothLayouts) {
    // "S\xB3up 1" is "Słup 1" in Windows-1250.
    testing::addPoints(table, {{"S\xB3up 1", "8:00:00", "8:00:30"}, {"P2", "8:05:00", "8:05:20"}});
    for (const Padding padding : {Padding::Blank, Padding::Zero}) {
        SCOPED_TRACE(padding == Padding::Blank ? "blank-padded" : "zero-padded");
        const std::string file = folder.write(
            "survey.12o", surveyFile({{6, 0, 12}, {6, 0, 42}, {6, 5, 12}, {6, 5, 32}}, padding));
        EXPECT_EQ(analyse(file, true),
                  (Log{"busy", "clear", "date: 3 April 2012 r. (Tuesday)", "time: 6:00:12",
                       "shift: 1:59:48", found(4, "STOP", "Słup 1"), found(6, "GO", "Słup 1"),
                       found(8, "STOP", "P2"), found(10, "GO", "P2"), kNoErrors, "normal"}));
        EXPECT_EQ(testing::tableRows(table), (Log{"S\xB3up 1 08:00:00 08:00:30 06:00:12 06:00:42",
                                                  "P2 08:05:00 08:05:20 06:05:12 06:05:32"}));
        EXPECT_EQ(held.date(), encodeDate(2012, 4, 3));
        EXPECT_EQ(view.shiftHint, "Zegarek wskazuje o 1:59:48 więcej niż odbiornik (GMT).");
        EXPECT_EQ(result.file, file);
    }
}

TEST_F(Analysis, ReportsEveryMatchingLineInFileOrderStopBeforeGo) {
    testing::addPoints(table, {{"P1", "8:00:00", "8:00:30"},
                               {"P2", "8:00:30", "8:01:00"},    // STOP on P1's GO second
                               {"P3", "8:02:00", "8:02:00"}});  // STOP and GO on one second
    std::string file = surveyFile({{6, 0, 12}, {6, 0, 42}, {6, 1, 12}, {6, 2, 12}});
    file += epochLine(2012, 4, 3, 6, 0, 12, Padding::Zero) + "\r\n";  // line 12: P1's STOP again
    EXPECT_EQ(analyse(folder.write("survey.12o", file), true),
              (Log{"busy", "clear", "date: 3 April 2012 r. (Tuesday)", "time: 6:00:12",
                   "shift: 1:59:48", found(4, "STOP", "P1"), found(6, "GO", "P1"),
                   found(12, "STOP", "P1"), found(6, "STOP", "P2"), found(8, "GO", "P2"),
                   found(10, "STOP", "P3"), found(10, "GO", "P3"), kNoErrors, "normal"}));
}

TEST_F(Analysis, ANegativeReceiverTimeIsMissingThoughItsAbsoluteValueHasAnEpoch) {
    testing::addPoints(table, {{"P1", "8:00:00", "1:00:00"}, {"P2", "8:00:10", ""}});
    const std::string file =
        folder.write("survey.12o", surveyFile({{6, 0, 12}, {0, 59, 48}, {6, 0, 22}, {1, 59, 48}}));
    EXPECT_EQ(analyse(file, false),
              (Log{"busy", "clear", "date: 3 April 2012 r. (Tuesday)", "time: 6:00:12",
                   "shift: 1:59:48", found(4, "STOP", "P1"), missing("GO", "P1"),
                   found(8, "STOP", "P2"), missing("GO", "P2"), kErrors, "normal"}));
    // The grid still shows 1:00:00 - 1:59:48 as 00:59:48 (line 6), never flagged; an empty GO
    // reads 00:00:00 and -1:59:48 is just as negative (line 10).
    EXPECT_EQ(testing::tableRows(table),
              (Log{"P1 08:00:00 01:00:00 06:00:12 00:59:48", "P2 08:00:10 - 06:00:22 01:59:48"}));
}

TEST_F(Analysis, EmptyTableShiftIsTheFirstObservationAndEnablesModification) {
    const std::string file = folder.write("survey.12o", surveyFile({{6, 0, 12}}));
    EXPECT_EQ(analyse(file, true), (Log{"busy", "clear", "date: 3 April 2012 r. (Tuesday)",
                                        "time: 6:00:12", "shift: 6:00:12", kNoErrors, "normal"}));
    EXPECT_EQ(table.recordCount(), 0);
    EXPECT_EQ(view.shiftHint, "Zegarek wskazuje o 6:00:12 mniej niż odbiornik (GMT).");
}

TEST_F(Analysis, OneMissingGoDisablesModificationAnEarlierAnalysisEnabled) {
    testing::addPoints(table, {{"P1", "8:00:00", "8:00:30"}, {"P2", "8:05:00", "8:05:20"}});
    analyse(folder.write("all.12o", surveyFile({{6, 0, 12}, {6, 0, 42}, {6, 5, 12}, {6, 5, 32}})),
            true);

    const std::string file =
        folder.write("short.12o", surveyFile({{6, 0, 12}, {6, 0, 42}, {6, 5, 12}}));
    EXPECT_EQ(analyse(file, false),
              (Log{"busy", "clear", "date: 3 April 2012 r. (Tuesday)", "time: 6:00:12",
                   "shift: 1:59:48", found(4, "STOP", "P1"), found(6, "GO", "P1"),
                   found(8, "STOP", "P2"), missing("GO", "P2"), kErrors, "normal"}));
    EXPECT_EQ(view.report.size(), 3u);
}

TEST_F(Analysis, AnEmptyStopSortsFirstAndGivesTheShift) {
    testing::addPoints(table, {{"P1", "8:00:00", "8:00:30"}, {"Z", "", "0:00:30"}});
    const std::string file = folder.write("survey.12o", surveyFile({{6, 0, 12}, {6, 0, 42}}));
    EXPECT_EQ(analyse(file, false),
              (Log{"busy", "clear", "date: 3 April 2012 r. (Tuesday)", "time: 6:00:12",
                   "shift: 6:00:12", found(4, "STOP", "Z"), found(6, "GO", "Z"),
                   missing("STOP", "P1"), missing("GO", "P1"), kErrors, "normal"}));
    EXPECT_EQ(testing::tableRows(table),
              (Log{"Z - 00:00:30 06:00:12 06:00:42", "P1 08:00:00 08:00:30 14:00:12 14:00:42"}));
}

TEST_F(Analysis, WithoutTheHeaderRecordTheHeldDateAndMidnightAreUsed) {
    const auto fileOf = [&](const char* name, int year, int month, int day) {
        return folder.write(
            name, testing::joinLines({headerRecord("", "END OF HEADER"),
                                      epochLine(year, month, day, 0, 0, 0, Padding::Blank),
                                      epochLine(year, month, day, 0, 0, 30, Padding::Blank)},
                                     "\n"));
    };
    testing::addPoints(table, {{"P1", "10:00:00", "10:00:30"}});

    // The first analysis of a run: 30 December 1899; the result fields keep their empty text.
    EXPECT_EQ(analyse(fileOf("first.12o", 1899, 12, 30), true),
              (Log{"busy", "clear", "shift: 10:00:00", found(2, "STOP", "P1"), found(3, "GO", "P1"),
                   kNoErrors, "normal"}));
    EXPECT_EQ(held.date(), 0.0);
    EXPECT_EQ(view.date, "");

    // After an analysis of 3 April 2012 its date stays for a file without the record.
    analyse(folder.write("survey.12o", surveyFile({{6, 0, 12}})), false);
    EXPECT_EQ(analyse(fileOf("later.12o", 2012, 4, 3), true),
              (Log{"busy", "clear", "shift: 10:00:00", found(2, "STOP", "P1"), found(3, "GO", "P1"),
                   kNoErrors, "normal"}));
    EXPECT_EQ(view.date, "3 April 2012 r. (Tuesday)");
    EXPECT_EQ(view.firstObservation, "6:00:12");
}

TEST_F(Analysis, AnErrorWhileReadingLeavesWhatWasDoneBefore) {
    testing::addPoints(table, {{"P1", "8:00:00", "8:00:30"}});
    const std::string good = folder.write("survey.12o", surveyFile({{6, 0, 12}, {6, 0, 42}}));
    analyse(good, true);
    const Log rows = testing::tableRows(table);

    Log log;
    EXPECT_EQ(failingAnalysis(folder.file("missing.12o"), log), "File not found");
    EXPECT_EQ(log, (Log{"busy", "clear", "normal"}));
    EXPECT_TRUE(view.report.empty());
    EXPECT_EQ(testing::tableRows(table), rows);
    EXPECT_EQ(result.file, good);

    // A fault in the time items comes after the new date was taken over.
    const std::string badTime = folder.write(
        "bad.13o",
        headerRecord("  2013     5     6     6     0           12     GPS", "TIME OF FIRST OBS") +
            "\r\n");
    EXPECT_EQ(failingAnalysis(badTime, log), "'' is not a valid integer value");
    EXPECT_EQ(log, (Log{"busy", "clear", "normal"}));
    EXPECT_EQ(held.date(), encodeDate(2013, 5, 6));
    EXPECT_EQ(view.date, "3 April 2012 r. (Tuesday)");
    EXPECT_EQ(testing::tableRows(table), rows);
    // The result of the analysis before stays whole: its file and its date.
    EXPECT_EQ(result.file, good);
    EXPECT_EQ(result.observationDate, encodeDate(2012, 4, 3));
}

TEST_F(Analysis, ARecordStillOpenInTheGridIsPostedFirst) {
    testing::addPoints(table, {{"P1", "8:00:00", "8:00:30"}});
    table.insert(0);
    table.setText(Field::Punkt, "P2");
    table.setText(Field::Stop, "8:05:00");
    table.setText(Field::Go, "8:05:20");
    const std::string file =
        folder.write("survey.12o", surveyFile({{6, 0, 12}, {6, 0, 42}, {6, 5, 12}, {6, 5, 32}}));
    analyse(file, true);
    EXPECT_EQ(testing::tableRows(table), (Log{"P1 08:00:00 08:00:30 06:00:12 06:00:42",
                                              "P2 08:05:00 08:05:20 06:05:12 06:05:32"}));
    EXPECT_EQ(view.report.size(), 4u);
}

TEST_F(Analysis, TheAnalysisOnlyReadsTheTableAndTheShiftIsWrittenAsAStepOfItsOwn) {
    testing::addPoints(table, {{"P1", "8:00:00", "8:00:30"}, {"P2", "8:05:00", "8:05:20"}});
    const std::uint64_t revision = table.revision();
    const std::string file =
        folder.write("survey.12o", surveyFile({{6, 0, 12}, {6, 0, 42}, {6, 5, 12}}));
    result = analyseRinex(file, table, held);
    EXPECT_EQ(services.log, Log{});  // nothing shown, not even the cursor
    EXPECT_EQ(table.revision(), revision);
    EXPECT_EQ(testing::tableRows(table),
              (Log{"P1 08:00:00 08:00:30 - -", "P2 08:05:00 08:05:20 - -"}));

    EXPECT_EQ(held.date(), encodeDate(2012, 4, 3));
    EXPECT_EQ(result.observationDate, encodeDate(2012, 4, 3));
    EXPECT_TRUE(result.firstObservation.found);
    EXPECT_EQ(result.firstObservation.time, encodeTime(6, 0, 12, 0));
    EXPECT_LT(result.shift, 0.0);  // the watch is ahead of the receiver
    EXPECT_EQ(shiftText(result.shift, table.locale()), "1:59:48");
    ASSERT_EQ(result.misses().size(), 1u);
    EXPECT_EQ(result.misses()[0].point, 1u);
    EXPECT_FALSE(result.misses()[0].stop);
    EXPECT_TRUE(result.misses()[0].go);
    EXPECT_FALSE(result.allFound());

    writeShiftedTimes(result, table);
    EXPECT_EQ(testing::tableRows(table), (Log{"P1 08:00:00 08:00:30 06:00:12 06:00:42",
                                              "P2 08:05:00 08:05:20 06:05:12 06:05:32"}));
    EXPECT_NE(table.revision(), revision);
}

// Stopped in the first pass, or in the second one a file without the header record needs,
// the analysis gives nothing but that it was stopped; not stopped, its progress reaches 1
// and it finds what it finds without one.
TEST_F(Analysis, AStoppedAnalysisGivesNoResult) {
    testing::addPoints(table, {{"P1", "8:00:00", "8:00:30"}});
    const std::string survey = folder.write("survey.12o", surveyFile({{6, 0, 12}, {6, 0, 42}}));
    const std::string withoutHeader = folder.write(
        "headless.12o", testing::joinLines({headerRecord("", "END OF HEADER"),
                                            epochLine(1899, 12, 30, 6, 0, 12, Padding::Blank)},
                                           "\n"));
    for (const auto& [file, stopAt] :
         {std::pair(survey, 1), std::pair(withoutHeader, 1), std::pair(withoutHeader, 2)}) {
        testing::StoppingProgress progress(stopAt);
        const AnalysisResult stopped = analyseRinex(file, table, held, progress);
        EXPECT_TRUE(stopped.stopped);
        EXPECT_TRUE(stopped.file.empty() && stopped.points.empty());
    }
    testing::StoppingProgress progress;
    const AnalysisResult whole = analyseRinex(survey, table, held, progress);
    EXPECT_FALSE(whole.stopped);
    EXPECT_EQ(progress.shares.back(), 1.0);
    EXPECT_EQ(whole.points[0].stopLines, std::vector<std::size_t>{3});
    EXPECT_EQ(whole.points[0].goLines, std::vector<std::size_t>{5});
}

TEST_F(Analysis, TheFieldsOfAFileWithoutTheHeaderRecordAreTheShiftAlone) {
    testing::addPoints(table, {{"P1", "0:00:10", "0:00:30"}});
    const std::string file = folder.write(
        "survey.12o", testing::joinLines({headerRecord("", "END OF HEADER"),
                                          epochLine(2012, 4, 3, 0, 0, 0, Padding::Blank)},
                                         "\n"));
    result = analyseRinex(file, table, held);
    EXPECT_FALSE(result.firstObservation.found);
    const AnalysisFields fields = analysisFields(result, table.locale());
    EXPECT_FALSE(fields.observationDate.has_value());
    EXPECT_FALSE(fields.firstObservation.has_value());
    EXPECT_EQ(fields.shift, "0:00:10");  // 00:00:00 less the first STOP, shown without a sign
    EXPECT_EQ(fields.shiftHint, "Zegarek wskazuje o 0:00:10 więcej niż odbiornik (GMT).");
    ASSERT_EQ(result.misses().size(), 1u);
    EXPECT_TRUE(result.misses()[0].stop);
    EXPECT_TRUE(result.misses()[0].go);
}

TEST_F(Analysis, EventRecordsAtAMatchingSecondAreNeitherReportedNorFound) {
    // Shift 0. At 13:10:50 a flag-4 record (header records follow), at 13:11:00 a flag-2
    // event with no satellites, at 13:13:01 a flag-5 external event: no data epochs. At
    // 13:14:12 the data epoch of line 56 and the flag-6 cycle-slip record of line 63.
    testing::addPoints(table, {{"E1", "13:10:36", "13:10:50"},
                               {"E2", "13:11:00", "13:13:01"},
                               {"E3", "13:14:12", "13:14:48"}});
    EXPECT_EQ(analyse(std::string(MARVOLT_TEST_DATA) + "/gpstk_mixed211.05o", false),
              (Log{"busy", "clear", "date: 24 March 2005 r. (Thursday)", "time: 13:10:36",
                   "shift: 0:00:00", found(19, "STOP", "E1"), missing("GO", "E1"),
                   missing("STOP", "E2"), missing("GO", "E2"), found(56, "STOP", "E3"),
                   found(69, "GO", "E3"), kErrors, "normal"}));
    EXPECT_EQ(view.shiftHint, "");  // the watch was right
}

// Real files of versions 2 and 3, their epoch lines in both paddings.
TEST_F(Analysis, RealFilesOfEveryVersionAndLayout) {
    struct Case {
        const char* file;
        int version;  // of the epoch layout
        std::vector<testing::Point> points;
        Log log;
    };
    const std::vector<Case> cases = {
        {"gnsstk_bahr1620.04o",
         2,  // blank-padded, an epoch every 30 s from 00:00:00
         {{"B1", "9:00:00", "9:00:30"}, {"B2", "9:30:00", "9:59:30"}},
         {"busy", "clear", "date: 10 June 2004 r. (Thursday)", "time: 0:00:00", "shift: 9:00:00",
          found(16, "STOP", "B1"), found(33, "GO", "B1"), found(998, "STOP", "B2"),
          found(1997, "GO", "B2"), kNoErrors, "normal"}},
        {"gpstk_nklg170b00.16o",
         2,  // zero-padded, an epoch every second from 01:00:00
         {{"N1", "12:00:00", "12:00:02"}, {"N2", "12:00:03", "12:00:04"}},
         {"busy", "clear", "date: 18 June 2016 r. (Saturday)", "time: 1:00:00", "shift: 11:00:00",
          found(18, "STOP", "N1"), found(222, "GO", "N1"), found(324, "STOP", "N2"),
          found(426, "GO", "N2"), kNoErrors, "normal"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        TimeTable fresh{LocaleSettings{}};
        fresh.open();
        testing::addPoints(fresh, c.points);
        const std::size_t start = services.log.size();
        result = testing::analyseIntoView(std::string(MARVOLT_TEST_DATA) + "/" + c.file, fresh,
                                          held, view, services);
        EXPECT_EQ(
            Log(services.log.begin() + static_cast<std::ptrdiff_t>(start), services.log.end()),
            c.log);
        EXPECT_EQ(result.layout.version(), c.version);
    }
}

// A survey of 3 April 2012 in version 3 (or 4) records, first observation at 06:00:12: a
// data epoch, then event records at the seconds of later STOPs and GOs, each next to a data
// epoch of the same second flagged by an earlier run or followed by what makes it an event.
std::string version3Survey(const char* version) {
    using testing::epochRecord;
    const auto at = [](int minute, int second, Padding padding, char flag, int count = 1) {
        return epochRecord(2012, 4, 3, 6, minute, second, padding, flag, count);
    };
    return testing::joinLines(
        {headerRecord(std::string("     ") + version + "           OBSERVATION DATA    M",
                      "RINEX VERSION / TYPE"),
         testing::firstObservationRecord(2012, 4, 3, 6, 0, "12.0000000"),
         headerRecord("", "END OF HEADER"), at(0, 12, Padding::Zero, '0'),  // 4
         testing::kSatelliteLine, at(0, 42, Padding::Zero, '3'),  // 6: new site occupation
         headerRecord("G12", "MARKER NAME"),
         at(0, 42, Padding::Blank, '3'),                         // 8: a data epoch flagged earlier
         testing::kSatelliteLine, at(1, 0, Padding::Zero, '2'),  // 10: antenna moved
         headerRecord("G07 ANTENNA MOVED", "COMMENT"),
         at(1, 12, Padding::Zero, '4'),  // 12: header records follow
         headerRecord("", "COMMENT"), at(1, 30, Padding::Zero, '5', 0),  // 14: external event
         at(1, 42, Padding::Zero, '6'),                                  // 15: cycle slips
         testing::kSatelliteLine, at(2, 0, Padding::Zero, '2', 0)},  // 17: at the end of the file
        "\n");
}

TEST_F(Analysis, Version3EventRecordsAtAMatchingSecondAreNeitherReportedNorFound) {
    testing::addPoints(table, {{"P1", "8:00:00", "8:00:30"},
                               {"P2", "8:00:48", "8:01:00"},
                               {"P3", "8:01:18", "8:01:30"},
                               {"P4", "8:01:48", "8:01:48"}});
    for (const char* version : {"3.04", "4.02"}) {
        SCOPED_TRACE(version);
        const std::string file = folder.write("survey.rnx", version3Survey(version));
        EXPECT_EQ(analyse(file, false),
                  (Log{"busy", "clear", "date: 3 April 2012 r. (Tuesday)", "time: 6:00:12",
                       "shift: 1:59:48", kMarkedOnce, found(4, "STOP", "P1"), found(8, "GO", "P1"),
                       missing("STOP", "P2"), missing("GO", "P2"), missing("STOP", "P3"),
                       missing("GO", "P3"), missing("STOP", "P4"), missing("GO", "P4"), kErrors,
                       "normal"}));
    }
}

// The version line decides how epochs are read: an epoch written in the other layout is
// not found.
TEST_F(Analysis, TheVersionDecidesTheLayout) {
    struct Case {
        const char* first;  // the first line
        bool rinex3;        // an epoch record rather than an epoch line
        bool found;
    };
    const Case cases[] = {
        {"     1.00           OBSERVATION DATA    G", false, true},
        {"     2.11           OBSERVATION DATA    G", true, false},
        {"     3.04           OBSERVATION DATA    M", false, false},
        {"     4.02           OBSERVATION DATA    M", true, true},
        {"", false, true},  // a first line without the label: as version 2
        {"", true, false},
    };
    testing::addPoints(table, {{"P1", "6:00:12", "6:00:12"}});
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.first) + (c.rinex3 ? " record" : " line"));
        const std::string epoch = c.rinex3
                                      ? testing::epochRecord(2012, 4, 3, 6, 0, 12, Padding::Zero)
                                      : epochLine(2012, 4, 3, 6, 0, 12, Padding::Zero);
        const std::string file = folder.write(
            "survey.obs", testing::joinLines(
                              {headerRecord(c.first, *c.first ? "RINEX VERSION / TYPE" : "COMMENT"),
                               testing::firstObservationRecord(2012, 4, 3, 6, 0, "12.0000000"),
                               headerRecord("", "END OF HEADER"), epoch, testing::kSatelliteLine},
                              "\n"));
        analyse(file, c.found);
    }
}

TEST_F(Analysis, FilesThatAreNoObservationFilesAreRefusedBeforeAnyPointIsChecked) {
    testing::addPoints(table, {{"P1", "8:00:00", "8:00:30"}});
    const std::string good = folder.write("survey.12o", surveyFile({{6, 0, 12}, {6, 0, 42}}));
    analyse(good, true);
    const Log rows = testing::tableRows(table);

    struct Case {
        const char* name;
        std::string bytes;
        const char* text;  // after Plik "<path>"
    };
    const std::vector<Case> cases = {
        {"CEDA00USA_R_20182100000_23H_15S_MO.rnx.gz",
         testing::readBytes(std::string(MARVOLT_TEST_DATA) +
                            "/CEDA00USA_R_20182100000_23H_15S_MO.rnx.gz"),
         " jest skompresowany (gzip). Rozpakuj go przed analizą."},
        {"pomiar.12o.Z", std::string("\x1F\x9D\x90\x20\x20\x20\x20\x20\x33\x2E", 10),
         " jest skompresowany (compress). Rozpakuj go przed analizą."},
        {"pomiar.12d",
         "1.0                 COMPACT RINEX FORMAT                    CRINEX VERS   / TYPE\n"
         "RNX2CRX ver.4.0.7                       28-Dec-21 00:00     CRINEX PROG / DATE\n",
         " jest skompresowany (Hatanaka). Rozpakuj go przed analizą."},
        {"nawigacja.rnx",
         headerRecord("     3.04           N: GNSS NAV DATA    M: MIXED", "RINEX VERSION / TYPE"),
         " nie jest plikiem obserwacji RINEX (typ N)."},
        {"pogoda.12m",
         headerRecord("     2.11           METEOROLOGICAL DATA", "RINEX VERSION / TYPE") + "\n" +
             headerRecord("", "END OF HEADER") + "\n" +
             epochLine(2012, 4, 3, 6, 0, 12, Padding::Zero),
         " nie jest plikiem obserwacji RINEX (typ M)."},
        {"nowy.rnx",
         headerRecord("     5.00           OBSERVATION DATA    M", "RINEX VERSION / TYPE") + "\n" +
             headerRecord("", "END OF HEADER") + "\n" +
             epochLine(2012, 4, 3, 6, 0, 12, Padding::Zero),
         " ma nieobsługiwaną wersję RINEX 5.00."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = folder.write(c.name, c.bytes);
        Log log;
        EXPECT_EQ(failingAnalysis(file, log), "Plik \"" + file + "\"" + c.text);
        EXPECT_EQ(log, (Log{"busy", "clear", "normal"}));
        EXPECT_EQ(testing::tableRows(table), rows);
        EXPECT_EQ(held.date(), encodeDate(2012, 4, 3));
        EXPECT_EQ(result.file, good);
    }
}

}  // namespace
}  // namespace marvolt
