// The analysis and the modification with a backup of any file, in a folder of its own. A
// point whose STOP is the file's first observation and whose GO follows 0 to 35 seconds
// later (by the input's size) gives flags to set. Whatever happens: a rewrite changes only
// the flag column of the lines the analysis reported and the line ends, and takes out only
// event blocks inserted by an earlier run; a failed one leaves the file byte-identical; the
// backup is an exact copy; no other file is left.

#include <algorithm>

#include "analysis.h"
#include "analysis_report.h"
#include "event_records.h"
#include "failure.h"
#include "fuzz_input.h"
#include "modification.h"
#include "rinex_oracle.h"
#include "time_table.h"

namespace {

const char* const kFileName = "survey.12o";
const char* const kBackupName = "survey.12o.bak";

// The line numbers (from 1) in the report lines "Wiersz N: znalazłem obserwację ...".
std::vector<std::size_t> reportedLines(const std::vector<std::string>& report) {
    std::vector<std::size_t> lines;
    for (const std::string& line : report)
        if (line.rfind("Wiersz ", 0) == 0) lines.push_back(std::stoul(line.substr(7)));
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace marvolt;
    const std::string original(fuzz::textOf(data, size));
    const std::string file = fuzz::writeScratchFile(kFileName, original);
    std::remove((fuzz::scratchFolder() + "/" + kBackupName).c_str());

    TimeTable table;
    table.open();
    table.insert(0);
    table.setText(Field::Punkt, "P1");
    table.setText(Field::Stop, "10:00:00");
    table.setText(Field::Go, "10:00:" + std::to_string(10 + size % 8 * 5));
    table.post();

    fuzz::QuietServices services;
    HeldDate held;
    std::vector<std::string> report;
    AnalysisResult result;
    bool modified = false;
    try {
        result = analyseRinex(file, table, held);
        showReport(result, services,
                   [&report](const std::string& line) { report.push_back(line); });
        if (!result.allFound()) return 0;
        modifyRinex(result, {true, EventStyle::Flags}, services);
        modified = true;
    } catch (const Failure&) {
    }

    std::vector<std::string> names = fuzz::scratchNames();
    std::sort(names.begin(), names.end());
    const std::string backup = fuzz::fileBytes(fuzz::scratchFolder() + "/" + kBackupName);
    fuzz::require(
        names == std::vector<std::string>{kFileName} ||
            (names == std::vector<std::string>{kFileName, kBackupName} && backup == original),
        "only the file and an exact backup");
    const std::string written = fuzz::fileBytes(file);
    if (!modified) {
        fuzz::require(written == original, "a failed modification leaves the file");
        return 0;
    }
    const auto lines = oracle::WholeFileLines::fromBytes(original);
    const auto flagged = oracle::WholeFileLines::fromBytes(written);
    std::vector<bool> reported(lines.size()), dropped(lines.size());
    for (const std::size_t line : reportedLines(report)) reported.at(line - 1) = true;
    for (const LineRange& block : oracle::insertedEventBlocks(lines, result.layout))
        for (std::size_t i = block.first; i < block.end; ++i) dropped.at(i) = true;
    const std::size_t flag = result.layout.flagPosition();
    std::string expected;
    std::size_t k = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (dropped[i]) continue;
        fuzz::require(k < flagged.size(), "every line kept is there");
        fuzz::require(lines[i].size() == flagged[k].size(), "every line keeps its length");
        for (std::size_t at = 0; at < lines[i].size(); ++at)
            fuzz::require(lines[i][at] == flagged[k][at] || (reported[i] && at == flag),
                          "only the flag of a reported line changes");
        expected.append(flagged[k]).append("\r\n");
        ++k;
    }
    fuzz::require(k == flagged.size(), "no line added");
    fuzz::require(written == expected, "every line ends in CR LF");
    return 0;
}
