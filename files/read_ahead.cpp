#include "read_ahead.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "failure.h"
#include "interrupted.h"
#include "quiet_thread.h"
#include "regular_file.h"

namespace marvolt {

namespace {

// Two blocks may be held by the one who reads (the one handed out and the one before it,
// whose last bytes are kept) while two more are read.
constexpr std::size_t kSlotsInThread = 4;

}  // namespace

ReadAhead::ReadAhead(int fd, std::size_t blockSize, std::size_t padding, bool inThread)
    : fd_(fd), blockSize_(blockSize), slots_(inThread ? kSlotsInThread : 1) {
    for (Slot& slot : slots_) slot.bytes.reset(new char[2 * blockSize + padding]);
    if (!inThread) return;
    for (std::size_t i = 1; i < slots_.size(); ++i) free_.push_back(i);
    // Without a thread the blocks are read when asked for.
    try {
        thread_ = quietThread([this] { readAhead(); });
    } catch (const std::system_error&) {
        free_.clear();
        slots_.resize(1);
    }
}

ReadAhead::~ReadAhead() {
    if (!thread_.joinable()) return;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void ReadAhead::read(Slot& slot) {
    char* const into = slot.bytes.get() + blockSize_;
    slot.size = 0;
    while (slot.size < blockSize_) {
        const ssize_t count = unlessInterrupted(
            [&] { return ::read(fd_, into + slot.size, blockSize_ - slot.size); });
        if (count > 0) {
            slot.size += static_cast<std::size_t>(count);
        } else if (count == 0) {
            slot.last = true;
            return;
        } else {
            slot.error = errno;
            slot.last = true;
            return;
        }
    }
}

void ReadAhead::readAhead() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !free_.empty(); });
        if (stopping_) return;
        const std::size_t index = free_.front();
        free_.pop_front();
        lock.unlock();
        Slot& slot = slots_[index];
        read(slot);
        lock.lock();
        filled_.push_back(index);
        changed_.notify_all();
        if (slot.last) return;
    }
}

ReadAhead::Block ReadAhead::next(const char* kept, std::size_t keptSize) {
    std::size_t index = current_;
    if (thread_.joinable() && !ended_) {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return !filled_.empty(); });
        index = filled_.front();
        filled_.pop_front();
    }
    Slot& slot = slots_[index];
    char* const own = slot.bytes.get() + blockSize_;
    // (Without a thread, and after the last block, the kept bytes are in this very slot.)
    if (keptSize > 0) std::memmove(own - keptSize, kept, keptSize);
    if (ended_) {
        slot.size = 0;  // asked again after the last block
    } else if (!thread_.joinable()) {
        read(slot);
    }
    ended_ = slot.last;
    if (started_ && index != current_ && thread_.joinable()) {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            free_.push_back(current_);
        }
        changed_.notify_all();
    }
    started_ = true;
    current_ = index;
    if (slot.error != 0) throw Failure(fileErrorText(slot.error));
    return {own - keptSize, keptSize + slot.size, slot.last};
}

}  // namespace marvolt
