#pragma once
// Wall time, peak resident memory, and the physical floors the steps are compared with.

#include <chrono>
#include <cstddef>
#include <string>

namespace marvolt::bench {

// Seconds of wall time that `work` takes.
template <typename Work>
double wallSeconds(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Starts a new peak of resident memory at the present size (Linux clear_refs); false where
// the system does not allow it, and the peak then runs from the start of the process.
bool resetPeakMemory();
// The peak resident memory in bytes since the last reset.
std::size_t peakMemory();

// The file read once in blocks of 1 MiB into one buffer used again and again; gives its size.
std::size_t blockRead(const std::string& path);
// The file read in blocks of 1 MiB and written so to a new file in the same folder, which is
// flushed to disk and renamed over `target`: the least a streamed safe rewrite costs.
void streamedReadWrite(const std::string& path, const std::string& target);
// The file copied in the kernel (copy_file_range) to a new file in the same folder, which is
// flushed to disk and renamed over `target`: the least a rewrite of a few bytes costs.
void kernelCopy(const std::string& path, const std::string& target);
// The file copied over `target` by the file system and flushed to disk, as a backup copy is.
void plainCopy(const std::string& path, const std::string& target);

}  // namespace marvolt::bench
