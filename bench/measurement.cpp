#include "measurement.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace marvolt::bench {

namespace {

constexpr std::size_t kKibibyte = 1024;
constexpr std::size_t kBlock = std::size_t{1} << 20;

int openToRead(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw std::runtime_error("cannot open " + path);
    return fd;
}

// A new file beside `target`, filled by `fill`, flushed and renamed over the target.
template <typename Fill>
void replaceWith(const std::string& target, Fill&& fill) {
    std::string temporary = target + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) throw std::runtime_error("cannot create " + temporary);
    const bool filled = fill(fd) && ::fsync(fd) == 0;
    ::close(fd);
    if (!filled || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        throw std::runtime_error("cannot write " + target);
    }
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

std::size_t blockRead(const std::string& path) {
    const int fd = openToRead(path);
    std::vector<char> buffer(kBlock);
    std::size_t total = 0;
    for (ssize_t count; (count = ::read(fd, buffer.data(), buffer.size())) > 0;)
        total += static_cast<std::size_t>(count);
    ::close(fd);
    return total;
}

void streamedReadWrite(const std::string& path, const std::string& target) {
    const int from = openToRead(path);
    replaceWith(target, [&](int to) {
        std::vector<char> buffer(kBlock);
        for (ssize_t count; (count = ::read(from, buffer.data(), buffer.size())) > 0;)
            if (::write(to, buffer.data(), static_cast<std::size_t>(count)) != count) return false;
        return true;
    });
    ::close(from);
}

void kernelCopy(const std::string& path, const std::string& target) {
    const int from = openToRead(path);
    replaceWith(target, [&](int to) {
        ssize_t copied;
        while ((copied = ::copy_file_range(from, nullptr, to, nullptr, kBlock * 64, 0)) > 0) {
        }
        return copied == 0;
    });
    ::close(from);
}

void plainCopy(const std::string& path, const std::string& target) {
    std::filesystem::copy_file(path, target, std::filesystem::copy_options::overwrite_existing);
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    const bool flushed = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0) ::close(fd);
    if (!flushed) throw std::runtime_error("cannot flush " + target);
}

}  // namespace marvolt::bench
