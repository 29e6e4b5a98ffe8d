#include "line_list.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "block_writer.h"
#include "failure.h"
#include "file_descriptor.h"
#include "file_path.h"
#include "line_controls.h"
#include "regular_file.h"
#include "temporary_file.h"

namespace marvolt {

namespace {

constexpr std::size_t kReadTail = 1 << 16;
// Bytes per line assumed when reserving room for the line spans of a file.
constexpr std::size_t kTypicalLineLength = 48;

// Reads up to size bytes at data; returns the count read (0 at the end of the file).
std::size_t readSome(int fd, char* data, std::size_t size) {
    for (;;) {
        const ssize_t count = ::read(fd, data, size);
        if (count >= 0) return static_cast<std::size_t>(count);
        if (errno != EINTR) throw Failure(fileErrorText(errno));
    }
}

Failure outOfMemory(const std::string& path) {
    return Failure("Za mało pamięci, by wczytać plik \"" + fullPath(path) + "\".");
}

}  // namespace

std::string fileErrorText(int errorNumber) {
    switch (errorNumber) {
        case ENOENT:
            return "File not found";
        case ENOTDIR:
        case ENAMETOOLONG:
        case EINVAL:
            return "Invalid filename";
        case EMFILE:
        case ENFILE:
            return "Too many open files";
        case EACCES:
        case EPERM:
        case EISDIR:
            return "File access denied";
        default:
            return "I/O error " + std::to_string(errorNumber);
    }
}

FileBytes readFileBytes(const std::string& path) {
    struct stat status {};
    const FileDescriptor file = openRegularFile(path, status);
    try {
        // The whole file in one buffer of its size; a file that grows while read (or reports
        // no size) is read on in pieces, and only then is the buffer copied into a larger one.
        FileBytes bytes;
        bytes.identity = identityOf(status);
        const std::size_t expected =
            status.st_size > 0 ? static_cast<std::size_t>(status.st_size) : 0;
        bytes.data.reset(new char[expected + 1]);
        while (bytes.size < expected) {
            const std::size_t count =
                readSome(file.get(), bytes.data.get() + bytes.size, expected - bytes.size);
            if (count == 0) break;
            bytes.size += count;
        }
        std::string tail;
        char piece[kReadTail];
        while (const std::size_t count = readSome(file.get(), piece, sizeof piece)) {
            tail.append(piece, count);
        }
        if (!tail.empty()) {
            std::unique_ptr<char[]> grown(new char[bytes.size + tail.size()]);
            std::memcpy(grown.get(), bytes.data.get(), bytes.size);
            std::memcpy(grown.get() + bytes.size, tail.data(), tail.size());
            bytes.data = std::move(grown);
            bytes.size += tail.size();
        }
        return bytes;
    } catch (const std::bad_alloc&) {
        throw outOfMemory(path);
    }
}

LineList LineList::fromBytes(std::string_view text, const LineVisitor& visitLine) {
    FileBytes bytes;
    bytes.data.reset(new char[text.size() + 1]);
    std::memcpy(bytes.data.get(), text.data(), text.size());
    bytes.size = text.size();
    return fromFile(std::move(bytes), visitLine);
}

LineList LineList::fromFile(FileBytes bytes, const LineVisitor& visitLine) {
    LineList list;
    char* const data = bytes.data.get();
    const std::size_t size = bytes.size;
    list.starts_.reserve(size / kTypicalLineLength + 1);
    list.ends_.reserve(size / kTypicalLineLength + 1);

    // One pass over the bytes from one line-end candidate to the next. Lines stay where they
    // are, terminators and all; only a line holding a lone CR is squeezed in place.
    std::size_t read = 0;
    while (read < size) {
        if (data[read] == kEndOfFile) {
            if (read != size - 1) list.droppedBytes_ = true;
            break;
        }
        const std::size_t start = read;
        std::size_t textEnd = size;
        std::size_t next = size;
        bool loneCarriageReturn = false;
        for (std::size_t at = start; (at = nextLineControl(data, at, size)) < size;) {
            if (data[at] == kLineFeed) {
                textEnd = at;
                next = at + 1;
                break;
            }
            if (data[at] == kCarriageReturn) {
                if (at + 1 < size && data[at + 1] == kLineFeed) {
                    textEnd = at;
                    next = at + 2;
                    break;
                }
                loneCarriageReturn = true;
                ++at;
                continue;
            }
            // 0x1A inside a line ends its text; the rest of the physical line is skipped.
            if (at != size - 1) list.droppedBytes_ = true;
            textEnd = at;
            const auto* lineFeed =
                static_cast<const char*>(std::memchr(data + at, kLineFeed, size - at));
            next = lineFeed ? static_cast<std::size_t>(lineFeed - data) + 1 : size;
            break;
        }
        if (loneCarriageReturn) {
            list.droppedBytes_ = true;
            textEnd = static_cast<std::size_t>(
                std::remove(data + start, data + textEnd, kCarriageReturn) - data);
        }
        list.starts_.push_back(start);
        list.ends_.push_back(textEnd);
        if (visitLine)
            visitLine(list.starts_.size() - 1, std::string_view(data + start, textEnd - start));
        read = next;
    }
    list.buffer_ = std::move(bytes);
    return list;
}

LineList readLines(const std::string& path, const LineVisitor& visitLine) {
    FileBytes bytes = readFileBytes(path);
    try {
        return LineList::fromFile(std::move(bytes), visitLine);
    } catch (const std::bad_alloc&) {
        throw outOfMemory(path);
    }
}

void writeLines(const std::string& path, const LineList& lines) {
    const Replacement replacement = prepareReplacement(path);
    TemporaryFile file(replacement.target, path);
    BlockWriter writer(file.fd());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        writer.write(lines[i]);
        writer.endLine();
    }
    writer.flush();
    file.replaceTarget(replacement.ownership);
}

}  // namespace marvolt
