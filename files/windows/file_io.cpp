#include "file_io.h"

#include <io.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "block_writer.h"
#include "failure.h"
#include "regular_file.h"
#include "temporary_file.h"
#include "windows_file.h"

namespace marvolt {

namespace {

// Reads or writes at a 64-bit offset, the file's position left where it was (a handle opened
// for synchronous work moves it to the end of what was read or written).
bool atOffset(int fd, std::uint64_t offset, DWORD size, DWORD& done, const char* data, char* into) {
    const HANDLE file = handleOf(fd);
    LARGE_INTEGER position{};
    const LARGE_INTEGER none{};
    if (!::SetFilePointerEx(file, none, &position, FILE_CURRENT)) return false;
    OVERLAPPED place{};
    place.Offset = static_cast<DWORD>(offset);
    place.OffsetHigh = static_cast<DWORD>(offset >> 32);
    const BOOL ok = into ? ::ReadFile(file, into, size, &done, &place)
                         : ::WriteFile(file, data, size, &done, &place);
    const bool atEnd = !ok && ::GetLastError() == ERROR_HANDLE_EOF;
    if (atEnd) done = 0;
    return ::SetFilePointerEx(file, position, nullptr, FILE_BEGIN) && (ok || atEnd);
}

}  // namespace

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const unsigned part = static_cast<unsigned>(std::min<std::size_t>(size, INT_MAX));
        const int count = ::_write(fd, data, part);
        if (count <= 0) return false;
        data += count;
        size -= static_cast<std::size_t>(count);
    }
    return true;
}

// Windows' own writer takes written blocks to disk in the background; the flush at the end
// waits for the rest.
void startWriteback(int, std::uint64_t, std::uint64_t) {}

std::size_t copyPart(int from, int to, std::vector<char>& buffer) {
    buffer.resize(BlockWriter::kBlockSize);
    const int count = ::_read(from, buffer.data(), static_cast<unsigned>(buffer.size()));
    if (count < 0) throw Failure(fileErrorText(errno));
    if (!writeAll(to, buffer.data(), static_cast<std::size_t>(count))) throw streamWriteError();
    return static_cast<std::size_t>(count);
}

std::string readBytesAt(int fd, std::uint64_t offset, std::size_t size) {
    std::string bytes(size, '\0');
    DWORD got = 0;
    if (!atOffset(fd, offset, static_cast<DWORD>(size), got, nullptr, bytes.data()))
        throw streamWriteError();
    bytes.resize(got);
    return bytes;
}

void writeByteAt(int fd, std::uint64_t offset, char byte) {
    DWORD written = 0;
    if (!atOffset(fd, offset, 1, written, &byte, nullptr) || written != 1) throw streamWriteError();
}

}  // namespace marvolt
