// A stand-in for rnx2rtkp.exe in the Windows tests, as there is no RTKLIB for Windows here:
// with "-k CONFIGURATION ROVER BASE NAVIGATION..." it reads the configuration by its name,
// writes rnx2rtkp's progress lines to standard error and a header and one solution line to
// standard output, and ends with 0; when a file cannot be read it says so and ends with 1.

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc < 5 || std::string(argv[1]) != "-k") {
        std::fputs("usage: rnx2rtkp -k CONF ROVER BASE NAV...\n", stderr);
        return 1;
    }
    std::ifstream configuration(argv[2]);
    std::string first;
    if (!std::getline(configuration, first) || first != "pos1-posmode=kinematic") {
        std::fprintf(stderr, "no configuration in %s\n", argv[2]);
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        if (!std::ifstream(argv[i])) {
            std::fprintf(stderr, "cannot open %s\n", argv[i]);
            return 1;
        }
    }
    for (int minute = 0; minute < 60; minute += 10)
        std::fprintf(stderr, "processing : 2005/04/02 00:%02d:00 Q=1\r", minute);
    std::fputs("%  GPST                  latitude(deg) longitude(deg)  height(m)\n", stdout);
    std::fputs("2005/04/02 00:00:00.000   35.000000000  139.000000000    70.0000\n", stdout);
    return 0;
}
