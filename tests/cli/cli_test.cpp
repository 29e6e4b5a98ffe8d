// marvolt-cli as a surveyor runs it: the files are made by each test, the process's
// standard output, standard error and exit status are compared exactly.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "cli_process.h"
#include "temp_folder.h"

namespace marvolt::testing {
namespace {

const std::string kHeader = "Punkt\tStop (zeg.)\tGo (zeg.)\tStop (GMT)\tGo (GMT)\n";
const std::string kNoErrors =
    "Nie znalazłem żadnych błedów w tabeli czasów. Możesz zmodyfikować RINEX.\n";
const std::string kErrors = "Tabela czasów zawiera błędy! Popraw je i zrób jeszcze raz analizę.\n";
constexpr std::size_t kFlagColumn = 28;  // column 29, counted from 0

std::string headerRecord(const std::string& content, const std::string& label) {
    return content + std::string(60 - content.size(), ' ') + label;
}

// An epoch line of 3 April 2012 in the standard blank-padded layout, two satellites.
std::string epochLine(int hour, int minute, int second) {
    char line[64];
    std::snprintf(line, sizeof line, " 12  4  3%3d%3d%11.7f  0  2G12G15", hour, minute,
                  static_cast<double>(second));
    return line;
}

// A small survey file: 4 header lines, then 16 epochs 5 s apart from 09:58:55, each an
// epoch line and two observation lines, LF line ends. Epoch i is on line 5 + 3 i.
std::string surveyRinex() {
    std::string file =
        headerRecord("     2.11           OBSERVATION DATA    G (GPS)", "RINEX VERSION / TYPE\n") +
        headerRecord("     2    C1    L1", "# / TYPES OF OBSERV\n") +
        headerRecord("  2012     4     3     9    58   55.0000000     GPS", "TIME OF FIRST OBS\n") +
        headerRecord("", "END OF HEADER\n");
    for (int i = 0; i < 16; ++i) {
        const int seconds = 9 * 3600 + 58 * 60 + 55 + 5 * i;
        file += epochLine(seconds / 3600, seconds / 60 % 60, seconds % 60) + "\n";
        file += "  20530712.503   106564800.421 8\n  22641687.381   118906299.828 7\n";
    }
    return file;
}

// Watch 1 min 5 s ahead of the receiver: A1 on epochs 0 and 4, B2 on epochs 6 and 15.
const std::string kSurveyTimes = "A1 10:00:00 10:00:20\nB2 10:00:30 10:01:15\n";
// B2's GO on the watch 10:01:20 is 10:00:15 on the receiver, after the last epoch.
const std::string kMissingGoTimes = "A1 10:00:00 10:00:20\nB2 10:00:30 10:01:20\n";

// The lines of a file with LF or CR LF line ends, as line reading gives them.
std::vector<std::string> splitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// The file the modification should write: the lines with the flags put at column 29
// (line numbers from 1), each followed by CR LF.
std::string flagged(const std::string& original, const std::map<int, char>& flags) {
    std::vector<std::string> lines = splitLines(original);
    for (const auto& [lineNumber, flag] : flags) lines.at(lineNumber - 1).at(kFlagColumn) = flag;
    std::string result;
    for (const auto& line : lines) result += line + "\r\n";
    return result;
}

std::string reportLine(int lineNumber, const std::string& what, const std::string& point) {
    return "Wiersz " + std::to_string(lineNumber) + ": znalazłem obserwację " + what +
           " dla punktu " + point + "\n";
}

std::string analysedSurvey() {
    return "Wczytałem 2 punktów. Liczba błędnych wierszy: 0.\n"
           "RINEX: Data pomiaru 3 April 2012 r. (Tuesday)\n"
           "RINEX: Początek pierwszej obserwacji (GMT) 9:58:55\n"
           "Przesunięcie między zegarkiem a GMT 0:01:05\n" +
           reportLine(5, "STOP", "A1") + reportLine(17, "GO", "A1") + reportLine(23, "STOP", "B2") +
           reportLine(50, "GO", "B2") + kNoErrors;
}

const std::string kSurveyTable = kHeader +
                                 "A1\t10:00:00\t10:00:20\t09:58:55\t09:59:15\n"
                                 "B2\t10:00:30\t10:01:15\t09:59:25\t10:00:10\n";

std::string usage() { return runCli({"--help"}).out; }

TEST(CliUsage, HelpAndVersionPrintOnStandardOutput) {
    const CliRun help = runCli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage:\n"
                             "  marvolt-cli table TIMEFILE\n"
                             "  marvolt-cli analyse TIMEFILE RINEXFILE\n"
                             "  marvolt-cli modify [--no-backup] [--events=flags|records] "
                             "TIMEFILE RINEXFILE\n"
                             "  marvolt-cli points [--trim S] [--grid pl2000|pl1992|none] "
                             "[--csv FILE]\n"
                             "                     TIMEFILE RINEXFILE SOLUTIONFILE\n"
                             "  marvolt-cli points [...] --base BASEFILE --nav NAVFILE "
                             "[--nav NAVFILE]\n"
                             "                     TIMEFILE RINEXFILE\n"
                             "  marvolt-cli points [...] --shift [-]H:MM:SS TIMEFILE "
                             "SOLUTIONFILE\n"
                             "  marvolt-cli --help\n"
                             "  marvolt-cli --version\n",
                             0),
              0u)
        << help.out;
    EXPECT_NE(help.out.find("64 bad usage"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("3 RINEXFILE\nwas rewritten but RINEXFILE.bak could not be made"),
              std::string::npos)
        << help.out;
    EXPECT_EQ(help.err, "");

    const CliRun version = runCli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "marvolt-cli " MARVOLT_VERSION "\n");
    EXPECT_EQ(version.err, "");
}

