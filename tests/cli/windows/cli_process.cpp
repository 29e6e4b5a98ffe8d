#include "cli_process.h"

#include <windows.h>

#include <stdexcept>
#include <string_view>

#include "temp_folder.h"
#include "wide_text.h"

namespace marvolt::testing {

namespace {

// The test's environment without its locale, under Wine's English of C.UTF-8 (as the C
// locale, with the user's 24-hour clock that tools/windows.sh sets), with the variables added; as
// CreateProcessW takes it: each NAME=value ended by a NUL, a NUL after the last.
std::wstring environmentBlock(const std::vector<std::string>& added) {
    std::wstring block;
    wchar_t* const all = ::GetEnvironmentStringsW();
    for (const wchar_t* entry = all; *entry; entry += std::wstring_view(entry).size() + 1) {
        const std::wstring_view variable(entry);
        if (variable.rfind(L"LC_", 0) == 0 || variable.rfind(L"LANG", 0) == 0) continue;
        block.append(variable).push_back(L'\0');
    }
    ::FreeEnvironmentStringsW(all);
    block.append(L"LC_ALL=C.UTF-8").push_back(L'\0');
    for (const std::string& variable : added) block.append(wideOf(variable)).push_back(L'\0');
    block.push_back(L'\0');
    return block;
}

HANDLE inheritedFile(const std::string& path) {
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const HANDLE file = ::CreateFileW(wideOf(path).c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      &inherited, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + path);
    return file;
}

}  // namespace

CliRun runCli(const std::vector<std::string>& arguments, const std::string& workingFolder,
              const std::string& output, const std::vector<std::string>& added) {
    const TempFolder streams;
    const std::string outFile = output.empty() ? streams.file("stdout") : output;
    const std::string errFile = streams.file("stderr");

    std::wstring commandLine = commandLineArgument(wideOf(MARVOLT_CLI));
    for (const std::string& argument : arguments)
        commandLine += L" " + commandLineArgument(wideOf(argument));
    std::wstring environment = environmentBlock(added);
    const std::wstring folder = wideOf(workingFolder);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = INVALID_HANDLE_VALUE;
    startup.hStdOutput = inheritedFile(outFile);
    startup.hStdError = inheritedFile(errFile);
    PROCESS_INFORMATION process{};
    const BOOL started = ::CreateProcessW(
        nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_UNICODE_ENVIRONMENT,
        environment.data(), workingFolder.empty() ? nullptr : folder.c_str(), &startup, &process);
    ::CloseHandle(startup.hStdOutput);
    ::CloseHandle(startup.hStdError);
    if (!started) throw std::runtime_error("cannot start " MARVOLT_CLI);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    ::GetExitCodeProcess(process.hProcess, &status);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    CliRun run;
    run.status = static_cast<int>(status);
    if (output.empty()) run.out = readBytes(outFile);
    run.err = readBytes(errFile);
    return run;
}

}  // namespace marvolt::testing
