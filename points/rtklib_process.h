#pragma once
// rnx2rtkp started as a process of its own: its solution written to an open file, its
// configuration read from another, its standard error read as it comes.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "temporary_file.h"

namespace marvolt {

// The full path of `program` on the PATH; fails with "Do obliczenia rozwiązania potrzebny jest
// program rnx2rtkp z pakietu rtklib." when it is not there.
std::string findRtklibProgram(const std::string& program);

// The process: ended and waited for, whatever happens, before it is left.
class RtklibProcess {
  public:
    // Starts `program` with the arguments (the first is its name), no input, standard output
    // to the open file `output`, and the open file `passed` readable by the name passedName
    // gives. Fails with "Nie mogę uruchomić programu rnx2rtkp.".
    RtklibProcess(const std::string& program, const std::vector<std::string>& arguments, int output,
                  int passed);
    ~RtklibProcess();
    RtklibProcess(const RtklibProcess&) = delete;
    RtklibProcess& operator=(const RtklibProcess&) = delete;

    // The name by which the program reads the temporary file given it as `passed`
    // ("/dev/fd/3" on POSIX, the file's own path on Windows).
    static std::string passedName(const TemporaryFile& passed);

    // True when the program's standard error has something to read, or is closed, within
    // `milliseconds`; false when the program stayed quiet that long.
    bool errorsWaiting(int milliseconds);
    // Up to `size` bytes of the program's standard error as they come; 0 once it is closed.
    std::size_t readErrors(char* into, std::size_t size);
    // Ends the process and waits for it.
    void stop();
    // Waits for the process to end; true when it ended by itself with status 0.
    bool succeeded();

  private:
    struct Running;
    std::unique_ptr<Running> running_;
};

}  // namespace marvolt