TEST(CliUsage, BadUsageNamesTheProblemAndShowsTheUsageOnStandardError) {
    const struct {
        std::vector<std::string> arguments;
        std::string problem;
    } rows[] = {
        {{}, "no command given"},
        {{"analyze", "t.txt", "r.12o"}, "unknown command 'analyze'"},
        {{"table"}, "table takes TIMEFILE"},
        {{"table", "t.txt", "r.12o"}, "table takes TIMEFILE"},
        {{"analyse", "t.txt"}, "analyse takes TIMEFILE RINEXFILE"},
        {{"modify", "--no-backup", "t.txt"}, "modify takes TIMEFILE RINEXFILE"},
        {{"analyse", "--no-backup", "t.txt", "r.12o"}, "unknown option '--no-backup' for analyse"},
        {{"modify", "--backup", "t.txt", "r.12o"}, "unknown option '--backup' for modify"},
        {{"modify", "--events=record", "t.txt", "r.12o"},
         "--events takes flags or records, not 'record'"},
        {{"analyse", "--events=records", "t.txt", "r.12o"},
         "unknown option '--events=records' for analyse"},
        {{"table", ""}, "an empty file name"},
        {{"--help", "table"}, "--help takes no arguments"},
        {{"--version", "x"}, "--version takes no arguments"},
    };
    const std::string usageText = usage();
    ASSERT_FALSE(usageText.empty());
    for (const auto& row : rows) {
        SCOPED_TRACE(row.problem);
        const CliRun run = runCli(row.arguments);
        EXPECT_EQ(run.status, 64);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "marvolt-cli: " + row.problem + "\n\n" + usageText);
    }
}

