#include "command_line.h"

#include <cstdio>
#include <cstdlib>

namespace marvolt::cli {

namespace {

const char* const kNoBackup = "--no-backup";
const std::string kEventsOption = "--events=";

CommandLine badUsage(const std::string& problem) {
    CommandLine line;
    line.problem = problem;
    return line;
}

// "[-]H:MM:SS" as seconds; none for any other text.
std::optional<double> shiftSeconds(const std::string& text) {
    int hours = 0, minutes = 0, seconds = 0, length = 0;
    const bool negative = !text.empty() && text[0] == '-';
    const std::string rest = text.substr(negative ? 1 : 0);
    if (std::sscanf(rest.c_str(), "%2d:%2d:%2d%n", &hours, &minutes, &seconds, &length) != 3 ||
        static_cast<std::size_t>(length) != rest.size() || rest.size() < 7 || rest[0] == '+' ||
        rest[0] == ' ' || minutes > 59 || seconds > 59)
        return std::nullopt;
    const double value = hours * 3600.0 + minutes * 60.0 + seconds;
    return negative ? -value : value;
}

// The options of `points` that take a value: reads the value after `option`; the problem
// when there is none or it is not good.
std::string pointsOption(CommandLine& line, const std::string& option, const std::string& value) {
    if (option == "--trim") {
        char* end = nullptr;
        line.trim = std::strtod(value.c_str(), &end);
        if (value.empty() || *end != '\0' || !(line.trim >= 0.0))
            return "--trim takes seconds (0 or more), not '" + value + "'";
    } else if (option == "--grid") {
        if (value == "pl2000")
            line.grid = Grid::Pl2000;
        else if (value == "pl1992")
            line.grid = Grid::Pl1992;
        else if (value == "none")
            line.grid = Grid::None;
        else
            return "--grid takes pl2000, pl1992 or none, not '" + value + "'";
    } else if (option == "--csv") {
        line.csvFile = value;
    } else if (option == "--base") {
        line.baseFile = value;
    } else if (option == "--nav") {
        line.navFiles.push_back(value);
    } else if (option == "--shift") {
        line.shiftSeconds = shiftSeconds(value);
        if (!line.shiftSeconds) return "--shift takes [-]H:MM:SS, not '" + value + "'";
    }
    return {};
}

bool isPointsOption(const std::string& argument) {
    return argument == "--trim" || argument == "--grid" || argument == "--csv" ||
           argument == "--base" || argument == "--nav" || argument == "--shift";
}

// Which files `points` takes, by the options given.
CommandLine pointsFiles(CommandLine line, const std::vector<std::string>& files) {
    if (line.shiftSeconds) {
        if (!line.baseFile.empty() || !line.navFiles.empty())
            return badUsage("points takes --shift or --base and --nav, not both");
        if (files.size() != 2) return badUsage("points --shift takes TIMEFILE SOLUTIONFILE");
        line.timeFile = files[0];
        line.solutionFile = files[1];
        return line;
    }
    if (!line.baseFile.empty() || !line.navFiles.empty()) {
        if (line.baseFile.empty() || line.navFiles.empty())
            return badUsage("points takes --base together with at least one --nav");
        if (files.size() != 2) return badUsage("points --base takes TIMEFILE RINEXFILE");
        line.timeFile = files[0];
        line.rinexFile = files[1];
        return line;
    }
    if (files.size() != 3) return badUsage("points takes TIMEFILE RINEXFILE SOLUTIONFILE");
    line.timeFile = files[0];
    line.rinexFile = files[1];
    line.solutionFile = files[2];
    return line;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return badUsage("no command given");
    const std::string& name = arguments.front();
    if (name == "--help" || name == "--version") {
        if (arguments.size() > 1) return badUsage(name + " takes no arguments");
        CommandLine line;
        line.command = name == "--help" ? Command::Help : Command::Version;
        return line;
    }

    CommandLine line;
    std::size_t fileCount = 0;
    if (name == "table") {
        line.command = Command::Table;
        fileCount = 1;
    } else if (name == "analyse") {
        line.command = Command::Analyse;
        fileCount = 2;
    } else if (name == "modify") {
        line.command = Command::Modify;
        fileCount = 2;
    } else if (name == "points") {
        line.command = Command::Points;
    } else {
        return badUsage("unknown command '" + name + "'");
    }

    std::vector<std::string> files;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (line.command == Command::Modify && argument == kNoBackup) {
            line.makeBackup = false;
        } else if (line.command == Command::Modify && argument.rfind(kEventsOption, 0) == 0) {
            const std::string style = argument.substr(kEventsOption.size());
            if (style == "flags")
                line.events = EventStyle::Flags;
            else if (style == "records")
                line.events = EventStyle::Records;
            else
                return badUsage("--events takes flags or records, not '" + style + "'");
        } else if (line.command == Command::Points && isPointsOption(argument)) {
            if (i + 1 == arguments.size()) return badUsage(argument + " needs a value");
            const std::string problem = pointsOption(line, argument, arguments[++i]);
            if (!problem.empty()) return badUsage(problem);
        } else if (argument.compare(0, 2, "--") == 0) {
            return badUsage("unknown option '" + argument + "' for " + name);
        } else if (argument.empty()) {
            return badUsage("an empty file name");
        } else {
            files.push_back(argument);
        }
    }
    if (line.command == Command::Points) return pointsFiles(line, files);
    if (files.size() != fileCount)
        return badUsage(name + " takes " + (fileCount == 1 ? "TIMEFILE" : "TIMEFILE RINEXFILE"));
    line.timeFile = files[0];
    if (fileCount == 2) line.rinexFile = files[1];
    return line;
}

std::string usageText() {
    return "Usage:\n"
           "  marvolt-cli table TIMEFILE\n"
           "  marvolt-cli analyse TIMEFILE RINEXFILE\n"
           "  marvolt-cli modify [--no-backup] [--events=flags|records] TIMEFILE RINEXFILE\n"
           "  marvolt-cli points [--trim S] [--grid pl2000|pl1992|none] [--csv FILE]\n"
           "                     TIMEFILE RINEXFILE SOLUTIONFILE\n"
           "  marvolt-cli points [...] --base BASEFILE --nav NAVFILE [--nav NAVFILE]\n"
           "                     TIMEFILE RINEXFILE\n"
           "  marvolt-cli points [...] --shift [-]H:MM:SS TIMEFILE SOLUTIONFILE\n"
           "  marvolt-cli --help\n"
           "  marvolt-cli --version\n"
           "\n"
           "Runs the steps of a stop-and-go survey on an empty time table and prints, one\n"
           "line each, what the window would show, then the table:\n"
           "  table    step 1: imports TIMEFILE (one point a line: name STOP GO)\n"
           "  analyse  steps 1 and 2: aligns the watch with the first observation of\n"
           "           RINEXFILE and finds the epoch line of every STOP and GO\n"
           "  modify   steps 1, 2 and, when no epoch is missing, 3: rewrites RINEXFILE\n"
           "           with flag 3 at every STOP epoch and 2 at every GO epoch, keeping\n"
           "           the old file as RINEXFILE.bak (not with --no-backup)\n"
           "  --events=flags    (the default) writes 3 and 2 over the flags of those epoch\n"
           "                    lines, as stop-and-go processing software expects\n"
           "  --events=records  inserts separate event records before them instead (a new\n"
           "                    site with its MARKER NAME at a STOP, the start of antenna\n"
           "                    movement at a GO), which every RINEX reader keeps whole\n"
           "  points   steps 1 and 2, then the points against a kinematic solution\n"
           "           (RTKLIB .pos or NMEA GGA): for every point the stop the data shows,\n"
           "           its offsets from the watch, the coordinate averaged over the epochs\n"
           "           inside both (the watch window less --trim seconds at each end,\n"
           "           2 by default; fixed epochs only where there are any) and a state:\n"
           "           OK, przesunięty (an end more than 3 s off), ruch, brak danych\n"
           "  --base, --nav  compute SOLUTIONFILE with rnx2rtkp from RINEXFILE, the base\n"
           "           station's file and navigation files, as RINEXFILE's name without\n"
           "           its extension followed by .marvolt.pos\n"
           "  --shift  no RINEX file: the watch is that much behind the receiver, whose\n"
           "           date is that of the solution's first epoch\n"
           "  --grid   adds x and y in PL-2000" +
           std::string(kDefaultGrid == Grid::Pl2000 ? " (the default)" : "") +
           " or PL-1992; heights stay\n"
           "           ellipsoidal\n"
           "  --csv    writes the points to FILE (UTF-8, comma-separated)\n"
           "\n"
           "Exit status: 0 done (for points: every point OK); 1 a STOP or GO without an epoch\n"
           "line (nothing written), for points a point that is not OK;\n"
           "2 an operation ended with an error (its text on standard error); 3 RINEXFILE\n"
           "was rewritten but RINEXFILE.bak could not be made; 64 bad usage.\n";
}

}  // namespace marvolt::cli
