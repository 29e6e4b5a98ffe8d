#include "measurement.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace marvolt::bench {

namespace {

constexpr std::size_t kKibibyte = 1024;

std::string wholeFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw std::runtime_error("cannot open " + path);
    struct stat status {};
    ::fstat(fd, &status);
    std::string bytes(static_cast<std::size_t>(status.st_size), '\0');
    std::size_t used = 0;
    while (used < bytes.size()) {
        const ssize_t count = ::read(fd, bytes.data() + used, bytes.size() - used);
        if (count <= 0) break;
        used += static_cast<std::size_t>(count);
    }
    ::close(fd);
    if (used != bytes.size()) throw std::runtime_error("cannot read " + path);
    return bytes;
}

}  // namespace

bool resetPeakMemory() {
    std::ofstream clearRefs("/proc/self/clear_refs");
    clearRefs << "5";
    clearRefs.flush();
    return static_cast<bool>(clearRefs);
}

std::size_t peakMemory() {
    std::ifstream status("/proc/self/status");
    std::string field;
    while (status >> field) {
        if (field == "VmHWM:") {
            std::size_t kibibytes = 0;
            status >> kibibytes;
            return kibibytes * kKibibyte;
        }
    }
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<std::size_t>(usage.ru_maxrss) * kKibibyte;
}

std::size_t plainRead(const std::string& path) { return wholeFile(path).size(); }

void plainReadWrite(const std::string& path, const std::string& target) {
    const std::string bytes = wholeFile(path);
    std::string temporary = target + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) throw std::runtime_error("cannot create " + temporary);
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (count <= 0) break;
        written += static_cast<std::size_t>(count);
    }
    const bool flushed = written == bytes.size() && ::fsync(fd) == 0;
    ::close(fd);
    if (!flushed || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        throw std::runtime_error("cannot write " + target);
    }
}

void plainCopy(const std::string& path, const std::string& target) {
    std::filesystem::copy_file(path, target, std::filesystem::copy_options::overwrite_existing);
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    const bool flushed = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0) ::close(fd);
    if (!flushed) throw std::runtime_error("cannot flush " + target);
}

}  // namespace marvolt::bench