TEST(CliTable, PrintsTheRowMessagesTheSummaryAndTheTableInStopOrder) {
    const TempFolder folder;
    // Line 2 empty, line 3 one item joined by semicolons, line 5 hour 25; line 4 a quoted
    // name with a blank in Windows-1250 ("Łódź 1") and a fourth item; line 6 tabs.
    const std::string times = folder.write("punkty.txt",
                                           "101 10:15:05 10:20:30\n"
                                           "\n"
                                           "102;9:00;9:10\n"
                                           "\"\xA3\xF3"
                                           "d\x9F 1\" 9:00 9:10 extra\n"
                                           "103 25:00:00 26:00:00\n"
                                           "\t104\t7:5:3   8:00\n");
    const CliRun run = runCli({"table", times});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              "Wiersz 2 ma nieprawidłowy format. Pominąłem...\n"
              "Wiersz 3 ma nieprawidłowy format. Pominąłem...\n"
              "Wiersz 5 ma nieprawidłowy format. Pominąłem...\n"
              "Wczytałem 3 punktów. Liczba błędnych wierszy: 3.\n" +
                  kHeader +
                  "104\t07:05:03\t08:00:00\t\t\n"
                  "\"Łódź 1\"\t09:00:00\t09:10:00\t\t\n"
                  "101\t10:15:05\t10:20:30\t\t\n");
}

TEST(CliErrors, AnErrorEndsTheRunOnStandardErrorWithoutTheTable) {
    const TempFolder folder;
    const std::string times = folder.write("punkty.txt", kSurveyTimes);
    std::string badMonth = surveyRinex();
    badMonth.replace(badMonth.find("     4     3     9"), 18, "    13     3     9");
    const std::string badHeader = folder.write("month13.12o", badMonth);
    const std::string missing = folder.file("missing.12o");
    const std::string summary = "Wczytałem 2 punktów. Liczba błędnych wierszy: 0.\n";
    const struct {
        std::vector<std::string> arguments;
        std::string out;
        std::string err;
    } rows[] = {
        {{"table", folder.file("missing.txt")}, "", "File not found.\n"},
        {{"analyse", folder.file("missing.txt"), missing}, "", "File not found.\n"},
        {{"analyse", times, missing}, summary, "File not found.\n"},
        {{"modify", times, missing}, summary, "File not found.\n"},
        {{"analyse", times, badHeader}, summary, "Invalid argument to date encode.\n"},
        {{"modify", times, badHeader}, summary, "Invalid argument to date encode.\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments.front() + " " + row.arguments.back());
        const CliRun run = runCli(row.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, row.out);
        EXPECT_EQ(run.err, row.err);
    }
    EXPECT_FALSE(std::filesystem::exists(badHeader + ".bak"));
}

TEST(CliErrors, AModificationThatWouldLoseBytesEndsTheRunAndLeavesTheFile) {
    const TempFolder folder;
    // A byte 0x1A inside an observation line: the analysis reads the line up to it, but
    // writing the lines back would drop the rest of that line.
    std::string bytes = surveyRinex();
    bytes.insert(bytes.find("106564800.421"), "\x1A");
    const std::string rinex = folder.write("survey.12o", bytes);
    const CliRun run = runCli({"modify", folder.write("punkty.txt", kSurveyTimes), rinex});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, analysedSurvey());
    EXPECT_EQ(run.err, "Plik \"" + rinex +
                           "\" zawiera znak CR bez LF albo znak 0x1A przed końcem pliku; "
                           "zapisanie go na nowo zgubiłoby dane. Plik nie został zmieniony.\n");
    EXPECT_EQ(readBytes(rinex), bytes);
    EXPECT_FALSE(std::filesystem::exists(rinex + ".bak"));
}

TEST(CliErrors, OutputThatCannotBeWrittenIsNoSuccess) {
    const TempFolder folder;
    const CliRun run = runCli({"table", folder.write("punkty.txt", kSurveyTimes)}, "", "/dev/full");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "marvolt-cli: cannot write to standard output\n");
}

TEST(CliAnalyse, PrintsTheResultFieldsTheReportAndTheTableWithGmtTimes) {
    const TempFolder folder;
    const std::string rinex = folder.write("survey.12o", surveyRinex());
    const CliRun run = runCli({"analyse", folder.write("punkty.txt", kSurveyTimes), rinex});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, analysedSurvey() + kSurveyTable);
    EXPECT_EQ(readBytes(rinex), surveyRinex());
}

