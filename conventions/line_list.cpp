#include "line_list.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "failure.h"
#include "file_path.h"

namespace marvolt {

namespace {

constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';
constexpr char kEndOfFile = '\x1A';
constexpr std::size_t kWriteChunk = 1 << 20;
constexpr std::size_t kReadTail = 1 << 16;
// Bytes per line assumed when reserving room for the line spans of a file.
constexpr std::size_t kTypicalLineLength = 48;

// The position of the next LF, CR or 0x1A at or after `from`, or `size` when there is none.
// Survey files are hundreds of megabytes: sixteen bytes are looked at in one step.
std::size_t nextLineControl(const char* data, std::size_t from, std::size_t size) {
#if defined(__SSE2__)
    const __m128i lineFeed = _mm_set1_epi8(kLineFeed);
    const __m128i carriageReturn = _mm_set1_epi8(kCarriageReturn);
    const __m128i endOfFile = _mm_set1_epi8(kEndOfFile);
    for (; from + 16 <= size; from += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + from));
        const __m128i hits = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(chunk, lineFeed), _mm_cmpeq_epi8(chunk, carriageReturn)),
            _mm_cmpeq_epi8(chunk, endOfFile));
        if (const int mask = _mm_movemask_epi8(hits)) return from + __builtin_ctz(mask);
    }
#endif
    for (; from < size; ++from) {
        const char byte = data[from];
        if (byte == kLineFeed || byte == kCarriageReturn || byte == kEndOfFile) return from;
    }
    return size;
}

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now and reports whether the close succeeded.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

// Reads up to size bytes at data; returns the count read (0 at the end of the file).
std::size_t readSome(int fd, char* data, std::size_t size) {
    for (;;) {
        const ssize_t count = ::read(fd, data, size);
        if (count >= 0) return static_cast<std::size_t>(count);
        if (errno != EINTR) throw Failure(fileErrorText(errno));
    }
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t count = ::write(fd, data, size);
        if (count < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += count;
        size -= static_cast<std::size_t>(count);
    }
    return true;
}

// The operating system's text for an error, without trailing blanks or a final point.
std::string systemErrorText(int errorNumber) {
    std::string text = std::strerror(errorNumber);
    while (!text.empty() && (text.back() == ' ' || text.back() == '.')) text.pop_back();
    return text;
}

Failure cannotCreate(const std::string& path, int errorNumber) {
    return Failure("Cannot create file \"" + fullPath(path) + "\". " +
                   systemErrorText(errorNumber));
}

// The file the lines really go to: a symbolic link is followed so that the link stays.
std::string targetOf(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : path;
}

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
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
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) throw Failure(fileErrorText(errno));
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) throw Failure(fileErrorText(errno));

    // The whole file in one buffer of its size; a file that grows while read (or reports no
    // size) is read on in pieces, and only then is the buffer copied into a larger one.
    FileBytes bytes;
    bytes.identity = {
        static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
        static_cast<std::uint64_t>(status.st_size),
        static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
    const std::size_t expected = status.st_size > 0 ? static_cast<std::size_t>(status.st_size) : 0;
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
    return LineList::fromFile(readFileBytes(path), visitLine);
}

void writeLines(const std::string& path, const LineList& lines) {
    writeLines(path, [&lines](const std::function<void(std::string_view)>& line) {
        for (std::size_t i = 0; i < lines.size(); ++i) line(lines[i]);
    });
}

void writeLines(const std::string& path, const LineSource& source) {
    const std::string target = targetOf(path);
    struct stat original {};
    const bool exists = ::stat(target.c_str(), &original) == 0;
    // A file the user may not write stays as it is, although the folder would allow the rename.
    if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        throw cannotCreate(path, errno);
    }

    std::string temporaryPath = target + ".XXXXXX";
    FileDescriptor file(::mkostemp(temporaryPath.data(), O_CLOEXEC));
    if (file.get() < 0) throw cannotCreate(path, errno);

    // From here on a failure removes the temporary file and leaves the original alone.
    const auto failWith = [&](const Failure& failure) {
        if (file.get() >= 0) file.close();
        ::unlink(temporaryPath.c_str());
        throw failure;
    };
    const Failure writeError("Stream write error");

    std::string chunk;
    chunk.reserve(kWriteChunk + 1024);
    try {
        source([&](std::string_view line) {
            chunk += line;
            chunk += "\r\n";
            if (chunk.size() >= kWriteChunk) {
                if (!writeAll(file.get(), chunk.data(), chunk.size())) failWith(writeError);
                chunk.clear();
            }
        });
    } catch (...) {
        // Whatever ends the source ends the rewrite: the original stays as it was.
        if (file.get() >= 0) file.close();
        ::unlink(temporaryPath.c_str());
        throw;
    }
    if (!writeAll(file.get(), chunk.data(), chunk.size())) failWith(writeError);
    if (::fsync(file.get()) != 0) failWith(writeError);

    // The owner is kept where allowed (a survey file rewritten by root stays the user's);
    // an ordinary user may not give a file away, and then it simply stays theirs.
    if (exists && ::fchown(file.get(), original.st_uid, original.st_gid) != 0 && errno != EPERM) {
        failWith(cannotCreate(path, errno));
    }
    const mode_t mode = exists ? (original.st_mode & 07777) : newFileMode();
    if (::fchmod(file.get(), mode) != 0) failWith(cannotCreate(path, errno));
    if (!file.close()) failWith(writeError);
    if (::rename(temporaryPath.c_str(), target.c_str()) != 0) failWith(cannotCreate(path, errno));
}

}  // namespace marvolt
