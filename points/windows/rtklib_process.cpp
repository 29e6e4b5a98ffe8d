#include "rtklib_process.h"

#include <windows.h>

#include <cstdlib>
#include <sstream>

#include "failure.h"
#include "wide_text.h"
#include "windows_file.h"

namespace marvolt {

namespace {

Failure cannotStart() { return Failure("Nie mogę uruchomić programu rnx2rtkp."); }

// A handle the started program takes as one of its standard handles.
bool passOn(HANDLE handle, bool on) {
    return ::SetHandleInformation(handle, HANDLE_FLAG_INHERIT, on ? HANDLE_FLAG_INHERIT : 0);
}

}  // namespace

struct RtklibProcess::Running {
    PROCESS_INFORMATION process{};
    HANDLE errors = INVALID_HANDLE_VALUE;  // the read end of the standard error's pipe
};

std::string findRtklibProgram(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ';')) {
        if (folder.empty()) continue;
        const std::string candidate = folder + "\\" + program + ".exe";
        const DWORD attributes = ::GetFileAttributesW(wideOf(candidate).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return candidate;
    }
    throw Failure("Do obliczenia rozwiązania potrzebny jest program rnx2rtkp z pakietu rtklib.");
}

// No /dev/fd on Windows: the program opens the file by its name (it is shared for reading).
std::string RtklibProcess::passedName(const TemporaryFile& passed) { return passed.path(); }

RtklibProcess::RtklibProcess(const std::string& program, const std::vector<std::string>& arguments,
                             int output, int)
    : running_(std::make_unique<Running>()) {
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE errorsWrite = INVALID_HANDLE_VALUE;
    if (!::CreatePipe(&running_->errors, &errorsWrite, &inherited, 0)) throw cannotStart();
    passOn(running_->errors, false);
    const HANDLE input = ::CreateFileW(L"NUL", GENERIC_READ, kShareAll, &inherited, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
    const HANDLE solution = handleOf(output);
    passOn(solution, true);

    std::wstring commandLine;
    for (const std::string& argument : arguments)
        commandLine += (commandLine.empty() ? L"" : L" ") + commandLineArgument(wideOf(argument));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = solution;
    startup.hStdError = errorsWrite;
    const BOOL started =
        ::CreateProcessW(wideOf(program).c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                         CREATE_NO_WINDOW, nullptr, nullptr, &startup, &running_->process);
    passOn(solution, false);
    if (input != INVALID_HANDLE_VALUE) ::CloseHandle(input);
    ::CloseHandle(errorsWrite);
    if (!started) {
        ::CloseHandle(running_->errors);
        throw cannotStart();
    }
    ::CloseHandle(running_->process.hThread);
}

RtklibProcess::~RtklibProcess() {
    if (running_->process.hProcess) stop();
    ::CloseHandle(running_->errors);
}

bool RtklibProcess::errorsWaiting(int milliseconds) {
    // An anonymous pipe cannot be waited on: it is looked at every few milliseconds.
    const ULONGLONG until = ::GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    for (;;) {
        DWORD available = 0;
        // A failure is the pipe closed: the next read says so.
        if (!::PeekNamedPipe(running_->errors, nullptr, 0, nullptr, &available, nullptr) ||
            available > 0)
            return true;
        if (::GetTickCount64() >= until) return false;
        ::Sleep(10);
    }
}

std::size_t RtklibProcess::readErrors(char* into, std::size_t size) {
    DWORD got = 0;
    if (!::ReadFile(running_->errors, into, static_cast<DWORD>(size), &got, nullptr)) return 0;
    return got;
}

void RtklibProcess::stop() {
    ::TerminateProcess(running_->process.hProcess, 1);
    succeeded();
}

bool RtklibProcess::succeeded() {
    ::WaitForSingleObject(running_->process.hProcess, INFINITE);
    DWORD status = 1;
    ::GetExitCodeProcess(running_->process.hProcess, &status);
    ::CloseHandle(running_->process.hProcess);
    running_->process.hProcess = nullptr;
    return status == 0;
}

}  // namespace marvolt