TEST(CliAnalyse, AMissingEpochExitsWithOneAndStillPrintsTheTable) {
    const TempFolder folder;
    const std::string times = folder.write("punkty.txt", kMissingGoTimes);
    const CliRun run = runCli({"analyse", times, folder.write("survey.12o", surveyRinex())});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              "Wczytałem 2 punktów. Liczba błędnych wierszy: 0.\n"
              "RINEX: Data pomiaru 3 April 2012 r. (Tuesday)\n"
              "RINEX: Początek pierwszej obserwacji (GMT) 9:58:55\n"
              "Przesunięcie między zegarkiem a GMT 0:01:05\n" +
                  reportLine(5, "STOP", "A1") + reportLine(17, "GO", "A1") +
                  reportLine(23, "STOP", "B2") +
                  "Nie znalazłem w RINEX obserwacji GO dla punktu B2.\n" + kErrors + kHeader +
                  "A1\t10:00:00\t10:00:20\t09:58:55\t09:59:15\n"
                  "B2\t10:00:30\t10:01:20\t09:59:25\t10:00:15\n");
}

TEST(CliModify, FlagsTheEpochLinesAndKeepsTheOriginalAsBackup) {
    const TempFolder folder;
    folder.write("punkty.txt", kSurveyTimes);
    const std::string rinex = folder.write("survey.12o", surveyRinex());
    // Relative names, as typed in a shell: the final message names the full path.
    const CliRun run = runCli({"modify", "punkty.txt", "survey.12o"}, folder.path());
    const std::string fullPath =
        (std::filesystem::canonical(folder.path()) / "survey.12o").string();
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              analysedSurvey() + "Zakończyłem modyfikację pliku " + fullPath + "\n" + kSurveyTable);
    EXPECT_EQ(readBytes(rinex),
              flagged(surveyRinex(), {{5, '3'}, {17, '2'}, {23, '3'}, {50, '2'}}));
    EXPECT_EQ(readBytes(rinex + ".bak"), surveyRinex());
}

TEST(CliModify, NoBackupRewritesTheFileAndMakesNoCopy) {
    const TempFolder folder;
    const std::string times = folder.write("punkty.txt", kSurveyTimes);
    const std::string rinex = folder.write("survey.12o", surveyRinex());
    const CliRun run = runCli({"modify", "--no-backup", times, rinex});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              analysedSurvey() + "Zakończyłem modyfikację pliku " + rinex + "\n" + kSurveyTable);
    EXPECT_EQ(readBytes(rinex),
              flagged(surveyRinex(), {{5, '3'}, {17, '2'}, {23, '3'}, {50, '2'}}));
    EXPECT_FALSE(std::filesystem::exists(rinex + ".bak"));
}

TEST(CliModify, EventRecordsAreInsertedWhenAsked) {
    const TempFolder folder;
    const std::string times = folder.write("punkty.txt", kSurveyTimes);
    const std::string rinex = folder.write("survey.12o", surveyRinex());
    const CliRun run = runCli({"modify", "--events=records", "--no-backup", times, rinex});
    EXPECT_EQ(run.status, 0);
    const std::string marked = readBytes(rinex);
    // The STOP of the first point: an event line of the epoch's date and time, flag 3 and
    // two records, before the epoch line of line 5, which keeps its flag.
    const std::string epoch = splitLines(surveyRinex()).at(4);
    EXPECT_NE(marked.find(epoch.substr(0, 26) + "  3  2\r\n"), std::string::npos);
    EXPECT_NE(marked.find("Stop & Go: STOP"), std::string::npos);
    EXPECT_NE(marked.find(epoch + "\r\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(rinex + ".bak"));
}

TEST(CliModify, ABackupThatCannotBeMadeExitsWithThreeAfterTheRewrite) {
    const TempFolder folder;
    const std::string times = folder.write("punkty.txt", kSurveyTimes);
    const std::string rinex = folder.write("survey.12o", surveyRinex());
    // A folder in the backup's place: the copy cannot take its name.
    std::filesystem::create_directory(rinex + ".bak");
    folder.write("survey.12o.bak/kept.txt", "kept");
    const CliRun run = runCli({"modify", times, rinex});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, analysedSurvey() +
                           "UWAGA: Z jakiegoś powodu utworzenie kopii nie powiodło się!\n"
                           "Zakończyłem modyfikację pliku " +
                           rinex + "\n" + kSurveyTable);
    EXPECT_EQ(readBytes(rinex),
              flagged(surveyRinex(), {{5, '3'}, {17, '2'}, {23, '3'}, {50, '2'}}));
    EXPECT_EQ(readBytes(rinex + ".bak/kept.txt"), "kept");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 3);
}

