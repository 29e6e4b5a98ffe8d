#pragma once
// Runs marvolt-cli as a separate process and collects what it printed.

#include <string>
#include <vector>

namespace marvolt::testing {

struct CliRun {
    int status = -1;  // the exit status; 128 + the signal number when killed
    std::string out;  // standard output
    std::string err;  // standard error
};

// Runs marvolt-cli with the arguments, in `workingFolder` when one is given, under the C
// locale (the LC_* and LANG variables of the test's environment removed). With `output`
// given, standard output goes to that file and is not collected. `environment` adds
// variables ("NAME=value") to the process's environment.
CliRun runCli(const std::vector<std::string>& arguments, const std::string& workingFolder = "",
              const std::string& output = "", const std::vector<std::string>& environment = {});

}  // namespace marvolt::testing
