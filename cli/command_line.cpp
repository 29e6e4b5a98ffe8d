#include "command_line.h"

namespace marvolt::cli {

namespace {

const char* const kNoBackup = "--no-backup";
const std::string kEventsOption = "--events=";

CommandLine badUsage(const std::string& problem) {
    CommandLine line;
    line.problem = problem;
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
        } else if (argument.compare(0, 2, "--") == 0) {
            return badUsage("unknown option '" + argument + "' for " + name);
        } else if (argument.empty()) {
            return badUsage("an empty file name");
        } else {
            files.push_back(argument);
        }
    }
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
           "\n"
           "Exit status: 0 done; 1 a STOP or GO without an epoch line (nothing written);\n"
           "2 an operation ended with an error (its text on standard error); 3 RINEXFILE\n"
           "was rewritten but RINEXFILE.bak could not be made; 64 bad usage.\n";
}

}  // namespace marvolt::cli