TEST(CliModify, MissingEpochsWriteNothing) {
    const TempFolder folder;
    const std::string times = folder.write("punkty.txt", kMissingGoTimes);
    const std::string rinex = folder.write("survey.12o", surveyRinex());
    const CliRun run = runCli({"modify", times, rinex});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find(kErrors + kHeader), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("Zakończyłem"), std::string::npos) << run.out;
    EXPECT_EQ(readBytes(rinex), surveyRinex());
    EXPECT_FALSE(std::filesystem::exists(rinex + ".bak"));
}

// An epoch of a real file: its line number and its time on the receiver.
struct Epoch {
    int line = 0;
    std::string time;  // HH:MM:SS
};

// The data epochs (flag 0) of a RINEX file whose epochs all carry the year `yy`, in either
// padding of the fields, read from the fixed columns of the epoch line.
std::vector<Epoch> epochsOf(const std::string& bytes, const std::string& yy) {
    const std::vector<std::string> lines = splitLines(bytes);
    std::vector<Epoch> epochs;
    bool inHeader = true;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (inHeader) {
            inHeader = line.find("END OF HEADER") == std::string::npos;
            continue;
        }
        if (line.size() <= kFlagColumn || line.compare(0, 3, " " + yy) != 0 ||
            line[kFlagColumn] != '0')
            continue;
        char time[16];
        std::snprintf(time, sizeof time, "%02d:%02d:%02d", std::stoi(line.substr(10, 2)),
                      std::stoi(line.substr(13, 2)), std::stoi(line.substr(15, 11)));
        epochs.push_back({static_cast<int>(i) + 1, time});
    }
    return epochs;
}

TEST(CliRealFiles, AnalyseAndModifyFindTheEpochsOfEveryWriter) {
    const struct {
        std::string file;
        std::string yy;
        std::string date;
        std::string firstObservation;
    } rows[] = {
        // Standard blank-padded epoch lines, 30 s apart.
        {"gnsstk_bahr1620.04o", "04", "10 June 2004 r. (Thursday)", "0:00:00"},
        // Zero-padded epoch lines, 1 s apart.
        {"gpstk_nklg170b00.16o", "16", "18 June 2016 r. (Saturday)", "1:00:00"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        const TempFolder folder;
        const std::string original = readBytes(MARVOLT_TEST_DATA "/" + row.file);
        const std::string rinex = folder.write(row.file, original);
        const std::vector<Epoch> epochs = epochsOf(original, row.yy);
        ASSERT_GE(epochs.size(), 5u);
        // The watch shows receiver time: P1 stops on the first epoch, so the shift is 0.
        const Epoch& stop1 = epochs[0];
        const Epoch& go1 = epochs[1];
        const Epoch& stop2 = epochs[2];
        const Epoch& go2 = epochs[4];
        const std::string times =
            folder.write("punkty.txt", "P1 " + stop1.time + " " + go1.time + "\nP2 " + stop2.time +
                                           " " + go2.time + "\n");

        const std::string analysed =
            "Wczytałem 2 punktów. Liczba błędnych wierszy: 0.\n"
            "RINEX: Data pomiaru " +
            row.date +
            "\n"
            "RINEX: Początek pierwszej obserwacji (GMT) " +
            row.firstObservation +
            "\n"
            "Przesunięcie między zegarkiem a GMT 0:00:00\n" +
            reportLine(stop1.line, "STOP", "P1") + reportLine(go1.line, "GO", "P1") +
            reportLine(stop2.line, "STOP", "P2") + reportLine(go2.line, "GO", "P2") + kNoErrors;
        const std::string table = kHeader + "P1\t" + stop1.time + "\t" + go1.time + "\t" +
                                  stop1.time + "\t" + go1.time + "\n" + "P2\t" + stop2.time + "\t" +
                                  go2.time + "\t" + stop2.time + "\t" + go2.time + "\n";

        const CliRun analysis = runCli({"analyse", times, rinex});
        EXPECT_EQ(analysis.status, 0);
        EXPECT_EQ(analysis.err, "");
        EXPECT_EQ(analysis.out, analysed + table);

        const CliRun modification = runCli({"modify", times, rinex});
        EXPECT_EQ(modification.status, 0);
        EXPECT_EQ(modification.err, "");
        EXPECT_EQ(modification.out,
                  analysed + "Zakończyłem modyfikację pliku " + rinex + "\n" + table);
        EXPECT_EQ(
            readBytes(rinex),
            flagged(original,
                    {{stop1.line, '3'}, {go1.line, '2'}, {stop2.line, '3'}, {go2.line, '2'}}));
        EXPECT_EQ(readBytes(rinex + ".bak"), original);
    }
}

TEST(CliExamples, TheExampleSurveyAnalysesAndModifiesWithoutErrors) {
    const std::string times = MARVOLT_EXAMPLES "/punkty.txt";
    const std::string rinex = MARVOLT_EXAMPLES "/pomiar.11o";
    const std::string analysed =
        "Wczytałem 4 punktów. Liczba błędnych wierszy: 0.\n"
        "RINEX: Data pomiaru 14 June 2011 r. (Tuesday)\n"
        "RINEX: Początek pierwszej obserwacji (GMT) 10:17:00\n"
        "Przesunięcie między zegarkiem a GMT 0:02:35\n" +
        reportLine(16, "STOP", "101") + reportLine(304, "GO", "101") +
        reportLine(472, "STOP", "102") + reportLine(808, "GO", "102") +
        reportLine(984, "STOP", "103") + reportLine(1232, "GO", "103") +
        reportLine(1440, "STOP", "104") + reportLine(1688, "GO", "104") + kNoErrors;
    const std::string table = kHeader +
                              "101\t10:14:25\t10:17:25\t10:17:00\t10:20:00\n"
                              "102\t10:19:10\t10:22:40\t10:21:45\t10:25:15\n"
                              "103\t10:24:30\t10:27:05\t10:27:05\t10:29:40\n"
                              "104\t10:29:15\t10:31:50\t10:31:50\t10:34:25\n";

    const CliRun analysis = runCli({"analyse", times, rinex});
    EXPECT_EQ(analysis.status, 0);
    EXPECT_EQ(analysis.err, "");
    EXPECT_EQ(analysis.out, analysed + table);

    // The example has CR LF line ends already: the modification changes the flags only.
    const TempFolder folder;
    const std::string original = readBytes(rinex);
    const std::string copy = folder.write("pomiar.11o", original);
    const CliRun modification = runCli({"modify", "--no-backup", times, copy});
    EXPECT_EQ(modification.status, 0);
    EXPECT_EQ(modification.err, "");
    EXPECT_EQ(readBytes(copy), flagged(original, {{16, '3'},
                                                  {304, '2'},
                                                  {472, '3'},
                                                  {808, '2'},
                                                  {984, '3'},
                                                  {1232, '2'},
                                                  {1440, '3'},
                                                  {1688, '2'}}));
    EXPECT_EQ(flagged(original, {}), original);
}

}  // namespace
}  // namespace marvolt::testing
